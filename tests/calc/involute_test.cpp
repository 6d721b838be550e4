#include <kest/gear/involute.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double pi = 3.141592653589793;
constexpr double deg = pi / 180;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inv20 = 0.014904383867336; // involute function tables (e.g. Machinery's Handbook): 0.014904

TEST(involute, InvMatchesTables) {
    const struct {
        double degrees, expected;
    } rows[]{
        // involute function tables give 7 digits; the extra digits are tan(a) - a in 30-digit arithmetic
        {0.0, 0.0},
        {14.5, 0.005544842816712493}, // table 0.0055448
        {20.0, inv20},
        {25.0, 0.0299753451564162},  // table 0.0299753
        {30.0, 0.05375149359132689}, // table 0.0537515
        {45.0, 1 - pi / 4},          // tan 45 deg = 1
        {60.0, std::sqrt(3.0) - pi / 3},
        {-20.0, -inv20}, // odd function
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.degrees);
        EXPECT_NEAR(_inv(row.degrees * deg), row.expected, 1e-15);
    }
}

TEST(involute, InvinvFindsTheAngleOrFails) {
    const struct {
        double inv, expected;
    } rows[]{
        {0.0, 0.0},   {inv20, 20 * deg}, {-inv20, -20 * deg}, {1 - pi / 4, 45 * deg},
        {60.0, 2.0},  // above inv(89 deg) = 55.74
        {-60.0, 2.0}, // the failure value is not signed
        {nan, 2.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.inv);
        EXPECT_NEAR(_invinv(row.inv), row.expected, 1e-10);
    }
    EXPECT_EQ(_invinv(0.0), 0.0);
    // Over the whole range of pressure angles the involute value is met within the bisection tolerance.
    for (double a = 0.5; a < 88.6; a += 0.5) {
        const double alpha = _invinv(_inv(a * deg));
        ASSERT_NEAR(_inv(alpha), _inv(a * deg), 1e-12) << a << " deg";
        ASSERT_EQ(_invinv(-_inv(a * deg)), -alpha);
    }
}

TEST(involute, InvoluteFunctionOnACircle) {
    const double db = 100.0;
    const double dy20 = db / std::cos(20 * deg); // the circle on which the pressure angle is 20 deg
    const struct {
        double dy, db, sign, expected;
    } rows[]{
        {80.0, db, 1.0, 0.0}, // inside the base circle
        {db, db, 1.0, 0.0},        {dy20, db, 1.0, inv20},
        {dy20, db, -1.0, -inv20},  {dy20, db, 7.5, inv20},    // only the sign counts
        {dy20, db, -0.25, -inv20}, {-dy20, -db, 1.0, -inv20}, // internal gear diameters: the base radius
                                                              // divides with its sign
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.dy << " " << row.db << " " << row.sign);
        EXPECT_NEAR(involute_alpha_y_t(row.dy, row.db, row.sign), row.expected, 1e-14);
    }
    EXPECT_TRUE(std::isnan(involute_alpha_y_t(dy20, db, 0.0)));
}

TEST(involute, ChordAndArc) {
    const double eps = std::numeric_limits<double>::epsilon();
    const struct {
        double chord, arc, d;
    } chordToArc[]{
        {10.0, 10.0 * pi / 2, 10.0},                  // the diameter spans half the circumference
        {10.0, 20.0 * pi / 6, 20.0},                  // a chord of the radius subtends 60 deg
        {10.0 * std::sqrt(2.0), 20.0 * pi / 4, 20.0}, // 90 deg
        {10.0 + 1e-9, 0.0, 10.0},                     // longer than the diameter
        {1.0, 0.0, 0.0},
        {1.0, 0.0, eps / 2},
        {0.0, 0.0, 10.0},
        {-1.0, 0.0, 10.0},
    };
    for (const auto& row : chordToArc) {
        SCOPED_TRACE(testing::Message() << "chord " << row.chord << " d " << row.d);
        EXPECT_NEAR(_chord2arc_length(row.chord, row.d), row.arc, 1e-13);
    }
    const struct {
        double arc, chord, d;
    } arcToChord[]{
        {10.0 * pi / 2, 10.0, 10.0},
        {20.0 * pi / 6, 10.0, 20.0},
        {10.0 * pi, 0.0, 10.0},        // the full circle closes the chord
        {10.0 * pi + 1e-9, 0.0, 10.0}, // more than the full circle
        {1.0, 0.0, 0.0},
        {eps / 2, 0.0, 10.0},
        {-1.0, 0.0, 10.0},
    };
    for (const auto& row : arcToChord) {
        SCOPED_TRACE(testing::Message() << "arc " << row.arc << " d " << row.d);
        EXPECT_NEAR(_arc_length2chord(row.arc, row.d), row.chord, 1e-13);
    }
}

