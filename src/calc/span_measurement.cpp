// Span measurement: the base tangent length over k teeth and the span counts whose jaws touch the flanks
// between tip and root circle.

#include <kest/gear/gear_calculator.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include "calc/calculation_result.h"
#include "calc/polar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace kest::gear {
namespace {

using calc::deliver;
using calc::Delivery;
using calc::Result;
using calc::wrapAngle;

constexpr const char* kAsymmetricalWk = "Asymmetrical Gear can not calculate Wk";
constexpr const char* kAsymmetricalSpans = "Asymmetrical Gear can not calculate getWkSpanTeethList";
constexpr const char* kSpanBeyondHalf = "the span reaches over more than half the base circle";
constexpr const char* kNoSpanFits = "no span count has its contact between tip and root circle";

} // namespace

// The base tangent length is the arc between the two outer involutes on the base circle, rb |delta phiB|,
// seen in the normal section of the base helix (times cos(beta_b)); over k teeth of an external gear this is
// W_k = (k - 1) p_bn + s_bn = mn cos(alpha_n) ((k - 0.5) pi + z inv(alpha_t)) + 2 x mn sin(alpha_n)
// (DIN 3960). On an internal gear the two flanks face each other across k spaces: W_k = k p_bn - s_bn.
// The angle is taken unwrapped: when it exceeds pi the jaws would lie on the far side of the base circle and
// touch the involutes beyond the tip, so such a span has no value.
Result GearCalculator::wk(unsigned int k, double x, double phi0) const {
    const int z = std::abs(z_);
    if (z == 0) return Result::of(unsetValue);
    if (k < 1 || k > static_cast<unsigned int>(z)) return Result::failed(calc::kToothOutOfRange);
    const SideData& s = sides_[0];
    double first = 0.0, last = 0.0, span = 0.0;
    // An internal gear's span starts at the Left flank of tooth |z| taken one turn back.
    if (!flankPairAngles(e_ > 0 ? 1 : z, static_cast<int>(k), x, phi0, first, last, span) || isUnset(s.betaB))
        return Result::of(unsetValue);
    if (e_ < 0) span -= calc::twoPi;
    if (std::fabs(span) > std::numbers::pi) return Result::refused(kSpanBeyondHalf);
    return Result::of(std::fabs(wrapAngle(last - first)) * s.rb * std::cos(s.betaB));
}

Result GearCalculator::wkResult(unsigned int k, double x, double phi0) const {
    return isAsymmetrical() ? Result::refused(kAsymmetricalWk) : wk(k, x, phi0);
}

double GearCalculator::getNominal_Wk(unsigned int k, double x, double phi0) const {
    return deliver(wkResult(k, x, phi0), "getNominal_Wk", Delivery::Rethrow);
}

// A span is usable when the jaws touch the flanks between tip and root (or base) circle. The contact lies on
// the generating line of the flank, in the plane tangent to the base cylinder, at W / 2 from the base helix
// measured normal to it, that is at W / (2 cos(beta_b)) along the transverse base tangent: on the diameter
// sqrt(db^2 + (W / cos(beta_b))^2). W grows by one base pitch with each k, so the contact diameter grows with
// k: the search starts just below the span count that the pitch points to and ends at the first span that
// reaches past the outer circle, so that its work is that of the run it finds.
Result GearCalculator::spanCountsResult(double x, double phi0, std::vector<unsigned int>& spans) const {
    spans.clear();
    if (isAsymmetrical()) return Result::refused(kAsymmetricalSpans);
    const double dA = geometry_->getDA();
    const double dF = geometry_->getDF();
    const double dB = geometry_->getDB(Side::Left, false);
    const double betaB = sides_[0].betaB;
    const int z = std::abs(z_);
    if (isUnset(dA) || isUnset(dF) || isUnset(dB) || isUnset(betaB) || z == 0) return Result::of(unsetValue);
    const double lower = std::max(std::min(std::fabs(dA), std::fabs(dF)), std::fabs(dB));
    const double upper = std::max(std::fabs(dA), std::fabs(dF));
    const double cosBetaB = std::cos(betaB);
    // W_k grows by the base pitch 2 pi rb cos(beta_b) / z with each k.
    const double pitch = calc::twoPi / z * sides_[0].rb * cosBetaB;
    const double needed = std::sqrt(std::max(lower * lower - dB * dB, 0.0)) * cosBetaB;
    unsigned int k = 1;
    Result w = wk(k, x, phi0);
    if (w.hasValue() && pitch > 0.0 && needed > w.value + pitch) {
        k = static_cast<unsigned int>(std::min((needed - w.value) / pitch, z - 1.0));
        w = wk(k, x, phi0);
    }
    while (k < static_cast<unsigned int>(z)) {
        if (w.kind == Result::Kind::Failed) return w;
        if (!w.hasValue()) break;
        const double along = w.value / cosBetaB;
        const double contact = std::sqrt(dB * dB + along * along);
        if (contact >= upper) break;
        if (lower < contact) spans.push_back(k);
        w = wk(++k, x, phi0);
    }
    return spans.empty() ? Result::refused(kNoSpanFits) : Result::of(static_cast<double>(spans.size()));
}

std::vector<unsigned int> GearCalculator::getWkSpanTeethList(double x, double phi0) const {
    std::vector<unsigned int> spans;
    const Result result = spanCountsResult(x, phi0, spans);
    // The refusal of the gear kind is logged; an empty list tells the rest.
    if (result.kind == Result::Kind::Failed || result.reason == kAsymmetricalSpans)
        deliver(result, "getWkSpanTeethList", Delivery::Rethrow);
    return spans;
}

} // namespace kest::gear
