#include "record/measurement_data.h"

#include "host/report.h"
#include "record/gear_paths_internal.h"
#include "util/number_text.h"
#include "util/user_text.h"

#include <algorithm>
#include <limits>
#include <string>

namespace kest::gear {
namespace {

constexpr const char* kNotAbsolute = "Gear::setMeasurement: profilename has to be absolute";

constexpr const char* kMeasurementGroup = "measurement/";
constexpr const char* kToothAttribute = "tooth";
constexpr const char* kSideAttribute = "side";
constexpr const char* kMeasurementIndexAttribute = "measurement_index";

// The sides a measurement element can name; a measurement over both flanks is stored as such.
constexpr Side kStoredSides[] = {Side::Left, Side::Right, Side::Both};

// The entry that stands for `info`: the first of the same kind, side and index and, when the info names
// teeth, of the same tooth text. returns set.end() when there is none.
std::set<Gear_Measurement>::const_iterator findEntry(const std::set<Gear_Measurement>& set,
                                                     const Gear_Measurement_Info& info) {
    const std::string teeth = info.isToothlistEmpty() ? std::string() : info.teeth_2_string(true);
    return std::ranges::find_if(set, [&](const Gear_Measurement& entry) {
        return entry.type == info.type && entry.side == info.side &&
               entry.measurementIndex == info.measurementIndex &&
               (teeth.empty() || entry.teeth_2_string(true) == teeth);
    });
}

// A measurement index as atoi reads it: a leading number, 0 when there is none.
unsigned int readIndex(const host::MSXMLWrapper& xml, host::XMLNode node) {
    std::string text;
    long index = 0;
    if (!xml.getAttributeValue(node, kMeasurementIndexAttribute, text)) return 0;
    util::textToLong(text, index, false);
    if (index < 0 || static_cast<unsigned long>(index) > std::numeric_limits<unsigned int>::max()) return 0;
    return static_cast<unsigned int>(index);
}

} // namespace

// The given info stands on the left of ==, so that an info for both flanks clears the entries of either.
bool MeasurementData::clear(const Gear_Measurement_Info& info) {
    for (std::set<Gear_Measurement>* set : {&stored_, &transient_})
        std::erase_if(*set, [&](const Gear_Measurement& entry) { return info == entry; });
    return true;
}

bool MeasurementData::clear(Measurement_Type type) {
    for (std::set<Gear_Measurement>* set : {&stored_, &transient_})
        std::erase_if(*set, [&](const Gear_Measurement& entry) { return entry.type == type; });
    return true;
}

unsigned int MeasurementData::getAll(std::vector<Gear_Measurement>* out, bool transient) const {
    if (!out) return 0;
    out->clear();
    for (const Gear_Measurement& entry : transient ? transient_ : stored_)
        if (!entry.name.empty()) out->push_back(entry);
    return static_cast<unsigned int>(out->size());
}

// The index is not compared: this counts the measurements of a kind on those teeth, whatever their index.
unsigned int MeasurementData::count(const Gear_Measurement_Info& info, bool transient) const {
    const std::string teeth = info.teeth_2_string(true);
    return static_cast<unsigned int>(
        std::ranges::count_if(transient ? transient_ : stored_, [&](const Gear_Measurement& entry) {
            return entry.type == info.type && !entry.name.empty() &&
                   (info.side == Side::Both || entry.side == info.side) &&
                   entry.teeth_2_string(true) == teeth;
        }));
}

// Only a pitch measurement is taken on a tooth list of its own choosing; the others are named by their teeth.
std::string MeasurementData::toothList(const Gear_Measurement_Info& info, bool transient) const {
    if (info.type != Measurement_Type::Pitch) return {};
    const std::set<Gear_Measurement>& set = transient ? transient_ : stored_;
    const auto entry = findEntry(set, info);
    return entry == set.end() ? std::string() : entry->teeth_2_string(true);
}

std::string MeasurementData::name(const Gear_Measurement_Info& info, bool transient) const {
    const std::set<Gear_Measurement>& set = transient ? transient_ : stored_;
    const auto entry = findEntry(set, info);
    return entry == set.end() ? std::string() : entry->name;
}

// With a base path, an absolute name is stored relative to it, so that a gear file and its measured profiles
// can move together; without one, only an absolute name has a meaning.
bool MeasurementData::set(const std::string& name, const Gear_Measurement_Info& info, bool transient,
                          const std::string& basePath) {
    if (basePath.empty() && !isAbsolutePath(name)) {
        GR_ERROR_LOG("%s", kNotAbsolute);
        return false;
    }
    const std::string stored = basePath.empty() ? name : relativeToGearFile(basePath, name);
    std::set<Gear_Measurement>& set = transient ? transient_ : stored_;
    if (const auto entry = findEntry(set, info); entry != set.end()) set.erase(entry);
    if (!stored.empty()) set.insert(Gear_Measurement(info, stored));
    return true;
}

// Reads every measurement element of a known kind and side. A tooth list or a name that does not read fails
// the reader; the other elements are still read.
bool MeasurementData::load(host::MSXMLWrapper& xml, const std::string& gearFile) {
    // The measurements are the group's children named by a kind and carrying a side; they are taken kind by
    // kind and side by side from one list of the children.
    const host::XMLNodeList children = xml.getNodes("measurement/*");
    if (children.empty()) return true;
    bool result = true;
    std::string sideText;
    for (const Measurement_Type type : allMeasurementTypes()) {
        const std::string typeText = Measurement_Type_2_string(type);
        for (const Side side : kStoredSides) {
            const std::string wantedSide = Side_2_string(side);
            for (const host::XMLNode node : children) {
                if (typeText != node.name() || !xml.getAttributeValue(node, kSideAttribute, sideText) ||
                    sideText != wantedSide)
                    continue;
                Gear_Measurement_Info info;
                info.type = type;
                info.side = side;
                info.measurementIndex = readIndex(xml, node);
                std::string teeth;
                xml.getAttributeValue(node, kToothAttribute, teeth);
                util::UserText name;
                const bool read = info.setTooth(teeth) && util::readUserText(xml, node, name);
                result = read && set(name.text, info, false, gearFile) && result;
            }
        }
    }
    return result;
}

bool MeasurementData::save(host::MSXMLWrapper& xml) const {
    bool result = true;
    for (const Gear_Measurement& entry : stored_) {
        if (entry.name.empty() || entry.isToothlistEmpty()) continue;
        const host::XMLNode node = xml.createNode(kMeasurementGroup + entry.type_2_string(), {}, true);
        if (!node) {
            result = false;
            continue;
        }
        result = xml.addAttributeValue(node, kToothAttribute, entry.teeth_2_string(true)) && result;
        result = xml.addAttributeValue(node, kSideAttribute, entry.side_2_string()) && result;
        result = xml.addAttributeValue(node, kMeasurementIndexAttribute,
                                       util::formatInteger(entry.measurementIndex)) &&
                 result;
        result = util::writeUserText(xml, node, util::UserText{"", entry.name}) && result;
    }
    return result;
}

} // namespace kest::gear
