#include <kest/gear/host/msxml_wrapper.h>

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <numbers>

namespace kest::host {
namespace {

MSXMLWrapper parsed(const char* text) {
    MSXMLWrapper xml;
    EXPECT_TRUE(xml.parse(text));
    return xml;
}

std::string attribute(const MSXMLWrapper& xml, XMLNode node, const char* name) {
    std::string value;
    return xml.getAttributeValue(node, name, value) ? value : "<none>";
}

constexpr const char* sample = R"(<gear version="9.02-44">
  <evaluation>
    <profile side="left"><range name="a">1</range><range name="b">2</range></profile>
    <profile side="right"><range name="a">3</range></profile>
  </evaluation>
  <measurement><profile tooth="1" measurement_index="0"/><profile tooth="2" measurement_index="1"/></measurement>
</gear>)";

struct LookupCase {
    const char* path;
    std::vector<std::string> texts; // texts of the matches, in document order
};

class MSXMLWrapperLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(MSXMLWrapperLookup, FindsMatchesInDocumentOrder) {
    const MSXMLWrapper xml = parsed(sample);
    std::vector<std::string> texts;
    for (const XMLNode node : xml.getNodes(GetParam().path)) {
        std::string text;
        xml.getStringValue("", text, node);
        texts.push_back(text);
    }
    EXPECT_EQ(texts, GetParam().texts) << GetParam().path;
    const XMLNode first = xml.getNode(GetParam().path);
    EXPECT_EQ(bool(first), !GetParam().texts.empty());
    if (first) {
        EXPECT_EQ(first, xml.getNodes(GetParam().path).front());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, MSXMLWrapperLookup,
    ::testing::Values(LookupCase{"evaluation/profile/range", {"1", "2", "3"}},
                      LookupCase{"evaluation/profile[@side='right']/range", {"3"}},
                      LookupCase{"evaluation/profile[@side = 'left']/range[@name='b']", {"2"}},
                      LookupCase{"evaluation/*/range[@name='a']", {"1", "3"}},
                      LookupCase{"measurement/profile[@tooth='2' and @measurement_index=1]", {""}},
                      LookupCase{"measurement/profile[@measurement_index=1.0]", {""}},
                      LookupCase{"measurement/profile[@measurement_index='1.0']", {}},
                      LookupCase{"evaluation/profile[@side='both']/range", {}},
                      LookupCase{"//range[@name='a']", {"1", "3"}}, // XPath fallback
                      LookupCase{"//range[@name='b'] | //range[@name='a']", {"1", "2", "3"}},
                      LookupCase{"evaluation/profile[2]/range", {"3"}}, LookupCase{"a[[", {}}));

TEST(MSXMLWrapper, CreateNodeMakesWhatGetNodeFinds) {
    MSXMLWrapper xml = parsed("<gear><a><b/></a><a><c/></a></gear>");
    // The second <a> is the first that holds a <c>: creating below a/c must extend that one, not the first
    // <a>.
    const XMLNode created = xml.createNode("a/c/d[@id=3 and @name='x']");
    ASSERT_TRUE(created);
    EXPECT_EQ(xml.getNode("a/c/d[@id=3 and @name='x']"), created);
    EXPECT_EQ(attribute(xml, created, "id"), "3");
    EXPECT_EQ(attribute(xml, created, "name"), "x");
    EXPECT_EQ(xml.createNode("a/c/d[@id=3 and @name='x']"), created) << "an existing element is reused";
    EXPECT_NE(xml.createNode("a/c/d[@id=3 and @name='x']", {}, true), created) << "appendNew adds a sibling";
    EXPECT_EQ(xml.getNodes("a/c/d").size(), 2u);
    EXPECT_EQ(xml.createNode("a/*"), xml.getNode("a/b")) << "an existing match is returned";
    EXPECT_FALSE(xml.createNode("x/*")) << "a wildcard names nothing to create";
    EXPECT_FALSE(xml.createNode("//a")) << "nor does an XPath";
}

TEST(MSXMLWrapper, DeleteNodesRemovesEveryMatch) {
    MSXMLWrapper xml = parsed(sample);
    EXPECT_TRUE(xml.deleteNodes("evaluation/profile/range[@name='a']"));
    EXPECT_EQ(xml.getNodes("evaluation/profile/range").size(), 1u);
    EXPECT_TRUE(xml.deleteNodes("nothing/here"));
    EXPECT_FALSE(xml.deleteNodes("a[["));
}

// The short plain decimals a gear file mostly holds are converted by a shortcut; it gives the correctly
// rounded value bit for bit, as the full conversion gives it for every other form.
TEST(MSXMLWrapper, DecimalsReadCorrectlyRounded) {
    const char* texts[] = {"240",
                           "-12.5",
                           "0.1",
                           "-0",
                           "007",
                           "123456789012345",
                           "0.00000000000001",
                           "99999999999999.9",
                           "0.3",
                           "1234567890123456",
                           "12345678.90123456",
                           "0.30000000000000004",
                           "9007199254740993",
                           "95142426273599.37",
                           "7236830840615796.5",
                           "5.",
                           ".5",
                           "1e3"};
    for (const char* text : texts) {
        MSXMLWrapper xml = parsed((std::string("<v>") + text + "</v>").c_str());
        double read = 0.0;
        ASSERT_TRUE(xml.getDoubleValue("", read)) << text;
        const double expected = std::strtod(text, nullptr);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(read), std::bit_cast<std::uint64_t>(expected)) << text;
    }
}

TEST(MSXMLWrapper, DoublesRoundTripBitForBit) {
    const double values[] = {0.1,
                             -0.5,
                             10.0,
                             1.0 / 3.0,
                             2147483646.0,
                             5e-324,
                             1.7976931348623157e308,
                             -0.0,
                             std::numeric_limits<double>::infinity(),
                             20.0 * std::numbers::pi / 180.0};
    MSXMLWrapper xml;
    xml.reset("gear");
    for (const double v : values) {
        ASSERT_TRUE(xml.setDoubleValue("geometry/value", v));
        double back = 0.0;
        ASSERT_TRUE(xml.getDoubleValue("geometry/value", back));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(v)) << v;
    }
    std::string text;
    xml.setDoubleValue("geometry/value", 0.1);
    xml.getStringValue("geometry/value", text);
    EXPECT_EQ(text, "0.1");
}

