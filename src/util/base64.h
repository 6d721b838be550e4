#pragma once

// Base64 with the standard alphabet of RFC 4648 (section 4) and "=" padding, as free texts are stored in the
// gear file when they are not valid UTF-8.

#include <cstddef>
#include <string>

namespace kest::util {

// Length of the encoded form of `length` bytes: 4 characters per started group of 3 bytes.
constexpr std::size_t base64EncodedLength(std::size_t length) noexcept {
    return (length + 2) / 3 * 4;
}

// Encodes `length` bytes of `src` into `dst`, which must not overlap it. returns the number of characters
// written, or -1 (writing nothing) when `dstLength` is shorter than base64EncodedLength(length).
std::ptrdiff_t MBase64_Encode(const char* src, std::size_t length, char* dst, std::size_t dstLength) noexcept;

// Decodes `src` into `dst`, which may be `src` itself (the decoded bytes never overtake the characters still
// to be read) and needs room for 3 bytes per 4 characters. Trailing NUL characters of the source are ignored;
// the rest must be a multiple of 4 characters from the alphabet, with at most two "=" at the very end. Line
// breaks and other white space are not accepted. Bits below the last decoded byte are ignored. returns the
// number of bytes written, or -1 after tracing why; `stoppedAt` (if given) then receives the offset of the
// first character that could not be decoded (0 for a source of the wrong length).
std::ptrdiff_t MBase64_Decode(const char* src, std::size_t length, char* dst,
                              std::size_t* stoppedAt = nullptr) noexcept;

// Replaces the bytes of `text` by their encoded form. returns false, leaving `text` alone, after tracing an
// encoder failure.
bool stl_encode_base64(std::string& text);

// Replaces the encoded `text` by the bytes it encodes. returns false, with `text` emptied, after tracing why
// it could not be decoded.
bool stl_decode_base64(std::string& text);

} // namespace kest::util
