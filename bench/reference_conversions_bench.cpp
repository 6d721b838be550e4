// Profile reference conversions through the library beside the closed forms of the same values, timed in the
// same iterations: roll angle xi = sqrt(r^2 - rb^2) / rb and diameter d = 2 sqrt(rb^2 + L^2) with
// L = L100 * percent / 100. The closed forms take db and L100 worked out once, as a caller with one gear
// would; the library asks the geometry for them on every call. Counter `ratio` is library time over
// closed-form time.

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>
#include <kest/gear/reference_conversions.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

using kest::gear::CylindricalGearGeometry;
using kest::gear::Reference;
using kest::gear::Side;

constexpr double deg = std::numbers::pi / 180;

// Helical gear z 31, mn 4, beta 18 deg, alpha 20 deg, x 0.25.
const CylindricalGearGeometry& gear() {
    static const CylindricalGearGeometry g(31, 40.0, 4.0, 18 * deg, 20 * deg, 0.25, 140.4, 121.2,
                                           CylindricalGearGeometry::FlankDirection::Right,
                                           CylindricalGearGeometry::ModuleVariant::Normal,
                                           kest::gear::AddendumModificationVariant::AddmodFactor, 4.0);
    return g;
}

std::vector<double> spread(double from, double to, int count) {
    std::vector<double> values;
    for (int i = 0; i < count; ++i)
        values.push_back(from + (to - from) * i / (count - 1));
    return values;
}

// Runs both forms over the same inputs in every iteration; skips with an error when they disagree.
template <typename Library, typename ClosedForm>
void compare(benchmark::State& state, const std::vector<double>& inputs, Library library, ClosedForm closed) {
    for (const double v : inputs)
        if (std::fabs(library(v) - closed(v)) > 1e-9 * (1.0 + std::fabs(closed(v)))) {
            state.SkipWithError("library and closed form disagree");
            return;
        }
    using Clock = std::chrono::steady_clock;
    Clock::duration libraryTime{}, closedTime{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (const double v : inputs)
            benchmark::DoNotOptimize(library(v));
        const auto t1 = Clock::now();
        for (const double v : inputs)
            benchmark::DoNotOptimize(closed(v));
        libraryTime += t1 - t0;
        closedTime += Clock::now() - t1;
    }
    const double calls = static_cast<double>(state.iterations()) * static_cast<double>(inputs.size());
    state.counters["library_ns"] = std::chrono::duration<double, std::nano>(libraryTime).count() / calls;
    state.counters["closed_ns"] = std::chrono::duration<double, std::nano>(closedTime).count() / calls;
    state.counters["ratio"] =
        std::chrono::duration<double>(libraryTime) / std::chrono::duration<double>(closedTime);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(inputs.size()));
}

void DiameterToRollAngle(benchmark::State& state) {
    const CylindricalGearGeometry* g = &gear();
    const double rb = g->getDB(Side::Left, false) / 2;
    compare(
        state, spread(2 * rb, g->getDA(), 200),
        [g](double d) {
            return kest::gear::convertProfileReference(g, Side::Left, Reference::Diameter, d,
                                                       Reference::RollingAngle);
        },
        [rb](double d) { return std::sqrt(d * d / 4 - rb * rb) / rb / deg; });
}
BENCHMARK(DiameterToRollAngle);

void PercentToDiameter(benchmark::State& state) {
    const CylindricalGearGeometry* g = &gear();
    const double rb = g->getDB(Side::Left, false) / 2;
    const double ra = g->getDA() / 2;
    const double l100 = std::sqrt(ra * ra - rb * rb);
    compare(
        state, spread(0.0, 100.0, 200),
        [g](double p) {
            return kest::gear::convertProfileReference(g, Side::Left, Reference::Percent, p,
                                                       Reference::Diameter);
        },
        [rb, l100](double p) {
            const double l = l100 * p / 100;
            return 2 * std::sqrt(rb * rb + l * l);
        });
}
BENCHMARK(PercentToDiameter);

} // namespace
