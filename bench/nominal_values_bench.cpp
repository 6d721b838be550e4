// The nominal values of `gearfile nominal` and of gearrecords.Gear.nominal() in Python, computed in C++ for
// example gear files: the C++ side of bench/python_nominal_bench.py, which times the Python call in the same
// run and prints the ratio.

#include "nominal_values.h"

#include <kest/gear/gear.h>

#include <benchmark/benchmark.h>

#include <string>

namespace {

void NominalValues(benchmark::State& state, const char* example) {
    kest::gear::Gear gear;
    gear.Load((std::string(GEARRECORDS_EXAMPLES) + "/" + example).c_str());
    const kest::gear::CylindricalGearGeometry& geometry = *gear.getGeometry();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            kest::gearfile::namedNominalValues(kest::gearfile::computeNominal(geometry)));
}
BENCHMARK_CAPTURE(NominalValues, spur_gear, "spur_gear.xml");
BENCHMARK_CAPTURE(NominalValues, helical_gear, "helical_gear.xml");
BENCHMARK_CAPTURE(NominalValues, internal_ring_gear, "internal_ring_gear.xml");
BENCHMARK_CAPTURE(NominalValues, asymmetrical_gear, "asymmetrical_gear.xml");
BENCHMARK_CAPTURE(NominalValues, beveloid_gear, "beveloid_gear.xml");

} // namespace
