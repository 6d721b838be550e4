#include "draw_command.h"

#include "drawing/drawing.h"
#include "exit_status.h"
#include "gear_loading.h"

#include <kest/gear/kchart.h>
#include <kest/gear/measurement_enums.h>

#include <CLI/CLI.hpp>

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>

namespace kest::gearfile {
namespace {

using gear::Measurement_Type;
using gear::Side;

constexpr std::array chartTypes{Measurement_Type::Profile, Measurement_Type::Lead};

struct ChartChoice {
    Measurement_Type type = Measurement_Type::Profile;
    unsigned int index = 0;
};

// "profile" or "lead" with an optional ":INDEX"; nothing for any other text.
std::optional<ChartChoice> chartByKind(const std::string& text) {
    const std::string kind = text.substr(0, text.find(':'));
    ChartChoice choice;
    if (kind == "profile")
        choice.type = Measurement_Type::Profile;
    else if (kind == "lead")
        choice.type = Measurement_Type::Lead;
    else
        return std::nullopt;
    if (kind.size() == text.size()) return choice;
    const std::string index = text.substr(kind.size() + 1);
    if (index.empty() || index.size() > 3 || index.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    choice.index = static_cast<unsigned int>(std::stoul(index));
    return choice;
}

// Every stored chart as "kind:index \"name\"", for the message when none matches.
std::string storedCharts(const gear::Gear& g) {
    std::string list;
    for (const Measurement_Type type : chartTypes) {
        unsigned int count = 0;
        for (const Side side : {Side::Left, Side::Right, Side::Both})
            count = std::max(count, g.getKChartNumberOfMeasurements(type, side));
        for (unsigned int index = 0; index < count; ++index)
            for (const Side side : {Side::Left, Side::Right}) {
                const gear::KChart* chart = g.getKChart(type, side, index, nullptr);
                if (!chart) continue;
                list += (list.empty() ? "" : ", ") + gear::Measurement_Type_2_string(type) + ":" +
                        std::to_string(index) + " \"" + chart->getName() + "\"";
                break;
            }
    }
    return list.empty() ? "none" : list;
}

// The measurement whose chart (on either flank) carries the name `name`, the first in the order profile,
// lead and by index.
std::optional<ChartChoice> chartByName(const gear::Gear& g, const std::string& name) {
    for (const Measurement_Type type : chartTypes)
        for (const Side side : {Side::Left, Side::Right, Side::Both})
            for (unsigned int index = 0; index < g.getKChartNumberOfMeasurements(type, side); ++index) {
                const gear::KChart* chart = g.getKChart(type, side, index, nullptr);
                if (chart && chart->getName() == name) return ChartChoice{type, index};
            }
    return std::nullopt;
}

drawing::Drawing draw(const gear::Gear& g, const DrawRequest& request) {
    if (request.kchart.empty()) return drawing::drawToothSection(g, request.file, request.ranges);
    std::optional<ChartChoice> choice = chartByKind(request.kchart);
    if (!choice) choice = chartByName(g, request.kchart);
    if (!choice) return {{}, "no K-chart '" + request.kchart + "' (the gear has: " + storedCharts(g) + ")"};
    drawing::Drawing chart =
        drawing::drawKChart(g, choice->type, choice->index,
                            "K-chart of " + gear::Measurement_Type_2_string(choice->type) + " measurement " +
                                std::to_string(choice->index) + " — " + request.file);
    if (!chart.failure.empty()) chart.failure += " (the gear has: " + storedCharts(g) + ")";
    return chart;
}

} // namespace

int runDraw(const DrawRequest& request, std::ostream& out, std::ostream& err) {
    const LoadedGear loaded = loadGear(request.file);
    if (!loaded.gear) {
        err << request.file << ": " << loaded.failure << '\n';
        return exitFileFailed;
    }
    const drawing::Drawing result = draw(*loaded.gear, request);
    if (!result.failure.empty()) {
        err << request.file << ": " << result.failure << '\n';
        return exitFileFailed;
    }
    if (request.output == "-") {
        out << result.svg;
        return exitSuccess;
    }
    errno = 0;
    std::ofstream file(request.output, std::ios::binary | std::ios::trunc);
    file << result.svg;
    file.close();
    if (!file) {
        err << "gearfile: cannot write '" << request.output
            << "': " << (errno != 0 ? std::strerror(errno) : "write error") << '\n';
        return exitOutputFailed;
    }
    return exitSuccess;
}

void addDrawCommand(CLI::App& app) {
    auto request = std::make_shared<DrawRequest>();
    CLI::App* command =
        app.add_subcommand("draw", "Draw a transverse section of the teeth, or a K-chart, as SVG");
    command->add_option("FILE", request->file, "gear file (XML)")->required();
    command->add_option("-o,--output", request->output,
                        "the SVG file to write, or - (the default) for standard output");
    CLI::Option* ranges =
        command->add_flag("--ranges", request->ranges, "Mark the profile evaluation ranges on the flanks");
    command
        ->add_option(
            "--kchart", request->kchart,
            "Plot the K-chart of a measurement instead: profile[:INDEX], lead[:INDEX] or the chart's "
            "name")
        ->excludes(ranges);
    command->footer(
        std::string(
            "The section is drawn to scale at the axial position 0, a few teeth around tooth space 1 turned\n"
            "upwards: the flanks (involutes from the base circle, radial below it), the root, base, "
            "reference,\n"
            "tip and V-circles, the ball in space 1 at the nominal dimension over balls, and the contact\n"
            "planes and points of the span measurement over k teeth whose contact lies nearest the "
            "V-circle.\n"
            "The legend lists z, mn, alpha_n, beta, x, da, df, d, db, dv, DM, MdK, k and Wk; a value the\n"
            "gear's kind cannot give is named with the reason. Internal gears show the material outside.\n"
            "--ranges marks each profile evaluation range on the flanks of tooth space 2 at its diameters:\n"
            "thick the main interval, thin the extended one.\n"
            "--kchart draws one panel per flank (a flank without its own chart takes that of both flanks):\n"
            "the tolerance zone between the inside and outside limits around the nominal line, positions in\n"
            "the chart's reference, variations in mm.\n"
            "Exit status 1 also when the geometry cannot be drawn or the gear has no such K-chart.\n") +
        exitStatusFooter);
    command->callback([request] { endCommand(runDraw(*request, std::cout, std::cerr)); });
}

} // namespace kest::gearfile
