#include <kest/gear/calculation_functors.h>
#include <kest/gear/gear_calculator.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include "calc/gear_references.h"
#include "support/diagnostics_capture.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace kest::gear;
using kest::test::TestGear;

namespace {

using AMV = AddendumModificationVariant;
using FD = CylindricalGearGeometry::FlankDirection;
constexpr double U = unsetValue;

// The geometry stated with a test value computed by the closed forms of the standards gives back the
// coefficient (in closed form for the tooth thicknesses, by the secant method for the ball and pin
// dimensions), and the coefficient gives back that test value.
TEST(profile_shift, CoefficientAndClosedFormTestValuesBothWays) {
    const std::vector<TestGear> gears{
        {"helical, z 23, x 0.2", 23, 2.5, 15.0, 20.0, 0.2},
        {"spur, z 20, x -0.35", 20, 2.0, 0.0, 20.0, -0.35},
        {"internal spur, z -41, x 0.3", -41, 2.5, 0.0, 20.0, 0.3},
        {"internal helical, z -60, x 0.25", -60, 2.0, 12.0, 20.0, 0.25},
        {"internal helical, z -61, x -0.1", -61, 2.0, 12.0, 20.0, -0.1, FD::Left},
    };
    for (const TestGear& t : gears) {
        const double dM = 1.7 * t.mn;
        const double dv = t.db();
        // no pins in an internal helical gear; over an odd helical one the pins give 2 R_K + dR
        const bool pins = t.z > 0 || t.betaDeg == 0.0;
        const double mdr = t.betaDeg != 0.0 && t.z % 2 != 0 ? 2 * t.ballCentreRadius(dM) + dM : t.mdk(dM);
        const struct {
            AMV variant;
            double value;
        } rows[]{
            {AMV::AddmodMdk, t.mdk(dM)},
            {AMV::AddmodMrk, t.mrk(dM)},
            {AMV::AddmodMdr, pins ? mdr : U},
            {AMV::AddmodSt, t.st()},
            {AMV::AddmodSbt, t.syt(dv)},
            {AMV::AddmodSn, t.st() * std::cos(t.beta())},
            {AMV::AddmodSbn, t.syt(dv) * std::cos(t.betaB())},
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << t.name << ", variant " << static_cast<int>(row.variant));
            if (isUnset(row.value)) continue;
            EXPECT_NEAR(t.make(dM, row.variant, row.value).getX(Side::Left), t.x, 1e-8);
            EXPECT_NEAR(t.make(dM).getAddendumModification(Side::Left, row.variant, 10.0), row.value, 1e-9);
        }
    }
}

// The solve itself: the dimension is defined over the whole scan, so the secant starts from x = -3 and 3 and
// needs only a few steps on the nearly linear dimension-over-x curve.
TEST(profile_shift, SecantOnTheDimensionConvergesQuickly) {
    const TestGear t{"helical, z 23, x 0.2", 23, 2.5, 15.0, 20.0, 0.2};
    const CylindricalGearGeometry g = t.make();
    for (const char* name : {"MdK", "MrK", "MdR", "MrR"}) {
        SCOPED_TRACE(name);
        ProfileShiftCalculation f(g, 0.0, 4.0, 0.0);
        EXPECT_EQ(f.getDimension(), "not initialized");
        f.setDimension(name);
        EXPECT_EQ(f.getDimension(), name);
        ProfileShiftCalculation target(g, f.dimension(-0.4), 4.0, 0.0);
        target.setDimension(name);
        kest::RootSecantMethod solver(secantTolerance, secantIterationLimit);
        EXPECT_NEAR(target.solve(solver), -0.4, 1e-10);
        EXPECT_TRUE(solver.isConverged());
        EXPECT_LE(solver.getIterations(), 7u);
    }
    ProfileShiftCalculation f(g, 50.0, 4.0, 0.0);
    EXPECT_THROW_MSG(f.setDimension("Wk"), "Wk can not be calculated for given gear or not yet implemented");
    // a ball that finds no place in any space leaves nothing to solve
    ProfileShiftCalculation huge(g, 50.0, 200.0, 0.0);
    huge.setDimension("MdK");
    kest::RootSecantMethod solver(secantTolerance, secantIterationLimit);
    EXPECT_EQ(huge.solve(solver), U);
}

// A tooth count beyond half the int range still gives back its coefficient from a tooth thickness.
TEST(profile_shift, ToothThicknessOfAToothCountBeyondHalfTheIntRange) {
    const TestGear t{"z 2^30 + 3", 1'073'741'827, 1e-6, 0.0, 20.0, 0.2};
    EXPECT_NEAR(t.make(U, AMV::AddmodSt, t.st()).getX(Side::Left), t.x, 1e-6);
}

} // namespace
