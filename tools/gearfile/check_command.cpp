#include "check_command.h"

#include "evaluation_report.h"
#include "exit_status.h"
#include "gear_loading.h"
#include "measurement_report.h"
#include "standard_report.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace kest::gearfile {
namespace {

// returns nothing when the file loads, its gear is valid and so are its twists, evaluation ranges and
// features; else one reason per line
std::vector<std::string> checkFile(const std::string& file) {
    const LoadedGear loaded = loadGear(file);
    if (!loaded.gear) return {loaded.failure};
    std::vector<std::string> reasons;
    std::string reason;
    if (!loaded.gear->isValid(reason)) reasons.push_back(reason.empty() ? "invalid gear" : reason);
    for (std::string& problem : twistProblems(*loaded.gear))
        reasons.push_back(std::move(problem));
    for (std::string& problem : evaluationProblems(*loaded.gear))
        reasons.push_back(std::move(problem));
    for (std::string& problem : standardProblems(*loaded.gear))
        reasons.push_back(std::move(problem));
    return reasons;
}

} // namespace

int runCheck(const std::vector<std::string>& files, std::ostream& out) {
    int status = exitSuccess;
    for (const std::string& file : files) {
        const std::vector<std::string> reasons = checkFile(file);
        if (reasons.empty()) out << file << ": ok\n";
        for (const std::string& reason : reasons)
            out << file << ": " << reason << '\n';
        if (!reasons.empty()) status = exitFileFailed;
    }
    return status;
}

void addCheckCommand(CLI::App& app) {
    auto files = std::make_shared<std::vector<std::string>>();
    CLI::App* command = app.add_subcommand(
        "check", "Load and validate gear files, their twist settings, evaluation, standard and K-charts");
    command->add_option("FILE", *files, "gear files (XML)")->required();
    command->footer(
        std::string(
            "Prints \"<file>: ok\" or \"<file>: <reason>\" per file, and per invalid twist\n"
            "\"<file>: twist <kind> <side> tooth <n>: <reason>\".\n"
            "A range outside the measurement paths gives\n"
            "\"<file>: range <kind> <side> <range type> '<name>': not inside the measurement paths\",\n"
            "an invalid feature \"<file>: feature <name> <side> index <n> [<range type>]: <reason>\",\n"
            "an invalid standard \"<file>: standard: <reason>\" and an invalid K-chart\n"
            "\"<file>: kchart <kind> <side> <index>: <reason>\".\n"
            "Every file is checked, also after a failure.\n") +
        exitStatusFooter);
    command->callback([files] { endCommand(runCheck(*files, std::cout)); });
}

} // namespace kest::gearfile
