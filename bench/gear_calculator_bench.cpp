// The nominal gear values of the flank model beside the textbook closed forms of the same values (ISO 21771,
// DIN 3960), computed in the same run. Each pair first checks that both give the same numbers; the ratio of
// their times is the price of the general model (per-side geometry, helix twist, asymmetrical flanks,
// iterative ball placement) over the formula that only a symmetric gear has.

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear_calculator.h>
#include <kest/gear/measurement_enums.h>

#include "../tests/calc/gear_references.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

using kest::gear::AddendumModificationVariant;
using kest::gear::CylindricalGearGeometry;
using kest::gear::GearCalculator;
using kest::gear::Side;
using kest::gear::unsetValue;
using kest::test::TestGear;

namespace {

constexpr double U = unsetValue;

const TestGear gear{"helical, z 23, x 0.2", 23, 2.5, 15.0, 20.0, 0.2};
constexpr double ballDiameter = 4.5;

bool agree(double a, double b, double tolerance, benchmark::State& state) {
    if (std::fabs(a - b) <= tolerance) return true;
    state.SkipWithError("model and closed form disagree");
    return false;
}

void MdK_Model(benchmark::State& state) {
    const CylindricalGearGeometry g = gear.make();
    const GearCalculator c(&g);
    if (!agree(c.getNominal_MdK(U, U, ballDiameter, 10.0, U), gear.mdk(ballDiameter), 1e-9, state)) return;
    for (auto _ : state)
        benchmark::DoNotOptimize(c.getNominal_MdK(U, U, ballDiameter, 10.0, U));
}
BENCHMARK(MdK_Model);

// The closed forms get the gear through DoNotOptimize, so that the compiler cannot fold them into constants.
void MdK_ClosedForm(benchmark::State& state) {
    TestGear t = gear;
    for (auto _ : state) {
        benchmark::DoNotOptimize(t);
        benchmark::DoNotOptimize(t.mdk(ballDiameter));
    }
}
BENCHMARK(MdK_ClosedForm);

void Wk_Model(benchmark::State& state) {
    const CylindricalGearGeometry g = gear.make();
    const GearCalculator c(&g);
    if (!agree(c.getNominal_Wk(4, U, U), gear.wk(4), 1e-9, state)) return;
    for (auto _ : state)
        benchmark::DoNotOptimize(c.getNominal_Wk(4, U, U));
}
BENCHMARK(Wk_Model);

void Wk_ClosedForm(benchmark::State& state) {
    TestGear t = gear;
    for (auto _ : state) {
        benchmark::DoNotOptimize(t);
        benchmark::DoNotOptimize(t.wk(4));
    }
}
BENCHMARK(Wk_ClosedForm);

// The span counts whose contact diameter sqrt(db^2 + (W_k / cos(beta_b))^2) lies inside the flank, from the
// closed form.
std::vector<unsigned int> closedFormSpans(const TestGear& t) {
    const double db = std::fabs(t.db());
    const double lower = std::max(std::min(std::fabs(t.da()), std::fabs(t.df())), db);
    const double upper = std::max(std::fabs(t.da()), std::fabs(t.df()));
    const double cosBetaB = std::cos(t.betaB());
    std::vector<unsigned int> spans;
    for (unsigned int k = 1; k < static_cast<unsigned int>(std::abs(t.z)); ++k) {
        const double along = t.wk(k) / cosBetaB;
        const double contact = std::sqrt(db * db + along * along);
        if (contact >= upper) break;
        if (lower < contact) spans.push_back(k);
    }
    return spans;
}

void SpanList_Model(benchmark::State& state) {
    const CylindricalGearGeometry g = gear.make();
    const GearCalculator c(&g);
    if (c.getWkSpanTeethList(U, U) != closedFormSpans(gear)) {
        state.SkipWithError("model and closed form disagree");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(c.getWkSpanTeethList(U, U));
}
BENCHMARK(SpanList_Model);

void SpanList_ClosedForm(benchmark::State& state) {
    TestGear t = gear;
    for (auto _ : state) {
        benchmark::DoNotOptimize(t);
        benchmark::DoNotOptimize(closedFormSpans(t));
    }
}
BENCHMARK(SpanList_ClosedForm);

CylindricalGearGeometry statedByMdK(double mdk) {
    return {gear.z,
            20.0,
            gear.mn,
            gear.beta(),
            gear.alphaN(),
            mdk,
            std::fabs(gear.da()),
            std::fabs(gear.df()),
            CylindricalGearGeometry::FlankDirection::Right,
            CylindricalGearGeometry::ModuleVariant::Normal,
            AddendumModificationVariant::AddmodMdk,
            ballDiameter};
}

// x from a dimension over balls of an odd gear: R_K = (MdK - dK) / (2 cos(90 deg / z)), cos(alpha_K) = rb /
// R_K, then the ball relation solved for x.
double closedFormX(double mdk) {
    const TestGear& t = gear;
    const double rK = (mdk - ballDiameter) / (2 * std::cos(kest::test::pi / 2 / t.z));
    const double aK = std::acos(t.db() / 2 / rK);
    return (kest::test::inv(aK) - kest::test::inv(t.alphaT()) -
            ballDiameter / (t.z * t.mn * std::cos(t.alphaN())) + kest::test::pi / (2 * t.z)) *
           t.z / (2 * std::tan(t.alphaN()));
}

void CalcXFromMdK_Model(benchmark::State& state) {
    const double mdk = gear.mdk(ballDiameter);
    if (!agree(statedByMdK(mdk).getX(Side::Left), gear.x, 1e-8, state)) return;
    for (auto _ : state)
        benchmark::DoNotOptimize(statedByMdK(mdk).getX(Side::Left));
}
BENCHMARK(CalcXFromMdK_Model);

void CalcXFromMdK_ClosedForm(benchmark::State& state) {
    const double mdk = gear.mdk(ballDiameter);
    if (!agree(closedFormX(mdk), gear.x, 1e-12, state)) return;
    double m = mdk;
    for (auto _ : state) {
        benchmark::DoNotOptimize(m);
        benchmark::DoNotOptimize(closedFormX(m));
    }
}
BENCHMARK(CalcXFromMdK_ClosedForm);

// Every feature the geometry knows a nominal value of, with its closed form.
struct Feature {
    const char* name;
    double a1, a2, expected;
};

std::vector<Feature> features(const TestGear& t) {
    const double dv = t.d() + 2 * t.x * t.mn;
    const double dy = t.d() + 1.0;
    const double cosBeta = std::cos(t.beta());
    const double cosBetaB = std::cos(t.betaB());
    std::vector<Feature> rows{
        {"MdK", ballDiameter, 10.0, t.mdk(ballDiameter)},
        {"MrK", ballDiameter, 10.0, t.mrk(ballDiameter)},
        {"MdR", ballDiameter, U, 2 * t.ballCentreRadius(ballDiameter) + ballDiameter},
        {"MrR", ballDiameter, U, t.mrk(ballDiameter)},
        {"st", U, U, t.st()},
        {"sn", U, U, t.st() * cosBeta},
        {"sbt", U, U, t.syt(t.db())},
        {"sbn", U, U, t.syt(t.db()) * cosBetaB},
        {"svt", U, U, t.syt(dv)},
        {"svn", U, U, t.syt(dv) * t.cosBetaY(dv)},
        {"et", U, U, t.eyt(t.d())},
        {"en", U, U, t.eyt(t.d()) * cosBeta},
        {"ebt", U, U, t.eyt(t.db())},
        {"ebn", U, U, t.eyt(t.db()) * cosBetaB},
        {"evt", U, U, t.eyt(dv)},
        {"evn", U, U, t.eyt(dv) * t.cosBetaY(dv)},
        {"syt", dy, 4.0, t.syt(dy)},
        {"syn", dy, 4.0, t.syt(dy) * t.cosBetaY(dy)},
        {"eyt", dy, 4.0, t.eyt(dy)},
        {"eyn", dy, 4.0, t.eyt(dy) * t.cosBetaY(dy)},
        {"da", U, U, t.d() + 2 * t.mn * (1 + t.x)},
        {"df", U, U, t.d() - 2 * t.mn * (1.2 - t.x)},
    };
    return rows;
}

// The same list evaluated by the closed forms (with the list's own allocation).
double closedFormSweep(const TestGear& t) {
    double sum = 0.0;
    for (const Feature& f : features(t))
        sum += f.expected;
    return sum;
}

void FeatureSweep_Model(benchmark::State& state) {
    const CylindricalGearGeometry g = gear.make();
    const std::vector<Feature> rows = features(gear);
    for (const Feature& f : rows)
        if (!agree(g.getNominalFeatureValue(f.name, f.a1, f.a2), f.expected, 1e-9, state)) return;
    const std::vector<std::string> names = [&] {
        std::vector<std::string> out;
        for (const Feature& f : rows)
            out.emplace_back(f.name);
        return out;
    }();
    for (auto _ : state) {
        double sum = 0.0;
        for (std::size_t i = 0; i < rows.size(); ++i)
            sum += g.getNominalFeatureValue(names[i], rows[i].a1, rows[i].a2);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows.size()));
}
BENCHMARK(FeatureSweep_Model);

void FeatureSweep_ClosedForm(benchmark::State& state) {
    TestGear t = gear;
    for (auto _ : state) {
        benchmark::DoNotOptimize(t);
        benchmark::DoNotOptimize(closedFormSweep(t));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(features(gear).size()));
}
BENCHMARK(FeatureSweep_ClosedForm);

} // namespace
