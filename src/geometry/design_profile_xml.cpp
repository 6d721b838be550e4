// Design profiles in the gear file: element "design_profile" with "part" children, each with "point"
// children.

#include <kest/gear/design_profile.h>

#include "geometry/design_profile_xml.h"
#include "util/listed.h"
#include "util/number_text.h"

#include <limits>

namespace kest::gear {
namespace {

using namespace design_profile_xml;

// The id of a point element: read leniently, refused when negative or beyond unsigned int.
bool readPointId(const host::MSXMLWrapper& xml, host::XMLNode point, unsigned int& id) {
    std::string text;
    long value = 0;
    if (!xml.getAttributeValue(point, kIdAttribute, text) || !util::textToLong(text, value, false) ||
        value < 0 || static_cast<unsigned long>(value) > std::numeric_limits<unsigned int>::max())
        return false;
    id = static_cast<unsigned int>(value);
    return true;
}

} // namespace

bool DesignProfilePart::loadXML(host::MSXMLWrapper* xml, host::XMLNode node) {
    if (!xml || !node) return false;
    std::string text;
    bool result = xml->getAttributeValue(node, kRegressionAttribute, text) &&
                  string_2_regressionType(text, &regressionType_);
    // A line has no crowning; a crowning written on one is not read.
    if (regressionType_ == RegressionType::Parabola) {
        double crowning = 0.0;
        const bool read = xml->getAttributeValue(node, kCrowningAttribute, text) &&
                          util::textToDouble(text, crowning, false);
        if (read) crowning_ = crowning;
        result = read && result;
    }
    for (const host::XMLNode pointNode : xml->getNodes(kPointElement, node)) {
        unsigned int id = 0;
        // No reference until the element names one.
        PointDefinition point(0.0, 0.0, static_cast<Reference>(-1));
        const bool read = readPointId(*xml, pointNode, id) && point.loadXML(xml, pointNode);
        result = read && addPoint(id, point) && result;
    }
    return result;
}

bool DesignProfilePart::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent) const {
    if (!xml || !parent) return false;
    // a regression type without a name would be written as a text that a load refuses
    if (!util::listed(allRegressionTypes(), regressionType_)) return false;
    const host::XMLNode part = xml->createNode(kPartElement, parent, true);
    if (!part) return false;
    bool result =
        xml->addAttributeValue(part, kRegressionAttribute, regressionType_2_string(regressionType_));
    if (regressionType_ == RegressionType::Parabola)
        result = xml->addAttributeValue(part, kCrowningAttribute,
                                        util::formatDouble(crowning_, kCrowningDecimals)) &&
                 result;
    std::string id;
    for (const auto& [index, point] : points_) {
        host::XMLNode written;
        result = point.saveXML(xml, part, written) &&
                 xml->addAttributeValue(written, kIdAttribute, util::formatInteger(id, index)) && result;
    }
    return result;
}

bool DesignProfile::loadXML(host::MSXMLWrapper* xml, host::XMLNode node) {
    if (!xml || !node) return false;
    bool result = enabled_.loadXML(xml, node);
    // Profiles saved without a name carry no attribute.
    if (!xml->getAttributeValue(node, kNameAttribute, name_)) name_.clear();
    parts_.clear();
    for (const host::XMLNode partNode : xml->getNodes(kPartElement, node)) {
        DesignProfilePart part;
        result = part.loadXML(xml, partNode) && result;
        parts_.push_back(std::move(part));
    }
    return result;
}

bool DesignProfile::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent,
                            unsigned int measurementIndex) const {
    if (!xml || !parent) return false;
    const host::XMLNode node = xml->createNode(kDesignProfileElement, parent, true);
    if (!node) return false;
    bool result = enabled_.saveXML(xml, node);
    if (!name_.empty()) result = xml->addAttributeValue(node, kNameAttribute, name_) && result;
    std::string index;
    result = xml->addAttributeValue(node, kMeasurementIndexAttribute,
                                    util::formatInteger(index, measurementIndex)) &&
             result;
    for (const DesignProfilePart& part : parts_)
        result = part.saveXML(xml, node) && result;
    return result;
}

} // namespace kest::gear
