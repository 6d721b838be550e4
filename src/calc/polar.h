#pragma once

// Polar form of plane vectors, as the involute relations are stated: a point of an involute is known by its
// radius and its polar angle about the gear centre.

#include <kest/gear/host/vector3d.h>

namespace kest::gear::calc {

using Vector = kest::host::M3DVectorT<double>;

inline constexpr double pi = 3.141592653589793;
inline constexpr double twoPi = 6.283185307179586;

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

// Brings an angle into [-pi, pi] by whole turns.
double wrapAngle(double angle) noexcept;

// Angle from a to b (b.angle - a.angle) in [-pi, pi].
inline double angleDifference(const Polar& a, const Polar& b) noexcept {
    return wrapAngle(b.angle - a.angle);
}

} // namespace kest::gear::calc
