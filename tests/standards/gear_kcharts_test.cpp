#include <kest/gear/kchart.h>

#include "support/kchart_parts.h"
#include "support/xml_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using kest::test::chart;
using kest::test::part;
using kest::test::serialized;

namespace {

using M = Material;
using T = Measurement_Type;

KChart named(const char* name) {
    KChart c = chart({part(M::BothSides, {{0, 1}, {10, 1}}, 0.1)});
    c.setName(name);
    return c;
}

const char* nameOf(const KChart* c) {
    return c ? c->getName().c_str() : "null";
}

TEST(gear_kcharts, FallbackToTheBothSideChart) {
    GearKCharts charts;
    const KChart both = named("both"), left = named("left");
    ASSERT_TRUE(charts.set(T::Profile, Side::Both, &both, 0));
    ASSERT_TRUE(charts.set(T::Profile, Side::Both, &both, 1));
    ASSERT_TRUE(charts.set(T::Profile, Side::Right, &left, 2));

    const std::tuple<Side, unsigned int, const char*> rows[] = {
        {Side::Left, 0, "both"},  // empty slot: the both-side chart
        {Side::Left, 1, "null"},  // the left side has one slot only
        {Side::Right, 1, "both"}, // empty slot within the right side's three
        {Side::Right, 2, "left"}, {Side::Both, 2, "null"}, {Side::Right, 3, "null"},
    };
    for (const auto& [side, index, expected] : rows)
        EXPECT_STREQ(nameOf(charts.get(T::Profile, side, index)), expected)
            << Side_2_string(side) << " " << index;
    EXPECT_EQ(charts.get(T::Lead, Side::Left, 0), nullptr);
    EXPECT_EQ(charts.get(T::Pitch, Side::Both, 0), nullptr);
    EXPECT_FALSE(charts.set(T::Pitch, Side::Both, &both, 0));
    EXPECT_FALSE(charts.clear(T::RootScan, Side::Both));
    EXPECT_EQ(charts.getNumberOfMeasurements(T::Pitch, Side::Both), 0u);
    // an empty slot just beyond the both-side slots: nothing to fall back to
    ASSERT_TRUE(charts.set(T::Lead, Side::Right, &left, 2));
    EXPECT_EQ(charts.get(T::Lead, Side::Right, 1), nullptr);
}

TEST(gear_kcharts, NumberOfMeasurements) {
    GearKCharts charts;
    const KChart c = named("c");
    EXPECT_EQ(charts.getNumberOfMeasurements(T::Lead, Side::Right), 0u);
    ASSERT_TRUE(charts.set(T::Lead, Side::Right, &c, 4));
    EXPECT_EQ(charts.getNumberOfMeasurements(T::Lead, Side::Right), 5u);
    ASSERT_TRUE(charts.set(T::Lead, Side::Right, &c, 1));
    ASSERT_TRUE(charts.set(T::Lead, Side::Right, nullptr, 4));
    EXPECT_EQ(charts.getNumberOfMeasurements(T::Lead, Side::Right), 2u);
    ASSERT_TRUE(charts.clear(T::Lead, Side::Right));
    EXPECT_EQ(charts.getNumberOfMeasurements(T::Lead, Side::Right), 0u);
}

TEST(gear_kcharts, CopiesAreDeep) {
    GearKCharts charts;
    const KChart c = named("first");
    ASSERT_TRUE(charts.set(T::Lead, Side::Left, &c, 3));
    GearKCharts copy(charts);
    const KChart other = named("second");
    ASSERT_TRUE(charts.set(T::Lead, Side::Left, &other, 3));
    EXPECT_STREQ(nameOf(copy.get(T::Lead, Side::Left, 3)), "first");
    copy = charts;
    EXPECT_STREQ(nameOf(copy.get(T::Lead, Side::Left, 3)), "second");
}

TEST(gear_kcharts, SaveReplacesTheChartsAndKeepsTheRest) {
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse(
        R"(<gear><evaluation><profile side="left"><range/><kchart/></profile></evaluation></gear>)"));
    GearKCharts charts;
    KChart a, b = named("b");
    a.setName("a");
    ASSERT_TRUE(charts.set(T::Lead, Side::Both, &a, 1));
    ASSERT_TRUE(charts.set(T::Profile, Side::Left, &b, 0));
    ASSERT_TRUE(charts.saveXML(&xml));
    std::string text = serialized(xml);
    // the part is left out of the comparison
    const std::size_t part = text.find("        <part");
    ASSERT_NE(part, std::string::npos);
    text.erase(part, text.find("</part>\n") + 8 - part);
    EXPECT_EQ(
        text,
        "<?xml version=\"1.0\"?>\n<gear>\n  <evaluation>\n    <profile side=\"left\">\n      <range />\n"
        "      <kchart enabled=\"off\" name=\"b\" alignment=\"centered\" "
        "evaluation_outside_range_material=\"on\" evaluation_outside_range_non_material=\"on\" "
        "measurement_index=\"0\">\n      </kchart>\n    </profile>\n"
        "    <lead side=\"both\">\n"
        "      <kchart enabled=\"off\" name=\"a\" alignment=\"centered\" "
        "evaluation_outside_range_material=\"on\" evaluation_outside_range_non_material=\"on\" "
        "measurement_index=\"1\" />\n    </lead>\n  </evaluation>\n</gear>\n");

    GearKCharts back;
    ASSERT_TRUE(back.loadXML(&xml));
    for (const T type : {T::Profile, T::Lead})
        for (const Side side : {Side::Left, Side::Right, Side::Both}) {
            EXPECT_EQ(back.getNumberOfMeasurements(type, side), charts.getNumberOfMeasurements(type, side));
            for (unsigned int index = 0; index < 2; ++index) {
                const KChart* expected = charts.get(type, side, index);
                const KChart* read = back.get(type, side, index);
                ASSERT_EQ(read == nullptr, expected == nullptr);
                if (read) {
                    EXPECT_EQ(*read, *expected);
                }
            }
        }
}

// Each file is loaded into a collection holding a lead chart; the line is the number of profile charts on the
// left, then of lead charts on both sides.
TEST(gear_kcharts, Load) {
    // A gear whose left profile holds the chart element with `attributes`.
    const auto leftChart = [](const std::string& attributes) {
        return R"(<gear><evaluation><profile side="left"><kchart )" + attributes +
               "/></profile></evaluation></gear>";
    };
    const std::string centered = R"(enabled="on" alignment="centered")";
    const std::tuple<std::string, bool, const char*> rows[] = {
        {"<gear/>", true, "0 0"},
        {leftChart(centered), true, "1 0"}, // no index: 0
        {leftChart(centered + R"( measurement_index="2")"), true, "3 0"},
        {leftChart(centered + R"( measurement_index="999")"), true, "1000 0"},
        {leftChart(centered + R"( measurement_index="1000")"), false, "0 1"},
        {leftChart(centered + R"( measurement_index="-1")"), false, "0 1"},
        {leftChart(R"(enabled="on")"), false, "0 1"},
    };
    for (const auto& [text, result, expected] : rows) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(text));
        GearKCharts charts;
        const KChart c = named("old");
        ASSERT_TRUE(charts.set(T::Lead, Side::Both, &c, 0));
        EXPECT_EQ(charts.loadXML(&xml), result) << text;
        EXPECT_EQ(std::to_string(charts.getNumberOfMeasurements(T::Profile, Side::Left)) + " " +
                      std::to_string(charts.getNumberOfMeasurements(T::Lead, Side::Both)),
                  expected)
            << text;
    }
}

} // namespace
