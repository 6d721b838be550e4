#include <kest/gear/asymmetrical_gear_geometry.h>

#include <kest/gear/beveloid_gear_geometry.h>
#include <kest/gear/gear.h>
#include <kest/gear/gear_calculator.h>
#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>

#include "geometry/angle_units.h"
#include "support/diagnostics_capture.h"
#include "support/gear_round_trip.h"
#include "support/geometry_xml.h"
#include "support/scratch_directory.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace kest::gear {
namespace {

using G = CylindricalGearGeometry;
using A = AsymmetricalGearGeometry;
using FD = G::FlankDirection;
using MV = G::ModuleVariant;
using AMV = AddendumModificationVariant;
using AV = A::AsymmetryVariant;

constexpr double U = unsetValue;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr Reference kDatum = Reference::LengthDatumToNonDatum;

double deg(double degrees) {
    return radiansFromDegrees(degrees);
}

// The arguments of the full constructor: a valid right-hand helical gear whose right flank is a drive side of
// 28 deg.
struct Flanks {
    int z = 37;
    double b = 25.0, module = 2.5, beta = deg(15.0), alphaN = deg(20.0), addmod = 0.15, dA = 101.5, dF = 90.0;
    FD fd = FD::Right;
    double rModule = 2.5, rBeta = deg(15.0), rAlphaN = deg(28.0), rAddmod = 0.15;
    FD rFd = FD::Right;
    MV rMv = MV::Normal;
    A make() const {
        return A(z, b, module, beta, alphaN, addmod, dA, dF, fd, MV::Normal, AMV::AddmodFactor, rModule,
                 rBeta, rAlphaN, rAddmod, rFd, rMv, AMV::AddmodFactor);
    }
};

// The helical gear with an asymmetry definition; the parameter is the ball or the measuring diameter.
A asym(AV variant, double value, double height, Reference reference, double parameter, const Flanks& f = {}) {
    A g = f.make();
    g.setAsymmetryVariant(variant, value, height, reference, parameter);
    return g;
}
A syt() {
    return asym(AV::Syt, 4.4, 12.5, kDatum, 96.0);
}

struct ReasonRow {
    const char* name;
    A geometry;
    const char* reason; // without the kind; "" for a valid geometry
};

TEST(asymmetrical_gear_geometry, ValidationReasons) {
    test::DiagnosticsCapture quiet; // the solver logs the unreachable dimension
    const std::vector<ReasonRow> rows{
        {"helical gear", Flanks{}.make(), ""},
        {"offset by a tooth thickness", syt(), ""},
        {"right transverse module without helix angle", Flanks{.rBeta = U, .rMv = MV::Transverse}.make(),
         "right normal module not initialized"},
        {"right helix angle", Flanks{.rBeta = U}.make(), "right helix angle not initialized"},
        {"right pressure angle", Flanks{.rAlphaN = U}.make(), "right pressure angle not initialized"},
        {"right coefficient", Flanks{.rAddmod = U}.make(), "right profile shift coefficient not initialized"},
        {"right before left", Flanks{.alphaN = 0.0, .rAlphaN = 0.0}.make(), "right pressure angle not set"},
        {"asymmetry before left", asym(AV::Syt, 4.4, 12.5, kDatum, U, {.alphaN = 0.0}),
         "asym_diameter not inizialized"},
        {"left flank last", Flanks{.alphaN = 0.0}.make(), "pressure angle not set"},
        {"no height", asym(AV::MdK, 103.1, U, kDatum, 4.5), "asym_height not inizialized"},
        {"height on the profile", asym(AV::MrK, 51.6, 12.5, Reference::Diameter, 4.5),
         "asym_height_reference has unknown reference"},
        {"no ball", asym(AV::MdK, 103.1, 12.5, kDatum, U), "asym_dm not inizialized"},
        {"unreachable dimension", asym(AV::MdK, 1000.0, 12.5, kDatum, 4.5),
         "nominal flank offset angle cannot be calculated"},
        {"right module not a number", Flanks{.rModule = kNaN}.make(), "right normal module not finite"},
        {"right helix angle not a number", Flanks{.rBeta = kNaN}.make(), "right helix angle not finite"},
        {"right pressure angle not a number", Flanks{.rAlphaN = kNaN}.make(),
         "right pressure angle not finite"},
        {"right coefficient infinite", Flanks{.rAddmod = kInf}.make(),
         "right profile shift coefficient not finite"},
        {"asymmetry value not a number", asym(AV::MdK, kNaN, 12.5, kDatum, 4.5), "asym_value not finite"},
        {"height infinite", asym(AV::MdK, 103.1, kInf, kDatum, 4.5), "asym_height not finite"},
        {"ball not a number", asym(AV::MrK, 51.6, 12.5, kDatum, kNaN), "asym_dm not finite"},
        {"measuring diameter not a number", asym(AV::Syt, 4.4, 12.5, kDatum, kNaN),
         "asym_diameter not finite"},
    };
    for (const ReasonRow& row : rows) {
        std::string reason = "stale";
        EXPECT_EQ(row.geometry.isValid(&reason), !*row.reason) << row.name;
        EXPECT_EQ(reason, *row.reason ? std::string(row.reason) + " (asymmetrical gear)" : "") << row.name;
    }
    std::string reason;
    EXPECT_FALSE(A().isValid(&reason));
    EXPECT_EQ(reason, "gear not initialized (asymmetrical gear)");
}

// With equal flanks the geometry is the cylindrical one, on either side, in every derived value.
TEST(asymmetrical_gear_geometry, EqualFlanksBehaveCylindrical) {
    for (const G& c : {G(31, 30.0, 3.2, deg(15.0), deg(20.0), -0.3, 101.7, 88.2, FD::Left,
                         MV::DiametralPitchTransverse, AMV::AddmodValue, 5.5),
                       G(-60, 12.0, 1.5, deg(12.5), deg(17.5), 0.4, 89.0, 95.0, FD::Right, MV::Normal,
                         AMV::AddmodFactor, U)}) {
        const A a(c, c.getMN(Side::Left), c.getBetaRad(Side::Left, false), c.getAlphaNRad(Side::Left),
                  c.getX(Side::Left), c.getFlankDirection(Side::Left), MV::Normal, AMV::AddmodFactor);
        EXPECT_TRUE(a.isValid());
        for (const Side side : {Side::Left, Side::Right}) {
            EXPECT_EQ(a.getDB(side, true), c.getDB(side, true));
            EXPECT_EQ(a.getDV(side, true), c.getDV(side, true));
            EXPECT_EQ(a.getBetaDeg(side, true), c.getBetaDeg(side, true));
        }
        EXPECT_TRUE(c.isSimilar(a)) << "the plain geometry compares values only";
        EXPECT_FALSE(a.isSimilar(c)) << "a derived geometry is not a plain one";
    }
}

// Right flank of z 31: diametral pitch 3.2 of the transverse module (mt = 10 / 3.2), beta 15 deg left hand,
// alpha_n 25 deg, shift 0.3 mm. ISO 21771: mn = mt cos(beta), d = z mt, tan(alpha_t) = tan(alpha_n) /
// cos(beta), db = d cos(alpha_t), dv = d + 2 x mn; evaluated to 30 digits.
TEST(asymmetrical_gear_geometry, RightFlankValues) {
    const A g(31, 30.0, 3.0, deg(15.0), deg(20.0), -0.1, 101.7, 88.2, FD::Left, MV::Normal, AMV::AddmodFactor,
              3.2, deg(15.0), deg(25.0), 0.3, FD::Left, MV::DiametralPitchTransverse, AMV::AddmodValue);
    EXPECT_NEAR(g.getMN(Side::Right), 3.01851820715333839609, 1e-15);
    EXPECT_NEAR(g.getX(Side::Right), 0.0993865133193679727, 1e-15);
    EXPECT_NEAR(g.getD(Side::Right, true), 96.875, 1e-12);
    EXPECT_NEAR(g.getDB(Side::Right, true), 87.2409879143362900220, 1e-12);
    EXPECT_NEAR(g.getDV(Side::Right, true), 97.475, 1e-12);
    EXPECT_NEAR(g.getM(Side::Right, MV::DiametralPitchTransverse), 3.2, 1e-15);
    EXPECT_EQ(g.getBetaRad(Side::Right, true), -deg(15.0));
    EXPECT_NEAR(g.getD(Side::Left, true), 96.2806847781377235938, 1e-12); // 31 * 3 / cos(15 deg)
    EXPECT_EQ(g.getAlphaNRad(Side::Both), deg(25.0)) << "any side but the left is the right flank";
    // The gear is spur or helical as a whole: a spur left flank makes d = z mn on the right as well.
    const A spur = Flanks{.beta = 0.0, .fd = FD::Straight}.make();
    EXPECT_EQ(spur.getD(Side::Right, false), 37 * 2.5);
}

struct SimilarRow {
    const char* name;
    A other;
    bool similar;
};

TEST(asymmetrical_gear_geometry, Similarity) {
    const double e = 1e-5, beta = deg(15.0); // the default similarity epsilon
    const std::vector<SimilarRow> rows{
        {"right module entered otherwise", Flanks{.rModule = 4.0, .rMv = MV::DiametralPitchNormal}.make(),
         true},
        {"right helix angle within epsilon", Flanks{.rBeta = beta + 0.5 * e}.make(), true},
        {"right helix angle", Flanks{.rBeta = beta + e}.make(), false},
        {"right hand", Flanks{.rFd = FD::Left}.make(), false},
        {"right module", Flanks{.rModule = 2.5 + e}.make(), false},
        {"right pressure angle", Flanks{.rAlphaN = deg(28.0) - e}.make(), false},
        {"right coefficient", Flanks{.rAddmod = 0.15 + e}.make(), false},
        {"flank offset", syt(), false},
    };
    const A base = Flanks{}.make();
    for (const SimilarRow& row : rows) {
        EXPECT_EQ(base.isSimilar(row.other), row.similar) << row.name;
        EXPECT_EQ(row.other.isSimilar(base), row.similar) << row.name;
    }
    EXPECT_FALSE(BeveloidGearGeometry(base, 0.0, 15.0, 20.0, 20.0, false).isSimilar(base));
}

TEST(asymmetrical_gear_geometry, AsymmetryDefinition) {
    A g = syt();
    EXPECT_FALSE(g.setAsymmetryVariantString("asym_MDK")) << "the whole text, case-sensitive";
    EXPECT_EQ(g.getAsymmetryVariantString(), "asym_syt");
    AV variant{};
    double value, height, parameter;
    Reference reference{};
    ASSERT_TRUE(g.getAsymmetryVariant(&variant, &value, &height, &reference, &parameter));
    EXPECT_EQ(parameter, 96.0) << "the measuring diameter";
    EXPECT_FALSE(g.getAsymmetryVariant(&variant, nullptr, &height, &reference, &parameter));

    // An unknown variant places nothing: valid, no offset, and each request is logged.
    test::DiagnosticsCapture capture;
    EXPECT_TRUE(g.setAsymmetryVariant(static_cast<AV>(7), 50.0, 12.5, kDatum, 4.5));
    EXPECT_EQ(g.getAsymmetryVariantString(), "asym_none");
    EXPECT_EQ(g.getNominalFlankOffsetAngle(), 0.0);
    EXPECT_EQ(
        capture.messages(host::DiagnosticChannel::ErrorLog),
        std::vector<std::string>(2, "AsymmetricalGearGeometry::getNominalFlankOffsetAngle(): not implement "
                                    "yet or not possible variant from it to calculate flank offset angle!"));
}

// The offset angle is the one at which the nominal value of the measured feature equals the measured value.
TEST(asymmetrical_gear_geometry, FlankOffsetMeetsTheMeasuredValue) {
    A g = Flanks{}.make();
    const GearCalculator calculator(&g);
    struct Row {
        AV variant;
        double value, parameter;
    };
    for (const Row& row : {Row{AV::Syt, 4.4, 96.0}, Row{AV::MdK, 103.1, 4.5}, Row{AV::MrK, 51.6, 4.5}}) {
        // 40 % from the non-datum face of b = 25 is 10 mm from it
        ASSERT_TRUE(g.setAsymmetryVariant(row.variant, row.value, 40.0, Reference::PercentNonDatumToDatum,
                                          row.parameter));
        const double phi0 = g.getNominalFlankOffsetAngle(), x = 0.15;
        EXPECT_NE(phi0, 0.0);
        const double nominal =
            row.variant == AV::Syt   ? calculator.getNominal_Syt(row.parameter / 2, 10.0, x, x, phi0)
            : row.variant == AV::MdK ? calculator.getNominal_MdK(x, x, row.parameter, 10.0, phi0)
                                     : calculator.getNominal_MrK(x, x, row.parameter, 10.0, phi0);
        EXPECT_NEAR(nominal, row.value, 1e-7) << static_cast<int>(row.variant);
    }
}

// ---- gear file -------------------------------------------------------------------------------------------

// Loaded into a geometry constructed as the gear loader does; "" when the load fails.
std::string reloaded(const std::string& text) {
    return test::reloadedGeometry(test::placeholderAsymmetrical(), text);
}

TEST(asymmetrical_gear_geometry, SaveAndLoad) {
    A g = asym(AV::MdK, 103.1, 12.5, kDatum, 4.5, {.rModule = 4.0, .rMv = MV::DiametralPitchNormal});
    g.setUserString(A::ValueType::RightHelixAngle, "rechts");
    g.setUserString(A::ValueType::RightNormalPressureAngle, "Zug\xE9"); // Latin-1: stored base64
    const std::string text = test::savedGeometry(g);
    EXPECT_NE(
        text.find(
            "    <addendum_modification_variant>addmod_factor</addendum_modification_variant>\n"
            "    <normal_module side=\"right\" "
            "module_variant=\"diametral_pitch_normal\">2.5</normal_module>\n"
            "    <helix_angle side=\"right\" direction=\"right\" user_string=\"rechts\">15</helix_angle>\n"
            "    <normal_pressure_angle side=\"right\" user_string=\"WnVn6Q==\" base_64=\"on\">28"
            "</normal_pressure_angle>\n"
            "    <addendum_modification side=\"right\">0.15</addendum_modification>\n"
            "    <asymmetry>\n"
            "      <asym_variant>asym_mdk</asym_variant>\n"
            "      <asym_value>103.1</asym_value>\n"
            "      <asym_height reference=\"length datum to non-datum\">12.5</asym_height>\n"
            "      <asym_dm>4.5</asym_dm>\n"
            "    </asymmetry>\n"
            "  </geometry>\n"),
        std::string::npos)
        << text;
    EXPECT_EQ(reloaded(text), text);

    // Every persisted value comes back bit for bit: a second save equals the first.
    const A odd(-97, 0.1 + 0.2, 2.5, 0.0, deg(20.0), 0.0, 90.0, 100.0, FD::Straight, MV::Normal,
                AMV::AddmodFactor, 1.0 / 3.0, 0.123456789, 0.3490658503988659, -0.30000000000000004, FD::Left,
                MV::Transverse, AMV::AddmodFactor);
    for (const A& other : {odd, asym(AV::MrK, 51.6, 25.0 / 3.0, Reference::LengthNonDatumToDatum, 4.5),
                           asym(AV::Syt, 4.4, 50.0, Reference::PercentDatumToNonDatum, 96.0)})
        EXPECT_EQ(reloaded(test::savedGeometry(other)), test::savedGeometry(other));

    g.setAsymmetryVariant(AV::Syt, 4.4, 12.5, kDatum, U); // cannot place the flank: not written
    host::MSXMLWrapper xml;
    xml.reset("gear");
    EXPECT_FALSE(g.saveXML(&xml, ""));
    EXPECT_TRUE(xml.getNode("geometry/asymmetry").empty());
}

TEST(asymmetrical_gear_geometry, LoadNeedsTheRightFlank) {
    struct Row {
        const char* remove; // text taken out of the saved gear
        const char* insert; // and put in its place
        bool loads;
    };
    const std::vector<Row> rows{
        {"<normal_module side=\"right\">2.5</normal_module>", "", false},
        {"<addendum_modification side=\"right\">0.15</addendum_modification>", "", false},
        {"side=\"right\" direction=\"right\"", "side=\"right\"", false},
        {"asym_none", "asym_nothing", false},
        {"asym_none", "asym_syt", false},                     // no measuring diameter
        {"<asym_variant>asym_none</asym_variant>", "", true}, // the variant stays
    };
    const std::string complete = test::savedGeometry(Flanks{}.make());
    for (const Row& row : rows) {
        std::string text = complete;
        text.replace(text.find(row.remove), std::string(row.remove).size(), row.insert);
        EXPECT_EQ(reloaded(text) == complete, row.loads) << row.remove;
    }
}

// The example files load, are valid, and a save, load and save again loses nothing.
class asymmetrical_gear_geometry_files : public test::ScratchDirectoryTest {};

TEST_F(asymmetrical_gear_geometry_files, ExampleFilesSurviveASaveAndLoad) {
    for (const char* name : {"asymmetrical_gear.xml", "beveloid_gear.xml"}) {
        const std::string file = std::string(GEARRECORDS_EXAMPLES) + "/" + name;
        std::string reason;
        EXPECT_TRUE(Gear(file.c_str()).isValid(reason)) << reason;
        EXPECT_EQ(test::gearRoundTrip(read(file), dir), "") << name;
    }
}

} // namespace
} // namespace kest::gear
