#include <kest/gear/cylindrical_gear_geometry.h>

#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>

#include "geometry/angle_units.h"
#include "support/diagnostics_capture.h"
#include "support/geometry_xml.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

using namespace kest::gear;
using kest::host::MSXMLWrapper;

namespace {

using FD = CylindricalGearGeometry::FlankDirection;
using MV = CylindricalGearGeometry::ModuleVariant;
using VT = CylindricalGearGeometry::ValueType;
using AMV = AddendumModificationVariant;
using kest::test::placeholderCylindrical;
using kest::test::savedGeometry;

constexpr double U = unsetValue;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

double deg(double degrees) {
    return radiansFromDegrees(degrees);
}

// The arguments of the full constructor; the defaults are a valid right-hand helical gear.
struct Inputs {
    int z = 23;
    double b = 20.0, module = 2.5, beta = deg(15.0), alphaN = deg(20.0), addmod = 0.2, dA = 65.5, dF = 53.0;
    FD fd = FD::Right;
    MV mv = MV::Normal;
    AMV av = AMV::AddmodFactor;
    double dM = 4.5;

    CylindricalGearGeometry make() const {
        return {z, b, module, beta, alphaN, addmod, dA, dF, fd, mv, av, dM};
    }
};

// A derived geometry whose right flank has another module.
class RightModule7 : public CylindricalGearGeometry {
public:
    explicit RightModule7(const Inputs& in)
        : CylindricalGearGeometry(in.make()) {}
    double getMN(Side side) const override {
        return side == Side::Right ? 7.0 : CylindricalGearGeometry::getMN(side);
    }
};

std::string reasonOf(const CylindricalGearGeometry& geometry) {
    std::string reason = "stale text";
    const bool valid = geometry.isValid(&reason);
    EXPECT_EQ(valid, reason.empty()) << reason;
    EXPECT_EQ(geometry.isValid(), valid); // also without a reason to write
    return reason;
}

TEST(cylindrical_gear_geometry, ValidationReasons) {
    const struct {
        Inputs inputs;
        const char* reason; // "" for a valid geometry
    } rows[]{
        // clang-format off
        {{}, ""}, {{.beta = 0.0, .fd = FD::Straight}, ""}, {{.z = -20, .dA = 10.0, .dF = 20.0}, ""},
        {{.addmod = U, .av = AMV::AddmodValue}, ""}, // only the coefficient form requires the coefficient
        {{.z = 0}, "number of teeth not set"},        {{.z = 2}, "number of teeth smaller than 3"},
        {{.z = -2}, "number of teeth smaller than 3"}, {{.z = 2, .b = U}, "number of teeth smaller than 3"},
        {{.b = U}, "facewidth not initialized"},      {{.module = U}, "normal module not initialized"},
        {{.beta = U}, "helix angle not initialized"}, {{.alphaN = U}, "pressure angle not initialized"},
        {{.dA = U}, "tip diameter not initialized"},  {{.dF = U}, "root diameter not initialized"},
        {{.addmod = U}, "profile shift coefficient not initialized"}, {{.dA = 0.0}, "tip diameter not set"},
        {{.dF = 0.0}, "root diameter not set"},       {{.b = 0.0}, "facewidth not set"},
        {{.b = -20.0}, "negative facewidth"},         {{.beta = -deg(15.0)}, "negative helix angle"},
        {{.dA = 53.0, .dF = 53.0}, "tip diameter smaller equal than root diameter"},
        {{.z = -40, .dA = 110.0, .dF = 110.0}, "tip diameter greater equal than root diameter"},
        {{.beta = 0.0, .fd = FD::Left}, "slope set, but helix angle is zero"},
        {{.beta = 0.1, .fd = FD::Straight}, "slope not set, but helix angle is not zero"},
        {{.fd = static_cast<FD>(3)}, "flank direction unknown"}, {{.module = 0.0}, "normal module not set"},
        {{.module = -2.5}, "negative normal module"},  {{.alphaN = 0.0}, "pressure angle not set"},
        {{.alphaN = -deg(20.0)}, "negative pressure angle"},
        // values no gear can have, and values that are not numbers
        {{.z = 9999}, ""},                            {{.z = 10000}, "number of teeth greater than 9999"},
        {{.z = -10000, .dA = 10.0, .dF = 20.0}, "number of teeth greater than 9999"},
        {{.z = std::numeric_limits<int>::min()}, "number of teeth greater than 9999"},
        {{.b = kInf}, "facewidth not finite"},         {{.dA = kNaN}, "tip diameter not finite"},
        {{.dF = -kInf}, "root diameter not finite"},   {{.dM = kNaN}, "ball diameter not finite"},
        {{.dM = -4.5}, "negative ball diameter"},      {{.dM = U}, ""},
        {{.module = kNaN}, "normal module not finite"}, {{.beta = kNaN}, "helix angle not finite"},
        {{.beta = kNaN, .fd = FD::Straight}, "helix angle not finite"},
        {{.beta = deg(89.999)}, ""},                   {{.alphaN = deg(89.999)}, ""},
        {{.beta = deg(90.0)}, "helix angle greater equal than 90 degrees"},
        {{.beta = std::numbers::pi / 2}, "helix angle greater equal than 90 degrees"},
        {{.alphaN = kNaN}, "pressure angle not finite"},
        {{.alphaN = deg(90.0)}, "pressure angle greater equal than 90 degrees"},
        {{.alphaN = std::numbers::pi / 2}, "pressure angle greater equal than 90 degrees"},
        {{.addmod = -kInf}, "profile shift coefficient not finite"},
        // clang-format on
    };
    for (const auto& row : rows)
        EXPECT_EQ(reasonOf(row.inputs.make()),
                  *row.reason ? row.reason + std::string(" (cylindrical gear)") : "");
    EXPECT_EQ(reasonOf(CylindricalGearGeometry()), "gear not initialized (cylindrical gear)");
    EXPECT_EQ(CylindricalGearGeometry::FlankDirection_2_string(static_cast<FD>(3)), "wrong slope");
}

// Signed diameters evaluated in 30-digit arithmetic from the ISO 21771 relations d = z mn / cos(beta) =
// z mt, tan(alpha_t) = tan(alpha_n) / cos(beta), db = d cos(alpha_t), dV = d + 2 x mn, with the module and
// the addendum modification in each form they can be entered in (diametral pitch here is 10 / m; a shift x mn
// is divided by the normal module after the module was converted); an unset input gives unset values.
TEST(cylindrical_gear_geometry, DiametersMatchIso21771) {
    const double d23 = 59.52838037357977534, db23 = 55.704946346940916874, dv23 = 60.52838037357977534;
    const double dT = 57.5, dbT = 53.806846328557121109, dvT = 58.465925826289068287; // mt 2.5
    const struct {
        Inputs inputs;
        double d, db, dv, signedBetaDeg;
    } rows[]{
        // clang-format off
        // spur z 20, mn 2, alpha 20; helical right z 23, mn 2.5, beta 15, alpha 20, x 0.2
        {{.z = 20, .module = 2.0, .beta = 0.0, .addmod = 0.0, .dA = 44.0, .dF = 35.0, .fd = FD::Straight},
         40.0, 37.587704831436335362, 40.0, 0.0},
        {{}, d23, db23, dv23, 15.0},
        // helical left z 17, mn 4, beta 30, alpha 25, x -0.3
        {{.z = 17, .module = 4.0, .beta = deg(30.0), .alphaN = deg(25.0), .addmod = -0.3, .fd = FD::Left},
         78.519636609789103973, 69.134727774951067076, 76.119636609789103973, -30.0},
        // internal spur z -40, mn 3, alpha 20; internal helical left z -60, mn 1.5, beta 12.5, alpha 17.5,
        // x 0.4
        {{.z = -40, .module = 3.0, .beta = 0.0, .addmod = 0.0, .fd = FD::Straight},
         -120.0, -112.76311449430900609, -120.0, 0.0},
        {{.z = -60, .module = 1.5, .beta = deg(12.5), .alphaN = deg(17.5), .addmod = 0.4, .fd = FD::Left},
         -92.185156288305831321, -87.723830914527074178, -90.985156288305831321, -12.5},
        {{.module = 2.5, .mv = MV::Transverse}, dT, dbT, dvT, 15.0},
        {{.module = 4.0, .mv = MV::DiametralPitchTransverse}, dT, dbT, dvT, 15.0},
        {{.module = 4.0, .mv = MV::DiametralPitchNormal}, d23, db23, dv23, 15.0},
        {{.addmod = 0.5, .av = AMV::AddmodValue}, d23, db23, dv23, 15.0},
        {{.module = 4.0, .addmod = 0.5, .mv = MV::DiametralPitchNormal, .av = AMV::AddmodValue},
         d23, db23, dv23, 15.0},
        {{.z = 0}, U, U, U, 15.0}, {{.module = U}, U, U, U, 15.0}, {{.beta = U}, U, U, U, U},
        {{.module = U, .mv = MV::DiametralPitchNormal}, U, U, U, 15.0},
        {{.beta = U, .mv = MV::Transverse}, U, U, U, U},
        {{.addmod = U, .av = AMV::AddmodValue}, d23, db23, U, 15.0},
        {{.beta = U, .fd = FD::Straight}, 57.5, 54.032325695189732083, 58.5, U}, // spur: needs no helix angle
        {{.alphaN = U}, d23, U, dv23, 15.0}, {{.addmod = U}, d23, db23, U, 15.0},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.d);
        const CylindricalGearGeometry g = row.inputs.make();
        EXPECT_NEAR(g.getD(Side::Left, true), row.d, 1e-12 * std::fabs(row.d));
        EXPECT_NEAR(g.getDB(Side::Right, true), row.db, 1e-12 * std::fabs(row.db));
        EXPECT_NEAR(g.getDV(Side::Left, true), row.dv, 1e-12 * std::fabs(row.dv));
        EXPECT_EQ(g.getDV(Side::Left, false), std::fabs(g.getDV(Side::Left, true)));
        EXPECT_EQ(g.getBetaDeg(Side::Left, true), row.signedBetaDeg); // negative for a left hand
        EXPECT_EQ(g.getBetaDeg(Side::Left, false), std::fabs(row.signedBetaDeg));
        if (!isUnset(row.d)) { // the module comes back in the form it was entered
            EXPECT_NEAR(g.getM(Side::Left, row.inputs.mv), row.inputs.module, 1e-14);
        }
    }
    // Evaluation length of the spur profile: roll length sqrt(ra^2 - rb^2) - rb tan(alpha) from the reference
    // circle to the tip plus the rack's addendum path mn / sin(alpha), evaluated to 20 digits.
    EXPECT_NEAR(rows[0].inputs.make().getLAE(Side::Left), 10.443600093520849752, 1e-12);
    EXPECT_TRUE(isUnset(Inputs{.dA = U}.make().getLAE(Side::Left)));
}

