#pragma once

#include <string_view>

namespace kest::util {

// True when the bytes are well-formed UTF-8 (RFC 3629): no stray continuation byte, no truncated sequence, no
// overlong form, no surrogate code point (U+D800 to U+DFFF) and nothing above U+10FFFF. An empty text is
// valid.
bool isValidUtf8(std::string_view text) noexcept;

} // namespace kest::util
