#include <kest/gear/beveloid_gear_geometry.h>

#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>

#include "geometry/angle_units.h"
#include "support/geometry_xml.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kest::gear {
namespace {

using G = CylindricalGearGeometry;
using A = AsymmetricalGearGeometry;
using B = BeveloidGearGeometry;
using FD = G::FlankDirection;
using MV = G::ModuleVariant;
using AMV = AddendumModificationVariant;

constexpr double U = unsetValue;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double deg(double degrees) {
    return radiansFromDegrees(degrees);
}

// The cone: delta 0.3 deg, beta_r 12 deg right hand, alpha_r 20 deg on the left flank and 22.5 on the right;
// flanks of z 29, mn 3 with about the effective values of that cone.
struct Cone {
    double delta = 0.3, betaRef = 12.0, left = 20.0, right = 22.5;
    bool corrected = false;
    B make() const {
        const A flanks(29, 20.0, 3.0, deg(12.1066), deg(19.9374), 0.0, 94.94, 81.44, FD::Right, MV::Normal,
                       AMV::AddmodFactor, 3.0, deg(11.878), deg(22.562), 0.0, FD::Right, MV::Normal,
                       AMV::AddmodFactor);
        return {flanks, delta, betaRef, left, right, corrected};
    }
};

std::string reasonOf(const B& g) {
    std::string reason = "stale";
    const bool valid = g.isValid(&reason);
    EXPECT_EQ(valid, reason.empty());
    return reason;
}

TEST(beveloid_gear_geometry, ValidationReasons) {
    const std::vector<std::pair<Cone, const char*>> rows{
        {{}, ""},
        {{.delta = 0.0, .left = 20.0, .right = 20.0}, ""},
        {{.corrected = true}, ""},
        {{.delta = U}, "cone angle not initialized"},
        {{.betaRef = U}, "reference helix angle not initialized"},
        {{.left = U}, "left reference pressure angle not initialized"},
        {{.right = U}, "right reference pressure angle not initialized"},
        // delta - atan(sin(delta)) is about delta^3 / 2: 1.14e-7 rad at 0.35 deg, 1.70e-7 at 0.4 deg
        {{.delta = -0.35}, ""},
        {{.delta = 0.4}, "given cone angle does not fulfill the control equation"},
        {{.delta = kNaN}, "cone angle not finite"},
        {{.betaRef = std::numeric_limits<double>::infinity()}, "reference helix angle not finite"},
        {{.left = kNaN}, "left reference pressure angle not finite"},
        {{.right = kNaN}, "right reference pressure angle not finite"},
    };
    for (const auto& [cone, reason] : rows)
        EXPECT_EQ(reasonOf(cone.make()), *reason ? std::string(reason) + " (beveloid gear)" : "")
            << cone.delta;
    EXPECT_EQ(reasonOf(B()), "gear not initialized (beveloid gear)");
    EXPECT_EQ(reasonOf(B(A(), 0.3, 12.0, 20.0, 22.5, false)), "gear not initialized (beveloid gear)");
    B narrow = Cone{.corrected = true}.make();
    EXPECT_EQ(narrow.getConcialCorrectedTolerance(), 0.05);
    for (const double t : {0.0, -0.1, 1.5})
        EXPECT_FALSE(narrow.setConcialCorrectedTolerance(t)) << t;
    ASSERT_TRUE(narrow.setConcialCorrectedTolerance(1.0));
    ASSERT_TRUE(narrow.setConcialCorrectedTolerance(0.0001)); // atan(0.0001 * 94.94 / 20) = 0.027 deg
    EXPECT_EQ(reasonOf(narrow),
              "given cone angle outside range of definition for conical corrected gears (beveloid gear)");
}

struct FlankRow {
    Side side;
    double beta, alphaT, alphaN, betaB, mn, db; // degrees and mm
};

// tan(beta_s) = tan(beta_r) cos(delta) + s tan(alpha_r) sin(delta) / cos(beta_r),
// tan(alpha_t) = tan(alpha_r) cos(delta) / cos(beta_r) - s tan(beta_r) sin(delta) (s = +1 left, -1 right),
// tan(alpha_n) = tan(alpha_t) cos(beta_s), tan(beta_b) = tan(beta_s) cos(alpha_t), mn_s = cos(beta_s) mn /
// cos(beta_r), d = z mn / cos(beta_r) = 88.9436317532575467768, db = d cos(alpha_t); evaluated to 30 digits.
TEST(beveloid_gear_geometry, EffectiveFlankValues) {
    const B g = Cone{}.make();
    for (const FlankRow& row :
         {FlankRow{Side::Left, 12.1066024722449971991, 20.3540231305234199486, 19.9373533698414342404,
                   11.3710031182787477108, 2.99880838279403781923, 83.3901157786367112523},
          FlankRow{Side::Right, 11.8782374358282596216, 23.0048380243396887613, 22.5620618351698526457,
                   10.9573949359676750079, 3.00134837314951951290, 81.8701098924888139033}}) {
        EXPECT_NEAR(g.getBeta_Calc(row.side, true, false), row.beta, 1e-12);
        EXPECT_NEAR(g.getAlphaT_Calc(row.side, false), row.alphaT, 1e-12);
        EXPECT_NEAR(g.getAlphaN_Calc(row.side, false), row.alphaN, 1e-12);
        EXPECT_NEAR(g.getBetaB_Calc(row.side, true, false), row.betaB, 1e-12);
        EXPECT_NEAR(g.getMN_Calc(row.side), row.mn, 1e-14);
        EXPECT_NEAR(g.getD(row.side, true), 88.9436317532575467768, 1e-12);
        EXPECT_NEAR(g.getDB(row.side, true), row.db, 1e-12);
    }
    EXPECT_TRUE(isUnset(g.getBeta_Calc(Side::Both, true, true)));
    EXPECT_TRUE(isUnset(Cone{.right = U}.make().getDB(Side::Right, true)));
}

// Whatever the flanks, the control equation gives back atan(sin(delta)); without a cone the flanks are the
// cylindrical gear of ISO 21771: alpha_t = atan(tan(alpha_n) / cos(beta)), sin(beta_b) = sin(beta)
// cos(alpha_n).
TEST(beveloid_gear_geometry, ConeRelations) {
    for (const Cone& cone : {Cone{}, Cone{.delta = -2.0, .betaRef = -25.0, .left = 14.5, .right = 30.0},
                             Cone{.delta = 7.5, .betaRef = 0.0}})
        EXPECT_NEAR(cone.make().getDelta_Calc(true), std::atan(std::sin(deg(cone.delta))), 1e-15)
            << cone.delta;
    const B cylinder = Cone{.delta = 0.0, .left = 20.0, .right = 20.0}.make();
    for (const Side side : {Side::Left, Side::Right}) {
        EXPECT_NEAR(cylinder.getAlphaN_Calc(side, false), 20.0, 1e-13);
        EXPECT_NEAR(cylinder.getAlphaT_Calc(side, false), 20.4103117536596917616, 1e-13);
        EXPECT_NEAR(cylinder.getBetaB_Calc(side, false, false), 11.2665188017952880137, 1e-13);
    }
}

TEST(beveloid_gear_geometry, FlanksFromTheCone) {
    // beta_r -0.05 deg: the cone leans the left flank to a right hand, the right flank to a left hand
    B g = Cone{.betaRef = -0.05}.make();
    const double mn = g.getMN_Calc(Side::Left);
    g.calcAsymParametersFromBeveloid();
    EXPECT_EQ(g.getFlankDirection(Side::Left), FD::Right);
    EXPECT_EQ(g.getFlankDirection(Side::Right), FD::Left);
    EXPECT_EQ(g.getBetaRad(Side::Right, true), g.getBeta_Calc(Side::Right, true, true));
    EXPECT_EQ(g.getAlphaNRad(Side::Right), g.getAlphaN_Calc(Side::Right, true));
    EXPECT_EQ(g.getMN(Side::Left), mn);
    g.calcAsymParametersFromBeveloid();
    EXPECT_NE(g.getMN(Side::Left), mn) << "the effective module is derived from the stored one";

    B zero = Cone{.delta = 0.0, .betaRef = 0.0}.make();
    EXPECT_EQ(zero.getBeta_Ref_direction(), FD::Straight);
    EXPECT_EQ(Cone{.betaRef = U}.make().getBeta_Ref_direction(), FD::Straight);
    zero.calcAsymParametersFromBeveloid();
    EXPECT_EQ(zero.getFlankDirection(Side::Left), FD::Right) << "no effective helix angle is still a hand";
}

TEST(beveloid_gear_geometry, Similarity) {
    const B b = Cone{}.make();

    // the similarity epsilon 1e-5, here in degrees; 1.5 of it lies beyond the rounding of the sums
    const std::vector<std::pair<Cone, bool>> rows{
        {{.corrected = true}, true},      {{.delta = 0.3 + 0.5e-5}, true},
        {{.delta = 0.3 - 1.5e-5}, false}, {{.betaRef = 12.0 + 1.5e-5}, false},
        {{.left = 20.0 + 1.5e-5}, false}, {{.right = 22.5 - 1.5e-5}, false},
    };
    for (const auto& [cone, similar] : rows) {
        EXPECT_EQ(b.isSimilar(cone.make()), similar);
        EXPECT_EQ(cone.make().isSimilar(b), similar);
    }
}

// ---- gear file -------------------------------------------------------------------------------------------

// Loaded into a geometry constructed as the gear loader does; "" when the load fails.
std::string reloaded(const std::string& text) {
    return test::reloadedGeometry(B(test::placeholderAsymmetrical(), 13.0, 14.0, 15.0, 16.0, true), text);
}

TEST(beveloid_gear_geometry, SavesTheCone) {
    B g = Cone{.betaRef = -12.0}.make();
    g.setUserString(B::ValueType::ConeAngle, "Kegel");
    g.setUserString(B::ValueType::ReferenceHelixAngle, "links");
    g.setUserString(A::ValueType::RightNormalModule, "m rechts");
    const std::string text = test::savedGeometry(g);
    EXPECT_NE(text.find("    </asymmetry>\n"
                        "    <beveloid>\n"
                        "      <cone_angle user_string=\"Kegel\">0.3</cone_angle>\n"
                        "      <reference>\n"
                        "        <helix_angle direction=\"left\" user_string=\"links\">12</helix_angle>\n"
                        "        <normal_pressure_angle side=\"left\">20</normal_pressure_angle>\n"
                        "        <normal_pressure_angle side=\"right\">22.5</normal_pressure_angle>\n"
                        "      </reference>\n"
                        "    </beveloid>\n"
                        "  </geometry>\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(reloaded(text), text);
}

TEST(beveloid_gear_geometry, LoadNeedsTheCone) {
    struct Row {
        const char* remove; // text taken out of the saved cone
        const char* insert; // and put in its place
        bool loads;
    };
    const std::string complete = test::savedGeometry(Cone{}.make());
    for (const Row& row : {Row{"<reference>", "<other>", false}, Row{"<beveloid>", "<other>", false},
                           Row{"<cone_angle>0.3</cone_angle>", "", false},
                           Row{"<helix_angle direction=\"right\">12</helix_angle>", "", false},
                           Row{"direction=\"right\">12<", "direction=\"spur\">12<", true},
                           Row{"<normal_module side=\"right\">3</normal_module>", "", false}}) {
        std::string text = complete;
        text.replace(text.find(row.remove), std::string(row.remove).size(), row.insert);
        if (std::string(row.insert) == "<other>") // the element renamed: its end tag as well
            text.replace(text.find("</" + std::string(row.remove + 1)), std::string(row.remove).size() + 1,
                         "</other>");
        EXPECT_EQ(reloaded(text) == complete, row.loads) << row.remove;
    }
}

} // namespace
} // namespace kest::gear
