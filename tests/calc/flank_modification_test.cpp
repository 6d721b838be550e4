#include "calc/flank_modification.h"

#include <gtest/gtest.h>

#include <array>

using kest::gear::calc::modificationCurve;

namespace {

// Expected values worked by hand from the knots: linear between neighbouring knots, plus the crowning
// parabola 4 c (t - x2) (x3 - t) / (x3 - x2)^2 over the middle piece, whose top c lies halfway.
TEST(flank_modification, LinearPiecesAndCrowning) {
    // knots (1, 0.002), (3, -0.001), (7, 0.004), (8, 0), crowning 0.003
    const std::array<double, 9> curve{1.0, 0.002, 3.0, -0.001, 7.0, 0.004, 8.0, 0.0, 0.003};
    const struct {
        double t, expected;
    } rows[]{
        {0.5, 0.0},       // before the first knot
        {1.0, 0.002},     // on it
        {2.0, 0.0005},    // 0.002 - 0.003 / 2
        {3.0, -0.001},    // the middle piece starts without crowning
        {4.0, 0.0025},    // -0.001 + 0.005 / 4 + 4 0.003 1 3 / 16
        {5.0, 0.0045},    // -0.001 + 0.005 / 2 + 0.003 (top of the crowning)
        {6.5, 0.0046875}, // -0.001 + 0.005 3.5 / 4 + 4 0.003 3.5 0.5 / 16
        {7.5, 0.002},     // 0.004 - 0.004 / 2
        {8.0, 0.0},       // from the last knot on
    };
    for (const auto& row : rows)
        EXPECT_NEAR(modificationCurve(curve, row.t), row.expected, 1e-15) << row.t;
}

// Where two knots coincide the curve takes the mean of their values; the crowning is added at a coinciding
// middle pair.
TEST(flank_modification, CoincidingKnots) {
    const std::array<double, 9> ends{2.0, 0.001, 2.0, 0.003, 6.0, 0.0, 6.0, 0.002, 0.0};
    EXPECT_NEAR(modificationCurve(ends, 2.0), 0.002, 1e-15);
    EXPECT_NEAR(modificationCurve(ends, 6.0), 0.001, 1e-15);
    const std::array<double, 9> middle{1.0, 0.0, 4.0, 0.002, 4.0, 0.004, 9.0, 0.0, 0.001};
    EXPECT_NEAR(modificationCurve(middle, 4.0), 0.004, 1e-15);
}

} // namespace
