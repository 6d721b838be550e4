#include "util/base64.h"

#include "host/report.h"

#include <array>
#include <cstdint>

namespace kest::util {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kPad = '=';
constexpr std::uint8_t kNotInAlphabet = 0xFF;

// Six-bit value of each byte, kNotInAlphabet for bytes outside the alphabet (the pad included).
constexpr std::array<std::uint8_t, 256> kDecodeTable = [] {
    std::array<std::uint8_t, 256> table{};
    table.fill(kNotInAlphabet);
    for (std::uint8_t value = 0; value < 64; ++value)
        table[static_cast<unsigned char>(kAlphabet[value])] = value;
    return table;
}();

std::uint8_t sextet(char c) {
    return kDecodeTable[static_cast<unsigned char>(c)];
}
std::uint32_t byteAt(const char* p, std::size_t i) {
    return static_cast<unsigned char>(p[i]);
}

std::ptrdiff_t illegalCharacter(char c, std::size_t offset, std::size_t* stoppedAt) {
    GR_ERROR_TRACE("MBase64_Decode(): illegal character 0x%02x read, terminating",
                   static_cast<unsigned char>(c));
    if (stoppedAt) *stoppedAt = offset;
    return -1;
}

} // namespace

std::ptrdiff_t MBase64_Encode(const char* src, std::size_t length, char* dst,
                              std::size_t dstLength) noexcept {
    if (dstLength < base64EncodedLength(length)) return -1;
    char* out = dst;
    std::size_t i = 0;
    for (; i + 3 <= length; i += 3) {
        const std::uint32_t group = byteAt(src, i) << 16 | byteAt(src, i + 1) << 8 | byteAt(src, i + 2);
        *out++ = kAlphabet[group >> 18];
        *out++ = kAlphabet[(group >> 12) & 0x3F];
        *out++ = kAlphabet[(group >> 6) & 0x3F];
        *out++ = kAlphabet[group & 0x3F];
    }
    if (const std::size_t rest = length - i; rest > 0) {
        const std::uint32_t group = byteAt(src, i) << 16 | (rest == 2 ? byteAt(src, i + 1) << 8 : 0);
        *out++ = kAlphabet[group >> 18];
        *out++ = kAlphabet[(group >> 12) & 0x3F];
        *out++ = rest == 2 ? kAlphabet[(group >> 6) & 0x3F] : kPad;
        *out++ = kPad;
    }
    return out - dst;
}

std::ptrdiff_t MBase64_Decode(const char* src, std::size_t length, char* dst,
                              std::size_t* stoppedAt) noexcept {
    while (length > 0 && src[length - 1] == '\0')
        --length;
    if (length % 4 != 0) {
        GR_ERROR_TRACE("MBase64_Decode(): source_len has to be multiple of 4, not %zu", length);
        if (stoppedAt) *stoppedAt = 0;
        return -1;
    }

    // Only the last group may be padded, with one or two pads; a pad anywhere else is an illegal character.
    std::size_t pads = 0;
    while (pads < 2 && pads < length && src[length - 1 - pads] == kPad)
        ++pads;
    const std::size_t fullGroupsEnd = length - (pads > 0 ? 4 : 0);

    // Writing 3 bytes at 3g after reading 4 characters at 4g never overwrites a character still to be read.
    char* out = dst;
    std::size_t i = 0;
    for (; i < fullGroupsEnd; i += 4) {
        const std::uint8_t a = sextet(src[i]), b = sextet(src[i + 1]), c = sextet(src[i + 2]),
                           d = sextet(src[i + 3]);
        // Sextets are below 64, so a high bit can only come from kNotInAlphabet.
        if (((a | b | c | d) & 0xC0) != 0) {
            for (std::size_t k = i;; ++k)
                if (sextet(src[k]) == kNotInAlphabet) return illegalCharacter(src[k], k, stoppedAt);
        }
        const std::uint32_t group =
            std::uint32_t{a} << 18 | std::uint32_t{b} << 12 | std::uint32_t{c} << 6 | d;
        *out++ = static_cast<char>(group >> 16);
        *out++ = static_cast<char>(group >> 8);
        *out++ = static_cast<char>(group);
    }
    if (pads > 0) {
        // Three characters carry two bytes, two carry one.
        const std::size_t characters = 4 - pads;
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < characters; ++k) {
            const std::uint8_t value = sextet(src[i + k]);
            if (value == kNotInAlphabet) return illegalCharacter(src[i + k], i + k, stoppedAt);
            group |= std::uint32_t{value} << (18 - 6 * k);
        }
        *out++ = static_cast<char>(group >> 16);
        if (characters == 3) *out++ = static_cast<char>(group >> 8);
    }
    return out - dst;
}

bool stl_encode_base64(std::string& text) {
    const std::size_t expected = base64EncodedLength(text.size());
    std::string encoded(expected, '\0');
    const std::ptrdiff_t written = MBase64_Encode(text.data(), text.size(), encoded.data(), encoded.size());
    if (written < 0 || static_cast<std::size_t>(written) != expected) {
        GR_ERROR_TRACE("stl_encode_base64(): MBase64_Encode() returned %zd instead of %zu", written,
                       expected);
        return false;
    }
    text.swap(encoded);
    return true;
}

bool stl_decode_base64(std::string& text) {
    std::size_t stoppedAt = 0;
    const std::ptrdiff_t decoded = MBase64_Decode(text.data(), text.size(), text.data(), &stoppedAt);
    if (decoded < 0) {
        GR_ERROR_TRACE("stl_decode_base64(): MBase64_Decode(%zu) failed (%zu)", text.size(), stoppedAt);
        text.clear();
        return false;
    }
    text.resize(static_cast<std::size_t>(decoded));
    return true;
}

} // namespace kest::util
