// The measuring ball that rests on two flanks of a tooth space.
//
// Every normal of an involute helicoid lies in a plane tangent to the base cylinder and makes the base helix
// angle beta_b with the transverse plane (ISO 21771). A ball of radius rK touching a flank therefore has
// its centre at the roll distance rK / cos(beta_b) from the flank, measured in the transverse plane of the
// centre; this is the exact ground of the closed form of the dimension over balls (DIN 3960):
//   inv(alpha_K) = inv(alpha_t) + dK / (z mn cos(alpha_n)) - pi / (2 z) + 2 x tan(alpha_n) / z.

#include <kest/gear/gear_calculator.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include "calc/calculation_result.h"
#include "calc/polar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace kest::gear {
namespace {

using calc::kUnsetVector;
using calc::orZero;
using calc::rotatedAboutZ;
using calc::twoPi;
using calc::wrapAngle;
using std::numbers::pi;
using Vector = GearCalculator::Vector;

constexpr const char* kSpaceOutOfRange = "tooth Space Number exceed the range [1,toothnum]";
constexpr const char* kNoBallRadius = "evaluation ball radius should be given here";
constexpr const char* kAngleTooBig = "given angle is too big for calculate ball position in gap";
constexpr const char* kBallNotPlaced = "m-mass can not be calculated";

// The two candidate centres of a ball must meet within this distance; the iteration budget of that search.
constexpr double kBallTolerance = 1e-10;
constexpr unsigned int kBallSteps = 2000;

// The width delta = e (b - a) of the space between the base angles a (its Left-flank side) and b, and its
// centre angle; a width beyond half a turn is the same space seen the other way round.
void spaceBetween(double a, double b, double e, double& delta, double& centre) {
    delta = e * (b - a);
    centre = (a + b) / 2;
    if (delta > pi) {
        centre -= pi;
        delta -= twoPi;
    }
    if (delta < -pi) {
        centre += pi;
        delta += twoPi;
    }
}

} // namespace

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
    spaceBetween(a, b, e_, delta, centre);
    return true;
}

// The centre of the ball in a space of base-angle width delta centred on the x axis at axial position 0, the
// ball lying at axial position zpos: the flanks there are turned by the helix twist, which the result takes
// out again (the mean twist of the two flanks, which is the twist of both on all but an asymmetrical gear).
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
        if ((cl - cr).length() <= kBallTolerance)
            return rotatedAboutZ((cl + cr) * 0.5, -(left.hand * left.tb + right.hand * right.tb) / 2 * zpos);
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
    return isUnset(local.x) ? kUnsetVector : rotatedAboutZ(local, centre);
}

// p1 lies on the Left-flank side of the space and p2 on the Right-flank side.
Vector GearCalculator::findBallInRealSpacePosition(const Vector& p1, const Vector& p2, double rK,
                                                   double zpos) const {
    if (rK == 0.0) {
        const double dK = geometry_->getDINBallDiameter(Side::Left, unsetValue);
        rK = isUnset(dK) ? unsetValue : dK / 2;
    }
    double delta = 0.0, centre = 0.0;
    spaceBetween(getInvoluteOriginAngle(p1, Side::Left), getInvoluteOriginAngle(p2, Side::Right), e_, delta,
                 centre);
    const Vector local = matchBallInGap(delta, rK, zpos);
    return isUnset(local.x) ? kUnsetVector : rotatedAboutZ(local, centre);
}

} // namespace kest::gear
