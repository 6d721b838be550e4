#include "gear_loading.h"

#include <exception>

namespace kest::gearfile {

LoadedGear loadGear(const std::string& path) {
    LoadedGear result;
    // The library reports every load failure as a thrown C string; the standard library and the XML parser
    // may add std::exception (allocation, file system). Anything else is still caught: the tool must report,
    // not die.
    try {
        auto gear = std::make_unique<gear::Gear>();
        gear->Load(path.c_str());
        result.gear = std::move(gear);
    } catch (const char* message) {
        result.failure = message ? message : "load failed without a message";
    } catch (const std::exception& e) {
        result.failure = e.what();
    } catch (...) {
        result.failure = "load failed with an unexpected exception";
    }
    return result;
}

} // namespace kest::gearfile
