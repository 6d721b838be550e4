#include <kest/gear/design_profile.h>

#include "support/diagnostics_capture.h"
#include "support/xml_text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using R = Reference;
using RT = RegressionType;

namespace {

using kest::test::serialized;

struct P {
    double position;
    R reference = R::Diameter;
    double variation = 0.0;
};

DesignProfilePart part(RT type, double crowning, const std::vector<P>& points) {
    DesignProfilePart p;
    p.setRegressionType(type);
    p.setCrowning(crowning);
    unsigned int index = 1;
    for (const P& point : points)
        p.addPoint(index++, PointDefinition(point.position, point.variation, point.reference));
    return p;
}

TEST(design_profile, PartValidity) {
    const double eps = 2.220446049250313e-16;
    const std::tuple<const char*, DesignProfilePart, bool> rows[] = {
        {"line, two points", part(RT::Line, 0, {{1}, {2}}), true},
        {"line, four points", part(RT::Line, 0, {{1}, {2}, {3}, {4}}), true},
        {"line, one point", part(RT::Line, 0, {{1}}), false},
        {"line with crowning", part(RT::Line, 0.001, {{1}, {2}}), false},
        {"line, crowning within epsilon", part(RT::Line, eps, {{1}, {2}}), true},
        {"line, crowning beyond epsilon", part(RT::Line, -2 * eps, {{1}, {2}}), false},
        {"parabola, two points with crowning", part(RT::Parabola, 0.01, {{1}, {2}}), true},
        {"parabola, two points without", part(RT::Parabola, 0, {{1}, {2}}), false},
        {"parabola, three points without", part(RT::Parabola, 0, {{1}, {2}, {3}}), true},
        {"parabola, three points with", part(RT::Parabola, 0.01, {{1}, {2}, {3}}), false},
        {"parabola, four points", part(RT::Parabola, 0, {{1}, {2}, {3}, {4}}), false},
        {"parabola, one point", part(RT::Parabola, 0.01, {{1}}), false},
        {"continuous parabola", part(RT::ContinuousParabola, 0, {{1}, {2}, {3}}), false},
        {"outside the enumeration", part(static_cast<RT>(9), 0, {{1}, {2}}), false},
    };
    for (const auto& [name, p, valid] : rows)
        EXPECT_EQ(p.isValid(), valid) << name;
}

TEST(design_profile, ProfileValidity) {
    const auto profile = [](std::vector<DesignProfilePart> parts) { return DesignProfile(&parts); };
    const std::tuple<const char*, DesignProfile, bool> rows[] = {
        {"ascending", profile({part(RT::Line, 0, {{1}, {2}, {3}})}), true},
        {"descending", profile({part(RT::Line, 0, {{3}, {2}, {1}})}), true},
        {"repeated position", profile({part(RT::Line, 0, {{1}, {2}, {2}})}), false},
        {"turning back", profile({part(RT::Line, 0, {{1}, {3}, {2}})}), false},
        {"first two equal", profile({part(RT::Line, 0, {{2}, {2}})}), false},
        {"two references", profile({part(RT::Line, 0, {{1, R::Diameter}, {2, R::RollingPath}})}), false},
        {"one reference, not the first", profile({part(RT::Line, 0, {{1, R::Percent}, {2, R::Percent}})}),
         true},
        {"invalid part", profile({part(RT::Line, 0.5, {{1}, {2}})}), false},
        {"no part", profile({}), false},
        {"two valid parts", profile({part(RT::Line, 0, {{1}, {2}}), part(RT::Line, 0, {{2}, {3}})}), false},
        {"parabola", profile({part(RT::Parabola, 0, {{5}, {4}, {3}})}), true},
    };
    for (const auto& [name, p, valid] : rows)
        EXPECT_EQ(p.isValid(), valid) << name;
}

TEST(design_profile, ConstructionAndPoints) {
    EXPECT_FALSE(DesignProfile().isEnabled());
    const std::vector<DesignProfilePart> none;
    EXPECT_FALSE(DesignProfile(&none).isEnabled());
    const std::vector<DesignProfilePart> one{part(RT::Line, 0, {{1}, {2}})};
    EXPECT_TRUE(DesignProfile(&one).isEnabled());

    DesignProfilePart p = part(RT::Parabola, 0.5, {});
    EXPECT_TRUE(p.addPoint(7, PointDefinition(1, 0, R::Diameter)));
    EXPECT_TRUE(p.addPoint(3, PointDefinition(2, 0, R::Diameter)));
    EXPECT_FALSE(p.addPoint(7, PointDefinition(9, 0, R::Percent))); // the first point stays
    std::vector<PointDefinition> points{PointDefinition(0, 0, R::Percent)};
    EXPECT_FALSE(p.getPoints(nullptr));
    ASSERT_TRUE(p.getPoints(&points));
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].position, 2); // ascending index
    EXPECT_EQ(points[1].position, 1);
    p.clear();
    p.getPoints(&points);
    EXPECT_TRUE(points.empty());
    EXPECT_EQ(p.getCrowning(), 0.5);
    EXPECT_EQ(p.getRegressionType(), RT::Parabola);
}

