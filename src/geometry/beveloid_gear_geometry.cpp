#include <kest/gear/beveloid_gear_geometry.h>

#include <kest/gear/measurement_enums.h>

#include "geometry/angle_units.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace kest::gear {
namespace {

using FlankDirection = CylindricalGearGeometry::FlankDirection;

// The cone's reference values for one flank, in radians, and the flank's sign s (+1 left, -1 right): the
// flanks lean towards the cone's axis from opposite sides.
struct FlankCone {
    double delta = unsetValue;
    double betaRef = unsetValue; // signed
    double alphaRef = unsetValue;
    double s = 0.0;
    bool set = false; // every value set and the side a flank
};

FlankCone flankCone(const BeveloidGearGeometry& g, Side side) {
    FlankCone c{g.getDelta_Ref(true), g.getBeta_Ref(true, true), g.getAlphaN_Ref(side, true),
                side == Side::Left ? 1.0 : -1.0, false};
    c.set = (side == Side::Left || side == Side::Right) && !isUnset(c.delta) && !isUnset(c.betaRef) &&
            !isUnset(c.alphaRef);
    return c;
}

double degreesUnlessRad(double radians, bool rad) {
    return rad || isUnset(radians) ? radians : degreesFromRadians(radians);
}

double radiansIfRad(double degrees, bool rad) {
    return !rad || isUnset(degrees) ? degrees : radiansFromDegrees(degrees);
}

double magnitudeUnlessSigned(double value, bool isSigned) {
    return isSigned ? value : std::fabs(value);
}

} // namespace

BeveloidGearGeometry::BeveloidGearGeometry() = default;

BeveloidGearGeometry::BeveloidGearGeometry(const AsymmetricalGearGeometry& flanks, double deltaDeg,
                                           double betaRefDeg, double leftAlphaNRefDeg,
                                           double rightAlphaNRefDeg, bool conicalCorrected)
    : AsymmetricalGearGeometry(flanks)
    , delta_(deltaDeg)
    , betaRef_(betaRefDeg)
    , leftAlphaNRef_(leftAlphaNRefDeg)
    , rightAlphaNRef_(rightAlphaNRefDeg)
    , beveloidInitialized_(true)
    , conicalCorrected_(conicalCorrected)
    , conicalCorrectedTolerance_(conicalCorrected ? 0.05 : unsetValue) {}

BeveloidGearGeometry::BeveloidGearGeometry(const BeveloidGearGeometry& other) = default;

BeveloidGearGeometry::~BeveloidGearGeometry() = default;

const char* BeveloidGearGeometry::getKindOf() const noexcept {
    return isKindOf();
}

bool BeveloidGearGeometry::testKindOf(const char* kind, bool exact) const {
    return kind && (std::strcmp(kind, isKindOf()) == 0 ||
                    (!exact && AsymmetricalGearGeometry::testKindOf(kind, false)));
}

// ---- reference values ------------------------------------------------------------------------------------

double BeveloidGearGeometry::getDelta_Ref(bool rad) const {
    return radiansIfRad(delta_, rad);
}

double BeveloidGearGeometry::getBeta_Ref(bool isSigned, bool rad) const {
    return radiansIfRad(isUnset(betaRef_) ? betaRef_ : magnitudeUnlessSigned(betaRef_, isSigned), rad);
}

CylindricalGearGeometry::FlankDirection BeveloidGearGeometry::getBeta_Ref_direction() const {
    if (isUnset(betaRef_) || betaRef_ == 0.0) return FlankDirection::Straight;
    return betaRef_ > 0.0 ? FlankDirection::Right : FlankDirection::Left;
}

double BeveloidGearGeometry::getAlphaN_Ref(Side side, bool rad) const {
    if (side == Side::Left) return radiansIfRad(leftAlphaNRef_, rad);
    if (side == Side::Right) return radiansIfRad(rightAlphaNRef_, rad);
    return unsetValue;
}

double BeveloidGearGeometry::getConcialCorrectedTolerance() const {
    return conicalCorrectedTolerance_;
}

bool BeveloidGearGeometry::setConcialCorrectedTolerance(double tolerance) {
    if (!(tolerance > 0.0 && tolerance <= 1.0)) return false;
    conicalCorrectedTolerance_ = tolerance;
    return true;
}

// ---- effective values of a flank -------------------------------------------------------------------------

