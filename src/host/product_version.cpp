#include <kest/gear/host/product_version.h>

#include <cstdio>
#include <mutex>

namespace kest::host {
namespace {

struct VersionState {
    std::mutex mutex;
    std::string hostVersion;
};

VersionState& state() {
    static VersionState s;
    return s;
}

} // namespace

void setProductVersion(std::string_view version) {
    std::lock_guard lock(state().mutex);
    state().hostVersion.assign(version);
}

std::string getProductVersion() {
    {
        std::lock_guard lock(state().mutex);
        if (!state().hostVersion.empty()) return state().hostVersion;
    }
    return libraryProductVersion();
}

std::string libraryProductVersion() {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%02u-%02u", unsigned{GEARRECORDS_VERSION_MAJOR},
                  unsigned{GEARRECORDS_VERSION_MINOR}, unsigned{GEARRECORDS_VERSION_PATCH});
    return text;
}

} // namespace kest::host