TEST(design_profile, SaveAndLoadAgain) {
    std::vector<DesignProfilePart> parts{
        part(RT::Parabola, 0.0125, {{10, R::Diameter, 0.5}, {20, R::Diameter}}),
        part(RT::Line, 0.25, {{20}, {30}})};
    DesignProfile profile(&parts);
    profile.setName("Kopfrücknahme");
    MSXMLWrapper xml;
    xml.reset("gear");
    ASSERT_TRUE(profile.saveXML(&xml, xml.getRootNode(), 4));
    const std::string text = serialized(xml);
    EXPECT_EQ(
        text,
        "<?xml version=\"1.0\"?>\n<gear>\n  <design_profile enabled=\"on\" name=\"Kopfrücknahme\" "
        "measurement_index=\"4\">\n    <part regression=\"parabola\" crowning=\"0.0125\">\n      <point "
        "position=\"10\" variation=\"0.5\" reference=\"diameter\" id=\"1\" />\n      <point "
        "position=\"20\" variation=\"0\" reference=\"diameter\" id=\"2\" />\n    </part>\n    <part "
        "regression=\"line\">\n      <point position=\"20\" variation=\"0\" reference=\"diameter\" "
        "id=\"1\" />\n      <point position=\"30\" variation=\"0\" reference=\"diameter\" id=\"2\" "
        "/>\n    </part>\n  </design_profile>\n</gear>\n");

    DesignProfile loaded;
    ASSERT_TRUE(loaded.loadXML(&xml, xml.getNode("design_profile")));
    MSXMLWrapper again;
    again.reset("gear");
    ASSERT_TRUE(loaded.saveXML(&again, again.getRootNode(), 4));
    EXPECT_EQ(serialized(again), text);
    EXPECT_EQ(loaded.getParts()[1].getCrowning(), 0.0); // a line is saved without its crowning

    DesignProfile unnamed;
    unnamed.saveXML(&again, again.getRootNode(), 0);
    EXPECT_EQ(serialized(again).find("name=\"\""), std::string::npos);
    EXPECT_FALSE(profile.saveXML(nullptr, again.getRootNode(), 0));
    EXPECT_FALSE(profile.saveXML(&again, {}, 0));
}

// Each row: the part element, the result of loading it, the positions of the points kept, the crowning. The
// part starts with crowning 9; of points with a repeated id the first stays.
TEST(design_profile, PartLoad) {
    // clang-format off
    const std::tuple<const char*, bool, std::vector<double>, double> rows[] = {
        {R"(<part regression="line" crowning="0.5"><point id="1" position="1" variation="0" reference="diameter"/>)"
         R"(</part>)", true, {1}, 9},
        {R"(<part regression="parabola" crowning="0.5mm"/>)", true, {}, 0.5},
        {R"(<part regression="parabola"/>)", false, {}, 9},
        {R"(<part regression="parabola" crowning="x"/>)", false, {}, 9},
        {R"(<part regression="Line"/>)", false, {}, 9},
        {R"(<part/>)", false, {}, 9},
        {R"(<part regression="line"><point id="2" position="1" variation="0" reference="diameter"/><point )"
         R"(id="2" position="5" variation="0" reference="diameter"/><point id="3" position="2" variation="0" )"
         R"(reference="diameter"/></part>)", false, {1, 2}, 9},
        {R"(<part regression="line"><point id="-1" position="1" variation="0" reference="diameter"/><point )"
         R"(position="1" variation="0" reference="diameter"/><point id="4" position="2" variation="0" )"
         R"(reference="nowhere"/><point id="5" position="2" variation="0" reference="diameter"/></part>)",
         false, {2}, 9},
        {R"(<part regression="line"><point id="4294967296" position="1" variation="0" reference="diameter"/>)"
         R"(</part>)", false, {}, 9},
    };
    // clang-format on
    for (const auto& [element, result, positions, crowning] : rows) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(element));
        DesignProfilePart p;
        p.setCrowning(9);
        EXPECT_EQ(p.loadXML(&xml, xml.getRootNode()), result) << element;
        std::vector<PointDefinition> points;
        p.getPoints(&points);
        std::vector<double> kept;
        for (const PointDefinition& point : points)
            kept.push_back(point.position);
        EXPECT_EQ(kept, positions) << element;
        EXPECT_EQ(p.getCrowning(), crowning) << element;
        EXPECT_FALSE(p.loadXML(nullptr, xml.getRootNode()));
        EXPECT_FALSE(p.loadXML(&xml, {}));
    }
}

TEST(design_profile, ProfileLoad) {
    const std::tuple<const char*, bool, const char*, std::size_t> rows[] = {
        {R"(<design_profile enabled="on"><part regression="line"/><part regression="parabola" crowning="1"/>)"
         R"(</design_profile>)",
         true, "", 2},
        {R"(<design_profile enabled="off" name="n"/>)", true, "n", 0},
        {R"(<design_profile name="n"/>)", false, "n", 0},
        {R"(<design_profile enabled="on"><part regression="spline"/><part regression="line"/></design_profile>)",
         false, "", 2},
    };
    for (const auto& [element, result, name, parts] : rows) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(element));
        std::vector<DesignProfilePart> old{DesignProfilePart()};
        DesignProfile profile(&old);
        profile.setName("old");
        EXPECT_EQ(profile.loadXML(&xml, xml.getRootNode()), result) << element;
        EXPECT_EQ(profile.getName(), name) << element;
        EXPECT_EQ(profile.getParts().size(), parts) << element;
    }
}

} // namespace