// The cone tilts both flanks by delta, towards opposite sides: the helix angle that a flank sees grows on one
// side and shrinks on the other by the pressure angle's share of the tilt,
// tan(beta_s) = tan(beta_r) cos(delta) + s tan(alpha_r) sin(delta) / cos(beta_r).
double BeveloidGearGeometry::getBeta_Calc(Side side, bool isSigned, bool rad) const {
    const FlankCone c = flankCone(*this, side);
    if (!c.set) return unsetValue;
    const double beta = std::atan(std::tan(c.betaRef) * std::cos(c.delta) +
                                  c.s * std::tan(c.alphaRef) * std::sin(c.delta) / std::cos(c.betaRef));
    return degreesUnlessRad(magnitudeUnlessSigned(beta, isSigned), rad);
}

// The same tilt in the transverse plane: tan(alpha_t) = tan(alpha_r) cos(delta) / cos(beta_r)
// - s tan(beta_r) sin(delta); for delta = 0 this is ISO 21771's tan(alpha_t) = tan(alpha_n) / cos(beta).
double BeveloidGearGeometry::getAlphaT_Calc(Side side, bool rad) const {
    const FlankCone c = flankCone(*this, side);
    if (!c.set) return unsetValue;
    const double alphaT = std::atan(std::tan(c.alphaRef) * std::cos(c.delta) / std::cos(c.betaRef) -
                                    c.s * std::tan(c.betaRef) * std::sin(c.delta));
    return degreesUnlessRad(alphaT, rad);
}

// tan(alpha_n) = tan(alpha_t) cos(beta) (ISO 21771) with the flank's effective angles.
double BeveloidGearGeometry::getAlphaN_Calc(Side side, bool rad) const {
    const double alphaT = getAlphaT_Calc(side, true);
    const double beta = getBeta_Calc(side, true, true);
    if (isUnset(alphaT) || isUnset(beta)) return unsetValue;
    return degreesUnlessRad(std::atan(std::tan(alphaT) * std::cos(beta)), rad);
}

// tan(beta_b) = tan(beta) cos(alpha_t) (ISO 21771) with the flank's effective angles.
double BeveloidGearGeometry::getBetaB_Calc(Side side, bool isSigned, bool rad) const {
    const double alphaT = getAlphaT_Calc(side, true);
    const double beta = getBeta_Calc(side, true, true);
    if (isUnset(alphaT) || isUnset(beta)) return unsetValue;
    return degreesUnlessRad(magnitudeUnlessSigned(std::atan(std::tan(beta) * std::cos(alphaT)), isSigned),
                            rad);
}

// The transverse module mn / cos(beta_r) is the cone's; a flank sees it under its own helix angle.
double BeveloidGearGeometry::getMN_Calc(Side side) const {
    const double beta = getBeta_Calc(side, true, true);
    const double betaRef = getBeta_Ref(true, true);
    const double mn = getMN(side);
    if (isUnset(beta) || isUnset(betaRef) || isUnset(mn)) return unsetValue;
    return std::cos(beta) * mn / std::cos(betaRef);
}

// Subtracting the two flanks' helix relations leaves the cone angle:
// cos(beta_r) (tan(beta_s,left) - tan(beta_s,right)) / (tan(alpha_r,right) + tan(alpha_r,left)).
double BeveloidGearGeometry::getDelta_Calc(bool rad) const {
    const double betaLeft = getBeta_Calc(Side::Left, true, true);
    const double betaRight = getBeta_Calc(Side::Right, true, true);
    const double betaRef = getBeta_Ref(true, true);
    const double alphaLeft = getAlphaN_Ref(Side::Left, true);
    const double alphaRight = getAlphaN_Ref(Side::Right, true);
    if (isUnset(betaLeft) || isUnset(betaRight) || isUnset(betaRef) || isUnset(alphaLeft) ||
        isUnset(alphaRight))
        return unsetValue;
    const double delta = std::atan(std::cos(betaRef) * (std::tan(betaLeft) - std::tan(betaRight)) /
                                   (std::tan(alphaRight) + std::tan(alphaLeft)));
    return degreesUnlessRad(delta, rad);
}

// A conical correction holds for a shallow cone only: the radial change over the face width, b tan(delta),
// stays below the tolerance's share of the tip diameter.
bool BeveloidGearGeometry::isInConicalCorrectedTolerance() const {
    const double tolerance = conicalCorrectedTolerance_;
    if (!conicalCorrected_ || !(tolerance > 0.0 && tolerance <= 1.0)) return false;
    const double delta = getDelta_Ref(true);
    if (isUnset(delta) || isUnset(getDA()) || isUnset(getB())) return false;
    return std::fabs(delta) < std::atan(tolerance * getDA() / getB());
}

