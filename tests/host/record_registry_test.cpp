#include <kest/gear/host/record_registry.h>

#include <gtest/gtest.h>

namespace kest::host {
namespace {

int liveRecords = 0;

class Counted final : public CMXMLDatabaseElement {
public:
    explicit Counted(const char* owner)
        : owner_(owner) {
        ++liveRecords;
    }
    Counted(const Counted& o)
        : CMXMLDatabaseElement(o)
        , owner_(o.owner_) {
        ++liveRecords;
    }
    ~Counted() override { --liveRecords; }
    const char* GetKindOf() const override { return "[counted]"; }
    bool TestKindOf(const char*, bool) const override { return false; }
    CMDatabaseElement* CreateCopy() const override { return new Counted(*this); }
    const char* GetOwnerId() const override { return owner_; }
    bool TestOwnerId(const char* id) const override { return std::string_view(id) == owner_; }

private:
    const char* owner_;
};

CMDatabaseElement* makeCounted(const char* typeName) {
    return std::string_view(typeName) == "[Counted]" ? nullptr : new Counted("registry-test");
}

TEST(RecordRegistry, TypesAreFoundWithoutRegardToCase) {
    ASSERT_TRUE(XmlRecords_RegisterDatabaseElementType("[counted]", makeCounted, false));
    EXPECT_FALSE(XmlRecords_RegisterDatabaseElementType("[COUNTED]", makeCounted, false)) << "taken";
    EXPECT_FALSE(XmlRecords_RegisterDatabaseElementType("", makeCounted, false));
    EXPECT_FALSE(XmlRecords_RegisterDatabaseElementType("[x]", nullptr, false));
    EXPECT_TRUE(XmlRecords_IsDatabaseElementTypeRegistered("[COUNTED]"));

    std::unique_ptr<CMDatabaseElement> made(XmlRecords_CreateDatabaseElement("[COUNTED]"));
    EXPECT_TRUE(made) << "the factory receives the name as the caller wrote it";
    EXPECT_FALSE(XmlRecords_CreateDatabaseElement("[Counted]")) << "and may refuse it";
    EXPECT_FALSE(XmlRecords_CreateDatabaseElement("[unknown]"));

    EXPECT_TRUE(XmlRecords_UnRegisterDatabaseElementType("[Counted]"));
    EXPECT_FALSE(XmlRecords_UnRegisterDatabaseElementType("[counted]"));
    EXPECT_FALSE(XmlRecords_CreateDatabaseElement("[counted]"));
}

TEST(RecordRegistry, RemoveAllElementDestroysOnlyThatOwnersRecords) {
    const int before = liveRecords;
    ASSERT_TRUE(RecordsAddElement(new Counted("owner-a")));
    ASSERT_TRUE(RecordsAddElement(new Counted("owner-a")));
    ASSERT_TRUE(RecordsAddElement(new Counted("owner-b")));
    EXPECT_FALSE(RecordsAddElement(nullptr));
    EXPECT_EQ(RecordsCountElements("owner-a"), 2u);

    EXPECT_TRUE(RecordsRemoveAllElement("owner-a"));
    EXPECT_EQ(liveRecords, before + 1);
    EXPECT_FALSE(RecordsRemoveAllElement("owner-a")) << "nothing left to remove";
    EXPECT_TRUE(RecordsRemoveAllElement("owner-b"));
    EXPECT_EQ(liveRecords, before);
}

} // namespace
} // namespace kest::host
