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

// Writes "<file>: ok" to `out` for a file that passes, else one line "<file>: <reason>" per failure: the load
// failure, or the reason the gear is invalid and one "twist <kind> <side> tooth <n>: <reason>" per tooth and
// flank whose twist settings are invalid. returns exitSuccess when every file passes, else exitFileFailed;
// every file is checked either way.
int runCheck(const std::vector<std::string>& files, std::ostream& out);

} // namespace kest::gearfile
