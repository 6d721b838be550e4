#pragma once

// Replacing a file's content so that no reader and no crash ever sees anything but the old or the new
// content.

#include <string>
#include <string_view>

namespace kest::host {

// Writes `content` to a new file of a unique name in the target's folder, flushes it to disk, renames it over
// the target and flushes the folder. A symbolic link is followed and its final target replaced; an existing
// target keeps its permission bits and group (and its owner when the process may set it). Throws a message
// naming `target` and the system's reason when a step fails; the target is then untouched, unless only the
// folder flush failed, and the temporary file is removed. No other file is ever removed.
void replaceFileContent(const std::string& target, std::string_view content);

// The steps of a replacement at which a test can make the system refuse.
enum class ReplacementStep { Create, Write, SyncFile, Rename, SyncFolder };

// Test seam: the next replacement that reaches `step` fails there as if the system had set `error` (a write
// fails after half of the content went out). The fault is used up by that one failure.
void injectReplacementFault(ReplacementStep step, int error);
void clearReplacementFault();

} // namespace kest::host
