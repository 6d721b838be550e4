#include "measurement/measurement_xml.h"

#include <kest/gear/tooth_count.h>

#include "host/report.h"
#include "host/user_text_xml.h"
#include "util/listed.h"
#include "util/number_text.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

namespace kest::gear::measurement_xml {

std::size_t kindRank(Measurement_Type type) {
    const auto kinds = allMeasurementTypes();
    return static_cast<std::size_t>(std::ranges::find(kinds, type) - kinds.begin());
}

bool readsBack(const Gear_Measurement_Info& info) {
    const auto toothReads = [](unsigned int tooth) {
        return tooth != 0 && tooth <= static_cast<unsigned int>(maxNumberOfTeeth);
    };
    return util::listed(allMeasurementTypes(), info.type) && util::listed(allSides(), info.side) &&
           info.teeth.size() <= maxToothListLength && std::ranges::all_of(info.teeth, toothReads);
}

namespace {

// The index as atoi reads it; `whole` tells whether the whole text was a number. returns false when the
// number is outside the unsigned 32-bit range. A plain number of up to nine digits, the common form, is read
// without strtol: it is whole and in range.
bool parseIndex(const char* text, long& index, bool& whole) {
    long value = 0;
    std::size_t n = 0;
    for (; n < 10 && text[n] >= '0' && text[n] <= '9'; ++n)
        value = value * 10 + (text[n] - '0');
    if (n != 0 && n < 10 && text[n] == '\0') {
        index = value;
        whole = true;
        return true;
    }
    whole = util::textToLong(text, index, true);
    return index >= 0 && static_cast<unsigned long>(index) <= std::numeric_limits<unsigned int>::max();
}

} // namespace

unsigned int readMeasurementIndex(const host::MSXMLWrapper&, host::XMLNode node) {
    return readMeasurementIndex(node.attribute(kMeasurementIndexAttribute), node.name());
}

unsigned int readMeasurementIndex(const char* text, const char* element) {
    if (text == nullptr) {
        GR_TRACE(1, "element '%s' has no measurement_index, read as 0", element);
        return 0;
    }
    long index = 0;
    bool whole = false;
    const bool inRange = parseIndex(text, index, whole);
    if (!whole || !inRange) {
        GR_TRACE(1, "element '%s': measurement_index '%s' is not a number from 0 to 4294967295, read as %ld",
                 element, text, inRange ? index : 0L);
    }
    return inRange ? static_cast<unsigned int>(index) : 0;
}

IdentityTexts identityTexts(host::XMLNode node) {
    static constexpr const char* names[] = {kSideAttribute, kToothAttribute, kMeasurementIndexAttribute,
                                            host::kBase64Attribute};
    const char* values[std::size(names)];
    node.attributes(names, values, std::size(names));
    return {values[0], values[1], values[2], values[3]};
}

// An attribute that is missing reads as an empty text.
std::string identityKey(const host::MSXMLWrapper&, host::XMLNode node) {
    const auto attribute = [node](const char* name) {
        const char* text = node.attribute(name);
        return text != nullptr ? text : "";
    };
    Gear_Measurement_Info info;
    std::string key = attribute(kSideAttribute);
    const char* teeth = attribute(kToothAttribute);
    key += '\0';
    key += info.setTooth(teeth) ? info.teeth_2_string(true) : teeth;
    long index = 0;
    bool whole = false;
    key += '\0';
    key += util::formatInteger(parseIndex(attribute(kMeasurementIndexAttribute), index, whole) ? index : 0L);
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
