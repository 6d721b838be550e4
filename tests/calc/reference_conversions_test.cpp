#include <kest/gear/reference_conversions.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/evaluation_range.h>
#include <kest/gear/host/profile_scan.h>

#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <numbers>
#include <string>

namespace kg = kest::gear;
using kest::host::CProfileScanLinear3d;
using kg::CylindricalGearGeometry;
using kg::Side;
using MT = kg::Measurement_Type;
using R = kg::Reference;

namespace {

using FD = CylindricalGearGeometry::FlankDirection;

CylindricalGearGeometry gear(int z, double mn, double betaDeg, double x, double dA, double dF, FD direction) {
    const double deg = std::numbers::pi / 180;
    return CylindricalGearGeometry(z, 20.0, mn, betaDeg * deg, 20 * deg, x, dA, dF, direction,
                                   CylindricalGearGeometry::ModuleVariant::Normal,
                                   kg::AddendumModificationVariant::AddmodFactor, kg::unsetValue);
}
// Spur gear z 20, mn 5, alpha 20 deg, x 0.3: d 100, db = d cos 20 deg, dV = d + 2 x mn = 103, tip 113.
const CylindricalGearGeometry spur = gear(20, 5.0, 0.0, 0.3, 113.0, 90.5, FD::Straight);
// Internal helical gear z -40, mn 3, beta 15 deg, x 0.2: d = 120 / cos 15 deg, db = d cos alpha_t with
// tan alpha_t = tan 20 deg / cos 15 deg, dV = d - 2 x mn; its root circle (132) is the larger one.
const CylindricalGearGeometry internal = gear(-40, 3.0, 15.0, 0.2, 118.0, 132.0, FD::Right);

// Flank positions in every profile reference, indexed by the reference's value: roll path, roll angle,
// diameter, percent, diameter - dV, diameter - d. Worked out in 30-digit arithmetic from L = sqrt(r^2 -
// rb^2), xi = L / rb, percent of L at the larger of dA and dF, and the folded roll path inside the base
// circle.
using Position = std::array<double, 6>;
const Position kSpurPositions[]{
    {0.0, 0.0, 93.969262078590838, 0.0, -9.03073792140916, -6.03073792140916}, // db
    {17.1010071662834, 20.8539582918413, 100.0, 54.4967928611483, -3.0, 0.0},  // d
    {21.0877795441170, 25.7156593646485, 103.0, 67.2016766347605, 0.0, 3.0},   // dV
    {31.3798413970064, 38.2663955014285, 113.0, 100.0, 10.0, 13.0},            // tip
    // db / 2: L = -sqrt(0.75) rb
    {-40.68988406747, -49.61960058796, 46.98463103930, -129.6688646468, -56.0153689607, -53.0153689607},
    // L = -0.75 db: folded past the centre
    {-70.47694655894, -85.94366926962, -12.58949394365, -224.5930617281, -115.5894939437, -112.5894939437},
};
const Position kInternalPositions[]{
    {0.0, 0.0, 116.2538010718767, 0.0, -6.77934057733327, -7.97934057733327},               // db
    {20.1383196941495, 19.8503741696423, 123.033141649210, 64.4195084076552, 0.0, -1.2},    // dV
    {31.2612129336840, 30.8142279571996, 132.0, 100.0, 8.96685835079003, 7.76685835079003}, // root: 100 %
    // db / 2
    {-50.33937250737, -49.61960058796, 58.12690053594, -161.0282128661, -64.9062411133, -66.1062411133},
};

// Every pairwise member beside the references it converts between, row by row of the source reference.
#define PAIR(X, Y)                                                                                           \
    { R::X, R::Y, &kg::convertFrom##X##To##Y }
#define FROM(X, A, B, C, D, E) PAIR(X, A), PAIR(X, B), PAIR(X, C), PAIR(X, D), PAIR(X, E)
const struct {
    R from, to;
    double (*convert)(const CylindricalGearGeometry*, Side, double);
} kProfilePairs[]{
    FROM(RollingPath, RollingAngle, Diameter, Percent, VCircleDiameter, ReferenceDiameter),
    FROM(RollingAngle, RollingPath, Diameter, Percent, VCircleDiameter, ReferenceDiameter),
    FROM(Diameter, RollingPath, RollingAngle, Percent, VCircleDiameter, ReferenceDiameter),
    FROM(Percent, RollingPath, RollingAngle, Diameter, VCircleDiameter, ReferenceDiameter),
    FROM(VCircleDiameter, RollingPath, RollingAngle, Diameter, Percent, ReferenceDiameter),
    FROM(ReferenceDiameter, RollingPath, RollingAngle, Diameter, Percent, VCircleDiameter),
};
#undef PAIR
#undef FROM
#define PAIR(X, Y)                                                                                           \
    { R::X, R::Y, &kg::convert_From_##X##_To_##Y }
#define FROM(X, A, B, C) PAIR(X, A), PAIR(X, B), PAIR(X, C)
const struct {
    R from, to;
    double (*convert)(const CylindricalGearGeometry*, double);
} kLeadPairs[]{
    FROM(PercentDatumToNonDatum, PercentNonDatumToDatum, LengthDatumToNonDatum, LengthNonDatumToDatum),
    FROM(PercentNonDatumToDatum, PercentDatumToNonDatum, LengthDatumToNonDatum, LengthNonDatumToDatum),
    FROM(LengthDatumToNonDatum, PercentDatumToNonDatum, PercentNonDatumToDatum, LengthNonDatumToDatum),
    FROM(LengthNonDatumToDatum, PercentDatumToNonDatum, PercentNonDatumToDatum, LengthDatumToNonDatum),
};
#undef PAIR
#undef FROM

TEST(reference_conversions, ProfilePairsMeetIndependentValuesBothWays) {
    const auto check = [](const CylindricalGearGeometry* g, const Position& p) {
        for (const auto& pair : kProfilePairs) {
            const double from = p[static_cast<std::size_t>(pair.from)];
            SCOPED_TRACE(testing::Message() << kg::Reference_2_string(pair.from) << " " << from << " to "
                                            << kg::Reference_2_string(pair.to));
            const double tolerance = p[0] == 0.0 ? 2e-6 : 1e-9; // L at db: the root of a rounding error
            const double there = pair.convert(g, Side::Right, from);
            EXPECT_NEAR(there, p[static_cast<std::size_t>(pair.to)], tolerance);
            EXPECT_EQ(kg::convertProfileReference(g, Side::Right, pair.from, from, pair.to), there);
            EXPECT_NEAR(kg::convertProfileReference(g, Side::Left, pair.to, there, pair.from), from,
                        tolerance);
        }
    };
    for (const Position& p : kSpurPositions)
        check(&spur, p);
    for (const Position& p : kInternalPositions)
        check(&internal, p);
    // The same reference on both sides hands the value back without asking the geometry.
    EXPECT_EQ(kg::convertProfileReference(nullptr, Side::Left, R::Percent, 12.25, R::Percent), 12.25);
}

TEST(reference_conversions, StepsAskForTheGivenSide) {
    // A derived kind whose right flank has another base circle, as an asymmetrical gear has.
    struct RightFlankOther : CylindricalGearGeometry {
        RightFlankOther()
            : CylindricalGearGeometry(spur) {}
        double getDB(Side side, bool) const override { return side == Side::Right ? 90.0 : 100.0; }
    } g;
    // xi = 240 / pi deg = 4 / 3 rad on rb = 45 is L = 60, on d = 2 sqrt(45^2 + 60^2) = 150.
    EXPECT_NEAR(kg::convertFromRollingAngleToDiameter(&g, Side::Right, 240 / std::numbers::pi), 150.0, 1e-12);
}

TEST(reference_conversions, LeadPairsOverTheFaceWidth) {
    // On b = 20: percent from the datum face, percent from the other face, length from the datum face, length
    // from the other face. The last position lies beyond the non-datum face.
    const std::array<double, 4> positions[]{{25, 75, 5, 15}, {0, 100, 0, 20}, {110, -10, 22, -2}};
    const auto at = [](const std::array<double, 4>& p, R r) { return p[static_cast<std::size_t>(r) - 6]; };
    for (const auto& p : positions)
        for (const auto& pair : kLeadPairs) {
            const double there = pair.convert(&spur, at(p, pair.from));
            EXPECT_NEAR(there, at(p, pair.to), 1e-12)
                << kg::Reference_2_string(pair.from) << " " << at(p, pair.from);
            EXPECT_EQ(kg::convertLeadReference(&spur, pair.from, at(p, pair.from), pair.to), there);
        }
    EXPECT_EQ(kg::convertLeadReference(nullptr, R::LengthNonDatumToDatum, 7.5, R::LengthNonDatumToDatum),
              7.5);
}

// Points i = 0 .. 19 at y = 94 + i (diameters) and z = i (length from the datum face).
CProfileScanLinear3d scanOfSpur(const std::string& referenceY) {
    CProfileScanLinear3d scan;
    for (int i = 0; i < 20; ++i)
        scan.AddPoint(0.0, 94.0 + i, i);
    scan.SetParameter("ReferenceY", referenceY);
    return scan;
}

TEST(reference_conversions, ScanIndicesInsideARange) {
    CProfileScanLinear3d scan = scanOfSpur("diameter");
    scan.SetParameter("ReferenceZ", "length datum to non-datum");
    const struct {
        MT type;
        R reference;
        double start, end;
        long first, last;
    } rows[]{
        {MT::Profile, R::Diameter, 100.0, 105.0, 6, 11},
        {MT::Profile, R::Diameter, 105.0, 100.0, 6, 11},        // swapped
        {MT::TopographyProfile, R::Percent, 0.0, 100.0, 0, 19}, // db = 93.97 to the tip 113
        {MT::Profile, R::ReferenceDiameter, -0.5, 3.5, 6, 9},
        {MT::Lead, R::LengthNonDatumToDatum, 2.0, 5.5, 15, 18}, // z 14.5 to 18: reversed by the conversion
        {MT::TopographyLead, R::PercentDatumToNonDatum, 90.0, 10.0, 2, 18},
    };
    for (const auto& row : rows) {
        long first = -7, last = -7;
        EXPECT_TRUE(kg::convertRangeToProfileIndex(&spur, Side::Left, row.reference, row.start, row.end,
                                                   &scan, row.type, &first, &last));
        EXPECT_EQ(first, row.first) << row.start;
        EXPECT_EQ(last, row.last) << row.start;
    }
    // An evaluation range gives its reference and its main interval: that of the lead row above.
    kg::EvaluationRangeLine range("r");
    range.setReference(R::LengthNonDatumToDatum);
    range.setRange(-48.0, 2.0, 5.5, 55.5);
    long first = -7, last = -7;
    EXPECT_TRUE(kg::convertRangeToProfileIndex(&spur, Side::Left, &range, &scan, MT::Lead, &first, &last));
    EXPECT_EQ(first, 15);
    EXPECT_EQ(last, 18);
    EXPECT_FALSE(
        kg::convertRangeToProfileIndex(&spur, Side::Left, nullptr, &scan, MT::Profile, nullptr, nullptr));
    // Lines along the face width name their abscissa in ReferenceZ, all others in ReferenceY.
    for (const MT type : kg::allMeasurementTypes()) {
        const bool z = type == MT::Lead || type == MT::RoughnessLead || type == MT::FeedMark ||
                       type == MT::TopographyLead;
        EXPECT_EQ(kg::getMeasPathReference(&scan, type), z ? R::LengthDatumToNonDatum : R::Diameter);
    }
}

TEST(reference_conversions, Failures) {
    const CProfileScanLinear3d scan = scanOfSpur("diameter");
    const char* noReference = "no reference for 2D data in compute2DRegressionElement()";
    const char* noValidReference = "no valid reference for 2D data in compute2DRegressionElement()";
    const auto measPath = [](const std::string& referenceY, MT type) {
        const CProfileScanLinear3d s = scanOfSpur(referenceY);
        kg::getMeasPathReference(&s, type);
    };
    const auto range = [](R reference, double start, double end, const CProfileScanLinear3d& s, MT type) {
        long first = 0;
        kg::convertRangeToProfileIndex(&spur, Side::Left, reference, start, end, &s, type, &first, nullptr);
    };
    const struct {
        std::function<void()> call;
        const char* message;
    } rows[]{
        {[] { kg::convertProfileReference(&spur, Side::Left, R::Diameter, 1, R::PercentDatumToNonDatum); },
         "wrong profile reference"},
        {[] { kg::convertProfileReference(&spur, Side::Left, static_cast<R>(10), 1, static_cast<R>(10)); },
         "wrong profile reference"},
        {[] { kg::convertLeadReference(&spur, R::Percent, 1, R::PercentDatumToNonDatum); },
         "wrong lead reference"},
        // Texts compare case-sensitively; one that does not fit the 256 characters of the buffer reads as
        // missing.
        {[&] { measPath("Diameter", MT::Profile); }, noValidReference},
        {[&] { measPath("diameter", MT::Lead); }, noReference},
        {[&] { measPath(std::string(255, 'x'), MT::Profile); }, noValidReference},
        {[&] { measPath(std::string(256, 'x'), MT::Profile); }, noReference},
        {[&] { range(R::Diameter, 100, 105, scan, MT::RoughnessProfile); }, "wrong reference for range"},
        {[&] { range(R::Diameter, 100.2, 100.8, scan, MT::Profile); }, "no valid points in range"},
        {[&] { range(R::LengthDatumToNonDatum, 1, 2, scan, MT::Profile); }, "wrong profile reference"},
        {[&] { range(R::Diameter, 100, 105, scan, MT::TopographyLead); }, noReference},
    };
    for (const auto& row : rows)
        EXPECT_THROW_MSG(row.call(), row.message);
}

} // namespace
