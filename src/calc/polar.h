#pragma once

// Polar form of plane vectors, as the involute relations are stated: a point of an involute is known by its
// radius and its polar angle about the gear centre.

#include <kest/gear/host/vector3d.h>
#include <kest/gear/unset_value.h>

#include <cmath>
#include <numbers>

namespace kest::gear::calc {

using Vector = kest::host::M3DVectorT<double>;

// A point that is not given.
inline constexpr Vector kUnsetVector{unsetValue, unsetValue, unsetValue};

// One turn; pi itself is std::numbers::pi.
inline constexpr double twoPi = 2 * std::numbers::pi;

// The involute function inv(alpha) = tan(alpha) - alpha: the polar angle of the involute point of pressure
// angle alpha from the start of the involute on the base circle. The library's one definition (the exported
// _inv is this function).
inline double involute(double alpha) noexcept {
    return std::tan(alpha) - alpha;
}

struct Polar {
    double radius = 0.0;
    double angle = 0.0;

    // Polar form of (v.x, v.y); z is ignored. On the axes the angle is fixed rather than left to atan2, so
    // that a signed zero cannot choose the side: +x gives 0, -x gives pi, +y gives pi/2, -y and the origin
    // -pi/2.
    static Polar of(const Vector& v) noexcept;

    constexpr Polar rotated(double delta) const noexcept { return {radius, angle + delta}; }
    Vector toVector(double z = 0.0) const noexcept;
};

// v turned by `angle` about the z axis.
inline Vector rotatedAboutZ(const Vector& v, double angle) noexcept {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return {v.x * c - v.y * s, v.x * s + v.y * c, v.z};
}

// Brings an angle into [0, 2 pi) by whole turns.
inline double normalizeAngle(double angle) noexcept {
    angle = std::fmod(angle, twoPi);
    return angle < 0.0 ? angle + twoPi : angle;
}

// Brings an angle into [-pi, pi] by whole turns.
double wrapAngle(double angle) noexcept;

// Angle from a to b (b.angle - a.angle) in [-pi, pi].
inline double angleDifference(const Polar& a, const Polar& b) noexcept {
    return wrapAngle(b.angle - a.angle);
}

} // namespace kest::gear::calc
