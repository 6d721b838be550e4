#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace kest::gearfile {

// Registers "nominal FILE [--json]": the nominal values of the gear in one file.
void addNominalCommand(CLI::App& app);

// Writes the nominal values of the gear in `file` to `out`, as a field table or, with `json`, as one JSON
// object. A value the gear cannot have is reported as not available, with the reason, and still exits
// exitSuccess. returns exitFileFailed, with "<file>: <reason>" on `err`, when the file cannot be loaded or
// holds no geometry.
int runNominal(const std::string& file, bool json, std::ostream& out, std::ostream& err);

} // namespace kest::gearfile
