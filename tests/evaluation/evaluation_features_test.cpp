#include <kest/gear/evaluation_features.h>

#include "support/compact_xml.h"
#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kest::gear;
using kest::host::DiagnosticChannel;
using kest::host::MSXMLWrapper;

namespace {

// The entries as "name:side:index:range:on|off", in key order.
std::string entries(const EvaluationFeatures& features) {
    std::string out;
    for (const auto& e : features.getAll())
        out += e.feature.getName() + ":" + Side_2_string(e.info.side) + ":" +
               std::to_string(e.info.measurementIndex) + ":" + std::to_string(static_cast<int>(e.range)) +
               ":" + (e.feature.is_enabled() ? "on" : "off") + " ";
    return out;
}

GearFeature enabled(const std::string& name, double nominal = 0.0) {
    GearFeature feature(name);
    feature.enable();
    if (nominal != 0.0) feature.set(AdditionalDataType::NominalValue, nominal);
    return feature;
}

TEST(evaluation_features, SetSplitsBoth) {
    EvaluationFeatures features;
    EXPECT_TRUE(features.set(enabled("fHa", 1.0), Side::Both, 0, RangeType::Main));
    EXPECT_TRUE(features.set(enabled("fHa", 2.0), Side::Left, 0, RangeType::Main));
    EXPECT_EQ(entries(features), "fHa:left:0:1:on fHa:right:0:1:on ");
    GearFeature out;
    double nominal = 0;
    ASSERT_TRUE(features.get("fHa", Side::Right, &out, 0, RangeType::Main));
    EXPECT_TRUE(out.get(AdditionalDataType::NominalValue, &nominal) && nominal == 1.0);
    ASSERT_TRUE(features.get("fHa", Side::Left, &out, 0));
    EXPECT_TRUE(out.get(AdditionalDataType::NominalValue, &nominal) && nominal == 2.0);
    EXPECT_TRUE(features.set(enabled("fHa"), Side::Both, 0, RangeType::Main));
    EXPECT_EQ(entries(features), "fHa:both:0:1:on ");
    // a Left lookup finds the Both entry; another index finds nothing
    EXPECT_TRUE(features.get("fHa", Side::Left, &out, 0, RangeType::Main));
    EXPECT_FALSE(features.get("fHa", Side::Left, &out, 1, RangeType::Main));
}

// Without a range a feature is set for each of its ranges (as Reads shows) and read from Middle among them.
TEST(evaluation_features, GetWithoutARangeTakesTheMiddle) {
    EvaluationFeatures features;
    EXPECT_TRUE(features.set(enabled("ffb", 1.0), Side::Right, 2));
    EXPECT_TRUE(features.set(enabled("ffb", 2.0), Side::Right, 2, RangeType::Middle));
    GearFeature out;
    double nominal = 0;
    ASSERT_TRUE(features.get("ffb", Side::Right, &out, 2));
    EXPECT_TRUE(out.get(AdditionalDataType::NominalValue, &nominal) && nominal == 2.0);
}

TEST(evaluation_features, Refusals) {
    kest::test::DiagnosticsCapture capture(4);
    EvaluationFeatures features;
    GearFeature invalid("Caa");
    invalid.set(AdditionalDataType::EvaluationMode, std::string("DIN3960"));
    EXPECT_FALSE(features.set(invalid, Side::Left, 0, RangeType::Tip));
    EXPECT_FALSE(features.set(invalid, Side::Left, 0));
    EXPECT_FALSE(features.set(enabled("Caa"), Side::Left, 0, RangeType::Main));
    EXPECT_FALSE(features.set(enabled("fp"), Side::Left, 0, RangeType::Main));
    EXPECT_FALSE(features.remove("Caa", Side::Left, 0, RangeType::Middle));
    EXPECT_FALSE(features.enable("ffb", true, Side::Left, 0, RangeType::Tip));
    EXPECT_FALSE(features.set(enabled("nope"), Side::Left, 0));
    EXPECT_FALSE(features.get("abnc", Side::Left, nullptr, 0));
    EXPECT_FALSE(features.enable("Cbu", true, Side::Left, 0));
    EXPECT_EQ(entries(features), "");
    EXPECT_EQ(capture.messages(DiagnosticChannel::ErrorLog),
              (std::vector<std::string>{
                  "range type 'main'not allowed for Caa", "range type 'main'not allowed for fp",
                  "range type 'middle'not allowed for Caa", "range type 'tip'not allowed for ffb",
                  "'nope': unknown feature found"}));
    EXPECT_EQ(capture.messages(DiagnosticChannel::Trace),
              (std::vector<std::string>{
                  "feature has TODO label: 'abnc' (original message was: unknown feature found)",
                  "feature 'Cbu' is deprecated! You should use 'CbII' instead (original message was: unknown "
                  "feature found)"}));
}

TEST(evaluation_features, Enable) {
    EvaluationFeatures features;
    EXPECT_FALSE(features.enable("fHa", true, Side::Left, 0));
    EXPECT_TRUE(features.enable("fHa", false, Side::Left, 0));
    features.set(GearFeature("fHa"), Side::Both, 0, RangeType::Main);
    features.set(GearFeature("fHa"), Side::Both, 1, RangeType::Main);
    EXPECT_TRUE(features.enable("fHa", true, Side::Right, 0, RangeType::Main));
    EXPECT_EQ(entries(features), "fHa:both:0:1:on fHa:both:1:1:off ");
    EXPECT_TRUE(features.enable("fHa", false, Side::Both, 0));
    EXPECT_EQ(entries(features), "fHa:both:0:1:off fHa:both:1:1:off ");
}

EvaluationFeatures loadFile(const std::string& evaluation, bool& result) {
    MSXMLWrapper xml;
    EXPECT_TRUE(xml.parse("<gear><evaluation>" + evaluation + "</evaluation></gear>"));
    EvaluationFeatures features;
    result = features.loadXML(&xml);
    return features;
}

TEST(evaluation_features, Remove) {
    struct Row {
        Side side;
        const char* left;
    };
    const Row rows[] = {
        {Side::Left, "ffa:right:0:1:on ffa:both:0:2:on "},
        {Side::Right, "ffa:left:0:1:on ffa:both:0:2:on "},
        {Side::Both, "ffa:both:0:2:on "},
    };
    for (const auto& row : rows) {
        EvaluationFeatures features;
        features.set(enabled("ffa"), Side::Both, 0, RangeType::Main);
        features.set(enabled("ffa"), Side::Both, 0, RangeType::Tip);
        EXPECT_TRUE(features.remove("ffa", row.side, 0, RangeType::Main));
        EXPECT_EQ(entries(features), row.left) << Side_2_string(row.side);
    }
    EvaluationFeatures features;
    features.set(enabled("ffa"), Side::Left, 0);
    features.set(enabled("ffa"), Side::Right, 1);
    EXPECT_TRUE(features.remove("ffa", Side::Left, 0));
    EXPECT_EQ(entries(features), "ffa:right:1:0:on ffa:right:1:1:on ffa:right:1:2:on ");
    EXPECT_TRUE(features.clear());
    EXPECT_EQ(entries(features), "");

    // A file can hold a Both entry beside a one-flank entry of the same key; the Both entry, which the file
    // names first, is what the other flank keeps when one flank is removed or set.
    const char* file = "<feature name='fHa' enabled='on' range='main'/>"
                       "<feature name='fHa' enabled='off' side='right' range='main'/>";
    bool result = false;
    EvaluationFeatures loaded = loadFile(file, result);
    ASSERT_EQ(entries(loaded), "fHa:right:0:1:off fHa:both:0:1:on ");
    EXPECT_TRUE(loaded.remove("fHa", Side::Left, 0, RangeType::Main));
    EXPECT_EQ(entries(loaded), "fHa:right:0:1:on ");
    loaded = loadFile(file, result);
    loaded.set(enabled("fHa"), Side::Left, 0, RangeType::Main);
    EXPECT_EQ(entries(loaded), "fHa:left:0:1:on fHa:right:0:1:on ");
}

TEST(evaluation_features, Reads) {
    struct Row {
        const char* elements;
        const char* entries;
        const char* errors;
    };
    const Row rows[] = {
        {"<feature name='fHa' enabled='on' side='left' measurement_index='2' range='main'/>",
         "fHa:left:2:1:on ", ""},
        {"<feature name='ffb' enabled='off'/>",
         "ffb:both:0:2000:off ffb:both:0:2001:off ffb:both:0:2002:off ", ""},
        {"<feature name='fHa' enabled='on' range='root'/>", "",
         "range type 'root' for fHa is deprecated, loading of feature is skipped|"},
        {"<feature name='ffa' enabled='on' range='middle'/>", "ffa:both:0:2001:on ",
         "range type 'middle'not allowed for ffa|"},
        {"<feature name='fp' enabled='on' range='main'/>", "fp:both:0:1:on ",
         "range type 'main'not allowed for fp|"},
        {"<feature name='fp' enabled='on' range='sideways' side='up'/>", "fp:both:0:2003:on ", ""},
        // a feature with ranges takes an unreadable range or none as all of them, as its written form reads
        // back
        {"<feature name='CbI' enabled='on' side='right' range='hiddle'/>", "CbI:right:0:2002:on ", ""},
        {"<feature name='ffb' enabled='off' measurement_index='-1' range='unspecified'/>",
         "ffb:both:4294967295:2000:off ffb:both:4294967295:2001:off ffb:both:4294967295:2002:off ", ""},
        {"<feature name='nope' enabled='on'/><feature name='Fa__plus__' enabled='on' range='main'/>",
         "Fa+:both:0:1:on ", ""},
        // among duplicates with a range the first wins
        {"<feature name='fHa' enabled='on' range='main'/><feature name='fHa' enabled='off' range='main'/>",
         "fHa:both:0:1:on ", ""},
    };
    for (const auto& row : rows) {
        kest::test::DiagnosticsCapture capture(0);
        bool result = false;
        const EvaluationFeatures features = loadFile(row.elements, result);
        EXPECT_TRUE(result) << row.elements;
        EXPECT_EQ(entries(features), row.entries) << row.elements;
        std::string errors;
        for (const auto& m : capture.messages(DiagnosticChannel::ErrorLog))
            errors += m + "|";
        EXPECT_EQ(errors, row.errors) << row.elements;
    }
    kest::test::DiagnosticsCapture capture(1);
    bool result = false;
    loadFile("<feature name='Caa' enabled='on'><evaluation_mode>DIN3960</evaluation_mode></feature>", result);
    EXPECT_EQ(capture.messages(DiagnosticChannel::Trace),
              std::vector<std::string>{"WARNING: invalid feature 'Caa' not imported"});
    EXPECT_FALSE(EvaluationFeatures().loadXML(nullptr));
}

// A save writes the entries in key order; a second load gives the same entries and a second save the same
// text.
TEST(evaluation_features, RoundTrip) {
    MSXMLWrapper xml;
    ASSERT_TRUE(
        xml.parse("<gear><evaluation><other/><feature name='gone' enabled='on'/></evaluation></gear>"));
    EvaluationFeatures features;
    features.set(enabled("Fa-", 0.1), Side::Both, 0, RangeType::Main);
    features.set(enabled("ffb"), Side::Left, 3, RangeType::Middle);
    GearFeature wk("Wk");
    wk.set(AdditionalDataType::NumberOfTeeth, 4);
    features.set(wk, Side::Right, 0);
    ASSERT_TRUE(features.saveXML(&xml));
    const std::string first = kest::test::compactXml(xml);
    EXPECT_NE(first.find(
                  "<evaluation><other /><feature name=\"Fa__minus__\" enabled=\"on\" measurement_index=\"0\" "
                  "range=\"main\"><nominal_value>0.1</nominal_value></feature><feature name=\"Wk\" "
                  "enabled=\"off\" side=\"right\" measurement_index=\"0\"><number_of_teeth>4"
                  "</number_of_teeth></feature><feature name=\"ffb\" enabled=\"on\" side=\"left\" "
                  "measurement_index=\"3\" range=\"middle\" /></evaluation>"),
              std::string::npos)
        << first;

    EvaluationFeatures back;
    ASSERT_TRUE(back.loadXML(&xml));
    EXPECT_EQ(entries(back), entries(features));
    ASSERT_TRUE(back.saveXML(&xml));
    EXPECT_EQ(kest::test::compactXml(xml), first);

    EvaluationFeatures empty;
    ASSERT_TRUE(empty.saveXML(&xml));
    EXPECT_TRUE(xml.getNodes("evaluation/feature").empty());
    EXPECT_TRUE(xml.getNode("evaluation/other"));
}

} // namespace
