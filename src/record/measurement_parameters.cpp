#include "record/measurement_parameters.h"

#include "host/child_sync.h"
#include "measurement/measurement_xml.h"
#include "record/gear_file_xml.h"
#include "record/gear_parameters_xml.h"
#include "record/measurement_settings.h"
#include "util/listed.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace kest::gear {
namespace {

using namespace gear_file_xml;

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

// The element `name` below "measurement/settings"; empty when there is none.
host::XMLNode settingsChild(const host::MSXMLWrapper& xml, const char* name) {
    return settingsElement(xml).child(name);
}

// The element `name` below "measurement/settings", made when missing.
host::XMLNode makeSettingsChild(host::MSXMLWrapper& xml, const char* name) {
    return host::childElement(xml, xml.createNode(kSettingsPath), name);
}

// Writes a group of parameters into the element `name` below "measurement/settings", in place; without
// parameters the element goes.
bool saveGroup(host::MSXMLWrapper& xml, const char* name,
               const std::vector<Gear_General_Parameter>& parameters) {
    if (parameters.empty()) {
        if (const host::XMLNode group = settingsChild(xml, name)) xml.deleteNodes(name, group.parent());
        return true;
    }
    return writeParameters(xml, makeSettingsChild(xml, name), parameters);
}

// The measuring parameters of one kind live in a container carrying the kind as attribute "type".
bool isMeasuringContainer(host::XMLNode node, Measurement_Type& type) {
    if (std::string_view(node.name()) != kMeasuringElement) return false;
    const char* text = node.attribute(kTypeAttribute);
    return text && string_2_Measurement_Type(text, &type);
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
bool PositioningParameters::load(host::MSXMLWrapper& xml, host::XMLNode settings) {
    bool result = true;
    const host::XMLNode parent = settings.child(kPositioningElement);
    if (!parent) return true;
    for (host::XMLNode child = parent.firstChild(); child; child = child.nextSibling()) {
        Gear_General_Parameter& parameter = parameters_.emplace_back(child.name());
        result = xml.getDoubleValue("", parameter.value, child) && result;
    }
    return result;
}

bool PositioningParameters::save(host::MSXMLWrapper& xml) const {
    std::vector<Gear_General_Parameter> untyped;
    for (const Gear_General_Parameter& parameter : parameters_)
        untyped.emplace_back(parameter.name, "", parameter.value);
    return saveGroup(xml, kPositioningElement, untyped);
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

// The containers are read kind by kind, each kind's in document order.
bool MeasuringParameters::load(host::MSXMLWrapper& xml, host::XMLNode settings) {
    bool result = true;
    struct Container {
        std::size_t rank;
        host::XMLNode node;
        Measurement_Type type;
    };
    std::vector<Container> containers;
    for (host::XMLNode node = settings.firstChild(); node; node = node.nextSibling()) {
        Measurement_Type type{};
        if (isMeasuringContainer(node, type))
            containers.push_back({measurement_xml::kindRank(type), node, type});
    }
    if (!std::ranges::is_sorted(containers, {}, &Container::rank))
        std::ranges::stable_sort(containers, {}, &Container::rank);
    for (const Container& container : containers) {
        for (host::XMLNode child = container.node.firstChild(); child; child = child.nextSibling()) {
            Gear_Measuring_Parameter& parameter = parameters_.emplace_back();
            parameter.type = container.type;
            result = parameter.parameter.loadXML(&xml, child) && result;
        }
    }
    clamping_ = kClampings.front().value;
    if (const host::XMLNode clamping = settings.child(kClampingElement)) {
        const auto row = std::ranges::find(kClampings, std::string_view(clamping.text()), &ClampingRow::text);
        if (row != kClampings.end()) clamping_ = row->value;
    }
    return result;
}

// One container per kind, in the order in which the kinds first occur, each written in place.
bool MeasuringParameters::save(host::MSXMLWrapper& xml) const {
    host::XMLNode settings = settingsElement(xml);
    const bool clamped = clamping_ != kClampings.front().value;
    if (!settings && parameters_.empty() && !clamped) return true;
    if (!settings) settings = xml.createNode(kSettingsPath);
    bool result = true;
    {
        host::ChildSync containers(settings,
                                   [](host::XMLNode node) {
                                       Measurement_Type type{};
                                       return isMeasuringContainer(node, type);
                                   },
                                   {kTypeAttribute});
        std::vector<Measurement_Type> kinds;
        for (const Gear_Measuring_Parameter& parameter : parameters_)
            if (std::ranges::find(kinds, parameter.type) == kinds.end()) kinds.push_back(parameter.type);
        for (const Measurement_Type kind : kinds) {
            // a kind without a text would be written as one a load passes over, losing its parameters
            if (!util::listed(allMeasurementTypes(), kind)) {
                result = false;
                continue;
            }
            const std::string kindText = Measurement_Type_2_string(kind);
            const host::XMLNode container = containers.take(kMeasuringElement, {kindText});
            std::vector<Gear_General_Parameter> ofKind;
            for (const Gear_Measuring_Parameter& parameter : parameters_)
                if (parameter.type == kind) ofKind.push_back(parameter.parameter);
            result = xml.addAttributeValue(container, kTypeAttribute, kindText) &&
                     writeParameters(xml, container, ofKind) && result;
        }
    }
    if (!clamped) {
        xml.deleteNodes(kClampingElement, settings);
        return result;
    }
    const auto row = std::ranges::find(kClampings, clamping_, &ClampingRow::value);
    return row != kClampings.end() &&
           xml.setStringValue("", row->text, host::childElement(xml, settings, kClampingElement)) && result;
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
bool AdditionalParameters::load(host::MSXMLWrapper& xml, host::XMLNode settings) {
    const host::XMLNode parent = settings.child(kAdditionalElement);
    if (!parent) return true;
    host::XMLNode child = parent.firstChild();
    if (!child) return true;
    groups_.clear();
    bool result = true;
    for (; child; child = child.nextSibling())
        result = groups_.emplace_back().loadXML(&xml, child) && result;
    return result;
}

// The groups are written in place, each group's parameters too.
bool AdditionalParameters::save(host::MSXMLWrapper& xml) const {
    if (groups_.empty()) return saveGroup(xml, kAdditionalElement, {});
    const host::XMLNode parent = makeSettingsChild(xml, kAdditionalElement);
    host::ChildSync elements(parent, host::ChildSync::ownsAll);
    bool result = static_cast<bool>(parent);
    for (const Gear_Additional_Parameter& group : groups_)
        result = isElementName(group.name) &&
                 writeParameters(xml, elements.take(group.name), group.parameters) && result;
    return result;
}

} // namespace kest::gear
