#include <kest/gear/measurement_path.h>

#include "support/xml_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using kest::host::XMLNode;
using kest::test::serialized;

namespace {

using R = Reference;
using Points = std::vector<MeasurementPathPoint>;

TEST(measurement_path, RoundTripIsExact) {
    const Points points{
        {0.1, R::Diameter, 1.0 / 3.0, R::LengthDatumToNonDatum},
        {-0.0, R::RollingAngle, 5e-324, R::PercentNonDatumToDatum},
        {123456.78901234567, R::ReferenceDiameter, -std::numeric_limits<double>::max(),
         R::LengthNonDatumToDatum},
    };
    MeasurementPath path;
    ASSERT_TRUE(path.setPoints(points));
    MSXMLWrapper xml;
    xml.reset("setting");
    ASSERT_TRUE(path.saveXML(&xml, xml.getRootNode()));
    const std::string text = serialized(xml);
    EXPECT_NE(text.find("<point id=\"1\">\n    <position reference=\"diameter\">0.1</position>\n"
                        "    <height reference=\"length datum to non-datum\">0.3333333333333333</height>"),
              std::string::npos)
        << text;

    MSXMLWrapper read;
    ASSERT_TRUE(read.parse(text));
    MeasurementPath loaded;
    ASSERT_TRUE(loaded.loadXML(&read, read.getRootNode()));
    // The shortest round-trip text of a double is unique to its bits (-0 included), so an identical second
    // save means every value came back bit for bit.
    MSXMLWrapper again;
    again.reset("setting");
    ASSERT_TRUE(loaded.saveXML(&again, again.getRootNode()));
    EXPECT_EQ(serialized(again), text);
    EXPECT_FALSE(path.getPoints(nullptr));
}

// A point that would not load again is not saved: the save fails, and the good points are still written. A
// derived path can add points by identifier, 0 among them.
TEST(measurement_path, SaveRefusesWhatTheLoadRefuses) {
    struct DerivedPath : MeasurementPath {
        using MeasurementPath::addPoint;
    };
    const MeasurementPathPoint good{1.0, R::Diameter, 2.0, R::LengthDatumToNonDatum};
    const std::pair<unsigned int, MeasurementPathPoint> rows[] = {
        {0, good},
        {2, {1.0, R::LengthDatumToNonDatum, 2.0, R::LengthDatumToNonDatum}},
        {2, {1.0, R::Diameter, 2.0, R::Diameter}},
        {2, {1.0, static_cast<Reference>(-1), 2.0, R::LengthDatumToNonDatum}},
    };
    for (const auto& [id, point] : rows) {
        SCOPED_TRACE(id);
        DerivedPath path;
        ASSERT_TRUE(path.addPoint(1, good) && path.addPoint(id, point));
        MSXMLWrapper xml;
        xml.reset("setting");
        EXPECT_FALSE(path.saveXML(&xml, xml.getRootNode()));
        MeasurementPath loaded;
        EXPECT_TRUE(loaded.loadXML(&xml, xml.getRootNode())) << serialized(xml);
        Points kept;
        ASSERT_TRUE(loaded.getPoints(&kept));
        EXPECT_EQ(kept.size(), 1U);
    }
}

// A path point; `id` is the attribute as written, "" for none.
std::string pointXml(const std::string& id, const std::string& position = "9",
                     const std::string& positionReference = "diameter",
                     const std::string& heightReference = "length datum to non-datum") {
    return "<point" + id + "><position reference=\"" + positionReference + "\">" + position +
           "</position><height reference=\"" + heightReference + "\">1</height></point>";
}

// The positions of the points `text` loads into a path, and whether the load succeeded.
std::pair<bool, std::vector<double>> loadedPositions(const std::string& text) {
    MSXMLWrapper xml;
    EXPECT_TRUE(xml.parse("<setting>" + text + "</setting>"));
    MeasurementPath path;
    const bool result = path.loadXML(&xml, xml.getRootNode());
    Points points;
    path.getPoints(&points);
    std::vector<double> positions;
    for (const MeasurementPathPoint& p : points)
        positions.push_back(p.position);
    return {result, positions};
}

TEST(measurement_path, LoadKeepsTheGoodPoints) {
    const std::string id3 = R"( id="3")";
    const struct {
        const char* name;
        std::string badPoint; // stands between good points with ids 1 and 2
        bool result;          // whether the bad point, at position 9, is kept after the good ones
    } rows[] = {
        {"lenient id", pointXml(R"( id="3abc")"), true},
        {"id 0", pointXml(R"( id="0")"), false},
        {"negative id", pointXml(R"( id="-4")"), false},
        {"id not a number", pointXml(R"( id="x5")"), false},
        {"id missing", pointXml(""), false},
        {"id beyond 32 bits", pointXml(R"( id="4294967297")"), false},
        {"id just beyond 32 bits", pointXml(R"( id="4294967296")"), false},
        {"largest id", pointXml(R"( id="4294967295")"), true},
        {"repeated id", pointXml(R"( id="1")"), false},
        {"lead reference for position", pointXml(id3, "9", "percent datum to non-datum"), false},
        {"profile reference for height", pointXml(id3, "9", "diameter", "percent"), false},
        {"position not a number", pointXml(id3, "abc"), false},
        {"no height", R"(<point id="3"><position reference="diameter">9</position></point>)", false},
    };
    for (const auto& row : rows) {
        const auto [result, positions] =
            loadedPositions(pointXml(R"( id="1")", "1") + row.badPoint + pointXml(R"( id="2")", "2"));
        EXPECT_EQ(result, row.result) << row.name;
        EXPECT_EQ(positions, (row.result ? std::vector<double>{1, 2, 9} : std::vector<double>{1, 2}))
            << row.name;
    }
    // Identifiers in other orders; a repeated one is left out, the first point of the identifier staying.
    const struct {
        const char* ids; // one digit per point; the points' positions are 1, 2, ...
        std::vector<double> positions;
    } orders[] = {{"122", {1, 2}}, {"3213", {3, 2, 1}}};
    for (const auto& order : orders) {
        std::string text;
        for (int i = 0; order.ids[i]; ++i)
            text += pointXml(std::string(" id=\"") + order.ids[i] + "\"", std::to_string(i + 1));
        EXPECT_EQ(loadedPositions(text), std::make_pair(false, order.positions)) << order.ids;
    }
}

// Every reader and writer refuses a null wrapper or an empty node, leaving the object alone.
TEST(measurement_path, NullWrapperAndEmptyNode) {
    MSXMLWrapper xml;
    // the element holds what a point definition reads, so that only the null wrapper can refuse it
    ASSERT_TRUE(xml.parse(R"(<setting position="3" variation="4" reference="diameter">)" +
                          pointXml(R"( id="1")", "1") + "</setting>"));
    const XMLNode node = xml.getRootNode();
    MeasurementPath path;
    MeasurementPathPoint point(5.0, R::Diameter, 6.0, R::Percent);
    PointDefinition definition(1.0, 2.0, R::Diameter);
    XMLNode written;
    for (MSXMLWrapper* wrapper : {static_cast<MSXMLWrapper*>(nullptr), &xml}) {
        const XMLNode target = wrapper ? XMLNode() : node;
        EXPECT_FALSE(path.loadXML(wrapper, target));
        EXPECT_FALSE(path.saveXML(wrapper, target));
        EXPECT_FALSE(point.loadXML(wrapper, target));
        EXPECT_FALSE(point.saveXML(wrapper, target, 1));
        EXPECT_FALSE(definition.loadXML(wrapper, target));
        EXPECT_FALSE(definition.saveXML(wrapper, target, written));
    }
    Points points;
    ASSERT_TRUE(path.getPoints(&points));
    EXPECT_TRUE(points.empty());
    EXPECT_EQ(point.position, 5.0);
    EXPECT_EQ(definition.variation, 2.0);
    EXPECT_FALSE(written);
}

TEST(measurement_path, PointDefinition) {
    MSXMLWrapper xml;
    xml.reset("chart");
    XMLNode written;
    const PointDefinition point(0.1, 1.0 / 3.0, R::Percent);
    ASSERT_TRUE(point.saveXML(&xml, xml.getRootNode(), written));
    EXPECT_EQ(written, xml.getNode("point"));
    EXPECT_NE(
        serialized(xml).find(R"(<point position="0.1" variation="0.333333333333333" reference="percent" />)"),
        std::string::npos);

    const struct {
        const char* attributes;
        bool result;
        double position, variation;
        Reference reference;
    } rows[] = {
        {R"(position=" 2.5mm" variation="-1e-3" reference="rolling path")", true, 2.5, -0.001,
         R::RollingPath},
        {R"(position="abc" variation="4" reference="diameter")", false, 7, 4, R::Diameter},
        {R"(position="5" variation="4")", false, 5, 4, R::VCircleDiameter},
        {R"(position="5" variation="4" reference="length")", false, 5, 4, R::VCircleDiameter},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.attributes);
        MSXMLWrapper read;
        ASSERT_TRUE(read.parse(std::string("<point ") + row.attributes + "/>"));
        PointDefinition loaded(7, 8, R::VCircleDiameter);
        EXPECT_EQ(loaded.loadXML(&read, read.getRootNode()), row.result);
        EXPECT_EQ(loaded.position, row.position);
        EXPECT_EQ(loaded.variation, row.variation);
        EXPECT_EQ(loaded.reference, row.reference);
    }
}

} // namespace
