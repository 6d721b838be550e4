#include <kest/gear/gear_feature_info.h>

#include "evaluation/feature_catalogue.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kest::gear;

namespace {

std::string numbers(const std::vector<RangeType>& ranges) {
    std::string out;
    for (const RangeType range : ranges)
        out += std::to_string(static_cast<int>(range)) + " ";
    return out;
}

// One row per feature: measurement, selection, allowed ranges, potential range count.
TEST(feature_catalogue, Entries) {
    struct Row {
        const char* name;
        Measurement_Type type;
        unsigned selection;
        const char* allowed;
        unsigned count;
    };
    const Row rows[] = {
        {"Caa", Measurement_Type::Profile, 4, "2 ", 1},
        {"ffa", Measurement_Type::Profile, 7, "0 1 2 ", 3},
        {"hoa", Measurement_Type::Profile, 2, "1 ", 1},
        {"ffb", Measurement_Type::Lead, 56, "2000 2001 2002 ", 3},
        {"CbII", Measurement_Type::Lead, 8, "2000 ", 1},
        {"fp", Measurement_Type::Pitch, 0, "2003 ", 0},
        {"da", Measurement_Type::TipCircle, 0, "2003 ", 0},
        {"Frf", Measurement_Type::RootCircle, 0, "2003 ", 0},
        {"Rr2", Measurement_Type::RootScan, 0, "2003 ", 0},
        {"KCHART_dev_pos_a", Measurement_Type::Profile, 0, "2003 ", 0},
        {"KCHART_dev_b", Measurement_Type::Lead, 0, "2003 ", 0},
    };
    for (const auto& row : rows) {
        const GearFeatureInfo& info = getFeatureInfo(row.name);
        EXPECT_EQ(info.getName(), row.name);
        EXPECT_EQ(info.getMeasurementType(), row.type) << row.name;
        EXPECT_EQ(getFeatureMeasurementType(row.name), row.type) << row.name;
        EXPECT_EQ(info.getAllowedRangeSelection(), row.selection) << row.name;
        EXPECT_EQ(numbers(info.getAllowedRangeTypes()), row.allowed) << row.name;
        EXPECT_EQ(info.getPotentialRangeCount(), row.count) << row.name;
    }
}

TEST(feature_catalogue, RangeChecks) {
    const GearFeatureInfo& caa = getFeatureInfo("Caa");
    EXPECT_TRUE(caa.isRangeTypeAllowed(RangeType::Tip));
    EXPECT_FALSE(caa.isRangeTypeAllowed(RangeType::Main) || caa.isRangeTypeAllowed(RangeType::Middle) ||
                 caa.isRangeTypeAllowed(RangeType::Unspecified));
    const GearFeatureInfo& ffb = getFeatureInfo("ffb");
    EXPECT_TRUE(ffb.isRangeTypeAllowed(RangeType::NonDatumSide) &&
                ffb.isRangeTypeAllowed(RangeType::Middle) && ffb.isRangeTypeAllowed(RangeType::DatumSide));
    EXPECT_FALSE(ffb.isRangeTypeAllowed(RangeType::Root) ||
                 ffb.isRangeTypeAllowed(static_cast<RangeType>(7)));
    // a feature built by hand of a type without ranges allows none, whatever its bits
    GearFeatureInfo pitch("x", 7);
    pitch.setMeasurementType(Measurement_Type::Pitch);
    EXPECT_FALSE(pitch.isRangeTypeAllowed(RangeType::Root));
    EXPECT_EQ(pitch.getPotentialRangeCount(), 3U);
}

TEST(feature_catalogue, UnknownNames) {
    for (const char* name : {"Cbo", "", "fha", "Fa+ ", "abnc"}) {
        EXPECT_THROW_MSG(getFeatureInfo(name), "unknown feature found");
        EXPECT_THROW_MSG(getFeatureMeasurementType(name), "unknown feature found");
    }
}

TEST(feature_catalogue, DeprecatedAndTodoNames) {
    const std::pair<const char*, const char*> deprecated[] = {
        {"Cbo", "CbI"}, {"Cbu", "CbII"}, {"ho", "hoa"}, {"runout_da", "Fra"}, {"runout_df", "Frf"}};
    for (const auto& [name, successor] : deprecated) {
        std::string replacement = "stale";
        EXPECT_TRUE(GearFeatureInfo::isDeprecatedFeature(name, replacement)) << name;
        EXPECT_EQ(replacement, successor);
    }
    std::string replacement = "stale";
    EXPECT_FALSE(GearFeatureInfo::isDeprecatedFeature("CbI", replacement));
    EXPECT_EQ(replacement, "");
    for (const char* name : {"abnc", "svtc_j", "Fra_j", "LCaam", "LCafm", "da_j"})
        EXPECT_TRUE(GearFeatureInfo::hasFeatureTodoLabel(name)) << name;
    for (const char* name : {"Fra", "da", "LCaa", "abn", ""})
        EXPECT_FALSE(GearFeatureInfo::hasFeatureTodoLabel(name)) << name;
}

// The tables of the library give 154 names, each once; a broken K-chart row stops the build.
TEST(feature_catalogue, Build) {
    const auto entries =
        feature_catalogue::build(feature_catalogue::sourceTables(), feature_catalogue::kChartTable());
    EXPECT_EQ(entries.size(), 154U);
    std::size_t rows = feature_catalogue::kChartTable().size();
    for (const auto& table : feature_catalogue::sourceTables())
        rows += table.rows.size();
    EXPECT_EQ(rows, 154U);

    const feature_catalogue::KChartRow broken[] = {{"KCHART_x", 1230}};
    EXPECT_THROW_MSG(feature_catalogue::build({}, broken), "initialization of KChart feature failed");

    // a later table replaces an earlier entry of the same name
    const feature_catalogue::FeatureRow first[] = {{"x", 1}};
    const feature_catalogue::FeatureRow second[] = {{"x", 8}};
    const feature_catalogue::SourceTable tables[] = {{Measurement_Type::Profile, first},
                                                     {Measurement_Type::Lead, second}};
    const auto replaced = feature_catalogue::build(tables, {});
    ASSERT_EQ(replaced.size(), 1U);
    EXPECT_EQ(replaced[0].getMeasurementType(), Measurement_Type::Lead);
    EXPECT_EQ(replaced[0].getAllowedRangeSelection(), 8U);
}

// A profile feature selects among the profile ranges (bits 0 to 2), a lead feature among the lead ranges
// (bits 3 to 5); the other measurements have no ranges to select.
TEST(feature_catalogue, SelectionsStayWithTheirMeasurement) {
    for (const auto& table : feature_catalogue::sourceTables()) {
        const unsigned own = table.type == Measurement_Type::Profile ? 7U
                             : table.type == Measurement_Type::Lead  ? 56U
                                                                     : 0U;
        for (const auto& row : table.rows) {
            EXPECT_EQ(row.selection & ~own, 0U) << row.name;
            EXPECT_EQ(own == 0U, row.selection == 0U) << row.name;
        }
    }
}

} // namespace
