#include "util/user_text.h"

#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kest::host::DiagnosticChannel;
using kest::host::MSXMLWrapper;
using kest::host::XMLNode;
using kest::test::DiagnosticsCapture;
using namespace kest::util;

namespace {

constexpr const char* kPath = "geometry/module";

struct RoundTripRow {
    const char* name;
    UserText written;
    std::string stored; // the text as it stands in the document
    bool encoded;
};

TEST(user_text, RoundTripsThroughTheFile) {
    const std::vector<RoundTripRow> rows{
        {"own text", {"", "Profile A"}, "Profile A", false},
        {"attribute",
         {"user_string", "Zahnrad f\xC3\xBCr \xE2\x82\xAC"},
         "Zahnrad f\xC3\xBCr \xE2\x82\xAC",
         false},
        {"markup characters", {"name", "<a & 'b' \"c\">"}, "<a & 'b' \"c\">", false},
        {"empty own text", {"", ""}, "", false},
        {"overlong zero in an attribute", {"user_string", "\xC0\x80"}, "wIA=", true},
        {"overlong zero as own text", {"", "\xC0\x80"}, "wIA=", true},
        {"Latin-1 text",
         {"name", "Gr\xFC\xDF"
                  "e"},
         "R3L832U=",
         true},
    };
    for (const RoundTripRow& row : rows) {
        SCOPED_TRACE(row.name);
        MSXMLWrapper xml;
        xml.reset("gear");
        XMLNode node = xml.createNode(kPath);
        ASSERT_TRUE(writeUserText(xml, node, row.written));

        std::string stored, flag;
        if (row.written.attribute.empty())
            EXPECT_TRUE(xml.getStringValue("", stored, node));
        else
            EXPECT_TRUE(xml.getAttributeValue(node, row.written.attribute.c_str(), stored));
        EXPECT_EQ(stored, row.stored);
        EXPECT_EQ(xml.getAttributeValue(node, kBase64Attribute, flag), row.encoded);
        EXPECT_EQ(flag, row.encoded ? "on" : "");

        // Through the document's text form, as a saved and loaded gear file.
        std::string document;
        xml.serialize(document);
        MSXMLWrapper loaded;
        ASSERT_TRUE(loaded.parse(document));
        UserText read{row.written.attribute, "previous"};
        EXPECT_TRUE(readUserText(loaded, loaded.getNode(kPath), read));
        EXPECT_EQ(read.text, row.written.text);
    }
}

TEST(user_text, PlainTextReplacesAnEncodedOne) {
    MSXMLWrapper xml;
    xml.reset("gear");
    XMLNode node = xml.createNode(kPath);
    ASSERT_TRUE(writeUserText(xml, node, {"name", "\xFF"}));
    ASSERT_TRUE(writeUserText(xml, node, {"name", "plain"}));
    std::string flag;
    EXPECT_FALSE(xml.getAttributeValue(node, kBase64Attribute, flag));
    UserText read{"name", ""};
    EXPECT_TRUE(readUserText(xml, node, read));
    EXPECT_EQ(read.text, "plain");
}

struct ReadRow {
    const char* name;
    const char* element;
    const char* attribute;
    bool reads;
    std::string text;
    std::vector<std::string> traced;
};

TEST(user_text, Reading) {
    const std::vector<ReadRow> rows{
        {"base_64 off", "<module base_64='off'>Zm9v</module>", "", true, "Zm9v", {}},
        {"base_64 on", "<module base_64='on'>Zm9v</module>", "", true, "foo", {}},
        {"base_64 on, attribute", "<module base_64='on' name='Zm9v'>x</module>", "name", true, "foo", {}},
        {"base_64 ON", "<module base_64='ON'>Zm9v</module>", "", false, "Zm9v", {}},
        {"base_64 yes", "<module base_64='yes' name='Zm9v'/>", "name", false, "Zm9v", {}},
        {"base_64 empty", "<module base_64=''>Zm9v</module>", "", false, "Zm9v", {}},
        {"missing attribute", "<module>text</module>", "name", false, "", {}},
        {"undecodable",
         "<module base_64='on'>Zm9</module>",
         "",
         false,
         "",
         {"MBase64_Decode(): source_len has to be multiple of 4, not 3",
          "stl_decode_base64(): MBase64_Decode(3) failed (0)"}},
    };
    for (const ReadRow& row : rows) {
        SCOPED_TRACE(row.name);
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(std::string("<gear><geometry>") + row.element + "</geometry></gear>"));
        DiagnosticsCapture capture;
        UserText read{row.attribute, "previous"};
        EXPECT_EQ(readUserText(xml, xml.getNode(kPath), read), row.reads);
        EXPECT_EQ(read.text, row.text);
        EXPECT_EQ(capture.messages(DiagnosticChannel::ErrorTrace), row.traced);
    }
}

TEST(user_text, EmptyNodeFails) {
    MSXMLWrapper xml;
    xml.reset("gear");
    UserText text{"", "something"};
    EXPECT_FALSE(writeUserText(xml, XMLNode{}, text));
    EXPECT_FALSE(readUserText(xml, XMLNode{}, text));
}

} // namespace
