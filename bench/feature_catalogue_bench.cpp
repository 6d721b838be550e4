// Catalogue lookups after the first build: each call is a binary search over the sorted names, with no
// allocation. A lookup of a missing name, which throws, is timed beside it.

#include <kest/gear/gear_feature_info.h>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// Names from every source table, short and long, early and late in the order.
const std::vector<std::string> kNames = {"ffa",  "Fa+",  "hoa",   "CbII",  "WfHb",         "fp",
                                         "Wk_j", "gbn",  "Wkmax", "da",    "Frf",          "Rr2",
                                         "MdK",  "fHbm", "Caa",   "ebt_j", "KCHART_dev_b", "Rs"};

void FeatureInfoLookup(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& info = kest::gear::getFeatureInfo(kNames[i]);
        benchmark::DoNotOptimize(&info);
        if (++i == kNames.size()) i = 0;
    }
}
BENCHMARK(FeatureInfoLookup);

void FeatureMeasurementType(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kest::gear::getFeatureMeasurementType(kNames[i]));
        if (++i == kNames.size()) i = 0;
    }
}
BENCHMARK(FeatureMeasurementType);

void AllowedRangeTypes(benchmark::State& state) {
    const auto& info = kest::gear::getFeatureInfo("ffb");
    for (auto _ : state)
        benchmark::DoNotOptimize(info.getAllowedRangeTypes());
}
BENCHMARK(AllowedRangeTypes);

void UnknownFeatureLookup(benchmark::State& state) {
    const std::string name = "Cbo";
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(&kest::gear::getFeatureInfo(name));
        } catch (const char* message) {
            benchmark::DoNotOptimize(message);
        }
    }
}
BENCHMARK(UnknownFeatureLookup);

} // namespace
