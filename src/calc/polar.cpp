#include "calc/polar.h"

#include <cmath>
#include <numbers>

namespace kest::gear::calc {

using std::numbers::pi;

Polar Polar::of(const Vector& v) noexcept {
    const double r = std::sqrt(v.x * v.x + v.y * v.y);
    if (v.x != 0.0 && v.y != 0.0) return {r, std::atan2(v.y, v.x)};
    if (v.x > 0.0) return {r, 0.0};
    if (v.x < 0.0) return {r, pi};
    if (v.y > 0.0) return {r, pi / 2};
    return {r, -pi / 2};
}

Vector Polar::toVector(double z) const noexcept {
    return {radius * std::cos(angle), radius * std::sin(angle), z};
}

double wrapAngle(double angle) noexcept {
    double d = std::fmod(angle, twoPi);
    if (d > pi) d -= twoPi;
    if (d < -pi) d += twoPi;
    return d;
}

} // namespace kest::gear::calc
