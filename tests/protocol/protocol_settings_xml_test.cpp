#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/protocol_settings.h>

#include "support/xml_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using PS = ProtocolSettings;
using BT = PS::BarDiagramType;

namespace {

using kest::test::serialized;

// Every setting away from its default, the excluded ones included.
PS changedSettings() {
    PS s;
    PS::parametersProfLead profile{false, 7, Reference::Diameter, true, 1.25, 1.0 / 3.0, false, true, true};
    PS::parametersProfLead lead{true, 2,    Reference::PercentDatumToNonDatum, true, 0.0, 12.5, true,
                                true, false};
    s.setProfLeadParameters(true, profile);
    s.setProfLeadParameters(false, lead);
    ProtocolHeader header;
    header.set(ProtocolHeader::HeaderEntry::DRAWING_NO, "Z-17");
    header.set(ProtocolHeader::HeaderEntry::DATE, "off");
    s.setHeader(header);
    s.setPitchSingleValueTable(true);
    s.setPitchResultsOverviewTable(false);
    s.setOutput(PS::OutputUnit::Screen, false);
    s.setOutput(PS::OutputUnit::AutofileRpf, true);
    const std::vector<PS::BarDiagramExtraLine> lines{{"Fr", true}, {"fr", false}};
    s.setBarDiagram(BT::Fr_j, false, 0.005, &lines);
    s.setBarDiagram(BT::runout_df_j, true, 2, nullptr);
    s.setOtherSettings(PS::OtherType::RootModificationAmount, true, 0.1);
    s.setOtherSettings(PS::OtherType::TipModificationAmount, false, -0.0025);
    s.setAddendumModificationVariant(AddendumModificationVariant::AddmodMdk);
    s.setFlankName(Side::Left, "links");
    s.setFlankName(Side::Right, "dr\xF6ite"); // not UTF-8: stored base64-encoded
    s.setTwistOnSeparatedPages(true);
    s.setTopographyGraphType("COLORED");
    s.setOutputFeedmarkProtocol(false);
    s.setOutputRootscanProtocol(false);
    s.setCreateEasyContourResults(true);
    return s;
}

TEST(protocol_settings_xml, RoundTripKeepsEverySetting) {
    const PS saved = changedSettings();
    MSXMLWrapper xml;
    xml.reset("gear");
    ASSERT_TRUE(saved.saveXML(&xml, ""));
    const std::string first = serialized(xml);
    PS loaded;
    ASSERT_TRUE(loaded.loadXML(&xml, ""));
    EXPECT_EQ(loaded, saved);
    // the settings the comparison leaves out come back too
    PS::parametersProfLead profile, lead;
    loaded.getProfLeadParameters(true, profile);
    loaded.getProfLeadParameters(false, lead);
    EXPECT_EQ(profile.numberPerSide, 7);
    EXPECT_TRUE(profile.flipDiagram);
    EXPECT_TRUE(lead.flipDiagram);
    EXPECT_EQ(profile.scaleVb, 0.3333333333); // ten decimals
    std::string name;
    loaded.getFlankName(Side::Right, name);
    EXPECT_EQ(name, "dr\xF6ite");

    // saving again into the same document replaces what the first save wrote
    ASSERT_TRUE(loaded.saveXML(&xml, ""));
    EXPECT_EQ(serialized(xml), first);
}

// A scale below what ten decimals show is still a scale after a save, not automatic scaling.
TEST(protocol_settings_xml, TinyScaleStaysAScale) {
    PS saved;
    saved.setBarDiagram(BT::Fr_j, true, 1e-320, nullptr);
    MSXMLWrapper xml;
    xml.reset("gear");
    ASSERT_TRUE(saved.saveXML(&xml, ""));
    PS loaded;
    ASSERT_TRUE(loaded.loadXML(&xml, ""));
    bool enabled = false;
    double scale = 0.0;
    loaded.getBarDiagram(BT::Fr_j, enabled, scale, nullptr);
    EXPECT_EQ(scale, 1e-320);
}

TEST(protocol_settings_xml, Layout) {
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse("<gear><protocol><unknown a=\"1\"/><rootscan enabled=\"on\"/></protocol></gear>"));
    ASSERT_TRUE(changedSettings().saveXML(&xml, ""));
    const std::string text = serialized(xml);
    const char* fragments[] = {
        "<protocol>\n    <unknown a=\"1\" />\n    <output_unit>\n      <screen enabled=\"off\" />",
        "<autofile_rpf enabled=\"on\" />\n    </output_unit>\n    <profile enabled=\"off\">\n      "
        "<number_per_side>7</number_per_side>\n      <reference>diameter</reference>\n      <flip_diagram "
        "enabled=\"on\" />\n      <scale va=\"1.25\" vb=\"0.3333333333\" />\n      <reference_element "
        "enabled=\"off\" />\n      <extended_range_table enabled=\"on\" />\n      "
        "<angle_error_as_difference_actual_nominal enabled=\"on\" />\n    </profile>",
        "<scale va=\"auto\" vb=\"12.5\" />",
        "<pitch>\n      <bar_diagram>\n        <fp enabled=\"on\">\n          <scale va=\"auto\" />",
        "<table>\n        <fp enabled=\"on\" />\n        <overview_results enabled=\"off\" />\n      "
        "</table>",
        "<Fr_j enabled=\"off\">\n          <scale va=\"0.005\" />\n          <extra feature=\"Fr\" "
        "enabled=\"on\" "
        "/>\n          <extra feature=\"fr\" enabled=\"off\" />\n        </Fr_j>",
        "<tip_circle>\n      <bar_diagram>\n        <runout_da_j enabled=\"off\">",
        "<root_circle>\n      <bar_diagram>\n        <runout_df_j enabled=\"on\">\n          <scale va=\"2\" "
        "/>",
        "<other>\n      <design_profile>\n        <root_modification_amount "
        "enabled=\"on\">0.1</root_modification_amount>\n        <tip_modification_amount "
        "enabled=\"off\">-0.0025</tip_modification_amount>\n      </design_profile>\n    </other>\n    "
        "<header>\n      <DRAWING_NO text=\"Z-17\" />\n      <DATE enabled=\"off\" />\n    </header>\n    "
        "<geometry>\n      <addendum_modification_variant>addmod_mdk</addendum_modification_variant>\n      "
        "<flank_name side=\"left\">links</flank_name>\n      <flank_name side=\"right\" "
        "base_64=\"on\">ZHL2aXRl</flank_name>\n    </geometry>\n    <twist_on_separated_pages enabled=\"on\" "
        "/>\n  "
        "  <topography>\n      <graph_type>COLORED</graph_type>\n    </topography>\n    <feed_mark "
        "enabled=\"off\" />\n    <rootscan enabled=\"off\">\n      "
        "<create_easy_contour_results>1</create_easy_contour_results>\n    </rootscan>\n  </protocol>",
    };
    for (const char* fragment : fragments)
        EXPECT_NE(text.find(fragment), std::string::npos) << fragment;
    EXPECT_EQ(text.find("<rootscan"), text.rfind("<rootscan")); // the old one was replaced
}