struct NumberCase {
    const char* text;
    bool isDouble;
    bool isInt;
    long intValue;
};

class MSXMLWrapperNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(MSXMLWrapperNumbers, ReadOnlyWholeNumbers) {
    MSXMLWrapper xml;
    xml.reset("gear");
    xml.setStringValue("n", GetParam().text);
    double d = -1.0;
    long i = -1;
    EXPECT_EQ(xml.getDoubleValue("n", d), GetParam().isDouble) << GetParam().text;
    EXPECT_EQ(xml.getIntValue("n", i), GetParam().isInt) << GetParam().text;
    EXPECT_EQ(i, GetParam().isInt ? GetParam().intValue : -1) << "a failed read leaves the value alone";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MSXMLWrapperNumbers,
    ::testing::Values(NumberCase{"20", true, true, 20}, NumberCase{" -3 ", true, true, -3},
                      NumberCase{"+7", true, true, 7}, NumberCase{"20.0", true, true, 20},
                      NumberCase{"20.5", true, false, 0}, NumberCase{"1e3", true, true, 1000},
                      NumberCase{"", false, false, 0}, NumberCase{"12ab", false, false, 0},
                      NumberCase{"left", false, false, 0}));

TEST(MSXMLWrapper, SetIntValueWritesTheDecimalText) {
    MSXMLWrapper xml;
    xml.reset("gear");
    const struct {
        long value;
        const char* text;
    } rows[] = {{0, "0"}, {-17, "-17"}, {9223372036854775807L, "9223372036854775807"}};
    for (const auto& row : rows) {
        ASSERT_TRUE(xml.setIntValue("a/n", row.value));
        std::string text;
        ASSERT_TRUE(xml.getStringValue("a/n", text));
        EXPECT_EQ(text, row.text);
    }
}

TEST(MSXMLWrapper, MissingElementsAreReportedNotCreated) {
    const MSXMLWrapper xml = parsed("<gear/>");
    std::string s = "kept";
    double d = 4.0;
    EXPECT_FALSE(xml.getStringValue("geometry/type", s));
    EXPECT_FALSE(xml.getDoubleValue("geometry/face_width", d));
    EXPECT_EQ(s, "kept");
    EXPECT_EQ(d, 4.0);
    EXPECT_FALSE(xml.getNode("geometry"));
}

TEST(MSXMLWrapper, AttributesAndParents) {
    MSXMLWrapper xml = parsed("<gear><a x='1'/></gear>");
    const XMLNode a = xml.getNode("a");
    EXPECT_EQ(attribute(xml, a, "x"), "1");
    EXPECT_TRUE(xml.addAttributeValue(a, "x", "2"));
    EXPECT_TRUE(xml.addAttributeValue(a, "y", "3"));
    EXPECT_EQ(attribute(xml, a, "x"), "2");
    EXPECT_TRUE(xml.removeAttributeValue(a, "y"));
    EXPECT_EQ(attribute(xml, a, "y"), "<none>");
    EXPECT_FALSE(xml.addAttributeValue(XMLNode(), "x", "1"));
    EXPECT_EQ(a.parent(), xml.getRootNode());
    EXPECT_FALSE(xml.getRootNode().parent());
    EXPECT_STREQ(a.name(), "a");
    EXPECT_STREQ(XMLNode().name(), "");
}

