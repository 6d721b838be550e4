#include <kest/gear/kchart.h>

#include "support/kchart_parts.h"
#include "support/throw_message.h"
#include "support/xml_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using kest::test::part;
using kest::test::serialized;

namespace {

using M = Material;

TEST(kchart_part, Validity) {
    KChartPart parabola = part(M::Inside, {{0, 1}, {1, 2}});
    parabola.setRegressionType(RegressionType::Parabola);
    KChartPart crowned = part(M::Inside, {{0, 1}, {1, 2}});
    crowned.setRegressionType(RegressionType::ContinuousParabola);
    ASSERT_TRUE(crowned.setCrowning(0.01));
    KChartPart crownedLine = crowned;
    crownedLine.setRegressionType(RegressionType::Line);
    KChartPart cleared = part(M::Inside, {{0, 1}, {1, 2}});
    cleared.clear();

    const std::pair<KChartPart, bool> rows[] = {
        {part(M::BothSides, {{0, 1}, {1, 2}}, 0.0), false},  // no band width
        {part(M::BothSides, {{0, 1}, {1, 2}}, -1.0), false}, // negative band width
        {part(M::BothSides, {{0, 1}, {1, 2}}, 0.5), true},
        {part(M::Inside, {{0, 1}, {1, 2}}), true}, // one side needs no band width
        {part(M::Outside, {{0, 1}}), false},       // one point
        {parabola, true},
        {crowned, true},
        {crownedLine, false}, // a line takes no crowning
        {cleared, false},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(rows[i].first.isValid(), rows[i].second) << "row " << i;

    EXPECT_FALSE(parabola.setCrowning(0.01)); // only a continuous parabola takes one
    EXPECT_EQ(parabola.getCrowning(), 0.0);
    EXPECT_EQ(cleared.getMaterial(), M::BothSides);
    EXPECT_EQ(static_cast<int>(cleared.getRegressionType()), 0);
}

TEST(kchart_part, Points) {
    KChartPart p;
    EXPECT_EQ(static_cast<int>(p.getPositionReference()), -1);
    EXPECT_TRUE(p.addPoint(3, PointDefinition(5, 1, Reference::Diameter)));
    EXPECT_FALSE(p.addPoint(3, PointDefinition(6, 2, Reference::Diameter))); // replaces
    EXPECT_TRUE(p.addPoint(1, PointDefinition(4, 0, Reference::Percent)));
    std::vector<PointDefinition> points{PointDefinition(9, 9, Reference::Diameter)};
    ASSERT_TRUE(p.getPoints(&points));
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].position, 4);
    EXPECT_EQ(points[1].position, 6);
    EXPECT_EQ(p.getPositionReference(), Reference::Percent); // of the lowest index
    EXPECT_FALSE(p.getPoints(nullptr));
}

TEST(kchart_part, MinMax) {
    double maxP = 0, minP = 0, maxV = 0, minV = 0;
    ASSERT_TRUE(part(M::Inside, {{3, -4}, {1, -2}, {2, -7}}).getMinMax(&maxP, &minP, &maxV, &minV));
    EXPECT_EQ(maxP, 3);
    EXPECT_EQ(minP, 1);
    EXPECT_EQ(maxV, -2); // all variations negative
    EXPECT_EQ(minV, -7);
    EXPECT_TRUE(part(M::Inside, {{3, -4}, {1, -2}}).getMinMax(nullptr, nullptr, nullptr, &minV));
    EXPECT_FALSE(part(M::Inside, {{3, -4}}).getMinMax(&maxP, &minP, &maxV, &minV));
}

// Points on (0, 0) - (10, 10) - (20, 0), positions outside stay.
TEST(kchart_part, PointsLimitation) {
    const KChartPart roof = part(M::Inside, {{0, 0}, {10, 10}, {20, 0}});
    const std::pair<double, double> rows[] = {{-1, 99}, {0, 0}, {5, 5}, {10, 10}, {15, 5}, {20, 0}, {21, 99}};
    std::vector<PointDefinition> points;
    for (const auto& [position, variation] : rows)
        points.emplace_back(position, 99, Reference::RollingPath);
    ASSERT_TRUE(roof.getPointsLimitation(&points));
    for (std::size_t i = 0; i < points.size(); ++i)
        EXPECT_DOUBLE_EQ(points[i].variation, rows[i].second) << points[i].position;

    // equal positions: slope 0 at the variation of the first point; the later segment wins
    std::vector<PointDefinition> at{PointDefinition(4, 0, Reference::RollingPath)};
    ASSERT_TRUE(part(M::Inside, {{4, 1}, {4, 3}, {8, 3}}).getPointsLimitation(&at));
    EXPECT_EQ(at[0].variation, 3);
    EXPECT_FALSE(roof.getPointsLimitation(nullptr));
    EXPECT_FALSE(part(M::Inside, {{0, 0}}).getPointsLimitation(&at));
}

