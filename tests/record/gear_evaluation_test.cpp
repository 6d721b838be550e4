#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear.h>
#include <kest/gear/host/product_version.h>

#include "support/gear_round_trip.h"
#include "support/scratch_directory.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kest::gear;
using MT = Measurement_Type;

namespace {

const std::string kExample = std::string(GEARRECORDS_EXAMPLES) + "/evaluated_gear.xml";

// The held ranges of a type and flank as "range:name:regression", in range-type order.
std::string ranges(const Gear& gear, MT type, Side side) {
    std::vector<Gear_EvaluationRange> all;
    gear.getAllEvaluationRanges(type, side, &all);
    std::string out;
    for (const auto& entry : all)
        out += std::to_string(static_cast<int>(entry.rangeType)) + ":" + entry.range->getName() + ":" +
               std::to_string(static_cast<int>(entry.range->getRegressionType())) + " ";
    return out;
}

std::string features(const Gear& gear) {
    std::string out;
    for (const auto& e : gear.getAllFeatures())
        out += e.feature.getName() + ":" + Side_2_string(e.info.side) + ":" +
               std::to_string(static_cast<int>(e.range)) + " ";
    return out;
}

class GearEvaluation : public kest::test::ScratchDirectoryTest {};

// The tip range turns into a continuous parabola: its relief feature asks for the tangent-relief method.
TEST_F(GearEvaluation, LoadsEverySection) {
    const Gear gear(kExample.c_str());
    EXPECT_EQ(ranges(gear, MT::Profile, Side::Left), "0:profile root:1 1:profile main:2 2:profile tip:3 ");
    EXPECT_EQ(ranges(gear, MT::Profile, Side::Right), "0:profile root:1 1:profile main:2 2:profile tip:1 ");
    EXPECT_EQ(ranges(gear, MT::Lead, Side::Right),
              "2000:lead non-datum:1 2001:lead middle:2 2002:lead datum:1 ");
    EXPECT_EQ(ranges(gear, MT::TopographyProfile, Side::Left), "1:topography:1 ");
    EXPECT_EQ(features(gear),
              "Caa:left:2 Fa+:right:1 Fp:both:2003 MdK:both:2003 Rr:both:2003 Wk:both:2003 "
              "da:both:2003 fHa:left:1 fHb:both:2001 ffa:left:1 ffb:right:2000 ffb:right:2001 "
              "ffb:right:2002 ");
    GearFeature caa;
    std::string mode;
    ASSERT_TRUE(gear.getFeature("Caa", Side::Left, &caa, 0));
    EXPECT_TRUE(caa.get(AdditionalDataType::EvaluationMode, &mode));
    EXPECT_EQ(mode, "DIN21772_RELIEF_METHOD2");
    bool valid = false;
    EXPECT_EQ(gear.getFilterWaveNumber(MT::Profile, Side::Left, valid), 30.0);
    EXPECT_TRUE(valid && gear.getFilterLeadFromProf() && gear.getFiltersInitialized());
    EXPECT_EQ(gear.getFilterUnit(MT::Lead, Side::Left, valid), FilterUnit::WaveLength);
    EXPECT_EQ(gear.getFilterWaveLength(MT::Lead, Side::Left, valid),
              gear.getGeometry()->getLAE(Side::Both) / 30.0);
    EXPECT_TRUE(checkEvaluationRangesInsideMeasurements(&gear, Side::Right, MT::Lead));
}

// A save of the loaded gear reads back to the same content, and a second save gives the same bytes.
TEST_F(GearEvaluation, RoundTrip) {
    kest::host::setProductVersion("9.02-44");
    const std::string bytes = read(kExample);
    EXPECT_EQ(kest::test::gearRoundTrip(bytes, dir), "");
    Gear gear(kExample.c_str());
    gear.Save(write("first.xml", "").c_str());
    const Gear again((dir / "first.xml").string().c_str());
    kest::host::setProductVersion("");
    for (const MT type : {MT::Profile, MT::Lead, MT::TopographyProfile})
        for (const Side side : {Side::Left, Side::Right})
            EXPECT_EQ(ranges(again, type, side), ranges(gear, type, side));
    EXPECT_EQ(features(again), features(gear));
    EvaluationRangeParabola first("a"), second("b");
    ASSERT_TRUE(gear.getEvaluationRange(MT::Profile, Side::Left, RangeType::Main, &first));
    ASSERT_TRUE(again.getEvaluationRange(MT::Profile, Side::Left, RangeType::Main, &second));
    EXPECT_TRUE(first == second);
}

// What the gear no longer holds leaves the file; what the library does not know stays.
TEST_F(GearEvaluation, SaveRebuildsOwnElementsOnly) {
    std::string text = read(kExample);
    text.replace(
        text.find("  <evaluation>"), 14,
        "  <evaluation owner=\"lab 3\">\n    <remark name=\"fHa\">6</remark>\n"
        "    <lead side=\"left\">\n      <lead_plan measurement_index=\"0\" />\n"
        "      <range name=\"rough\" regression=\"line\" type=\"root\"><reference>diameter</reference>"
        "<main><lower>1</lower><upper>2</upper></main></range>\n    </lead>");
    Gear gear(write("input.xml", text).c_str());
    EXPECT_EQ(ranges(gear, MT::Lead, Side::Left),
              "2000:lead non-datum:1 2001:lead middle:2 2002:lead datum:1 ");
    ASSERT_TRUE(gear.clearEvaluationRanges(MT::Profile));
    ASSERT_TRUE(gear.removeFeature("ffb", Side::Right, 0));
    ASSERT_TRUE(gear.clearFilter());
    gear.Save((dir / "saved.xml").string().c_str());
    const std::string saved = read(dir / "saved.xml");
    for (const char* gone : {"profile root", "\"ffb\"", "<filter"})
        EXPECT_EQ(saved.find(gone), std::string::npos) << gone;
    for (const char* kept :
         {"owner=\"lab 3\"", "<remark name=\"fHa\">6</remark>", "<lead_plan measurement_index=\"0\" />",
          "name=\"rough\"", "lead middle", "name=\"fHa\""})
        EXPECT_NE(saved.find(kept), std::string::npos) << kept;
    ASSERT_TRUE(gear.clearFeatures());
    EXPECT_EQ(features(gear), "");
}

TEST_F(GearEvaluation, LoadFailures) {
    const std::string text = read(kExample);
    struct Row {
        const char* from;
        const char* to;
        const char* message;
    };
    const Row rows[] = {
        {"regression=\"line\" type=\"root\"", "type=\"root\"", "loading evaluation ranges failed"},
        {"<filter unit=\"upl\"", "<filter unit=\"Hz\"", "loading filters failed!"},
    };
    for (const auto& row : rows) {
        std::string broken = text;
        broken.replace(broken.find(row.from), std::string(row.from).size(), row.to);
        Gear gear;
        EXPECT_THROW_MSG(gear.Load(write("broken.xml", broken).c_str()), row.message);
    }
}

TEST_F(GearEvaluation, CopyAndChecks) {
    Gear gear(kExample.c_str());
    const Gear copy(gear);
    EvaluationRangeLine wide("wide");
    wide.setRange(40, 41, 52, 53);
    ASSERT_TRUE(gear.addEvaluationRange(MT::Profile, Side::Left, RangeType::Main, wide));
    EXPECT_FALSE(checkEvaluationRangesInsideMeasurements(&gear, Side::Left, MT::Profile));
    EXPECT_TRUE(checkEvaluationRangesInsideMeasurements(&copy, Side::Left, MT::Profile));
    EXPECT_EQ(ranges(copy, MT::Profile, Side::Left), "0:profile root:1 1:profile main:2 2:profile tip:3 ");
    EXPECT_EQ(features(copy), features(gear));
    EXPECT_FALSE(checkEvaluationRangesInsideMeasurements(nullptr, Side::Left, MT::Profile));
}

// The filter rules work with the gear's own geometry: 30 waves over the profile's evaluation length.
TEST_F(GearEvaluation, DefaultFilters) {
    Gear gear(kExample.c_str());
    ASSERT_TRUE(gear.clearFilter());
    EXPECT_FALSE(gear.getFiltersInitialized());
    gear.initializeFilters();
    const double length = gear.getGeometry()->getLAE(Side::Both) / 30.0;
    bool valid = false;
    EXPECT_EQ(gear.getFilterWaveLength(MT::Lead, Side::Right, valid), std::max(length, 0.25));
    EXPECT_TRUE(gear.getFilterActive(MT::Lead, Side::Right, valid) && gear.getFilterBothSided(MT::Profile));
    EXPECT_TRUE(gear.setFilterWaveLength(MT::Profile, Side::Left, 0.8));
    EXPECT_FALSE(gear.getFilterBothSided(MT::Profile));
    EXPECT_TRUE(gear.clearFilter(MT::Profile, Side::Left));
    EXPECT_TRUE(gear.setFilterActive(MT::Lead, Side::Both, false));
    EXPECT_FALSE(gear.getFilterActive(MT::Pitch, Side::Left, valid) || valid);
    EXPECT_TRUE(gear.setFilterWaveNumber(MT::Lead, Side::Left, 4) && gear.clearFilter(MT::Lead));
}

// Ranges, features and filters are written in place: what the library does not know in and around them stays;
// a change rewrites only what it changes.
TEST_F(GearEvaluation, WritesInPlace) {
    const std::string file = std::string(GEARRECORDS_TEST_DATA) + "/gear/unknown_in_sections.xml";
    Gear gear(file.c_str());
    GearFeature fHa;
    ASSERT_TRUE(gear.getFeature("fHa", Side::Left, &fHa, 0, RangeType::Main));
    fHa.set(AdditionalDataType::LowerTolerance, -0.02);
    fHa.set(AdditionalDataType::UpperTolerance, 0.02);
    ASSERT_TRUE(gear.setFeature(fHa, Side::Left, 0, RangeType::Main));
    gear.Save((dir / "changed.xml").string().c_str());
    std::string saved = read(dir / "changed.xml");
    EXPECT_NE(saved.find(
                  "<feature name=\"fHa\" enabled=\"on\" side=\"left\" measurement_index=\"0\" range=\"main\" "
                  "source=\"din\">\n      <ltol>-0.02</ltol>\n      <remark>keep</remark>\n      "
                  "<utol>0.02</utol>"),
              std::string::npos)
        << saved;

    ASSERT_TRUE(gear.clearEvaluationRanges(MT::Profile));
    ASSERT_TRUE(gear.clearFilter());
    gear.Save((dir / "changed.xml").string().c_str());
    saved = read(dir / "changed.xml");
    EXPECT_NE(
        saved.find("<profile side=\"left\" plan=\"b\">\n      <range_plan kind=\"helix\" />\n    </profile>"),
        std::string::npos)
        << saved;
    for (const char* gone : {"owner=\"qa\"", "from drawing", "lab=\"3\""})
        EXPECT_EQ(saved.find(gone), std::string::npos) << gone;
}

} // namespace
