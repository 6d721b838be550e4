#include <kest/gear/host/database_element.h>

#include "support/scratch_directory.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace kest::host {
namespace {

namespace fs = std::filesystem;

class Record final : public CMXMLDatabaseElement {
public:
    Record()
        : CMXMLDatabaseElement("gear") {}
    const char* GetKindOf() const override { return "[test]"; }
    bool TestKindOf(const char*, bool) const override { return false; }
    CMDatabaseElement* CreateCopy() const override { return new Record(*this); }
    const char* GetOwnerId() const override { return "test"; }
    bool TestOwnerId(const char*) const override { return false; }
    MSXMLWrapper& xml() { return *GetXMLWrapper(); }
};

class DatabaseElementFiles : public test::ScratchDirectoryTest {};

// Users are counted; removing more of them than were added leaves none.
TEST(database_element, CountsItsUsers) {
    Record r;
    r.AddUser(1);
    r.AddUser(2);
    EXPECT_EQ(r.GetUserCount(), 2U);
    for (const unsigned long left : {1UL, 0UL, 0UL}) {
        r.RemoveUser(1);
        EXPECT_EQ(r.GetUserCount(), left);
    }
}

// A new record holds an empty document element, whichever way it is first looked at.
TEST_F(DatabaseElementFiles, NewRecordHoldsAnEmptyDocumentElement) {
    const std::string empty = "<?xml version=\"1.0\"?>\n<gear />\n";
    const Record fresh;
    std::string version = "stale";
    bool corrupted = true;
    EXPECT_FALSE(fresh.GetVersion(version, corrupted));
    EXPECT_FALSE(corrupted);
    EXPECT_EQ(version, "");
    std::ostringstream streamed;
    fresh.WriteToStream(streamed);
    EXPECT_EQ(streamed.str(), empty);
    Record saved;
    const std::string target = (dir / "new.xml").string();
    saved.Save(target.c_str());
    EXPECT_EQ(read(target), empty);
    Record looked;
    EXPECT_STREQ(looked.xml().getRootNode().name(), "gear");
}

TEST_F(DatabaseElementFiles, LoadFailuresNameTheFile) {
    Record r;
    const std::string missing = (dir / "missing.xml").string();
    EXPECT_THROW_MSG(r.Load(missing.c_str()), "file not found: '" + missing + "'");
    const std::string bad = write("bad.xml", "<gear><a></gear>");
    EXPECT_THROW_MSG(r.Load(bad.c_str()),
                     "file '" + bad + "' is not well-formed XML: Start-end tags mismatch at byte offset 11");
    EXPECT_THROW_MSG(r.Load(dir.string().c_str()), "cannot read file '" + dir.string() + "'");
}

TEST_F(DatabaseElementFiles, SaveReplacesTheTargetAndLeavesNoTemporary) {
    Record r;
    r.SetVersion("9.02-44");
    r.xml().setStringValue("geometry/type", "cylindrical gear");
    const std::string target = write("gear.xml", "old content");
    r.Save(target.c_str());
    EXPECT_EQ(read(target), "<?xml version=\"1.0\"?>\n<gear version=\"9.02-44\">\n  <geometry>\n"
                            "    <type>cylindrical gear</type>\n  </geometry>\n</gear>\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(DatabaseElementFiles, SaveWithoutNameUsesTheKeyAndFailsWithoutOne) {
    Record r;
    EXPECT_THROW_MSG(r.Save(nullptr), "cannot save a record without a file name");
    const std::string target = (dir / "keyed.xml").string();
    r.SetKey(target.c_str());
    r.Save(nullptr);
    EXPECT_TRUE(fs::exists(target));
}

TEST(DatabaseElement, VersionStampIsAnAttributeOfTheDocumentElement) {
    Record r;
    std::istringstream in("<anything/>");
    r.ReadFromStream(in);
    std::string version = "x";
    bool corrupted = true;
    EXPECT_FALSE(r.GetVersion(version, corrupted));
    EXPECT_FALSE(corrupted);
    EXPECT_EQ(version, "");
    r.SetVersion("9.03-00");
    EXPECT_TRUE(r.GetVersion(version, corrupted));
    EXPECT_EQ(version, "9.03-00");
    std::ostringstream out;
    r.WriteToStream(out);
    EXPECT_NE(out.str().find("<anything version=\"9.03-00\" />"), std::string::npos) << out.str();

    // a record without a document is corrupted until a stamp gives it its document element back
    r.xml() = MSXMLWrapper();
    EXPECT_FALSE(r.GetVersion(version, corrupted));
    EXPECT_TRUE(corrupted);
    r.SetVersion("9.03-01");
    EXPECT_TRUE(r.GetVersion(version, corrupted));
    EXPECT_EQ(version, "9.03-01");
    EXPECT_EQ(r.xml().getRootNode().name(), std::string("gear"));
}

TEST(DatabaseElement, StreamsRoundTrip) {
    Record r;
    std::istringstream in("<gear version='1'><!-- kept --><unknown a='b'>text</unknown></gear>");
    r.ReadFromStream(in);
    std::ostringstream out;
    r.WriteToStream(out);
    EXPECT_NE(out.str().find("<!-- kept -->"), std::string::npos);
    EXPECT_NE(out.str().find("<unknown a=\"b\">text</unknown>"), std::string::npos);
    std::istringstream bad("<gear");
    EXPECT_THROW_MSG(r.ReadFromStream(bad),
                     "stream is not well-formed XML: Error parsing start element tag at byte offset 4");
}

} // namespace
} // namespace kest::host
