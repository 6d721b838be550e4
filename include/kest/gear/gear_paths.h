#pragma once

// Paths stored in gear files are relative to the gear file, so that a gear file and its measured profiles can
// be moved together.

#include <kest/gear/host/export.h>

#include <string>

namespace kest::gear {

// The absolute form of `path`, taken relative to the directory of `gearFile`; an absolute path (starting with
// "\", "/" or a drive letter and ":") comes back unchanged.
GEARRECORDS_API std::string resolveGearRelativePath(const char* gearFile, const char* path);

} // namespace kest::gear
