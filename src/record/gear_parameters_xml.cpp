// The gear file's form of the general, additional and enabled parameters.

#include <kest/gear/gear_parameters.h>

#include "host/child_sync.h"
#include "host/xml_path.h"
#include "record/gear_file_xml.h"
#include "record/gear_parameters_xml.h"
#include "util/number_text.h"

#include <string>
#include <vector>

namespace kest::gear {

using namespace gear_file_xml;

// A name such as "a/b" or "x[@y=1]" would be taken for a path and write something that does not read back
// as the parameter.
bool isElementName(const std::string& name) {
    std::vector<host::PathStep> steps;
    return host::parseStepPath(name, steps) && steps.size() == 1 && !steps.front().any() &&
           steps.front().predicates.empty() && steps.front().name == name;
}

bool writeParameter(host::MSXMLWrapper& xml, host::XMLNode element, const Gear_General_Parameter& parameter) {
    if (!element) return false;
    bool result = xml.setDoubleValue("", parameter.value, element);
    if (!parameter.type.empty())
        return xml.addAttributeValue(element, kTypeAttribute, parameter.type) && result;
    xml.removeAttributeValue(element, kTypeAttribute);
    return result;
}

bool writeParameters(host::MSXMLWrapper& xml, host::XMLNode parent,
                     const std::vector<Gear_General_Parameter>& parameters) {
    if (!parent) return false;
    host::ChildSync children(parent, host::ChildSync::ownsAll);
    bool result = true;
    for (const Gear_General_Parameter& parameter : parameters)
        result = isElementName(parameter.name) &&
                 writeParameter(xml, children.take(parameter.name), parameter) && result;
    return result;
}

bool Gear_General_Parameter::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent) const {
    if (!xml || !parent || !isElementName(name)) return false;
    return writeParameter(*xml, xml->createNode(name, parent, true), *this);
}

bool Gear_General_Parameter::loadXML(host::MSXMLWrapper* xml, const host::XMLNode& element) {
    if (!xml || !element) return false;
    name = element.name();
    if (const char* text = element.attribute(kTypeAttribute))
        type = text;
    else
        type.clear();
    return xml->getDoubleValue("", value, element);
}

bool Gear_Additional_Parameter::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent) const {
    if (!xml || !parent || !isElementName(name)) return false;
    const host::XMLNode element = xml->createNode(name, parent, true);
    return element && writeParameters(*xml, element, parameters);
}

// Every child element is read, also after one that fails; the group holds exactly the children afterwards.
bool Gear_Additional_Parameter::loadXML(host::MSXMLWrapper* xml, const host::XMLNode& element) {
    if (!xml || !element) return false;
    name = element.name();
    parameters.clear();
    bool result = true;
    for (host::XMLNode child = element.firstChild(); child; child = child.nextSibling())
        result = parameters.emplace_back().loadXML(xml, child) && result;
    return result;
}

bool EnableDisable::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& node) const {
    return xml && xml->addAttributeValue(node, kEnabledAttribute, util::onOffText(enabled_));
}

bool EnableDisable::loadXML(host::MSXMLWrapper* xml, const host::XMLNode& node) {
    const char* text = xml ? node.attribute(kEnabledAttribute) : nullptr;
    return text && util::textToOnOff(text, enabled_);
}

} // namespace kest::gear
