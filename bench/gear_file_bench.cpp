// A full load and a full save of a gear file, each beside a raw pugixml parse and serialise of the same file:
// the ratio between the two is what the library's own work costs.

#include <kest/gear/gear.h>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A gear with geometry only, one with measurements, settings, parameters, processing and feed marks, and one
// that adds evaluation ranges, features and filters in every section.
const std::string exampleFiles[] = {std::string(GEARRECORDS_EXAMPLES) + "/helical_gear.xml",
                                    std::string(GEARRECORDS_EXAMPLES) + "/measured_gear.xml",
                                    std::string(GEARRECORDS_EXAMPLES) + "/evaluated_gear.xml"};

fs::path scratch(const char* name) {
    return fs::temp_directory_path() / ("gearrecords_bench_" + std::to_string(::getpid()) + "_" + name);
}

void RawParse(benchmark::State& state) {
    const std::string& exampleFile = exampleFiles[state.range(0)];
    for (auto _ : state) {
        pugi::xml_document doc;
        benchmark::DoNotOptimize(doc.load_file(exampleFile.c_str()));
    }
}
BENCHMARK(RawParse)->Arg(0)->Arg(1)->Arg(2);

void GearLoad(benchmark::State& state) {
    const std::string& exampleFile = exampleFiles[state.range(0)];
    for (auto _ : state) {
        kest::gear::Gear gear;
        gear.Load(exampleFile.c_str());
        benchmark::DoNotOptimize(gear.getGeometry());
    }
}
BENCHMARK(GearLoad)->Arg(0)->Arg(1)->Arg(2);

void RawSerialize(benchmark::State& state) {
    const std::string& exampleFile = exampleFiles[state.range(0)];
    pugi::xml_document doc;
    doc.load_file(exampleFile.c_str());
    const fs::path target = scratch("raw.xml");
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.save_file(target.c_str(), "  "));
    fs::remove(target);
}
BENCHMARK(RawSerialize)->Arg(0)->Arg(1)->Arg(2);

void GearSave(benchmark::State& state) {
    kest::gear::Gear gear(exampleFiles[state.range(0)].c_str());
    // Alternating targets: a save to another name is always written, as a changed gear would be.
    const std::string targets[2] = {scratch("a.xml").string(), scratch("b.xml").string()};
    std::size_t i = 0;
    for (auto _ : state)
        gear.Save(targets[i++ & 1].c_str());
    for (const auto& t : targets)
        fs::remove(t);
}
BENCHMARK(GearSave)->Arg(0)->Arg(1)->Arg(2);

} // namespace
