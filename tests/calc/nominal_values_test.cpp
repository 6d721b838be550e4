#include <kest/gear/gear_calculator.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include "calc/gear_references.h"
#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kest::gear;
using kest::host::DiagnosticChannel;
using kest::test::DiagnosticsCapture;
using kest::test::TestGear;

namespace {

constexpr double U = unsetValue;
using NV = NominalValue;

const std::string kNotSet = "a value it needs is not set in the file";
const std::string kNoBall = "no ball or pin diameter";
const std::string kNoSpan = "no span count has its contact between tip and root circle";
const std::string kSpaceRange = "tooth Space Number exceed the range [1,toothnum]";
const std::string kBeyondHalf = "the span reaches over more than half the base circle";

// The named values are those of the getNominal_ operations, with the geometry's coefficients, flank offset
// and ball diameter; nothing is logged.
TEST(nominal_values, NamedValuesAreThoseOfTheOperations) {
    const TestGear t{"helical, z 23, x 0.2", 23, 2.5, 15.0, 20.0, 0.2};
    const CylindricalGearGeometry g = t.make(4.0);
    const GearCalculator c(&g);
    DiagnosticsCapture capture(1);
    const NV asked[]{NV::FlankOffsetAngle,
                     NV::TipDiameter,
                     NV::RootDiameter,
                     NV::St,
                     NV::Sn,
                     NV::Sbt,
                     NV::Sbn,
                     NV::Svt,
                     NV::Svn,
                     NV::Wk,
                     NV::MdK,
                     NV::MrK,
                     NV::MdR,
                     NV::BallDiameter};
    const std::vector<NominalResult> got = c.getNominal(asked, {.zpos = 5.0, .spanCount = 3});
    const double expected[]{0.0,
                            c.getNominal_da(),
                            c.getNominal_df(),
                            t.st(),
                            t.st() * std::cos(t.beta()),
                            c.getNominal_Sbt(U, U),
                            c.getNominal_Sbn(U, U),
                            c.getNominal_Svt(U, U),
                            c.getNominal_Svn(U, U),
                            t.wk(3),
                            t.mdk(4.0),
                            t.mrk(4.0),
                            2 * t.ballCentreRadius(4.0) + 4.0,
                            4.0};
    ASSERT_EQ(got.size(), std::size(asked));
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].reason, "") << i;
        EXPECT_NEAR(got[i].value, expected[i], 1e-9) << i;
    }
    EXPECT_TRUE(capture.reports.empty());
}

// Gears of zero and one tooth: no value is computed from a division by the tooth count. One tooth has a
// single space, so no second ball, and its tooth reaches over more than half the base circle.
TEST(nominal_values, ZeroAndOneTooth) {
    const struct {
        int z;
        NV value;
        std::string reason;
    } rows[]{
        {0, NV::St, kNotSet},
        {0, NV::Sbn, kNotSet},
        {0, NV::Wk, kNotSet},
        {0, NV::FirstSpanCount, kNotSet},
        {0, NV::BallDiameter, kNotSet},
        {0, NV::MdK, kNoBall},
        {0, NV::MrK, kNoBall},
        {1, NV::Wk, kBeyondHalf},
        {1, NV::FirstSpanCount, kNoSpan},
        {1, NV::MdK, kSpaceRange},
        {1, NV::MdR, kSpaceRange},
        {-1, NV::Wk, kBeyondHalf},
        {-1, NV::MdK, kSpaceRange},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "z " << row.z << ", value " << static_cast<int>(row.value));
        const CylindricalGearGeometry g = TestGear{"", row.z, 2.0, 0.0, 20.0, 0.0}.make();
        const GearCalculator c(&g);
        const NominalResult result = c.getNominal(row.value, {.spanCount = 1});
        EXPECT_EQ(result.value, U);
        EXPECT_EQ(result.reason, row.reason);
    }
    const CylindricalGearGeometry none = TestGear{"", 0, 2.0, 0.0, 20.0, 0.0}.make();
    const GearCalculator c(&none);
    EXPECT_EQ(c.getNominal_St(U, U), U);
    EXPECT_EQ(c.getNominal_Wk(1, U, U), U);
    EXPECT_EQ(c.getNominal_MdK(U, U, 4.0, 0.0, U), U);
    EXPECT_EQ(c.getBaseAngle(1, Side::Left, U, U), U);
    EXPECT_TRUE(c.getWkSpanTeethList(U, U).empty());
}

// Reasons of the refusals and of values that wait on the flank offset angle; the flank offset angle given
// by the caller replaces the geometry's.
TEST(nominal_values, ReasonsOfAsymmetricalGears) {
    const TestGear t{"helical, z 23, x 0.2", 23, 2.5, 15.0, 20.0, 0.2};
    const kest::test::OtherRightFlank g(t.make(), true, 0.5, t.alphaN());
    const GearCalculator c(&g);
    DiagnosticsCapture capture(1);
    const NV asked[]{NV::St, NV::FirstSpanCount, NV::Wk, NV::MdR, NV::MdK};
    const std::vector<NominalResult> got = c.getNominal(asked, {.ballDiameter = 4.0, .spanCount = 3});
    const std::string reasons[]{
        "Asymmetrical Gear can not calculate st", "Asymmetrical Gear can not calculate getWkSpanTeethList",
        "Asymmetrical Gear can not calculate Wk", "Asymmetrical Gear can not calculate MdR", ""};
    for (std::size_t i = 0; i < std::size(asked); ++i)
        EXPECT_EQ(got[i].reason, reasons[i]) << i;
    EXPECT_NEAR(got[4].value, c.getNominal_MdK(U, U, 4.0, 0.0, 0.0), 1e-12);
    EXPECT_NE(c.getNominal(NV::MdK, {.flankOffsetAngle = 0.01, .ballDiameter = 4.0}).value, got[4].value);
    EXPECT_TRUE(capture.messages(DiagnosticChannel::ErrorLog).empty());
}

} // namespace
