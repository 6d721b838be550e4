#include "record/version_stamp.h"

#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

#include <climits>

namespace kest::gear {
namespace {

struct StampCase {
    const char* text;
    bool parses;
    const char* formatted;     // the fields as far as they were read
    int againstOldestLoadable; // compare with "9.02-44"
};

class VersionStampCases : public ::testing::TestWithParam<StampCase> {};

TEST_P(VersionStampCases, ParseFormatCompare) {
    const StampCase& c = GetParam();
    VersionStamp v;
    EXPECT_EQ(v.parse(c.text), c.parses) << c.text;
    EXPECT_EQ(v.format(), c.formatted) << c.text;
    if (c.parses) {
        EXPECT_EQ(v.compare(oldestLoadableVersion), c.againstOldestLoadable) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Stamps, VersionStampCases,
    ::testing::Values(StampCase{"9.02-44", true, "9.02-44", 0}, StampCase{"9.2-44", true, "9.02-44", 0},
                      StampCase{"9.02-43", true, "9.02-43", -1},
                      StampCase{"9.02-44sp1", true, "9.02-44sp1", 1},
                      StampCase{"9.02-44sp0", true, "9.02-44", 0}, StampCase{"14.50-02", true, "14.50-02", 1},
                      StampCase{"8.99-99", true, "8.99-99", -1},
                      StampCase{"9.03-00 beta", true, "9.03-00", 1}, StampCase{"V14", false, "0.00-00", 0},
                      StampCase{"9.02-45sp", false, "9.02-45", 0}, StampCase{"9.02", false, "9.02-00", 0},
                      StampCase{"", false, "0.00-00", 0}, StampCase{" 9. +2-44", true, "9.02-44", 0},
                      StampCase{"9.02-44 sp1", false, "9.02-44", 0},
                      StampCase{"9.02-4x", true, "9.02-04", -1}));

TEST(VersionStamp, ComparingWithAnUnreadableTextTraces) {
    test::DiagnosticsCapture capture;
    VersionStamp v;
    ASSERT_TRUE(v.parse("9.02-44"));
    EXPECT_EQ(v.compare("nine"), INT_MIN);
    EXPECT_EQ(capture.messages(host::DiagnosticChannel::Trace),
              std::vector<std::string>{"cannot set version 'nine'. Please verify version format "
                                       "'<MAJOR>.<MINOR>-<RELEASE>(sp<SP>)'."});
}

} // namespace
} // namespace kest::gear
