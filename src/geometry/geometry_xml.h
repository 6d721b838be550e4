#pragma once

// What the geometry units share about the "geometry" element of a gear file.

#include <kest/gear/host/msxml_wrapper.h>

#include <string>
#include <string_view>

namespace kest::gear::geometry_xml {

inline constexpr const char* kGeometryElement = "geometry";
// The kind of the geometry ("cylindrical gear", ...), from the document element.
inline constexpr const char* kTypePath = "geometry/type";
inline constexpr const char* kModuleVariantAttribute = "module_variant";
inline constexpr const char* kDirectionAttribute = "direction";
// The asymmetry's optional elements, each written only for a definition that needs it.
inline constexpr const char* kAsymBallDiameter = "asym_dm";
inline constexpr const char* kAsymMeasuringDiameter = "asym_diameter";
// Older files call a spur gear's helix direction "spur".
inline constexpr std::string_view kSpur = "spur";

// The path of a value's element from the document element.
inline std::string elementPath(std::string_view key) {
    return "geometry/" + std::string(key);
}

// The node the geometry element lies in: the document element for an empty path.
inline host::XMLNode baseNode(const host::MSXMLWrapper& xml, const std::string& path) {
    return path.empty() ? xml.getRootNode() : xml.getNode(path);
}

} // namespace kest::gear::geometry_xml
