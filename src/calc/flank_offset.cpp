// The flank offset angle of an asymmetrical gear from a measured value, solved with the secant method.

#include <kest/gear/calculation_functors.h>
#include <kest/gear/gear_calculator.h>

#include "calc/calculation_result.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string_view>
#include <utility>

namespace {

using kest::gear::CylindricalGearGeometry;
using kest::gear::GearCalculator;
using kest::gear::isUnset;
using kest::gear::unsetValue;
using kest::gear::calc::notCalculable;
using std::numbers::pi;

constexpr const char* kSpanCountMissing =
    "for base tangent length calculation span teeth number must be given.";

} // namespace

// ---- FlankSurfaceOffsetCalculation ------------------------------------------------------------------------

FlankSurfaceOffsetCalculation::FlankSurfaceOffsetCalculation(const GearCalculator& calculator,
                                                             const std::string& feature, double measured,
                                                             const Parameters& parameters)
    : calculator_(calculator)
    , feature_(feature)
    , kind_(Feature::MrK)
    , measured_(measured)
    , parameters_(parameters) {
    static constexpr std::array<std::pair<std::string_view, Feature>, 6> features{{
        {"MrK", Feature::MrK},
        {"MdK", Feature::MdK},
        {"MrR", Feature::MrR},
        {"MdR", Feature::MdR},
        {"Syt", Feature::Syt},
        {"Wk", Feature::Wk},
    }};
    const auto row = std::find_if(features.begin(), features.end(),
                                  [&](const auto& candidate) { return candidate.first == feature; });
    if (row == features.end()) throw notCalculable(feature);
    kind_ = row->second;
    if (kind_ == Feature::Wk && (parameters.k == 0 || parameters.k == kest::gear::unsetSpanCount))
        throw kSpanCountMissing;
}

double FlankSurfaceOffsetCalculation::nominal(double phi0) const {
    const Parameters& p = parameters_;
    // The pin and span values are not defined for an asymmetrical gear (their public forms refuse it).
    const bool refused = calculator_.isAsymmetrical();
    switch (kind_) {
    case Feature::MrK:
        return calculator_.mrk(p.xL, p.xR, p.ballOrPinDiameter, p.zpos, phi0);
    case Feature::MdK:
        return calculator_.mdk(p.xL, p.xR, p.ballOrPinDiameter, p.zpos, phi0);
    case Feature::MrR:
        return refused ? unsetValue : calculator_.mrr(p.xL, p.ballOrPinDiameter, phi0);
    case Feature::MdR:
        return refused ? unsetValue : calculator_.mdr(p.xL, p.ballOrPinDiameter, phi0);
    case Feature::Syt:
        return isUnset(p.diameter) ? unsetValue : calculator_.syt(p.diameter / 2, p.zpos, p.xL, p.xR, phi0);
    case Feature::Wk: {
        if (refused) return unsetValue;
        const kest::gear::calc::Result w = calculator_.wk(p.k, p.xL, phi0);
        if (w.kind == kest::gear::calc::Result::Kind::Failed) throw w.reason;
        return w.value;
    }
    }
    return unsetValue;
}

double FlankSurfaceOffsetCalculation::value(double phi0) const {
    try {
        return nominal(phi0);
    } catch (const char*) {
        return unsetValue;
    }
}

double FlankSurfaceOffsetCalculation::operator()(double phi0) const {
    const double v = nominal(phi0);
    if (isUnset(v)) throw notCalculable(feature_);
    return v - measured_;
}

namespace kest::gear {

double GearCalculator::getPhiB0_offset(const std::string& feature, double measured, double ballOrPinDiameter,
                                       double zpos, double diameter, double xL, double xR,
                                       unsigned int k) const {
    kest::RootSecantMethod solver(secantTolerance, secantIterationLimit);
    return getPhiB0_offset(feature, measured, ballOrPinDiameter, zpos, diameter, xL, xR, k, solver);
}

// The offset widens each tooth by phi0; a quarter of the angular pitch either way brackets any offset that
// leaves the teeth and spaces open. Where the value is undefined at a start value (a ball that finds no
// place), the start values close in on the defined part, within the solver's iteration budget.
double GearCalculator::getPhiB0_offset(const std::string& feature, double measured, double ballOrPinDiameter,
                                       double zpos, double diameter, double xL, double xR, unsigned int k,
                                       kest::RootSecantMethod& solver) const {
    const FlankSurfaceOffsetCalculation f(*this, feature, measured,
                                          {xL, xR, ballOrPinDiameter, zpos, diameter, k});
    const int z = std::abs(z_);
    if (z == 0 || isUnset(measured)) return unsetValue;
    double lo = -pi / z / 4;
    double hi = pi / z / 4;
    double fLo = f.value(lo);
    double fHi = f.value(hi);
    for (unsigned int step = 0; isUnset(fLo) || isUnset(fHi); ++step) {
        if (step == solver.getMaxIterations()) return unsetValue;
        if (isUnset(fLo) && isUnset(fHi)) {
            lo += 0.1 * (hi - lo);
            hi = lo + 0.9 * (hi - lo);
            fLo = f.value(lo);
            fHi = f.value(hi);
        } else if (isUnset(fLo)) {
            lo = (lo + hi) / 2;
            fLo = f.value(lo);
        } else {
            hi = (lo + hi) / 2;
            fHi = f.value(hi);
        }
    }
    return solver.solve(f, lo, hi);
}

} // namespace kest::gear
