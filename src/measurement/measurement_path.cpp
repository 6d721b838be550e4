#include <kest/gear/measurement_path.h>

#include "util/number_text.h"

#include <limits>
#include <string>

namespace kest::gear {
namespace {

constexpr const char* kPointElement = "point";
constexpr const char* kPositionElement = "position";
constexpr const char* kHeightElement = "height";
constexpr const char* kIdAttribute = "id";
constexpr const char* kReferenceAttribute = "reference";
constexpr const char* kPositionAttribute = "position";
constexpr const char* kVariationAttribute = "variation";

using ReferenceKind = bool (*)(Reference);

// Reads the number text of the child element `name` and its reference, which must be of the given kind.
bool readValue(const host::MSXMLWrapper& xml, host::XMLNode node, const char* name, ReferenceKind isOfKind,
               double& value, Reference& reference) {
    const host::XMLNode element = xml.getNode(name, node);
    if (!element || !xml.getDoubleValue("", value, element)) return false;
    std::string text;
    Reference read{};
    if (!xml.getAttributeValue(element, kReferenceAttribute, text) || !string_2_Reference(text, &read) ||
        !isOfKind(read))
        return false;
    reference = read;
    return true;
}

bool writeValue(host::MSXMLWrapper& xml, host::XMLNode point, const char* name, double value,
                Reference reference) {
    const host::XMLNode element = xml.createNode(name, point, true);
    return element && xml.addAttributeValue(element, kReferenceAttribute, Reference_2_string(reference)) &&
           xml.setDoubleValue("", value, element);
}

// A lenient number in the attribute; `value` is changed only when it converts.
bool readDoubleAttribute(const host::MSXMLWrapper& xml, host::XMLNode node, const char* name, double& value) {
    std::string text;
    double read = 0.0;
    if (!xml.getAttributeValue(node, name, text) || !util::textToDouble(text, read, false)) return false;
    value = read;
    return true;
}

// The identifier of a path point: a lenient whole number from 1 to the largest unsigned 32-bit value.
bool readPointId(const host::MSXMLWrapper& xml, host::XMLNode point, unsigned int& id) {
    std::string text;
    long value = 0;
    if (!xml.getAttributeValue(point, kIdAttribute, text) || !util::textToLong(text, value, false))
        return false;
    if (value <= 0 || static_cast<unsigned long>(value) > std::numeric_limits<unsigned int>::max())
        return false;
    id = static_cast<unsigned int>(value);
    return true;
}

} // namespace

MeasurementPathPoint::~MeasurementPathPoint() = default;

bool MeasurementPathPoint::loadXML(host::MSXMLWrapper* xml, host::XMLNode node) {
    if (!xml || !node) return false;
    return readValue(*xml, node, kPositionElement, isProfileReference, position, positionReference) &&
           readValue(*xml, node, kHeightElement, isLeadReference, height, heightReference);
}

bool MeasurementPathPoint::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent,
                                   unsigned int id) const {
    if (!xml || !parent) return false;
    const host::XMLNode point = xml->createNode(kPointElement, parent, true);
    return point && xml->addAttributeValue(point, kIdAttribute, std::to_string(id)) &&
           writeValue(*xml, point, kPositionElement, position, positionReference) &&
           writeValue(*xml, point, kHeightElement, height, heightReference);
}

MeasurementPath::~MeasurementPath() = default;

bool MeasurementPath::loadXML(host::MSXMLWrapper* xml, host::XMLNode node) {
    if (!xml || !node) return false;
    bool result = true;
    for (const host::XMLNode pointNode : xml->getNodes(kPointElement, node)) {
        unsigned int id = 0;
        if (!readPointId(*xml, pointNode, id)) {
            result = false;
            continue;
        }
        // Unset references, so that a point that does not read cannot pass for one in the first reference.
        MeasurementPathPoint point(0.0, static_cast<Reference>(-1), 0.0, static_cast<Reference>(-1));
        if (!point.loadXML(xml, pointNode) || !addPoint(id, point)) result = false;
    }
    return result;
}

bool MeasurementPath::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& node) const {
    if (!xml || !node) return false;
    for (const auto& [id, point] : points_)
        if (!point.saveXML(xml, node, id)) return false;
    return true;
}

bool MeasurementPath::setPoints(const std::vector<MeasurementPathPoint>& points) {
    points_.clear();
    unsigned int id = 0;
    for (const MeasurementPathPoint& point : points)
        points_.emplace(++id, point);
    return true;
}

bool MeasurementPath::getPoints(std::vector<MeasurementPathPoint>* points) const {
    if (!points) return false;
    points->clear();
    for (const auto& entry : points_)
        points->push_back(entry.second);
    return true;
}

bool MeasurementPath::addPoint(unsigned int id, const MeasurementPathPoint& point) {
    return points_.emplace(id, point).second;
}

PointDefinition::~PointDefinition() = default;

bool PointDefinition::loadXML(host::MSXMLWrapper* xml, host::XMLNode node) {
    if (!xml || !node) return false;
    bool result = readDoubleAttribute(*xml, node, kPositionAttribute, position);
    result = readDoubleAttribute(*xml, node, kVariationAttribute, variation) && result;
    std::string text;
    result = xml->getAttributeValue(node, kReferenceAttribute, text) &&
             string_2_Reference(text, &reference) && result;
    return result;
}

bool PointDefinition::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent,
                              host::XMLNode& written) const {
    if (!xml || !parent) return false;
    written = xml->createNode(kPointElement, parent, true);
    if (!written) return false;
    bool result = xml->addAttributeValue(written, kPositionAttribute,
                                         util::formatDouble(position, util::kAttributeDecimals));
    result = xml->addAttributeValue(written, kVariationAttribute,
                                    util::formatDouble(variation, util::kAttributeDecimals)) &&
             result;
    return xml->addAttributeValue(written, kReferenceAttribute, Reference_2_string(reference)) && result;
}

} // namespace kest::gear
