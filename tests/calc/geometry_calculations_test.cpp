#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include "calc/gear_references.h"
#include "support/diagnostics_capture.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace kest::gear;
using kest::host::DiagnosticChannel;
using kest::test::TestGear;

namespace {

constexpr double U = unsetValue;

// Feature names (case-sensitive) against the closed forms of gear_references.h, a row for each kind of value;
// a1 and a2 as the feature defines them (ball or pin diameter and axial position, or diameter and axial
// position).
TEST(geometry_calculations, NamesMapToTheirNominalValues) {
    const TestGear t{"helical, z 23, x 0.2", 23, 2.5, 15.0, 20.0, 0.2};
    const CylindricalGearGeometry g = t.make();
    const double dv = t.d() + 2 * t.x * t.mn;
    const double dy = t.d() + 1.0;
    const double tipShift = 2 * t.x * t.mn;
    const struct {
        const char* name;
        double a1, a2, expected;
    } rows[]{
        {"Sv", U, U, t.st()},
        {"sbn", U, U, t.syt(t.db()) * std::cos(t.betaB())},
        {"svn", U, U, t.syt(dv) * t.cosBetaY(dv)},
        {"Ev", U, U, t.eyt(t.d())},
        {"ebn", U, U, t.eyt(t.db()) * std::cos(t.betaB())},
        {"evn", U, U, t.eyt(dv) * t.cosBetaY(dv)},
        {"syn", dy, 4.0, t.syt(dy) * t.cosBetaY(dy)},
        {"eyt", dy, 4.0, t.eyt(dy)},
        {"MrK", 4.5, 10.0, t.mrk(4.5)},
        {"MdR", 4.5, U, 2 * t.ballCentreRadius(4.5) + 4.5}, // odd helical: the pins reach across
        {"da", U, U, t.d() + 2 * t.mn + tipShift},
        {"df", U, U, t.d() - 2.4 * t.mn + tipShift},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(g.getNominalFeatureValue(row.name, row.a1, row.a2), row.expected, 1e-9);
    }
    for (const char* deviation : {"gt", "gbt", "gvt", "gyt", "gn", "gbn", "gvn", "gyn", "at", "abt", "avt",
                                  "ayt", "an", "abn", "avn", "ayn"})
        EXPECT_EQ(g.getNominalFeatureValue(deviation, 1.0, 2.0), 0.0) << deviation;

    kest::test::DiagnosticsCapture capture(1);
    EXPECT_THROW_MSG(g.getNominalFeatureValue("ST", U, U),
                     "demand nominal value of feature ST is not yet implemented");
    EXPECT_EQ(capture.messages(DiagnosticChannel::Trace),
              std::vector<std::string>{"demand nominal value of feature ST is not yet implemented"});
}

// The DIN ball of a spur gear touches the flanks on the V-circle d + 2 x mn: with its centre on radius R_K
// (closed form), the contact lies rK back along the generating line, on the diameter 2 sqrt(rb^2 +
// (sqrt(R_K^2 - rb^2) - rK)^2).
TEST(geometry_calculations, DinBallTouchesOnTheVCircle) {
    for (const double x : {0.0, 0.35, -0.25}) {
        for (const int z : {14, 20, 57}) {
            const TestGear t{"spur", z, 2.0, 0.0, 20.0, x};
            SCOPED_TRACE(testing::Message() << "z " << z << ", x " << x);
            const CylindricalGearGeometry g = t.make();
            const double dK = g.getDINBallDiameter(Side::Left, U);
            EXPECT_EQ(dK, g.getDINBallDiameter(Side::Right, x)); // unset x: the geometry's own
            const double rb = t.db() / 2;
            const double rK = t.ballCentreRadius(dK);
            const double roll = std::sqrt(rK * rK - rb * rb) - dK / 2;
            EXPECT_NEAR(2 * std::sqrt(rb * rb + roll * roll), t.d() + 2 * x * t.mn, 1e-9);
        }
    }
    // Helical gears: the ball of the virtual spur gear of zn = z / cos^3.3(beta) teeth (the exponent
    // approximates the curvature of the normal section, as the DIN choice of the ball takes it), normal
    // module and pressure angle, touching its V-circle (zn + 2 x) mn; centre radius from the closed form of
    // gear_references.h for that gear.
    const struct {
        int z;
        double betaDeg, x;
    } helical[]{{23, 15.0, 0.2}, {31, 30.0, -0.3}, {60, 12.0, 0.25}, {17, 35.0, 0.5}};
    for (const auto& row : helical) {
        SCOPED_TRACE(testing::Message() << "z " << row.z << ", beta " << row.betaDeg << ", x " << row.x);
        const TestGear t{"helical", row.z, 2.0, row.betaDeg, 20.0, row.x};
        const double dK = t.make().getDINBallDiameter(Side::Left, U);
        const double zn = row.z / std::pow(std::cos(t.beta()), 3.3);
        const double alphaN = t.alphaN();
        const double rbn = zn * t.mn * std::cos(alphaN) / 2;
        const double alphaK =
            kest::test::invinv(kest::test::inv(alphaN) + dK / (zn * t.mn * std::cos(alphaN)) -
                               kest::test::pi / (2 * zn) + 2 * row.x * std::tan(alphaN) / zn);
        const double roll = rbn * std::tan(alphaK) - dK / 2;
        EXPECT_NEAR(2 * std::sqrt(rbn * rbn + roll * roll), (zn + 2 * row.x) * t.mn, 1e-9);
    }

    // so negative an x that the contact would lie inside the base circle: the guarded acos logs and takes 0
    const CylindricalGearGeometry g = TestGear{"spur", 20, 2.0, 0.0, 20.0, -1.0}.make();
    kest::test::DiagnosticsCapture capture;
    EXPECT_NE(g.getDINBallDiameter(Side::Left, U), U);
    char expected[64];
    std::snprintf(expected, sizeof expected, "Error : acos (%f)", std::cos(20 * kest::test::deg) * 20 / 18);
    EXPECT_EQ(capture.messages(DiagnosticChannel::ErrorLog), std::vector<std::string>{expected});
    EXPECT_EQ(CylindricalGearGeometry().getDINBallDiameter(Side::Left, 0.0), U);
}

} // namespace
