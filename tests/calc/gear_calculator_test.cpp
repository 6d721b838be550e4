#include <kest/gear/gear_calculator.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include "calc/gear_references.h"
#include "support/diagnostics_capture.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace kest::gear;
using kest::host::DiagnosticChannel;
using kest::test::deg;
using kest::test::DiagnosticsCapture;
using kest::test::pi;
using kest::test::TestGear;

namespace {

using FD = CylindricalGearGeometry::FlankDirection;
constexpr double U = unsetValue;

// Spur and helical, external and internal, even and odd z, with and without x.
const std::vector<TestGear> gears{
    {"spur, z 20", 20, 2.0, 0.0, 20.0, 0.0},
    {"spur, z 21, x 0.3", 21, 2.0, 0.0, 20.0, 0.3},
    {"spur, z 17, alpha 25, x -0.2", 17, 3.0, 0.0, 25.0, -0.2},
    {"helical, z 23, x 0.2", 23, 2.5, 15.0, 20.0, 0.2},
    {"left helical, z 24, x -0.2", 24, 3.0, 20.0, 20.0, -0.2, FD::Left},
    {"internal spur, z -40", -40, 2.0, 0.0, 20.0, 0.0},
    {"internal spur, z -41, x 0.2", -41, 2.5, 0.0, 20.0, 0.2},
    {"internal helical, z -60, x 0.25", -60, 2.0, 12.0, 20.0, 0.25},
    {"internal helical, z -61, x -0.1", -61, 2.0, 12.0, 20.0, -0.1, FD::Left},
};

// Every value against the closed forms of gear_references.h, which the flank model does not use. The
// iterative ball placement agrees to about 1e-11 mm, the others to rounding.
TEST(gear_calculator, ClosedFormsOfIso21771AndDin3960) {
    for (const TestGear& t : gears) {
        SCOPED_TRACE(t.name);
        const CylindricalGearGeometry g = t.make();
        const GearCalculator c(&g);
        const double e = t.e();
        const double dv = t.d() + 2 * t.x * t.mn;
        const double dy = t.d() + e * 0.6 * t.mn; // a circle between reference and tip
        const double tol = 1e-9;
        EXPECT_NEAR(c.getNominal_St(U, U), t.st(), tol);
        EXPECT_NEAR(c.getNominal_Sn(U, U), t.st() * std::cos(t.beta()), tol);
        EXPECT_NEAR(c.getNominal_Sbt(U, U), t.syt(t.db()), tol);
        EXPECT_NEAR(c.getNominal_Sbn(U, U), t.syt(t.db()) * std::cos(t.betaB()), tol);
        EXPECT_NEAR(c.getNominal_Svt(U, U), t.syt(dv), tol);
        EXPECT_NEAR(c.getNominal_Svn(U, U), t.syt(dv) * t.cosBetaY(dv), tol);
        EXPECT_NEAR(c.getNominal_Syt(std::fabs(dy) / 2, 7.0, U, U, U), t.syt(dy), tol);
        EXPECT_NEAR(c.getNominal_Syn(std::fabs(dy) / 2, 7.0, U, U, U), t.syt(dy) * t.cosBetaY(dy), tol);
        EXPECT_NEAR(c.getNominal_eyt(std::fabs(dy) / 2, 7.0, U, U, U), t.eyt(dy), tol);
        EXPECT_NEAR(c.getNominal_Spacewidth("en", U, U, U), t.eyt(t.d()) * std::cos(t.beta()), tol);
        EXPECT_NEAR(c.getNominal_Spacewidth("ebt", U, U, U), t.eyt(t.db()), tol);
        for (unsigned int k = 1; k <= 5; ++k)
            EXPECT_NEAR(c.getNominal_Wk(k, U, U), t.wk(k), tol) << k;
        for (const double dK : {1.6 * t.mn, 1.9 * t.mn}) {
            EXPECT_NEAR(c.getNominal_MdK(U, U, dK, 5.0, U), t.mdk(dK), tol) << dK;
            EXPECT_NEAR(c.getNominal_MrK(U, U, dK, -3.0, U), t.mrk(dK), tol) << dK;
        }
        // Pins: an odd helical external gear gives 2 R_K + dR (the pins reach across transverse planes).
        const double dR = 1.75 * t.mn;
        const bool oddHelical = t.betaDeg != 0.0 && std::abs(t.z) % 2 == 1;
        if (t.z > 0 || t.betaDeg == 0.0) {
            EXPECT_NEAR(c.getNominal_MdR(U, dR, U), oddHelical ? 2 * t.ballCentreRadius(dR) + dR : t.mdk(dR),
                        tol);
            EXPECT_NEAR(c.getNominal_MrR(U, dR, U), t.mrk(dR), tol);
        }
    }
}

// A basic rack with addendum mn and dedendum 1.2 mn shifted by x mn on diameter magnitudes (for an internal
// gear the shift enlarges both diameters); the tip stays at least mn outside the base circle of an external
// gear and outside the base circle of an internal one.
TEST(gear_calculator, NominalTipAndRootDiameters) {
    const struct {
        TestGear gear;
        double da, df;
    } rows[]{
        {{"spur, x 0.3", 20, 2.0, 0.0, 20.0, 0.3}, 40 + 4 + 1.2, 40 - 4.8 + 1.2},
        {{"spur, x -1.5, tip held", 20, 2.0, 0.0, 20.0, -1.5}, 40 * std::cos(20 * deg) + 4, 40 - 4.8 - 6},
        {{"internal, x 0.3", -40, 2.0, 0.0, 20.0, 0.3}, 80 - 4 + 1.2, 80 + 4.8 + 1.2},
        {{"internal, x -2.5, tip held", -40, 2.0, 0.0, 20.0, -2.5}, 80 * std::cos(20 * deg), 80 + 4.8 - 10},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.gear.name);
        const CylindricalGearGeometry g = row.gear.make();
        const GearCalculator c(&g);
        EXPECT_NEAR(c.getNominal_da(), row.da, 1e-12);
        EXPECT_NEAR(c.getNominal_df(), row.df, 1e-12);
    }
}

