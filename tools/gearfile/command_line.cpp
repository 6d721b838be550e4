#include "command_line.h"

#include "exit_status.h"
#include "help_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string_view>

namespace kest::gearfile {
namespace {

// The command is the first argument that is not an option: the tool's own options take no values.
const char* commandName(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] != '-') return argv[i];
    return nullptr;
}

// returns `status`, or exitOutputFailed with a message on standard error when standard output failed
int flushOutput(int status) {
    errno = 0;
    std::cout.flush();
    const bool failed = std::fflush(stdout) != 0 || std::ferror(stdout) || !std::cout;
    if (!failed) return status;
    std::cerr << "gearfile: cannot write the output: " << (errno != 0 ? std::strerror(errno) : "write error")
              << '\n';
    return exitOutputFailed;
}

} // namespace

int runCommandLine(CLI::App& app, int argc, char** argv) {
    if (const char* name = commandName(argc, argv); name && !findCommand(app, name)) {
        std::cerr << unknownCommand(name) << '\n';
        return exitUsage;
    }
    int status = exitSuccess;
    try {
        app.parse(argc, argv);
    } catch (const CLI::RuntimeError& e) { // a command's own status, already reported
        status = e.get_exit_code();
    } catch (const CLI::ParseError& e) { // help and version end here too, with status 0
        status = app.exit(e) == exitSuccess ? exitSuccess : exitUsage;
    }
    return flushOutput(status);
}

} // namespace kest::gearfile
