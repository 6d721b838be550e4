#include "calc/polar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

using namespace kest::gear::calc;
using std::numbers::pi;

// On the axes the angle does not depend on the sign of a zero (atan2 would give -pi for (-2, -0) and pi for
// (-0, 0)); a rotation and the way back keep the radius and z.
TEST(polar, AxisCasesRotationAndDifference) {
    // clang-format off
    const std::tuple<double, double, double, double> rows[]{ // x, y, radius, angle
        {3.0, 4.0, 5.0, std::atan2(4.0, 3.0)}, {2.0, -0.0, 2.0, 0.0}, {-2.0, 0.0, 2.0, pi},
        {-2.0, -0.0, 2.0, pi}, {0.0, 2.0, 2.0, pi / 2}, {-0.0, -2.0, 2.0, -pi / 2}, {0.0, 0.0, 0.0, -pi / 2},
        {-0.0, 0.0, 0.0, -pi / 2}};
    // clang-format on
    for (const auto& [x, y, radius, angle] : rows) {
        const Polar p = Polar::of({x, y, 7.0});
        EXPECT_EQ(p.radius, radius) << x << ", " << y;
        EXPECT_EQ(p.angle, angle) << x << ", " << y;
    }
    const Vector v = Polar::of({3.0, 4.0, 0.0}).rotated(pi / 2).toVector(1.5);
    EXPECT_NEAR(v.x, -4.0, 1e-14);
    EXPECT_NEAR(v.y, 3.0, 1e-14);
    EXPECT_EQ(v.z, 1.5);

    // the angle from one to the other, the shorter way round
    // clang-format off
    const std::tuple<double, double, double> differences[]{ // from, to, difference
        {0.5, 0.0, -0.5}, {3.0, -3.0, 2 * pi - 6.0}, {-3.0, 3.0, 6.0 - 2 * pi}, {0.0, pi, pi},
        {0.0, -pi, -pi}, {1.0, 1.0 + 4 * pi + 0.25, 0.25}};
    // clang-format on
    for (const auto& [from, to, expected] : differences)
        EXPECT_NEAR(angleDifference({1.0, from}, {2.0, to}), expected, 1e-14) << from << " -> " << to;
}
