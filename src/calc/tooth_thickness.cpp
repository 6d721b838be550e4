// Tooth thicknesses and space widths: arcs on a circle between two flanks of the model, the normal forms
// taken along the helix on that circle.

#include <kest/gear/gear_calculator.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/host/diagnostics.h>
#include <kest/gear/measurement_enums.h>

#include "calc/calculation_result.h"
#include "calc/polar.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace kest::gear {
namespace {

using calc::attempt;
using calc::deliver;
using calc::Delivery;
using calc::Result;
using calc::wrapAngle;

constexpr const char* kUnknownSpaceWidth = "demand feature is not support! please check the feature type!";
constexpr const char* kAsymmetricalSyn = "Asymmetrical helix Gear can not calculate Normal Tooth Thickness";

// The named circles of the tooth thickness and space width features.
enum class Circle { Reference, Base, V, Given };

struct SpaceWidthRow {
    std::string_view name;
    Circle circle;
    bool normal;
};

constexpr std::array kSpaceWidths{
    SpaceWidthRow{"et", Circle::Reference, false}, SpaceWidthRow{"en", Circle::Reference, true},
    SpaceWidthRow{"ebt", Circle::Base, false},     SpaceWidthRow{"ebn", Circle::Base, true},
    SpaceWidthRow{"evt", Circle::V, false},        SpaceWidthRow{"evn", Circle::V, true},
    SpaceWidthRow{"eyt", Circle::Given, false},    SpaceWidthRow{"eyn", Circle::Given, true},
};

// The tooth thicknesses on the named circles.
struct ThicknessRow {
    NominalValue value;
    Circle circle;
    bool normal;
    const char* name;
};

constexpr std::array kThicknesses{
    ThicknessRow{NominalValue::St, Circle::Reference, false, "st"},
    ThicknessRow{NominalValue::Sn, Circle::Reference, true, "sn"},
    ThicknessRow{NominalValue::Sbt, Circle::Base, false, "sbt"},
    ThicknessRow{NominalValue::Sbn, Circle::Base, true, "sbn"},
    ThicknessRow{NominalValue::Svt, Circle::V, false, "svt"},
    ThicknessRow{NominalValue::Svn, Circle::V, true, "svn"},
};

// The refusal of a value that an asymmetrical gear cannot have, "Asymmetrical Gear can not calculate <name>".
Result asymmetricalRefusal(std::string_view name) {
    return Result::refused(host::make_pp("Asymmetrical Gear can not calculate " + std::string(name)));
}

} // namespace

double GearCalculator::syt(double ry, double zpos, double xL, double xR, double phi0) const {
    const double left = flankAngle(1, Side::Left, ry, zpos, xL, phi0);
    const double right = flankAngle(1, Side::Right, ry, zpos, xR, phi0);
    if (isUnset(left) || isUnset(right)) return unsetValue;
    return wrapAngle((left - right) * e_) * ry;
}

// The space after tooth 1: from its Right flank to the Left flank of tooth 2 on an external gear, from its
// Left flank to the Right flank of tooth 2 on an internal one (whose teeth are mirrored).
double GearCalculator::eyt(double ry, double zpos, double xL, double xR, double phi0) const {
    const bool external = e_ > 0;
    const double first = external ? flankAngle(1, Side::Right, ry, zpos, xR, phi0)
                                  : flankAngle(1, Side::Left, ry, zpos, xL, phi0);
    const double second = external ? flankAngle(2, Side::Left, ry, zpos, xL, phi0)
                                   : flankAngle(2, Side::Right, ry, zpos, xR, phi0);
    if (isUnset(first) || isUnset(second)) return unsetValue;
    return wrapAngle(first - second) * ry;
}

// cos(beta_y) with tan(beta_y) = tan(beta_b) ry / rb, the helix angle on radius ry (ISO 21771).
double GearCalculator::helixFactor(double ry) const {
    const double tb = sides_[0].tb;
    return isUnset(tb) || isUnset(ry) ? unsetValue : std::cos(std::atan(tb * ry));
}

double GearCalculator::circleRadius(int circle, double x) const {
    double diameter = unsetValue;
    switch (static_cast<Circle>(circle)) {
    case Circle::Reference:
        diameter = geometry_->getD(Side::Left, false);
        break;
    case Circle::Base:
        diameter = geometry_->getDB(Side::Left, false);
        break;
    case Circle::V: {
        // d_v = d + 2 x mn (signed d: the V-circle of an internal gear moves towards the axis)
        if (isUnset(x)) x = geometry_->getX(Side::Left);
        const double d = geometry_->getD(Side::Left, true);
        const double mn = geometry_->getMN(Side::Left);
        if (!isUnset(x) && !isUnset(d) && !isUnset(mn)) diameter = d + 2.0 * mn * x;
        break;
    }
    case Circle::Given:
        break;
    }
    return isUnset(diameter) ? unsetValue : std::fabs(diameter) / 2;
}

