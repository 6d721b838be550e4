// Dimensions over balls and pins, from the ball positions in two spaces.

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

using calc::attempt;
using calc::deliver;
using calc::Delivery;
using calc::Result;
using calc::rotatedAboutZ;
using std::numbers::pi;
using Vector = GearCalculator::Vector;

constexpr const char* kInternalHelixMdR = "internal helix gear can not calculate MdR";
constexpr const char* kInternalHelixMrR = "Internal helix gear can not calculate MrR";
constexpr const char* kAsymmetricalMdR = "Asymmetrical Gear can not calculate MdR";
constexpr const char* kAsymmetricalMrR = "Asymmetrical Gear can not calculate MrR";

// Spaces whose widths differ by less than this hold the same ball position.
constexpr double kSameSpace = 1e-12;
// Pin dimensions treat a helix below this angle as spur.
constexpr double kHelicalPinDegrees = 0.5;

} // namespace

bool GearCalculator::isInternalHelical() const {
    const double beta = geometry_->getBetaDeg(Side::Left, false);
    return e_ < 0 && !isUnset(beta) && std::fabs(beta) >= kHelicalPinDegrees;
}

// ---- dimensions over balls and pins -----------------------------------------------------------------------

// Two balls in opposite spaces (even z), or in the spaces nearest to opposite, k = (|z| + 1) / 2 pitches
// apart (odd z), measured over the balls (external) or between them (internal).
double GearCalculator::mdk(double xL, double xR, double dK, double zpos, double phi0) const {
    const int z = std::abs(z_);
    if (z == 0) return unsetValue;
    if (isUnset(dK)) dK = geometry_->getDINBallDiameter(Side::Left, xL);
    const double rK = isUnset(dK) ? unsetValue : dK / 2;
    const int opposite = z / 2 + z % 2 + 1; // (z + 1) / 2 + 1 for odd z, without overflow
    double delta1 = 0.0, centre1 = 0.0, delta2 = 0.0, centre2 = 0.0;
    if (!spaceAngles(1, xL, xR, phi0, delta1, centre1) ||
        !spaceAngles(opposite, xL, xR, phi0, delta2, centre2))
        return unsetValue;
    const Vector local1 = matchBallInGap(delta1, rK, zpos);
    // Every space of the gear is the same: the second ball is the first one turned into its space.
    const Vector local2 =
        std::fabs(delta2 - delta1) <= kSameSpace ? local1 : matchBallInGap(delta2, rK, zpos);
    if (isUnset(local1.x) || isUnset(local2.x)) return unsetValue;
    const Vector p1 = rotatedAboutZ(local1, centre1);
    const Vector p2 = rotatedAboutZ(local2, centre2);
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

Result GearCalculator::mdrResult(double x, double dR, double phi0) const {
    if (isAsymmetrical()) return Result::refused(kAsymmetricalMdR);
    if (isInternalHelical()) return Result::refused(kInternalHelixMdR);
    return attempt([&] { return mdr(x, dR, phi0); });
}

Result GearCalculator::mrrResult(double x, double dR, double phi0) const {
    if (isAsymmetrical()) return Result::refused(kAsymmetricalMrR);
    if (isInternalHelical()) return Result::refused(kInternalHelixMrR);
    return attempt([&] { return mrr(x, dR, phi0); });
}

// ---- public operations ------------------------------------------------------------------------------------

double GearCalculator::getNominal_MdK(double xL, double xR, double dK, double zpos, double phi0) const {
    return deliver(attempt([&] { return mdk(xL, xR, dK, zpos, phi0); }), "getNominal_MdK",
                   Delivery::LogError);
}

double GearCalculator::getNominal_MrK(double xL, double xR, double dK, double zpos, double phi0) const {
    return deliver(attempt([&] { return mrk(xL, xR, dK, zpos, phi0); }), "getNominal_MrK", Delivery::Trace);
}

// The pin dimensions report their failures under the names of the ball dimensions they are computed by.
double GearCalculator::getNominal_MdR(double x, double dR, double phi0) const {
    return deliver(mdrResult(x, dR, phi0), "getNominal_MdK", Delivery::LogError);
}

double GearCalculator::getNominal_MrR(double x, double dR, double phi0) const {
    return deliver(mrrResult(x, dR, phi0), "getNominal_MrK", Delivery::Trace);
}

} // namespace kest::gear
