#pragma once

// The element and attribute names of the "evaluation" group of a gear file, shared by the evaluation units.

namespace kest::gear::evaluation_xml {

inline constexpr const char* kEvaluationElement = "evaluation";
inline constexpr const char* kFeatureElement = "feature";
inline constexpr const char* kRangeElement = "range";
inline constexpr const char* kFilterElement = "filter";

inline constexpr const char* kNameAttribute = "name";
inline constexpr const char* kSideAttribute = "side";
inline constexpr const char* kTypeAttribute = "type";
inline constexpr const char* kRangeAttribute = "range";
inline constexpr const char* kMeasurementIndexAttribute = "measurement_index";
inline constexpr const char* kRegressionAttribute = "regression";

// A range's values, relative to its element.
inline constexpr const char* kReferenceElement = "reference";
inline constexpr const char* kMainLower = "main/lower";
inline constexpr const char* kMainUpper = "main/upper";
inline constexpr const char* kExtendedLower = "extended/lower";
inline constexpr const char* kExtendedUpper = "extended/upper";
inline constexpr const char* kParabolaLower = "parabola/lower";
inline constexpr const char* kParabolaUpper = "parabola/upper";

// A filter's attributes.
inline constexpr const char* kUnitAttribute = "unit";
inline constexpr const char* kActiveAttribute = "active";
inline constexpr const char* kFromProfileAttribute = "fromprofile";

} // namespace kest::gear::evaluation_xml
