#include <kest/gear/process_types.h>

#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kest::gear;

namespace {

// Every value of the list through both directions of the text and constant forms, as "constant:text" in list
// order, so that one expected line fixes the keywords of the gear file and the numbers the suite exchanges.
template <typename E, typename ToText, typename FromText, typename ToConstant, typename FromConstant>
std::string forms(const std::vector<E>& values, ToText toText, FromText fromText, ToConstant toConstant,
                  FromConstant fromConstant) {
    std::string out;
    for (const E value : values) {
        E parsed = static_cast<E>(-7);
        EXPECT_TRUE(fromText(toText(value), &parsed) && parsed == value) << toText(value);
        EXPECT_EQ(fromConstant(toConstant(value)), value) << toText(value);
        out += std::to_string(toConstant(value)) + ":" + toText(value) + " ";
    }
    return out;
}

TEST(process_types, Forms) {
    EXPECT_EQ(forms(getAllProcessTypes(""), ProcessType_2_string, string_2_ProcessType,
                    ProcessType_2_constant, constant_2_ProcessType),
              "0:undefined 1:broaching 2:hobbing 4:shaping 8:cold rolling 16:grounding 32:no cold rolling ");
    EXPECT_EQ(forms(getAllPostProcessTypes(""), PostProcessType_2_string, string_2_PostProcessType,
                    PostProcessType_2_constant, constant_2_PostProcessType),
              "0:undefined 1:none 2:hardened 4:heat treated 6:hardened and heat treated ");
    EXPECT_EQ(forms(getAllEvaluationFitTypes(""), EvaluationFitType_2_string, string_2_EvaluationFitType,
                    EvaluationFitType_2_constant, constant_2_EvaluationFitType),
              "0:none 1:sliding 2:close 3:fillet_root_side 4:flat_root_side 5:fillet_root_diameter "
              "6:internal_diameter 7:external_diameter 8:side ");
}

template <typename E>
std::string numbers(const std::vector<E>& values) {
    std::string out;
    for (const E value : values)
        out += std::to_string(static_cast<int>(value)) + " ";
    return out;
}

// The lists as "process | post-process | fit"; a name is matched exactly.
TEST(process_types, ListsPerStandard) {
    const std::string all = "0 1 2 4 8 16 32 | 0 1 2 4 6 | 0 1 2 3 4 5 6 7 8 ";
    const std::pair<const char*, std::string> rows[] = {
        {"CAT_1E4157", "0 16 | 0 1 2 4 6 | 0 1 2 3 4 5 6 7 8 "},
        {"CAT_1E2028", "8 32 | 1 2 4 6 | 2 1 "},
        {"DIN_5480", "1 2 4 8 | 0 1 2 4 6 | 8 7 6 "},
        {"ANSI_B92_1", "0 1 2 4 8 16 32 | 0 1 2 4 6 | 3 5 4 "},
        {"ISO_4156_1_2005", "0 1 2 4 8 16 32 | 0 1 2 4 6 | 3 4 "},
        {"DIN_3962", all},
    };
    for (const auto& [standard, lists] : rows)
        EXPECT_EQ(numbers(getAllProcessTypes(standard)) + "| " + numbers(getAllPostProcessTypes(standard)) +
                      "| " + numbers(getAllEvaluationFitTypes(standard)),
                  lists)
            << standard;
}

// A standard whose list is the full list allows nothing, not even the values in that list.
TEST(process_types, Allowed) {
    EXPECT_TRUE(isProcessTypeAllowed(ProcessType::Hobbing, "DIN_5480"));
    EXPECT_TRUE(isProcessTypeAllowed(ProcessType::Undefined, "CAT_1E4157"));
    EXPECT_TRUE(isPostProcessTypeAllowed(PostProcessType::HardenedAndHeatTreated, "CAT_1E2028"));
    EXPECT_TRUE(isEvaluationFitTypeAllowed(EvaluationFitType::SideFit, "DIN_5480"));
    EXPECT_FALSE(isProcessTypeAllowed(ProcessType::Grounding, "DIN_5480") ||
                 isProcessTypeAllowed(ProcessType::Undefined, "DIN_3962") ||
                 isPostProcessTypeAllowed(PostProcessType::Undefined, "CAT_1E2028") ||
                 isPostProcessTypeAllowed(PostProcessType::Hardened, "DIN_5480") ||
                 isEvaluationFitTypeAllowed(EvaluationFitType::None, "ANSI_B92_1") ||
                 isEvaluationFitTypeAllowed(EvaluationFitType::Sliding, ""));
}

TEST(process_types, ValuesOutsideTheTables) {
    EXPECT_EQ(ProcessType_2_string(static_cast<ProcessType>(3)), "unknown processing type");
    EXPECT_EQ(PostProcessType_2_string(static_cast<PostProcessType>(3)), "unknown post processing type");
    EXPECT_EQ(EvaluationFitType_2_string(static_cast<EvaluationFitType>(9)), "unknown fit type");
    EXPECT_THROW_MSG(ProcessType_2_constant(static_cast<ProcessType>(64)), "unknown processing type");
    EXPECT_THROW_MSG(constant_2_ProcessType(3), "unknown constant for processing type");
    EXPECT_THROW_MSG(PostProcessType_2_constant(static_cast<PostProcessType>(-1)),
                     "unknown post processing type");
    EXPECT_THROW_MSG(constant_2_PostProcessType(3), "unknown constant for post processing type");
    EXPECT_THROW_MSG(EvaluationFitType_2_constant(static_cast<EvaluationFitType>(9)), "unknown fit type");
    EXPECT_THROW_MSG(constant_2_EvaluationFitType(9), "unknown constant for fit type");

    ProcessType process = ProcessType::Shaping;
    PostProcessType post = PostProcessType::None;
    EXPECT_FALSE(
        string_2_ProcessType("Cold rolling", &process) || string_2_ProcessType("cold rolling ", &process) ||
        string_2_ProcessType("cold rolling", nullptr) || string_2_PostProcessType("heat_treated", &post));
    EXPECT_TRUE(process == ProcessType::Shaping && post == PostProcessType::None);
}

} // namespace
