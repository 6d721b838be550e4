#include "host/user_text_xml.h"

#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using kest::host::DiagnosticChannel;
using kest::host::MSXMLWrapper;
using namespace kest::host;

namespace {

constexpr const char* kPath = "geometry/module";

// A text that is not valid UTF-8 (an overlong zero, Latin-1) is stored base64 with base_64="on", as own text
// or attribute; it comes back through the document's text form, as from a saved and loaded gear file.
TEST(user_text_xml, RoundTripsThroughTheFile) {
    // clang-format off
    const std::tuple<UserText, const char*, bool> rows[]{ // written, stored in the document, encoded
        {{"", "Profile A"}, "Profile A", false}, {{"", ""}, "", false},
        {{"user_string", "Zahnrad f\xC3\xBCr \xE2\x82\xAC"}, "Zahnrad f\xC3\xBCr \xE2\x82\xAC", false},
        {{"name", "<a & 'b' \"c\">"}, "<a & 'b' \"c\">", false},
        {{"user_string", "\xC0\x80"}, "wIA=", true}, {{"", "\xC0\x80"}, "wIA=", true},
        {{"name", "Gr\xFC\xDF" "e"}, "R3L832U=", true}};
    // clang-format on
    for (const auto& [written, stored, encoded] : rows) {
        MSXMLWrapper xml;
        xml.reset("gear");
        const auto node = xml.createNode(kPath);
        ASSERT_TRUE(
            writeUserText(xml, node, {written.attribute, "\xFF"})); // a plain text replaces an encoded one
        ASSERT_TRUE(writeUserText(xml, node, written));
        std::string text, flag;
        EXPECT_TRUE(written.attribute.empty() ? xml.getStringValue("", text, node)
                                              : xml.getAttributeValue(node, written.attribute.c_str(), text));
        EXPECT_EQ(text, stored);
        EXPECT_EQ(xml.getAttributeValue(node, kBase64Attribute, flag) && flag == "on", encoded) << stored;
        std::string document;
        xml.serialize(document);
        MSXMLWrapper loaded;
        ASSERT_TRUE(loaded.parse(document));
        UserText read{written.attribute, "previous"};
        EXPECT_TRUE(readUserText(loaded, loaded.getNode(kPath), read));
        EXPECT_EQ(read.text, written.text);
    }
    MSXMLWrapper xml;
    UserText text{"", "something"};
    EXPECT_FALSE(writeUserText(xml, {}, text) || readUserText(xml, {}, text)); // no node
}

// Only "on" and "off" are flags; a text that does not decode is traced and read as empty.
TEST(user_text_xml, Reading) {
    // clang-format off
    const std::tuple<const char*, const char*, bool, std::string> rows[]{ // element, attribute, reads, text
        {"<module base_64='off'>Zm9v</module>", "", true, "Zm9v"},
        {"<module base_64='on' name='Zm9v'>x</module>", "name", true, "foo"},
        {"<module base_64='ON'>Zm9v</module>", "", false, "Zm9v"},
        {"<module>text</module>", "name", false, ""}, // no such attribute
        {"<module base_64='on'>Zm9</module>", "", false, ""}};
    // clang-format on
    for (const auto& [element, attribute, reads, expected] : rows) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(std::string("<gear><geometry>") + element + "</geometry></gear>"));
        kest::test::DiagnosticsCapture capture;
        UserText read{attribute, "previous"};
        EXPECT_EQ(readUserText(xml, xml.getNode(kPath), read), reads) << element;
        EXPECT_EQ(read.text, expected) << element;
        EXPECT_EQ(capture.messages(DiagnosticChannel::ErrorTrace).size(),
                  !*attribute && expected.empty() ? 2u : 0u);
    }
}

} // namespace
