#include <kest/gear/gear_calculator.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include "calc/gear_references.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

using namespace kest::gear;
using kest::test::pi;
using kest::test::TestGear;
using Vector = GearCalculator::Vector;

namespace {

using FD = CylindricalGearGeometry::FlankDirection;
constexpr double U = unsetValue;

const std::vector<TestGear> gears{
    {"spur, z 20", 20, 2.0, 0.0, 20.0, 0.0},
    {"helical, z 23, x 0.2", 23, 2.5, 15.0, 20.0, 0.2},
    {"internal helical, z -61, x -0.1", -61, 2.0, 12.0, 20.0, -0.1, FD::Left},
};

// The normals of an involute helicoid are tangent to the base cylinder and inclined by beta_b, so a point at
// the normal distance rK from a flank lies on the involute whose start is rK / (rb cos(beta_b)) further along
// the base circle (ISO 21771). The ball centre must be at that distance from both flanks of its space, given
// in the frame of the spaces at axial position 0 (the twist up to the plane asked for taken out: z 23, beta
// 15 deg, the twist of 0.090 rad at 10 mm came back in the position).
TEST(ball_position, BallCentreIsAtTheBallRadiusFromBothFlanks) {
    for (const TestGear& t : gears) {
        for (const bool steep : {false, true}) {
            SCOPED_TRACE(testing::Message() << t.name << (steep ? ", right flank 25 deg" : ""));
            const CylindricalGearGeometry plain = t.make();
            const kest::test::OtherRightFlank steepGear(plain, false, t.x, 25 * kest::test::deg);
            const CylindricalGearGeometry& g = steep ? steepGear : plain;
            const GearCalculator c(&g);
            const int z = std::abs(t.z);
            const double rK = 0.9 * t.mn;
            for (const int space : {1, z / 2 + 1}) {
                const Vector centre = c.getBallInToothSpacePosition(space, U, U, rK, 6.0, U);
                EXPECT_EQ(centre.z, 6.0);
                const int previous = space == 1 ? z : space - 1;
                const struct {
                    Side side;
                    int tooth;
                } flanks[]{{Side::Left, t.z > 0 ? space : previous},
                           {Side::Right, t.z > 0 ? previous : space}};
                for (const auto& flank : flanks) {
                    const double db = g.getDB(flank.side, false);
                    const double cosBetaB = std::sqrt(1 - std::pow(std::sin(g.getBetaRad(flank.side, false)) *
                                                                       std::cos(g.getAlphaNRad(flank.side)),
                                                                   2));
                    const Vector inSpaceFrame{centre.x, centre.y, 0.0};
                    const double roll = std::remainder(c.getInvoluteOriginAngle(inSpaceFrame, flank.side) -
                                                           c.getBaseAngle(flank.tooth, flank.side, U, U),
                                                       2 * pi);
                    EXPECT_NEAR(std::fabs(roll) * db / 2 * cosBetaB, rK, 1e-9) << space;
                }
            }
            if (!steep && t.betaDeg == 0.0) { // space 1 centred between tooth |z| (at +2 pi / z) and tooth 1
                const Vector centre = c.getBallInToothSpacePosition(1, U, U, rK, 0.0, U);
                EXPECT_NEAR(std::atan2(centre.y, centre.x), pi / z, 1e-12);
            }
        }
    }
}

// A ball through a point of each flank of a space is the ball of that space; a radius of 0 takes the DIN
// ball.
TEST(ball_position, BallThroughMeasuredPointsIsTheBallOfTheSpace) {
    for (const TestGear& t : gears) {
        SCOPED_TRACE(t.name);
        const CylindricalGearGeometry g = t.make();
        const GearCalculator c(&g);
        const int z = std::abs(t.z);
        const double r = std::fabs(t.d()) / 2 + 0.3 * t.mn;
        const Vector left = c.getPoint(t.z > 0 ? 1 : z, Side::Left, r, 3.0, 0.0, nullptr, nullptr, U, U);
        const Vector right =
            c.getPoint(t.z > 0 ? z : 1, Side::Right, r - 0.5, -2.0, 0.0, nullptr, nullptr, U, U);
        const double rK = g.getDINBallDiameter(Side::Left, U) / 2;
        const Vector expected = c.getBallInToothSpacePosition(1, U, U, rK, 4.0, U);
        const Vector found = c.findBallInRealSpacePosition(left, right, 0.0, 4.0);
        EXPECT_NEAR((found - expected).length(), 0.0, 1e-9);
    }
}

// The surface normal is a unit vector across the surface (orthogonal to its radial and axial tangents); a
// probe centre one probe radius along it compensates back onto the point.
TEST(ball_position, FlankPointNormalRadiusAndProbeCompensation) {
    for (const TestGear& t : gears) {
        const CylindricalGearGeometry g = t.make();
        const GearCalculator c(&g);
        for (const Side side : {Side::Left, Side::Right}) {
            SCOPED_TRACE(testing::Message() << t.name << (side == Side::Left ? " left" : " right"));
            const double r = std::fabs(t.d()) / 2;
            const double zpos = 5.0;
            Vector n, offset;
            const Vector p = c.getPoint(3, side, r, zpos, 0.25, &n, &offset, U, U);
            const Vector dr = c.getPoint(3, side, r + 1e-4, zpos, 0, nullptr, nullptr, U, U) - p;
            const Vector dz = c.getPoint(3, side, r, zpos + 1e-4, 0, nullptr, nullptr, U, U) - p;
            EXPECT_NEAR(n.length(), 1.0, 1e-15);
            EXPECT_NEAR(n.dot(dr.normalized()), 0.0, 1e-5);
            EXPECT_NEAR(n.dot(dz.normalized()), 0.0, 1e-5);
            EXPECT_NEAR((offset - p - 0.25 * n).length(), 0.0, 1e-12);
            EXPECT_NEAR(c.getRadius(3, side, p.x, zpos, 0.0, nullptr, nullptr), r, 1e-6);
            EXPECT_NEAR((c.probeCompensation(p + 0.8 * n, side, 0.8) - p).length(), 0.0, 1e-12);
            EXPECT_NEAR((c.getInvoluteOrigin(p, side).length()), std::fabs(t.db()) / 2, 1e-12);
        }
    }
}

TEST(ball_position, FailureMessages) {
    const CylindricalGearGeometry g = gears[1].make();
    const GearCalculator c(&g);
    const double rb = g.getDB(Side::Left, false) / 2;
    const char* space = "tooth Space Number exceed the range [1,toothnum]";
    EXPECT_THROW_MSG(c.getBallInToothSpacePosition(0, U, U, 2.0, 0.0, U), space);
    EXPECT_THROW_MSG(c.getBallInToothSpacePosition(24, U, U, 2.0, 0.0, U), space);
    EXPECT_THROW_MSG(c.getBallInToothSpacePosition(1, U, U, U, 0.0, U),
                     "evaluation ball radius should be given here");
    EXPECT_THROW_MSG(c.getBallInToothSpacePosition(1, U, U, 40.0, 0.0, U), "m-mass can not be calculated");
    EXPECT_THROW_MSG(c.getPoint(24, Side::Left, 30.0, 0, 0, nullptr, nullptr, U, U),
                     "tooth number exceed the range [1,toothnum]");
    EXPECT_THROW_MSG(c.getPoint(1, Side::Left, rb - 1e-9, 0, 0, nullptr, nullptr, U, U),
                     "given circle radius is smaller than base radius");
    EXPECT_NO_THROW(c.getPoint(1, Side::Left, rb - 1e-13, 0, 0, nullptr, nullptr, U, U)); // taken as on it
    EXPECT_THROW_MSG(c.getInvoluteOrigin({rb - 1e-9, 0.0, 0.0}, Side::Right),
                     "given points located in base circle");
}

} // namespace
