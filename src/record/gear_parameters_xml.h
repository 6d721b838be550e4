#pragma once

// Writing general parameters in place: each parameter is the child element of its name, valued by its text
// and typed by attribute "type".

#include <kest/gear/gear_parameters.h>
#include <kest/gear/host/msxml_wrapper.h>

#include <string>
#include <vector>

namespace kest::gear {

// A parameter becomes an element of its own name, so the name has to be one plain element name.
bool isElementName(const std::string& name);

// Sets the value and the type of the parameter's element; an empty type removes the attribute.
bool writeParameter(host::MSXMLWrapper& xml, host::XMLNode element, const Gear_General_Parameter& parameter);

// Makes the parameters the children of `parent`, in place: an existing child of a parameter's name keeps
// what the library does not know, and children no parameter names any more are deleted. returns false for
// an empty parent or a failed write (the others are still made).
bool writeParameters(host::MSXMLWrapper& xml, host::XMLNode parent,
                     const std::vector<Gear_General_Parameter>& parameters);

} // namespace kest::gear
