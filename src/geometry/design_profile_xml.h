#pragma once

// The names of a design profile's elements and attributes in the gear file, shared by the profile and the
// gear's store of profiles.

namespace kest::gear::design_profile_xml {

inline constexpr const char* kDesignProfileElement = "design_profile";
inline constexpr const char* kNameAttribute = "name";
inline constexpr const char* kMeasurementIndexAttribute = "measurement_index";
inline constexpr const char* kPartElement = "part";
inline constexpr const char* kRegressionAttribute = "regression";
inline constexpr const char* kCrowningAttribute = "crowning";
inline constexpr const char* kPointElement = "point";
inline constexpr const char* kIdAttribute = "id";
inline constexpr int kCrowningDecimals = 15;

} // namespace kest::gear::design_profile_xml
