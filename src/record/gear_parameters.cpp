#include <kest/gear/gear_parameters.h>

#include <algorithm>
#include <string>

namespace kest::gear {

bool Gear_Additional_Parameter::set_general_parameter(const std::string& parameterName,
                                                      const std::string& parameterType, double value) {
    const auto it = std::ranges::find(parameters, parameterName, &Gear_General_Parameter::name);
    if (it == parameters.end()) {
        parameters.emplace_back(parameterName, parameterType, value);
    } else {
        it->type = parameterType;
        it->value = value;
    }
    return true;
}

bool Gear_Additional_Parameter::get_general_parameter(const std::string& parameterName,
                                                      Gear_General_Parameter* out) const {
    const auto it = std::ranges::find(parameters, parameterName, &Gear_General_Parameter::name);
    if (out == nullptr || it == parameters.end()) return false;
    *out = *it;
    return true;
}

bool Gear_Additional_Parameter::operator<(const Gear_Additional_Parameter& other) const {
    if (name != other.name) return name < other.name;
    return std::lexicographical_compare(parameters.begin(), parameters.end(), other.parameters.begin(),
                                        other.parameters.end());
}

} // namespace kest::gear
