#include <kest/gear/gear.h>
#include <kest/gear/kchart.h>
#include <kest/gear/library.h>

#include "support/scratch_directory.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace kest::gear {
namespace {

using C = StandardClass;
using T = Measurement_Type;

Gear gearWith(const char* standard, C cls = C::Class5) {
    Gear gear;
    EXPECT_TRUE(gear.setEvaluationStandard(EvaluationStandard(standard, cls)));
    return gear;
}

TEST(gear_standard, SetEvaluationStandardChecksEverySubquality) {
    Gear gear;
    EvaluationStandard iso("ISO_4156_1_2005", C::Class6);
    ASSERT_TRUE(iso.addSubquality("allowance", "js"));
    EXPECT_TRUE(gear.setEvaluationStandard(iso));
    EXPECT_EQ(gear.getEvaluationStandard(), iso);

    // a record whose sub-qualities its standard does not take (set behind the standard's back)
    EvaluationStandard renamed = iso;
    renamed.setStandardName("DIN_5480");
    EXPECT_FALSE(gear.setEvaluationStandard(renamed));
    EXPECT_EQ(gear.getEvaluationStandard().getStandardName(), "DIN_5480");
    EXPECT_TRUE(gear.getEvaluationStandard().getAllSubqualities().empty());
}

// Fit types: none always, others only when the standard offers them; changing the standard keeps the type.
TEST(gear_standard, FitTypes) {
    const std::tuple<const char*, EvaluationFitType, bool> rows[] = {
        {"unknown standard", EvaluationFitType::None, true},
        {"unknown standard", EvaluationFitType::Sliding, false},
        {"DIN_3962", EvaluationFitType::Close, false},
        {"DIN_5480", EvaluationFitType::SideFit, true},
        {"DIN_5480", EvaluationFitType::Close, false},
        {"CAT_1E2028", EvaluationFitType::Close, true},
        {"ANSI_B92_1", EvaluationFitType::FilletRootDiameter, true},
    };
    for (const auto& [standard, fit, accepted] : rows) {
        Gear gear = gearWith(standard);
        ASSERT_TRUE(gear.setEvaluationFitType(EvaluationFitType::None));
        EXPECT_EQ(gear.setEvaluationFitType(fit), accepted)
            << standard << " " << EvaluationFitType_2_string(fit);
        EXPECT_EQ(gear.getEvaluationFitType(), accepted ? fit : EvaluationFitType::None) << standard;
    }
    Gear gear = gearWith("DIN_5480");
    ASSERT_TRUE(gear.setEvaluationFitType(EvaluationFitType::SideFit));
    ASSERT_TRUE(gear.setEvaluationStandard(EvaluationStandard("DIN_3962", C::Class5)));
    EXPECT_EQ(gear.getEvaluationFitType(), EvaluationFitType::SideFit);
}

// "process post-process" per standard: whether each setter takes a type other than undefined.
TEST(gear_standard, ProcessTypesNeedAStandardWithThem) {
    const std::tuple<const char*, bool, bool> rows[] = {
        {"unknown standard", true, true}, {"DIN_3962", false, false}, {"CAT_1E4157", true, false},
        {"CAT_1E2028", true, true},       {"DIN_5480", true, false},  {"MY_TABLE", false, false},
    };
    for (const auto& [standard, process, postProcess] : rows) {
        Gear gear = gearWith(standard);
        // only whether the standard has process types is asked, not whether it offers this one
        EXPECT_EQ(gear.setProcessType(ProcessType::Grounding), process) << standard;
        EXPECT_EQ(gear.getProcessType(), process ? ProcessType::Grounding : ProcessType::Undefined)
            << standard;
        EXPECT_EQ(gear.setPostProcessType(PostProcessType::Hardened), postProcess) << standard;
        EXPECT_TRUE(gear.setProcessType(ProcessType::Undefined) &&
                    gear.setPostProcessType(PostProcessType::Undefined))
            << standard;
    }
}

// The automatic chart fills the holder with the arguments it was called with.
bool fillChart(const Gear*, Measurement_Type type, Side side, unsigned int index, KChart* chart) {
    chart->setName(Measurement_Type_2_string(type) + " " + Side_2_string(side) + " " + std::to_string(index));
    return false; // the gear hands out the holder whatever the answer
}

class WithAutomaticKCharts {
public:
    WithAutomaticKCharts() { GearRecords_RegisterAutomaticKChartFunctionPointer(fillChart); }
    ~WithAutomaticKCharts() { GearRecords_UnRegisterAutomaticKChartFunctionPointer(); }
    WithAutomaticKCharts(const WithAutomaticKCharts&) = delete;
    WithAutomaticKCharts& operator=(const WithAutomaticKCharts&) = delete;
};

std::string chartName(const Gear& gear, T type, Side side, unsigned int index) {
    bool automatic = true;
    const KChart* chart = gear.getKChart(type, side, index, &automatic);
    if (chart == nullptr) return automatic ? "null, automatic" : "null";
    return chart->getName() + (automatic ? " (automatic)" : "");
}

TEST(gear_standard, AutomaticKCharts) {
    Gear agma = gearWith("AGMA_2000_A88");
    KChart stored;
    stored.setName("stored");
    ASSERT_TRUE(agma.setKChart(T::Lead, Side::Both, &stored, 0));
    const Gear din = gearWith("DIN_3962");

    EXPECT_EQ(chartName(agma, T::Profile, Side::Left, 3), "null"); // no callback
    const WithAutomaticKCharts callback;
    const std::tuple<const Gear*, T, Side, unsigned int, const char*> rows[] = {
        {&agma, T::Profile, Side::Left, 3, "profile left 3 (automatic)"},
        {&agma, T::Lead, Side::Right, 0, "stored"}, // the both-side chart comes first
        {&agma, T::Lead, Side::Right, 1, "lead right 1 (automatic)"},
        {&agma, T::Profile, Side::Both, 0, "null"},
        {&agma, T::Pitch, Side::Left, 0, "null"},
        {&din, T::Profile, Side::Left, 0, "null"},
    };
    for (const auto& [gear, type, side, index, expected] : rows)
        EXPECT_EQ(chartName(*gear, type, side, index), expected)
            << Measurement_Type_2_string(type) << " " << Side_2_string(side) << " " << index;
}

TEST(gear_standard, KChartsAreCopiedWithTheGear) {
    Gear gear;
    KChart chart;
    chart.setName("tip");
    ASSERT_TRUE(gear.setKChart(T::Profile, Side::Right, &chart, 2));
    const Gear copy(gear);
    ASSERT_TRUE(gear.clearKCharts(T::Profile, Side::Right));
    EXPECT_EQ(gear.getKChartNumberOfMeasurements(T::Profile, Side::Right), 0u);
    EXPECT_EQ(copy.getKChartNumberOfMeasurements(T::Profile, Side::Right), 3u);
    EXPECT_EQ(chartName(copy, T::Profile, Side::Right, 2), "tip");
    EXPECT_FALSE(gear.importKCharts("/nonexistent/charts.txt"));
}

// --- the standard and the K-charts in the gear file

const std::string kGearHead = R"(<?xml version="1.0"?>
<gear version="9.02-44">
  <geometry>
    <type>cylindrical gear</type>
    <number_of_teeth>23</number_of_teeth>
    <face_width>20</face_width>
    <tip_diameter>50.8</tip_diameter>
    <root_diameter>41.8</root_diameter>
    <normal_module>2</normal_module>
    <helix_angle direction="straight">0</helix_angle>
    <normal_pressure_angle>20</normal_pressure_angle>
    <addendum_modification>0.2</addendum_modification>
  </geometry>
)";

