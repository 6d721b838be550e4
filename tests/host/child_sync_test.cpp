#include "host/child_sync.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace kest::host {
namespace {

std::string serialised(const MSXMLWrapper& xml) {
    std::string out, hash;
    xml.getXMLContentHash(xml.getRootNode(), &out, &hash);
    return out;
}

bool isItem(XMLNode node) {
    return std::string_view(node.name()) == "item";
}

struct SyncCase {
    const char* name;
    const char* before;
    std::vector<std::string> taken; // ids of the items taken, in order
    const char* after;
};

// Taken items keep what they carry and their place; new ones follow the item taken before them (or stand
// before the first item there was); items not taken go; other children stay.
TEST(child_sync, TakesInPlaceInsertsAfterTheLastAndDeletesTheRest) {
    const SyncCase cases[] = {
        {"same items",
         R"(<r><item id="1" x="a"/><other/><item id="2"><y/></item></r>)",
         {"1", "2"},
         R"(<r><item id="1" x="a"/><other/><item id="2"><y/></item></r>)"},
        {"one dropped",
         R"(<r><item id="1"/><other/><item id="2"/></r>)",
         {"2"},
         R"(<r><other/><item id="2"/></r>)"},
        {"new after the last taken",
         R"(<r><item id="1"/><other/><item id="2"/></r>)",
         {"1", "3", "2"},
         R"(<r><item id="1"/><item/><other/><item id="2"/></r>)"},
        {"new first before the first item",
         R"(<r><other/><item id="1"/></r>)",
         {"0", "1"},
         R"(<r><other/><item/><item id="1"/></r>)"},
        {"no items: appended", R"(<r><other/></r>)", {"1"}, R"(<r><other/><item/></r>)"},
        {"equal keys in document order",
         R"(<r><item id="1" n="a"/><item id="1" n="b"/></r>)",
         {"1"},
         R"(<r><item id="1" n="a"/></r>)"},
    };
    for (const SyncCase& c : cases) {
        SCOPED_TRACE(c.name);
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(c.before));
        {
            ChildSync items(xml.getRootNode(), isItem, {"id"});
            for (const std::string& id : c.taken)
                EXPECT_TRUE(items.take("item", {id}));
        }
        EXPECT_EQ(serialised(xml), c.after);
    }
    ChildSync none(XMLNode(), ChildSync::ownsAll);
    EXPECT_FALSE(none.take("item"));
}

// A rebuilt element goes back to its place and gets back, at every level, the attributes and children the
// writer does not know, each after what it followed.
TEST(child_sync, RebuiltElementKeepsWhatTheWriterDoesNotKnow) {
    MSXMLWrapper xml;
    ASSERT_TRUE(
        xml.parse(R"(<r><a/><g rev="C"><v unit="mm">1<w/></v><!-- c --><u>x</u><k><deep/></k></g><b/></r>)"));
    RebuiltElement element(xml, xml.getRootNode(), "g");
    ASSERT_TRUE(xml.deleteNodes("g"));
    ASSERT_TRUE(xml.setStringValue("g/v", "2"));
    ASSERT_TRUE(xml.createNode("g/k"));
    element.finish(KnownNames{{"v", "k"}, {}});
    EXPECT_EQ(serialised(xml),
              R"(<r><a/><g rev="C"><v unit="mm">2<w/></v><!-- c --><u>x</u><k><deep/></k></g><b/></r>)");
}

} // namespace
} // namespace kest::host
