#include "record/geometry_kinds.h"

#include "geometry/geometry_xml.h"

#include <kest/gear/asymmetrical_gear_geometry.h>
#include <kest/gear/beveloid_gear_geometry.h>

#include <array>

namespace kest::gear {
namespace {

using G = CylindricalGearGeometry;

G cylindricalPlaceholder() {
    return G(1, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, G::FlankDirection::Straight, G::ModuleVariant::Transverse,
             AddendumModificationVariant::AddmodFactor, 9.0);
}

AsymmetricalGearGeometry asymmetricalPlaceholder() {
    return AsymmetricalGearGeometry(cylindricalPlaceholder(), 9.0, 10.0, 11.0, 12.0,
                                    G::FlankDirection::Straight, G::ModuleVariant::Normal,
                                    AddendumModificationVariant::AddmodFactor);
}

std::unique_ptr<G> placeholderCylindrical() {
    return std::make_unique<G>(cylindricalPlaceholder());
}
std::unique_ptr<G> placeholderAsymmetrical() {
    return std::make_unique<AsymmetricalGearGeometry>(asymmetricalPlaceholder());
}
std::unique_ptr<G> placeholderBeveloid() {
    return std::make_unique<BeveloidGearGeometry>(asymmetricalPlaceholder(), 13.0, 14.0, 15.0, 16.0, true);
}

template <typename Kind>
std::unique_ptr<G> copyOf(const G& source) {
    const auto* kind = dynamic_cast<const Kind*>(&source);
    return kind ? std::make_unique<Kind>(*kind) : nullptr;
}

// A derived geometry also answers to the kinds of its bases, so the most derived kind comes first.
constexpr std::array kKinds{
    GeometryKind{&BeveloidGearGeometry::isKindOf, &placeholderBeveloid, &copyOf<BeveloidGearGeometry>},
    GeometryKind{&AsymmetricalGearGeometry::isKindOf, &placeholderAsymmetrical,
                 &copyOf<AsymmetricalGearGeometry>},
    GeometryKind{&G::isKindOf, &placeholderCylindrical, &copyOf<G>},
};

} // namespace

std::span<const GeometryKind> geometryKinds() noexcept {
    return kKinds;
}

const GeometryKind* findGeometryKind(std::string_view name) noexcept {
    for (const GeometryKind& kind : kKinds)
        if (name == kind.name()) return &kind;
    return nullptr;
}

// Learnt from the writers themselves: each kind writes its placeholder, which has a ball diameter and a
// module entered as transverse module, with a user string that needs encoding, so that every optional name
// occurs; but for the asymmetry's optional elements, which only a valid definition of their kind writes.
const host::KnownNames& geometryNames() {
    static const host::KnownNames names = [] {
        host::KnownNames known;
        for (const GeometryKind& kind : kKinds) {
            auto geometry = kind.placeholder();
            geometry->setUserString(G::ValueType::NumberOfTeeth, "\xff");
            host::MSXMLWrapper xml;
            xml.reset("gear");
            geometry->saveXML(&xml, "");
            host::addNamesBelow(known, xml.getNode(geometry_xml::kGeometryElement));
        }
        known.elements.insert(geometry_xml::kAsymBallDiameter);
        known.elements.insert(geometry_xml::kAsymMeasuringDiameter);
        return known;
    }();
    return names;
}

std::unique_ptr<CylindricalGearGeometry> copyGeometry(const CylindricalGearGeometry& source) {
    for (const GeometryKind& kind : kKinds) {
        if (!source.testKindOf(kind.name(), true)) continue;
        if (auto copy = kind.copy(source)) return copy;
        break;
    }
    throw "Geometry type unsupported";
}

} // namespace kest::gear
