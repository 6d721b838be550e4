// The flank surface as an involute helicoid, the measuring ball that rests on two flanks of a tooth space,
// and the dimensions over balls and pins built on it.
//
// Every normal of an involute helicoid lies in a plane tangent to the base cylinder and makes the base helix
// angle beta_b with the transverse plane (ISO 21771). A ball of radius rK touching a flank therefore has
// its centre at the roll distance rK / cos(beta_b) from the flank, measured in the transverse plane of the
// centre; this is the exact ground of the closed form of the dimension over balls (DIN 3960):
//   inv(alpha_K) = inv(alpha_t) + dK / (z mn cos(alpha_n)) - pi / (2 z) + 2 x tan(alpha_n) / z.

#include <kest/gear/gear_calculator.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include "calc/calculator_support.h"
#include "calc/polar.h"
#include "host/report.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kest::gear {
namespace {

using calc::orZero;
using calc::pi;
using calc::twoPi;
using calc::wrapAngle;
using Vector = GearCalculator::Vector;

constexpr const char* kRadiusBelowBase = "given circle radius is smaller than base radius";
constexpr const char* kSpaceOutOfRange = "tooth Space Number exceed the range [1,toothnum]";
constexpr const char* kNoBallRadius = "evaluation ball radius should be given here";
constexpr const char* kAngleTooBig = "given angle is too big for calculate ball position in gap";
constexpr const char* kBallNotPlaced = "m-mass can not be calculated";
constexpr const char* kInternalHelixMdR = "internal helix gear can not calculate MdR";
constexpr const char* kInternalHelixMrR = "Internal helix gear can not calculate MrR";

// A radius this far inside the base circle is taken as on it (rounding of a point computed on the circle).
constexpr double kBaseCircleSlack = 1e-12;
// The two candidate centres of a ball must meet within this distance; the iteration budget of that search.
constexpr double kBallTolerance = 1e-10;
constexpr unsigned int kBallSteps = 2000;
// Spaces whose widths differ by less than this hold the same ball position.
constexpr double kSameSpace = 1e-12;
// Pin dimensions treat a helix below this angle as spur.
constexpr double kHelicalPinDegrees = 0.5;
// getRadius: the flank point must reach the x coordinate within this, in at most this many steps.
constexpr double kRadiusTolerance = 1e-7;
constexpr int kRadiusSteps = 1000;

constexpr Vector kUnsetVector{unsetValue, unsetValue, unsetValue};

Vector rotated(const Vector& v, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return {v.x * c - v.y * s, v.x * s + v.y * c, v.z};
}

} // namespace

