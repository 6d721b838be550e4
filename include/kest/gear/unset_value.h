#pragma once

namespace kest::gear {

// Marks a geometry or feature value that is not set (2^31 - 2). Calculations return it when an input is
// unset.
inline constexpr double unsetValue = 2147483646.0;

constexpr bool isUnset(double value) noexcept {
    return value == unsetValue;
}

} // namespace kest::gear
