#include "geometry_fields.h"

#include <kest/gear/asymmetrical_gear_geometry.h>
#include <kest/gear/beveloid_gear_geometry.h>
#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include <array>
#include <numbers>

namespace kest::gearfile {
namespace {

using gear::AsymmetricalGearGeometry;
using gear::BeveloidGearGeometry;
using gear::CylindricalGearGeometry;
using gear::Side;
using Geometry = CylindricalGearGeometry;

const char* const cylindrical = CylindricalGearGeometry::isKindOf();
const char* const asymmetrical = AsymmetricalGearGeometry::isKindOf();
const char* const beveloid = BeveloidGearGeometry::isKindOf();

// Only called for a geometry of the field's kind (hasField).
const AsymmetricalGearGeometry& asAsymmetrical(const Geometry& g) {
    return static_cast<const AsymmetricalGearGeometry&>(g);
}
const BeveloidGearGeometry& asBeveloid(const Geometry& g) {
    return static_cast<const BeveloidGearGeometry&>(g);
}

struct Asymmetry {
    AsymmetricalGearGeometry::AsymmetryVariant variant{};
    double value = gear::unsetValue;
    double height = gear::unsetValue;
    gear::Reference reference{};
    double parameter = gear::unsetValue;
};
Asymmetry asymmetryOf(const Geometry& g) {
    Asymmetry a;
    asAsymmetrical(g).getAsymmetryVariant(&a.variant, &a.value, &a.height, &a.reference, &a.parameter);
    return a;
}

// The derived values and the given ones of the left flank (the only flank of a cylindrical gear) first, then
// the right flank's and the cone's. Diameters are magnitudes: z carries the sign of an internal gear.
const std::array numbers{
    GeometryNumber{"b", cylindrical, [](const Geometry& g) { return g.getB(); }},
    GeometryNumber{"mn", cylindrical, [](const Geometry& g) { return g.getMN(Side::Left); }},
    GeometryNumber{"beta", cylindrical, [](const Geometry& g) { return g.getBetaDeg(Side::Left, false); }},
    GeometryNumber{"alpha_n", cylindrical, [](const Geometry& g) { return g.getAlphaNDeg(Side::Left); }},
    GeometryNumber{"x", cylindrical, [](const Geometry& g) { return g.getX(Side::Left); }},
    GeometryNumber{"da", cylindrical, [](const Geometry& g) { return g.getDA(); }},
    GeometryNumber{"df", cylindrical, [](const Geometry& g) { return g.getDF(); }},
    GeometryNumber{"ball_diameter", cylindrical, [](const Geometry& g) { return g.getDM(); }},
    GeometryNumber{"d", cylindrical, [](const Geometry& g) { return g.getD(Side::Left, false); }},
    GeometryNumber{"db", cylindrical, [](const Geometry& g) { return g.getDB(Side::Left, false); }},
    GeometryNumber{"dv", cylindrical, [](const Geometry& g) { return g.getDV(Side::Left, false); }},
    GeometryNumber{"mt", cylindrical,
                   [](const Geometry& g) { return g.getM(Side::Left, Geometry::ModuleVariant::Transverse); }},
    GeometryNumber{"right_mn", asymmetrical, [](const Geometry& g) { return g.getMN(Side::Right); }},
    GeometryNumber{"right_beta", asymmetrical,
                   [](const Geometry& g) { return g.getBetaDeg(Side::Right, false); }},
    GeometryNumber{"right_alpha_n", asymmetrical,
                   [](const Geometry& g) { return g.getAlphaNDeg(Side::Right); }},
    GeometryNumber{"right_x", asymmetrical, [](const Geometry& g) { return g.getX(Side::Right); }},
    GeometryNumber{"right_d", asymmetrical, [](const Geometry& g) { return g.getD(Side::Right, false); }},
    GeometryNumber{"right_db", asymmetrical, [](const Geometry& g) { return g.getDB(Side::Right, false); }},
    GeometryNumber{"right_dv", asymmetrical, [](const Geometry& g) { return g.getDV(Side::Right, false); }},
    GeometryNumber{"flank_offset_angle", asymmetrical,
                   [](const Geometry& g) {
                       const double phi0 = g.getNominalFlankOffsetAngle();
                       return gear::isUnset(phi0) ? phi0 : phi0 * 180.0 / std::numbers::pi;
                   }},
    GeometryNumber{"asymmetry_value", asymmetrical, [](const Geometry& g) { return asymmetryOf(g).value; }},
    GeometryNumber{"asymmetry_height", asymmetrical, [](const Geometry& g) { return asymmetryOf(g).height; }},
    GeometryNumber{"asymmetry_parameter", asymmetrical,
                   [](const Geometry& g) { return asymmetryOf(g).parameter; }},
    GeometryNumber{"cone_angle", beveloid,
                   [](const Geometry& g) { return asBeveloid(g).getDelta_Ref(false); }},
    GeometryNumber{"reference_helix_angle", beveloid,
                   [](const Geometry& g) { return asBeveloid(g).getBeta_Ref(false, false); }},
    GeometryNumber{"left_reference_pressure_angle", beveloid,
                   [](const Geometry& g) { return asBeveloid(g).getAlphaN_Ref(Side::Left, false); }},
    GeometryNumber{"right_reference_pressure_angle", beveloid,
                   [](const Geometry& g) { return asBeveloid(g).getAlphaN_Ref(Side::Right, false); }},
};

std::string direction(Geometry::FlankDirection d) {
    return Geometry::FlankDirection_2_string(d);
}

const std::array texts{
    GeometryText{"kind", cylindrical, [](const Geometry& g) { return std::string(g.getKindOf()); }},
    GeometryText{"module_variant", cylindrical,
                 [](const Geometry& g) { return Geometry::ModuleVariantToString(g.getModuleVariant()); }},
    GeometryText{"helix_direction", cylindrical,
                 [](const Geometry& g) { return direction(g.getFlankDirection(Side::Left)); }},
    GeometryText{"addendum_modification_variant", cylindrical,
                 [](const Geometry& g) { return g.getAddendumModificationVariant().getString(); }},
    GeometryText{"right_module_variant", asymmetrical,
                 [](const Geometry& g) {
                     return Geometry::ModuleVariantToString(asAsymmetrical(g).getRightModuleVariant());
                 }},
    GeometryText{"right_helix_direction", asymmetrical,
                 [](const Geometry& g) { return direction(g.getFlankDirection(Side::Right)); }},
    GeometryText{"asymmetry_variant", asymmetrical,
                 [](const Geometry& g) { return asAsymmetrical(g).getAsymmetryVariantString(); }},
    GeometryText{"asymmetry_height_reference", asymmetrical,
                 [](const Geometry& g) { return gear::Reference_2_string(asymmetryOf(g).reference); }},
    GeometryText{"reference_helix_direction", beveloid,
                 [](const Geometry& g) { return direction(asBeveloid(g).getBeta_Ref_direction()); }},
};

// The values that carry user strings, under the names of the table above.
struct UserStringName {
    Geometry::ValueType value;
    const char* name;
};
constexpr std::array userStringNames{
    UserStringName{Geometry::ValueType::NumberOfTeeth, "z"},
    UserStringName{Geometry::ValueType::FaceWidth, "b"},
    UserStringName{Geometry::ValueType::NormalModule, "mn"},
    UserStringName{Geometry::ValueType::HelixAngle, "beta"},
    UserStringName{Geometry::ValueType::NormalPressureAngle, "alpha_n"},
    UserStringName{Geometry::ValueType::AddendumModification, "x"},
    UserStringName{Geometry::ValueType::TipDiameter, "da"},
    UserStringName{Geometry::ValueType::RootDiameter, "df"},
    UserStringName{Geometry::ValueType::BallDiameter, "ball_diameter"},
};
using RightValue = AsymmetricalGearGeometry::ValueType;
constexpr std::array<std::pair<RightValue, const char*>, 4> rightUserStringNames{{
    {RightValue::RightNormalModule, "right_mn"},
    {RightValue::RightHelixAngle, "right_beta"},
    {RightValue::RightNormalPressureAngle, "right_alpha_n"},
    {RightValue::RightAddendumModification, "right_x"},
}};
using ConeValue = BeveloidGearGeometry::ValueType;
constexpr std::array<std::pair<ConeValue, const char*>, 4> coneUserStringNames{{
    {ConeValue::ConeAngle, "cone_angle"},
    {ConeValue::ReferenceHelixAngle, "reference_helix_angle"},
    {ConeValue::LeftReferencePressureAngle, "left_reference_pressure_angle"},
    {ConeValue::RightReferencePressureAngle, "right_reference_pressure_angle"},
}};

} // namespace

std::span<const GeometryNumber> geometryNumbers() {
    return numbers;
}

std::span<const GeometryText> geometryTexts() {
    return texts;
}

bool hasField(const CylindricalGearGeometry& geometry, const char* kind) {
    return geometry.testKindOf(kind, false);
}

std::vector<std::pair<std::string, std::string>> userStrings(const CylindricalGearGeometry& g) {
    std::vector<std::pair<std::string, std::string>> found;
    const auto add = [&found](const char* name, std::string text) {
        if (!text.empty()) found.emplace_back(name, std::move(text));
    };
    for (const UserStringName& row : userStringNames)
        add(row.name, g.getUserString(row.value));
    if (hasField(g, asymmetrical))
        for (const auto& [value, name] : rightUserStringNames)
            add(name, asAsymmetrical(g).getUserString(value));
    if (hasField(g, beveloid))
        for (const auto& [value, name] : coneUserStringNames)
            add(name, asBeveloid(g).getUserString(value));
    return found;
}

} // namespace kest::gearfile
