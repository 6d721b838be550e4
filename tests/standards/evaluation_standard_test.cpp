#include <kest/gear/evaluation_standard.h>
#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/library.h>

#include "support/xml_text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using kest::test::serialized;

namespace {

using C = StandardClass;
using Subqualities = EvaluationStandard::Subqualities;

// The classes DIN 3962 allows, in reverse order to show that the order does not matter; no limits for any
// other standard.
bool din3962Limits(const std::string& name, StandardClass& first, StandardClass& second) {
    if (name != "DIN_3962") return false;
    first = C::Class12;
    second = C::Class2;
    return true;
}

// Registers the standard-information callback for one test.
class WithInfoFunction {
public:
    explicit WithInfoFunction(GetInfoStandardFunction fn) {
        GearRecords_Register_GetInfoStandard_Function(fn);
    }
    ~WithInfoFunction() { GearRecords_UnRegister_GetInfoStandard_Function(); }
    WithInfoFunction(const WithInfoFunction&) = delete;
    WithInfoFunction& operator=(const WithInfoFunction&) = delete;
};

struct ValidityRow {
    const char* name;
    C cls;
    Subqualities subqualities;
    bool valid;
    const char* message;
};

TEST(evaluation_standard, ValidityWithoutInfoFunction) {
    // clang-format off
    const ValidityRow rows[] = {
        {"unknown standard", C::Unknown, {}, true, ""},
        {"unknown standard", C::Class5, {}, false,
         "unknown standard with set standard class (standard class must be set to unknown)"},
        {"unknown standard", C::Unknown, {{"st", "A"}}, false,
         "unknown standard with non-empty sub-quality (sub-quality must be empty)"},
        {"FREE_DIN_3962", C::Unknown, {}, true, ""},
        {"CAT_1E2028", C::Class1, {}, false,
         "standard does not support quality but standard class was given"},
        {"FREE_DIN_3962", C::Unknown, {{"st", "A"}}, false,
         "standard without quality does not support sub-quality"},
        {"DIN_3962", C::Class5, {{"st", "A"}}, false, "standard does not support sub-quality"},
        {"AGMA_2000_A88", C::Class5, {}, false, "standard must have sub-quality"},
        {"AGMA_2000_A88", C::Class5, {{"st", "a"}}, false, "standard with unknown sub-quality"},
        {"AGMA_2000_A88", C::Class5, {{"st", "A"}}, true, "warning: f_ptr is a null pointer"},
        {"DIN_3962", C::Unknown, {}, false, "standard class was not set"},
        {"MY_TABLE", C::Unknown, {}, false, "standard class was not set"},
        {"MY_TABLE", C::Class4, {{"any", "thing"}}, true, "warning: f_ptr is a null pointer"},
        {"DIN_3962", C::Class5, {}, true, "warning: f_ptr is a null pointer"},
        {"CUSTOM_TOLERANCE_TABLE", C::Class5, {}, true, "warning: custom tolerance not set at this moment"},
    };
    // clang-format on
    for (const ValidityRow& row : rows) {
        std::string message = "stale";
        EXPECT_EQ(EvaluationStandard::isValid(row.name, row.cls, row.subqualities, message), row.valid)
            << row.name;
        EXPECT_EQ(message, row.message) << row.name;
    }
}

TEST(evaluation_standard, ValidityAgainstTheCallbacksLimits) {
    const WithInfoFunction info(din3962Limits);
    const std::tuple<const char*, C, bool, const char*> rows[] = {
        {"DIN_3962", C::Class2, true, ""},
        {"DIN_3962", C::Class12, true, ""},
        {"DIN_3962", C::Class1, false, "given standard class smaller than allowed minimum"},
        {"DIN_3962", C::Class13, false, "given standard class larger than allowed maximum"},
        {"ISO_1328_2013", C::Class5, false, "couldn't get minimum/maximum standard class for given standard"},
        {"CUSTOM_TOLERANCE_TABLE", C::Class5, true, "warning: custom tolerance not set at this moment"},
    };
    for (const auto& [name, cls, valid, text] : rows) {
        std::string message;
        EXPECT_EQ(EvaluationStandard(name, cls).isValid(message), valid) << name;
        EXPECT_EQ(message, text) << name;
    }
}

TEST(evaluation_standard, Subqualities) {
    EvaluationStandard din5480("DIN_5480", C::Class7);
    EXPECT_FALSE(din5480.addSubquality("st", "js"));
    EXPECT_FALSE(din5480.addSubquality("allowance", "a"));
    EXPECT_FALSE(din5480.addSubquality("", "a"));
    EXPECT_FALSE(din5480.addSubquality("st", ""));
    EXPECT_TRUE(din5480.addSubquality("st", "M"));

    EvaluationStandard iso("ISO_4156_1_2005", C::Class7);
    EXPECT_TRUE(iso.addSubquality("allowance", "js"));
    EXPECT_TRUE(iso.addSubquality("allowance", "k")); // the letter there stays
    EXPECT_EQ(iso.getSubquality("allowance"), "js");
    EXPECT_EQ(iso.getSubquality("st"), "");
    EXPECT_FALSE(iso.removeSubquality(""));
    EXPECT_FALSE(iso.removeSubquality("st"));
    EXPECT_TRUE(iso.removeSubquality("allowance"));
    EXPECT_TRUE(iso.addSubquality("allowance", "k"));
    EXPECT_EQ(iso.getAllSubqualities(), (Subqualities{{"allowance", "k"}}));
    EXPECT_EQ(iso.removeAllSubqualities(), 1u);
    EXPECT_EQ(iso.removeAllSubqualities(), 0u);

    EXPECT_FALSE(EvaluationStandard("DIN_3962", C::Class5).addSubquality("st", "A"));
}

// The default record (name and class texts) is written by SavingTheUnknownStandard below.
TEST(evaluation_standard, Construction) {
    EXPECT_EQ(EvaluationStandard().standard_2_constant_value(), -1);
    const EvaluationStandard fromText("JIS_B1702_1998", std::string("N5"));
    EXPECT_EQ(fromText.getStandardClass(), C::Class5);
    EXPECT_EQ(fromText.standard_2_constant_value(), 16);
    EXPECT_EQ(EvaluationStandard("JIS_B1702_1998", std::string("5")).getStandardClass(), C::Unknown);
}

// In place: a sub-quality keeps the element of its letter with what the library does not know, the others go.
TEST(evaluation_standard, Save) {
    MSXMLWrapper xml;
    ASSERT_TRUE(
        xml.parse(R"(<gear><evaluation fitType="close"><subquality quality="a">st</subquality>)"
                  R"(<subquality quality="js" note="x">st</subquality><range/></evaluation></gear>)"));
    EvaluationStandard standard("ISO_4156_1_2005", C::Class6);
    ASSERT_TRUE(standard.addSubquality("allowance", "js"));
    ASSERT_TRUE(standard.saveXML(&xml, EvaluationFitType::FlatRootSide));
    EXPECT_EQ(serialized(xml),
              "<?xml version=\"1.0\"?>\n<gear>\n"
              "  <evaluation fitType=\"flat_root_side\" standard=\"ISO_4156_1_2005\" quality=\"6\">\n"
              "    <subquality quality=\"js\" note=\"x\">allowance</subquality>\n"
              "    <range />\n"
              "  </evaluation>\n</gear>\n");
    ASSERT_TRUE(standard.saveXML(&xml, EvaluationFitType::None));
    EXPECT_EQ(serialized(xml).find("fitType"), std::string::npos);
}

// The unknown standard writes no element, and an element written for other sections alone reads back as the
// unknown standard, so it stays as it is.
TEST(evaluation_standard, SavingTheUnknownStandard) {
    EXPECT_FALSE(EvaluationStandard().saveXML(nullptr, EvaluationFitType::None));
    MSXMLWrapper xml;
    for (const char* document : {"<gear/>", "<gear><evaluation><range/></evaluation></gear>"}) {
        ASSERT_TRUE(xml.parse(document));
        const std::string before = serialized(xml);
        ASSERT_TRUE(EvaluationStandard().saveXML(&xml, EvaluationFitType::None));
        EXPECT_EQ(serialized(xml), before);
    }
    ASSERT_TRUE(EvaluationStandard().saveXML(&xml, EvaluationFitType::Close)); // a fit type is worth writing
    EXPECT_NE(
        serialized(xml).find("standard=\"unknown standard\" quality=\"unknown class\" fitType=\"close\""),
        std::string::npos);
}

// Each file is loaded into a record that starts as DIN 3962 class 5 with fit type "side"; the result line is
// "name | class text | fit type | sub-qualities".
TEST(evaluation_standard, Load) {
    const std::tuple<const char*, bool, const char*> rows[] = {
        {"<gear/>", true, "DIN_3962 | 5 | side | "},
        {R"(<evaluation standard="AGMA_2000_A88" quality="Q7"><subquality quality="B">st</subquality></evaluation>)",
         true, "AGMA_2000_A88 | Q7 | none | st=B "},
        {R"(<evaluation standard="DIN_5480" quality="9" fitType="external_diameter"/>)", true,
         "DIN_5480 | 9 | external_diameter | "},
        // the class text "unknown class" reads back as the class not set
        {R"(<evaluation standard="FREE_DIN_3962" quality="unknown class"/>)", true,
         "FREE_DIN_3962 | unknown class | none | "},
        // written for ranges, features or K-charts alone
        {R"(<evaluation><range/></evaluation>)", true, "unknown standard | unknown class | none | "},
        {R"(<evaluation standard="DIN_3962"/>)", true, "DIN_3962 | unknown class | none | "},
        {R"(<evaluation standard="DIN_3962" quality="Q5"/>)", true, "DIN_3962 | unknown class | none | "},
        {R"(<evaluation standard="DIN_5480" quality="9" fitType="Side"/>)", false, "DIN_5480 | 9 | side | "},
        {R"(<evaluation standard="AGMA_2000_A88" quality="Q7"><subquality quality="B">st</subquality>)"
         R"(<subquality quality="E">st</subquality></evaluation>)",
         false, "AGMA_2000_A88 | Q7 | none | st=B "},
        {R"(<evaluation standard="AGMA_2000_A88" quality="Q7"><subquality>st</subquality></evaluation>)",
         false, "AGMA_2000_A88 | Q7 | none | "},
    };
    for (const auto& [body, result, expected] : rows) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(
            std::string(body).starts_with("<gear") ? body : "<gear>" + std::string(body) + "</gear>"));
        EvaluationStandard standard("DIN_3962", C::Class5);
        EvaluationFitType fit = EvaluationFitType::SideFit;
        EXPECT_EQ(standard.loadXML(&xml, &fit), result) << body;
        std::string line = standard.getStandardName() + " | " + standard.grade_2_string() + " | " +
                           EvaluationFitType_2_string(fit) + " | ";
        for (const auto& [feature, letter] : standard.getAllSubqualities())
            line += feature + "=" + letter + " ";
        EXPECT_EQ(line, expected) << body;
    }
}

TEST(evaluation_standard, RoundTrip) {
    const EvaluationStandard records[] = {
        EvaluationStandard("FREE_DIN_3962", C::Unknown),    EvaluationStandard("CAT_1E2028", C::Unknown),
        EvaluationStandard("JIS_B1702_1998", C::Class0),    EvaluationStandard("MY_TABLE", C::Class16),
        EvaluationStandard("unknown standard", C::Unknown),
    };
    for (const EvaluationStandard& record : records) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse("<gear><evaluation/></gear>"));
        ASSERT_TRUE(record.saveXML(&xml, EvaluationFitType::Close));
        EvaluationStandard back("DIN_3962", C::Class5);
        EvaluationFitType fit = EvaluationFitType::None;
        EXPECT_TRUE(back.loadXML(&xml, &fit));
        EXPECT_EQ(back, record) << record.getStandardName();
        EXPECT_EQ(fit, EvaluationFitType::Close);
        std::string before, after;
        EXPECT_EQ(record.isValid(before), back.isValid(after)) << record.getStandardName();
    }
}

} // namespace
