#include <kest/gear/host/globals.h>

#include <atomic>

namespace kest::host {
namespace {

// null: the library's stand-in, which knows no setting
std::atomic<GlobalsLookupFunction> registeredLookup{nullptr};

} // namespace

GlobalsLookupFunction setGlobalsLookup(GlobalsLookupFunction lookup) {
    return registeredLookup.exchange(lookup);
}

bool GlobalsLookup(const char* name, long& value) {
    const GlobalsLookupFunction lookup = registeredLookup.load();
    return lookup != nullptr && name != nullptr && lookup(name, &value);
}

} // namespace kest::host
