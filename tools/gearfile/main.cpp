#include "check_command.h"
#include "command_line.h"
#include "draw_command.h"
#include "exit_status.h"
#include "help_command.h"
#include "kchart_import_command.h"
#include "nominal_command.h"
#include "show_command.h"

#include <kest/gear/host/product_version.h>

#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    CLI::App app{"Inspect, check and script gear files.", "gearfile"};
    app.set_version_flag("--version", kest::host::libraryProductVersion(),
                         "Print the library version and exit");
    app.require_subcommand(1);
    app.footer(kest::gearfile::exitStatusFooter);
    kest::gearfile::addShowCommand(app);
    kest::gearfile::addCheckCommand(app);
    kest::gearfile::addNominalCommand(app);
    kest::gearfile::addKChartImportCommand(app);
    kest::gearfile::addDrawCommand(app);
    kest::gearfile::addHelpCommand(app);
    return kest::gearfile::runCommandLine(app, argc, argv);
}