bool GearCalculator::isInternalHelical() const {
    const double beta = geometry_->getBetaDeg(Side::Left, false);
    return e_ < 0 && !isUnset(beta) && std::fabs(beta) >= kHelicalPinDegrees;
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

// Piecewise linear through four knots, with a parabolic crowning of height c over the middle piece.
double GearCalculator::modificationCurve(const ModificationCurve& m, double t) const {
    const auto [x1, y1, x2, y2, x3, y3, x4, y4, c] = m;
    const auto linear = [t](double xa, double ya, double xb, double yb) {
        return ya + (yb - ya) * (t - xa) / (xb - xa);
    };
    if (t == x1 && x1 == x2) return (y1 + y2) / 2;
    if (x1 <= t && t < x2) return linear(x1, y1, x2, y2);
    if (t == x2 && x2 == x3) return (y2 + y3) / 2 + c;
    if (x2 <= t && t < x3)
        return linear(x2, y2, x3, y3) + 4 * c * (t - x2) * (x3 - t) / ((x3 - x2) * (x3 - x2));
    if (t == x3 && x3 == x4) return (y3 + y4) / 2;
    if (x3 <= t && t < x4) return linear(x3, y3, x4, y4);
    return 0.0;
}

double GearCalculator::getModification(Side side, double zpos, double rollPathLength) const {
    sideData(side); // refuses a side other than Left and Right
    const std::size_t i = side == Side::Left ? 0 : 1;
    return modificationCurve(profileModification_[i], rollPathLength) +
           modificationCurve(helixModification_[i], zpos) + twistCoefficient_ * rollPathLength * zpos;
}

// ---- ball in a tooth space --------------------------------------------------------------------------------

bool GearCalculator::spaceAngles(int space, double xL, double xR, double phi0, double& delta,
                                 double& centre) const {
    const int z = std::abs(z_);
    if (z == 0) return false;
    if (space < 1 || space > z) throw kSpaceOutOfRange;
    // Space g lies between tooth g - 1 (tooth |z| for g = 1) and tooth g; its Left-flank side is tooth g on
    // an external gear and tooth g - 1 on an internal one, whose teeth are mirrored.
    const int previous = space == 1 ? z : space - 1;
    const bool external = e_ > 0;
    const double a = baseAngle(external ? space : previous, Side::Left, xL, phi0);
    const double b = baseAngle(external ? previous : space, Side::Right, xR, phi0);
    if (isUnset(a) || isUnset(b)) return false;
    delta = e_ * (b - a);
    centre = (a + b) / 2;
    if (delta > pi) {
        centre -= pi;
        delta -= twoPi;
    }
    if (delta < -pi) {
        centre += pi;
        delta += twoPi;
    }
    return true;
}

// The centre of the ball in a space of base-angle width delta centred on the x axis, at axial position zpos
// (turned with the helix twist there).
//
// For a trial centre radius r, each flank gives a candidate centre: the flank point P at r is moved back by
// rK along its normal, which lands on the same generating line at the radius rho of the contact whose ball
// centre lies on radius r; the offset point at rho is that centre. Its polar angle is, up to a constant,
// sigma inv(alpha(r)), so the angle between the two candidates g(r) falls with r (external gear: the space
// widens outwards) with g'(r) = -e (tan(alpha_L) + tan(alpha_R)) / r, and is concave (convex for an internal
// gear). Newton's method started above the root therefore approaches it from above without overshooting; a
// bisection step keeps the iterate inside the bracket where the modification bends g.
Vector GearCalculator::matchBallInGap(double delta, double rK, double zpos) const {
    if (isUnset(rK)) throw kNoBallRadius;
    if (delta >= pi) throw kAngleTooBig;
    const SideData& left = sides_[0];
    const SideData& right = sides_[1];
    if (isUnset(left.tb) || isUnset(right.tb)) return kUnsetVector;
    zpos = orZero(zpos);
    const double baseLeft = -e_ * delta / 2;
    const double baseRight = e_ * delta / 2;

    double lower = std::max(left.rb, right.rb);
    // The tip (external) or root (internal) diameter taken as a radius bounds the centre generously.
    const double limit = std::fabs(e_ > 0 ? geometry_->getDA() : geometry_->getDF());
    double upper = isUnset(limit) || limit < lower ? 2 * lower : limit;

    // The contact lies off the centre's transverse plane by rK times the axial part of the normal, which is
    // the same all over an involute helicoid: the candidates are then centres in the plane zpos.
    Vector normalLeft, normalRight;
    const double middle = (lower + upper) / 2;
    surfacePoint(Side::Left, middle, zpos, baseLeft, 0.0, &normalLeft, nullptr);
    surfacePoint(Side::Right, middle, zpos, baseRight, 0.0, &normalRight, nullptr);
    const double zLeft = zpos - rK * normalLeft.z;
    const double zRight = zpos - rK * normalRight.z;

    const auto candidate = [&](Side side, double base, double zSide, double r) {
        Vector n;
        const Vector p = surfacePoint(side, r, zSide, base, 0.0, &n, nullptr);
        const double rho = std::hypot(p.x - rK * n.x, p.y - rK * n.y);
        Vector centre;
        surfacePoint(side, rho, zSide, base, rK, nullptr, &centre);
        return centre;
    };
    const auto tanAlpha = [](double r, double rb) { return std::sqrt(std::max(r * r - rb * rb, 0.0)) / rb; };

    // Both ends of the bracket are tried once when the iteration heads past them: a ball that does not fit
    // between them is told after a single evaluation there.
    double r = upper;
    bool lowerTried = false;
    for (unsigned int step = 0; step < kBallSteps; ++step) {
        const Vector cl = candidate(Side::Left, baseLeft, zLeft, r);
        const Vector cr = candidate(Side::Right, baseRight, zRight, r);
        if ((cl - cr).length() <= kBallTolerance) return (cl + cr) * 0.5;
        const double g = e_ * wrapAngle(std::atan2(cl.y, cl.x) - std::atan2(cr.y, cr.x));
        // g > 0: the left candidate lies past the right one, the ball sits too deep on an external gear and
        // too far out on an internal one.
        if ((g > 0) == (e_ > 0)) {
            if (step == 0) break; // even the upper bound is too deep
            lower = r;
        } else {
            upper = r;
        }
        const double slope = -e_ * (tanAlpha(r, left.rb) + tanAlpha(r, right.rb)) / r;
        double next = slope != 0.0 ? r - g / slope : (lower + upper) / 2;
        if (!(next > lower) && !lowerTried) {
            next = lower;
            lowerTried = true;
        } else if (!(next > lower && next < upper)) {
            next = (lower + upper) / 2;
        }
        if (next == r) break;
        r = next;
    }
    throw kBallNotPlaced;
}

Vector GearCalculator::getBallInToothSpacePosition(int space, double xL, double xR, double rK, double zpos,
                                                   double phi0) const {
    double delta = 0.0, centre = 0.0;
    if (!spaceAngles(space, xL, xR, phi0, delta, centre)) return kUnsetVector;
    const Vector local = matchBallInGap(delta, rK, zpos);
    return isUnset(local.x) ? kUnsetVector : rotated(local, centre);
}

// p1 lies on the Left-flank side of the space and p2 on the Right-flank side.
Vector GearCalculator::findBallInRealSpacePosition(const Vector& p1, const Vector& p2, double rK,
                                                   double zpos) const {
    if (rK == 0.0) {
        const double dK = geometry_->getDINBallDiameter(Side::Left, unsetValue);
        rK = isUnset(dK) ? unsetValue : dK / 2;
    }
    const double a = getInvoluteOriginAngle(p1, Side::Left);
    const double b = getInvoluteOriginAngle(p2, Side::Right);
    double delta = e_ * (b - a);
    double centre = (a + b) / 2;
    if (delta > pi) {
        centre -= pi;
        delta -= twoPi;
    }
    if (delta < -pi) {
        centre += pi;
        delta += twoPi;
    }
    const Vector local = matchBallInGap(delta, rK, zpos);
    return isUnset(local.x) ? kUnsetVector : rotated(local, centre);
}

// ---- dimensions over balls and pins -----------------------------------------------------------------------

// Two balls in opposite spaces (even z), or in the spaces nearest to opposite, k = (|z| + 1) / 2 pitches
// apart (odd z), measured over the balls (external) or between them (internal).
double GearCalculator::mdk(double xL, double xR, double dK, double zpos, double phi0) const {
    const int z = std::abs(z_);
    if (z == 0) return unsetValue;
    if (isUnset(dK)) dK = geometry_->getDINBallDiameter(Side::Left, xL);
    const double rK = isUnset(dK) ? unsetValue : dK / 2;
    const int opposite = (z % 2 == 0 ? z / 2 : (z + 1) / 2) + 1;
    double delta1 = 0.0, centre1 = 0.0, delta2 = 0.0, centre2 = 0.0;
    if (!spaceAngles(1, xL, xR, phi0, delta1, centre1) ||
        !spaceAngles(opposite, xL, xR, phi0, delta2, centre2))
        return unsetValue;
    const Vector local1 = matchBallInGap(delta1, rK, zpos);
    // Every space of the gear is the same: the second ball is the first one turned into its space.
    const Vector local2 =
        std::fabs(delta2 - delta1) <= kSameSpace ? local1 : matchBallInGap(delta2, rK, zpos);
    if (isUnset(local1.x) || isUnset(local2.x)) return unsetValue;
    const Vector p1 = rotated(local1, centre1);
    const Vector p2 = rotated(local2, centre2);
    return std::hypot(p1.x - p2.x, p1.y - p2.y) + e_ * dK;
}

double GearCalculator::mrk(double xL, double xR, double dK, double zpos, double phi0) const {
    if (z_ == 0) return unsetValue;
    if (isUnset(dK)) dK = geometry_->getDINBallDiameter(Side::Left, xL);
    const Vector p = getBallInToothSpacePosition(1, xL, xR, isUnset(dK) ? unsetValue : dK / 2, zpos, phi0);
    return isUnset(p.x) ? unsetValue : std::hypot(p.x, p.y) + e_ * dK / 2;
}

// Pins are measured at half the face width. On a helical gear with odd z the two pins touch the measuring
// anvils in different transverse planes, so the dimension is the diametral one, 2 R_K + dR.
double GearCalculator::mdr(double x, double dR, double phi0) const {
    const int z = std::abs(z_);
    if (z == 0) return unsetValue;
    if (isInternalHelical()) throw kInternalHelixMdR;
    if (isUnset(dR)) dR = geometry_->getDINBallDiameter(Side::Left, x);
    if (isUnset(dR)) return unsetValue;
    const double b = geometry_->getB();
    const double m = mdk(x, x, dR, isUnset(b) ? unsetValue : b / 2, phi0);
    if (isUnset(m)) return unsetValue;
    const double beta = geometry_->getBetaDeg(Side::Left, false);
    if (e_ > 0 && std::fabs(beta) >= kHelicalPinDegrees && z % 2 == 1)
        return std::fabs((m - dR) / std::cos(pi / z / 2) + dR);
    return m;
}

double GearCalculator::mrr(double x, double dR, double phi0) const {
    if (isInternalHelical()) throw kInternalHelixMrR;
    const double b = geometry_->getB();
    return mrk(x, x, dR, isUnset(b) ? unsetValue : b / 2, phi0);
}

double GearCalculator::getNominal_MdK(double xL, double xR, double dK, double zpos, double phi0) const {
    try {
        return mdk(xL, xR, dK, zpos, phi0);
    } catch (const char* message) {
        GR_ERROR_LOG("GearCalculator::getNominal_MdK: %s", message);
        return unsetValue;
    }
}

double GearCalculator::getNominal_MrK(double xL, double xR, double dK, double zpos, double phi0) const {
    try {
        return mrk(xL, xR, dK, zpos, phi0);
    } catch (const char* message) {
        GR_TRACE(1, "GearCalculator::getNominal_MrK: %s", message);
        return unsetValue;
    }
}

double GearCalculator::getNominal_MdR(double x, double dR, double phi0) const {
    if (isAsymmetrical()) return GR_CALC_REFUSE("Asymmetrical Gear can not calculate MdR");
    if (isInternalHelical()) return GR_CALC_REFUSE(kInternalHelixMdR);
    try {
        return mdr(x, dR, phi0);
    } catch (const char* message) {
        GR_ERROR_LOG("GearCalculator::getNominal_MdK: %s", message);
        return unsetValue;
    }
}

double GearCalculator::getNominal_MrR(double x, double dR, double phi0) const {
    if (isAsymmetrical()) return GR_CALC_REFUSE("Asymmetrical Gear can not calculate MrR");
    if (isInternalHelical()) return GR_CALC_REFUSE(kInternalHelixMrR);
    try {
        return mrr(x, dR, phi0);
    } catch (const char* message) {
        GR_TRACE(1, "GearCalculator::getNominal_MrK: %s", message);
        return unsetValue;
    }
}

} // namespace kest::gear
