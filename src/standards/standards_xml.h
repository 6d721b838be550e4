#pragma once

// The names of the gear file's elements and attributes that the standard and the K-charts read and write,
// each written once.

namespace kest::gear::standards_xml {

inline constexpr const char* kEvaluationElement = "evaluation";
inline constexpr const char* kStandardAttribute = "standard";
inline constexpr const char* kQualityAttribute = "quality";
inline constexpr const char* kFitTypeAttribute = "fitType";
// child of "evaluation": the feature name as text, the letter in attribute "quality"
inline constexpr const char* kSubqualityElement = "subquality";

// below "evaluation/<measurement type>[@side='<side>']"
inline constexpr const char* kSideAttribute = "side";
inline constexpr const char* kKChartElement = "kchart";
inline constexpr const char* kNameAttribute = "name";
inline constexpr const char* kAlignmentAttribute = "alignment";
inline constexpr const char* kOutsideMaterialAttribute = "evaluation_outside_range_material";
inline constexpr const char* kOutsideNonMaterialAttribute = "evaluation_outside_range_non_material";
inline constexpr const char* kMeasurementIndexAttribute = "measurement_index";

inline constexpr const char* kPartElement = "part";
inline constexpr const char* kMaterialAttribute = "material";
inline constexpr const char* kRegressionAttribute = "regression";
inline constexpr const char* kToleranceElement = "tolerance";
inline constexpr const char* kWidthAttribute = "width";
inline constexpr const char* kCrowningElement = "crowning";
inline constexpr const char* kShiftAttribute = "shift";
inline constexpr const char* kPointElement = "point";
inline constexpr const char* kIdAttribute = "id";

} // namespace kest::gear::standards_xml
