#pragma once

#include <CLI/CLI.hpp>

namespace kest::gearfile {

// Parses the command line and runs the chosen command of `app`. returns the exit status: the command's own,
// or exitUsage after a command line that was not understood (an unknown command is named), or
// exitOutputFailed when standard output could not be written.
int runCommandLine(CLI::App& app, int argc, char** argv);

} // namespace kest::gearfile
