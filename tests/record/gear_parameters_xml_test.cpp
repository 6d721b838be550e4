#include <kest/gear/gear_parameters.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using kest::host::XMLNode;

namespace {

TEST(gear_parameters_xml, GroupRoundTripIsExact) {
    Gear_Additional_Parameter group;
    group.name = "probe";
    group.set_general_parameter("offset", "", 0.1);
    group.set_general_parameter("angle", "degree", -0.0);
    group.set_general_parameter("offset", "mm", 1.0 / 3.0); // replaces the first "offset"
    group.parameters.emplace_back("unset");
    MSXMLWrapper xml;
    xml.reset("parameters");
    ASSERT_TRUE(group.saveXML(&xml, xml.getRootNode()));
    std::string text;
    xml.serialize(text);
    EXPECT_NE(text.find("<probe>\n    <offset type=\"mm\">0.3333333333333333</offset>\n    <angle "
                        "type=\"degree\">-0</angle>\n    <unset>2147483646</unset>\n  </probe>"),
              std::string::npos)
        << text;

    Gear_Additional_Parameter loaded;
    loaded.parameters.emplace_back("stale");
    ASSERT_TRUE(loaded.loadXML(&xml, xml.getNode("probe")));
    EXPECT_TRUE(loaded.name == "probe" && loaded.parameters == group.parameters &&
                std::signbit(loaded.parameters[1].value));
    Gear_General_Parameter found;
    EXPECT_TRUE(loaded.get_general_parameter("angle", &found) && found.type == "degree" &&
                !loaded.get_general_parameter("Angle", &found));

    // a parameter alone writes and reads the same way
    const Gear_General_Parameter single("offset", "mm", 2.5);
    MSXMLWrapper own;
    own.reset("parameters");
    ASSERT_TRUE(single.saveXML(&own, own.getRootNode()));
    EXPECT_TRUE(found.loadXML(&own, own.getNode("offset")) && found == single);
}

// A parameter is an element of its own name, so only a plain element name is written.
TEST(gear_parameters_xml, WritesAndReadsThatFail) {
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse(R"(<group><a type="t">2.5mm</a><b> 4 </b></group>)"));
    for (const char* name : {"", "a/b", "x[@y=1]", "*", "1st"})
        EXPECT_FALSE(Gear_General_Parameter(name, "", 1.0).saveXML(&xml, xml.getRootNode())) << name;
    EXPECT_FALSE(Gear_General_Parameter("a", "", 1.0).saveXML(&xml, XMLNode()));
    Gear_Additional_Parameter group;
    EXPECT_FALSE(group.loadXML(nullptr, xml.getRootNode()) || group.loadXML(&xml, XMLNode()));
    EXPECT_FALSE(group.loadXML(&xml, xml.getRootNode()));
    // nothing was written, and the child after the unreadable one is still read
    ASSERT_EQ(group.parameters.size(), 2u);
    EXPECT_TRUE(group.parameters[0].type == "t" && isUnset(group.parameters[0].value) &&
                group.parameters[1].value == 4.0);
}

// A text that is neither word, or no attribute at all, fails and leaves the flag alone (enabled here).
TEST(gear_parameters_xml, EnableDisable) {
    for (const char* value : {"on", "off", "On", "", static_cast<const char*>(nullptr)}) {
        const std::string text = value ? value : "(none)";
        MSXMLWrapper xml, written;
        ASSERT_TRUE(xml.parse(value ? std::string("<s enabled=\"") + value + "\"/>" : "<s/>"));
        EnableDisable flag, again;
        flag.enable();
        EXPECT_EQ(flag.loadXML(&xml, xml.getRootNode()), text == "on" || text == "off") << text;
        EXPECT_EQ(flag.is_enabled(), text != "off") << text;
        written.reset("s");
        EXPECT_TRUE(flag.saveXML(&written, written.getRootNode()) &&
                    again.loadXML(&written, written.getRootNode()) && again == flag);
    }
}

} // namespace
