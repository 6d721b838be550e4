#pragma once

// What the calculator's translation units share: the texts thrown by more than one of them and the logging of
// failures at the public surface, reported with the line of the operation that handles them.

#include <kest/gear/unset_value.h>

namespace kest::gear::calc {

inline constexpr const char* kToothOutOfRange = "tooth number exceed the range [1,toothnum]";

// Writes "GearCalculator::<operation>: <message>" to the error log and throws a persistent copy of the
// message.
[[noreturn]] void rethrowLogged(const char* file, int line, const char* operation, const char* message);

// Writes the refusal to the error log; returns unsetValue for the caller to return.
double refuseLogged(const char* file, int line, const char* message);

// The unset value stands for 0 where an angle or an axial position is optional.
constexpr double orZero(double value) noexcept {
    return isUnset(value) ? 0.0 : value;
}

} // namespace kest::gear::calc

#define GR_CALC_RETHROW(operation, message)                                                                  \
    ::kest::gear::calc::rethrowLogged(__FILE__, __LINE__, operation, message)
#define GR_CALC_REFUSE(message) ::kest::gear::calc::refuseLogged(__FILE__, __LINE__, message)
