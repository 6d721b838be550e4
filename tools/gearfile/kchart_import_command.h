#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace kest::gearfile {

// Registers "kchart-import GEAR CHARTFILE [--block N] [-o OUT]".
void addKChartImportCommand(CLI::App& app);

// Replaces the K-charts of the gear file `gearFile` by those of the chart file (every block in turn, the last
// winning, for block -1; else block `block`), saves the gear to `output` (the gear file itself when empty)
// and writes the ids of the blocks read and one line per imported chart to `out`. returns exitFileFailed,
// with the reason on `err` and nothing saved, when the gear does not load, the chart file cannot be read or
// holds no usable measurement, or the save fails.
int runKChartImport(const std::string& gearFile, const std::string& chartFile, int block,
                    const std::string& output, std::ostream& out, std::ostream& err);

} // namespace kest::gearfile
