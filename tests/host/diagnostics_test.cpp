#include "host/report.h"

#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

namespace kest::host {
namespace {

using test::DiagnosticsCapture;

TEST(Diagnostics, TraceLinesAboveTheMasterLevelAreNotFormatted) {
    DiagnosticsCapture capture(2);
    int formatted = 0;
    const auto count = [&] { return ++formatted; };
    GR_TRACE(2, "admitted %d", count());
    GR_TRACE(3, "dropped %d", count());
    EXPECT_EQ(formatted, 1);
    ASSERT_EQ(capture.reports.size(), 1u);
    EXPECT_EQ(capture.reports[0].message, "admitted 1");
    EXPECT_EQ(capture.reports[0].level, 2);
}

TEST(Diagnostics, ReportsNameTheirSourceRelativeToTheTree) {
    const char* file = nullptr;
    const DiagnosticSink previous = setDiagnosticSink([&](const Diagnostic& d) { file = d.file; });
    GR_ERROR_LOG("x");
    setDiagnosticSink(previous);
    ASSERT_NE(file, nullptr);
    EXPECT_STREQ(file, "tests/host/diagnostics_test.cpp");
}

TEST(Diagnostics, ErrorTraceContextsHoldBackUntilTheirEnd) {
    DiagnosticsCapture capture;
    const auto traced = [&] { return capture.messages(DiagnosticChannel::ErrorTrace); };
    MErrTrace_BeginContext();
    GR_ERROR_TRACE("handled %s", "failure");
    MErrTrace_ClearContext();
    GR_ERROR_TRACE("outer %d", 1);
    MErrTrace_BeginContext();
    GR_ERROR_TRACE("inner %d", 2);
    EXPECT_TRUE(traced().empty());
    MErrTrace_EndContext();
    EXPECT_TRUE(traced().empty()) << "passed on to the enclosing context";
    MErrTrace_EndContext();
    EXPECT_EQ(traced(), (std::vector<std::string>{"outer 1", "inner 2"}));
    MErrTrace_EndContext(); // unbalanced: ignored
}

// Levels belong to trace lines; the error channels report level 0. Long messages are not cut.
TEST(Diagnostics, ErrorReportsHaveLevelZeroAndTheirWholeText) {
    DiagnosticsCapture capture;
    const std::string text(3000, 'g');
    GR_ERROR_LOG("%s!", text.c_str());
    GR_ERROR_TRACE("traced");
    ASSERT_EQ(capture.reports.size(), 2u);
    EXPECT_EQ(capture.reports[0].message, text + "!");
    for (const auto& report : capture.reports)
        EXPECT_EQ(report.level, 0) << report.message;
}

TEST(Diagnostics, PersistentTextsOutliveTheirSource) {
    const char* p;
    {
        std::string source = "message that outlives its string";
        p = make_pp(source);
    }
    EXPECT_STREQ(p, "message that outlives its string");
    EXPECT_EQ(make_pp("message that outlives its string"), p) << "kept once, however often it is made";
}

} // namespace
} // namespace kest::host
