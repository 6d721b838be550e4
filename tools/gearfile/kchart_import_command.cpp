#include "kchart_import_command.h"

#include "exit_status.h"
#include "gear_loading.h"
#include "standard_report.h"
#include "text_format.h"

#include <kest/gear/kchart.h>

#include <CLI/CLI.hpp>

#include <array>
#include <exception>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace kest::gearfile {
namespace {

using gear::Measurement_Type;
using gear::Side;

// The gear's charts become those of the import, slot by slot.
void takeCharts(gear::Gear& g, const gear::GearKCharts& charts) {
    for (const Measurement_Type type : {Measurement_Type::Profile, Measurement_Type::Lead})
        for (const Side side : {Side::Left, Side::Right, Side::Both}) {
            g.clearKCharts(type, side);
            for (unsigned int index = 0; index < charts.getNumberOfMeasurements(type, side); ++index) {
                const gear::KChart* chart = charts.get(type, side, index);
                // a left or right slot that only falls back to the both-side chart stays empty
                if (side != Side::Both && chart == charts.get(type, Side::Both, index)) chart = nullptr;
                if (chart) g.setKChart(type, side, chart, index);
            }
        }
}

} // namespace

int runKChartImport(const std::string& gearFile, const std::string& chartFile, int block,
                    const std::string& output, std::ostream& out, std::ostream& err) {
    const LoadedGear loaded = loadGear(gearFile);
    if (!loaded.gear) {
        err << gearFile << ": " << loaded.failure << '\n';
        return exitFileFailed;
    }
    gear::GearKCharts charts;
    std::vector<std::string> ids;
    if (!charts.importZF(chartFile.c_str(), block, &ids)) {
        err << chartFile
            << ": no K-chart imported (unreadable file, no such block or no usable measurement)\n";
        return exitFileFailed;
    }
    takeCharts(*loaded.gear, charts);
    const std::string target = output.empty() ? gearFile : output;
    try {
        loaded.gear->Save(target.c_str());
    } catch (const char* message) {
        err << target << ": " << (message ? message : "saving failed") << '\n';
        return exitFileFailed;
    } catch (const std::exception& e) {
        err << target << ": " << e.what() << '\n';
        return exitFileFailed;
    }
    FieldTable table;
    table.field("gear file", target);
    std::string idList;
    for (const std::string& id : ids)
        idList += (idList.empty() ? "" : ", ") + id;
    table.field("block ids", idList.empty() ? "none" : idList);
    addStandardSections(table, *loaded.gear);
    table.print(out);
    return exitSuccess;
}

void addKChartImportCommand(CLI::App& app) {
    struct Options {
        std::string gear, charts, output;
        int block = -1;
    };
    auto options = std::make_shared<Options>();
    CLI::App* command =
        app.add_subcommand("kchart-import", "Replace the K-charts of a gear file by those of a chart file");
    command->add_option("GEAR", options->gear, "gear file (XML)")->required();
    command->add_option("CHARTFILE", options->charts, "chart file (text)")->required();
    command
        ->add_option("--block", options->block,
                     "take only this block, counted from 0 (default: every block "
                     "in turn, the last one wins)")
        ->check(CLI::Range(-1, 1 << 30));
    command->add_option("-o,--output", options->output, "write the gear here instead of over GEAR");
    command->footer(
        std::string("Prints the ids of the blocks read, the evaluation standard and every K-chart the "
                    "gear now holds.\n") +
        exitStatusFooter);
    command->callback([options] {
        endCommand(runKChartImport(options->gear, options->charts, options->block, options->output, std::cout,
                                   std::cerr));
    });
}

} // namespace kest::gearfile
