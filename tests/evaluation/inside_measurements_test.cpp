#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/evaluation_range.h>
#include <kest/gear/gear.h>

#include "evaluation/inside_measurements.h"

#include <gtest/gtest.h>

#include <limits>
#include <numbers>
#include <vector>

using namespace kest::gear;

namespace {

using R = Reference;
using MT = Measurement_Type;

// Spur gear z 20, b 20, mn 5: lead positions in mm run from 0 to 20, so 10 % is 2 mm.
CylindricalGearGeometry spur() {
    const double deg = std::numbers::pi / 180;
    return CylindricalGearGeometry(20, 20.0, 5.0, 0.0, 20 * deg, 0.3, 113.0, 90.5,
                                   CylindricalGearGeometry::FlankDirection::Straight,
                                   CylindricalGearGeometry::ModuleVariant::Normal,
                                   AddendumModificationVariant::AddmodFactor, unsetValue);
}

// A path from (position a, height c) to (position b, height d); no points when a is NaN.
Gear_Measurement_Path path(MT type, Side side, double a, double b, double c, double d,
                           R height = R::LengthDatumToNonDatum) {
    Gear_Measurement_Info info;
    info.type = type;
    info.side = side;
    Gear_Measurement_Path setting(info);
    if (a == a)
        setting.path.setPoints({MeasurementPathPoint(a, R::Diameter, c, height),
                                MeasurementPathPoint(b, R::Diameter, d, height)});
    return setting;
}

TEST(inside_measurements, Table) {
    const CylindricalGearGeometry geometry = spur();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        const char* name;
        std::vector<Gear_Measurement_Path> settings;
        Side side;
        MT type;
        R reference;
        double lower, upper;
        bool inside;
    };
    const auto profile = [](Side side, double a = 95, double b = 110) {
        return std::vector{path(MT::Profile, side, a, b, 10, 10)};
    };
    const std::vector lead{path(MT::Lead, Side::Left, 100, 100, 2, 18)};
    // clang-format off
    const Row rows[] = {
        {"no paths, profile", {}, Side::Left, MT::Profile, R::Diameter, 96, 109, true},
        {"no paths, lead", {}, Side::Left, MT::Lead, R::PercentDatumToNonDatum, 15, 85, true},
        {"no paths, pitch", {}, Side::Left, MT::Pitch, R::Diameter, 96, 109, false},
        {"root circle is not examined", {path(MT::RootCircle, Side::Left, 95, 110, 0, 0)}, Side::Left,
         MT::RootCircle, R::Diameter, 1, 2, true},
        {"inside", profile(Side::Left, 110, 95), Side::Left, MT::Profile, R::Diameter, 96, 109, true},
        {"on the first point", profile(Side::Left), Side::Left, MT::Profile, R::Diameter, 95, 109, false},
        {"beyond the last point", profile(Side::Left), Side::Left, MT::Profile, R::Diameter, 96, 111, false},
        {"other flank", profile(Side::Right), Side::Left, MT::Profile, R::Diameter, 90, 120, true},
        {"path on both flanks", profile(Side::Both), Side::Left, MT::Profile, R::Diameter, 90, 120, false},
        {"asked for both flanks", profile(Side::Right), Side::Both, MT::Profile, R::Diameter, 90, 120, false},
        {"lead path inside", lead, Side::Left, MT::Lead, R::PercentDatumToNonDatum, 15, 85, true},
        {"lead limit on the start height", lead, Side::Left, MT::Lead, R::PercentDatumToNonDatum, 10, 85,
         false},
        {"lead range in a profile reference", lead, Side::Left, MT::Lead, R::Diameter, 96, 109, false},
        {"lead path heights in a profile reference",
         {path(MT::Lead, Side::Left, 100, 100, 2, 18, R::Diameter)}, Side::Left, MT::Lead, R::PercentDatumToNonDatum, 15, 85, false},
        {"tooth setting without points", {path(MT::Profile, Side::Left, nan, 0, 0, 0)}, Side::Left,
         MT::Profile, R::Diameter, 1, 2, true},
    };
    // clang-format on
    for (const auto& row : rows) {
        EvaluationRangeLine r("r");
        r.setReference(row.reference);
        r.setRange(row.lower, row.lower + 0.5, row.upper - 0.5, row.upper);
        EXPECT_EQ(rangeInsidePaths(&geometry, row.settings, row.side, row.type, r), row.inside) << row.name;
    }
    EvaluationRangeLine r("r");
    EXPECT_FALSE(rangeInsidePaths(nullptr, {path(MT::Profile, Side::Left, 95, 110, 0, 0)}, Side::Left,
                                  MT::Profile, r));
    EXPECT_FALSE(checkInsideMeasurements(nullptr, Side::Left, MT::Profile, &r));
    const Gear gear;
    EXPECT_FALSE(checkInsideMeasurements(&gear, Side::Left, MT::Profile, nullptr));
    EXPECT_TRUE(checkInsideMeasurements(&gear, Side::Left, MT::Profile, &r));
}

} // namespace
