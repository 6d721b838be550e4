// Parsing a long tooth list and ordering measurement identities, each beside a trivial baseline of the same
// size in the same run: a copy of the parsed teeth, and the comparison of bare tooth vectors.

#include <kest/gear/gear_measurement_info.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

using kest::gear::Gear_Measurement_Info;
using kest::gear::Measurement_Type;
using kest::gear::Side;

namespace {

// Every tooth of a 200-tooth gear, measured in three passes: 600 teeth from 17 characters.
const std::string kLongList = "1-200,1-200,1-200";

void SetToothLongList(benchmark::State& state) {
    Gear_Measurement_Info info;
    for (auto _ : state) {
        benchmark::DoNotOptimize(info.setTooth(kLongList));
        benchmark::ClobberMemory();
    }
    if (info.teeth.size() != 600 || info.getMaxCycle() != 2) state.SkipWithError("unexpected tooth list");
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(info.teeth.size()));
}
BENCHMARK(SetToothLongList);

void CopyTeethBaseline(benchmark::State& state) {
    Gear_Measurement_Info info;
    info.setTooth(kLongList);
    for (auto _ : state) {
        std::vector<unsigned int> copy = info.teeth;
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(info.teeth.size()));
}
BENCHMARK(CopyTeethBaseline);

// The identities a gear with many measurements holds: every type, both flanks, a few indices and tooth
// lists of 1 to 12 teeth, shuffled.
std::vector<Gear_Measurement_Info> manyInfos() {
    std::vector<Gear_Measurement_Info> infos;
    for (int type = 0; type <= 11; ++type)
        for (const Side side : {Side::Left, Side::Right})
            for (unsigned int index = 0; index < 4; ++index)
                for (unsigned int n = 1; n <= 12; n += 3) {
                    Gear_Measurement_Info info;
                    info.type = static_cast<Measurement_Type>(type);
                    info.side = side;
                    info.measurementIndex = index;
                    info.setTooth("1-" + std::to_string(n) + "," + std::to_string(n + 20));
                    infos.push_back(info);
                }
    std::shuffle(infos.begin(), infos.end(), std::mt19937(42));
    return infos;
}

// All pairs, so that every rule of the order takes part.
void InfoLessAllPairs(benchmark::State& state) {
    const std::vector<Gear_Measurement_Info> infos = manyInfos();
    for (auto _ : state) {
        std::int64_t less = 0;
        for (const Gear_Measurement_Info& a : infos)
            for (const Gear_Measurement_Info& b : infos)
                less += a < b;
        benchmark::DoNotOptimize(less);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(infos.size() * infos.size()));
}
BENCHMARK(InfoLessAllPairs);

void TeethLessBaseline(benchmark::State& state) {
    const std::vector<Gear_Measurement_Info> infos = manyInfos();
    std::vector<std::vector<unsigned int>> teeth;
    for (const Gear_Measurement_Info& info : infos)
        teeth.push_back(info.teethSorted);
    for (auto _ : state) {
        std::int64_t less = 0;
        for (const auto& a : teeth)
            for (const auto& b : teeth)
                less += a < b;
        benchmark::DoNotOptimize(less);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(teeth.size() * teeth.size()));
}
BENCHMARK(TeethLessBaseline);

} // namespace
