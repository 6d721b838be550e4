#pragma once

// The one way a calculation of the calculator tells its outcome: a value, or the reason it has none. The
// workers of the public operations return it; each public getNominal_ operation then passes it on in its own
// established manner (a thrown text, a log line and the unset value, or the unset value alone).

#include <kest/gear/unset_value.h>

#include <string>

namespace kest::gear::calc {

inline constexpr const char* kToothOutOfRange = "tooth number exceed the range [1,toothnum]";

// A calculated value, or why there is none.
struct Result {
    enum class Kind {
        Value,   // `value` holds the result
        Unset,   // an input is unset; no reason beyond that
        Refused, // the gear cannot have this value (its kind, its shape); `reason` says why
        Failed,  // the calculation failed on the way; `reason` is its message text
    };

    double value = unsetValue;
    Kind kind = Kind::Unset;
    const char* reason = nullptr; // persistent text, set for Refused and Failed

    // The unset value gives Unset.
    static Result of(double value) noexcept { return {value, isUnset(value) ? Kind::Unset : Kind::Value}; }
    static Result refused(const char* why) noexcept { return {unsetValue, Kind::Refused, why}; }
    static Result failed(const char* why) noexcept { return {unsetValue, Kind::Failed, why}; }

    bool hasValue() const noexcept { return kind == Kind::Value; }
};

// Runs a worker that throws its failures as message texts and returns what it gave as a Result.
template <typename Worker>
Result attempt(Worker&& worker) {
    try {
        return Result::of(worker());
    } catch (const char* message) {
        return Result::failed(message);
    }
}

// How a public operation passes on a failure. A refusal is written to the error log and gives the unset value
// whatever the delivery; an unset result is passed on as the unset value alone.
enum class Delivery {
    Rethrow,  // logged as "GearCalculator::<operation>: <reason>" and thrown on as a persistent copy
    LogError, // logged as above to the error log, the value left unset
    Trace,    // written as above as a level-1 trace line, the value left unset
};

// unsetValue after the refusal or failure of `result` is passed on as `delivery` says.
double passOn(const Result& result, const char* operation, Delivery delivery);

// The value of `result`, or what passOn gives.
inline double deliver(const Result& result, const char* operation, Delivery delivery) {
    return result.kind == Result::Kind::Value ? result.value : passOn(result, operation, delivery);
}

// "<name> can not be calculated for given gear or not yet implemented", as a persistent text.
const char* notCalculable(const std::string& name);

// The unset value stands for 0 where an angle or an axial position is optional.
constexpr double orZero(double value) noexcept {
    return isUnset(value) ? 0.0 : value;
}

} // namespace kest::gear::calc
