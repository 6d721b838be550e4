// The gear file's form of path points, paths and point definitions.

#include <kest/gear/measurement_path.h>

#include "host/child_sync.h"
#include "measurement/measurement_xml.h"
#include "util/listed.h"
#include "util/number_text.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace kest::gear {
namespace {

using namespace measurement_xml;

using ReferenceKind = bool (*)(Reference);

// Reads the number text of the element and its reference, which must be of the given kind. The value is
// taken when it reads, even when the reference then fails.
bool readValue(const host::MSXMLWrapper& xml, host::XMLNode element, ReferenceKind isOfKind, double& value,
               Reference& reference) {
    if (!element || !xml.getDoubleValue({}, value, element)) return false;
    const char* text = element.attribute(kReferenceAttribute);
    Reference read{};
    if (!text || !string_2_Reference(text, &read) || !isOfKind(read)) return false;
    reference = read;
    return true;
}

bool writeValue(host::MSXMLWrapper& xml, host::XMLNode element, double value, Reference reference) {
    return element && xml.addAttributeValue(element, kReferenceAttribute, Reference_2_string(reference)) &&
           xml.setDoubleValue("", value, element);
}

bool isValueElement(host::XMLNode node) {
    const std::string_view name = node.name();
    return name == kPositionElement || name == kHeightElement;
}

bool isPointElement(host::XMLNode node) {
    return std::string_view(node.name()) == kPointElement;
}

// A lenient number in the attribute; `value` is changed only when it converts.
bool readDoubleAttribute(host::XMLNode node, const char* name, double& value) {
    const char* text = node.attribute(name);
    double read = 0.0;
    if (!text || !util::textToDouble(text, read, false)) return false;
    value = read;
    return true;
}

// The identifier of a path point: a lenient whole number from 1 to the largest unsigned 32-bit value.
bool readPointId(host::XMLNode point, unsigned int& id) {
    const char* text = point.attribute(kIdAttribute);
    if (!text) return false;
    // A few digits alone, the form the writers give, read directly.
    long value = 0;
    const char* p = text;
    for (; *p >= '0' && *p <= '9' && p - text < 9; ++p)
        value = value * 10 + (*p - '0');
    if ((*p != '\0' || p == text) && !util::textToLong(text, value, false)) return false;
    if (value <= 0 || static_cast<unsigned long>(value) > std::numeric_limits<unsigned int>::max())
        return false;
    id = static_cast<unsigned int>(value);
    return true;
}

} // namespace

namespace measurement_xml {

bool readsBack(const MeasurementPathPoint& point) {
    return isProfileReference(point.positionReference) && isLeadReference(point.heightReference);
}

bool writePathPoint(host::MSXMLWrapper& xml, host::XMLNode element, unsigned int id,
                    const MeasurementPathPoint& point) {
    if (!element || !xml.addAttributeValue(element, kIdAttribute, util::formatInteger(id))) return false;
    host::ChildSync values(element, isValueElement);
    const bool position =
        writeValue(xml, values.take(kPositionElement), point.position, point.positionReference);
    return writeValue(xml, values.take(kHeightElement), point.height, point.heightReference) && position;
}

bool writePointDefinition(host::MSXMLWrapper& xml, host::XMLNode element, const PointDefinition& point) {
    // a reference without a name would be written as a text that a load refuses
    if (!element || !util::listed(allReferences(), point.reference)) return false;
    bool result = xml.addAttributeValue(element, kPositionAttribute,
                                        util::formatDouble(point.position, util::kAttributeDecimals));
    result = xml.addAttributeValue(element, kVariationAttribute,
                                   util::formatDouble(point.variation, util::kAttributeDecimals)) &&
             result;
    return xml.addAttributeValue(element, kReferenceAttribute, Reference_2_string(point.reference)) && result;
}

host::XMLNode pointElement(host::ChildSync& points, unsigned int id) {
    return points.take(kPointElement, {util::formatInteger(id)});
}

bool isPathPoint(host::XMLNode node) {
    return isPointElement(node);
}

} // namespace measurement_xml

bool MeasurementPathPoint::loadXML(host::MSXMLWrapper* xml, host::XMLNode node) {
    if (!xml || !node) return false;
    return readValue(*xml, node.child(kPositionElement), isProfileReference, position, positionReference) &&
           readValue(*xml, node.child(kHeightElement), isLeadReference, height, heightReference);
}

bool MeasurementPathPoint::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent,
                                   unsigned int id) const {
    if (!xml || !parent) return false;
    return writePathPoint(*xml, xml->createNode(kPointElement, parent, true), id, *this);
}

bool MeasurementPath::loadXML(host::MSXMLWrapper* xml, host::XMLNode node) {
    if (!xml || !node) return false;
    bool result = true;
    for (host::XMLNode pointNode = node.child(kPointElement); pointNode;
         pointNode = pointNode.nextNamesake()) {
        unsigned int id = 0;
        if (!readPointId(pointNode, id)) {
            result = false;
            continue;
        }
        // Unset references, so that a point that does not read cannot pass for one in the first reference.
        MeasurementPathPoint point(0.0, static_cast<Reference>(-1), 0.0, static_cast<Reference>(-1));
        if (!point.loadXML(xml, pointNode)) {
            result = false;
            continue;
        }
        // The points come mostly in identifier order: the end is the likely place.
        if (points_.empty() || points_.rbegin()->first < id)
            points_.emplace_hint(points_.end(), id, point);
        else if (!points_.emplace(id, point).second)
            result = false;
    }
    return result;
}

// The points are written in place: a point element of the same identifier keeps what the library does not
// know, and point elements of identifiers no longer in the path are deleted.
bool MeasurementPath::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& node) const {
    if (!xml || !node) return false;
    host::ChildSync points(node, isPointElement, {kIdAttribute});
    bool result = true;
    for (const auto& [id, point] : points_) {
        // left out, as is identifier 0, which a load refuses too (see readsBack)
        if (id == 0 || !readsBack(point)) {
            result = false;
            continue;
        }
        result = writePathPoint(*xml, pointElement(points, id), id, point) && result;
    }
    return result;
}

bool PointDefinition::loadXML(host::MSXMLWrapper* xml, host::XMLNode node) {
    if (!xml || !node) return false;
    bool result = readDoubleAttribute(node, kPositionAttribute, position);
    result = readDoubleAttribute(node, kVariationAttribute, variation) && result;
    const char* text = node.attribute(kReferenceAttribute);
    return text && string_2_Reference(text, &reference) && result;
}

bool PointDefinition::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent,
                              host::XMLNode& written) const {
    if (!xml || !parent) return false;
    written = xml->createNode(kPointElement, parent, true);
    return measurement_xml::writePointDefinition(*xml, written, *this);
}

} // namespace kest::gear
