#pragma once

#include <CLI/CLI.hpp>

#include <ostream>
#include <string>

namespace kest::gearfile {

// The message for a command name the tool does not have, with where to find the commands.
std::string unknownCommand(const std::string& name);

// returns the command of `app` called `name`, or null
const CLI::App* findCommand(const CLI::App& app, const std::string& name);

// Prints the help of `app` (without a topic) or of its command `topic` to `out`; returns exitUsage, with the
// message on `err`, for an unknown command.
int runHelp(const CLI::App& app, const std::string& topic, std::ostream& out, std::ostream& err);

// Adds "help [COMMAND]" to `app`, which must outlive the parse.
void addHelpCommand(CLI::App& app);

} // namespace kest::gearfile
