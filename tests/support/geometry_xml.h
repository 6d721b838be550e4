#pragma once

// Geometries as the gear loader builds them before they read themselves, and the document a geometry saves.

#include <kest/gear/beveloid_gear_geometry.h>
#include <kest/gear/host/msxml_wrapper.h>

#include <gtest/gtest.h>

#include <string>

namespace kest::test {

// returns the document `g` saves below <gear>, or into `xml` when that holds a document
inline std::string savedGeometry(const gear::CylindricalGearGeometry& g, host::MSXMLWrapper xml = {}) {
    if (!xml.getRootNode()) xml.reset("gear");
    EXPECT_TRUE(g.saveXML(&xml, ""));
    std::string document;
    xml.serialize(document);
    return document;
}

inline gear::CylindricalGearGeometry placeholderCylindrical() {
    using G = gear::CylindricalGearGeometry;
    return G(1, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, G::FlankDirection::Straight, G::ModuleVariant::Normal,
             gear::AddendumModificationVariant::AddmodFactor, gear::unsetValue);
}

inline gear::AsymmetricalGearGeometry placeholderAsymmetrical() {
    using G = gear::CylindricalGearGeometry;
    return gear::AsymmetricalGearGeometry(placeholderCylindrical(), 9.0, 10.0, 11.0, 12.0,
                                          G::FlankDirection::Straight, G::ModuleVariant::Normal,
                                          gear::AddendumModificationVariant::AddmodFactor);
}

// returns what `geometry` saves after reading `text`, "" when the read fails
template <typename Geometry>
std::string reloadedGeometry(Geometry geometry, const std::string& text) {
    host::MSXMLWrapper xml;
    EXPECT_TRUE(xml.parse(text));
    return geometry.loadXML(&xml, "") ? savedGeometry(geometry) : "";
}

} // namespace kest::test
