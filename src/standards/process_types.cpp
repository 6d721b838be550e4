#include <kest/gear/process_types.h>

#include "util/enum_table.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

namespace kest::gear {
namespace {

// One table per enumeration drives every conversion. The row order is the order of the full value list, which
// the text lookup walks and the standards' lists are compared against.

// The number the suite exchanges is the enumerator's value.
template <typename E>
constexpr enum_table::Row<E, unsigned int> row(E value, std::string_view text) {
    return {value, text, static_cast<unsigned int>(value)};
}

constexpr std::array kProcessTypes{
    row(ProcessType::Undefined, "undefined"),
    row(ProcessType::Broaching, "broaching"),
    row(ProcessType::Hobbing, "hobbing"),
    row(ProcessType::Shaping, "shaping"),
    row(ProcessType::ColdRolling, "cold rolling"),
    row(ProcessType::Grounding, "grounding"),
    row(ProcessType::NoColdRolling, "no cold rolling"),
};
constexpr const char* kUnknownProcessType = "unknown processing type";
constexpr const char* kUnknownProcessTypeConstant = "unknown constant for processing type";

constexpr std::array kPostProcessTypes{
    row(PostProcessType::Undefined, "undefined"),
    row(PostProcessType::None, "none"),
    row(PostProcessType::Hardened, "hardened"),
    row(PostProcessType::HeatTreated, "heat treated"),
    row(PostProcessType::HardenedAndHeatTreated, "hardened and heat treated"),
};
constexpr const char* kUnknownPostProcessType = "unknown post processing type";
constexpr const char* kUnknownPostProcessTypeConstant = "unknown constant for post processing type";

constexpr std::array kFitTypes{
    row(EvaluationFitType::None, "none"),
    row(EvaluationFitType::Sliding, "sliding"),
    row(EvaluationFitType::Close, "close"),
    row(EvaluationFitType::FilletRootSide, "fillet_root_side"),
    row(EvaluationFitType::FlatRootSide, "flat_root_side"),
    row(EvaluationFitType::FilletRootDiameter, "fillet_root_diameter"),
    row(EvaluationFitType::InternalDiameter, "internal_diameter"),
    row(EvaluationFitType::ExternalDiameter, "external_diameter"),
    row(EvaluationFitType::SideFit, "side"),
};
constexpr const char* kUnknownFitType = "unknown fit type";
constexpr const char* kUnknownFitTypeConstant = "unknown constant for fit type";

using enum_table::fromConstant;
using enum_table::fromText;
using enum_table::toConstant;
using enum_table::toText;
using enum_table::valuesOf;

constexpr auto kAllProcessTypes = valuesOf(kProcessTypes);
constexpr auto kAllPostProcessTypes = valuesOf(kPostProcessTypes);
constexpr auto kAllFitTypes = valuesOf(kFitTypes);

// --- the values each standard offers, in the order they are offered ---

using P = ProcessType;
using PP = PostProcessType;
using F = EvaluationFitType;

constexpr std::array kProcessCat1E4157{P::Undefined, P::Grounding};
constexpr std::array kProcessCat1E2028{P::ColdRolling, P::NoColdRolling};
constexpr std::array kProcessDin5480{P::Broaching, P::Hobbing, P::Shaping, P::ColdRolling};
constexpr std::array kPostProcessCat1E2028{PP::None, PP::Hardened, PP::HeatTreated,
                                           PP::HardenedAndHeatTreated};
constexpr std::array kFitCat1E2028{F::Close, F::Sliding};
constexpr std::array kFitDin5480{F::SideFit, F::ExternalDiameter, F::InternalDiameter};
constexpr std::array kFitAnsiB921{F::FilletRootSide, F::FilletRootDiameter, F::FlatRootSide};
constexpr std::array kFitIso4156{F::FilletRootSide, F::FlatRootSide};

struct StandardTypes {
    std::string_view standard; // internal name of the tolerance standard
    std::span<const ProcessType> processTypes;
    std::span<const PostProcessType> postProcessTypes;
    std::span<const EvaluationFitType> fitTypes;
};

// A standard without a row, the empty name included, offers every value of all three.
constexpr std::array kStandards{
    StandardTypes{"CAT_1E4157", kProcessCat1E4157, kAllPostProcessTypes, kAllFitTypes},
    StandardTypes{"CAT_1E2028", kProcessCat1E2028, kPostProcessCat1E2028, kFitCat1E2028},
    StandardTypes{"DIN_5480", kProcessDin5480, kAllPostProcessTypes, kFitDin5480},
    StandardTypes{"ANSI_B92_1", kAllProcessTypes, kAllPostProcessTypes, kFitAnsiB921},
    StandardTypes{"ISO_4156_1_2005", kAllProcessTypes, kAllPostProcessTypes, kFitIso4156},
};
constexpr StandardTypes kEveryValue{"", kAllProcessTypes, kAllPostProcessTypes, kAllFitTypes};

const StandardTypes& typesOf(const std::string& standardName) {
    const auto it = std::ranges::find(kStandards, std::string_view(standardName), &StandardTypes::standard);
    return it == kStandards.end() ? kEveryValue : *it;
}

template <typename E>
std::vector<E> listOf(std::span<const E> StandardTypes::*list, const std::string& standardName) {
    const std::span<const E> values = typesOf(standardName).*list;
    return {values.begin(), values.end()};
}

// A standard whose list is the full list has no list of its own and allows no value at all.
template <typename E>
bool allowed(E value, std::span<const E> StandardTypes::*list, const std::string& standardName) {
    const std::span<const E> own = typesOf(standardName).*list;
    const std::span<const E> every = kEveryValue.*list;
    return !std::ranges::equal(own, every) && std::ranges::find(own, value) != own.end();
}

} // namespace

std::vector<ProcessType> getAllProcessTypes(const std::string& standardName) {
    return listOf(&StandardTypes::processTypes, standardName);
}
std::vector<PostProcessType> getAllPostProcessTypes(const std::string& standardName) {
    return listOf(&StandardTypes::postProcessTypes, standardName);
}
std::vector<EvaluationFitType> getAllEvaluationFitTypes(const std::string& standardName) {
    return listOf(&StandardTypes::fitTypes, standardName);
}

bool isProcessTypeAllowed(ProcessType value, const std::string& standardName) {
    return allowed(value, &StandardTypes::processTypes, standardName);
}
bool isPostProcessTypeAllowed(PostProcessType value, const std::string& standardName) {
    return allowed(value, &StandardTypes::postProcessTypes, standardName);
}
bool isEvaluationFitTypeAllowed(EvaluationFitType value, const std::string& standardName) {
    return allowed(value, &StandardTypes::fitTypes, standardName);
}

std::string ProcessType_2_string(ProcessType value) {
    return toText(kProcessTypes, value, kUnknownProcessType);
}
std::string PostProcessType_2_string(PostProcessType value) {
    return toText(kPostProcessTypes, value, kUnknownPostProcessType);
}
std::string EvaluationFitType_2_string(EvaluationFitType value) {
    return toText(kFitTypes, value, kUnknownFitType);
}

bool string_2_ProcessType(std::string_view text, ProcessType* out) {
    return fromText(kProcessTypes, text, out);
}
bool string_2_PostProcessType(std::string_view text, PostProcessType* out) {
    return fromText(kPostProcessTypes, text, out);
}
bool string_2_EvaluationFitType(std::string_view text, EvaluationFitType* out) {
    return fromText(kFitTypes, text, out);
}

unsigned int ProcessType_2_constant(ProcessType value) {
    return toConstant(kProcessTypes, value, kUnknownProcessType);
}
ProcessType constant_2_ProcessType(unsigned int constant) {
    return fromConstant(kProcessTypes, constant, kUnknownProcessTypeConstant);
}
unsigned int PostProcessType_2_constant(PostProcessType value) {
    return toConstant(kPostProcessTypes, value, kUnknownPostProcessType);
}
PostProcessType constant_2_PostProcessType(unsigned int constant) {
    return fromConstant(kPostProcessTypes, constant, kUnknownPostProcessTypeConstant);
}
unsigned int EvaluationFitType_2_constant(EvaluationFitType value) {
    return toConstant(kFitTypes, value, kUnknownFitType);
}
EvaluationFitType constant_2_EvaluationFitType(unsigned int constant) {
    return fromConstant(kFitTypes, constant, kUnknownFitTypeConstant);
}

} // namespace kest::gear