// Each row: document below <gear>, result, and a check of the settings loaded into changedSettings().
TEST(protocol_settings_xml, Load) {
    using Check = std::function<bool(const PS&)>;
    const auto diagram = [](const PS& s, BT type) {
        bool enabled = false;
        double scale = -1;
        std::vector<PS::BarDiagramExtraLine> lines;
        s.getBarDiagram(type, enabled, scale, &lines);
        return std::make_tuple(enabled, scale, lines.size());
    };
    const auto parameters = [](const PS& s, bool profile) {
        PS::parametersProfLead p;
        s.getProfLeadParameters(profile, p);
        return p;
    };
    const auto other = [](const PS& s) { return s.getAllOtherSettings().size(); };
    const std::tuple<const char*, bool, Check> rows[] = {
        {"", true, [](const PS& s) { return s == changedSettings(); }},
        {"<protocol/>", true, [&](const PS& s) { return other(s) == 0; }}, // the other settings are cleared
        // output units: a child that does not read is off; at least one child must exist
        {"<protocol><output_unit><printer enabled=\"on\"/><screen enabled=\"x\"/></output_unit></protocol>",
         true,
         [](const PS& s) {
             return s.getOutput(PS::OutputUnit::Printer) && !s.getOutput(PS::OutputUnit::Screen) &&
                    !s.getOutput(PS::OutputUnit::AutofileRpf);
         }},
        {"<protocol><output_unit/></protocol>", false,
         [](const PS& s) { return !s.getOutput(PS::OutputUnit::AutofileRpf); }},
        // profile fields read one by one; an unreadable one stays, the angle error becomes off
        {"<protocol><profile "
         "enabled=\"on\"><number_per_side>x</number_per_side><reference>nowhere</reference>"
         "<scale va=\"auto\" vb=\"2.5mm\"/></profile></protocol>",
         true,
         [&](const PS& s) {
             const PS::parametersProfLead p = parameters(s, true);
             return p.enabled && p.numberPerSide == 7 && p.reference == Reference::Diameter &&
                    p.scaleVa == 0 && p.scaleVb == 2.5 && p.extendedRangeTable &&
                    !p.angleErrorAsDifferenceActualNominal;
         }},
        {"<protocol><lead><scale va=\"wide\"/></lead></protocol>", true,
         [&](const PS& s) {
             return parameters(s, false).scaleVb == 12.5 && parameters(s, false).scaleVa == 0;
         }},
        // pitch: missing keeps every bar diagram; a missing diagram node is disabled
        {"<protocol><output_unit><screen enabled=\"on\"/></output_unit></protocol>", true,
         [&](const PS& s) {
             return diagram(s, BT::runout_df_j) == std::make_tuple(true, 2.0, std::size_t{0});
         }},
        {"<protocol><pitch><bar_diagram><fu enabled=\"on\"><scale va=\"3\"/><extra feature=\"fum\" "
         "enabled=\"on\"/></fu></bar_diagram></pitch></protocol>",
         true,
         [&](const PS& s) {
             return diagram(s, BT::fu) == std::make_tuple(true, 3.0, std::size_t{1}) &&
                    diagram(s, BT::runout_df_j) == std::make_tuple(false, 2.0, std::size_t{0}) &&
                    s.getPitchSingleValueTable();
         }},
        {"<protocol><pitch><table><fp enabled=\"off\"/></table><bar_diagram><fu enabled=\"on\"><extra "
         "feature=\"a\" enabled=\"on\"/><extra feature=\"b\" enabled=\"maybe\"/><extra feature=\"c\" "
         "enabled=\"on\"/></fu></bar_diagram></pitch></protocol>",
         false,
         [&](const PS& s) {
             // no scale: the part fails at once, so no line is taken
             return !s.getPitchSingleValueTable() && std::get<2>(diagram(s, BT::fu)) == 0;
         }},
        // other settings: groups with children and single elements
        {"<protocol><other><design_profile><tip_modification_amount "
         "enabled=\"on\">0.5</tip_modification_amount>"
         "</design_profile><lonely enabled=\"off\">abc</lonely></other></protocol>",
         true,
         [](const PS& s) {
             bool enabled = false;
             double value = 0;
             const auto& all = s.getAllOtherSettings();
             return s.getOtherSettings(PS::OtherType::TipModificationAmount, enabled, value) && enabled &&
                    value == 0.5 && all.size() == 2 && all.count("lonely") == 1 &&
                    all.at("lonely").value == 0;
         }},
        {"<protocol><other><a><b>1</b></a></other></protocol>", false,
         [](const PS& s) { return s.getAllOtherSettings().empty(); }},
        // geometry: missing keeps the variant; flank names are added to those held
        {"<protocol><geometry><flank_name side=\"both\">beide</flank_name></geometry></protocol>", true,
         [](const PS& s) {
             std::string left, both;
             AddendumModificationVariant v{};
             s.getAddendumModificationVariant(v);
             return s.getFlankName(Side::Left, left) && left == "links" && s.getFlankName(Side::Both, both) &&
                    both == "beide" && v == AddendumModificationVariant::AddmodMdk;
         }},
        {"<protocol><geometry><flank_name side=\"up\">x</flank_name><flank_name "
         "side=\"left\">y</flank_name></geometry></protocol>",
         false,
         [](const PS& s) {
             std::string left;
             return s.getFlankName(Side::Left, left) && left == "links";
         }},
        {"<protocol><geometry><addendum_modification_variant>bad</addendum_modification_variant></geometry>"
         "</protocol>",
         false, [](const PS&) { return true; }},
        // flags: the graph type is taken as it is; a failed integer read keeps the easy-contour flag
        {"<protocol><topography><graph_type>fancy</graph_type></topography><rootscan enabled=\"on\">"
         "<create_easy_contour_results>x</create_easy_contour_results></rootscan></protocol>",
         true,
         [](const PS& s) {
             std::string type;
             s.getTopographyGrahpType(type);
             return type == "fancy" && s.getOutputRootscanProtocol() && s.getCreateEasyContourResults();
         }},
        {"<protocol><rootscan enabled=\"on\"><create_easy_contour_results>2</create_easy_contour_results>"
         "</rootscan><feed_mark/></protocol>",
         false,
         [](const PS& s) { return !s.getCreateEasyContourResults() && !s.getOutputFeedmarkProtocol(); }},
        {"<protocol><twist_on_separated_pages enabled=\"no\"/><topography/></protocol>", false,
         [](const PS& s) { return s.getTwistOnSeparatedPages(); }},
    };
    for (const auto& [body, result, check] : rows) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(std::string("<gear>") + body + "</gear>"));
        PS settings = changedSettings();
        EXPECT_EQ(settings.loadXML(&xml, ""), result) << body;
        EXPECT_TRUE(check(settings)) << body;
    }
}

TEST(protocol_settings_xml, BasePathAndNullWrapper) {
    PS settings;
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse("<gear><a/></gear>"));
    EXPECT_FALSE(settings.saveXML(nullptr, ""));
    EXPECT_FALSE(settings.loadXML(nullptr, ""));
    EXPECT_FALSE(settings.saveXML(&xml, "missing"));
    EXPECT_FALSE(settings.loadXML(&xml, "missing"));
    const PS changed = changedSettings();
    ASSERT_TRUE(changed.saveXML(&xml, "a"));
    EXPECT_TRUE(xml.getNode("a/protocol/geometry/addendum_modification_variant"));
    EXPECT_FALSE(xml.getNode("protocol"));
    ASSERT_TRUE(settings.loadXML(&xml, "a"));
    EXPECT_EQ(settings, changed);
}

} // namespace
