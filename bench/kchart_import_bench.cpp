// The import of a chart file beside a raw read of the same bytes: the ratio is what the tokenising, the
// number reading and the building of the charts cost.

#include <kest/gear/kchart.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Two blocks, each with the six profile and lead charts of both flanks, `points` value lines per chart.
std::string chartFile(int points) {
    std::string text;
    for (const char* block : {"first", "second"}) {
        text += std::string("%Id[") + block + "]\n";
        for (const char* keyword :
             {"Profil", "Profil_unten", "Profil_oben", "Flanke", "Flanke_fuss", "Flanke_kopf"})
            for (const char* side : {"links", "rechts"}) {
                text += std::string("%") + keyword + "[" + side + "]\n";
                for (int i = 0; i < points; ++i) {
                    const std::string x = std::to_string(0.25 * i);
                    text += x + " " + std::to_string(0.001 * (i % 7)) + " " + x + " " +
                            std::to_string(-0.002 * (i % 5)) + "\n";
                }
            }
    }
    return text;
}

// The chart files of each size, written on first use into a directory removed at exit.
class ChartFiles {
public:
    ChartFiles()
        : directory_(fs::temp_directory_path() / ("gearrecords_bench_charts_" + std::to_string(::getpid()))) {
        fs::create_directories(directory_);
    }
    ~ChartFiles() { fs::remove_all(directory_); }
    ChartFiles(const ChartFiles&) = delete;
    ChartFiles& operator=(const ChartFiles&) = delete;

    const std::string& name(int points) {
        std::string& file = names_[points];
        if (file.empty()) {
            file = (directory_ / ("charts_" + std::to_string(points) + ".txt")).string();
            std::ofstream(file, std::ios::binary) << chartFile(points);
        }
        return file;
    }

private:
    fs::path directory_;
    std::map<int, std::string> names_;
};

const std::string& chartFileName(int points) {
    static ChartFiles files;
    return files.name(points);
}

void RawChartRead(benchmark::State& state) {
    const std::string& name = chartFileName(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::string bytes;
        std::FILE* file = std::fopen(name.c_str(), "rb");
        char buffer[1 << 16];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, n);
        std::fclose(file);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(RawChartRead)->Arg(20)->Arg(500);

void ChartImport(benchmark::State& state) {
    const std::string& name = chartFileName(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        kest::gear::GearKCharts charts;
        benchmark::DoNotOptimize(charts.importZF(name.c_str(), -1, nullptr));
    }
}
BENCHMARK(ChartImport)->Arg(20)->Arg(500);

} // namespace
