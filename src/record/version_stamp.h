#pragma once

// The version stamp of a gear document: MAJOR.MINOR-RELEASE, optionally followed by "sp" and a service pack.

#include <cstddef>
#include <string>

namespace kest::gear {

// The oldest stamp a gear file may carry.
inline constexpr const char* oldestLoadableVersion = "9.02-44";

struct VersionStamp {
    std::size_t major = 0;
    std::size_t minor = 0;
    std::size_t release = 0;
    std::size_t servicePack = 0;

    // Text after the last number is ignored; fields read before a failure keep their values.
    bool parse(const std::string& text);
    // "9.02-44", or "9.02-44sp1" with a service pack
    std::string format() const;
    // -1, 0 or 1 against `other`; when `other` cannot be parsed it traces and returns the lowest int.
    int compare(const std::string& other) const;
    // -1, 0 or 1 against a stamp already parsed
    int compare(const VersionStamp& other) const noexcept;
};

} // namespace kest::gear
