#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace kest::gearfile {

// What "draw" was asked for.
struct DrawRequest {
    std::string file;
    std::string output = "-"; // "-": standard output
    bool ranges = false;
    std::string kchart; // empty: the tooth section
};

// Registers "draw FILE [-o OUT] [--ranges] [--kchart CHART]".
void addDrawCommand(CLI::App& app);

// Writes the SVG drawing asked for to the output (`out` for "-"). returns exitFileFailed, with "<file>:
// <reason>" on `err`, when the file cannot be loaded, its geometry cannot be drawn or it has no such K-chart,
// and exitOutputFailed when the output file cannot be written.
int runDraw(const DrawRequest& request, std::ostream& out, std::ostream& err);

} // namespace kest::gearfile
