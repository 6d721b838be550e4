#pragma once

// The names of the gear file's elements and attributes that the gear's sections read and write, each written
// once. The geometry's names are in geometry/geometry_xml.h, a measurement's identity and path points in
// measurement/measurement_xml.h.

namespace kest::gear::gear_file_xml {

inline constexpr const char* kMeasurementElement = "measurement";
inline constexpr const char* kSettingsElement = "settings";
// "measurement/settings", from the document element
inline constexpr const char* kSettingsPath = "measurement/settings";
inline constexpr const char* kToothCountingElement = "tooth_counting";
inline constexpr const char* kClockwiseAttribute = "clockwise";
inline constexpr const char* kLabelAttribute = "measurement_label";
inline constexpr const char* kEnabledAttribute = "enabled";
inline constexpr const char* kTypeAttribute = "type";

// the parameter groups below "measurement/settings"
inline constexpr const char* kPositioningElement = "positioning_parameters";
inline constexpr const char* kMeasuringElement = "measuring_parameters";
inline constexpr const char* kClampingElement = "clamping";
inline constexpr const char* kAdditionalElement = "additional_parameters";

inline constexpr const char* kProcessingElement = "processing";
inline constexpr const char* kPostProcessTypeAttribute = "post_process_type";
inline constexpr const char* kProcessTypeAttribute = "process_type";
// Files of older versions carry the post-process type in this attribute.
inline constexpr const char* kOldPostProcessTypeAttribute = "type";

// The group of the evaluation sections; each section writes its own children, keeping the others. The names
// of ranges, features and filters are in evaluation/evaluation_xml.h.
inline constexpr const char* kEvaluationElement = "evaluation";
// the evaluation standard, as attributes of "evaluation"
inline constexpr const char* kStandardAttribute = "standard";
inline constexpr const char* kQualityAttribute = "quality";
inline constexpr const char* kFitTypeAttribute = "fitType";
// child of "evaluation": the feature name as text, the sub-quality letter in attribute "quality"
inline constexpr const char* kSubqualityElement = "subquality";

// K-charts, below "evaluation/<measurement type>[@side='<side>']"; a chart point is a point definition with
// an "id" (measurement/measurement_xml.h)
inline constexpr const char* kKChartElement = "kchart";
inline constexpr const char* kNameAttribute = "name";
inline constexpr const char* kAlignmentAttribute = "alignment";
inline constexpr const char* kOutsideMaterialAttribute = "evaluation_outside_range_material";
inline constexpr const char* kOutsideNonMaterialAttribute = "evaluation_outside_range_non_material";
inline constexpr const char* kPartElement = "part";
inline constexpr const char* kMaterialAttribute = "material";
inline constexpr const char* kRegressionAttribute = "regression";
inline constexpr const char* kToleranceElement = "tolerance";
inline constexpr const char* kWidthAttribute = "width";
inline constexpr const char* kCrowningElement = "crowning";
inline constexpr const char* kShiftAttribute = "shift";

inline constexpr const char* kCalculatedDataElement = "calculated_data";
inline constexpr const char* kFeedMarkElement = "feed_mark";

} // namespace kest::gear::gear_file_xml