// Each stated form against the closed forms, both ways, is the profile-shift test's; here what no form gives.
TEST(cylindrical_gear_geometry, FormsWithoutAValue) {
    kest::test::DiagnosticsCapture capture;
    const CylindricalGearGeometry internal = Inputs{.z = -41, .addmod = 0.1, .dA = 98.0, .dF = 113.0}.make();
    EXPECT_TRUE(isUnset(internal.getAddendumModification(Side::Left, AMV::AddmodMdr, 10.0))); // no pins
    EXPECT_EQ(capture.messages(kest::host::DiagnosticChannel::ErrorLog),
              std::vector<std::string>{"internal helix gear can not calculate MdR"});
    EXPECT_THROW_MSG(Inputs{.av = static_cast<AMV>(9)}.make(), "Unknown AddendumModificationVariant");
    EXPECT_THROW_MSG(Inputs{}.make().getAddendumModification(Side::Left, static_cast<AMV>(-1), 0.0),
                     "Unknown AddendumModificationVariant");
    // an unset value needs no conversion
    EXPECT_TRUE(isUnset(Inputs{.addmod = U, .av = AMV::AddmodMdk}.make().getX(Side::Left)));
}

// Similar: same tooth count and hand, the other values within the epsilon, both valid. A copy is a plain
// cylindrical gear made of the source's left flank (read through its getters), user strings and settings.
TEST(cylindrical_gear_geometry, SimilarityAndCopy) {
    const CylindricalGearGeometry base = Inputs{}.make();
    for (double Inputs::*value : {&Inputs::b, &Inputs::module, &Inputs::beta, &Inputs::alphaN,
                                  &Inputs::addmod, &Inputs::dA, &Inputs::dF})
        for (const double offset : {0.9e-5, -1.0000001e-5}) { // the epsilon itself is outside
            Inputs other;
            other.*value += offset;
            EXPECT_EQ(base.isSimilar(other.make()), offset > 0) << offset;
            EXPECT_EQ(other.make().isSimilar(base), offset > 0) << offset;
        }
    EXPECT_TRUE(base.isSimilar(Inputs{.dM = 9.0}.make())); // the ball diameter is not compared
    for (const Inputs& other : {Inputs{.z = 24}, Inputs{.fd = FD::Left}, Inputs{.dA = 0.0}})
        EXPECT_FALSE(base.isSimilar(other.make()) || other.make().isSimilar(base));
    EXPECT_FALSE(CylindricalGearGeometry().isSimilar(CylindricalGearGeometry()));
    RightModule7 source(Inputs{.module = 2.5 / std::cos(deg(15.0)), .mv = MV::Transverse, .dM = 3.25});
    source.setUserString(VT::TipDiameter, "tip");
    source.setSimilarityEpsilon(0.5);
    const CylindricalGearGeometry copy(source);
    EXPECT_STREQ(copy.getKindOf(), "cylindrical gear");
    EXPECT_EQ(copy.getMN(Side::Right), source.getMN(Side::Left));
    EXPECT_TRUE(copy.isSimilar(source) && copy.getModuleVariant() == MV::Transverse && copy.getDM() == 3.25);
    EXPECT_TRUE(copy.getUserString(VT::TipDiameter) == "tip" && copy.getSimilarityEpsilon() == 0.5);
}

