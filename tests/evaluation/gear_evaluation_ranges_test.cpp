#include "evaluation/gear_evaluation_ranges.h"

#include "support/compact_xml.h"
#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kest::gear;
using kest::host::DiagnosticChannel;
using kest::host::MSXMLWrapper;
using MT = Measurement_Type;

namespace {

EvaluationRangeLine line(const std::string& name, Reference reference, double a = 10, double b = 90) {
    EvaluationRangeLine range(name);
    range.setReference(reference);
    range.setRange(a, a, b, b);
    return range;
}

// The held ranges of a type and flank as "range:name:regression:limits", in range-type order.
std::string held(const GearEvaluationRanges& ranges, MT type, Side side) {
    std::vector<Gear_EvaluationRange> all;
    ranges.getAll(type, side, &all);
    std::string out;
    for (const auto& entry : all) {
        double a = 0, b = 0, c = 0, d = 0;
        entry.range->getRange(&a, &b, &c, &d);
        out += std::to_string(static_cast<int>(entry.rangeType)) + ":" + entry.range->getName() + ":" +
               std::to_string(static_cast<int>(entry.range->getRegressionType())) + ":" +
               std::to_string(int(a)) + "/" + std::to_string(int(b)) + "/" + std::to_string(int(c)) + "/" +
               std::to_string(int(d)) + " ";
    }
    return out;
}

TEST(gear_evaluation_ranges, AddRefusals) {
    struct Row {
        MT type;
        RangeType rangeType;
        Reference reference;
        Side side;
        bool added;
    };
    const Row rows[] = {
        {MT::Profile, RangeType::Main, Reference::Diameter, Side::Left, true},
        {MT::TopographyProfile, RangeType::Root, Reference::RollingPath, Side::Right, true},
        {MT::Lead, RangeType::DatumSide, Reference::PercentDatumToNonDatum, Side::Both, true},
        {MT::TopographyLead, RangeType::NonDatumSide, Reference::LengthNonDatumToDatum, Side::Left, true},
        {MT::Profile, RangeType::Main, Reference::PercentDatumToNonDatum, Side::Left, false},
        {MT::Profile, RangeType::Middle, Reference::Diameter, Side::Left, false},
        {MT::Lead, RangeType::Main, Reference::LengthDatumToNonDatum, Side::Left, false},
        {MT::Lead, RangeType::Middle, Reference::Diameter, Side::Left, false},
        {MT::RoughnessProfile, RangeType::Root, Reference::Diameter, Side::Left, false},
        {MT::Pitch, RangeType::Main, Reference::Diameter, Side::Left, false},
        {MT::Profile, RangeType::Unspecified, Reference::Diameter, Side::Left, false},
        {MT::Lead, RangeType::Unspecified, Reference::PercentDatumToNonDatum, Side::Left, false},
        {MT::Profile, RangeType::Main, Reference::Diameter, static_cast<Side>(3), false},
    };
    for (const auto& row : rows) {
        GearEvaluationRanges ranges;
        EXPECT_EQ(ranges.add(row.type, row.side, row.rangeType, line("r", row.reference)), row.added)
            << static_cast<int>(row.type) << " " << static_cast<int>(row.rangeType);
    }
    GearEvaluationRanges ranges;
    EXPECT_FALSE(
        ranges.add(MT::Profile, Side::Left, RangeType::Main, line("empty", Reference::Diameter, 50, 50)));
    EXPECT_FALSE(
        ranges.add(MT::Profile, Side::Left, RangeType::Main, EvaluationRange("bare", Reference::Diameter)));
}

TEST(gear_evaluation_ranges, BothFlanksAndOverwrites) {
    kest::test::DiagnosticsCapture capture(3);
    GearEvaluationRanges ranges;
    ASSERT_TRUE(ranges.add(MT::Profile, Side::Both, RangeType::Main, line("m", Reference::Diameter)));
    std::vector<Gear_EvaluationRange> left, right;
    ASSERT_EQ(ranges.getAll(MT::Profile, Side::Left, &left), 1U);
    ASSERT_EQ(ranges.getAll(MT::Profile, Side::Right, &right), 1U);
    EXPECT_EQ(ranges.getAll(MT::Profile, Side::Both, &left), 0U);
    EXPECT_EQ(left.size(), 1U); // not cleared, nothing appended

    ASSERT_TRUE(ranges.add(MT::Profile, Side::Left, RangeType::Main, line("m", Reference::Diameter)));
    EXPECT_TRUE(capture.messages(DiagnosticChannel::Trace).empty());
    ASSERT_TRUE(ranges.add(MT::Profile, Side::Left, RangeType::Main, line("m", Reference::Diameter, 20, 80)));
    EXPECT_EQ(capture.messages(DiagnosticChannel::Trace),
              std::vector<std::string>{"range main will be overwritten"});

    EvaluationRangeParabola out("out");
    ASSERT_TRUE(ranges.get(MT::Profile, Side::Left, RangeType::Main, &out));
    EXPECT_EQ(out.getRegressionType(), RegressionType::Line);
    EXPECT_TRUE(ranges.get(MT::Profile, Side::Right, RangeType::Main, nullptr));
    EXPECT_FALSE(ranges.get(MT::Profile, Side::Both, RangeType::Main, &out));
    EXPECT_FALSE(ranges.get(MT::Profile, Side::Left, RangeType::Tip, &out));

    const GearEvaluationRanges copy = ranges;
    EXPECT_TRUE(ranges.clear(MT::Profile));
    EXPECT_EQ(held(ranges, MT::Profile, Side::Left), "");
    EXPECT_EQ(held(copy, MT::Profile, Side::Left), "1:m:1:20/20/80/80 ");
    EXPECT_EQ(held(copy, MT::Profile, Side::Right), "1:m:1:10/10/90/90 ");
}

const char* kRange = "<reference>diameter</reference><main><lower>20</lower><upper>80</upper></main>";

std::string file(const std::string& evaluation) {
    return "<gear><evaluation>" + evaluation + "</evaluation></gear>";
}

// A left profile holding one range element with the attributes and, unless given, the limits kRange.
std::string leftRange(const std::string& attributes, const std::string& inside = kRange) {
    return "<profile side='left'><range " + attributes + ">" + inside + "</range></profile>";
}

TEST(gear_evaluation_ranges, Loads) {
    const std::string profileRoot =
        std::string("<range name='a' regression='parabola' type='root'>") + kRange + "</range>";
    const std::string tangentRelief =
        "range='tip' enabled='on'><evaluation_mode>TANGENT_RELIEF_METHOD</evaluation_mode></feature>";
    struct Row {
        std::string evaluation;
        bool loads;
        const char* left;
    };
    const Row rows[] = {
        {"<profile side='left'>" + profileRoot + "</profile>", true, "0:a:2:20/20/80/80 "},
        {"<profile side='left'><range name='b' regression='line' type='main'>" + std::string(kRange) +
             "</range>" + profileRoot + "</profile>",
         true, "0:a:2:20/20/80/80 1:b:1:20/20/80/80 "},
        {leftRange("name='a' type='root'"), false, ""},
        {leftRange("name='a' regression='line'"), false, ""},
        {leftRange("name='a' regression='line' type='top'"), false, ""},
        {leftRange("name='a' regression='cubic' type='root'"), false, ""},
        {leftRange("name='a' regression='line' type='root'", "<main><lower>1</lower></main>"), false, ""},
        // readable, but not for the gear: kept in the file, skipped with a warning
        {leftRange("name='a' regression='line' type='middle'"), true, ""},
        {"<roughness_profile side='left'>" + profileRoot + "</roughness_profile>", true, ""},
        {leftRange("name='a' regression='line' type='root'",
                   "<reference>diameter</reference><main><lower>20</lower><upper>20</upper></main>"),
         true, ""},
        // the tangent-relief mode of the tip's relief feature makes a continuous parabola
        {leftRange("name='t' regression='line' type='tip'") +
             "<feature name='Caa' side='left' measurement_index='0' " + tangentRelief,
         true, "2:t:3:20/20/80/80 "},
        {leftRange("name='t' regression='line' type='tip'") + "<feature name='Caa' measurement_index='0' " +
             tangentRelief,
         true, "2:t:1:20/20/80/80 "},
    };
    for (const auto& row : rows) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(file(row.evaluation)));
        GearEvaluationRanges ranges;
        EXPECT_EQ(ranges.load(xml), row.loads) << row.evaluation;
        if (row.loads) {
            EXPECT_EQ(held(ranges, MT::Profile, Side::Left), row.left) << row.evaluation;
        }
    }
}

