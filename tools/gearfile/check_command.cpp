#include "check_command.h"

#include "exit_status.h"
#include "gear_loading.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>

namespace kest::gearfile {
namespace {

// returns "" when the file loads and its gear is valid, else the reason
std::string checkFile(const std::string& file) {
    const LoadedGear loaded = loadGear(file);
    if (!loaded.gear) return loaded.failure;
    std::string reason;
    if (loaded.gear->isValid(reason)) return {};
    return reason.empty() ? "invalid gear" : reason;
}

} // namespace

int runCheck(const std::vector<std::string>& files, std::ostream& out) {
    int status = exitSuccess;
    for (const std::string& file : files) {
        const std::string reason = checkFile(file);
        out << file << ": " << (reason.empty() ? "ok" : reason) << '\n';
        if (!reason.empty()) status = exitFileFailed;
    }
    return status;
}

void addCheckCommand(CLI::App& app) {
    auto files = std::make_shared<std::vector<std::string>>();
    CLI::App* command = app.add_subcommand("check", "Load and validate gear files, one line per file");
    command->add_option("FILE", *files, "gear files (XML)")->required();
    command->footer(
        std::string("Prints \"<file>: ok\" or \"<file>: <reason>\" per file; every file is checked, "
                    "also after a failure.\n") +
        exitStatusFooter);
    command->callback([files] { endCommand(runCheck(*files, std::cout)); });
}

} // namespace kest::gearfile
