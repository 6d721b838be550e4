#include <kest/gear/asymmetrical_gear_geometry.h>
#include <kest/gear/gear_calculator.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include "calc/gear_references.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kest::gear;
using kest::test::TestGear;

namespace {

constexpr double U = unsetValue;

// The flank offset angle that reproduces a value measured on a gear whose teeth are phi0 = 0.004 wider than
// nominal, from each feature that fixes it.
TEST(flank_offset, FlankOffsetAngleFromAMeasuredValue) {
    const TestGear t{"helical, z 23, x 0.2", 23, 2.5, 15.0, 20.0, 0.2};
    const CylindricalGearGeometry symmetric = t.make();
    const kest::test::OtherRightFlank asymmetric(symmetric, true, t.x, 25 * kest::test::deg);
    const double phi0 = 0.004;
    const double r = std::fabs(t.d()) / 2;
    for (const CylindricalGearGeometry* g :
         {&symmetric, static_cast<const CylindricalGearGeometry*>(&asymmetric)}) {
        const bool asym = g == &asymmetric;
        const GearCalculator c(g);
        const struct {
            const char* feature;
            double measured;
            unsigned int k;
        } rows[]{
            {"MdK", c.getNominal_MdK(U, U, 4.0, 5.0, phi0), unsetSpanCount},
            {"MrK", c.getNominal_MrK(U, U, 4.0, 5.0, phi0), unsetSpanCount},
            {"Syt", c.getNominal_Syt(r, 5.0, U, U, 0.0) + phi0 * r, unsetSpanCount},
            {"MdR", asym ? 70.0 : c.getNominal_MdR(U, 4.0, phi0), unsetSpanCount},
            {"MrR", asym ? 35.0 : c.getNominal_MrR(U, 4.0, phi0), unsetSpanCount},
            {"Wk", asym ? 19.0 : c.getNominal_Wk(3, U, phi0), 3},
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << row.feature << (asym ? " asymmetrical" : ""));
            kest::RootSecantMethod solver(secantTolerance, secantIterationLimit);
            const double found =
                c.getPhiB0_offset(row.feature, row.measured, 4.0, 5.0, 2 * r, U, U, row.k, solver);
            const bool refused = asym && (row.k != unsetSpanCount || row.feature[2] == 'R');
            if (refused) { // pins and spans are not defined for an asymmetrical gear
                EXPECT_EQ(found, U);
                continue;
            }
            EXPECT_NEAR(found, phi0, 1e-10);
            EXPECT_LE(solver.getIterations(), 5u);
        }
    }
    const GearCalculator c(&symmetric);
    EXPECT_THROW_MSG(c.getPhiB0_offset("Wk", 19.0, U, 0.0, U, U, U, 0),
                     "for base tangent length calculation span teeth number must be given.");
    EXPECT_THROW_MSG(c.getPhiB0_offset("MdX", 70.0, 4.0, 0.0, U, U, U, unsetSpanCount),
                     "MdX can not be calculated for given gear or not yet implemented");
    // no ball fits at any offset: no pair of defined start values within the budget
    EXPECT_EQ(c.getPhiB0_offset("MdK", 70.0, 200.0, 0.0, U, U, U, unsetSpanCount), U);
}

// Balls that find no place at one end of the start interval: a small one sinks into the wider spaces of
// thinner teeth, a large one stands out of the narrower spaces of thicker teeth. The interval closes in on
// the defined part (for the large one over several steps) and the offset is found.
TEST(flank_offset, BallsThatFitOnlyPartOfTheStartInterval) {
    const TestGear t{"helical, z 23, x 0.2", 23, 2.5, 15.0, 20.0, 0.2};
    const CylindricalGearGeometry g = t.make();
    const GearCalculator c(&g);
    const struct { double ball, phi0; } rows[]{{2.5, 0.004}, {57.0, -0.03}};
    for (const auto& row : rows) {
        const double measured = c.getNominal_MdK(U, U, row.ball, 5.0, row.phi0);
        EXPECT_NEAR(c.getPhiB0_offset("MdK", measured, row.ball, 5.0, U, U, U, unsetSpanCount), row.phi0,
                    1e-10)
            << row.ball;
    }
}

// An asymmetrical gear whose flanks carry different coefficients: each flank's half of the tooth on the
// reference circle is (d / 2) (pi / 2 + 2 x tan(alpha_n)) / z (ISO 21771, s_t = m_t (pi / 2 + 2 x
// tan(alpha_n))), and the offset widens the tooth by (d / 2) phi0, so a thickness s measured there gives
// phi0 = 2 s / d - (pi + 2 (xL + xR) tan(alpha_n)) / z. Both flanks share the helix, so the axial position
// of the measurement does not matter.
TEST(flank_offset, AsymmetricalFlanksWithTheirOwnCoefficients) {
    using A = AsymmetricalGearGeometry;
    using FD = CylindricalGearGeometry::FlankDirection;
    using MV = CylindricalGearGeometry::ModuleVariant;
    using AMV = AddendumModificationVariant;
    const struct {
        int z;
        double betaDeg, xL, xR, measured;
    } rows[]{
        {37, 0.0, 0.15, -0.1, 4.0},
        {37, 0.0, -0.2, 0.4, 4.3},
        {23, 15.0, 0.3, 0.0, 4.2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "z " << row.z << ", xL " << row.xL << ", xR " << row.xR);
        const double mn = 2.5;
        const double beta = row.betaDeg * kest::test::deg;
        const double alphaN = 20 * kest::test::deg;
        const FD hand = row.betaDeg == 0.0 ? FD::Straight : FD::Right;
        const double d = row.z * mn / std::cos(beta);
        A g(row.z, 25.0, mn, beta, alphaN, row.xL, d + 2 * mn, d - 2.5 * mn, hand, MV::Normal,
            AMV::AddmodFactor, mn, beta, alphaN, row.xR, hand, MV::Normal, AMV::AddmodFactor);
        g.setAsymmetryVariant(A::AsymmetryVariant::Syt, row.measured, 5.0, Reference::LengthDatumToNonDatum,
                              d);
        const double expected =
            2 * row.measured / d - (kest::test::pi + 2 * (row.xL + row.xR) * std::tan(alphaN)) / row.z;
        EXPECT_NEAR(g.getNominalFlankOffsetAngle(), expected, 1e-10);
        EXPECT_NEAR(GearCalculator(&g).getNominal(NominalValue::FlankOffsetAngle).value, expected, 1e-10);
    }
}

} // namespace
