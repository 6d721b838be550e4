#pragma once

// The element and attribute names of the "evaluation" group of a gear file, shared by the evaluation units.

#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>

#include "record/gear_file_xml.h"
#include "util/string_format.h"

#include <string>
#include <string_view>

namespace kest::gear::evaluation_xml {

inline constexpr const char* kEvaluationElement = gear_file_xml::kEvaluationElement;
inline constexpr const char* kFeatureElement = "feature";
inline constexpr const char* kRangeElement = "range";
inline constexpr const char* kFilterElement = "filter";

// The children of the evaluation group, among them the groups of one measurement type and side.
inline const std::string kGroupsPath = std::string(kEvaluationElement) + "/*";

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
inline constexpr const char* kExtendedElement = "extended";
inline constexpr const char* kParabolaElement = "parabola";
inline constexpr const char* kParabolaLower = "parabola/lower";
inline constexpr const char* kParabolaUpper = "parabola/upper";

// A feature's evaluation mode, and the relief mode of older files that its feature's default stands for.
inline constexpr const char* kEvaluationModeElement = "evaluation_mode";
inline constexpr std::string_view kTangentRelief = "TANGENT_RELIEF_METHOD";

// A filter's attributes.
inline constexpr const char* kUnitAttribute = "unit";
inline constexpr const char* kActiveAttribute = "active";
inline constexpr const char* kFromProfileAttribute = "fromprofile";

// The path of the group of one measurement type and side: "evaluation/<type>[@side = '<side>']".
inline std::string groupPath(Measurement_Type type, Side side) {
    std::string path;
    util::stl_string_format(path, "%s/%s[@side = '%s']", kEvaluationElement,
                            Measurement_Type_2_string(type).c_str(), Side_2_string(side).c_str());
    return path;
}

// The children named `child` of the groups of one measurement type and side, in document order: what the path
// groupPath(type, side) + "/" + child finds, walked directly instead of built and compiled on every read.
// The "feature" elements of every "evaluation" element, in document order.
inline host::XMLNodeList featureElements(const host::MSXMLWrapper& xml) {
    host::XMLNodeList found;
    for (host::XMLNode evaluation = xml.getRootNode().child(kEvaluationElement); evaluation;
         evaluation = evaluation.nextNamesake())
        for (host::XMLNode feature = evaluation.child(kFeatureElement); feature;
             feature = feature.nextNamesake())
            found.push_back(feature);
    return found;
}

inline host::XMLNodeList groupChildren(const host::MSXMLWrapper& xml, Measurement_Type type, Side side,
                                       const char* child) {
    host::XMLNodeList found;
    host::XMLNode evaluation = xml.getRootNode().child(kEvaluationElement);
    if (!evaluation) return found;
    const std::string typeName = Measurement_Type_2_string(type);
    const std::string sideName = Side_2_string(side);
    for (; evaluation; evaluation = evaluation.nextNamesake())
        for (host::XMLNode group = evaluation.child(typeName.c_str()); group; group = group.nextNamesake()) {
            const char* groupSide = group.attribute(kSideAttribute);
            if (groupSide == nullptr || sideName != groupSide) continue;
            for (host::XMLNode node = group.child(child); node; node = node.nextNamesake())
                found.push_back(node);
        }
    return found;
}

} // namespace kest::gear::evaluation_xml
