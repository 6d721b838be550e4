// The inverse involute function by the library's bisection beside a Newton iteration for the same values, and
// the distance of points from an involute. The Newton reference starts at cbrt(3 inv), which lies above the
// root because inv(a) >= a^3 / 3, and so converges monotonically on the convex involute function.

#include <kest/gear/involute.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>
#include <vector>

namespace {

constexpr double deg = std::numbers::pi / 180;

double newtonInvinv(double inv) {
    if (inv == 0.0) return 0.0;
    const double x = std::fabs(inv);
    double a = std::cbrt(3 * x);
    for (int i = 0; i < 30; ++i) {
        const double t = std::tan(a);
        const double step = (t - a - x) / (t * t);
        a -= step;
        if (std::fabs(step) < 1e-15 * a) break;
    }
    return std::copysign(a, inv);
}

// Involute values of pressure angles from 1 deg to 60 deg, and a few negative ones.
std::vector<double> involuteValues() {
    std::vector<double> values;
    for (double a = 1.0; a <= 60.0; a += 0.5)
        values.push_back(_inv(a * deg));
    for (double a = 5.0; a <= 45.0; a += 5.0)
        values.push_back(-_inv(a * deg));
    return values;
}

// Both solvers must meet the same involute value in this run, or the comparison means nothing. The bisection
// stops within 1e-12 of the value, which near 0 deg leaves the angle itself far less certain (inv' = tan^2).
bool agree(const std::vector<double>& values, benchmark::State& state) {
    for (const double v : values)
        if (std::fabs(_inv(_invinv(v)) - _inv(newtonInvinv(v))) > 1e-12) {
            state.SkipWithError("bisection and Newton disagree");
            return false;
        }
    return true;
}

void InvinvBisection(benchmark::State& state) {
    const std::vector<double> values = involuteValues();
    if (!agree(values, state)) return;
    for (auto _ : state)
        for (const double v : values)
            benchmark::DoNotOptimize(_invinv(v));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(InvinvBisection);

void InvinvNewtonReference(benchmark::State& state) {
    const std::vector<double> values = involuteValues();
    if (!agree(values, state)) return;
    for (auto _ : state)
        for (const double v : values)
            benchmark::DoNotOptimize(newtonInvinv(v));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(InvinvNewtonReference);

// Points on a grid around the involute of a gear with base radius 40 about the origin, starting at (40, 0);
// a few lie behind the start, most in front of it.
void Distance2Involute(benchmark::State& state) {
    std::vector<std::pair<double, double>> points;
    for (double r = 38.0; r <= 56.0; r += 2.0)
        for (double phi = -0.1; phi <= 0.4; phi += 0.05)
            points.emplace_back(r * std::cos(phi), r * std::sin(phi));
    for (auto _ : state)
        for (const auto& [px, py] : points) {
            double d, nx, ny, fx, fy;
            benchmark::DoNotOptimize(
                distance2Involute(20, 40, 0, 0, 40, 0, false, px, py, &d, &nx, &ny, &fx, &fy));
            benchmark::DoNotOptimize(d);
        }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(points.size()));
}
BENCHMARK(Distance2Involute);

} // namespace
