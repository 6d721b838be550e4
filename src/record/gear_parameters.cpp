#include <kest/gear/gear_parameters.h>

#include "host/xml_path.h"
#include "util/number_text.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kest::gear {
namespace {

constexpr const char* kTypeAttribute = "type";
constexpr const char* kEnabledAttribute = "enabled";

// A parameter becomes an element of its own name, so the name has to be one plain element name: a name such
// as "a/b" or "x[@y=1]" would be taken for a path and write something that does not read back as the
// parameter.
bool isElementName(const std::string& name) {
    std::vector<host::PathStep> steps;
    return host::parseStepPath(name, steps) && steps.size() == 1 && !steps.front().any() &&
           steps.front().predicates.empty() && steps.front().name == name;
}

} // namespace

bool Gear_General_Parameter::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent) const {
    if (!xml || !parent || !isElementName(name)) return false;
    const host::XMLNode element = xml->createNode(name, parent, true);
    if (!element) return false;
    bool result = xml->setDoubleValue("", value, element);
    if (!type.empty()) result = xml->addAttributeValue(element, kTypeAttribute, type) && result;
    return result;
}

bool Gear_General_Parameter::loadXML(host::MSXMLWrapper* xml, const host::XMLNode& element) {
    if (!xml || !element) return false;
    name = element.name();
    if (!xml->getAttributeValue(element, kTypeAttribute, type)) type.clear();
    return xml->getDoubleValue("", value, element);
}

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

bool Gear_Additional_Parameter::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent) const {
    if (!xml || !parent || !isElementName(name)) return false;
    const host::XMLNode element = xml->createNode(name, parent, true);
    if (!element) return false;
    bool result = true;
    for (const Gear_General_Parameter& parameter : parameters)
        result = parameter.saveXML(xml, element) && result;
    return result;
}

// Every child element is read, also after one that fails; the group holds exactly the children afterwards.
bool Gear_Additional_Parameter::loadXML(host::MSXMLWrapper* xml, const host::XMLNode& element) {
    if (!xml || !element) return false;
    name = element.name();
    parameters.clear();
    bool result = true;
    for (const host::XMLNode child : xml->getNodes("*", element)) {
        Gear_General_Parameter parameter;
        result = parameter.loadXML(xml, child) && result;
        parameters.push_back(std::move(parameter));
    }
    return result;
}

bool EnableDisable::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& node) const {
    return xml && xml->addAttributeValue(node, kEnabledAttribute, util::onOffText(enabled_));
}

bool EnableDisable::loadXML(host::MSXMLWrapper* xml, const host::XMLNode& node) {
    std::string text;
    return xml && xml->getAttributeValue(node, kEnabledAttribute, text) && util::textToOnOff(text, enabled_);
}

} // namespace kest::gear