// Every persisted double and user string comes back exactly, and a second save equals the first. Values as a
// person writes them (20.123 degrees) are written unchanged, in this order.
TEST(cylindrical_gear_geometry, RoundTripIsExact) {
    // clang-format off
    const Inputs rows[]{
        {.z = -41, .b = 12.345, .beta = deg(20.123), .alphaN = deg(17.75), .addmod = -0.1234, .dA = 118.7,
         .dF = 131.05, .fd = FD::Left, .mv = MV::DiametralPitchNormal}, // mn = 10 / 2.5
        {.z = -97, .b = 0.1 + 0.2, .module = 1.0 / 3.0, .beta = 0.123456789, .alphaN = 0.3490658503988659,
         .addmod = -0.30000000000000004, .dA = 1e-300, .dF = 123456.789e10, .fd = FD::Left,
         .mv = MV::Transverse, .dM = 5e-324},
        {.beta = 0.0, .alphaN = deg(14.5), .addmod = U, .dA = U, .fd = FD::Straight,
         .mv = MV::DiametralPitchNormal, .av = AMV::AddmodValue, .dM = U},
        {.beta = U, .alphaN = U}, // unset angles stay unset rather than being converted to degrees and back
    };
    const std::string firstFile =
        "<?xml version=\"1.0\"?>\n<gear>\n  <geometry>\n    <type>cylindrical gear</type>\n"
        "    <number_of_teeth>-41</number_of_teeth>\n"
        "    <face_width user_string=\"Breite\">12.345</face_width>\n"
        "    <tip_diameter>118.7</tip_diameter>\n    <root_diameter>131.05</root_diameter>\n"
        "    <normal_module module_variant=\"diametral_pitch_normal\">4</normal_module>\n"
        "    <helix_angle direction=\"left\" user_string=\"R3L83w==\" base_64=\"on\">20.123</helix_angle>\n"
        "    <normal_pressure_angle>17.75</normal_pressure_angle>\n"
        "    <addendum_modification>-0.1234</addendum_modification>\n"
        "    <addendum_modification_variant>addmod_factor</addendum_modification_variant>\n"
        "    <ball_diameter>4.5</ball_diameter>\n  </geometry>\n</gear>\n";
    // clang-format on
    const auto values = [](const CylindricalGearGeometry& g) {
        // clang-format off
        return std::vector<double>{1.0 * g.getZ(), 1.0 * static_cast<int>(g.getModuleVariant()),
            1.0 * static_cast<int>(g.getAddendumModificationVariant().get()), g.getB(), g.getMN(Side::Left),
            g.getX(Side::Left), g.getDA(), g.getDF(), g.getDM(), g.getBetaDeg(Side::Left, true),
            g.getAlphaNDeg(Side::Left)};
        // clang-format on
    };
    for (const Inputs& row : rows) {
        CylindricalGearGeometry g = row.make();
        g.setUserString(VT::FaceWidth, "Breite");
        g.setUserString(VT::FaceWidth, nullptr);       // ignored
        g.setUserString(static_cast<VT>(9), "no key"); // ignored
        g.setUserString(VT::HelixAngle, "Gr\xFC\xDF"); // Latin-1: stored base64
        const std::string first = savedGeometry(g);
        EXPECT_EQ(first, &row == rows ? firstFile : first);
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(first));
        CylindricalGearGeometry loaded = placeholderCylindrical();
        ASSERT_TRUE(loaded.loadXML(&xml, ""));
        EXPECT_EQ(values(loaded), values(g)) << first;
        EXPECT_EQ(savedGeometry(loaded), first);
    }
}

