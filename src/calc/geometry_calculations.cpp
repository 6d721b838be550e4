// The members of the geometries that are computed by the calculator: the addendum modification stated
// through a test dimension (both directions), the nominal flank offset angle of an asymmetrical gear, the
// nominal feature values by short name, and the ball diameter that the dimension over balls uses when none is
// given. The geometries themselves know nothing of the calculator.

#include <kest/gear/asymmetrical_gear_geometry.h>
#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear_calculator.h>
#include <kest/gear/host/diagnostics.h>
#include <kest/gear/measurement_enums.h>
#include <kest/gear/reference_conversions.h>

#include "calc/polar.h"
#include "calc/profile_shift.h"
#include "host/report.h"
#include "util/string_format.h"

#include <array>
#include <cmath>
#include <numbers>
#include <string_view>

namespace kest::gear {
namespace {

using std::numbers::pi;
using AsymmetryVariant = AsymmetricalGearGeometry::AsymmetryVariant;

constexpr const char* kUnknownAddmodVariant = "Unknown AddendumModificationVariant";

enum class Nominal {
    MdK,
    MdR,
    MrK,
    MrR,
    St,
    Sn,
    Sbt,
    Sbn,
    Svt,
    Svn,
    Da,
    Df,
    SpaceWidth,
    Ev,
    Syt,
    Syn,
    Eyt,
    Eyn,
    Zero
};

struct NominalRow {
    std::string_view name;
    Nominal value;
};

constexpr std::array kNominals{
    NominalRow{"MdK", Nominal::MdK},
    NominalRow{"MdR", Nominal::MdR},
    NominalRow{"MrK", Nominal::MrK},
    NominalRow{"MrR", Nominal::MrR},
    NominalRow{"st", Nominal::St},
    NominalRow{"Sv", Nominal::St},
    NominalRow{"svt", Nominal::Svt},
    NominalRow{"sbt", Nominal::Sbt},
    NominalRow{"sn", Nominal::Sn},
    NominalRow{"svn", Nominal::Svn},
    NominalRow{"sbn", Nominal::Sbn},
    NominalRow{"da", Nominal::Da},
    NominalRow{"df", Nominal::Df},
    NominalRow{"et", Nominal::SpaceWidth},
    NominalRow{"ebt", Nominal::SpaceWidth},
    NominalRow{"evt", Nominal::SpaceWidth},
    NominalRow{"en", Nominal::SpaceWidth},
    NominalRow{"ebn", Nominal::SpaceWidth},
    NominalRow{"evn", Nominal::SpaceWidth},
    NominalRow{"Ev", Nominal::Ev},
    NominalRow{"syt", Nominal::Syt},
    NominalRow{"syn", Nominal::Syn},
    NominalRow{"eyt", Nominal::Eyt},
    NominalRow{"eyn", Nominal::Eyn},
    // deviations: their nominal value is zero
    NominalRow{"gt", Nominal::Zero},
    NominalRow{"gbt", Nominal::Zero},
    NominalRow{"gvt", Nominal::Zero},
    NominalRow{"gyt", Nominal::Zero},
    NominalRow{"gn", Nominal::Zero},
    NominalRow{"gbn", Nominal::Zero},
    NominalRow{"gvn", Nominal::Zero},
    NominalRow{"gyn", Nominal::Zero},
    NominalRow{"at", Nominal::Zero},
    NominalRow{"abt", Nominal::Zero},
    NominalRow{"avt", Nominal::Zero},
    NominalRow{"ayt", Nominal::Zero},
    NominalRow{"an", Nominal::Zero},
    NominalRow{"abn", Nominal::Zero},
    NominalRow{"avn", Nominal::Zero},
    NominalRow{"ayn", Nominal::Zero},
};

// Whether the addendum modification is stated through a test dimension or tooth thickness (rather than as the
// coefficient or as x mn). Throws "Unknown AddendumModificationVariant" for a value outside the enumeration.
bool statedByTestValue(AddendumModificationVariant variant) {
    switch (variant) {
    case AddendumModificationVariant::AddmodFactor:
    case AddendumModificationVariant::AddmodValue:
        return false;
    case AddendumModificationVariant::AddmodMrk:
    case AddendumModificationVariant::AddmodMdk:
    case AddendumModificationVariant::AddmodMdr:
    case AddendumModificationVariant::AddmodSt:
    case AddendumModificationVariant::AddmodSbt:
    case AddendumModificationVariant::AddmodSn:
    case AddendumModificationVariant::AddmodSbn:
        return true;
    }
    throw kUnknownAddmodVariant;
}

// The value an asymmetry is measured by, as the calculator names it, and whether it is taken over balls.
struct MeasuredFeature {
    const char* name;
    bool overBalls;
};

MeasuredFeature measuredFeature(AsymmetryVariant variant) {
    switch (variant) {
    case AsymmetryVariant::MdK:
        return {"MdK", true};
    case AsymmetryVariant::MrK:
        return {"MrK", true};
    case AsymmetryVariant::Syt:
        return {"Syt", false};
    case AsymmetryVariant::None:
        break;
    }
    return {nullptr, false};
}

// acos that settles the ends of its range: a value just past +-1 (rounding) is an error, one within 1e-6 of
// them is the end itself.
double guardedAcos(double v) {
    if (v > 1.0 || v < -1.0) {
        GR_ERROR_LOG("Error : acos (%f)", v);
        return 0.0;
    }
    if (std::fabs(1.0 - v) < 1e-6) return 0.0;
    if (std::fabs(1.0 + v) < 1e-6) return pi;
    const double a = std::acos(v);
    return std::fabs(a) < 1e-6 ? 0.0 : a;
}

} // namespace

// ---- addendum modification -------------------------------------------------------------------------------

void CylindricalGearGeometry::calcX(double value) {
    if (isUnset(value)) {
        x_ = unsetValue;
        return;
    }
    const AddendumModificationVariant variant = addmodVariant_.get();
    if (statedByTestValue(variant))
        x_ = profileShiftFromTestValue(*this, variant, value);
    else if (variant == AddendumModificationVariant::AddmodFactor)
        x_ = value;
    else
        x_ = isUnset(mn_) ? unsetValue : value / mn_;
}

double CylindricalGearGeometry::getAddendumModification(Side side, AddendumModificationVariant variant,
                                                        double zpos) const {
    if (statedByTestValue(variant)) return testValueFromProfileShift(*this, side, variant, zpos);
    return variant == AddendumModificationVariant::AddmodFactor ? getX(side) : getXValue(side);
}

// ---- asymmetrical gear ------------------------------------------------------------------------------------

// The angle by which the right flanks are turned against their symmetric position: the one for which the
// nominal value of the measured feature, at the stated axial position, equals the measured value.
double AsymmetricalGearGeometry::getNominalFlankOffsetAngle() const {
    if (asymmetryVariant_ == AsymmetryVariant::None) return 0.0;
    const MeasuredFeature feature = measuredFeature(asymmetryVariant_);
    if (!feature.name) {
        GR_ERROR_LOG(
            "AsymmetricalGearGeometry::getNominalFlankOffsetAngle(): not implement yet or not possible "
            "variant from it to calculate flank offset angle!");
        return 0.0;
    }
    try {
        // The calculator counts axial positions from the non-datum face.
        const double zpos =
            convertLeadReference(this, heightReference_, asymmetryHeight_, Reference::LengthNonDatumToDatum);
        const GearCalculator calculator(this);
        return calculator.getPhiB0_offset(feature.name, asymmetryValue_,
                                          feature.overBalls ? asymmetryBallDiameter_ : unsetValue, zpos,
                                          feature.overBalls ? unsetValue : asymmetryMeasuringDiameter_,
                                          getX(Side::Left), getX(Side::Right), unsetSpanCount);
    } catch (const char* message) {
        throw host::make_pp(message ? message : "");
    }
}

// ---- nominal values ---------------------------------------------------------------------------------------

// The ball that touches the flanks of the virtual spur gear (zn = z / cos^3.3(beta), the exponent
// approximating the normal-section curvature) on its V-circle: the contact lies at the pressure angle
// alpha_D, cos(alpha_D) = zn cos(alpha_n) / (zn + 2x), and the ball centre at the half space angle eta on the
// generating line there (DIN 3960 choice of the measuring ball).
double CylindricalGearGeometry::getDINBallDiameter(Side side, double x) const {
    const int z = getZ();
    const double mn = getMN(side);
    const double beta = getBetaRad(side, false);
    const double alphaN = getAlphaNRad(side);
    if (isUnset(x)) x = getX(side);
    if (z == 0 || isUnset(mn) || isUnset(beta) || isUnset(alphaN) || isUnset(x)) return unsetValue;
    const double zn = z / std::pow(std::cos(beta), 3.3);
    const double alphaD = guardedAcos(std::cos(alphaN) * zn / (zn + 2 * x));
    const double eta = std::tan(alphaD) - calc::involute(alphaN) + (pi - 4 * x * std::tan(alphaN)) / (2 * zn);
    return zn * mn * std::cos(alphaN) * (std::tan(eta) - std::tan(alphaD));
}

double CylindricalGearGeometry::getNominalFeatureValue(const std::string& feature, double a1,
                                                       double a2) const {
    const NominalRow* row = nullptr;
    for (const NominalRow& candidate : kNominals)
        if (candidate.name == feature) row = &candidate;
    if (!row) {
        std::string text;
        util::stl_string_format(text, "demand nominal value of feature %s is not yet implemented",
                                feature.c_str());
        GR_TRACE(1, "%s", text.c_str());
        throw host::make_pp(text);
    }
    const GearCalculator calculator(this);
    const double phi0 = getNominalFlankOffsetAngle();
    const double xL = getX(Side::Left);
    const double xR = getX(Side::Right);
    // a1 of the y-circle features is a diameter
    const double ry = isUnset(a1) ? unsetValue : a1 / 2;
    switch (row->value) {
    case Nominal::MdK:
        return calculator.getNominal_MdK(xL, xR, a1, a2, phi0);
    case Nominal::MdR:
        return calculator.getNominal_MdR(xL, a1, phi0);
    case Nominal::MrK:
        return calculator.getNominal_MrK(xL, xR, a1, a2, phi0);
    case Nominal::MrR:
        return calculator.getNominal_MrR(xL, a1, phi0);
    case Nominal::St:
        return calculator.getNominal_St(xL, phi0);
    case Nominal::Sn:
        return calculator.getNominal_Sn(xL, phi0);
    case Nominal::Sbt:
        return calculator.getNominal_Sbt(xL, phi0);
    case Nominal::Sbn:
        return calculator.getNominal_Sbn(xL, phi0);
    case Nominal::Svt:
        return calculator.getNominal_Svt(xL, phi0);
    case Nominal::Svn:
        return calculator.getNominal_Svn(xL, phi0);
    case Nominal::Da:
        return calculator.getNominal_da();
    case Nominal::Df:
        return calculator.getNominal_df();
    case Nominal::SpaceWidth:
        return calculator.getNominal_Spacewidth(feature, unsetValue, unsetValue, unsetValue);
    case Nominal::Ev:
        return calculator.getNominal_Spacewidth("et", unsetValue, unsetValue, unsetValue);
    case Nominal::Syt:
        return calculator.getNominal_Syt(ry, a2, xL, xR, phi0);
    case Nominal::Syn:
        return calculator.getNominal_Syn(ry, a2, xL, xR, phi0);
    case Nominal::Eyt:
        return calculator.getNominal_eyt(ry, a2, xL, xR, phi0);
    case Nominal::Eyn:
        return calculator.getNominal_eyn(ry, a2, xL, xR, phi0);
    case Nominal::Zero:
        return 0.0;
    }
    return unsetValue;
}

} // namespace kest::gear
