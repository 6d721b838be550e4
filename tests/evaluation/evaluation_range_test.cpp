#include <kest/gear/evaluation_range.h>

#include "support/compact_xml.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using kest::host::XMLNode;

namespace {

std::string limits(const EvaluationRange& range) {
    double v[4]{};
    range.getRange(&v[0], &v[1], &v[2], &v[3]);
    std::ostringstream out;
    out << v[0] << " " << v[1] << " " << v[2] << " " << v[3];
    return out.str();
}

std::string serialized(const MSXMLWrapper& xml) {
    return kest::test::compactXml(xml);
}

// A range is made by its regression's name with the limits 10 to 90 on the diameter; setRange takes the
// limits in any order and sorts them into extended lower, main lower, main upper, extended upper.
TEST(evaluation_range, ConstructionAndLimits) {
    for (const auto& [name, regression] : {std::pair{"line", RegressionType::Line},
                                           {"parabola", RegressionType::Parabola},
                                           {"continuous parabola", RegressionType::ContinuousParabola}}) {
        const std::unique_ptr<EvaluationRange> range(createEvaluationRange(name, "main"));
        ASSERT_TRUE(range) << name;
        EXPECT_EQ(range->getRegressionType(), regression);
        EXPECT_EQ(range->getReference(), Reference::Diameter);
        EXPECT_EQ(limits(*range), "10 10 90 90");
    }
    EXPECT_EQ(createEvaluationRange("Line", "d"), nullptr);
    EXPECT_EQ(static_cast<int>(EvaluationRange("bare", Reference::Percent).getRegressionType()), 0);
    EvaluationRangeLine line("r");
    line.setRange(90, 10, 20, 80);
    EXPECT_EQ(limits(line), "10 20 80 90");
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

TEST(evaluation_range, WritesElementAndReadsItBack) {
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

    // every persisted double comes back bit for bit
    EvaluationRangeContinuousParabola odd("r");
    odd.setRange(0.1, 0.2 + 0.1, 1.0 / 3.0, 2.0 / 3.0);
    ASSERT_TRUE(odd.saveXML(&xml, "", node));
    EvaluationRangeContinuousParabola back("other");
    ASSERT_TRUE(back.loadXML(&xml, node));
    EXPECT_TRUE(back == odd);
}

TEST(evaluation_range, ReadsElements) {
    struct Row {
        std::string element;
        bool loads;
        const char* limits;
        bool asymmetric;
    };
    const std::string main = "<reference>diameter</reference><main><lower>20</lower><upper>80</upper></main>";
    const std::string sideways =
        "<reference>sideways</reference><main><lower>20</lower><upper>80</upper></main>";
    const Row rows[] = {
        {"<range name='r'>" + main + "<extended><lower>10</lower><upper>90</upper></extended></range>", true,
         "10 20 80 90", false},
        {"<range name='r'>" + main + "</range>", true, "20 20 80 80", false},
        {"<range name='r'>" + main + "<parabola><lower>30</lower><upper>40</upper></parabola></range>", true,
         "20 20 80 80", true},
        {"<range name='r'>" + main + "<parabola><lower>30</lower></parabola></range>", false, "20 20 80 80",
         false},
        {"<range>" + main + "</range>", false, "20 20 80 80", false},
        {"<range name='r'>" + sideways + "</range>", false, "20 20 80 80", false},
        {"<range name='r'><reference>diameter</reference><main><upper>80</upper></main></range>", false,
         "10 10 80 80", false},
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

} // namespace
