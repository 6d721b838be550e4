#include "measurement/measurement_xml.h"

#include "host/report.h"
#include "util/number_text.h"

#include <algorithm>
#include <limits>
#include <string>

namespace kest::gear::measurement_xml {

std::size_t kindRank(Measurement_Type type) {
    const auto kinds = allMeasurementTypes();
    return static_cast<std::size_t>(std::ranges::find(kinds, type) - kinds.begin());
}

namespace {

// The index as atoi reads it; `whole` tells whether the whole text was a number. returns false when the
// number is outside the unsigned 32-bit range.
bool parseIndex(const std::string& text, long& index, bool& whole) {
    whole = util::textToLong(text, index, true);
    return index >= 0 && static_cast<unsigned long>(index) <= std::numeric_limits<unsigned int>::max();
}

} // namespace

unsigned int readMeasurementIndex(const host::MSXMLWrapper& xml, host::XMLNode node) {
    std::string text;
    if (!xml.getAttributeValue(node, kMeasurementIndexAttribute, text)) {
        GR_TRACE(1, "element '%s' has no measurement_index, read as 0", node.name());
        return 0;
    }
    long index = 0;
    bool whole = false;
    const bool inRange = parseIndex(text, index, whole);
    if (!whole || !inRange) {
        GR_TRACE(1, "element '%s': measurement_index '%s' is not a number from 0 to 4294967295, read as %ld",
                 node.name(), text.c_str(), inRange ? index : 0L);
    }
    return inRange ? static_cast<unsigned int>(index) : 0;
}

std::string identityKey(const host::MSXMLWrapper& xml, host::XMLNode node) {
    Gear_Measurement_Info info;
    std::string text;
    std::string key;
    if (xml.getAttributeValue(node, kSideAttribute, text)) key = text;
    text.clear();
    xml.getAttributeValue(node, kToothAttribute, text);
    key += '\0';
    key += info.setTooth(text) ? info.teeth_2_string(true) : text;
    long index = 0;
    bool whole = false;
    text.clear();
    xml.getAttributeValue(node, kMeasurementIndexAttribute, text);
    key += '\0';
    key += util::formatInteger(parseIndex(text, index, whole) ? index : 0L);
    return key;
}

std::string identityKey(const Gear_Measurement_Info& info) {
    return info.side_2_string() + '\0' + info.teeth_2_string(true) + '\0' +
           util::formatInteger(info.measurementIndex);
}

bool writeIdentity(host::MSXMLWrapper& xml, host::XMLNode node, const Gear_Measurement_Info& info,
                   IdentityOrder order) {
    const bool sideFirst = order == IdentityOrder::SideFirst;
    bool result = !sideFirst || xml.addAttributeValue(node, kSideAttribute, info.side_2_string());
    result = xml.addAttributeValue(node, kToothAttribute, info.teeth_2_string(true)) && result;
    result = (sideFirst || xml.addAttributeValue(node, kSideAttribute, info.side_2_string())) && result;
    return xml.addAttributeValue(node, kMeasurementIndexAttribute,
                                 util::formatInteger(info.measurementIndex)) &&
           result;
}

} // namespace kest::gear::measurement_xml
