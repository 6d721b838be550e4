#include <kest/gear/gear_paths.h>

#include "record/gear_paths_internal.h"
#include "support/diagnostics_capture.h"
#include "support/scratch_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

using namespace kest::gear;
namespace fs = std::filesystem;

namespace {

TEST(gear_paths, AbsolutePaths) {
    const std::string cwd = fs::current_path().string(), parent = fs::current_path().parent_path().string();
    const std::tuple<const char*, bool, std::string> rows[] = {
        {"/a/./b//c/", true, "/a/b/c"},
        {"\\a\\..\\..\\b", true, "/b"}, // ".." stops at the root
        {"C:\\x\\y.dat", true, "C:/x/y.dat"},
        {"d:x.dat", true, "d:/x.dat"},
        {"1:x", false, cwd + "/1:x"},
        {"../y/./x.dat", false, parent + "/y/x.dat"},
        {"", false, ""},
    };
    for (const auto& [path, absolute, normal] : rows) {
        EXPECT_EQ(isAbsolutePath(path), absolute) << path;
        EXPECT_EQ(absolutePath(path), normal) << path;
    }
}

TEST(gear_paths, RelativePath) {
    const std::string name(257,
                           'n'); // "./" and the name fill the 260 characters of a path but the terminator
    const std::tuple<const char*, bool, std::string, std::optional<std::string>> rows[] = {
        {"c:\\gears\\g.xml", false, "C:/gears/p/x.dat", "./p/x.dat"},
        {"c:/Gears/a/b/g.xml", false, "c:/gears/c/x.dat", "../../c/x.dat"}, // names on a drive ignore case
        {"c:/gears/g.xml", false, "c:/x.dat", "../x.dat"},
        {"c:/gears/a", true, "c:/gears/a/x.dat", "./x.dat"},
        {"/home/U/g.xml", false, "/home/u/x.dat", "../u/x.dat"},
        {"/home/g.xml", false, "/tmp/x.dat", std::nullopt}, // only the bare root in common
        {"c:/gears/g.xml", false, "d:/gears/x.dat", std::nullopt},
        {"c:/gears/g.xml", false, "/gears/x.dat", std::nullopt},
        {"c:/gears/g.xml", false, "c:/gears/" + name, "./" + name},
        {"c:/gears/g.xml", false, "c:/gears/n" + name, std::nullopt},
    };
    for (const auto& [from, fromIsDirectory, to, relative] : rows)
        EXPECT_EQ(relativePath(from, fromIsDirectory, to), relative) << from << " " << to;
}

TEST(gear_paths, ResolveGearRelativePath) {
    const std::string cwd = fs::current_path().string();
    const std::tuple<const char*, const char*, std::string> rows[] = {
        {"/gears/g.xml", "d:x.dat", "d:x.dat"},
        {"/gears/g.xml", "\\p\\x.dat", "\\p\\x.dat"},
        {"/gears/g.xml", "./p/x.dat", "/gears/p/x.dat"},
        {"C:\\gears\\a\\g.xml", "..\\x.dat", "C:/gears/x.dat"},
        {"g.xml", "x.dat", cwd + "/x.dat"},
        {nullptr, "p/../1:x", cwd + "/1:x"},
    };
    for (const auto& [gearFile, path, resolved] : rows)
        EXPECT_EQ(resolveGearRelativePath(gearFile, path), resolved) << path;
}

// A name stored relative to the gear file resolves back to the name.
class gear_paths_files : public kest::test::ScratchDirectoryTest {};

TEST_F(gear_paths_files, RelativeToGearFile) {
    fs::create_directories(dir / "p");
    std::ofstream(dir / "g.xml") << "<gear/>";
    std::ofstream(dir / ".hidden") << "";
    const std::string base = dir.string();
    kest::test::DiagnosticsCapture capture;
    EXPECT_TRUE(fileKind(base) == FileKind::Directory && fileKind(base + "/g.xml") == FileKind::File &&
                fileKind(base + "/.hidden") == FileKind::Hidden);
    EXPECT_EQ(relativeToGearFile(base + "/g.xml", base + "/p/x.dat"), "./p/x.dat");
    EXPECT_EQ(resolveGearRelativePath((base + "/g.xml").c_str(), "./p/x.dat"), base + "/p/x.dat");
    EXPECT_EQ(relativeToGearFile(base + "/p", base + "\\x.dat"), "../x.dat"); // the base names a directory
    EXPECT_TRUE(capture.reports.empty());

    // A gear file not yet written stands for a file; its query is reported.
    EXPECT_EQ(relativeToGearFile(base + "/new.xml", base + "/x.dat"), "./x.dat");
    EXPECT_EQ(capture.messages(kest::host::DiagnosticChannel::ErrorTrace),
              std::vector<std::string>{"file_type(): _findfirst(\"" + base +
                                       "/new.xml\") failed: No such file or directory"});
    for (const char* unchanged : {"x.dat", "", "d:\\p\\x.dat"}) // relative, empty, on another drive
        EXPECT_EQ(relativeToGearFile(base + "/g.xml", unchanged), unchanged);
}

} // namespace
