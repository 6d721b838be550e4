// The drawings of gearfile draw: each example gear's tooth section built as an SVG text in memory, and once
// more written to a file, beside a Gear::Load of the same file in the same run, so that the drawing's cost
// can be read as a ratio to loading the gear. The goal is a drawing well under a tenth of a second.

#include "drawing/drawing.h"

#include <kest/gear/gear.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const char* const examples[] = {"spur_gear",         "helical_gear",  "internal_ring_gear",
                                "asymmetrical_gear", "beveloid_gear", "full_gear"};

std::string examplePath(const std::string& name) {
    return std::string(GEARRECORDS_EXAMPLES) + "/" + name + ".xml";
}

void loadGear(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        kest::gear::Gear gear;
        gear.Load(path.c_str());
        benchmark::DoNotOptimize(gear);
    }
}

void drawSection(benchmark::State& state, const std::string& path, bool ranges) {
    kest::gear::Gear gear;
    gear.Load(path.c_str());
    std::size_t bytes = 0;
    for (auto _ : state) {
        const kest::gearfile::drawing::Drawing drawing =
            kest::gearfile::drawing::drawToothSection(gear, path, ranges);
        bytes = drawing.svg.size();
        benchmark::DoNotOptimize(drawing.svg.data());
    }
    state.counters["svg_bytes"] = static_cast<double>(bytes);
}

// Load, draw and write the file: what one run of the command does besides starting the process.
void drawSectionToFile(benchmark::State& state, const std::string& path) {
    const fs::path out =
        fs::temp_directory_path() / ("gearrecords_bench_" + std::to_string(::getpid()) + ".svg");
    for (auto _ : state) {
        kest::gear::Gear gear;
        gear.Load(path.c_str());
        const kest::gearfile::drawing::Drawing drawing =
            kest::gearfile::drawing::drawToothSection(gear, path, false);
        std::ofstream file(out, std::ios::binary | std::ios::trunc);
        file << drawing.svg;
    }
    fs::remove(out);
}

void drawKChart(benchmark::State& state, const std::string& path) {
    kest::gear::Gear gear;
    gear.Load(path.c_str());
    for (auto _ : state) {
        const kest::gearfile::drawing::Drawing drawing =
            kest::gearfile::drawing::drawKChart(gear, kest::gear::Measurement_Type::Profile, 0, path);
        benchmark::DoNotOptimize(drawing.svg.data());
    }
}

[[maybe_unused]] const bool registered = [] {
    for (const char* name : examples) {
        const std::string path = examplePath(name);
        benchmark::RegisterBenchmark(("Drawing_Load/" + std::string(name)).c_str(), loadGear, path)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Drawing_Section/" + std::string(name)).c_str(), drawSection, path,
                                     false)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Drawing_SectionToFile/" + std::string(name)).c_str(),
                                     drawSectionToFile, path)
            ->Unit(benchmark::kMicrosecond);
    }
    const std::string full = examplePath("full_gear");
    benchmark::RegisterBenchmark("Drawing_SectionWithRanges/full_gear", drawSection, full, true)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Drawing_KChart/full_gear", drawKChart, full)->Unit(benchmark::kMicrosecond);
    return true;
}();

} // namespace
