#pragma once

// The readers compare element and attribute names thousands of times per file, nearly always against a name
// that differs in its first letter: compared in place, such a comparison ends there, without a call into the
// C library.

namespace kest::gear::util {

// true when the terminated texts are equal
constexpr bool sameText(const char* text, const char* other) noexcept {
    for (; *text == *other; ++text, ++other)
        if (*text == '\0') return true;
    return false;
}

} // namespace kest::gear::util
