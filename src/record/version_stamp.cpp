#include "record/version_stamp.h"

#include "host/report.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <tuple>

namespace kest::gear {

// Read as sscanf reads "%zu.%zu-%zu", or "%zu.%zu-%zusp%zu" when the text holds "sp" anywhere: each number
// after optional white space and a sign, each literal exactly, and every field assigned as it is read.
bool VersionStamp::parse(const std::string& text) {
    const char* at = text.c_str();
    const auto number = [&at](std::size_t& value) {
        char* end = nullptr;
        const unsigned long long read = std::strtoull(at, &end, 10);
        if (end == at) return false;
        value = static_cast<std::size_t>(read);
        at = end;
        return true;
    };
    const auto literal = [&at](std::string_view expected) {
        if (std::string_view(at).substr(0, expected.size()) != expected) return false;
        at += expected.size();
        return true;
    };
    if (!number(major) || !literal(".") || !number(minor) || !literal("-") || !number(release)) return false;
    return text.find("sp") == std::string::npos || (literal("sp") && number(servicePack));
}

std::string VersionStamp::format() const {
    char text[96];
    std::snprintf(text, sizeof text, "%zu.%02zu-%02zu", major, minor, release);
    std::string result = text;
    if (servicePack != 0) result += "sp" + std::to_string(servicePack);
    return result;
}

int VersionStamp::compare(const std::string& other) const {
    VersionStamp that;
    if (!that.parse(other)) {
        GR_TRACE(1,
                 "cannot set version '%s'. Please verify version format '<MAJOR>.<MINOR>-<RELEASE>(sp<SP>)'.",
                 other.c_str());
        return INT_MIN;
    }
    return compare(that);
}

int VersionStamp::compare(const VersionStamp& other) const noexcept {
    const auto mine = std::tie(major, minor, release, servicePack);
    const auto theirs = std::tie(other.major, other.minor, other.release, other.servicePack);
    return mine < theirs ? -1 : (theirs < mine ? 1 : 0);
}

} // namespace kest::gear
