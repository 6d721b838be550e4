#pragma once

#include <kest/gear/gear.h>

#include <memory>
#include <string>

namespace kest::gearfile {

// One gear file as the tool sees it: the loaded gear, or why it could not be loaded.
struct LoadedGear {
    std::unique_ptr<gear::Gear> gear; // null when loading failed
    std::string failure;              // the loader's message; empty on success
};

// Loads `path` into a new gear. Never throws for a file that is missing, unreadable, malformed or rejected by
// the loader: the reason comes back in `failure`, without the file name that the caller prints before it.
LoadedGear loadGear(const std::string& path);

} // namespace kest::gearfile
