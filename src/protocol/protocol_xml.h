#pragma once

// The names of the elements and attributes below "protocol" in the gear file, each written once, and the
// base node both protocol writers start from.

#include <kest/gear/host/msxml_wrapper.h>

#include <string>

namespace kest::gear::protocol_xml {

inline constexpr const char* kProtocolElement = "protocol";
inline constexpr const char* kHeaderElement = "header";
inline constexpr const char* kHeaderPath = "protocol/header";
inline constexpr const char* kTextAttribute = "text";
inline constexpr const char* kEnabledAttribute = "enabled";

inline constexpr const char* kOutputUnitElement = "output_unit";
inline constexpr const char* kNumberPerSideElement = "number_per_side";
inline constexpr const char* kReferenceElement = "reference";
inline constexpr const char* kFlipDiagramElement = "flip_diagram";
inline constexpr const char* kScaleElement = "scale";
inline constexpr const char* kScaleVaAttribute = "va";
inline constexpr const char* kScaleVbAttribute = "vb";
inline constexpr const char* kReferenceElementElement = "reference_element";
inline constexpr const char* kExtendedRangeTableElement = "extended_range_table";
inline constexpr const char* kAngleErrorElement = "angle_error_as_difference_actual_nominal";
// the text of a scale of 0, which means automatic scaling
inline constexpr const char* kScaleAutoText = "auto";
inline constexpr int kScaleDecimals = 10;

inline constexpr const char* kPitchElement = "pitch";
inline constexpr const char* kTipCircleElement = "tip_circle";
inline constexpr const char* kRootCircleElement = "root_circle";
inline constexpr const char* kBarDiagramElement = "bar_diagram";
inline constexpr const char* kTableElement = "table";
inline constexpr const char* kSingleValueTableElement = "fp";
inline constexpr const char* kOverviewResultsElement = "overview_results";
inline constexpr const char* kExtraElement = "extra";
inline constexpr const char* kFeatureAttribute = "feature";

inline constexpr const char* kOtherElement = "other";
inline constexpr const char* kGeometryElement = "geometry";
inline constexpr const char* kFlankNameElement = "flank_name";
inline constexpr const char* kSideAttribute = "side";
inline constexpr const char* kTwistElement = "twist_on_separated_pages";
inline constexpr const char* kTopographyElement = "topography";
inline constexpr const char* kGraphTypeElement = "graph_type";
inline constexpr const char* kFeedMarkElement = "feed_mark";
inline constexpr const char* kRootScanElement = "rootscan";
inline constexpr const char* kEasyContourElement = "create_easy_contour_results";

// The node below which "protocol" lies: the node at `basePath`, or the document element for an empty path
// (an empty handle, which the wrapper takes as the document element). `found` is false when a base path is
// given and names no node.
inline host::XMLNode baseNode(const host::MSXMLWrapper& xml, const std::string& basePath, bool& found) {
    if (basePath.empty()) {
        found = true;
        return {};
    }
    const host::XMLNode base = xml.getNode(basePath);
    found = static_cast<bool>(base);
    return base;
}

} // namespace kest::gear::protocol_xml
