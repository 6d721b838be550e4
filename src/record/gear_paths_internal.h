#pragma once

// The path rules behind the names a gear file stores: when a name counts as absolute, its absolute form, and
// the relative form of a name with respect to the gear file. Paths are narrow strings; "\" and "/" are both
// separators on input.

#include <optional>
#include <string>
#include <string_view>

namespace kest::gear {

// True for a path starting with "\" or "/", or with a drive letter A to Z (either case) and ":" - the
// drive-relative "d:x.dat" included. "1:x" is not absolute.
bool isAbsolutePath(std::string_view path) noexcept;

// The absolute form of `path`, standing in for the suite's user-directory service with kind 1 and an empty
// base: a path that is not absolute is taken against the current directory, "." and ".." are resolved
// lexically (".." stops at the root, symbolic links are not followed), separators are written "/", and a
// drive letter stays in front ("d:x.dat" becomes "d:/x.dat"). returns "" for ""
std::string absolutePath(std::string_view path);

// What a path names on the file system. The values are those the suite exchanges.
enum class FileKind : int { Missing = -1, Hidden = 32, File = 45, Directory = 100 };

// Hidden is a file or link whose name starts with "."; a directory is a directory, hidden or not. A path that
// does not exist reports its failure to the error trace and gives Missing.
FileKind fileKind(const std::string& path);

// The path from `from` (a directory, or a file standing for its directory) to the file `to`, both absolute,
// with "/" separators: "./x.dat" in the same directory, "../b/x.dat" one up. returns nothing when the two
// have no common root (different drives, a drive and no drive), when a root without a drive is all they
// share, or when the result would not fit the platform's 260-character path limit.
std::optional<std::string> relativePath(std::string_view from, bool fromIsDirectory, std::string_view to);

// `name` made relative to the gear file (or to the directory it names), for storing it in the gear file.
// returns `name` unchanged when the gear file name is empty, `name` is not absolute, or no relative path
// exists.
std::string relativeToGearFile(const std::string& gearFile, const std::string& name);

} // namespace kest::gear
