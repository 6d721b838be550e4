#include <kest/gear/cylindrical_gear_geometry.h>

#include <kest/gear/measurement_enums.h>
#include <kest/gear/tooth_count.h>

#include "geometry/angle_units.h"
#include "host/report.h"
#include "util/enum_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string_view>

namespace kest::gear {
namespace {

using FlankDirection = CylindricalGearGeometry::FlankDirection;
using ModuleVariant = CylindricalGearGeometry::ModuleVariant;

using FlankDirectionRow = enum_table::TextRow<FlankDirection>;
using ModuleVariantRow = enum_table::TextRow<ModuleVariant>;

constexpr std::array kFlankDirections{
    FlankDirectionRow{FlankDirection::Straight, "straight"},
    FlankDirectionRow{FlankDirection::Left, "left"},
    FlankDirectionRow{FlankDirection::Right, "right"},
};
constexpr const char* kWrongSlope = "wrong slope";

constexpr std::array kModuleVariants{
    ModuleVariantRow{ModuleVariant::Normal, "normal"},
    ModuleVariantRow{ModuleVariant::Transverse, "transverse"},
    ModuleVariantRow{ModuleVariant::DiametralPitchNormal, "diametral_pitch_normal"},
    ModuleVariantRow{ModuleVariant::DiametralPitchTransverse, "diametral_pitch_transverse"},
};
constexpr const char* kIllegalModuleVariant = "illegal module variant";

// Diametral pitch is taken as teeth per centimetre of reference diameter here (P = 10 / m), not per inch.
constexpr double kDiametralPitchFactor = 10.0;

bool isKnown(FlankDirection direction) {
    return enum_table::byValue(kFlankDirections, direction) != nullptr;
}

bool isTransverse(ModuleVariant variant) {
    switch (variant) {
    case ModuleVariant::Transverse:
    case ModuleVariant::DiametralPitchTransverse:
        return true;
    case ModuleVariant::Normal:
    case ModuleVariant::DiametralPitchNormal:
        return false;
    }
    return false;
}

bool isDiametralPitch(ModuleVariant variant) {
    switch (variant) {
    case ModuleVariant::DiametralPitchNormal:
    case ModuleVariant::DiametralPitchTransverse:
        return true;
    case ModuleVariant::Normal:
    case ModuleVariant::Transverse:
        return false;
    }
    return false;
}

double toDegrees(double radians) {
    return isUnset(radians) ? unsetValue : degreesFromRadians(radians);
}

} // namespace

CylindricalGearGeometry::CylindricalGearGeometry() = default;

CylindricalGearGeometry::CylindricalGearGeometry(int z, double b, double module, double betaRad,
                                                 double alphaNRad, double addendumModification, double dA,
                                                 double dF, FlankDirection flankDirection,
                                                 ModuleVariant moduleVariant,
                                                 AddendumModificationVariant addmodVariant, double dM)
    : z_(z)
    , b_(b)
    , mn_(module)
    , moduleVariant_(moduleVariant)
    , beta_(betaRad)
    , flankDirection_(flankDirection)
    , alphaN_(alphaNRad)
    , dA_(dA)
    , dF_(dF)
    , dM_(dM)
    , addmodVariant_(addmodVariant)
    , initialized_(true) {
    mn_ = normalModuleOf(module, beta_, moduleVariant_);
    calcX(addendumModification);
}

double CylindricalGearGeometry::normalModuleOf(double value, double betaRad, ModuleVariant variant) {
    double mn = value;
    if (isDiametralPitch(variant) && !isUnset(mn)) mn = kDiametralPitchFactor / mn;
    // mn = mt cos(beta) (ISO 21771)
    if (isTransverse(variant)) mn = isUnset(mn) || isUnset(betaRad) ? unsetValue : mn * std::cos(betaRad);
    return mn;
}

CylindricalGearGeometry::CylindricalGearGeometry(const CylindricalGearGeometry& other)
    : z_(other.getZ())
    , b_(other.getB())
    , mn_(other.getMN(Side::Left))
    , moduleVariant_(other.getModuleVariant())
    , beta_(other.getBetaRad(Side::Left, false))
    , flankDirection_(other.getFlankDirection(Side::Left))
    , alphaN_(other.getAlphaNRad(Side::Left))
    , x_(other.getX(Side::Left))
    , dA_(other.getDA())
    , dF_(other.getDF())
    , dM_(other.dM_)
    , addmodVariant_(other.addmodVariant_)
    , userStrings_(other.userStrings_)
    , initialized_(other.initialized_)
    , similarityEpsilon_(other.similarityEpsilon_) {}

CylindricalGearGeometry::~CylindricalGearGeometry() = default;

const char* CylindricalGearGeometry::getKindOf() const noexcept {
    return isKindOf();
}

bool CylindricalGearGeometry::testKindOf(const char* kind, bool) const {
    return kind && std::strcmp(kind, isKindOf()) == 0;
}

// ---- values ----------------------------------------------------------------------------------------------

int CylindricalGearGeometry::getZ() const {
    return z_;
}
double CylindricalGearGeometry::getB() const {
    return b_;
}
double CylindricalGearGeometry::getMN(Side) const {
    return mn_;
}
double CylindricalGearGeometry::getAlphaNRad(Side) const {
    return alphaN_;
}
double CylindricalGearGeometry::getX(Side) const {
    return x_;
}
double CylindricalGearGeometry::getDA() const {
    return dA_;
}
double CylindricalGearGeometry::getDF() const {
    return dF_;
}
double CylindricalGearGeometry::getDM() const {
    return dM_;
}
double CylindricalGearGeometry::getNominalFlankOffsetAngle() const {
    return 0.0;
}

AddendumModificationVariantClass CylindricalGearGeometry::getAddendumModificationVariant() const {
    return addmodVariant_;
}

CylindricalGearGeometry::FlankDirection CylindricalGearGeometry::getFlankDirection(Side) const {
    return flankDirection_;
}

double CylindricalGearGeometry::getBetaRad(Side side, bool isSigned) const {
    return helixAngleOf(beta_, getFlankDirection(side), isSigned);
}

double CylindricalGearGeometry::helixAngleOf(double betaRad, FlankDirection direction, bool isSigned) {
    if (isUnset(betaRad) || !isSigned) return betaRad;
    return direction == FlankDirection::Left ? -std::fabs(betaRad) : std::fabs(betaRad);
}

double CylindricalGearGeometry::getBetaDeg(Side side, bool isSigned) const {
    return toDegrees(getBetaRad(side, isSigned));
}

double CylindricalGearGeometry::getAlphaNDeg(Side side) const {
    return toDegrees(getAlphaNRad(side));
}

// The formulas below read the gear through the virtual getters of the side, so that a derived geometry that
// only supplies per-side values gets them right for either flank.

double CylindricalGearGeometry::getD(Side side, bool isSigned) const {
    return referenceDiameter(side, getFlankDirection(side) == FlankDirection::Straight, isSigned);
}

double CylindricalGearGeometry::getDB(Side side, bool isSigned) const {
    return baseDiameter(side, getFlankDirection(side) == FlankDirection::Straight, isSigned);
}

// Reference diameter d = z mn / cos(beta) (ISO 21771).
double CylindricalGearGeometry::referenceDiameter(Side side, bool straight, bool isSigned) const {
    const int z = getZ();
    const double mn = getMN(side);
    if (z == 0 || isUnset(mn)) return unsetValue;
    double d = z * mn;
    if (!straight) {
        const double beta = getBetaRad(side, false);
        if (isUnset(beta)) return unsetValue;
        d /= std::cos(beta);
    }
    return isSigned ? d : std::fabs(d);
}

// Base diameter db = d cos(alpha_t) with tan(alpha_t) = tan(alpha_n) / cos(beta) (ISO 21771), which is
// z mn / sqrt(tan^2(alpha_n) + cos^2(beta)); for a spur gear it reduces to z mn cos(alpha_n).
double CylindricalGearGeometry::baseDiameter(Side side, bool straight, bool isSigned) const {
    const int z = getZ();
    const double mn = getMN(side);
    const double alphaN = getAlphaNRad(side);
    if (z == 0 || isUnset(mn) || isUnset(alphaN)) return unsetValue;
    double db = 0.0;
    if (straight) {
        db = z * mn * std::cos(alphaN);
    } else {
        const double beta = getBetaRad(side, false);
        if (isUnset(beta)) return unsetValue;
        const double tanAlphaN = std::tan(alphaN);
        const double cosBeta = std::cos(beta);
        db = z * mn / std::sqrt(tanAlphaN * tanAlphaN + cosBeta * cosBeta);
    }
    return isSigned ? db : std::fabs(db);
}

// V-circle diameter: the reference diameter shifted by the profile shift x mn on either side. For an internal
// gear the signed reference diameter is negative, so the shift moves it towards zero.
double CylindricalGearGeometry::getDV(Side side, bool isSigned) const {
    const double d = getD(side, true);
    const double shift = getXValue(side);
    if (isUnset(d) || isUnset(shift)) return unsetValue;
    const double dv = d + 2.0 * shift;
    return isSigned ? dv : std::fabs(dv);
}

double CylindricalGearGeometry::getXValue(Side side) const {
    const double x = getX(side);
    const double mn = getMN(side);
    return isUnset(x) || isUnset(mn) ? unsetValue : x * mn;
}

double CylindricalGearGeometry::getM(Side side, ModuleVariant variant) const {
    const double mn = getMN(side);
    if (isUnset(mn)) return unsetValue;
    double m = mn;
    if (isTransverse(variant)) {
        const double beta = getBetaRad(side, false);
        if (isUnset(beta)) return unsetValue;
        m = mn / std::cos(beta); // mt = mn / cos(beta)
    }
    return isDiametralPitch(variant) ? kDiametralPitchFactor / m : m;
}

// Evaluation length of the profile: the roll length from the reference circle up to the tip circle,
// (sqrt(dA^2 - db^2) - db tan(alpha_n)) / 2, plus the path of contact below the reference circle down to the
// tip line of a basic rack with addendum mn shifted by x mn, (1 - x) mn / sin(alpha_n).
double CylindricalGearGeometry::getLAE(Side side) const {
    const double dA = getDA();
    const double db = getDB(side, false);
    const double alphaN = getAlphaNRad(side);
    const double x = getX(side);
    if (isUnset(dA) || isUnset(db) || isUnset(alphaN) || isUnset(x)) return unsetValue;
    return (std::sqrt(dA * dA - db * db) - std::tan(alphaN) * db) / 2.0 +
           (1.0 - x) * getMN(side) / std::sin(alphaN);
}

// ---- addendum modification -------------------------------------------------------------------------------

// ---- validation ------------------------------------------------------------------------------------------

void CylindricalGearGeometry::setErrorReason(std::string* reason, const std::string& message) const {
    if (reason) *reason = message + " (" + getKindOf() + ")";
}

bool CylindricalGearGeometry::isValid(std::string* reason) const {
    if (reason) reason->clear();
    const auto fail = [&](const char* message) {
        setErrorReason(reason, message);
        return false;
    };
    if (!initialized_) return fail("gear not initialized");
    if (z_ == 0) return fail("number of teeth not set");
    if (z_ > -3 && z_ < 3) return fail("number of teeth smaller than 3");
    static_assert(maxNumberOfTeeth == 9999, "the message names the bound");
    if (z_ > maxNumberOfTeeth || z_ < -maxNumberOfTeeth) return fail("number of teeth greater than 9999");
    if (isUnset(b_)) return fail("facewidth not initialized");
    if (isUnset(mn_)) return fail("normal module not initialized");
    if (isUnset(beta_)) return fail("helix angle not initialized");
    if (isUnset(alphaN_)) return fail("pressure angle not initialized");
    // Only the coefficient form needs x itself; the other forms hold it through their test dimension.
    if (addmodVariant_.get() == AddendumModificationVariant::AddmodFactor && isUnset(x_))
        return fail("profile shift coefficient not initialized");
    if (isUnset(dA_)) return fail("tip diameter not initialized");
    if (isUnset(dF_)) return fail("root diameter not initialized");
    // NaN passes every comparison below and an infinity some of them; the values of a flank are checked with
    // the flank.
    if (!std::isfinite(b_)) return fail("facewidth not finite");
    if (!std::isfinite(dA_)) return fail("tip diameter not finite");
    if (!std::isfinite(dF_)) return fail("root diameter not finite");
    if (!std::isfinite(dM_)) return fail("ball diameter not finite");
    if (dA_ == 0.0) return fail("tip diameter not set");
    if (dF_ == 0.0) return fail("root diameter not set");
    if (b_ == 0.0) return fail("facewidth not set");
    if (b_ < 0.0) return fail("negative facewidth");
    // The tip of an internal gear lies inside its root circle.
    if (z_ >= 1 && dF_ >= dA_) return fail("tip diameter smaller equal than root diameter");
    if (z_ < 0 && dA_ >= dF_) return fail("tip diameter greater equal than root diameter");
    // The ball diameter is optional (unset); a measuring ball has a size.
    if (dM_ < 0.0) return fail("negative ball diameter");
    return isValidSide(Side::Left, reason);
}

bool CylindricalGearGeometry::isValidSide(Side side, std::string* reason) const {
    const std::string p = side == Side::Right ? "right " : "";
    const auto fail = [&](const std::string& message) {
        setErrorReason(reason, message);
        return false;
    };
    const FlankDirection fd = getFlankDirection(side);
    const double beta = getBetaRad(side, false);
    const double signedBeta = getBetaRad(side, true);
    if (!isKnown(fd)) return fail("flank direction unknown");
    if (!std::isfinite(beta)) return fail(p + "helix angle not finite");
    if (beta < 0.0) return fail("negative " + p + "helix angle");
    if (fd == FlankDirection::Left && signedBeta > 0.0)
        return fail("left sloped helix direction but positive " + p + "helix angle");
    if (fd == FlankDirection::Right && signedBeta < 0.0)
        return fail("right sloped helix direction but negative " + p + "helix angle");
    if (fd != FlankDirection::Straight && beta == 0.0)
        return fail("slope set, but " + p + "helix angle is zero");
    if (fd == FlankDirection::Straight && beta != 0.0)
        return fail("slope not set, but " + p + "helix angle is not zero");
    // At a right angle the flank would lie in the transverse plane (helix) or along the radius (pressure
    // angle): no involute gear. 90 degrees read from a file may come a unit in the last place below pi/2.
    const double rightAngle = std::min(std::numbers::pi / 2, radiansFromDegrees(90.0));
    if (beta >= rightAngle) return fail(p + "helix angle greater equal than 90 degrees");
    const double mn = getMN(side);
    if (!std::isfinite(mn)) return fail(p + "normal module not finite");
    if (mn == 0.0) return fail(p + "normal module not set");
    if (mn < 0.0) return fail("negative " + p + "normal module");
    const double alphaN = getAlphaNRad(side);
    if (!std::isfinite(alphaN)) return fail(p + "pressure angle not finite");
    if (alphaN == 0.0) return fail(p + "pressure angle not set");
    if (alphaN < 0.0) return fail("negative " + p + "pressure angle");
    if (alphaN >= rightAngle) return fail(p + "pressure angle greater equal than 90 degrees");
    if (!std::isfinite(getX(side))) return fail(p + "profile shift coefficient not finite");
    return true;
}

bool CylindricalGearGeometry::isSimilar(const CylindricalGearGeometry& other) const {
    // A derived geometry is never similar to a plain cylindrical one.
    if (!testKindOf(isKindOf(), true) && other.testKindOf(isKindOf(), true)) return false;
    const auto near = [&](double a, double b) { return std::fabs(a - b) < similarityEpsilon_; };
    return getZ() == other.getZ() && getFlankDirection(Side::Left) == other.getFlankDirection(Side::Left) &&
           near(getB(), other.getB()) && near(getMN(Side::Left), other.getMN(Side::Left)) &&
           near(getBetaRad(Side::Left, false), other.getBetaRad(Side::Left, false)) &&
           near(getAlphaNRad(Side::Left), other.getAlphaNRad(Side::Left)) && near(getDA(), other.getDA()) &&
           near(getDF(), other.getDF()) && near(getX(Side::Left), other.getX(Side::Left)) && isValid() &&
           other.isValid();
}

// ---- texts -----------------------------------------------------------------------------------------------

std::string CylindricalGearGeometry::FlankDirection_2_string(FlankDirection direction) {
    return enum_table::toText(kFlankDirections, direction, kWrongSlope);
}

CylindricalGearGeometry::FlankDirection
CylindricalGearGeometry::string_2_FlankDirection(const std::string& text) {
    const auto* row = enum_table::byText(kFlankDirections, text);
    return row != nullptr ? row->value : FlankDirection::Straight;
}

std::string CylindricalGearGeometry::ModuleVariantToString(ModuleVariant variant) {
    const auto* row = enum_table::byValue(kModuleVariants, variant);
    if (row == nullptr) throw kIllegalModuleVariant;
    return std::string(row->text);
}

CylindricalGearGeometry::ModuleVariant
CylindricalGearGeometry::StringToModuleVariant(const std::string& text) {
    if (const auto* row = enum_table::byText(kModuleVariants, text)) return row->value;
    GR_TRACE(3, "illegal module variant string found: <%s>", text.c_str());
    return ModuleVariant::Normal;
}

} // namespace kest::gear
