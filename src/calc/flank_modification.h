#pragma once

// The nominal modification of a flank along one line (the profile's roll path or the face width).

#include <array>

namespace kest::gear::calc {

// The modification at t of the curve with knots x1, y1, ..., x4, y4 and crowning c (in that order):
// piecewise linear through the four knots, with a parabolic crowning of height c over the middle piece
// (4 c (t - x2) (x3 - t) / (x3 - x2)^2); the mean of the two values where two knots coincide at t; 0 outside
// [x1, x4).
double modificationCurve(const std::array<double, 9>& knots, double t);

} // namespace kest::gear::calc