// A gear file of the geometry above and `evaluation` (an element or nothing).
std::string gearFile(const std::string& evaluation) {
    return kGearHead + evaluation + "</gear>\n";
}

const char* kChartElement = R"(<kchart enabled="on" alignment="centered" measurement_index=")";

class gear_standard_file : public kest::test::ScratchDirectoryTest {};

TEST_F(gear_standard_file, LoadFailures) {
    const std::pair<std::string, const char*> rows[] = {
        {R"(<evaluation standard="DIN_5480" quality="7" fitType="sideways"/>)",
         "loading evaluation standard failed!"},
        {R"(<evaluation standard="DIN_5480" quality="7"><subquality quality="js">st</subquality></evaluation>)",
         "loading evaluation standard failed!"},
        {std::string(R"(<evaluation><lead side="right">)") + kChartElement + R"(1000"/></lead></evaluation>)",
         "loading kcharts failed!"},
    };
    for (const auto& [evaluation, message] : rows) {
        Gear gear;
        EXPECT_THROW_MSG(gear.Load(write("gear.xml", gearFile(evaluation)).c_str()), message);
    }
}

// The standard's class "unknown class" reads back as the class not set, so such a standard stays valid.
TEST_F(gear_standard_file, StandardRoundTrip) {
    const std::tuple<EvaluationStandard, EvaluationFitType, bool> rows[] = {
        {EvaluationStandard("FREE_DIN_3962", C::Unknown), EvaluationFitType::None, true},
        {EvaluationStandard("CAT_1E2028", C::Unknown), EvaluationFitType::Close, true},
        {EvaluationStandard("AGMA_2000_A88", std::string("Q7")), EvaluationFitType::None, true},
        // "B" is no letter of DIN 5480, which needs one
        {EvaluationStandard("DIN_5480", C::Class9), EvaluationFitType::InternalDiameter, false},
    };
    for (const auto& [standard, fit, valid] : rows) {
        Gear gear;
        gear.Load(write("gear.xml", gearFile("")).c_str());
        EvaluationStandard withSubquality = standard;
        withSubquality.addSubquality("st", "B");
        ASSERT_TRUE(gear.setEvaluationStandard(withSubquality));
        ASSERT_TRUE(gear.setEvaluationFitType(fit));
        gear.Save(nullptr);
        Gear back(gear.GetKey());
        EXPECT_EQ(back.getEvaluationStandard(), withSubquality) << standard.getStandardName();
        EXPECT_EQ(back.getEvaluationFitType(), fit) << standard.getStandardName();
        std::string message;
        EXPECT_EQ(back.getEvaluationStandard().isValid(message), valid)
            << standard.getStandardName() << message;
    }
}

