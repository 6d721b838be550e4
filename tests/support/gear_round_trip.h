#pragma once

// The check every fuzz input and every kept regression input goes through: the bytes are loaded as a gear
// file; if they load, the gear is saved, what was saved is loaded into a new gear and saved again, and the
// two saves must give the same document (a second save of a loaded file is byte-identical to the first).

#include <kest/gear/gear.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace kest::test {

// Works with two files in `directory`, which must exist. returns "" when the bytes are refused with a thrown
// C string (the way a reader refuses a bad file) or when both saves agree; otherwise what went wrong. Any
// other exception leaves the function.
inline std::string gearRoundTrip(std::string_view bytes, const std::filesystem::path& directory) {
    const std::string input = (directory / "input.xml").string();
    const std::string saved = (directory / "saved.xml").string();
    std::ofstream(input, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

    gear::Gear first;
    try {
        first.Load(input.c_str());
    } catch (const char*) {
        return {};
    }
    const auto save = [&saved](gear::Gear& gear) {
        gear.Save(saved.c_str());
        std::ostringstream text;
        gear.WriteToStream(text);
        return text.str();
    };
    std::string firstText, secondText;
    try {
        firstText = save(first);
    } catch (const char* message) {
        return std::string("a loaded gear did not save: ") + message;
    }
    try {
        gear::Gear second;
        second.Load(saved.c_str());
        secondText = save(second);
    } catch (const char* message) {
        return std::string("a saved gear did not load and save again: ") + message + "\n" + firstText;
    }
    if (secondText != firstText)
        return "the second save differs from the first:\n" + firstText + "---\n" + secondText;
    return {};
}

} // namespace kest::test
