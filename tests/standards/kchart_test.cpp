#include <kest/gear/kchart.h>

#include "support/kchart_parts.h"
#include "support/xml_text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using kest::test::chart;
using kest::test::part;
using kest::test::serialized;

namespace {

using M = Material;

struct ValidityRow {
    const char* what;
    std::vector<KChartPart> parts;
    bool valid;
    const char* message;
};

TEST(kchart, Validity) {
    const KChartPart in = part(M::Inside, {{0, 1}, {5, 2}}), out = part(M::Outside, {{0, 0}, {9, 0}});
    // clang-format off
    const ValidityRow rows[] = {
        {"no parts", {}, false, "no parts defined"},
        {"one inside part", {part(M::Inside, {{0, 1}, {10, 1}})}, false, "only one side defined"},
        {"one symmetric part", {part(M::BothSides, {{0, 1}, {10, 1}}, 0.1)}, true, ""},
        {"symmetric without width", {part(M::BothSides, {{0, 1}, {10, 1}})}, false, "kchartpart invalid"},
        {"symmetric with one point", {part(M::BothSides, {{0, 1}}, 0.1)}, false, "first part invalid"},
        {"inside and outside",
         {part(M::Inside, {{0, 1}, {10, 2}}), part(M::Outside, {{0, -1}, {10, -2}})}, true, ""},
        {"descending", {part(M::Inside, {{10, 1}, {0, 2}}), part(M::Outside, {{10, -1}, {0, -2}})}, true, ""},
        {"first points at one position",
         {part(M::Inside, {{0, 1}, {0, 2}}), part(M::Outside, {{0, -1}, {10, -2}})}, false, ""},
        {"two inside parts only", {in, part(M::Inside, {{5, 2}, {10, 2}})}, false, "only one side defined"},
        {"joined with the same variation", {in, part(M::Inside, {{5, 2}, {10, 2}}), out}, true, ""},
        {"joined with another variation", {in, part(M::Inside, {{5, 3}, {10, 3}}), out}, false,
         "double point definition"},
        {"turning back", {in, part(M::Outside, {{9, 0}, {3, 0}})}, false, "positions not monotone"},
        {"standing still", {part(M::Inside, {{0, 1}, {5, 2}, {5, 3}}), out}, false, "positions not monotone"},
        {"mixed references", {in, out, part(M::Outside, {{9, 0}, {12, 0}}, 0.0, Reference::Diameter)}, false,
         "points with different references"},
        {"two symmetric parts",
         {part(M::BothSides, {{0, 1}, {5, 1}}, 0.1), part(M::BothSides, {{5, 1}, {10, 1}}, 0.1)}, false,
         "multiple symmetric parts not allowed"},
        {"symmetric with a side",
         {part(M::BothSides, {{0, 1}, {5, 1}}, 0.1), part(M::Outside, {{5, 1}, {10, 1}})}, false,
         "a symmetric part may not be combined with another"},
        {"invalid second part", {in, part(M::Outside, {{0, 0}})}, false, "kchartpart invalid"},
    };
    // clang-format on
    for (const ValidityRow& row : rows) {
        std::string message;
        EXPECT_EQ(chart(row.parts).isValid(&message), row.valid) << row.what;
        EXPECT_EQ(message, row.message) << row.what;
        EXPECT_EQ(chart(row.parts).isValid(), row.valid) << row.what;
    }
}

TEST(kchart, Values) {
    const KChart twoSided =
        chart({part(M::Inside, {{0, -1}, {10, -3}}), part(M::Inside, {{10, -3}, {20, -2}}),
               part(M::Outside, {{0, -6}, {20, -5}})});
    double maxP = 0, minP = 0, maxV = 0, minV = 0;
    ASSERT_TRUE(twoSided.getMinMax(&maxP, &minP, &maxV, &minV));
    EXPECT_EQ(std::make_tuple(maxP, minP, maxV, minV), std::make_tuple(20.0, 0.0, -1.0, -6.0));

    std::vector<PointDefinition> points{PointDefinition(5, 0, Reference::RollingPath),
                                        PointDefinition(15, 0, Reference::RollingPath)};
    ASSERT_TRUE(twoSided.getPointsLimitation(&points, M::Inside));
    EXPECT_DOUBLE_EQ(points[0].variation, -2);
    EXPECT_DOUBLE_EQ(points[1].variation, -2.5);
    ASSERT_TRUE(twoSided.getPointsLimitation(&points, M::Outside));
    EXPECT_DOUBLE_EQ(points[0].variation, -5.75);
    points[0].variation = 7;
    ASSERT_TRUE(twoSided.getPointsLimitation(&points, M::BothSides)); // no such part: nothing changes
    EXPECT_EQ(points[0].variation, 7);

    const KChart invalid = chart({part(M::Inside, {{0, -1}, {10, -3}})});
    EXPECT_FALSE(invalid.getMinMax(&maxP, nullptr, nullptr, nullptr));
    EXPECT_FALSE(invalid.getPointsLimitation(&points, M::Inside));
    EXPECT_FALSE(twoSided.getPointsLimitation(nullptr, M::Inside));
    EXPECT_EQ(twoSided.getPositionReference(), Reference::RollingPath);
    EXPECT_EQ(static_cast<int>(KChart().getPositionReference()), -1);
}

TEST(kchart, AssigningPartsResetsTheChart) {
    KChart c = chart({part(M::BothSides, {{0, 1}, {10, 1}}, 0.1)});
    c.enable();
    c.setName("tip");
    c.setAlignment(Alignment::ToMaterial);
    c.setEvaluationOutsideRange(EvaluationOutsideRange::Off, M::Inside);
    c.setEvaluationOutsideRange(EvaluationOutsideRange::Up, M::BothSides); // the non-material value
    EXPECT_EQ(c.getEvaluationOutsideRange(M::Outside), EvaluationOutsideRange::Up);
    EXPECT_EQ(c.getEvaluationOutsideRange(M::Inside), EvaluationOutsideRange::Off);
    c = c.getParts();
    EXPECT_EQ(c, chart({part(M::BothSides, {{0, 1}, {10, 1}}, 0.1)}));
    EXPECT_FALSE(c.is_enabled());
}

TEST(kchart, Save) {
    MSXMLWrapper xml;
    xml.reset("profile");
    KChart c = chart({part(M::Inside, {{0, 1}, {10, 2}})});
    c.enable();
    c.setName("Kopf\xe4"); // not UTF-8
    c.setEvaluationOutsideRange(EvaluationOutsideRange::Down, M::Outside);
    ASSERT_TRUE(c.saveXML(&xml, xml.getRootNode(), 4));
    EXPECT_EQ(serialized(xml),
              "<?xml version=\"1.0\"?>\n<profile>\n"
              "  <kchart enabled=\"on\" name=\"S29wZuQ=\" base_64=\"on\" alignment=\"centered\" "
              "evaluation_outside_range_material=\"on\" evaluation_outside_range_non_material=\"down\" "
              "measurement_index=\"4\">\n"
              "    <part material=\"inside\" regression=\"line\">\n"
              "      <point position=\"0\" variation=\"1\" reference=\"rolling path\" id=\"0\" />\n"
              "      <point position=\"10\" variation=\"2\" reference=\"rolling path\" id=\"1\" />\n"
              "    </part>\n  </kchart>\n</profile>\n");
    KChart back;
    ASSERT_TRUE(back.loadXML(&xml, xml.getNode("kchart")));
    EXPECT_EQ(back, c);
    EXPECT_FALSE(c.saveXML(nullptr, xml.getRootNode(), 0));
    EXPECT_FALSE(c.saveXML(&xml, {}, 0));
}

// The line is "result | enabled alignment material non-material name | parts".
TEST(kchart, Load) {
    const std::pair<const char*, const char*> rows[] = {
        {R"(<kchart enabled="on" alignment="to material"/>)", "true | 1 0 3 3  | 0"},
        {R"(<kchart enabled="off" alignment="centered" name="tip" evaluation_outside_range_material="up"/>)",
         "true | 0 2 1 3 tip | 0"},
        {R"(<kchart enabled="on"/>)", "false | 1 2 3 3  | 0"},
        {R"(<kchart alignment="centered"/>)", "false | 0 2 3 3  | 0"},
        {R"(<kchart enabled="on" alignment="centered" evaluation_outside_range_non_material="sideways"/>)",
         "false | 1 2 3 3  | 0"},
        {R"(<kchart enabled="on" alignment="centered"><part material="inside" regression="line"/>)"
         R"(<part material="inside" regression="bent"/><part material="inside" regression="line"/></kchart>)",
         "false | 1 2 3 3  | 1"}, // parts only while everything read
    };
    for (const auto& [text, expected] : rows) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(text));
        KChart c;
        const bool result = c.loadXML(&xml, xml.getRootNode());
        const std::string line =
            std::string(result ? "true" : "false") + " | " + std::to_string(c.is_enabled()) + " " +
            std::to_string(static_cast<int>(c.getAlignment())) + " " +
            std::to_string(static_cast<int>(c.getEvaluationOutsideRange(M::Inside))) + " " +
            std::to_string(static_cast<int>(c.getEvaluationOutsideRange(M::Outside))) + " " + c.getName() +
            " | " + std::to_string(c.getParts().size());
        EXPECT_EQ(line, expected) << text;
    }
}

} // namespace
