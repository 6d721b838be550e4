#include "calc/polar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace kest::gear::calc;

namespace {

struct PolarRow {
    double x, y;
    double radius, angle;
};

TEST(polar, AxisCasesDoNotDependOnTheSignOfZero) {
    const std::vector<PolarRow> rows{
        {3.0, 4.0, 5.0, std::atan2(4.0, 3.0)},
        {2.0, 0.0, 2.0, 0.0},
        {2.0, -0.0, 2.0, 0.0},
        {-2.0, 0.0, 2.0, pi},
        {-2.0, -0.0, 2.0, pi}, // atan2 would give -pi
        {0.0, 2.0, 2.0, pi / 2},
        {-0.0, -2.0, 2.0, -pi / 2},
        {0.0, 0.0, 0.0, -pi / 2},
        {-0.0, 0.0, 0.0, -pi / 2}, // atan2 would give pi
    };
    for (const PolarRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.x << ", " << row.y);
        const Polar p = Polar::of({row.x, row.y, 7.0});
        EXPECT_EQ(p.radius, row.radius);
        EXPECT_EQ(p.angle, row.angle);
    }
}

TEST(polar, RotatesAndConvertsBack) {
    const Vector v = Polar::of({3.0, 4.0, 0.0}).rotated(pi / 2).toVector(1.5);
    EXPECT_NEAR(v.x, -4.0, 1e-14);
    EXPECT_NEAR(v.y, 3.0, 1e-14);
    EXPECT_EQ(v.z, 1.5);
}

TEST(polar, AngleDifferenceIsTheShorterWayRound) {
    const struct {
        double from, to, expected;
    } rows[]{
        {0.0, 0.5, 0.5},
        {0.5, 0.0, -0.5},
        {3.0, -3.0, 2 * pi - 6.0}, // across the negative x axis
        {-3.0, 3.0, 6.0 - 2 * pi},
        {0.0, pi, pi},
        {0.0, -pi, -pi},
        {0.0, 7.0, 7.0 - 2 * pi},
        {1.0, 1.0 + 4 * pi + 0.25, 0.25},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.from << " -> " << row.to);
        EXPECT_NEAR(angleDifference({1.0, row.from}, {2.0, row.to}), row.expected, 1e-14);
    }
}

} // namespace
