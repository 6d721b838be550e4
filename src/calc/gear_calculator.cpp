// The calculator's set-up and its flank model, on which every nominal value is built: the transverse section
// of every flank is an involute of its base circle (ISO 21771), placed by the polar angle phiB of its start
// on the base circle. A flank point at radius ry then lies at the polar angle
// phiB + sigma inv(alpha_y), cos(alpha_y) = rb / ry, turned by the helix twist tan(beta_b) / rb per unit of
// axial position (the lead of the base helix, ISO 21771).

#include <kest/gear/gear_calculator.h>

#include <kest/gear/asymmetrical_gear_geometry.h>
#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include "calc/calculation_result.h"
#include "calc/flank_modification.h"
#include "calc/polar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

namespace kest::gear {

namespace {

using calc::kUnsetVector;
using calc::normalizeAngle;
using calc::orZero;
using calc::twoPi;
using calc::wrapAngle;
using std::numbers::pi;
using Vector = GearCalculator::Vector;

constexpr const char* kNullGeometry = "given cylindircal gear geometry pointer is null";
constexpr const char* kSideOutOfRange = "given side is out of range";
constexpr const char* kPitchInsideBase = "pitch radius is not allowed smaller than base radius";
constexpr const char* kPointInBaseCircle = "given points located in base circle";
constexpr const char* kRadiusBelowBase = "given circle radius is smaller than base radius";

// A radius this far inside the base circle is taken as on it (rounding of a point computed on the circle).
constexpr double kBaseCircleSlack = 1e-12;
// getRadius: the flank point must reach the x coordinate within this, in at most this many steps.
constexpr double kRadiusTolerance = 1e-7;
constexpr int kRadiusSteps = 1000;

double handOf(CylindricalGearGeometry::FlankDirection direction) {
    switch (direction) {
    case CylindricalGearGeometry::FlankDirection::Left:
        return -1.0;
    case CylindricalGearGeometry::FlankDirection::Right:
        return 1.0;
    case CylindricalGearGeometry::FlankDirection::Straight:
        return 0.0;
    }
    return 0.0;
}

// The base angle of tooth t before it is brought into [0, 2 pi): teeth follow each other clockwise by the
// angular pitch 2 pi / z (z > 0 here), and the flank offset angle phi0 widens every tooth by phi0, half on
// each flank. `turn` is e sigma of the flank.
double turnedBaseAngle(int tooth, double turn, double reference, double phi0, int z) {
    return -(turn * (orZero(phi0) / 2 + reference) + (tooth - 1) * twoPi / z);
}

} // namespace

// ---- set-up -----------------------------------------------------------------------------------------------

GearCalculator::GearCalculator(const CylindricalGearGeometry* geometry)
    : geometry_(geometry) {
    if (!geometry_) throw kNullGeometry;
    z_ = geometry_->getZ();
    e_ = z_ < 0 ? -1.0 : 1.0;
    for (const Side side : {Side::Left, Side::Right}) {
        SideData& s = sides_[side == Side::Left ? 0 : 1];
        s.sigma = side == Side::Left ? -1.0 : 1.0;
        s.x = geometry_->getX(side);
        s.d = geometry_->getD(side, true);
        s.hand = handOf(geometry_->getFlankDirection(side));
        const double db = geometry_->getDB(side, false);
        const double alphaN = geometry_->getAlphaNRad(side);
        const double beta = geometry_->getBetaRad(side, false);
        s.rb = isUnset(db) ? unsetValue : std::fabs(db) / 2;
        s.alphaN = isUnset(alphaN) ? unsetValue : std::fabs(alphaN);
        s.tanAlphaN = isUnset(alphaN) ? unsetValue : std::tan(s.alphaN);
        s.betaB = s.tb = s.normalScale = s.normalAxial = s.refAngle = unsetValue;
        if (!isUnset(s.rb) && s.rb > 0.0 && !isUnset(s.alphaN) && !isUnset(beta)) {
            // sin(beta_b) = sin(beta) cos(alpha_n) (ISO 21771), as
            // cos(beta_b) = cos(alpha_n) sqrt(tan^2(alpha_n) + cos^2(beta)); a spur gear must come out as 0.
            const double cb = std::cos(beta);
            double c = std::cos(s.alphaN) * std::sqrt(s.tanAlphaN * s.tanAlphaN + cb * cb);
            if (std::fabs(c - 1.0) <= std::numeric_limits<double>::epsilon()) c = 1.0;
            s.betaB = std::acos(std::min(c, 1.0));
            s.tb = std::tan(s.betaB) / s.rb;
            s.normalScale = e_ * s.sigma * std::cos(s.hand * s.betaB);
            s.normalAxial = std::tan(s.hand * s.betaB);
        }
    }
    for (const Side side : {Side::Left, Side::Right}) {
        SideData& s = sides_[side == Side::Left ? 0 : 1];
        try {
            s.refAngle = referenceAngle(side, s.x);
        } catch (const char*) {
            // left unset: the calculations that need it compute it again and fail there
        }
    }
    // The nominal flank modification: profile knots at the roll paths of the usable flank (from the larger
    // of base and root-side circle to the larger of base and tip-side circle), helix knots at both faces, all
    // values 0.
    const double rootSide = e_ > 0 ? geometry_->getDF() : geometry_->getDA();
    const double tipSide = e_ > 0 ? geometry_->getDA() : geometry_->getDF();
    const double b = geometry_->getB();
    for (const Side side : {Side::Left, Side::Right}) {
        const std::size_t i = side == Side::Left ? 0 : 1;
        const double db = 2 * sides_[i].rb;
        const double l1 = rollPath(side, std::max(db, std::fabs(rootSide)));
        const double l3 = rollPath(side, std::max(db, std::fabs(tipSide)));
        profileModification_[i] = {l1, 0.0, l1, 0.0, l3, 0.0, l3, 0.0, 0.0};
        helixModification_[i] = {0.0, 0.0, 0.0, 0.0, b, 0.0, b, 0.0, 0.0};
    }
}

GearCalculator::~GearCalculator() = default;

const GearCalculator::SideData& GearCalculator::sideData(Side side) const {
    switch (side) {
    case Side::Left:
        return sides_[0];
    case Side::Right:
        return sides_[1];
    case Side::Both:
        break;
    }
    throw kSideOutOfRange;
}

bool GearCalculator::isAsymmetrical() const {
    return geometry_->testKindOf(AsymmetricalGearGeometry::isKindOf(), true);
}

// Roll path (length of the generating line from the base circle) to the circle of `diameter`; negative inside
// the base circle.
double GearCalculator::rollPath(Side side, double diameter) const {
    const double rb = sideData(side).rb;
    const double r = std::fabs(diameter) / 2;
    if (isUnset(rb) || isUnset(diameter)) return unsetValue;
    return r >= rb ? std::sqrt(r * r - rb * rb) : -std::sqrt(rb * rb - r * r);
}

// ---- flank angles -----------------------------------------------------------------------------------------

// The polar angle theta of p less the involute function of its pressure angle is the polar angle of the
// involute's start on the base circle; the twist of the helix is taken back to the transverse plane z = 0.
double GearCalculator::involuteOriginAngle(const Vector& p, double rb, double sigma, double twist) const {
    const double r = std::hypot(p.x, p.y);
    if (r < rb) throw kPointInBaseCircle;
    double theta = std::acos(std::clamp(p.x / r, -1.0, 1.0));
    if (p.y < 0.0) theta = -theta;
    const double alpha = std::acos(std::min(rb / r, 1.0));
    return normalizeAngle(theta - sigma * (calc::involute(alpha)) - twist);
}

double GearCalculator::getInvoluteOriginAngle(const Vector& p, Side side) const {
    const SideData& s = sideData(side);
    return involuteOriginAngle(p, s.rb, s.sigma, s.hand * s.tb * p.z);
}

GearCalculator::Vector GearCalculator::getInvoluteOrigin(const Vector& p, Side side) const {
    const double phi = getInvoluteOriginAngle(p, side);
    const double rb = sideData(side).rb;
    return {rb * std::cos(phi), rb * std::sin(phi), 0.0};
}

// Start angle of the involute through the point at half the tooth thickness on the reference circle. The
// transverse tooth thickness there is s_t = m_t (pi/2 + 2 x tan(alpha_n)) (ISO 21771), m_t = d / z.
// The involute taken is that of the tooth's flank at positive angles (Left of an external gear, Right of an
// internal one): a spur gear gives s_t / d + inv(alpha_t), or s_t / d - inv(alpha_t) for an internal gear.
double GearCalculator::referenceAngle(Side side, double x) const {
    const SideData& s = sideData(side);
    if (isUnset(x)) x = s.x;
    if (x == s.x && !isUnset(s.refAngle)) return s.refAngle;
    if (z_ == 0 || isUnset(s.d) || isUnset(x) || isUnset(s.alphaN) || isUnset(s.rb)) return unsetValue;
    const double st = s.d * (pi + 4.0 * x * s.tanAlphaN) / (2.0 * z_);
    const double r = std::fabs(s.d) / 2;
    if (s.rb > r) throw kPitchInsideBase;
    const double half = st / (2 * r);
    return involuteOriginAngle({r * std::cos(half), r * std::sin(half), 0.0}, s.rb, e_ > 0 ? -1.0 : 1.0, 0.0);
}

// Tooth 1 is centred on the x axis (without flank offset); see turnedBaseAngle.
double GearCalculator::baseAngle(int tooth, Side side, double x, double phi0) const {
    const int z = std::abs(z_);
    if (z == 0) return unsetValue;
    if (tooth < 1 || tooth > z) throw calc::kToothOutOfRange;
    const double ref = referenceAngle(side, x);
    return isUnset(ref) ? unsetValue
                        : normalizeAngle(turnedBaseAngle(tooth, e_ * sideData(side).sigma, ref, phi0, z));
}

bool GearCalculator::flankPairAngles(int leftTooth, int rightTooth, double x, double phi0, double& left,
                                     double& right, double& between) const {
    const double refLeft = referenceAngle(Side::Left, x);
    const double refRight = referenceAngle(Side::Right, x);
    if (isUnset(refLeft) || isUnset(refRight)) return false;
    const int z = std::abs(z_);
    const double turnedLeft = turnedBaseAngle(leftTooth, e_ * sides_[0].sigma, refLeft, phi0, z);
    const double turnedRight = turnedBaseAngle(rightTooth, e_ * sides_[1].sigma, refRight, phi0, z);
    left = normalizeAngle(turnedLeft);
    right = normalizeAngle(turnedRight);
    // The reference angles lie in [0, 2 pi); counted from -pi instead, the turned angles differ by the angle
    // between the flanks itself.
    const auto fromMinusPi = [](double ref) { return ref > pi ? ref - twoPi : ref; };
    between = turnedRight - turnedLeft + sides_[1].sigma * e_ * (refRight - fromMinusPi(refRight)) -
              sides_[0].sigma * e_ * (refLeft - fromMinusPi(refLeft));
    return true;
}

double GearCalculator::getBaseAngle(int tooth, Side side, double x, double phi0) const {
    return baseAngle(tooth, side, x, phi0);
}

double GearCalculator::flankAngle(int tooth, Side side, double ry, double zpos, double x, double phi0) const {
    const SideData& s = sideData(side);
    if (isUnset(ry) || isUnset(s.tb)) return unsetValue;
    const double phiB = baseAngle(tooth, side, x, phi0);
    if (isUnset(phiB)) return unsetValue;
    const double alpha = s.rb >= ry ? 0.0 : std::acos(s.rb / ry);
    return s.hand * s.tb * orZero(zpos) + phiB + s.sigma * calc::involute(alpha);
}

// ---- flank surface ----------------------------------------------------------------------------------------

// Point of the involute helicoid of `side` with base angle phi at radius r and axial position zpos, and its
// unit normal N = e sigma cos(beta_b) (sin(psi), -cos(psi), hand tan(beta_b)), psi the polar angle of the
// generating line's touching point on the base circle; N points out of the material into the space.
Vector GearCalculator::surfacePoint(Side side, double r, double zpos, double phi, double offset,
                                    Vector* normal, Vector* offsetPoint) const {
    const SideData& s = sideData(side);
    phi = std::fmod(phi, twoPi);
    if (phi < 0.0) phi += twoPi;
    if (r < s.rb) {
        if (s.rb - kBaseCircleSlack > r) throw kRadiusBelowBase;
        r = s.rb;
    }
    const double alpha = std::acos(std::min(s.rb / r, 1.0));
    const double tanAlpha = std::sqrt(r * r - s.rb * s.rb) / s.rb;
    const double phiZ = s.hand * s.tb * zpos + phi;
    const double angle = s.sigma * (tanAlpha - alpha) + phiZ;
    Vector p{r * std::cos(angle), r * std::sin(angle), zpos};
    const double k = s.normalScale;
    const double psi = s.sigma * tanAlpha + phiZ;
    const Vector n = Vector{k * std::sin(psi), -k * std::cos(psi), k * s.normalAxial}.normalized();
    if (modificationOn_) {
        const double l = rollPath(side, 2 * std::hypot(p.x, p.y));
        p += getModification(side, p.z, l) * n;
    }
    if (normal) *normal = n;
    if (offsetPoint) *offsetPoint = p + offset * n;
    return p;
}

Vector GearCalculator::getPoint(int tooth, Side side, double r, double zpos, double offset, Vector* normal,
                                Vector* offsetPoint, double x, double phi0) const {
    const double phiB = baseAngle(tooth, side, x, phi0);
    if (isUnset(phiB) || isUnset(r) || isUnset(sideData(side).tb)) return kUnsetVector;
    return surfacePoint(side, r, orZero(zpos), phiB, offset, normal, offsetPoint);
}

// A fixed-point iteration: the radius through (X, y) of the last point.
double GearCalculator::getRadius(int tooth, Side side, double X, double zpos, double offset, Vector* normal,
                                 Vector* offsetPoint) const {
    const double rb = sideData(side).rb;
    Vector p = getPoint(tooth, side, rb, zpos, offset, normal, offsetPoint, unsetValue, unsetValue);
    if (isUnset(p.x)) return unsetValue;
    if (p.x > X) return rb;
    for (int step = 0; step < kRadiusSteps; ++step) {
        p = getPoint(tooth, side, std::max(std::hypot(X, p.y), rb), zpos, offset, normal, offsetPoint,
                     unsetValue, unsetValue);
        if (std::fabs(p.x - X) <= kRadiusTolerance) break;
    }
    return std::max(std::hypot(X, p.y), rb);
}

Vector GearCalculator::probeCompensation(const Vector& p, Side side, double probeRadius) const {
    const double phi = getInvoluteOriginAngle(p, side);
    Vector n;
    const Vector q = surfacePoint(side, std::hypot(p.x, p.y), p.z, phi, 0.0, &n, nullptr);
    return q - probeRadius * n;
}

// ---- flank modification -----------------------------------------------------------------------------------

double GearCalculator::getModification(Side side, double zpos, double rollPathLength) const {
    sideData(side); // refuses a side other than Left and Right
    const std::size_t i = side == Side::Left ? 0 : 1;
    return calc::modificationCurve(profileModification_[i], rollPathLength) +
           calc::modificationCurve(helixModification_[i], zpos) + twistCoefficient_ * rollPathLength * zpos;
}

} // namespace kest::gear
