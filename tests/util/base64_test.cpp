#include "util/base64.h"

#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kest::host::DiagnosticChannel;
using namespace kest::util;

// Encodings both ways (RFC 4648, section 10; the last two letters of the alphabet; the overlong zero that
// user texts must encode), then every byte at every position of a group with every length remainder.
TEST(base64, RoundTrips) {
    // clang-format off
    const std::pair<std::string, std::string> rows[]{
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"}, {"\xFB\xEF\xBE", "++++"}, {"\xFF\xFF\xFF", "////"}, {"\xC0\x80", "wIA="}};
    // clang-format on
    for (const auto& [bytes, encoded] : rows) {
        std::string text = bytes;
        EXPECT_TRUE(stl_encode_base64(text) && text == encoded) << text;
        EXPECT_TRUE(stl_decode_base64(text) && text == bytes) << encoded;
    }
    std::string all;
    for (int shift = 0; shift < 3; ++shift)
        for (int b = 0; b < 256; ++b)
            all.push_back(static_cast<char>((b + shift * 85) & 0xFF));
    for (std::size_t length = 0; length <= all.size(); ++length) {
        std::string text = all.substr(0, length);
        ASSERT_TRUE(stl_encode_base64(text) && text.size() == base64EncodedLength(length)) << length;
        ASSERT_TRUE(stl_decode_base64(text) && text == all.substr(0, length)) << length;
    }
}

// Decoding ignores trailing NULs and the bits below the last byte; a failure traces the decoder's reason and
// the offset where it stopped (0 for a source of the wrong length) and leaves the text empty.
TEST(base64, Decoding) {
    const struct {
        std::string encoded, decoded;
        const char* reason; // nullptr: decodes
        int stoppedAt;
    } rows[]{
        // clang-format off
        {std::string("Zm9v\0\0", 6), "foo", nullptr, 0}, {std::string("\0\0", 2), "", nullptr, 0},
        {"Zh==", "f", nullptr, 0}, {"Zm9=", "fo", nullptr, 0},
        {"Zm9", "", "source_len has to be multiple of 4, not 3", 0},
        {std::string("Zm9\0", 4), "", "source_len has to be multiple of 4, not 3", 0},
        {"Zm 9", "", "illegal character 0x20 read, terminating", 2},
        {"Zm9vYm9\xFF", "", "illegal character 0xff read, terminating", 7},
        {"Zg=a", "", "illegal character 0x3d read, terminating", 2}, // only the end is padded
        {"Zg==Zm9v", "", "illegal character 0x3d read, terminating", 2},
        {"Z===", "", "illegal character 0x3d read, terminating", 1},
        // clang-format on
    };
    for (const auto& row : rows) {
        kest::test::DiagnosticsCapture capture;
        std::string text = row.encoded;
        EXPECT_EQ(stl_decode_base64(text), row.reason == nullptr);
        EXPECT_EQ(text, row.decoded);
        std::vector<std::string> traced;
        if (row.reason)
            traced = {"MBase64_Decode(): " + std::string(row.reason),
                      "stl_decode_base64(): MBase64_Decode(" + std::to_string(row.encoded.size()) +
                          ") failed (" + std::to_string(row.stoppedAt) + ")"};
        EXPECT_EQ(capture.messages(DiagnosticChannel::ErrorTrace), traced);
    }
}
