#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/protocol_header.h>

#include "support/diagnostics_capture.h"
#include "support/xml_text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using E = ProtocolHeader::HeaderEntry;

namespace {

using kest::test::serialized;

// Each row: entry, value to set, result of set, what get then returns and yields. The entry starts as "old".
TEST(protocol_header, SetAndGet) {
    const std::tuple<E, const char*, bool, bool, const char*> rows[] = {
        {E::DRAWING_NO, "4711-A", true, true, "4711-A"},
        {E::DRAWING_NO, "", false, false, ""}, // an empty text clears the entry
        {E::BITMAP, "logo.bmp", true, true, "logo.bmp"},
        {E::DATE, "on", true, true, "on"},
        {E::DATE, "yes", false, true, "old"}, // refused, the old value stays
        {E::DATE, "", false, true, "old"},
        {E::TIME, "ON", false, true, "old"},
        {static_cast<E>(16), "x", false, false, ""},
        {static_cast<E>(-1), "x", false, false, ""},
    };
    for (const auto& [entry, value, setResult, getResult, got] : rows) {
        ProtocolHeader header;
        if (static_cast<int>(entry) >= 0 && static_cast<int>(entry) < 16) {
            // "old" is no flag text; store it through a load
            MSXMLWrapper xml;
            const std::string file = std::string("<gear><protocol><header><") + ProtocolHeader::key(entry) +
                                     " " + ProtocolHeader::valueAttribute(entry) +
                                     "=\"old\"/></header></protocol></gear>";
            ASSERT_TRUE(xml.parse(file));
            ASSERT_TRUE(header.loadXML(&xml, ""));
        }
        EXPECT_EQ(header.set(entry, value), setResult) << static_cast<int>(entry) << " " << value;
        std::string out = "stale";
        EXPECT_EQ(header.get(entry, &out), getResult) << static_cast<int>(entry) << " " << value;
        EXPECT_EQ(out, got) << static_cast<int>(entry) << " " << value;
    }
    EXPECT_FALSE(ProtocolHeader().get(E::COMMENT, nullptr));
    EXPECT_STREQ(ProtocolHeader::key(static_cast<E>(16)), "");
}

TEST(protocol_header, SavesOnlyEntriesThatAreSetAndReplacesTheOldHeader) {
    ProtocolHeader header;
    header.set(E::PART_NAME, "Ritzel");
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse("<gear><protocol><header><COMMENT text=\"old\"/></header></protocol></gear>"));
    ASSERT_TRUE(header.saveXML(&xml, ""));
    ASSERT_TRUE(header.saveXML(&xml, ""));
    EXPECT_EQ(serialized(xml),
              "<?xml version=\"1.0\"?>\n<gear>\n  <protocol>\n    <header>\n      <PART_NAME "
              "text=\"Ritzel\" />\n    </header>\n  </protocol>\n</gear>\n");
}

TEST(protocol_header, RoundTripOfEveryEntryAndOfATextThatIsNotUtf8) {
    ProtocolHeader header;
    for (int i = 0; i < 16; ++i) {
        const E entry = static_cast<E>(i);
        header.set(entry, entry == E::DATE ? "on" : entry == E::TIME ? "off" : "text " + std::to_string(i));
    }
    header.set(E::COMMENT, "Ma\xDF "); // Latin-1, not UTF-8
    MSXMLWrapper xml;
    xml.reset("gear");
    ASSERT_TRUE(header.saveXML(&xml, ""));
    EXPECT_NE(serialized(xml).find("<COMMENT text=\"TWHfIA==\" base_64=\"on\" />"), std::string::npos)
        << serialized(xml);
    EXPECT_NE(serialized(xml).find("<DATE enabled=\"on\" />"), std::string::npos);
    ProtocolHeader loaded;
    ASSERT_TRUE(loaded.loadXML(&xml, ""));
    EXPECT_EQ(loaded, header);
    loaded.set(E::TEXT_3, "changed");
    EXPECT_NE(loaded, header);
}

TEST(protocol_header, Load) {
    // Each row: document, base path, result, comment afterwards. The header starts with the comment "before".
    const std::tuple<const char*, const char*, bool, const char*> rows[] = {
        {"<gear/>", "", true, "before"},
        {"<gear><protocol/></gear>", "", true, "before"},
        {"<gear><protocol><header/></protocol></gear>", "", true, ""},
        {"<gear><protocol><header><PART_NAME text=\"p\"/></header></protocol></gear>", "", true, ""},
        {"<gear><protocol><header><COMMENT text=\"c\"/></header></protocol></gear>", "", true, "c"},
        {"<gear><protocol><header><COMMENT/></header></protocol></gear>", "", true, ""},
        {"<gear><protocol><header><COMMENT text=\"@@\" base_64=\"on\"/></header></protocol></gear>", "", true,
         ""},
        {"<gear><a><protocol><header><COMMENT text=\"c\"/></header></protocol></a></gear>", "a", true, "c"},
        {"<gear><protocol><header><COMMENT text=\"c\"/></header></protocol></gear>", "a", false, "before"},
    };
    const kest::test::DiagnosticsCapture quiet; // the text that does not decode is reported
    for (const auto& [document, base, result, comment] : rows) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(document));
        ProtocolHeader header;
        header.set(E::COMMENT, "before");
        EXPECT_EQ(header.loadXML(&xml, base), result) << document;
        std::string out;
        header.get(E::COMMENT, &out);
        EXPECT_EQ(out, comment) << document;
    }
    ProtocolHeader header;
    EXPECT_FALSE(header.loadXML(nullptr, ""));
    EXPECT_FALSE(header.saveXML(nullptr, ""));
    MSXMLWrapper xml;
    xml.reset("gear");
    EXPECT_FALSE(header.saveXML(&xml, "missing"));
}

} // namespace