TEST(gear_evaluation_ranges, LoadMessages) {
    kest::test::DiagnosticsCapture capture(3);
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse(
        file("<lead side='right'><range name='x' regression='line' type='root'>" + std::string(kRange) +
             "</range><range name='y' regression='line' type='middle'><reference>"
             "percent datum to non-datum</reference><main><lower>20</lower><upper>80</upper></main>"
             "</range><range name='z' regression='line' type='middle'><reference>"
             "percent datum to non-datum</reference><main><lower>30</lower><upper>70</upper></main>"
             "</range></lead>")));
    GearEvaluationRanges ranges;
    ASSERT_TRUE(ranges.load(xml));
    EXPECT_EQ(capture.messages(DiagnosticChannel::Trace),
              (std::vector<std::string>{
                  "WARNING: evaluation range 'x' of lead right (root) cannot be held and is not "
                  "loaded",
                  "profile range 2001 will be overwritten"}));
    EXPECT_EQ(held(ranges, MT::Lead, Side::Right), "2001:z:1:30/30/70/70 ");
}

// Saved ranges read back equal; a second save is identical; content the gear cannot hold stays, a removed
// range leaves the file, and two slots of one name both survive.
TEST(gear_evaluation_ranges, Saves) {
    MSXMLWrapper xml;
    const std::string kept =
        "<range name='k' regression='line' type='middle'>" + std::string(kRange) + "</range>";
    ASSERT_TRUE(xml.parse(file("<profile side='left'>" + kept + "<other/></profile>")));
    GearEvaluationRanges ranges;
    ASSERT_TRUE(ranges.load(xml));
    EvaluationRangeParabola parabola("same");
    parabola.setRange(1.0 / 3, 0.5, 0.75, 1.0);
    parabola.setAsymmetricParabola(0.6, 0.7);
    ASSERT_TRUE(ranges.add(MT::Profile, Side::Left, RangeType::Root, parabola));
    ASSERT_TRUE(ranges.add(MT::Profile, Side::Left, RangeType::Tip, line("same", Reference::RollingAngle)));
    ASSERT_TRUE(ranges.add(MT::TopographyLead, Side::Right, RangeType::Middle,
                           line("l", Reference::LengthDatumToNonDatum)));
    ASSERT_TRUE(ranges.save(xml));
    const std::string first = kest::test::compactXml(xml);
    for (const char* fragment :
         {"<profile side=\"left\"><range name=\"k\" regression=\"line\" type=\"middle\">",
          "<other /><range name=\"same\" regression=\"parabola\" type=\"root\">",
          "<topography_lead side=\"right\"><range name=\"l\" regression=\"line\" type=\"middle\">"})
        EXPECT_NE(first.find(fragment), std::string::npos) << first;

    GearEvaluationRanges back;
    ASSERT_TRUE(back.load(xml));
    for (const MT type : {MT::Profile, MT::TopographyLead})
        for (const Side side : {Side::Left, Side::Right})
            EXPECT_EQ(held(back, type, side), held(ranges, type, side));
    EvaluationRangeParabola read("read");
    ASSERT_TRUE(back.get(MT::Profile, Side::Left, RangeType::Root, &read));
    EXPECT_TRUE(read == parabola);
    ASSERT_TRUE(back.save(xml));
    EXPECT_EQ(kest::test::compactXml(xml), first);

    back.clear(MT::Profile);
    ASSERT_TRUE(back.save(xml));
    EXPECT_EQ(xml.getNodes("evaluation/profile[@side='left']/range").size(), 1U);
    EXPECT_TRUE(xml.getNode("evaluation/profile[@side='left']/range[@name='k']"));
}

} // namespace
