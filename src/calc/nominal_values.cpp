// The nominal values by name, each with the reason when the gear has none.

#include <kest/gear/gear_calculator.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include "calc/calculation_result.h"

#include <cmath>

namespace kest::gear {
namespace {

using calc::attempt;
using calc::Result;

constexpr const char* kFailedSilently = "the calculation failed without a reason";
constexpr const char* kNoBallDiameter = "no ball or pin diameter";
constexpr const char* kNoFlankOffset = "the flank offset angle is not available";

NominalResult published(const Result& result) {
    switch (result.kind) {
    case Result::Kind::Value:
        if (!std::isfinite(result.value)) return {unsetValue, nominalNotFinite};
        return {result.value, {}};
    case Result::Kind::Unset:
        return {unsetValue, nominalInputNotSet};
    case Result::Kind::Refused:
    case Result::Kind::Failed:
        break;
    }
    return {unsetValue, result.reason && *result.reason ? result.reason : kFailedSilently};
}

// The values that place the flanks of the two sides against each other: all but these four.
bool needsFlankOffset(NominalValue value) {
    return value != NominalValue::FlankOffsetAngle && value != NominalValue::TipDiameter &&
           value != NominalValue::RootDiameter && value != NominalValue::BallDiameter;
}

} // namespace

NominalResult GearCalculator::named(NominalValue value, const NominalInputs& inputs,
                                    const Result& offset) const {
    // The calculator takes an unset offset for 0, which would misplace the flanks of an asymmetrical gear:
    // the values that depend on it are withheld when it is not available.
    const double phi0 = offset.hasValue() ? offset.value : unsetValue;
    const double xL = isUnset(inputs.xLeft) ? geometry_->getX(Side::Left) : inputs.xLeft;
    const double xR = isUnset(inputs.xRight) ? geometry_->getX(Side::Right) : inputs.xRight;
    const auto ballDiameter = [&] {
        double dK = inputs.ballDiameter;
        if (isUnset(dK)) dK = geometry_->getDM();
        return isUnset(dK) ? geometry_->getDINBallDiameter(Side::Left, xL) : dK;
    };
    std::vector<unsigned int> spans;

    Result result;
    switch (value) {
    case NominalValue::FlankOffsetAngle:
        return published(offset);
    case NominalValue::TipDiameter:
        result = Result::of(nominalTipOrRoot(true));
        break;
    case NominalValue::RootDiameter:
        result = Result::of(nominalTipOrRoot(false));
        break;
    case NominalValue::St:
    case NominalValue::Sn:
    case NominalValue::Sbt:
    case NominalValue::Sbn:
    case NominalValue::Svt:
    case NominalValue::Svn:
        result = thicknessResult(value, xL, phi0);
        break;
    case NominalValue::FirstSpanCount:
    case NominalValue::LastSpanCount:
        result = spanCountsResult(xL, phi0, spans);
        if (result.hasValue())
            result.value = value == NominalValue::FirstSpanCount ? spans.front() : spans.back();
        break;
    case NominalValue::Wk:
        result = wkResult(inputs.spanCount, xL, phi0);
        break;
    case NominalValue::BallDiameter:
        result = Result::of(ballDiameter());
        break;
    case NominalValue::MdK:
    case NominalValue::MrK:
    case NominalValue::MdR: {
        const double dK = ballDiameter();
        if (isUnset(dK)) return {unsetValue, kNoBallDiameter};
        if (value == NominalValue::MdR)
            result = mdrResult(xL, dK, phi0);
        else
            result = attempt([&] {
                return value == NominalValue::MdK ? mdk(xL, xR, dK, inputs.zpos, phi0)
                                                  : mrk(xL, xR, dK, inputs.zpos, phi0);
            });
        break;
    }
    }
    NominalResult named = published(result);
    if (named.available() && needsFlankOffset(value) && !offset.hasValue())
        return {unsetValue, kNoFlankOffset};
    return named;
}

NominalResult GearCalculator::getNominal(NominalValue value, const NominalInputs& inputs) const {
    return getNominal(std::span<const NominalValue>(&value, 1), inputs).front();
}

std::vector<NominalResult> GearCalculator::getNominal(std::span<const NominalValue> values,
                                                      const NominalInputs& inputs) const {
    // The geometry's flank offset angle is a secant solve on an asymmetrical gear: taken once, when needed.
    Result offset = Result::of(inputs.flankOffsetAngle);
    if (isUnset(inputs.flankOffsetAngle))
        for (const NominalValue value : values)
            if (value == NominalValue::FlankOffsetAngle || needsFlankOffset(value)) {
                offset = attempt([this] { return geometry_->getNominalFlankOffsetAngle(); });
                break;
            }
    std::vector<NominalResult> results;
    results.reserve(values.size());
    for (const NominalValue value : values)
        results.push_back(named(value, inputs, offset));
    return results;
}

} // namespace kest::gear
