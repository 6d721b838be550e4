#pragma once

// The gear file's text forms of numbers and flags. Every form is independent of the C locale of the calling
// program: a file written under a locale with a decimal comma reads back anywhere.

#include <charconv>
#include <concepts>
#include <string>
#include <string_view>

namespace kest::util {

// Decimals of the doubles that records write into attributes.
inline constexpr int kAttributeDecimals = 15;

// Writes `value` as printf's "%.*f" with `decimals` decimals (a negative count counts as 0) and then drops
// trailing zeros and a trailing point: 2.5 -> "2.5", 3 -> "3", 0.1 with 15 decimals -> "0.1". A value that
// rounds to zero is written "0", never "-0". Non-finite values are written "inf", "-inf" or "nan".
// returns `out`
std::string& formatDouble(std::string& out, double value, int decimals);
std::string formatDouble(double value, int decimals);

// The shortest text that reads back to the same double, bit for bit ("0.1", "1e+21", "-0", "5e-324").
std::string shortestDouble(double value);

// Writes `value` in decimal. returns `out`
template <std::integral T>
requires(!std::same_as<T, bool>) std::string& formatInteger(std::string& out, T value) {
    char buffer[24]; // 20 digits of a 64-bit value and a sign
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.assign(buffer, result.ptr);
    return out;
}

template <std::integral T>
requires(!std::same_as<T, bool>) std::string formatInteger(T value) {
    std::string out;
    return formatInteger(out, value);
}

// Base-10 conversion as strtol / strtod: leading white space is skipped and a value out of range is clamped
// (LONG_MAX, HUGE_VAL, ...). strict: true only when the whole text was consumed; lenient: true when at least
// one character was. `value` receives the converted number in either case, 0 when nothing converted.
bool textToLong(const std::string& text, long& value, bool strict);
bool textToDouble(const std::string& text, double& value, bool strict);
// The same for a text that ends at its first NUL, as an attribute's text does.
bool textToLong(const char* text, long& value, bool strict);
bool textToDouble(const char* text, double& value, bool strict);

// "on" or "off" for the flag.
const char* onOffText(bool flag) noexcept;
// returns false, leaving `flag` alone, for any text other than exactly "on" or "off"
bool textToOnOff(std::string_view text, bool& flag) noexcept;

} // namespace kest::util
