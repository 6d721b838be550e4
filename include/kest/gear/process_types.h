#pragma once

// How a gear was made (process type), treated afterwards (post-process type), and which fit of a spline is
// evaluated (fit type), with the values each tolerance standard offers.

#include <kest/gear/host/export.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kest::gear {

enum class ProcessType : std::int32_t {
    Undefined = 0,
    Broaching = 1,
    Hobbing = 2,
    Shaping = 4,
    ColdRolling = 8,
    Grounding = 16,
    NoColdRolling = 32,
};

enum class PostProcessType : std::int32_t {
    Undefined = 0,
    None = 1,
    Hardened = 2,
    HeatTreated = 4,
    HardenedAndHeatTreated = 6,
};

enum class EvaluationFitType : std::int32_t {
    None = 0,
    Sliding = 1,
    Close = 2,
    FilletRootSide = 3,
    FlatRootSide = 4,
    FilletRootDiameter = 5,
    InternalDiameter = 6,
    ExternalDiameter = 7,
    SideFit = 8,
};

// The values a standard offers, by its internal name; every value for a standard without a list of its own.
GEARRECORDS_API std::vector<ProcessType> getAllProcessTypes(const std::string& standardName);
GEARRECORDS_API std::vector<PostProcessType> getAllPostProcessTypes(const std::string& standardName);
GEARRECORDS_API std::vector<EvaluationFitType> getAllEvaluationFitTypes(const std::string& standardName);

// false for every value of a standard without a list of its own
GEARRECORDS_API bool isProcessTypeAllowed(ProcessType value, const std::string& standardName);
GEARRECORDS_API bool isPostProcessTypeAllowed(PostProcessType value, const std::string& standardName);
GEARRECORDS_API bool isEvaluationFitTypeAllowed(EvaluationFitType value, const std::string& standardName);

// "unknown processing type", "unknown post processing type", "unknown fit type" for a value outside the table
GEARRECORDS_API std::string ProcessType_2_string(ProcessType value);
GEARRECORDS_API std::string PostProcessType_2_string(PostProcessType value);
GEARRECORDS_API std::string EvaluationFitType_2_string(EvaluationFitType value);

// false, leaving `out` alone, for a text that is not exactly a string form
GEARRECORDS_API bool string_2_ProcessType(std::string_view text, ProcessType* out);
GEARRECORDS_API bool string_2_PostProcessType(std::string_view text, PostProcessType* out);
GEARRECORDS_API bool string_2_EvaluationFitType(std::string_view text, EvaluationFitType* out);

// Each throws its message text for a value outside the table.
GEARRECORDS_API unsigned int ProcessType_2_constant(ProcessType value);
GEARRECORDS_API ProcessType constant_2_ProcessType(unsigned int constant);
GEARRECORDS_API unsigned int PostProcessType_2_constant(PostProcessType value);
GEARRECORDS_API PostProcessType constant_2_PostProcessType(unsigned int constant);
GEARRECORDS_API unsigned int EvaluationFitType_2_constant(EvaluationFitType value);
GEARRECORDS_API EvaluationFitType constant_2_EvaluationFitType(unsigned int constant);

} // namespace kest::gear
