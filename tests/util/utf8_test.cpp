#include "util/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kest::util::isValidUtf8;

namespace {

struct Utf8Row {
    const char* name;
    std::string bytes;
    bool valid;
};

// Boundaries from RFC 3629, section 4 (syntax of UTF-8 byte sequences).
TEST(utf8, Validity) {
    const std::vector<Utf8Row> rows{
        {"empty", "", true},
        {"ASCII", "Profile A, left flank", true},
        {"NUL", std::string(1, '\0'), true},
        {"U+007F", "\x7F", true},
        {"U+0080 lowest two-byte", "\xC2\x80", true},
        {"U+00E4 a umlaut", "\xC3\xA4", true},
        {"U+07FF highest two-byte", "\xDF\xBF", true},
        {"U+0800 lowest three-byte", "\xE0\xA0\x80", true},
        {"U+20AC euro sign", "\xE2\x82\xAC", true},
        {"U+D7FF below surrogates", "\xED\x9F\xBF", true},
        {"U+E000 above surrogates", "\xEE\x80\x80", true},
        {"U+FFFF highest three-byte", "\xEF\xBF\xBF", true},
        {"U+10000 lowest four-byte", "\xF0\x90\x80\x80", true},
        {"U+1F600 emoji", "\xF0\x9F\x98\x80", true},
        {"U+10FFFF highest code point", "\xF4\x8F\xBF\xBF", true},
        {"mixed text", "Zahnrad f\xC3\xBCr \xE2\x82\xAC 5", true},

        {"stray continuation 0x80", "\x80", false},
        {"stray continuation 0xBF after text", "ab\xBF", false},
        {"two-byte lead at end", "a\xC3", false},
        {"three-byte sequence cut after two", "\xE2\x82", false},
        {"four-byte sequence cut after three", "\xF0\x9F\x98", false},
        {"lead followed by ASCII", "\xC3\x41", false},
        {"lead followed by another lead", "\xE2\xC3\xA4", false},
        {"overlong zero", "\xC0\x80", false},
        {"overlong U+007F in two bytes", "\xC1\xBF", false},
        {"overlong U+07FF in three bytes", "\xE0\x9F\xBF", false},
        {"overlong U+FFFF in four bytes", "\xF0\x8F\xBF\xBF", false},
        {"surrogate U+D800", "\xED\xA0\x80", false},
        {"surrogate U+DFFF", "\xED\xBF\xBF", false},
        {"U+110000 above the range", "\xF4\x90\x80\x80", false},
        {"lead 0xF5", "\xF5\x80\x80\x80", false},
        {"lead 0xF7 highest 11110xxx", "\xF7\xBF\xBF\xBF", false},
        {"five-byte lead 0xF8", "\xF8\x88\x80\x80\x80", false},
        {"six-byte lead 0xFC", "\xFC\x84\x80\x80\x80\x80", false},
        {"byte 0xFE", "\xFE", false},
        {"byte 0xFF", "\xFF", false},
        {"Latin-1 text",
         "Gr\xFC\xDF"
         "e",
         false},
        {"valid text then overlong zero", "abc\xC0\x80", false},
    };
    for (const Utf8Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(isValidUtf8(row.bytes), row.valid);
    }
}

} // namespace
