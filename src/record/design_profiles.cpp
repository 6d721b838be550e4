#include "record/design_profiles.h"

#include "geometry/design_profile_xml.h"
#include "record/gear_file_xml.h"
#include "util/number_text.h"

#include <iterator>
#include <string>
#include <vector>

namespace kest::gear {
namespace {

using namespace design_profile_xml;

using gear_file_xml::kEvaluationElement;
constexpr Measurement_Type kKinds[] = {Measurement_Type::Profile, Measurement_Type::Lead};
constexpr Side kFlanks[] = {Side::Left, Side::Right};

bool isProfileOrLead(Measurement_Type kind) {
    return kind == Measurement_Type::Profile || kind == Measurement_Type::Lead;
}

// "evaluation/profile[@side='left']": the element of one kind and side below the document element.
std::string linePath(Measurement_Type kind, Side side) {
    return std::string(kEvaluationElement) + "/" + Measurement_Type_2_string(kind) + "[@side='" +
           Side_2_string(side) + "']";
}

// A missing index is 0; one that is not a number, negative or above the limit does not read.
bool readMeasurementIndex(const host::MSXMLWrapper& xml, host::XMLNode node, unsigned int& index) {
    std::string text;
    if (!xml.getAttributeValue(node, kMeasurementIndexAttribute, text)) {
        index = 0;
        return true;
    }
    long value = 0;
    if (!util::textToLong(text, value, false) || value < 0 ||
        value > long{DesignProfiles::maxMeasurementIndex})
        return false;
    index = static_cast<unsigned int>(value);
    return true;
}

} // namespace

DesignProfiles::DesignProfiles(const DesignProfiles& other) {
    *this = other;
}

DesignProfiles& DesignProfiles::operator=(const DesignProfiles& other) {
    if (this == &other) return *this;
    for (std::size_t k = 0; k < profiles_.size(); ++k)
        for (std::size_t s = 0; s < profiles_[k].size(); ++s) {
            Slots copy;
            copy.reserve(other.profiles_[k][s].size());
            for (const auto& profile : other.profiles_[k][s])
                copy.push_back(profile ? std::make_unique<DesignProfile>(*profile) : nullptr);
            profiles_[k][s] = std::move(copy);
        }
    return *this;
}

DesignProfiles::Slots* DesignProfiles::slots(Measurement_Type kind, Side side) {
    if (!isProfileOrLead(kind) || (side != Side::Left && side != Side::Right)) return nullptr;
    return &profiles_[kind == Measurement_Type::Profile ? 0 : 1][side == Side::Left ? 0 : 1];
}

const DesignProfiles::Slots* DesignProfiles::slots(Measurement_Type kind, Side side) const {
    return const_cast<DesignProfiles*>(this)->slots(kind, side);
}

bool DesignProfiles::clear(Measurement_Type kind) {
    if (!isProfileOrLead(kind)) return false;
    for (const Side side : kFlanks)
        slots(kind, side)->clear();
    return true;
}

unsigned int DesignProfiles::count(Measurement_Type kind, Side side) const {
    if (side != Side::Left && side != Side::Right) throw "illegal side";
    if (!isProfileOrLead(kind)) throw "illegal type";
    return static_cast<unsigned int>(slots(kind, side)->size());
}

const DesignProfile* DesignProfiles::get(Measurement_Type kind, Side side, unsigned int index) const {
    if (side == Side::Both) throw "illegal side <Both> for getting a design profile";
    const Slots* flank = slots(kind, side);
    if (!flank || index >= flank->size()) return nullptr;
    return (*flank)[index].get();
}

bool DesignProfiles::set(const DesignProfile* profile, Measurement_Type kind, Side side, unsigned int index) {
    if (side == Side::Both) {
        const bool left = set(profile, kind, Side::Left, index);
        return set(profile, kind, Side::Right, index) && left;
    }
    Slots* flank = slots(kind, side);
    if (!flank || index > maxMeasurementIndex) return false;
    if (index < flank->size())
        (*flank)[index].reset();
    else
        flank->resize(index + 1);
    if (profile)
        (*flank)[index] = std::make_unique<DesignProfile>(*profile);
    else if (index + 1 == flank->size())
        flank->pop_back();
    return true;
}

bool DesignProfiles::load(host::MSXMLWrapper& xml) {
    clear(Measurement_Type::Profile);
    clear(Measurement_Type::Lead);
    const host::XMLNode evaluation = xml.getNode(kEvaluationElement);
    if (!evaluation) return true;
    // The elements of each kind and side, gathered in one walk; they are read kind by kind and side by side,
    // so that a profile given for both flanks replaces one given for a single flank.
    constexpr Side kSides[] = {Side::Left, Side::Right, Side::Both};
    std::vector<host::XMLNode> lines[std::size(kKinds)][std::size(kSides)];
    std::string sideText;
    for (const host::XMLNode line : xml.getNodes("*", evaluation)) {
        Measurement_Type kind{};
        Side side{};
        if (!string_2_Measurement_Type(line.name(), &kind) || !isProfileOrLead(kind) ||
            !xml.getAttributeValue(line, measurement_xml::kSideAttribute, sideText) ||
            !string_2_Side(sideText, &side))
            continue;
        lines[kind == Measurement_Type::Profile ? 0 : 1][static_cast<std::size_t>(side)].push_back(line);
    }
    bool result = true;
    for (std::size_t k = 0; k < std::size(kKinds); ++k)
        for (std::size_t s = 0; s < std::size(kSides); ++s)
            for (const host::XMLNode line : lines[k][s])
                for (const host::XMLNode node : xml.getNodes(kDesignProfileElement, line)) {
                    DesignProfile profile;
                    result = profile.loadXML(&xml, node) && result;
                    unsigned int index = 0;
                    if (readMeasurementIndex(xml, node, index))
                        set(&profile, kKinds[k], kSides[s], index);
                    else
                        result = false;
                }
    return result;
}

bool DesignProfiles::save(host::MSXMLWrapper& xml) const {
    bool result = true;
    for (const Measurement_Type kind : kKinds) {
        for (const Side side : kFlanks) {
            const std::string path = linePath(kind, side);
            xml.deleteNodes(path + "/" + kDesignProfileElement);
            const Slots& flank = *slots(kind, side);
            if (flank.empty()) continue;
            const host::XMLNode line = xml.createNode(path);
            if (!line) return false;
            for (std::size_t index = 0; index < flank.size(); ++index)
                if (flank[index])
                    result = flank[index]->saveXML(&xml, line, static_cast<unsigned int>(index)) && result;
        }
        // Profiles given for both flanks were stored on each; they are written once per flank.
        xml.deleteNodes(linePath(kind, Side::Both) + "/" + kDesignProfileElement);
    }
    return result;
}

} // namespace kest::gear
