#include "util/base64.h"

#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kest::host::DiagnosticChannel;
using kest::test::DiagnosticsCapture;
using namespace kest::util;

namespace {

struct VectorRow {
    std::string bytes;
    std::string encoded;
};

TEST(base64, KnownEncodings) {
    const std::vector<VectorRow> rows{
        // RFC 4648, section 10
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        // the last two letters of the alphabet, by their bit patterns
        {"\xFB\xEF\xBE", "++++"},
        {"\xFF\xFF\xFF", "////"},
        {std::string(3, '\0'), "AAAA"},
        {"\xC0\x80", "wIA="}, // the overlong zero that user texts must encode
    };
    for (const VectorRow& row : rows) {
        SCOPED_TRACE(row.encoded);
        std::string text = row.bytes;
        EXPECT_TRUE(stl_encode_base64(text));
        EXPECT_EQ(text, row.encoded);
        EXPECT_TRUE(stl_decode_base64(text));
        EXPECT_EQ(text, row.bytes);
    }
}

TEST(base64, RoundTripsEveryByteAtEveryPositionAndLength) {
    // 256 values at offsets 0, 1 and 2 of a group, with every remainder of the length modulo 3.
    std::string all;
    for (int shift = 0; shift < 3; ++shift)
        for (int b = 0; b < 256; ++b)
            all.push_back(static_cast<char>((b + shift * 85) & 0xFF));
    for (std::size_t length = 0; length <= all.size(); ++length) {
        const std::string bytes = all.substr(0, length);
        std::string text = bytes;
        ASSERT_TRUE(stl_encode_base64(text));
        ASSERT_EQ(text.size(), base64EncodedLength(length));
        ASSERT_TRUE(stl_decode_base64(text));
        ASSERT_EQ(text, bytes) << "length " << length;
    }
}

TEST(base64, DecodingIgnoresTrailingNulsAndUnusedBits) {
    const std::vector<VectorRow> rows{
        {"foo", std::string("Zm9v\0\0", 6)},
        {"f", std::string("Zg==\0", 5)},
        {"", std::string("\0\0", 2)},
        {"f", "Zh=="}, // the 4 bits below the byte are not checked
        {"fo", "Zm9="},
    };
    for (const VectorRow& row : rows) {
        SCOPED_TRACE(row.bytes);
        std::string text = row.encoded;
        EXPECT_TRUE(stl_decode_base64(text));
        EXPECT_EQ(text, row.bytes);
    }
}

struct FailureRow {
    const char* name;
    std::string encoded;
    std::vector<std::string> traced;
};

TEST(base64, DecodingFailures) {
    const std::vector<FailureRow> rows{
        {"three characters",
         "Zm9",
         {"MBase64_Decode(): source_len has to be multiple of 4, not 3",
          "stl_decode_base64(): MBase64_Decode(3) failed (0)"}},
        {"line break",
         "Zm9v\nYmFy",
         {"MBase64_Decode(): source_len has to be multiple of 4, not 9",
          "stl_decode_base64(): MBase64_Decode(9) failed (0)"}},
        {"length counted without trailing NULs",
         std::string("Zm9\0", 4),
         {"MBase64_Decode(): source_len has to be multiple of 4, not 3",
          "stl_decode_base64(): MBase64_Decode(4) failed (0)"}},
        {"space",
         "Zm 9",
         {"MBase64_Decode(): illegal character 0x20 read, terminating",
          "stl_decode_base64(): MBase64_Decode(4) failed (2)"}},
        {"byte 0xFF in the last group",
         "Zm9vYm9\xFF",
         {"MBase64_Decode(): illegal character 0xff read, terminating",
          "stl_decode_base64(): MBase64_Decode(8) failed (7)"}},
        {"URL-safe alphabet",
         "Zm9v-_==",
         {"MBase64_Decode(): illegal character 0x2d read, terminating",
          "stl_decode_base64(): MBase64_Decode(8) failed (4)"}},
        {"pad before data",
         "Zg=a",
         {"MBase64_Decode(): illegal character 0x3d read, terminating",
          "stl_decode_base64(): MBase64_Decode(4) failed (2)"}},
        {"pad in an earlier group",
         "Zg==Zm9v",
         {"MBase64_Decode(): illegal character 0x3d read, terminating",
          "stl_decode_base64(): MBase64_Decode(8) failed (2)"}},
        {"three pads",
         "Z===",
         {"MBase64_Decode(): illegal character 0x3d read, terminating",
          "stl_decode_base64(): MBase64_Decode(4) failed (1)"}},
        {"only pads",
         "====",
         {"MBase64_Decode(): illegal character 0x3d read, terminating",
          "stl_decode_base64(): MBase64_Decode(4) failed (0)"}},
    };
    for (const FailureRow& row : rows) {
        SCOPED_TRACE(row.name);
        DiagnosticsCapture capture;
        std::string text = row.encoded;
        EXPECT_FALSE(stl_decode_base64(text));
        EXPECT_EQ(text, "");
        EXPECT_EQ(capture.messages(DiagnosticChannel::ErrorTrace), row.traced);
    }
}

} // namespace
