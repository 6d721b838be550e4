#include <kest/gear/gear_calculator.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include "calc/gear_references.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

using namespace kest::gear;
using kest::test::TestGear;

namespace {

constexpr double U = unsetValue;

// The nominal flank modification is zero, so with it switched on the pins still lie where the closed form of
// DIN 3960 puts them (gear_references.h); an odd helical external gear gives 2 R_K + dR.
TEST(balls_and_pins, PinsWithTheModificationOn) {
    const TestGear rows[]{
        {"spur, z 20", 20, 2.0, 0.0, 20.0, 0.0},
        {"helical, z 23, x 0.2", 23, 2.5, 15.0, 20.0, 0.2},
        {"left helical, z 24, x -0.2", 24, 3.0, 20.0, 20.0, -0.2,
         CylindricalGearGeometry::FlankDirection::Left},
        {"internal spur, z -41, x 0.2", -41, 2.5, 0.0, 20.0, 0.2},
    };
    for (const TestGear& t : rows) {
        SCOPED_TRACE(t.name);
        const CylindricalGearGeometry g = t.make();
        GearCalculator c(&g);
        c.setModificationStatus(true);
        const double dR = 1.75 * t.mn;
        const bool oddHelical = t.betaDeg != 0.0 && std::abs(t.z) % 2 == 1;
        EXPECT_NEAR(c.getNominal_MdR(U, dR, U), oddHelical ? 2 * t.ballCentreRadius(dR) + dR : t.mdk(dR),
                    1e-9);
        EXPECT_NEAR(c.getNominal_MrR(U, dR, U), t.mrk(dR), 1e-9);
        EXPECT_NEAR(c.getNominal(NominalValue::MdR, {.ballDiameter = dR}).value,
                    oddHelical ? 2 * t.ballCentreRadius(dR) + dR : t.mdk(dR), 1e-9);
    }
}

// A file can state any tooth count an int holds; the pitch count to the opposite space must not overflow at
// the largest odd one. With a module of 1 nm the gear is 2 m across; the closed form agrees to 0.1 um.
TEST(balls_and_pins, BallsAtTheLargestToothCount) {
    const TestGear t{"z INT_MAX", std::numeric_limits<int>::max(), 1e-6, 0.0, 20.0, 0.0};
    const CylindricalGearGeometry g = t.make();
    const double dK = 1.7 * t.mn;
    EXPECT_NEAR(GearCalculator(&g).getNominal_MdK(U, U, dK, U, U), t.mdk(dK), 1e-4);
}

} // namespace