// Refused with a message each (an asymmetrical gear whose right flank has x = 0.5); the tooth thickness on
// any circle, the ball dimensions and the tip take each flank's own values.
TEST(gear_calculator, AsymmetricalGearsAreRefused) {
    const kest::test::OtherRightFlank g(gears[3].make(), true, 0.5, gears[3].alphaN());
    const GearCalculator c(&g);
    DiagnosticsCapture capture;
    for (const double value :
         {c.getNominal_St(U, U), c.getNominal_Sn(U, U), c.getNominal_Sbt(U, U), c.getNominal_Sbn(U, U),
          c.getNominal_Svt(U, U), c.getNominal_Svn(U, U), c.getNominal_Syn(30, 0, U, U, U),
          c.getNominal_eyn(30, 0, U, U, U), c.getNominal_Spacewidth("ebn", U, U, U), c.getNominal_Wk(3, U, U),
          c.getWkSpanTeethList(U, U).empty() ? U : 0.0, c.getNominal_MdR(U, 4.0, U),
          c.getNominal_MrR(U, 4.0, U)})
        EXPECT_EQ(value, U);
    const std::vector<std::string> messages{
        "Asymmetrical Gear can not calculate st",
        "Asymmetrical Gear can not calculate sn",
        "Asymmetrical Gear can not calculate sbt",
        "Asymmetrical Gear can not calculate sbn",
        "Asymmetrical Gear can not calculate svt",
        "Asymmetrical Gear can not calculate svn",
        "Asymmetrical helix Gear can not calculate Normal Tooth Thickness",
        "Asymmetrical Gear can not calculate eyn",
        "Asymmetrical Gear can not calculate ebn",
        "Asymmetrical Gear can not calculate Wk",
        "Asymmetrical Gear can not calculate getWkSpanTeethList",
        "Asymmetrical Gear can not calculate MdR",
        "Asymmetrical Gear can not calculate MrR"};
    EXPECT_EQ(capture.messages(DiagnosticChannel::ErrorLog), messages);
    // calculated with each flank's own coefficient: the right flank's x = 0.5 moves it by x mn tan(alpha_n)
    const TestGear t = gears[3];
    const double r = std::fabs(t.d()) / 2;
    EXPECT_NEAR(c.getNominal_Syt(r, 0.0, U, U, 0.0),
                t.st() + 0.3 * t.mn * std::tan(t.alphaN()) / std::cos(t.beta()), 1e-12);
    EXPECT_NE(c.getNominal_MdK(U, U, 4.0, 0.0, 0.0), U);
    EXPECT_NE(c.getNominal_MrK(U, U, 4.0, 0.0, 0.0), U);
    // the tip of both flanks is the larger one
    EXPECT_NEAR(c.getNominal_da(), std::fabs(t.d()) + 2 * t.mn * 1.5, 1e-12);
}

