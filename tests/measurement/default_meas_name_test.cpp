#include <kest/gear/measurement_enums.h>

#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kest::gear;
using kest::host::DiagnosticChannel;
using kest::test::DiagnosticsCapture;

TEST(default_meas_name, Names) {
    const struct {
        Measurement_Type type;
        unsigned int index;
        const char* name;
    } cases[] = {
        {Measurement_Type::Profile, 0, "MAIN"},       {Measurement_Type::Profile, 1, "UP_1"},
        {Measurement_Type::Profile, 2, "DOWN_1"},     {Measurement_Type::Profile, 3, "UP_2"},
        {Measurement_Type::Profile, 998, "DOWN_499"}, {Measurement_Type::Profile, 999, "UP_500"},
        {Measurement_Type::Lead, 0, "MAIN"},          {Measurement_Type::Lead, 1, "OUT_1"},
        {Measurement_Type::Lead, 4, "IN_2"},          {Measurement_Type::Lead, 21, "OUT_11"},
        {Measurement_Type::Profile, 1000, ""},        {Measurement_Type::Pitch, 0, ""},
        {Measurement_Type::TopographyProfile, 1, ""}, {Measurement_Type::RoughnessLead, 1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(getDefaultMeasName(c.type, c.index), c.name) << static_cast<int>(c.type) << '/' << c.index;
}

TEST(default_meas_name, IndexAboveLimitIsTracedAtLevelTwo) {
    {
        DiagnosticsCapture capture(2);
        EXPECT_EQ(getDefaultMeasName(Measurement_Type::Lead, 1000), "");
        // Unsupported types are refused before the index is looked at.
        EXPECT_EQ(getDefaultMeasName(Measurement_Type::Pitch, 4000000000u), "");
        ASSERT_EQ(capture.reports.size(), 1u);
        EXPECT_EQ(capture.reports[0].channel, DiagnosticChannel::Trace);
        EXPECT_EQ(capture.reports[0].level, 2);
        EXPECT_EQ(capture.reports[0].message, "illegal index while getting measurement name: 1000");
    }
    DiagnosticsCapture quiet(1);
    EXPECT_EQ(getDefaultMeasName(Measurement_Type::Profile, 1000), "");
    EXPECT_TRUE(quiet.reports.empty());
}
