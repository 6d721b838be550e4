// Parsing a long tooth list, computing the cycles of lists of growing length and ordering measurement
// identities, each beside a trivial baseline of the same size in the same run: a copy of the parsed teeth,
// the sort of the list, and the comparison of bare tooth vectors.

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

// n teeth taken as a list: n, n-1, ..., 1, each once, so that the whole list is the first cycle and every
// tooth is new to it; such a list once cost time quadratic in n. Beside it, the sort of the same list: the
// cycle computation sorts it too, so their ratio stays the same as n grows when the computation takes n log
// n.
std::vector<unsigned int> descendingTeeth(std::int64_t n) {
    std::vector<unsigned int> teeth;
    for (auto tooth = static_cast<unsigned int>(n); tooth > 0; --tooth)
        teeth.push_back(tooth);
    return teeth;
}

void CyclesOfDescendingList(benchmark::State& state) {
    const std::vector<unsigned int> teeth = descendingTeeth(state.range(0));
    Gear_Measurement_Info info;
    for (auto _ : state) {
        benchmark::DoNotOptimize(info.setTooth(teeth));
        benchmark::ClobberMemory();
    }
    if (info.getMaxCycle() != 0) state.SkipWithError("unexpected cycles");
    state.SetComplexityN(state.range(0));
}
BENCHMARK(CyclesOfDescendingList)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oNLogN);

void SortTeethBaseline(benchmark::State& state) {
    const std::vector<unsigned int> teeth = descendingTeeth(state.range(0));
    for (auto _ : state) {
        std::vector<unsigned int> sorted = teeth;
        std::sort(sorted.begin(), sorted.end());
        benchmark::DoNotOptimize(sorted.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(SortTeethBaseline)->RangeMultiplier(10)->Range(1000, 100000);

// A tooth list text of n entries: passes over 1000 teeth, each written as one descending range.
void SetToothTextPasses(benchmark::State& state) {
    std::string text = "1000-1";
    for (std::int64_t k = 1000; k < state.range(0); k += 1000)
        text += ",1000-1";
    Gear_Measurement_Info info;
    for (auto _ : state) {
        benchmark::DoNotOptimize(info.setTooth(text));
        benchmark::ClobberMemory();
    }
    if (static_cast<std::int64_t>(info.teeth.size()) != state.range(0))
        state.SkipWithError("unexpected list");
    state.SetComplexityN(state.range(0));
}
BENCHMARK(SetToothTextPasses)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oNLogN);

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
        teeth.push_back(info.getSortedTeeth());
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
