#include "calc/calculation_result.h"

#include <kest/gear/host/diagnostics.h>

#include "host/report.h"
#include "util/string_format.h"

namespace kest::gear::calc {

const char* notCalculable(const std::string& name) {
    std::string text;
    util::stl_string_format(text, "%s can not be calculated for given gear or not yet implemented",
                            name.c_str());
    return host::make_pp(text);
}

double passOn(const Result& result, const char* operation, Delivery delivery) {
    switch (result.kind) {
    case Result::Kind::Value:
    case Result::Kind::Unset:
        return result.value;
    case Result::Kind::Refused:
        GR_ERROR_LOG("%s", result.reason ? result.reason : "");
        return unsetValue;
    case Result::Kind::Failed:
        break;
    }
    const char* text = result.reason ? result.reason : "";
    switch (delivery) {
    case Delivery::Rethrow:
        GR_ERROR_LOG("GearCalculator::%s: %s", operation, text);
        throw host::make_pp(text);
    case Delivery::LogError:
        GR_ERROR_LOG("GearCalculator::%s: %s", operation, text);
        break;
    case Delivery::Trace:
        GR_TRACE(1, "GearCalculator::%s: %s", operation, text);
        break;
    }
    return unsetValue;
}

} // namespace kest::gear::calc
