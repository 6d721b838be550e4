#include <kest/gear/gear_filters.h>

#include "evaluation/evaluation_xml.h"
#include "host/child_sync.h"
#include "util/string_format.h"

#include <string>

namespace kest::gear {
namespace {

using namespace evaluation_xml;

constexpr const char* kWrongUnit = "wrong unit";
constexpr const char* kWaveNumberText = "upl";
constexpr const char* kWaveNumberTextUpper = "UPL";
constexpr const char* kWaveLengthText = "mm";

// Flag texts of filter attributes; upper case is read, lower case written.
bool readFlag(const std::string& text, bool& flag) {
    if (text == "true" || text == "TRUE") {
        flag = true;
        return true;
    }
    if (text == "false" || text == "FALSE") {
        flag = false;
        return true;
    }
    return false;
}

} // namespace

Filter::~Filter() = default;

void Filter::setWaveNumber(double number) {
    type_ = FilterUnit::WaveNumber;
    waveNumber_ = number;
    initialized_ = true;
}

void Filter::setWaveLength(double length) {
    type_ = FilterUnit::WaveLength;
    waveLength_ = length;
    initialized_ = true;
}

double Filter::getWaveNumber() const {
    if (type_ != FilterUnit::WaveNumber) throw kWrongUnit;
    return waveNumber_;
}

double Filter::getWaveLength() const {
    if (type_ != FilterUnit::WaveLength) throw kWrongUnit;
    return waveLength_;
}

void Filter::clear() {
    *this = Filter();
}

bool Filter::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent, host::XMLNode& node) const {
    if (!xml || !parent) return false;
    bool result = xml->deleteNodes(kFilterElement, parent);
    const host::XMLNode element = xml->createNode(kFilterElement, parent, true);
    if (!element) return false;
    result = writeElement(*xml, element) && result;
    if (result) node = element;
    return result;
}

bool Filter::writeElement(host::MSXMLWrapper& xml, const host::XMLNode& node) const {
    const bool byNumber = type_ == FilterUnit::WaveNumber;
    bool result = xml.addAttributeValue(node, kUnitAttribute, byNumber ? kWaveNumberText : kWaveLengthText);
    result = xml.addAttributeValue(node, kActiveAttribute, active_ ? "true" : "false") && result;
    return xml.setDoubleValue("", byNumber ? waveNumber_ : waveLength_, node) && result;
}

bool Filter::loadXML(host::MSXMLWrapper* xml, const host::XMLNode& node) {
    if (!xml || !node) return false;
    std::string text;
    if (xml->getAttributeValue(node, kUnitAttribute, text)) {
        if (text == kWaveNumberText || text == kWaveNumberTextUpper)
            type_ = FilterUnit::WaveNumber;
        else if (text == kWaveLengthText)
            type_ = FilterUnit::WaveLength;
        else
            return false;
    }
    if (!xml->getAttributeValue(node, kActiveAttribute, text))
        active_ = true;
    else if (!readFlag(text, active_))
        return false;
    // The value is read through the parent, as it is written.
    double& value = type_ == FilterUnit::WaveNumber ? waveNumber_ : waveLength_;
    const bool result = xml->getDoubleValue(kFilterElement, value, node.parent());
    initialized_ = true;
    return result;
}

GearFilters::GearFilters()
    : profileFilters_(3)
    , leadFilters_(3) {}

const Filter* GearFilters::getActFilter(Measurement_Type type, Side side) const {
    const auto pick = [side](const std::vector<Filter>& filters, bool bothSided) -> const Filter* {
        if (side == Side::Both || bothSided) return &filters[2];
        return side == Side::Left ? &filters[0] : side == Side::Right ? &filters[1] : nullptr;
    };
    if (type == Measurement_Type::Profile) return pick(profileFilters_, profileBothSided_);
    if (type == Measurement_Type::Lead) return pick(leadFilters_, leadBothSided_);
    return nullptr;
}

Filter* GearFilters::getActFilter(Measurement_Type type, Side side) {
    return const_cast<Filter*>(static_cast<const GearFilters&>(*this).getActFilter(type, side));
}

Filter GearFilters::get(Measurement_Type type, Side side) const {
    const Filter* filter = getActFilter(type, side);
    return filter ? *filter : Filter();
}

bool GearFilters::set(Measurement_Type type, Side side, const Filter& filter) {
    if (type == Measurement_Type::Profile)
        profileBothSided_ = side == Side::Both;
    else if (type == Measurement_Type::Lead)
        leadBothSided_ = side == Side::Both;
    else
        return false;
    Filter* target = getActFilter(type, side);
    if (!target) return false;
    *target = filter;
    return true;
}

