#include "record/version_stamp.h"

#include "host/report.h"

#include <climits>
#include <cstdio>
#include <tuple>

namespace kest::gear {

bool VersionStamp::parse(const std::string& text) {
    if (text.find("sp") == std::string::npos)
        return std::sscanf(text.c_str(), "%zu.%zu-%zu", &major, &minor, &release) == 3;
    return std::sscanf(text.c_str(), "%zu.%zu-%zusp%zu", &major, &minor, &release, &servicePack) == 4;
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
