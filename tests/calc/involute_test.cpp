#include <kest/gear/involute.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>

namespace {

constexpr double pi = std::numbers::pi;
constexpr double deg = pi / 180;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inv20 = 0.014904383867336; // involute function tables (e.g. Machinery's Handbook): 0.014904

// Involute function tables give 7 digits; the extra digits are tan(a) - a in 30-digit arithmetic. _invinv
// fails with 2.0 above inv(89 deg) = 55.74 and for NaN, and meets the involute value over the whole range.
TEST(involute, InvAndItsInverse) {
    // clang-format off
    const std::pair<double, double> rows[]{{0.0, 0.0}, {14.5, 0.005544842816712493}, {20.0, inv20},
        {25.0, 0.0299753451564162}, {30.0, 0.05375149359132689}, {45.0, 1 - pi / 4}, {-20.0, -inv20}};
    // clang-format on
    for (const auto& [degrees, inv] : rows) {
        EXPECT_NEAR(_inv(degrees * deg), inv, 1e-15) << degrees;
        EXPECT_NEAR(_invinv(inv), degrees * deg, 1e-10) << degrees;
    }
    EXPECT_EQ(_invinv(0.0), 0.0);
    for (const double failing : {60.0, -60.0, nan})
        EXPECT_EQ(_invinv(failing), 2.0);
    for (double a = 0.5; a < 88.6; a += 0.5) {
        const double alpha = _invinv(_inv(a * deg));
        ASSERT_NEAR(_inv(alpha), _inv(a * deg), 1e-12) << a << " deg";
        ASSERT_EQ(_invinv(-_inv(a * deg)), -alpha);
    }
}

// On the circle where the pressure angle is 20 deg; only the sign of `sign` counts, and the base radius of an
// internal gear divides with its sign. A chord of the diameter is half the circumference, of the radius 60
// deg.
TEST(involute, CircleRelations) {
    const double db = 100.0, dy20 = db / std::cos(20 * deg);
    // clang-format off
    const std::tuple<double, double, double, double> rows[]{{80.0, db, 1.0, 0.0}, {db, db, 1.0, 0.0},
        {dy20, db, 7.5, inv20}, {dy20, db, -0.25, -inv20}, {-dy20, -db, 1.0, -inv20}};
    // clang-format on
    for (const auto& [dy, dbase, sign, expected] : rows)
        EXPECT_NEAR(involute_alpha_y_t(dy, dbase, sign), expected, 1e-14) << dy << " " << sign;
    EXPECT_TRUE(std::isnan(involute_alpha_y_t(dy20, db, 0.0)));

    for (const auto& [chord, arc, d] : {std::tuple{10.0, 10.0 * pi / 2, 10.0}, {10.0, 20.0 * pi / 6, 20.0}}) {
        EXPECT_NEAR(_chord2arc_length(chord, d), arc, 1e-13);
        EXPECT_NEAR(_arc_length2chord(arc, d), chord, 1e-13);
    }
    // 0 beyond the diameter or the circumference, and below the machine epsilon
    const double eps = std::numeric_limits<double>::epsilon();
    EXPECT_TRUE(_chord2arc_length(10.0 + 1e-9, 10.0) == 0.0 && _chord2arc_length(1.0, eps / 2) == 0.0 &&
                _chord2arc_length(0.0, 10.0) == 0.0);
    EXPECT_TRUE(_arc_length2chord(10.0 * pi + 1e-9, 10.0) == 0.0 && _arc_length2chord(eps / 2, 10.0) == 0.0 &&
                _arc_length2chord(1.0, 0.0) == 0.0);
    EXPECT_NEAR(_arc_length2chord(10.0 * pi, 10.0), 0.0, 1e-13); // the full circle closes the chord
}

// An involute of base radius 40 about (3, -2) starting at the polar angle 0.7. Textbook parametric form by
// the roll angle xi, mirrored with s = -1: rb (cos xi + xi sin xi, s (sin xi - xi cos xi)) in the frame of
// the start ray; the generating line (sin xi, -s cos xi) leads from the base circle through the point.
constexpr double rb = 40, cx = 3, cy = -2, phi0 = 0.7;
void toWorld(double u, double v, double& x, double& y) {
    x = u * std::cos(phi0) - v * std::sin(phi0);
    y = u * std::sin(phi0) + v * std::cos(phi0);
}
const double ox = cx + rb * std::cos(phi0), oy = cy + rb * std::sin(phi0);

// Points at offset t along the generating line from the involute point at roll angle xi: positive beyond the
// involute, negative between it and the base circle; the sign of rb turns distance and normal round.
TEST(involute, PointsAndDistances) {
    // clang-format off
    const std::tuple<double, double, bool, double> rows[]{ // xi, t, negative, sign of rb
        {0.0, 0.0, false, 1}, {0.4, 5.0, false, 1}, {0.4, -5.0, false, 1}, {1.1, 30.0, false, 1},
        {1.1, -15.0, false, 1}, {0.4, 5.0, true, 1}, {0.8, -10.0, true, 1}, {0.4, 5.0, false, -1},
        {0.8, 20.0, true, -1}, {0.8, -10.0, true, -1}};
    // clang-format on
    for (const auto& [xi, t, negative, rbSign] : rows) {
        SCOPED_TRACE(testing::Message() << xi << " " << t << " " << negative << " " << rbSign);
        const double s = negative ? -1 : 1;
        double qx, qy, ux, uy;
        toWorld(rb * (std::cos(xi) + xi * std::sin(xi)), s * rb * (std::sin(xi) - xi * std::cos(xi)), qx, qy);
        toWorld(std::sin(xi), -s * std::cos(xi), ux, uy);
        qx += cx, qy += cy;
        double x = nan, y = nan; // any point of the start ray will do: here one at twice the base radius
        ASSERT_TRUE(
            pointInvolute(20, rb, cx, cy, 2 * ox - cx, 2 * oy - cy, negative, -(xi - std::atan(xi)), &x, &y));
        EXPECT_NEAR(x, qx, 1e-8);
        EXPECT_NEAR(y, qy, 1e-8);
        double d = nan, nx = nan, ny = nan, fx = nan, fy = nan;
        EXPECT_TRUE(distance2Involute(0.0, rbSign * rb, cx, cy, ox, oy, negative, qx + t * ux, qy + t * uy,
                                      &d, &nx, &ny, &fx, &fy));
        EXPECT_NEAR(d, rbSign * t, 1e-8);
        EXPECT_NEAR(nx, xi == 0.0 ? 0.0 : rbSign * ux, 1e-9); // no direction at the start point itself
        EXPECT_NEAR(ny, xi == 0.0 ? 0.0 : rbSign * uy, 1e-9);
        EXPECT_NEAR(fx, qx, 1e-8);
        EXPECT_NEAR(fy, qy, 1e-8);
    }
    // Beyond one angular pitch (of an external or internal gear) nothing is written.
    for (const double z : {20.0, -20.0}) {
        double x = 1.5, y = 2.5;
        EXPECT_FALSE(pointInvolute(z, rb, cx, cy, ox, oy, false, -(2 * pi / 20 + 1e-9), &x, &y));
        EXPECT_TRUE(x == 1.5 && y == 2.5);
        EXPECT_TRUE(pointInvolute(z, rb, cx, cy, ox, oy, false, 2 * pi / 20, nullptr, nullptr));
    }
    // Behind the base-circle tangent at the start the nearest point is the start point; a point on the side
    // to which the involute unwinds counts as inside. Offsets (-3, v) in the start ray's frame, v towards
    // positive angles.
    // clang-format off
    const std::tuple<double, bool, double, double> behind[]{ // v, negative, sign of rb, distance
        {4.0, false, 1, -5.0}, {-4.0, false, 1, 5.0}, {4.0, true, 1, 5.0}, {-4.0, true, 1, -5.0},
        {4.0, false, -1, 5.0}, {-4.0, true, -1, 5.0}};
    // clang-format on
    for (const auto& [v, negative, rbSign, expected] : behind) {
        double dx, dy, d = nan, nx = nan, ny = nan, fx = nan, fy = nan;
        toWorld(-3.0, v, dx, dy);
        EXPECT_FALSE(distance2Involute(20, rbSign * rb, cx, cy, ox, oy, negative, ox + dx, oy + dy, &d, &nx,
                                       &ny, &fx, &fy));
        EXPECT_NEAR(d, expected, 1e-12) << v << " " << negative << " " << rbSign;
        EXPECT_TRUE(std::fabs(d * nx - dx) < 1e-12 && std::fabs(d * ny - dy) < 1e-12 && fx == ox && fy == oy);
    }
    EXPECT_FALSE(distance2Involute(20, rb, cx, cy, ox, oy, false, cx, cy, nullptr, nullptr, nullptr, nullptr,
                                   nullptr));
}

// The start point itself, wherever it lies on the base circle (its radius may round either way): distance 0
// and the foot point at the start.
TEST(involute, StartPointsAllRound) {
    for (const double angle : {0.0, 0.7, 1.9, 2.5, -1.2}) {
        const double sx = cx + rb * std::cos(angle), sy = cy + rb * std::sin(angle);
        double d = nan, fx = nan, fy = nan;
        EXPECT_TRUE(distance2Involute(20, rb, cx, cy, sx, sy, false, sx, sy, &d, nullptr, nullptr, &fx, &fy));
        EXPECT_NEAR(d, 0.0, 1e-9) << angle;
        EXPECT_TRUE(std::fabs(fx - sx) < 1e-9 && std::fabs(fy - sy) < 1e-9) << angle;
    }
}

// A base circle below unit size (module 0.1, 8 teeth) about the origin, start on the x axis: the same
// textbook form, point at offset t along the generating line; the sign of rb alone turns the normal round.
TEST(involute, SmallBaseCircles) {
    const double small = 0.376, xi = 0.6;
    const double qx = small * (std::cos(xi) + xi * std::sin(xi)),
                 qy = small * (std::sin(xi) - xi * std::cos(xi));
    for (const double rbSign : {1.0, -1.0}) {
        double d = nan, nx = nan, ny = nan;
        EXPECT_TRUE(distance2Involute(8, rbSign * small, 0, 0, small, 0, false, qx + 0.01 * std::sin(xi),
                                      qy - 0.01 * std::cos(xi), &d, &nx, &ny, nullptr, nullptr));
        EXPECT_NEAR(d, rbSign * 0.01, 1e-12);
        EXPECT_NEAR(nx, rbSign * std::sin(xi), 1e-9);
        EXPECT_NEAR(ny, -rbSign * std::cos(xi), 1e-9);
    }
}

} // namespace
