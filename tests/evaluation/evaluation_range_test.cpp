#include <kest/gear/evaluation_range.h>

#include "support/compact_xml.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using kest::host::XMLNode;

namespace {

std::string limits(const EvaluationRange& range) {
    double a = 0, b = 0, c = 0, d = 0;
    range.getRange(&a, &b, &c, &d);
    return std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c) + " " + std::to_string(d);
}

std::string serialized(const MSXMLWrapper& xml) {
    return kest::test::compactXml(xml);
}

TEST(evaluation_range, Construction) {
    const EvaluationRangeLine line("main");
    EXPECT_EQ(line.getName(), "main");
    EXPECT_EQ(line.getReference(), Reference::Diameter);
    EXPECT_EQ(line.getRegressionType(), RegressionType::Line);
    EXPECT_EQ(limits(line), "10.000000 10.000000 90.000000 90.000000");
    EXPECT_EQ(EvaluationRangeParabola("p").getRegressionType(), RegressionType::Parabola);
    EXPECT_EQ(EvaluationRangeContinuousParabola("c").getRegressionType(), RegressionType::ContinuousParabola);
    EXPECT_EQ(static_cast<int>(EvaluationRange("bare", Reference::Percent).getRegressionType()), 0);
}

// The arguments may come in any order; they are sorted into extended lower, main lower, main upper, extended
// upper.
TEST(evaluation_range, SetRangeSorts) {
    EvaluationRangeLine line("r");
    line.setRange(90, 10, 20, 80);
    EXPECT_EQ(limits(line), "10.000000 20.000000 80.000000 90.000000");
    line.setRange(4, 3, 2, 1);
    EXPECT_EQ(limits(line), "1.000000 2.000000 3.000000 4.000000");
}

TEST(evaluation_range, Validity) {
    struct Row {
        const char* name;
        double extendedLower, mainLower, mainUpper, extendedUpper;
        bool valid;
    };
    // setRange sorts, so invalid limits are reached through loadXML below; here the main interval collapses.
    const Row rows[] = {
        {"ordinary", 10, 20, 80, 90, true},
        {"main equal to extended", 20, 20, 80, 80, true},
        {"empty main interval", 10, 50, 50, 90, false},
    };
    for (const auto& row : rows) {
        EvaluationRangeLine line("r");
        line.setRange(row.extendedLower, row.mainLower, row.mainUpper, row.extendedUpper);
        EXPECT_EQ(line.isValid(), row.valid) << row.name;
    }
    EXPECT_FALSE(EvaluationRange("bare", Reference::Diameter).isValid());
    EvaluationRangeParabola parabola("p");
    parabola.setAsymmetricParabola(30, 20);
    EXPECT_FALSE(parabola.isValid());
    parabola.setAsymmetricParabola(20, 30);
    EXPECT_TRUE(parabola.isValid());
}

// Copies keep the dynamic class; equality ignores the asymmetric parabola; assignment copies base fields.
TEST(evaluation_range, CopyAndCompare) {
    EvaluationRangeContinuousParabola source("c");
    source.setRange(1, 2, 3, 4);
    source.setAsymmetricParabola(2.5, 2.75);
    const std::unique_ptr<EvaluationRange> copy(source.createCopy());
    ASSERT_NE(dynamic_cast<EvaluationRangeContinuousParabola*>(copy.get()), nullptr);
    EXPECT_TRUE(*copy == source);
    double lower = 0, upper = 0;
    EXPECT_TRUE(static_cast<EvaluationRangeParabola&>(*copy).getAsymmetricParabola(&lower, &upper));
    EXPECT_EQ(lower, 2.5);

    EvaluationRangeParabola other("c");
    other.setRange(1, 2, 3, 4);
    EXPECT_FALSE(other == source); // regression types differ
    EvaluationRangeLine line("x");
    static_cast<EvaluationRange&>(line) = source;
    EXPECT_TRUE(line == source);
    EXPECT_EQ(line.getRegressionType(), RegressionType::ContinuousParabola);
    EXPECT_FALSE(EvaluationRangeParabola("p").getAsymmetricParabola(&lower, &upper));
}

TEST(evaluation_range, WritesElement) {
    MSXMLWrapper xml;
    xml.reset("gear");
    EvaluationRangeParabola range("tip range");
    range.setRange(10, 20, 80, 80.0000005);
    range.setAsymmetricParabola(30, 70);
    XMLNode node;
    ASSERT_TRUE(range.saveXML(&xml, "evaluation/profile[@side='left']", node));
    EXPECT_EQ(std::string(node.name()), "range");
    EXPECT_NE(serialized(xml).find(
                  "<range name=\"tip range\" regression=\"parabola\"><reference>diameter</reference>"
                  "<main><lower>20</lower><upper>80</upper></main><extended><lower>10</lower>"
                  "</extended><parabola><lower>30</lower><upper>70</upper></parabola></range>"),
              std::string::npos)
        << serialized(xml);
    EXPECT_FALSE(range.saveXML(nullptr, "", node));
}

