#include "record/measurement_parameters.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <string_view>

namespace kest::gear {
namespace {

constexpr const char* kPositioningElement = "measurement/settings/positioning_parameters";
constexpr const char* kMeasuringElement = "measurement/settings/measuring_parameters";
constexpr const char* kClampingElement = "measurement/settings/clamping";
constexpr const char* kAdditionalElement = "measurement/settings/additional_parameters";

using Clamping = GearMeasuringParameters::Clamping_Type;

struct ClampingRow {
    Clamping value;
    std::string_view text;
};
// The first row is the default: it is not written, and a missing or unknown text reads as it.
constexpr std::array kClampings{
    ClampingRow{Clamping::DatumSideUp, "datum side up"},
    ClampingRow{Clamping::NonDatumSideUp, "non-datum side up"},
};

// The measuring parameters of one kind live in a container carrying the kind as attribute "type".
std::string measuringContainer(Measurement_Type type) {
    return std::string(kMeasuringElement) + "[@type='" + Measurement_Type_2_string(type) + "']";
}

} // namespace

bool PositioningParameters::clear() {
    parameters_.clear();
    return true;
}

unsigned int PositioningParameters::getAll(std::vector<Gear_General_Parameter>* out) const {
    if (out) *out = parameters_;
    return static_cast<unsigned int>(parameters_.size());
}

bool PositioningParameters::set(const std::string& name, double value) {
    bool found = false;
    for (Gear_General_Parameter& parameter : parameters_) {
        if (parameter.name != name) continue;
        parameter = Gear_General_Parameter(name, "", value);
        found = true;
    }
    if (!found) parameters_.emplace_back(name, "", value);
    return true;
}

// A positioning parameter has no type; a "type" attribute in the file is not taken over.
bool PositioningParameters::load(host::MSXMLWrapper& xml, const std::string&) {
    bool result = true;
    const host::XMLNode parent = xml.getNode(kPositioningElement);
    if (!parent) return true;
    for (const host::XMLNode child : xml.getNodes("*", parent)) {
        Gear_General_Parameter& parameter = parameters_.emplace_back(child.name());
        result = xml.getDoubleValue("", parameter.value, child) && result;
    }
    return result;
}

bool PositioningParameters::save(host::MSXMLWrapper& xml) const {
    if (!xml.deleteNodes(kPositioningElement)) return false;
    if (parameters_.empty()) return true;
    const host::XMLNode parent = xml.createNode(kPositioningElement);
    bool result = static_cast<bool>(parent);
    for (const Gear_General_Parameter& parameter : parameters_)
        result = Gear_General_Parameter(parameter.name, "", parameter.value).saveXML(&xml, parent) && result;
    return result;
}

bool MeasuringParameters::clear() {
    parameters_.clear();
    clamping_ = kClampings.front().value;
    return true;
}

unsigned int MeasuringParameters::getAll(std::vector<Gear_Measuring_Parameter>* out) const {
    if (out) *out = parameters_;
    return static_cast<unsigned int>(parameters_.size());
}

bool MeasuringParameters::set(Measurement_Type type, const std::string& name, double value,
                              const std::string& parameterType) {
    bool found = false;
    for (Gear_Measuring_Parameter& parameter : parameters_) {
        if (parameter.type != type || parameter.parameter.name != name) continue;
        parameter.parameter = Gear_General_Parameter(name, parameterType, value);
        found = true;
    }
    if (!found) parameters_.push_back({type, Gear_General_Parameter(name, parameterType, value)});
    return true;
}

bool MeasuringParameters::load(host::MSXMLWrapper& xml, const std::string&) {
    bool result = true;
    const bool any = static_cast<bool>(xml.getNode(kMeasuringElement));
    for (const Measurement_Type type : any ? allMeasurementTypes() : std::span<const Measurement_Type>()) {
        for (const host::XMLNode child : xml.getNodes(measuringContainer(type) + "/*")) {
            Gear_Measuring_Parameter& parameter = parameters_.emplace_back();
            parameter.type = type;
            result = parameter.parameter.loadXML(&xml, child) && result;
        }
    }
    clamping_ = kClampings.front().value;
    std::string text;
    if (xml.getStringValue(kClampingElement, text)) {
        const auto row = std::ranges::find(kClampings, std::string_view(text), &ClampingRow::text);
        if (row != kClampings.end()) clamping_ = row->value;
    }
    return result;
}

bool MeasuringParameters::save(host::MSXMLWrapper& xml) const {
    bool result = xml.deleteNodes(kMeasuringElement);
    for (const Gear_Measuring_Parameter& parameter : parameters_)
        result =
            parameter.parameter.saveXML(&xml, xml.createNode(measuringContainer(parameter.type))) && result;
    result = xml.deleteNodes(kClampingElement) && result;
    if (clamping_ != kClampings.front().value) {
        const auto row = std::ranges::find(kClampings, clamping_, &ClampingRow::value);
        result = row != kClampings.end() && xml.setStringValue(kClampingElement, row->text) && result;
    }
    return result;
}

bool AdditionalParameters::clear() {
    groups_.clear();
    return true;
}

unsigned int AdditionalParameters::getAll(std::vector<Gear_Additional_Parameter>* out) const {
    if (out) *out = groups_;
    return static_cast<unsigned int>(groups_.size());
}

bool AdditionalParameters::set(const std::string& group, const std::string& name, double value,
                               const std::string& parameterType) {
    auto found = std::ranges::find(groups_, group, &Gear_Additional_Parameter::name);
    if (found == groups_.end()) {
        found = groups_.emplace(groups_.end());
        found->name = group;
    }
    return found->set_general_parameter(name, parameterType, value);
}

// Unlike the other sections, the file's groups replace what the gear holds; without groups in the file the
// gear keeps its own.
bool AdditionalParameters::load(host::MSXMLWrapper& xml) {
    const host::XMLNode parent = xml.getNode(kAdditionalElement);
    if (!parent) return true;
    const host::XMLNodeList children = xml.getNodes("*", parent);
    if (children.empty()) return true;
    groups_.clear();
    bool result = true;
    for (const host::XMLNode child : children)
        result = groups_.emplace_back().loadXML(&xml, child) && result;
    return result;
}

bool AdditionalParameters::save(host::MSXMLWrapper& xml) const {
    if (!xml.deleteNodes(kAdditionalElement)) return false;
    if (groups_.empty()) return true;
    const host::XMLNode parent = xml.createNode(kAdditionalElement);
    bool result = static_cast<bool>(parent);
    for (const Gear_Additional_Parameter& group : groups_)
        result = group.saveXML(&xml, parent) && result;
    return result;
}

} // namespace kest::gear
