#include <kest/gear/feature_value.h>
#include <kest/gear/unset_value.h>

#include "support/diagnostics_capture.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

using namespace kest::gear;
using kest::host::DiagnosticChannel;

namespace {

constexpr auto kMiddle = EvaluationRangeType::Middle;
constexpr auto kFirst = EvaluationRangeType::First;

// A new value reports no evaluation; setting past the count grows the range's entries with unset values and
// other ranges stay empty.
TEST(feature_value, SettersGrowTheirRange) {
    FeatureValue value("fHa", 1201);
    std::string error;
    EXPECT_TRUE(value.getEvaluationError(&error));
    EXPECT_EQ(error, "not implemented");
    EXPECT_EQ(value.getEvaluatorData(), (FeatureValue::EvaluatorData{3, 3, 3, 3, 3, 3})); // each starts at 3
    value.setResult(5, 1.5, 3, kMiddle);
    EXPECT_EQ(value.getCount(kMiddle), 4U);
    EXPECT_EQ(value.getCount(kFirst), 0U);
    EXPECT_EQ(value.getResult(3, kMiddle), 1.5);
    EXPECT_EQ(value.getNominal(0, kMiddle), unsetValue);
    EXPECT_EQ(value.getResult(4, kMiddle), unsetValue);
    EXPECT_FALSE(value.getValidity(0, kMiddle) || value.getValidity(9, kMiddle));
    EXPECT_FALSE(value.getEvaluationError(nullptr));
    EXPECT_TRUE(value.isEvaluated(3, kMiddle) && !value.isEvaluated(4, kMiddle));
    EXPECT_EQ(value.getEvaluatorData().result, 5);
}

// Each setter records its evaluator in its own entry; result and nominal share one.
TEST(feature_value, EvaluatorEntries) {
    FeatureValue value;
    value.setNominal(11, 2.0, 0, kFirst);
    value.setValidity(12, true, 0, kFirst);
    value.setLowerTolerance(13, -1.0, 0, kFirst);
    value.setUpperTolerance(14, 1.0, 0, kFirst);
    value.setQuality(15, "5", 0, kFirst);
    value.setQualityValidity(16, true, 0, kFirst);
    EXPECT_EQ(value.getEvaluatorData(), (FeatureValue::EvaluatorData{11, 12, 13, 14, 15, 16}));
    std::string quality;
    EXPECT_TRUE(value.getQuality(&quality, 0, kFirst));
    EXPECT_EQ(quality, "5");
    EXPECT_FALSE(value.getQuality(&quality, 1, kFirst));

    FeatureValue copy(value);
    copy.resetResult();
    EXPECT_EQ(copy.getNominal(0, kFirst), 2.0);
    EXPECT_FALSE(copy.getValidity(0, kFirst));
    EXPECT_EQ(copy.getEvaluatorData(), (FeatureValue::EvaluatorData{3, 3, 13, 14, 15, 16}));
    copy.resetNominal();
    copy.resetTolerances();
    EXPECT_EQ(copy.getNominal(0, kFirst), unsetValue);
    EXPECT_EQ(copy.getLowerTolerance(0, kFirst), unsetValue);
    EXPECT_EQ(copy.getUpperTolerance(0, kFirst), unsetValue);
    copy.resetQuality();
    EXPECT_TRUE(copy.getQuality(&quality, 0, kFirst)); // the set flag stays
    EXPECT_EQ(quality, "");
    EXPECT_FALSE(copy.getQualityValidity(0, kFirst));
    EXPECT_EQ(copy.getEvaluatorData(), FeatureValue::EvaluatorData{});
    // the original is untouched
    EXPECT_EQ(value.getNominal(0, kFirst), 2.0);
    EXPECT_TRUE(value.getQualityValidity(0, kFirst));
}

TEST(feature_value, EvaluationError) {
    kest::test::DiagnosticsCapture capture(1);
    FeatureValue value;
    value.setEvaluationError("no points");
    value.setEvaluationError("");
    EXPECT_FALSE(value.getEvaluationError(nullptr));
    value.setEvaluationError("again");
    std::string error;
    EXPECT_TRUE(value.getEvaluationError(&error));
    EXPECT_EQ(error, "again");
    EXPECT_EQ(capture.messages(DiagnosticChannel::Trace), (std::vector<std::string>{"no points", "again"}));
}

// symbol index -> feature identifier, from the suite's translation table
TEST(feature_value, FeatureIds) {
    const std::pair<int, int> rows[] = {
        {0, 0},       {302, 3002},  {306, 3004},  {313, 3013},  {603, 3070},  {1200, 3100}, {1201, 3101},
        {1206, 3106}, {1210, 3120}, {1211, 3121}, {1220, 3130}, {1224, 3134}, {1230, 3140}, {1240, 3150},
        {1243, 3153}, {1244, 3154}, {1250, 3160}, {1251, 3161}, {1260, 3170}, {1270, 3180}, {1280, 3190},
    };
    for (const auto& [symbol, id] : rows)
        EXPECT_EQ(FeatureValue("f", symbol).getFeatureId(), id) << symbol;

    kest::test::DiagnosticsCapture capture(1);
    // one past either end of each run
    const int unknown[] = {-1,   1,    301,  303,  305,  307,  312,  314,  602,  604,
                           1199, 1207, 1209, 1212, 1219, 1225, 1229, 1231, 1239, 1245,
                           1249, 1252, 1259, 1261, 1269, 1271, 1279, 1281};
    for (const int symbol : unknown)
        EXPECT_EQ(FeatureValue("f", symbol).getFeatureId(), 0) << symbol;
    ASSERT_EQ(capture.messages(DiagnosticChannel::Trace).size(), std::size(unknown));
    EXPECT_EQ(capture.messages(DiagnosticChannel::Trace)[0],
              "Unknown SymbolIndex '-1', convert to FID_NO_FEATURE.");
}

TEST(feature_value, RangeConversions) {
    using F = FeatureValue;
    EXPECT_EQ(F::ProfileRangeType2EvaluationRangeType(RangeType::Root), kFirst);
    EXPECT_EQ(F::ProfileRangeType2EvaluationRangeType(RangeType::Tip), EvaluationRangeType::Last);
    EXPECT_EQ(F::LeadRangeType2EvaluationRangeType(RangeType::Middle), kMiddle);
    EXPECT_EQ(F::EvaluationRangeType2ProfileRangeType(kMiddle), RangeType::Main);
    EXPECT_EQ(F::EvaluationRangeType2LeadRangeType(EvaluationRangeType::Last), RangeType::DatumSide);
    EXPECT_THROW_MSG(F::ProfileRangeType2EvaluationRangeType(RangeType::Middle),
                     "wrong profile range type for evaluation range type found");
    EXPECT_THROW_MSG(F::LeadRangeType2EvaluationRangeType(RangeType::Unspecified),
                     "wrong lead range type for evaluation range type found");
    EXPECT_THROW_MSG(F::EvaluationRangeType2ProfileRangeType(static_cast<EvaluationRangeType>(3)),
                     "wrong evaluation range type for profile range type found");
    EXPECT_THROW_MSG(F::EvaluationRangeType2LeadRangeType(static_cast<EvaluationRangeType>(-1)),
                     "wrong evaluation range type for lead range type found");
    FeatureValue value;
    EXPECT_THROW_MSG(value.setResult(3, 1.0, 0, static_cast<EvaluationRangeType>(3)),
                     "wrong evaluation range type found");
    EXPECT_THROW_MSG(value.getCount(static_cast<EvaluationRangeType>(5)),
                     "wrong evaluation range type found");
}

} // namespace
