#pragma once

// The text of a range type whatever the measurement it belongs to, for messages and for the "range" attribute
// of features: the profile text of a profile range, the lead text of a lead range, "unspecified" otherwise
// (the text that string_2_RangeType reads back).

#include <kest/gear/measurement_enums.h>

#include <algorithm>
#include <string>

namespace kest::gear {

inline std::string rangeTypeText(RangeType range) {
    if (std::ranges::find(profileRangeTypes(), range) != profileRangeTypes().end())
        return ProfileRangeType_2_string(range);
    if (std::ranges::find(leadRangeTypes(), range) != leadRangeTypes().end())
        return LeadRangeType_2_string(range);
    return "unspecified";
}

} // namespace kest::gear
