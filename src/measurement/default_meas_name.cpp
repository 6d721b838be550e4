#include <kest/gear/measurement_enums.h>

#include "host/report.h"

#include <string>

namespace kest::gear {

namespace {
// Beside the main measurement, the numbered ones alternate between the two directions away from it.
constexpr unsigned int kMaxMeasurementIndex = 999;
} // namespace

std::string getDefaultMeasName(Measurement_Type type, unsigned int index) {
    const char* odd = nullptr;
    const char* even = nullptr;
    switch (type) {
    case Measurement_Type::Profile:
        odd = "UP_";
        even = "DOWN_";
        break;
    case Measurement_Type::Lead:
        odd = "OUT_";
        even = "IN_";
        break;
    case Measurement_Type::Pitch:
    case Measurement_Type::RootCircle:
    case Measurement_Type::TipCircle:
    case Measurement_Type::RoughnessProfile:
    case Measurement_Type::RoughnessLead:
    case Measurement_Type::RootScan:
    case Measurement_Type::FeedMark:
    case Measurement_Type::TopographyProfile:
    case Measurement_Type::TopographyLead:
    case Measurement_Type::CReference:
        break;
    }
    if (odd == nullptr) return {};
    if (index > kMaxMeasurementIndex) {
        GR_TRACE(2, "illegal index while getting measurement name: %u", index);
        return {};
    }
    if (index == 0) return "MAIN";
    if (index % 2 == 1) return odd + std::to_string((index + 1) / 2);
    return even + std::to_string(index / 2);
}

} // namespace kest::gear