// Two ranges of one name are both kept: the writer appends.
TEST(evaluation_range, WriterAppends) {
    MSXMLWrapper xml;
    xml.reset("gear");
    XMLNode node;
    ASSERT_TRUE(EvaluationRangeLine("same").saveXML(&xml, "evaluation", node));
    ASSERT_TRUE(EvaluationRangeLine("same").saveXML(&xml, "evaluation", node));
    EXPECT_EQ(xml.getNodes("evaluation/range").size(), 2U);
}

TEST(evaluation_range, ReadsElements) {
    struct Row {
        const char* element;
        bool loads;
        const char* limits;
        bool asymmetric;
    };
    const Row rows[] = {
        {"<range name='r'><reference>diameter</reference><main><lower>20</lower><upper>80</upper></main>"
         "<extended><lower>10</lower><upper>90</upper></extended></range>",
         true, "10.000000 20.000000 80.000000 90.000000", false},
        {"<range "
         "name='r'><reference>diameter</reference><main><lower>20</lower><upper>80</upper></main></range>",
         true, "20.000000 20.000000 80.000000 80.000000", false},
        {"<range name='r'><reference>diameter</reference><main><lower>20</lower><upper>80</upper></main>"
         "<parabola><lower>30</lower><upper>40</upper></parabola></range>",
         true, "20.000000 20.000000 80.000000 80.000000", true},
        {"<range name='r'><reference>diameter</reference><main><lower>20</lower><upper>80</upper></main>"
         "<parabola><lower>30</lower></parabola></range>",
         false, "20.000000 20.000000 80.000000 80.000000", false},
        {"<range><reference>diameter</reference><main><lower>20</lower><upper>80</upper></main></range>",
         false, "20.000000 20.000000 80.000000 80.000000", false},
        {"<range "
         "name='r'><reference>sideways</reference><main><lower>20</lower><upper>80</upper></main></range>",
         false, "20.000000 20.000000 80.000000 80.000000", false},
        {"<range name='r'><reference>diameter</reference><main><upper>80</upper></main></range>", false,
         "10.000000 10.000000 80.000000 80.000000", false},
    };
    for (const auto& row : rows) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(row.element));
        EvaluationRangeParabola range("vorlaeufigerName");
        EXPECT_EQ(range.loadXML(&xml, xml.getRootNode()), row.loads) << row.element;
        EXPECT_EQ(limits(range), row.limits) << row.element;
        EXPECT_EQ(range.getAsymmetricParabola(nullptr, nullptr), row.asymmetric) << row.element;
    }
}

// Every persisted double comes back bit for bit.
TEST(evaluation_range, RoundTrip) {
    MSXMLWrapper xml;
    xml.reset("gear");
    EvaluationRangeContinuousParabola range("r");
    range.setRange(0.1, 0.2 + 0.1, 1.0 / 3.0, 2.0 / 3.0);
    XMLNode node;
    ASSERT_TRUE(range.saveXML(&xml, "", node));
    EvaluationRangeContinuousParabola back("other");
    ASSERT_TRUE(back.loadXML(&xml, node));
    EXPECT_TRUE(back == range);
}

TEST(evaluation_range, Slots) {
    struct Row {
        Measurement_Type type;
        RangeType range;
        Reference reference;
        bool holds;
    };
    const Row rows[] = {
        {Measurement_Type::Profile, RangeType::Main, Reference::Diameter, true},
        {Measurement_Type::TopographyProfile, RangeType::Tip, Reference::RollingAngle, true},
        {Measurement_Type::Profile, RangeType::Middle, Reference::Diameter, false},
        {Measurement_Type::Profile, RangeType::Main, Reference::LengthDatumToNonDatum, false},
        {Measurement_Type::Lead, RangeType::Middle, Reference::PercentDatumToNonDatum, true},
        {Measurement_Type::TopographyLead, RangeType::DatumSide, Reference::LengthNonDatumToDatum, true},
        {Measurement_Type::Lead, RangeType::Middle, Reference::Diameter, false},
        {Measurement_Type::Lead, RangeType::Unspecified, Reference::PercentDatumToNonDatum, false},
        {Measurement_Type::RoughnessProfile, RangeType::Root, Reference::Diameter, false},
        {Measurement_Type::Pitch, RangeType::Main, Reference::Diameter, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(isEvaluationRangeSlot(row.type, row.range, row.reference), row.holds)
            << static_cast<int>(row.type) << " " << static_cast<int>(row.range);
}

TEST(evaluation_range, CreateByRegression) {
    const std::unique_ptr<EvaluationRange> line(createEvaluationRange("line", "a"));
    const std::unique_ptr<EvaluationRange> parabola(createEvaluationRange("parabola", "b"));
    const std::unique_ptr<EvaluationRange> continuous(createEvaluationRange("continuous parabola", "c"));
    ASSERT_TRUE(line && parabola && continuous);
    EXPECT_EQ(line->getRegressionType(), RegressionType::Line);
    EXPECT_EQ(parabola->getRegressionType(), RegressionType::Parabola);
    EXPECT_EQ(continuous->getRegressionType(), RegressionType::ContinuousParabola);
    EXPECT_EQ(continuous->getName(), "c");
    EXPECT_EQ(createEvaluationRange("Line", "d"), nullptr);
}

} // namespace