TEST(kchart_part, Save) {
    MSXMLWrapper xml;
    xml.reset("kchart");
    KChartPart both = part(M::BothSides, {{0.5, 1.25}, {2, -3}}, 0.02);
    both.setRegressionType(RegressionType::Parabola);
    ASSERT_TRUE(both.saveXML(&xml, xml.getRootNode()));
    EXPECT_EQ(serialized(xml),
              "<?xml version=\"1.0\"?>\n<kchart>\n"
              "  <part material=\"both sides\" regression=\"parabola\">\n"
              "    <tolerance width=\"0.02\" />\n"
              "    <crowning shift=\"0\" />\n"
              "    <point position=\"0.5\" variation=\"1.25\" reference=\"rolling path\" id=\"0\" />\n"
              "    <point position=\"2\" variation=\"-3\" reference=\"rolling path\" id=\"1\" />\n"
              "  </part>\n</kchart>\n");
    // every persisted double comes back bit for bit
    KChartPart odd = part(M::BothSides, {{0.1, -0.000125}, {12.5, 3.0}}, 0.004);
    ASSERT_TRUE(odd.addPoint(7, PointDefinition(20, 1e-3, Reference::RollingPath)));
    for (const KChartPart& saved : {both, odd}) {
        MSXMLWrapper again;
        again.reset("kchart");
        ASSERT_TRUE(saved.saveXML(&again, again.getRootNode()));
        KChartPart back;
        ASSERT_TRUE(back.loadXML(&again, again.getNode("part")));
        EXPECT_EQ(back, saved);
    }
    KChartPart continuous;
    continuous.setRegressionType(RegressionType::ContinuousParabola);
    EXPECT_THROW_MSG(continuous.saveXML(&xml, xml.getRootNode()),
                     "internal error: ContinuousParabola not implemented");
    EXPECT_FALSE(both.saveXML(nullptr, xml.getRootNode()));
    EXPECT_FALSE(both.saveXML(&xml, {}));
}

// Each part element is read into a default part; the line is "result | material regression tolerance crowning
// | points".
TEST(kchart_part, Load) {
    const std::pair<const char*, const char*> rows[] = {
        {R"(<part material="inside" regression="line"><point position="1" variation="2" reference="diameter" id="4"/></part>)",
         "true | 0 1 0 0 | 1/2 "},
        {R"(<part material="both sides" regression="parabola"><tolerance width="0.5mm"/><crowning shift="0.1"/></part>)",
         "true | 2 2 0.5 0.1 | "},
        {R"(<part material="both sides" regression="line"/>)", "false | 2 1 0 0 | "},  // no tolerance
        {R"(<part material="outside" regression="parabola"/>)", "false | 1 2 0 0 | "}, // no crowning
        {R"(<part regression="line"><tolerance width="1"/></part>)", "false | 2 1 1 0 | "},
        {R"(<part material="inner" regression="line"><tolerance width="1"/></part>)", "false | 2 1 1 0 | "},
        {R"(<part material="inside" regression="line"><point position="1" variation="2" reference="diameter" id="-1"/>)"
         R"(<point position="3" variation="4" reference="diameter" id="2"/></part>)",
         "false | 0 1 0 0 | 3/4 "},
        {R"(<part material="inside" regression="line"><point position="1" variation="2" reference="diameter" id="2"/>)"
         R"(<point position="3" variation="4" reference="diameter" id="2"/></part>)",
         "false | 0 1 0 0 | 3/4 "}, // repeated id: the later point stays
        {R"(<part material="inside" regression="line"><point position="1" variation="2" id="2"/></part>)",
         "false | 0 1 0 0 | "}, // no reference
    };
    for (const auto& [text, expected] : rows) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(text));
        KChartPart p;
        const bool result = p.loadXML(&xml, xml.getRootNode());
        std::string line = std::string(result ? "true" : "false") + " | " +
                           std::to_string(static_cast<int>(p.getMaterial())) + " " +
                           std::to_string(static_cast<int>(p.getRegressionType())) + " ";
        line += (std::ostringstream() << p.getTolerance() << " " << p.getCrowning() << " | ").str();
        std::vector<PointDefinition> points;
        p.getPoints(&points);
        for (const PointDefinition& point : points)
            line += (std::ostringstream() << point.position << "/" << point.variation << " ").str();
        EXPECT_EQ(line, expected) << text;
    }
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse(rows[0].first));
    KChartPart p;
    EXPECT_FALSE(p.loadXML(nullptr, xml.getRootNode()) || p.loadXML(&xml, {}));
}

} // namespace
