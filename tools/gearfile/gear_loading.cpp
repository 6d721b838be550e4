#include "gear_loading.h"

#include <exception>

namespace kest::gearfile {
namespace {

// The tool puts the file's name in front of each line it reports, so a message that names the file as well,
// "file not found: 'x.xml'", loses that second mention: "x.xml: file not found".
std::string withoutFileName(std::string message, const std::string& path) {
    const std::string quoted = "'" + path + "'";
    for (const std::string& mention : {": " + quoted, " " + quoted}) {
        if (const std::size_t at = message.find(mention); at != std::string::npos) {
            message.erase(at, mention.size());
            break;
        }
    }
    return message;
}

} // namespace

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
        result.failure = message ? withoutFileName(message, path) : "load failed without a message";
    } catch (const std::exception& e) {
        result.failure = e.what();
    } catch (...) {
        result.failure = "load failed with an unexpected exception";
    }
    return result;
}

} // namespace kest::gearfile