bool GearFilters::getBothSided(Measurement_Type type) const {
    if (type == Measurement_Type::Profile) return profileBothSided_;
    if (type == Measurement_Type::Lead) return leadBothSided_;
    return false;
}

// The filter is written in place into the group's first filter element, so that what the library does not
// know stays with it; further filter elements of the group go.
bool GearFilters::saveActFilter(host::MSXMLWrapper* xml, Measurement_Type type, Side side) const {
    const Filter* filter = getActFilter(type, side);
    if (!filter) return false;
    const std::string path = groupPath(type, side);
    host::XMLNode group = xml->getNode(path);
    // a filter without a cut-off is not written, so an active flag on it would not read back
    if (!filter->getInitialized()) return !filter->getFilterActive() && deleteFilters(xml, type, side);
    if (!group) group = xml->createNode(path);
    const host::XMLNode node = host::childElement(*xml, group, kFilterElement);
    for (const host::XMLNode other : xml->getNodes(kFilterElement, group))
        if (other != node) xml->deleteNodes("", other);
    bool result = node && filter->writeElement(*xml, node);
    if (type == Measurement_Type::Lead && leadFromProfile_)
        result = result && xml->addAttributeValue(node, kFromProfileAttribute, "true");
    else if (node)
        xml->removeAttributeValue(node, kFromProfileAttribute);
    return result;
}

bool GearFilters::deleteFilters(host::MSXMLWrapper* xml, Measurement_Type type, Side side) const {
    return xml->deleteNodes(groupPath(type, side) + "/" + kFilterElement);
}

// The flanks whose filter does not apply are written as none: a stale element would be read in its place.
bool GearFilters::saveXML(host::MSXMLWrapper* xml) const {
    if (!xml) return false;
    // The lead's following the profile is written on a lead filter; without one it would not read back.
    const auto written = [this](Side side) {
        return getActFilter(Measurement_Type::Lead, side)->getInitialized();
    };
    bool result = !leadFromProfile_ ||
                  (leadBothSided_ ? written(Side::Both) : written(Side::Left) || written(Side::Right));
    for (const auto& [type, bothSided] : {std::pair{Measurement_Type::Profile, profileBothSided_},
                                          std::pair{Measurement_Type::Lead, leadBothSided_}}) {
        if (bothSided) {
            result = saveActFilter(xml, type, Side::Both) && result;
            result = deleteFilters(xml, type, Side::Left) && deleteFilters(xml, type, Side::Right) && result;
        } else {
            result = deleteFilters(xml, type, Side::Both) && result;
            result = saveActFilter(xml, type, Side::Left) && result;
            result = saveActFilter(xml, type, Side::Right) && result;
        }
    }
    return result;
}

bool GearFilters::loadActFilter(host::MSXMLWrapper* xml, Measurement_Type type, Side side) {
    Filter* filter = getActFilter(type, side);
    if (!filter) return false;
    filter->clear();
    const host::XMLNodeList filters = groupChildren(*xml, type, side, kFilterElement);
    if (filters.empty()) return true;
    const host::XMLNode node = filters.front();
    if (side == Side::Both) (type == Measurement_Type::Profile ? profileBothSided_ : leadBothSided_) = true;
    std::string text;
    if (type == Measurement_Type::Lead && xml->getAttributeValue(node, kFromProfileAttribute, text) &&
        (text == "true" || text == "TRUE"))
        leadFromProfile_ = true;
    return filter->loadXML(xml, node);
}

bool GearFilters::loadXML(host::MSXMLWrapper* xml) {
    if (!xml) return false;
    profileBothSided_ = false;
    bool result = loadActFilter(xml, Measurement_Type::Profile, Side::Both);
    if (!profileBothSided_) {
        result = loadActFilter(xml, Measurement_Type::Profile, Side::Left) && result;
        result = loadActFilter(xml, Measurement_Type::Profile, Side::Right) && result;
    }
    leadFromProfile_ = false;
    leadBothSided_ = false;
    result = loadActFilter(xml, Measurement_Type::Lead, Side::Both) && result;
    if (!leadBothSided_ && !leadFromProfile_) {
        result = loadActFilter(xml, Measurement_Type::Lead, Side::Left) && result;
        result = loadActFilter(xml, Measurement_Type::Lead, Side::Right) && result;
    }
    return result;
}

} // namespace kest::gear
