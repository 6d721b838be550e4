#pragma once

#include <CLI/CLI.hpp>

namespace kest::gearfile {

// Exit status of the tool. Usage errors keep the command-line parser's own codes (100 to 127), so that a
// script can tell a bad command line from a bad gear file.
inline constexpr int exitSuccess = 0;
inline constexpr int exitFileFailed = 1;

// The --help footer of the tool and of each command.
inline constexpr const char* exitStatusFooter =
    "Exit status: 0 success; 1 a file failed to load or check; 100-127 the command line was not understood\n"
    "(the parser's own code, e.g. 106 for a missing argument, 109 for an unexpected one).";

// Ends a command's callback with `status`. CLI11 turns a RuntimeError into the process's exit status without
// printing anything, which keeps main() free of per-command bookkeeping.
inline void endCommand(int status) {
    if (status != exitSuccess) throw CLI::RuntimeError(status);
}

} // namespace kest::gearfile