// The elements of a complete geometry with `remove` replaced by `insert`.
MSXMLWrapper completeWith(const char* remove, const char* insert) {
    std::string inside = "<number_of_teeth>20</number_of_teeth><face_width>10</face_width><tip_diameter>44"
                         "</tip_diameter><root_diameter>35</root_diameter><normal_module>2</normal_module>"
                         "<helix_angle direction=\"left\">10</helix_angle><normal_pressure_angle>20"
                         "</normal_pressure_angle><addendum_modification>0.1</addendum_modification>";
    const auto at = inside.find(remove);
    EXPECT_NE(at, std::string::npos) << remove;
    if (*remove) inside.replace(at, std::strlen(remove), insert);
    MSXMLWrapper xml;
    EXPECT_TRUE(xml.parse("<gear><version>9.02-44</version><geometry>" + inside + "</geometry></gear>"));
    return xml;
}

TEST(cylindrical_gear_geometry, LoadNeedsEveryRequiredElement) {
    for (const char* name :
         {"number_of_teeth", "face_width", "tip_diameter", "root_diameter", "normal_module", "helix_angle",
          "normal_pressure_angle", "addendum_modification"}) {
        MSXMLWrapper xml = completeWith("", "");
        ASSERT_TRUE(xml.deleteNodes(std::string("geometry/") + name));
        EXPECT_FALSE(placeholderCylindrical().loadXML(&xml, "")) << name;
    }
    const struct {
        const char *remove, *insert;
        bool result;
    } rows[]{
        {"", "", true},
        {"<helix_angle direction=\"left\">", "<helix_angle>", false},
        {"<face_width>10", "<face_width>ten", false},
        {"<number_of_teeth>20", "<number_of_teeth>3e9", false}, // beyond int
        {"<face_width>", "<addendum_modification_variant>x</addendum_modification_variant><face_width>",
         false},
        {"<face_width>", "<ball_diameter>3.5</ball_diameter><face_width>", true}, // optional
    };
    for (const auto& row : rows) {
        MSXMLWrapper xml = completeWith(row.remove, row.insert);
        EXPECT_EQ(placeholderCylindrical().loadXML(&xml, ""), row.result) << row.insert;
    }
    // Neither a missing document nor a missing node is read or created.
    MSXMLWrapper xml = completeWith("", "");
    CylindricalGearGeometry g = Inputs{}.make();
    EXPECT_FALSE(g.loadXML(&xml, "no/node") || g.saveXML(&xml, "no/node") || g.loadXML(nullptr, "") ||
                 g.saveXML(nullptr, "") || xml.getNode("no"));
}