void BeveloidGearGeometry::calcAsymParametersFromBeveloid() {
    const double mnLeft = getMN_Calc(Side::Left);
    const double mnRight = getMN_Calc(Side::Right);
    const double betaLeft = getBeta_Calc(Side::Left, true, true);
    const double betaRight = getBeta_Calc(Side::Right, true, true);
    const double alphaLeft = getAlphaN_Calc(Side::Left, true);
    const double alphaRight = getAlphaN_Calc(Side::Right, true);
    // A flank without effective helix angle is still given a hand.
    const auto hand = [](double beta) { return beta >= 0.0 ? FlankDirection::Right : FlankDirection::Left; };
    mn_ = mnLeft;
    rightMn_ = mnRight;
    beta_ = std::fabs(betaLeft);
    rightBeta_ = std::fabs(betaRight);
    flankDirection_ = hand(betaLeft);
    rightFlankDirection_ = hand(betaRight);
    alphaN_ = alphaLeft;
    rightAlphaN_ = alphaRight;
}

// ---- diameters -------------------------------------------------------------------------------------------

// The cone's transverse module mn / cos(beta_r) gives the reference circle whatever the flank's own helix.
double BeveloidGearGeometry::getD(Side side, bool isSigned) const {
    const int z = getZ();
    const double mn = getMN(side);
    if (z == 0 || isUnset(mn)) return unsetValue;
    double d = z * mn;
    if (getFlankDirection(Side::Left) != FlankDirection::Straight) {
        const double betaRef = getBeta_Ref(false, true);
        if (isUnset(betaRef)) return unsetValue;
        d /= std::cos(betaRef);
    }
    return magnitudeUnlessSigned(d, isSigned);
}

double BeveloidGearGeometry::getDB(Side side, bool isSigned) const {
    const double d = getD(side, isSigned);
    const double alphaT = getAlphaT_Calc(side, true);
    if (isUnset(d) || isUnset(alphaT)) return unsetValue;
    return d * std::cos(alphaT);
}

// ---- validation ------------------------------------------------------------------------------------------

bool BeveloidGearGeometry::isValid(std::string* reason) const {
    if (reason) reason->clear();
    const auto fail = [&](const char* message) {
        setErrorReason(reason, message);
        return false;
    };
    if (!beveloidInitialized_) return fail("gear not initialized");
    if (isUnset(delta_)) return fail("cone angle not initialized");
    if (isUnset(betaRef_)) return fail("reference helix angle not initialized");
    if (isUnset(leftAlphaNRef_)) return fail("left reference pressure angle not initialized");
    if (isUnset(rightAlphaNRef_)) return fail("right reference pressure angle not initialized");
    // NaN would pass the control equation below.
    if (!std::isfinite(delta_)) return fail("cone angle not finite");
    if (!std::isfinite(betaRef_)) return fail("reference helix angle not finite");
    if (!std::isfinite(leftAlphaNRef_)) return fail("left reference pressure angle not finite");
    if (!std::isfinite(rightAlphaNRef_)) return fail("right reference pressure angle not finite");
    if (conicalCorrected_ && !isInConicalCorrectedTolerance())
        return fail("given cone angle outside range of definition for conical corrected gears");
    // The cone angle and the flanks' effective helix angles must agree to single precision.
    if (std::fabs(getDelta_Ref(true) - getDelta_Calc(true)) > std::numeric_limits<float>::epsilon())
        return fail("given cone angle does not fulfill the control equation");
    return AsymmetricalGearGeometry::isValid(reason);
}

bool BeveloidGearGeometry::isSimilar(const CylindricalGearGeometry& other) const {
    if (!testKindOf(isKindOf(), true) && other.testKindOf(isKindOf(), true)) return false;
    if (!AsymmetricalGearGeometry::isSimilar(other)) return false;
    const auto* cone = dynamic_cast<const BeveloidGearGeometry*>(&other);
    if (!cone) return false;
    // The conical correction is a statement about the tolerance of the cone, not a value of the gear.
    const auto near = [&](double a, double b) { return std::fabs(a - b) < getSimilarityEpsilon(); };
    return near(getDelta_Ref(false), cone->getDelta_Ref(false)) &&
           near(getBeta_Ref(true, false), cone->getBeta_Ref(true, false)) &&
           near(getAlphaN_Ref(Side::Left, false), cone->getAlphaN_Ref(Side::Left, false)) &&
           near(getAlphaN_Ref(Side::Right, false), cone->getAlphaN_Ref(Side::Right, false));
}

} // namespace kest::gear