// An involute of base radius 40 about (3, -2) whose start lies at the polar angle 0.7, for 20 teeth.
struct Involute40 {
    double z = 20, rb = 40, cx = 3, cy = -2, phi0 = 0.7;
    double ox() const { return cx + rb * std::cos(phi0); }
    double oy() const { return cy + rb * std::sin(phi0); }
    // Textbook parametric form of the involute by its roll angle xi, mirrored onto the negative side with s =
    // -1: rb (cos xi + xi sin xi, s (sin xi - xi cos xi)) in the frame of the start ray.
    void point(double xi, double s, double* x, double* y) const {
        toWorld(rb * (std::cos(xi) + xi * std::sin(xi)), s * rb * (std::sin(xi) - xi * std::cos(xi)), x, y);
        *x += cx;
        *y += cy;
    }
    // Unit direction of the generating line from its touch point on the base circle towards the involute.
    void normal(double xi, double s, double* x, double* y) const {
        toWorld(std::sin(xi), -s * std::cos(xi), x, y);
    }
    void toWorld(double u, double v, double* x, double* y) const {
        *x = u * std::cos(phi0) - v * std::sin(phi0);
        *y = u * std::sin(phi0) + v * std::cos(phi0);
    }
};

TEST(involute, PointInvoluteLiesOnTheInvolute) {
    const Involute40 g;
    for (const bool negative : {false, true})
        for (const double xi : {0.0, 0.1, 0.4, 0.8, 1.1}) {
            SCOPED_TRACE(testing::Message() << "xi " << xi << (negative ? " negative" : ""));
            const double invAngle = xi - std::atan(xi); // polar angle of the involute point
            double ex, ey;
            g.point(xi, negative ? -1 : 1, &ex, &ey);
            for (const double angle : {invAngle, -invAngle}) {
                double x = nan, y = nan;
                // any point of the start ray will do: here one at twice the base radius
                ASSERT_TRUE(pointInvolute(g.z, g.rb, g.cx, g.cy, 2 * g.ox() - g.cx, 2 * g.oy() - g.cy,
                                          negative, angle, &x, &y));
                EXPECT_NEAR(x, ex, 1e-8);
                EXPECT_NEAR(y, ey, 1e-8);
            }
            double d = nan, fx = nan, fy = nan;
            EXPECT_TRUE(distance2Involute(g.z, g.rb, g.cx, g.cy, g.ox(), g.oy(), negative, ex, ey, &d,
                                          nullptr, nullptr, &fx, &fy));
            EXPECT_NEAR(d, 0.0, 1e-8);
            EXPECT_NEAR(fx, ex, 1e-8);
            EXPECT_NEAR(fy, ey, 1e-8);
        }
}

TEST(involute, PointInvoluteBeyondOnePitchWritesNothing) {
    const Involute40 g;
    for (const double z : {20.0, -20.0}) { // an internal gear has the same pitch angle
        double x = 1.5, y = 2.5;
        EXPECT_FALSE(
            pointInvolute(z, g.rb, g.cx, g.cy, g.ox(), g.oy(), false, -(2 * pi / 20 + 1e-9), &x, &y));
        EXPECT_EQ(x, 1.5);
        EXPECT_EQ(y, 2.5);
        EXPECT_TRUE(pointInvolute(z, g.rb, g.cx, g.cy, g.ox(), g.oy(), false, 2 * pi / 20, &x, nullptr));
        EXPECT_NE(x, 1.5);
    }
    EXPECT_TRUE(pointInvolute(g.z, g.rb, g.cx, g.cy, g.ox(), g.oy(), true, 0.1, nullptr, nullptr));
}

