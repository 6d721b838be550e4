#include "host/file_replacement.h"

#include "support/scratch_directory.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

namespace kest::host {
namespace {

namespace fs = std::filesystem;

class FileReplacement : public test::ScratchDirectoryTest {
protected:
    void TearDown() override {
        clearReplacementFault();
        ScratchDirectoryTest::TearDown();
    }
    // the names in the scratch directory, or in `folder` of it
    std::set<std::string> names(const char* folder = "") const {
        std::set<std::string> result;
        for (const auto& entry : fs::directory_iterator(dir / folder))
            result.insert(entry.path().filename().string());
        return result;
    }
};

// Each step's failure names the target and the system's reason, leaves the old content and removes only the
// temporary file: the user's own files beside the target, whatever their names, stay.
TEST_F(FileReplacement, FaultOfAnyStepKeepsTheTargetAndEveryOtherFile) {
    const struct {
        ReplacementStep step;
        int error;
        const char* message; // before the quoted target
        bool replaced;       // whether the target holds the new content afterwards
    } rows[]{
        {ReplacementStep::Create, EACCES, "cannot write file", false},
        {ReplacementStep::Write, ENOSPC, "cannot write file", false},
        {ReplacementStep::SyncFile, EIO, "cannot write file", false},
        {ReplacementStep::Rename, EACCES, "cannot replace file", false},
        {ReplacementStep::SyncFolder, EIO, "cannot flush the folder of file", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.step));
        const std::string target = write("gear.xml", "old");
        write("gear.xml.tmp~", "the user's own file");
        write(".gear.xml.aaaaaaaa.tmp", "another file of the user");
        injectReplacementFault(row.step, row.error);
        EXPECT_THROW_MSG(replaceFileContent(target, "new content"),
                         std::string(row.message) + " '" + target + "': " + std::strerror(row.error));
        EXPECT_EQ(read(target), row.replaced ? "new content" : "old");
        EXPECT_EQ(names(), (std::set<std::string>{"gear.xml", "gear.xml.tmp~", ".gear.xml.aaaaaaaa.tmp"}));
        EXPECT_EQ(read(dir / "gear.xml.tmp~"), "the user's own file");

        replaceFileContent(target, "retried"); // the fault is used up
        EXPECT_EQ(read(target), "retried");
    }
}

TEST_F(FileReplacement, FailuresOfThePathSayWhy) {
    const std::string inMissingFolder = (dir / "no" / "gear.xml").string();
    EXPECT_THROW_MSG(replaceFileContent(inMissingFolder, "x"),
                     "cannot write file '" + inMissingFolder + "': No such file or directory");
    const std::string folder = (dir / "folder").string();
    fs::create_directory(folder);
    EXPECT_THROW_MSG(replaceFileContent(folder, "x"), "cannot replace file '" + folder + "': Is a directory");
    EXPECT_EQ(names(), (std::set<std::string>{"folder"}));
}

TEST_F(FileReplacement, ReadOnlyTargetIsRefused) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes any file";
    const std::string target = write("gear.xml", "old");
    fs::permissions(target, fs::perms::owner_read);
    EXPECT_THROW_MSG(replaceFileContent(target, "new"),
                     "cannot write file '" + target + "': Permission denied");
    EXPECT_EQ(read(target), "old");
}

TEST_F(FileReplacement, KeepsModeAndGroup) {
    const std::string target = write("gear.xml", "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    // Another group than the process's: any group for root, else a supplementary one if the user has it.
    gid_t group = ::getegid();
    if (::geteuid() == 0) {
        group = group + 4242;
    } else {
        gid_t groups[64];
        const int n = ::getgroups(64, groups);
        for (int i = 0; i < n; ++i)
            if (groups[i] != group) group = groups[i];
    }
    ASSERT_EQ(::chown(target.c_str(), static_cast<uid_t>(-1), group), 0);

    replaceFileContent(target, "new");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_gid, group);
    EXPECT_EQ(read(target), "new");
}

TEST_F(FileReplacement, NewFileFollowsTheUmask) {
    const mode_t previous = ::umask(027);
    const std::string target = (dir / "new.xml").string();
    replaceFileContent(target, "new");
    ::umask(previous);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(names(), (std::set<std::string>{"new.xml"}));
}

// A link, relative or absolute, chained or dangling, stays a link; the file at its end gets the content.
TEST_F(FileReplacement, FollowsSymbolicLinks) {
    fs::create_directory(dir / "real");
    const std::string real = write("real/gear.xml", "old");
    fs::create_symlink("real/gear.xml", dir / "relative.xml");
    fs::create_symlink(dir / "relative.xml", dir / "chained.xml");
    fs::create_symlink("real/later.xml", dir / "dangling.xml");

    replaceFileContent((dir / "chained.xml").string(), "through two links");
    EXPECT_TRUE(fs::is_symlink(dir / "chained.xml"));
    EXPECT_TRUE(fs::is_symlink(dir / "relative.xml"));
    EXPECT_EQ(read(real), "through two links");

    replaceFileContent((dir / "dangling.xml").string(), "created");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.xml"));
    EXPECT_EQ(read(dir / "real" / "later.xml"), "created");
    EXPECT_EQ(names("real"), (std::set<std::string>{"gear.xml", "later.xml"}));
}

// As far as the system follows a chain of links when it opens a file, and no further.
TEST_F(FileReplacement, FollowsAsManyLinksAsTheSystem) {
    const struct {
        int links;
        bool saved;
    } rows[]{{40, true}, {41, false}};
    for (const auto& row : rows) {
        const std::string real = write("real.xml", "old");
        std::string last = "real.xml";
        for (int i = 1; i <= row.links; ++i) {
            const std::string name = "link" + std::to_string(i) + ".xml";
            fs::create_symlink(last, dir / name);
            last = name;
        }
        const std::string target = (dir / last).string();
        if (row.saved) {
            replaceFileContent(target, "new");
        } else {
            EXPECT_THROW_MSG(replaceFileContent(target, "new"),
                             "cannot write file '" + target + "': Too many levels of symbolic links");
        }
        EXPECT_EQ(read(real), row.saved ? "new" : "old") << row.links;
        EXPECT_TRUE(fs::is_symlink(target));
        EXPECT_EQ(names().size(), static_cast<std::size_t>(row.links) + 1);
        for (const auto& name : names())
            fs::remove(dir / name);
    }
}

TEST_F(FileReplacement, NameWithoutFolderIsInTheWorkingDirectory) {
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    replaceFileContent("plain.xml", "content");
    fs::current_path(previous);
    EXPECT_EQ(read(dir / "plain.xml"), "content");
}

} // namespace
} // namespace kest::host