// Older files name a spur gear's direction "spur" (its user string is written back as straight); an unknown
// module variant is taken as normal. A save replaces the whole geometry element and keeps the rest.
TEST(cylindrical_gear_geometry, LoadsOlderFormsAndSavesOverThem) {
    MSXMLWrapper xml = completeWith("<helix_angle direction=\"left\">10",
                                    "<beveloid/><helix_angle direction=\"spur\" user_string=\"gerade\">0");
    ASSERT_TRUE(xml.setStringValue("geometry/number_of_teeth", "-20.9"));
    ASSERT_TRUE(xml.addAttributeValue(xml.getNode("geometry/normal_module"), "module_variant", "metric"));
    ASSERT_TRUE(xml.setStringValue("geometry/addendum_modification_variant", "addmod_sn"));
    kest::test::DiagnosticsCapture capture(3);
    CylindricalGearGeometry g = Inputs{.mv = MV::Transverse}.make();
    ASSERT_TRUE(g.loadXML(&xml, ""));
    EXPECT_EQ(g.getZ(), -20); // truncated towards zero
    EXPECT_EQ(g.getFlankDirection(Side::Left), FD::Straight);
    EXPECT_EQ(g.getModuleVariant(), MV::Normal);
    ASSERT_EQ(capture.reports.size(), 1u);
    EXPECT_EQ(capture.reports[0].level, 3);
    EXPECT_EQ(capture.reports[0].message, "illegal module variant string found: <metric>");
    EXPECT_EQ(g.getX(Side::Left), 0.1); // the coefficient, whatever the variant
    EXPECT_EQ(g.getAddendumModificationVariant().get(), AMV::AddmodSn);
    EXPECT_TRUE(isUnset(g.getDM())); // missing: unset, also when it was set before

    const std::string document = savedGeometry(g, xml);
    EXPECT_NE(document.find("<helix_angle direction=\"straight\" user_string=\"gerade\">0<"),
              std::string::npos);
    EXPECT_NE(document.find("<version>9.02-44</version>"), std::string::npos);
    EXPECT_EQ(document.find("beveloid"), std::string::npos);
    EXPECT_EQ(document.find("ball_diameter"), std::string::npos); // unset: not written
}

} // namespace
