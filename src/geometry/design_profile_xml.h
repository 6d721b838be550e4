#pragma once

// The names of a design profile's elements and attributes in the gear file, shared by the profile and the
// gear's store of profiles; a point's and a measurement's names are those of the measurement units.

#include "measurement/measurement_xml.h"

namespace kest::gear::design_profile_xml {

using measurement_xml::kIdAttribute;
using measurement_xml::kMeasurementIndexAttribute;
using measurement_xml::kPointElement;

inline constexpr const char* kDesignProfileElement = "design_profile";
inline constexpr const char* kNameAttribute = "name";
inline constexpr const char* kPartElement = "part";
inline constexpr const char* kRegressionAttribute = "regression";
inline constexpr const char* kCrowningAttribute = "crowning";
inline constexpr int kCrowningDecimals = 15;

} // namespace kest::gear::design_profile_xml
