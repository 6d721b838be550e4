#include "help_command.h"

#include "exit_status.h"

#include <iostream>
#include <memory>

namespace kest::gearfile {

std::string unknownCommand(const std::string& name) {
    return "unknown command '" + name + "'\nRun 'gearfile help' for the list of commands.";
}

const CLI::App* findCommand(const CLI::App& app, const std::string& name) {
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; }))
        if (command->get_name() == name) return command;
    return nullptr;
}

int runHelp(const CLI::App& app, const std::string& topic, std::ostream& out, std::ostream& err) {
    if (topic.empty()) {
        // Not app.help(): that shows the help of the chosen command, here "help" itself.
        out << app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
        return exitSuccess;
    }
    const CLI::App* command = findCommand(app, topic);
    if (!command) {
        err << unknownCommand(topic) << '\n';
        return exitUsage;
    }
    out << command->help(app.get_name());
    return exitSuccess;
}

void addHelpCommand(CLI::App& app) {
    auto topic = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand("help", "Print the help of the tool or of one command");
    command->add_option("COMMAND", *topic, "the command whose help to print");
    command->footer(exitStatusFooter);
    command->callback([&app, topic] { endCommand(runHelp(app, *topic, std::cout, std::cerr)); });
}

} // namespace kest::gearfile
