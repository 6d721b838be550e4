#pragma once

// The readers compare element and attribute names thousands of times per file, nearly always against a name
// that differs in its first letter: compared in place, such a comparison ends there, without a call into the
// C library.

#include <string_view>

namespace kest::gear::util {

// true when the terminated texts are equal
constexpr bool sameText(const char* text, const char* other) noexcept {
    for (; *text == *other; ++text, ++other)
        if (*text == '\0') return true;
    return false;
}

// true when the terminated text equals `other`, which holds no null character
constexpr bool sameText(const char* text, std::string_view other) noexcept {
    for (const char c : other)
        if (*text++ != c) return false;
    return *text == '\0';
}

} // namespace kest::gear::util