// The direct steps pass over comments, texts and instructions, even an instruction of the name looked for.
TEST(MSXMLWrapper, DirectStepsVisitOnlyElements) {
    const MSXMLWrapper xml =
        parsed("<gear>text<!--c--><?p x?><p a='1' c='x'>one</p><q/><?p y?><p>two</p></gear>");
    const XMLNode root = xml.getRootNode();
    std::vector<std::string> all;
    for (XMLNode n = root.firstChild(); n; n = n.nextSibling())
        all.emplace_back(n.name());
    EXPECT_EQ(all, (std::vector<std::string>{"p", "q", "p"}));
    std::vector<std::string> texts;
    for (XMLNode n = root.child("p"); n; n = n.nextNamesake())
        texts.emplace_back(n.text());
    EXPECT_EQ(texts, (std::vector<std::string>{"one", "two"}));
    EXPECT_STREQ(root.child("p").attribute("a"), "1");
    EXPECT_EQ(root.child("p").attribute("b"), nullptr);
    EXPECT_STREQ(root.child("q").text(), "");
    EXPECT_FALSE(root.child("r"));
    // several in one pass, null where there is none
    constexpr const char* names[] = {"c", "b", "a"};
    const char* values[3];
    root.child("p").attributes(names, values, 3);
    EXPECT_STREQ(values[0], "x");
    EXPECT_EQ(values[1], nullptr);
    EXPECT_STREQ(values[2], "1");
    EXPECT_FALSE(XMLNode().firstChild());
    EXPECT_EQ(XMLNode().attribute("a"), nullptr);
}

TEST(MSXMLWrapper, ContentHashFollowsContent) {
    MSXMLWrapper xml = parsed("<gear><geometry><z>20</z></geometry><other/></gear>");
    std::string before, text;
    ASSERT_TRUE(xml.getXMLContentHash(xml.getNode("geometry"), &text, &before));
    EXPECT_EQ(before.size(), 32u);
    EXPECT_EQ(text, "<geometry><z>20</z></geometry>");
    std::string same;
    xml.setStringValue("other", "changed elsewhere");
    xml.getXMLContentHash(xml.getNode("geometry"), nullptr, &same);
    EXPECT_EQ(same, before);
    xml.setDoubleValue("geometry/z", 21);
    std::string after;
    xml.getXMLContentHash(xml.getNode("geometry"), nullptr, &after);
    EXPECT_NE(after, before);
    EXPECT_FALSE(xml.getXMLContentHash(XMLNode(), nullptr, &after));
}

// Elements may nest 256 deep. The walk that checks it climbs back out of finished branches, so a chain that
// starts after them is measured from the right depth; a blank text left by a reference to NUL goes.
TEST(MSXMLWrapper, ParseLimitsTheNestingAndDropsBlankTexts) {
    const auto repeat = [](const char* text, int times) {
        std::string out;
        for (int i = 0; i < times; ++i)
            out += text;
        return out;
    };
    const auto chain = [&](int depth) { return repeat("<e>", depth) + repeat("</e>", depth); };
    const struct {
        std::string text;
        std::string error; // "" when it parses
    } rows[]{
        {"<r>" + chain(255) + "</r>", ""},
        {"<r>" + chain(256) + "</r>", "elements nested deeper than 256 levels at byte offset 769"},
        {"<r><a><b><c/></b></a><!--x-->" + chain(255) + "</r>", ""},
        // the shortest text of a nesting too deep: an empty element innermost
        {"<r>" + repeat("<e>", 255) + "<e/>" + repeat("</e>", 255) + "</r>",
         "elements nested deeper than 256 levels at byte offset 769"},
        {"<r><a><b><c/></b></a>" + chain(256) + "</r>",
         "elements nested deeper than 256 levels at byte offset 787"},
    };
    for (const auto& row : rows) {
        MSXMLWrapper xml;
        std::string error;
        EXPECT_EQ(xml.parse(row.text, &error), row.error.empty()) << row.error;
        EXPECT_EQ(error, row.error);
    }
    MSXMLWrapper xml = parsed("<r><a>&#0; </a><b> &#0;x</b></r>");
    std::string text;
    xml.serialize(text);
    EXPECT_EQ(text, "<?xml version=\"1.0\"?>\n<r>\n  <a />\n  <b />\n</r>\n");
}

TEST(MSXMLWrapper, ParseFailureKeepsTheDocumentAndCopiesAreIndependent) {
    MSXMLWrapper xml = parsed("<gear><a/></gear>");
    std::string error;
    EXPECT_FALSE(xml.parse("<gear><a></gear>", &error));
    EXPECT_NE(error.find("byte offset"), std::string::npos) << error;
    EXPECT_TRUE(xml.getNode("a"));
    MSXMLWrapper copy = xml; // copies are independent
    copy.setStringValue("a", "2");
    std::string text = "stale";
    xml.getStringValue("a", text);
    EXPECT_EQ(text, "");
}

} // namespace
} // namespace kest::host