// Charts imported from a chart file save, load and save again to the same bytes; the chart elements keep what
// the library does not know in them, and the evaluation keeps its other content.
TEST_F(gear_standard_file, KChartsRoundTrip) {
    const std::string original = gearFile(
        R"(<evaluation><range_plan/><profile side="left" note="kept"><range_plan/>)"
        R"(<kchart enabled="off" alignment="to material" measurement_index="0" mark="m"><!-- c --><extra/>)"
        R"(<part material="both sides" regression="line" hue="red"><tolerance width="0.5"/>)"
        R"(<point position="1" variation="2" reference="diameter" id="0" tag="t"/>)"
        R"(<point position="3" variation="2" reference="diameter" id="1"/></part></kchart></profile></evaluation>)");
    Gear gear(write("gear.xml", original).c_str());
    const KChart* loaded = gear.getKChart(T::Profile, Side::Left, 0, nullptr);
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->isValid());
    EXPECT_EQ(loaded->getAlignment(), Alignment::ToMaterial);

    const std::string saved = (dir / "saved.xml").string();
    gear.Save(saved.c_str());
    const std::string first = read(dir / "saved.xml");
    for (const char* kept : {R"(note="kept")", R"(mark="m")", "<!-- c -->", "<extra />", R"(hue="red")",
                             R"(tag="t")", "<range_plan />"})
        EXPECT_NE(first.find(kept), std::string::npos) << kept;

    ASSERT_TRUE(gear.importKCharts((std::string(GEARRECORDS_TEST_DATA) + "/kcharts/two_blocks.txt").c_str()));
    EXPECT_EQ(gear.getKChart(T::Profile, Side::Left, 0, nullptr), nullptr); // the last block only
    ASSERT_NE(gear.getKChart(T::Profile, Side::Right, 1, nullptr), nullptr);
    gear.Save(saved.c_str());
    const std::string second = read(saved);
    EXPECT_EQ(second.find("<kchart enabled=\"off\""), std::string::npos);
    EXPECT_NE(second.find("note=\"kept\""), std::string::npos); // the side element still holds its range

    Gear back(saved.c_str());
    back.Save((dir / "again.xml").c_str());
    EXPECT_EQ(read(dir / "again.xml"), second);
    const KChart* imported = back.getKChart(T::Profile, Side::Right, 1, nullptr);
    ASSERT_NE(imported, nullptr);
    EXPECT_EQ(*imported, *gear.getKChart(T::Profile, Side::Right, 1, nullptr));
}

} // namespace
} // namespace kest::gear
