#pragma once

#include <CLI/CLI.hpp>

namespace kest::gearfile {

// Exit status of the tool.
inline constexpr int exitSuccess = 0;
inline constexpr int exitFileFailed = 1;
inline constexpr int exitUsage = 2;        // the command line was not understood
inline constexpr int exitOutputFailed = 3; // standard output could not be written

// The --help footer of the tool and of each command.
inline constexpr const char* exitStatusFooter =
    "Exit status: 0 success; 1 a file failed to load or check; 2 the command line was not understood;\n"
    "3 the output could not be written.";

// Ends a command's callback with `status`. CLI11 turns a RuntimeError into the process's exit status without
// printing anything, which keeps main() free of per-command bookkeeping.
inline void endCommand(int status) {
    if (status != exitSuccess) throw CLI::RuntimeError(status);
}

} // namespace kest::gearfile
