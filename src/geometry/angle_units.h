#pragma once

// Angles are kept in radians by the model and written in degrees to the gear file and shown in degrees to the
// user. These two conversions are made so that a degree value read from a file comes back unchanged whenever
// the radian double can tell it apart from its neighbours.

namespace kest::gear {

// degrees * pi / 180
double radiansFromDegrees(double degrees) noexcept;

// radians * 180 / pi, within a few units in the last place: of the degree values near that product that
// radiansFromDegrees turns back into `radians`, the one with the shortest decimal form (20.123 rather than
// 20.123000000000001). returns the plain product when none of them does, and for infinities and NaN.
double degreesFromRadians(double radians) noexcept;

} // namespace kest::gear