TEST(involute, DistanceAlongTheGeneratingLine) {
    const Involute40 g;
    // offset t along the normal from the involute point at roll angle xi: positive beyond the involute,
    // negative between it and the base circle (up to -rb xi)
    const struct {
        double xi, t;
        bool negative;
        double rbSign;
    } rows[]{
        {0.4, 5.0, false, 1},  {0.4, -5.0, false, 1},  {1.1, 30.0, false, 1}, {1.1, -15.0, false, 1},
        {0.4, 5.0, true, 1},   {0.8, -10.0, true, 1},  {0.4, 5.0, false, -1}, {0.4, -5.0, false, -1},
        {0.8, 20.0, true, -1}, {0.8, -10.0, true, -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "xi " << row.xi << " t " << row.t
                                        << (row.negative ? " negative" : "") << " rb sign " << row.rbSign);
        const double s = row.negative ? -1 : 1;
        double qx, qy, ux, uy;
        g.point(row.xi, s, &qx, &qy);
        g.normal(row.xi, s, &ux, &uy);
        double d = nan, nx = nan, ny = nan, fx = nan, fy = nan;
        EXPECT_TRUE(distance2Involute(0.0, row.rbSign * g.rb, g.cx, g.cy, g.ox(), g.oy(), row.negative,
                                      qx + row.t * ux, qy + row.t * uy, &d, &nx, &ny, &fx, &fy));
        EXPECT_NEAR(d, row.rbSign * row.t, 1e-8);
        EXPECT_NEAR(nx, row.rbSign * ux, 1e-9);
        EXPECT_NEAR(ny, row.rbSign * uy, 1e-9);
        EXPECT_NEAR(fx, qx, 1e-8);
        EXPECT_NEAR(fy, qy, 1e-8);
    }
}

TEST(involute, DistanceBehindTheStartIsToTheStartPoint) {
    const Involute40 g;
    // points relative to the start point in the frame of the start ray (u outwards, v towards positive
    // angles), all on the centre's side of the base-circle tangent at the start; a point on the side to which
    // the involute unwinds counts as inside
    const struct {
        double u, v;
        bool negative;
        double rbSign, expected;
    } rows[]{
        {-3.0, 4.0, false, 1, -5.0}, {-3.0, -4.0, false, 1, 5.0}, {-3.0, 4.0, true, 1, 5.0},
        {-3.0, -4.0, true, 1, -5.0}, {-3.0, 4.0, false, -1, 5.0}, {-3.0, -4.0, true, -1, 5.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.u << ", " << row.v << (row.negative ? " negative" : "")
                                        << " rb sign " << row.rbSign);
        double dx, dy;
        g.toWorld(row.u, row.v, &dx, &dy);
        double d = nan, nx = nan, ny = nan, fx = nan, fy = nan;
        EXPECT_FALSE(distance2Involute(g.z, row.rbSign * g.rb, g.cx, g.cy, g.ox(), g.oy(), row.negative,
                                       g.ox() + dx, g.oy() + dy, &d, &nx, &ny, &fx, &fy));
        EXPECT_NEAR(d, row.expected, 1e-12);
        EXPECT_NEAR(d * nx, dx, 1e-12); // distance times normal leads from the start point to the point
        EXPECT_NEAR(d * ny, dy, 1e-12);
        EXPECT_EQ(fx, g.ox());
        EXPECT_EQ(fy, g.oy());
    }
    EXPECT_FALSE(distance2Involute(g.z, g.rb, g.cx, g.cy, g.ox(), g.oy(), false, g.cx, g.cy, nullptr, nullptr,
                                   nullptr, nullptr, nullptr));
}

TEST(involute, DistanceOfTheStartPointItself) {
    // a start exactly on the base circle (on the x axis of the centre), so that no rounding lifts it off
    double d = nan, nx = nan, ny = nan, fx = nan, fy = nan;
    EXPECT_TRUE(distance2Involute(20, 40, 3, -2, 43, -2, false, 43, -2, &d, &nx, &ny, &fx, &fy));
    EXPECT_EQ(d, 0.0);
    EXPECT_EQ(nx, 0.0);
    EXPECT_EQ(ny, 0.0);
    EXPECT_DOUBLE_EQ(fx, 43.0);
    EXPECT_DOUBLE_EQ(fy, -2.0);
}

} // namespace