double GearCalculator::toothThickness(int circle, double x, double phi0, bool normal) const {
    const double r = circleRadius(circle, x);
    if (isUnset(r)) return unsetValue;
    const double s = syt(r, 0.0, x, x, phi0);
    if (!normal || isUnset(s)) return s;
    const double f = helixFactor(r);
    return isUnset(f) ? unsetValue : s * f;
}

double GearCalculator::spaceWidth(const std::string& feature, double ry, double x, double phi0) const {
    const SpaceWidthRow* row = nullptr;
    for (const SpaceWidthRow& candidate : kSpaceWidths)
        if (candidate.name == feature) row = &candidate;
    if (!row) throw kUnknownSpaceWidth;
    double r = row->circle == Circle::Given ? ry : circleRadius(static_cast<int>(row->circle), x);
    if (isUnset(r)) return unsetValue;
    r = std::fabs(r);
    const double e = eyt(r, 0.0, x, x, phi0);
    if (!row->normal || isUnset(e)) return e;
    const double f = helixFactor(r);
    return isUnset(f) ? unsetValue : e * f;
}
Result GearCalculator::thicknessResult(NominalValue thickness, double x, double phi0) const {
    const auto row =
        std::find_if(kThicknesses.begin(), kThicknesses.end(),
                     [thickness](const ThicknessRow& candidate) { return candidate.value == thickness; });
    if (row == kThicknesses.end()) return Result::of(unsetValue);
    if (isAsymmetrical()) return asymmetricalRefusal(row->name);
    return attempt([&] { return toothThickness(static_cast<int>(row->circle), x, phi0, row->normal); });
}

// ---- public operations ------------------------------------------------------------------------------------

double GearCalculator::getNominal_Syt(double ry, double zpos, double xL, double xR, double phi0) const {
    return deliver(attempt([&] { return syt(ry, zpos, xL, xR, phi0); }), "getNominal_Syt", Delivery::Rethrow);
}

double GearCalculator::getNominal_Syn(double ry, double zpos, double xL, double xR, double phi0) const {
    const Result result = isAsymmetrical() ? Result::refused(kAsymmetricalSyn) : attempt([&] {
        const double s = syt(ry, zpos, xL, xR, phi0);
        const double f = helixFactor(ry);
        return isUnset(s) || isUnset(f) ? unsetValue : s * f;
    });
    return deliver(result, "getNominal_Syn", Delivery::Rethrow);
}

double GearCalculator::getNominal_eyt(double ry, double zpos, double xL, double xR, double phi0) const {
    return deliver(attempt([&] { return eyt(ry, zpos, xL, xR, phi0); }), "getNominal_eyt", Delivery::Rethrow);
}

double GearCalculator::getNominal_eyn(double ry, double zpos, double xL, double xR, double phi0) const {
    const Result result = isAsymmetrical() ? asymmetricalRefusal("eyn") : attempt([&] {
        const double e = eyt(ry, zpos, xL, xR, phi0);
        const double f = helixFactor(ry);
        return isUnset(e) || isUnset(f) ? unsetValue : e * f;
    });
    return deliver(result, "getNominal_eyn", Delivery::Rethrow);
}

double GearCalculator::getNominal_St(double x, double phi0) const {
    return deliver(thicknessResult(NominalValue::St, x, phi0), "getNominal_St", Delivery::Rethrow);
}

double GearCalculator::getNominal_Sn(double x, double phi0) const {
    return deliver(thicknessResult(NominalValue::Sn, x, phi0), "getNominal_Sn", Delivery::Rethrow);
}

double GearCalculator::getNominal_Sbt(double x, double phi0) const {
    return deliver(thicknessResult(NominalValue::Sbt, x, phi0), "getNominal_Sbt", Delivery::Rethrow);
}

double GearCalculator::getNominal_Sbn(double x, double phi0) const {
    return deliver(thicknessResult(NominalValue::Sbn, x, phi0), "getNominal_Sbn", Delivery::Rethrow);
}

double GearCalculator::getNominal_Svt(double x, double phi0) const {
    return deliver(thicknessResult(NominalValue::Svt, x, phi0), "getNominal_Svt", Delivery::Rethrow);
}

double GearCalculator::getNominal_Svn(double x, double phi0) const {
    return deliver(thicknessResult(NominalValue::Svn, x, phi0), "getNominal_Svn", Delivery::Rethrow);
}

double GearCalculator::getNominal_Spacewidth(const std::string& feature, double ry, double x,
                                             double phi0) const {
    const Result result = isAsymmetrical() ? asymmetricalRefusal(feature)
                                           : attempt([&] { return spaceWidth(feature, ry, x, phi0); });
    return deliver(result, "getNominal_Spacewidth", Delivery::Rethrow);
}

} // namespace kest::gear
