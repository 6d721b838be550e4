#include <kest/gear/gear_paths.h>

#include "host/report.h"
#include "record/gear_paths_internal.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <system_error>
#include <vector>

namespace kest::gear {
namespace {

// The platform's path limit, terminator included, that gear file names are held to.
constexpr std::size_t kMaxPath = 260;
constexpr std::string_view kSeparators = "\\/";

bool isSeparator(char c) noexcept {
    return c == '\\' || c == '/';
}
bool isDriveLetter(char c) noexcept {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
char lower(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A path taken apart: its root ("" for a relative path, "/" or a drive such as "c:") and its components in
// order, empty ones and "." dropped. The views point into the text given to split().
struct PathParts {
    std::string_view drive; // "c:" or ""
    bool rooted = false;
    std::vector<std::string_view> components;
};

PathParts split(std::string_view path) {
    PathParts parts;
    if (path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':') {
        parts.drive = path.substr(0, 2);
        path.remove_prefix(2);
        // there is no current directory per drive here: "d:x" counts as "d:\x"
        parts.rooted = true;
    } else {
        parts.rooted = !path.empty() && isSeparator(path.front());
    }
    while (!path.empty()) {
        const std::size_t end = std::min(path.find_first_of(kSeparators), path.size());
        const std::string_view component = path.substr(0, end);
        if (!component.empty() && component != ".") parts.components.push_back(component);
        path.remove_prefix(std::min(end + 1, path.size()));
    }
    return parts;
}

std::string join(std::string_view root, const std::vector<std::string_view>& components, std::size_t first,
                 std::size_t last) {
    std::string out(root);
    for (std::size_t i = first; i < last; ++i) {
        if (i > first) out += '/';
        out += components[i];
    }
    return out;
}

// Names on a drive belong to a Windows file system, which ignores case; all others are compared exactly.
bool sameComponent(std::string_view a, std::string_view b, bool ignoreCase) {
    if (!ignoreCase) return a == b;
    return std::ranges::equal(a, b, [](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

bool isAbsolutePath(std::string_view path) noexcept {
    if (!path.empty() && isSeparator(path.front())) return true;
    return path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':';
}

std::string absolutePath(std::string_view path) {
    if (path.empty()) return {};
    std::string combined;
    if (!isAbsolutePath(path)) {
        std::error_code error;
        combined = std::filesystem::current_path(error).string();
        combined += '/';
    }
    combined += path;

    const PathParts parts = split(combined);
    std::vector<std::string_view> normal;
    for (const std::string_view component : parts.components) {
        if (component != "..")
            normal.push_back(component);
        else if (!normal.empty())
            normal.pop_back();
    }
    std::string root(parts.drive);
    root += '/';
    return join(root, normal, 0, normal.size());
}

FileKind fileKind(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) {
        if (!error) error = std::make_error_code(std::errc::no_such_file_or_directory);
        GR_ERROR_TRACE("%s(): _findfirst(\"%s\") failed: %s", "file_type", path.c_str(),
                       error.message().c_str());
        return FileKind::Missing;
    }
    if (std::filesystem::is_directory(status)) return FileKind::Directory;
    const std::size_t slash = path.find_last_of(kSeparators);
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return nameStart < path.size() && path[nameStart] == '.' ? FileKind::Hidden : FileKind::File;
}

std::optional<std::string> relativePath(std::string_view from, bool fromIsDirectory, std::string_view to) {
    if (!isAbsolutePath(from) || !isAbsolutePath(to)) return std::nullopt;
    const PathParts fromParts = split(from);
    const PathParts toParts = split(to);
    const bool onDrive = !fromParts.drive.empty();
    if (onDrive != !toParts.drive.empty() || !sameComponent(fromParts.drive, toParts.drive, true))
        return std::nullopt;

    const std::size_t fromDirectory =
        fromParts.components.size() - (fromIsDirectory || fromParts.components.empty() ? 0 : 1);
    const std::size_t toDirectory = toParts.components.empty() ? 0 : toParts.components.size() - 1;
    std::size_t common = 0;
    while (common < fromDirectory && common < toDirectory &&
           sameComponent(fromParts.components[common], toParts.components[common], onDrive))
        ++common;
    // Two trees that meet only at a bare root get no relative path, as Windows refuses one between "\a" and
    // "\b"; the root of a drive is enough.
    if (!onDrive && common == 0) return std::nullopt;

    std::string relative = fromDirectory == common ? "." : "..";
    for (std::size_t up = common + 1; up < fromDirectory; ++up)
        relative += "/..";
    if (common < toParts.components.size())
        relative += join("/", toParts.components, common, toParts.components.size());
    if (relative.size() >= kMaxPath) return std::nullopt;
    return relative;
}

std::string relativeToGearFile(const std::string& gearFile, const std::string& name) {
    if (gearFile.empty() || !isAbsolutePath(name)) return name;
    const std::string base = absolutePath(gearFile);
    // A base that does not exist (a gear file not yet saved) stands for a file.
    const bool baseIsDirectory = fileKind(base) == FileKind::Directory;
    return relativePath(base, baseIsDirectory, absolutePath(name)).value_or(name);
}

std::string resolveGearRelativePath(const char* gearFile, const char* path) {
    const std::string_view relative = path != nullptr ? path : "";
    if (isAbsolutePath(relative)) return std::string(relative);
    const std::string gear = absolutePath(gearFile != nullptr ? gearFile : "");
    const std::size_t separator = gear.find_last_of(kSeparators);
    std::string directory = separator == std::string::npos ? std::string() : gear.substr(0, separator + 1);
    // The directory is held to the platform's path limit, as the gear file's own name is.
    if (directory.size() > kMaxPath - 1) directory.resize(kMaxPath - 1);
    if (directory.empty()) directory = ".";
    if (!isSeparator(directory.back())) directory += '/';
    return absolutePath(directory + std::string(relative));
}

} // namespace kest::gear
