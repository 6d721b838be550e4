#include "util/utf8.h"

#include <gtest/gtest.h>

#include <string>

using kest::util::isValidUtf8;

// Boundaries from RFC 3629, section 4 (syntax of UTF-8 byte sequences).
TEST(utf8, Validity) {
    // clang-format off
    const std::pair<std::string, bool> rows[]{
        {"", true}, {std::string(1, '\0'), true}, {"\x7F", true}, // U+0000, U+007F
        {"\xC2\x80", true}, {"\xDF\xBF", true}, // U+0080, U+07FF
        {"\xE0\xA0\x80", true}, {"\xED\x9F\xBF", true}, {"\xEE\x80\x80", true}, // U+0800, U+D7FF, U+E000
        {"\xEF\xBF\xBF", true}, {"\xF0\x90\x80\x80", true}, // U+FFFF, U+10000
        {"\xF4\x8F\xBF\xBF", true}, // U+10FFFF
        {"\x80", false}, {"ab\xBF", false}, // stray continuation bytes
        {"a\xC3", false}, {"\xE2\x82", false}, {"\xF0\x9F\x98", false}, // cut sequences
        {"\xC3\x41", false}, {"\xE2\xC3\xA4", false}, // lead, then no continuation
        {"\xC0\x80", false}, {"\xC1\xBF", false}, // overlong U+0000, U+007F
        {"\xE0\x9F\xBF", false}, {"\xF0\x8F\xBF\xBF", false}, // overlong U+07FF, U+FFFF
        {"\xED\xA0\x80", false}, {"\xED\xBF\xBF", false}, // surrogates U+D800, U+DFFF
        {"\xF4\x90\x80\x80", false}, {"\xF5\x80\x80\x80", false}, // above U+10FFFF
        {"\xF8\x88\x80\x80\x80", false}, {"\xFF", false}, // five-byte lead, 0xFF
        {"Gr\xFC\xDF" "e", false}}; // Latin-1
    // clang-format on
    for (const auto& [bytes, valid] : rows)
        EXPECT_EQ(isValidUtf8(bytes), valid) << testing::PrintToString(bytes);
}