// Failures deep in a calculation are logged with the operation's name and thrown on; the ball dimensions and
// the pin refusals log and give unset.
TEST(gear_calculator, FailuresAreLoggedAndThrownOn) {
    const CylindricalGearGeometry external = gears[1].make();
    const CylindricalGearGeometry internalHelical = gears[7].make();
    const CylindricalGearGeometry internalNearlySpur = TestGear{"beta 0.4", -40, 2.0, 0.4, 20.0, 0.0}.make();
    const GearCalculator c(&external);
    const GearCalculator ih(&internalHelical);
    const GearCalculator is(&internalNearlySpur);
    const std::string tooth = "tooth number exceed the range [1,toothnum]";
    const std::string feature = "demand feature is not support! please check the feature type!";
    DiagnosticsCapture capture(1);
    EXPECT_THROW_MSG(c.getNominal_Wk(0, U, U), tooth);
    EXPECT_THROW_MSG(c.getNominal_Wk(22, U, U), tooth);
    EXPECT_THROW_MSG(c.getNominal_Spacewidth("Et", U, U, U), feature);
    for (const double value : {c.getNominal_MdK(U, U, 100.0, 0.0, U), ih.getNominal_MdR(U, 3.5, U),
                               ih.getNominal_MrR(U, 3.5, U), c.getNominal_MrK(U, U, 100.0, 0.0, U)})
        EXPECT_EQ(value, U);
    const std::vector<std::string> logged{"GearCalculator::getNominal_Wk: " + tooth,
                                          "GearCalculator::getNominal_Wk: " + tooth,
                                          "GearCalculator::getNominal_Spacewidth: " + feature,
                                          "GearCalculator::getNominal_MdK: m-mass can not be calculated",
                                          "internal helix gear can not calculate MdR",
                                          "Internal helix gear can not calculate MrR"};
    EXPECT_EQ(capture.messages(DiagnosticChannel::ErrorLog), logged);
    EXPECT_EQ(capture.messages(DiagnosticChannel::Trace),
              std::vector<std::string>{"GearCalculator::getNominal_MrK: m-mass can not be calculated"});
    // below 0.5 deg a helix counts as spur
    const TestGear nearlySpur{"", -40, 2.0, 0.4, 20.0, 0.0};
    EXPECT_NEAR(is.getNominal_MdR(U, 3.5, U), nearlySpur.mdk(3.5), 1e-9);
    EXPECT_THROW_MSG(GearCalculator(nullptr), "given cylindircal gear geometry pointer is null");
    EXPECT_THROW_MSG(c.getBaseAngle(1, Side::Both, U, U), "given side is out of range");
}

} // namespace
