#include <kest/gear/measurement_enums.h>

#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kest::gear;
using M = Measurement_Type;

// The numbered measurements alternate between the two directions away from the main one, up to index 999; an
// index above is traced at level 2, an unsupported type refused before the index is looked at.
TEST(default_meas_name, Names) {
    // clang-format off
    const std::tuple<M, unsigned int, const char*> rows[]{
        {M::Profile, 0, "MAIN"}, {M::Profile, 1, "UP_1"}, {M::Profile, 2, "DOWN_1"}, {M::Profile, 3, "UP_2"},
        {M::Profile, 998, "DOWN_499"}, {M::Profile, 999, "UP_500"}, {M::Lead, 0, "MAIN"},
        {M::Lead, 1, "OUT_1"}, {M::Lead, 4, "IN_2"}, {M::Lead, 21, "OUT_11"}, {M::Lead, 1000, ""},
        {M::Pitch, 4000000000u, ""}, {M::TopographyProfile, 1, ""}, {M::RoughnessLead, 1, ""}};
    // clang-format on
    kest::test::DiagnosticsCapture capture(2);
    for (const auto& [type, index, name] : rows)
        EXPECT_EQ(getDefaultMeasName(type, index), name) << static_cast<int>(type) << '/' << index;
    ASSERT_EQ(capture.reports.size(), 1u);
    EXPECT_EQ(capture.reports[0].channel, kest::host::DiagnosticChannel::Trace);
    EXPECT_EQ(capture.reports[0].level, 2);
    EXPECT_EQ(capture.reports[0].message, "illegal index while getting measurement name: 1000");
}
