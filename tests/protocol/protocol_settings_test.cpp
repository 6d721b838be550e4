#include <kest/gear/host/globals.h>
#include <kest/gear/protocol_settings.h>

#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

using namespace kest::gear;
using PS = ProtocolSettings;
using BT = PS::BarDiagramType;

namespace {

// Suite settings for the flip-diagram defaults: the profile's is 2, the lead's is missing.
bool suiteSettings(const char* name, long* value) {
    if (std::strcmp(name, "gear.protocol.profile.flip_diagram") == 0) {
        *value = 2;
        return true;
    }
    *value = 7; // a lookup that fails may still have written something
    return false;
}

struct GlobalsLookupScope {
    explicit GlobalsLookupScope(kest::host::GlobalsLookupFunction lookup)
        : previous(kest::host::setGlobalsLookup(lookup)) {}
    ~GlobalsLookupScope() { kest::host::setGlobalsLookup(previous); }
    kest::host::GlobalsLookupFunction previous;
};

TEST(protocol_settings, Defaults) {
    const PS settings;
    PS::parametersProfLead profile, lead;
    ASSERT_TRUE(settings.getProfLeadParameters(true, profile));
    ASSERT_TRUE(settings.getProfLeadParameters(false, lead));
    // Only the lead's reference and the flip flags differ from the parameters' own defaults.
    EXPECT_EQ(profile.reference, Reference::RollingPath);
    EXPECT_EQ(lead.reference, Reference::LengthNonDatumToDatum);
    EXPECT_FALSE(profile.flipDiagram || lead.flipDiagram);
    EXPECT_EQ(profile.numberPerSide, 4);
    const std::tuple<const char*, bool, bool> flagRows[] = {
        {"pitch single value table", settings.getPitchSingleValueTable(), false},
        {"pitch results overview table", settings.getPitchResultsOverviewTable(), true},
        {"screen", settings.getOutput(PS::OutputUnit::Screen), true},
        {"printer", settings.getOutput(PS::OutputUnit::Printer), false},
        {"autofile rpf", settings.getOutput(PS::OutputUnit::AutofileRpf), false},
        {"twist on separated pages", settings.getTwistOnSeparatedPages(), false},
        {"feed-mark protocol", settings.getOutputFeedmarkProtocol(), true},
        {"root-scan protocol", settings.getOutputRootscanProtocol(), true},
        {"easy contour results", settings.getCreateEasyContourResults(), false},
    };
    for (const auto& [name, value, wanted] : flagRows)
        EXPECT_EQ(value, wanted) << name;

    for (int i = 0; i < 20; ++i) {
        bool enabled = true;
        double scale = 1;
        std::vector<PS::BarDiagramExtraLine> lines;
        ASSERT_TRUE(settings.getBarDiagram(static_cast<BT>(i), enabled, scale, &lines));
        EXPECT_EQ(enabled, i == 0 || i == 1 || i == 4) << i;
        EXPECT_EQ(scale, 0.0) << i;
        ASSERT_EQ(lines.size(), i >= 3 ? 1u : 0u) << i;
        if (i >= 3) {
            EXPECT_FALSE(lines[0].enabled) << i;
        }
    }
    std::string text;
    EXPECT_TRUE(settings.getTopographyGrahpType(text));
    EXPECT_EQ(text, "PLAIN");
    EXPECT_FALSE(settings.getFlankName(Side::Left, text));
    bool enabled = false;
    double value = 0;
    EXPECT_FALSE(settings.getOtherSettings(PS::OtherType::RootModificationAmount, enabled, value));
    AddendumModificationVariant variant = AddendumModificationVariant::AddmodSbn;
    EXPECT_TRUE(settings.getAddendumModificationVariant(variant));
    EXPECT_EQ(variant, AddendumModificationVariant::AddmodFactor);
    EXPECT_EQ(settings.getHeader(), ProtocolHeader());
}

TEST(protocol_settings, FlipDiagramDefaultsComeFromTheSuiteSettings) {
    const GlobalsLookupScope scope(suiteSettings);
    const PS settings;
    PS::parametersProfLead profile, lead;
    settings.getProfLeadParameters(true, profile);
    settings.getProfLeadParameters(false, lead);
    EXPECT_TRUE(profile.flipDiagram);
    EXPECT_FALSE(lead.flipDiagram); // the failed lookup counts as 0, whatever it wrote
}

TEST(protocol_settings, AccessorsThrowForValuesOutsideTheirTables) {
    PS settings;
    bool enabled = false;
    double scale = 0;
    EXPECT_THROW_MSG(settings.setOutput(static_cast<PS::OutputUnit>(6), true), "illegal output type");
    EXPECT_THROW_MSG(settings.getOutput(static_cast<PS::OutputUnit>(-1)), "illegal output type");
    EXPECT_THROW_MSG(settings.getBarDiagram(static_cast<BT>(20), enabled, scale, nullptr),
                     "illegal bar diagram type");
    EXPECT_THROW_MSG(settings.setBarDiagram(static_cast<BT>(20), true, 0, nullptr),
                     "illegal bar diagram type");
    EXPECT_THROW_MSG(settings.getBarDiagramFeature(static_cast<BT>(20)), "illegal bar diagram type");
    EXPECT_THROW_MSG(settings.setTopographyGraphType("colored"), "illegal topography graph type");
    EXPECT_THROW_MSG(settings.setTopographyGraphType(""), "illegal topography graph type");
    settings.setTopographyGraphType("COLORED");
    std::string type;
    settings.getTopographyGrahpType(type);
    EXPECT_EQ(type, "COLORED");
    EXPECT_FALSE(settings.setOtherSettings(static_cast<PS::OtherType>(2), true, 1));
    EXPECT_TRUE(settings.getAllOtherSettings().empty());
}

// Setting a bar diagram again replaces its extra lines; setting another value again replaces it.
TEST(protocol_settings, SettingAgainReplaces) {
    PS settings;
    const std::vector<PS::BarDiagramExtraLine> lines{{"fum", true}, {"custom", false}};
    settings.setBarDiagram(BT::fu, true, 2.5, &lines);
    settings.setBarDiagram(BT::fu, false, 0, nullptr);
    bool enabled = true;
    double value = 0;
    std::vector<PS::BarDiagramExtraLine> got;
    settings.getBarDiagram(BT::fu, enabled, value, &got);
    EXPECT_TRUE(got.empty() && !enabled);
    settings.setOtherSettings(PS::OtherType::TipModificationAmount, true, 0.25);
    ASSERT_TRUE(settings.setOtherSettings(PS::OtherType::TipModificationAmount, false, 0.5));
    EXPECT_TRUE(settings.getOtherSettings(PS::OtherType::TipModificationAmount, enabled, value));
    EXPECT_TRUE(!enabled && value == 0.5 && settings.getAllOtherSettings().size() == 1u);
}

// Each row changes one setting of a default object; the result must be unequal, or equal for the settings
// the comparison leaves out and for changes within the tolerance.
TEST(protocol_settings, Equality) {
    using Change = std::function<void(PS&)>;
    const auto parameters = [](bool profile, const std::function<void(PS::parametersProfLead&)>& change) {
        return [=](PS& s) {
            PS::parametersProfLead p;
            s.getProfLeadParameters(profile, p);
            change(p);
            s.setProfLeadParameters(profile, p);
        };
    };
    const std::vector<PS::BarDiagramExtraLine> otherLine{{"fu", false}};
    const std::vector<PS::BarDiagramExtraLine> enabledLine{{"fum", true}};
    const std::tuple<const char*, Change, bool> rows[] = {
        {"nothing", [](PS&) {}, true},
        {"number per side", parameters(true, [](auto& p) { p.numberPerSide = 9; }), true},
        {"flip diagram", parameters(false, [](auto& p) { p.flipDiagram = !p.flipDiagram; }), true},
        {"scale within 1e-6", parameters(true, [](auto& p) { p.scaleVa = 1e-6; }), true},
        {"scale beyond 1e-6", parameters(true, [](auto& p) { p.scaleVb = 2e-6; }), false},
        {"enabled", parameters(false, [](auto& p) { p.enabled = false; }), false},
        {"reference", parameters(true, [](auto& p) { p.reference = Reference::Diameter; }), false},
        {"reference element", parameters(false, [](auto& p) { p.referenceElement = false; }), false},
        {"extended range table", parameters(true, [](auto& p) { p.extendedRangeTable = true; }), false},
        {"angle error", parameters(false, [](auto& p) { p.angleErrorAsDifferenceActualNominal = true; }),
         false},
        {"header",
         [](PS& s) {
             ProtocolHeader h;
             h.set(ProtocolHeader::HeaderEntry::TEXT_1, "x");
             s.setHeader(h);
         },
         false},
        {"single value table", [](PS& s) { s.setPitchSingleValueTable(true); }, false},
        {"overview table", [](PS& s) { s.setPitchResultsOverviewTable(false); }, false},
        {"output", [](PS& s) { s.setOutput(PS::OutputUnit::AutofilePdf, true); }, false},
        {"bar diagram flag", [](PS& s) { s.setBarDiagram(BT::fp, false, 0, nullptr); }, false},
        {"bar diagram scale within", [&](PS& s) { s.setBarDiagram(BT::fp, true, 5e-7, nullptr); }, true},
        {"bar diagram scale beyond", [&](PS& s) { s.setBarDiagram(BT::fp, true, 5e-6, nullptr); }, false},
        {"extra line count", [](PS& s) { s.setBarDiagram(BT::fu, false, 0, nullptr); }, false},
        {"extra line feature", [&](PS& s) { s.setBarDiagram(BT::fu, false, 0, &otherLine); }, false},
        {"extra line flag", [&](PS& s) { s.setBarDiagram(BT::fu, false, 0, &enabledLine); }, false},
        {"other setting", [](PS& s) { s.setOtherSettings(PS::OtherType::RootModificationAmount, false, 0); },
         false},
        {"variant", [](PS& s) { s.setAddendumModificationVariant(AddendumModificationVariant::AddmodSt); },
         false},
        {"flank name", [](PS& s) { s.setFlankName(Side::Left, "L"); }, false},
        {"twist", [](PS& s) { s.setTwistOnSeparatedPages(true); }, false},
        {"graph type", [](PS& s) { s.setTopographyGraphType("COLORED"); }, false},
        {"feed mark", [](PS& s) { s.setOutputFeedmarkProtocol(false); }, false},
        {"root scan", [](PS& s) { s.setOutputRootscanProtocol(false); }, false},
        {"easy contour", [](PS& s) { s.setCreateEasyContourResults(true); }, false},
    };
    for (const auto& [name, change, equal] : rows) {
        PS changed;
        change(changed);
        EXPECT_EQ(changed == PS(), equal) << name;
        EXPECT_EQ(PS() != changed, !equal) << name;
    }

    // other settings compare by name: flag and value within the tolerance
    PS a, b;
    a.setOtherSettings(PS::OtherType::RootModificationAmount, true, 1.0);
    b.setOtherSettings(PS::OtherType::RootModificationAmount, true, 1.0 + 1e-7);
    EXPECT_EQ(a, b);
    b.setOtherSettings(PS::OtherType::RootModificationAmount, false, 1.0);
    EXPECT_NE(a, b);
    b = a;
    b.setOtherSettings(PS::OtherType::TipModificationAmount, true, 1.0);
    a.setOtherSettings(PS::OtherType::TipModificationAmount, true, 1.1);
    EXPECT_NE(a, b);
}

} // namespace
