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
using calc::normalizeAngle;
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
    const double refLeft = referenceAngle(Side::Left, x);
    const double refRight = referenceAngle(Side::Right, x);
    const SideData& s = sides_[0];
    if (isUnset(refLeft) || isUnset(refRight) || isUnset(s.betaB)) return Result::of(unsetValue);
    const int firstTooth = e_ > 0 ? 1 : z;
    // The angle between the flanks, unwrapped: an internal gear's span starts at the Left flank of tooth |z|
    // taken one turn back, and the reference angles count from -pi.
    const double span = turnedBaseAngle(static_cast<int>(k), Side::Right, wrapAngle(refRight), phi0) -
                        turnedBaseAngle(firstTooth, Side::Left, wrapAngle(refLeft), phi0) -
                        (e_ > 0 ? 0.0 : calc::twoPi);
    if (std::fabs(span) > std::numbers::pi) return Result::refused(kSpanBeyondHalf);
    const double first = normalizeAngle(turnedBaseAngle(firstTooth, Side::Left, refLeft, phi0));
    const double last = normalizeAngle(turnedBaseAngle(static_cast<int>(k), Side::Right, refRight, phi0));
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
    const auto contact = [&](const Result& w) {
        const double along = w.value / cosBetaB;
        return std::sqrt(dB * dB + along * along);
    };
    unsigned int k = 1;
    const Result w1 = wk(1, x, phi0);
    if (w1.kind == Result::Kind::Failed) return w1;
    if (w1.hasValue() && z > 2) {
        const Result w2 = wk(2, x, phi0);
        const double pitch = w2.hasValue() ? w2.value - w1.value : 0.0;
        const double needed = std::sqrt(std::max(lower * lower - dB * dB, 0.0)) * cosBetaB;
        if (pitch > 0.0 && needed > w1.value)
            k = std::max(1u, static_cast<unsigned int>(std::min((needed - w1.value) / pitch, z - 2.0)));
    }
    for (; k < static_cast<unsigned int>(z); ++k) {
        const Result w = wk(k, x, phi0);
        if (w.kind == Result::Kind::Failed) return w;
        if (!w.hasValue()) break;
        const double d = contact(w);
        if (d >= upper) break;
        if (lower < d) spans.push_back(k);
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
