#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace kest::gearfile {

// Registers "show FILE": the version stamp, the given and derived geometry values, the measurements with
// their settings and parameters, and the validity of one file.
void addShowCommand(CLI::App& app);

// Writes the report of `file` to `out`, as text or, with `json`, as one JSON document of the whole record.
// returns exitFileFailed, with "<file>: <reason>" on `err`, when the
// file cannot be loaded; an invalid geometry is reported, not failed (that is what "check" is for).
int runShow(const std::string& file, bool json, std::ostream& out, std::ostream& err);

} // namespace kest::gearfile
