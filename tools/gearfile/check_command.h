#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace kest::gearfile {

// Registers "check FILE...": loads and validates each file.
void addCheckCommand(CLI::App& app);

// Writes one line per file to `out`, "<file>: ok" or "<file>: <reason>" (the load failure or the reason the
// gear is invalid). returns exitSuccess when every file passes, else exitFileFailed; every file is checked
// either way.
int runCheck(const std::vector<std::string>& files, std::ostream& out);

} // namespace kest::gearfile
