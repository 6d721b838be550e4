#include <kest/gear/evaluation_features.h>
#include <kest/gear/gear_feature_info.h>

#include "evaluation/evaluation_xml.h"
#include "evaluation/range_type_text.h"
#include "host/child_sync.h"
#include "host/report.h"
#include "util/listed.h"
#include "util/number_text.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kest::gear {
namespace {

using namespace evaluation_xml;

constexpr const char* kRangeNotAllowed = "range type '%s'not allowed for %s";

// Ranges that a feature once had and that are no longer evaluated; files that still name them lose the
// feature.
struct Withdrawal {
    std::array<RangeType, 2> ranges;
    std::array<std::string_view, 10> features;
};

constexpr Withdrawal kWithdrawn[] = {
    {{RangeType::Root, RangeType::Tip}, {"fHa", "Fa", "Fa+", "Fa-", "Ca", "fHam", "Fam", "Cam", "WfHa"}},
    {{RangeType::NonDatumSide, RangeType::DatumSide},
     {"fHb", "dfHb", "mfHb", "Fb", "Cb", "fHbm", "dfHbm", "mfHbm", "Fbm", "Cbm"}},
};

bool isWithdrawn(const std::string& name, RangeType range) {
    return std::ranges::any_of(kWithdrawn, [&](const Withdrawal& w) {
        return std::ranges::find(w.ranges, range) != w.ranges.end() &&
               std::ranges::find(w.features, std::string_view(name)) != w.features.end();
    });
}

bool isAllowed(const GearFeatureInfo& info, RangeType range) {
    const auto allowed = info.getAllowedRangeTypes();
    return std::ranges::find(allowed, range) != allowed.end();
}

// A failed catalogue lookup: to-do names and deprecated names are traced, others logged.
void report(const std::string& name, const char* message) {
    std::string successor;
    if (GearFeatureInfo::hasFeatureTodoLabel(name))
        GR_TRACE(4, "feature has TODO label: '%s' (original message was: %s)", name.c_str(), message);
    else if (GearFeatureInfo::isDeprecatedFeature(name, successor))
        GR_TRACE(3, "feature '%s' is deprecated! You should use '%s' instead (original message was: %s)",
                 name.c_str(), successor.c_str(), message);
    else
        GR_ERROR_LOG("'%s': %s", name.c_str(), message);
}

void reportNotAllowed(RangeType range, const std::string& name) {
    GR_ERROR_LOG(kRangeNotAllowed, rangeTypeText(range).c_str(), name.c_str());
}

// The sides whose entries an operation on `side` touches.
std::span<const Side> touchedSides(Side side) {
    static constexpr Side kLeft[] = {Side::Left, Side::Both};
    static constexpr Side kRight[] = {Side::Right, Side::Both};
    static constexpr Side kAll[] = {Side::Left, Side::Right, Side::Both};
    switch (side) {
    case Side::Left:
        return kLeft;
    case Side::Right:
        return kRight;
    case Side::Both:
        return kAll;
    }
    return {};
}

Side otherFlank(Side side) {
    return side == Side::Left ? Side::Right : Side::Left;
}

// Runs `body` with the catalogue entry of `name`; a name missing from the catalogue is reported and gives
// false.
template <typename Body>
bool withInfo(const std::string& name, Body body) {
    const GearFeatureInfo* info = nullptr;
    try {
        info = &getFeatureInfo(name);
    } catch (const char* message) {
        report(name, message);
        return false;
    }
    return body(*info);
}

} // namespace

void EvaluationFeatures::insert(Measurement_Type type, Side side, unsigned int index,
                                const GearFeature& feature, RangeType range) {
    GearFeature_Container entry;
    entry.info.type = type;
    entry.info.side = side;
    entry.info.measurementIndex = index;
    entry.feature = feature;
    entry.range = range;
    entries_.try_emplace(Key{feature.getName(), side, index, range}, std::move(entry));
}

bool EvaluationFeatures::_get(const std::string& name, Side side, unsigned int index, RangeType range,
                              GearFeature* out) const {
    auto it = entries_.find(Key{name, side, index, range});
    if (it == entries_.end() && side != Side::Both) it = entries_.find(Key{name, Side::Both, index, range});
    if (it == entries_.end()) return false;
    if (out) *out = it->second.feature;
    return true;
}

void EvaluationFeatures::_set(const GearFeature& feature, Side side, Measurement_Type type,
                              unsigned int index, RangeType range) {
    const std::string& name = feature.getName();
    if (side == Side::Both) {
        for (const Side s : touchedSides(Side::Both))
            entries_.erase(Key{name, s, index, range});
    } else {
        // A Both entry keeps applying to the other flank.
        const auto both = entries_.find(Key{name, Side::Both, index, range});
        if (both != entries_.end()) {
            const GearFeature kept = both->second.feature;
            const Measurement_Type keptType = both->second.info.type;
            entries_.erase(both);
            entries_.erase(Key{name, otherFlank(side), index, range});
            insert(keptType, otherFlank(side), index, kept, range);
        }
        entries_.erase(Key{name, side, index, range});
    }
    insert(type, side, index, feature, range);
}

bool EvaluationFeatures::_enable(const std::string& name, Side side, unsigned int index, RangeType range,
                                 bool on) {
    bool found = false;
    for (const Side s : touchedSides(side)) {
        const auto it = entries_.find(Key{name, s, index, range});
        if (it == entries_.end()) continue;
        found = true;
        if (on)
            it->second.feature.enable();
        else
            it->second.feature.disable();
    }
    return found || !on;
}

void EvaluationFeatures::_remove(const std::string& name, Side side, unsigned int index, RangeType range) {
    if (side == Side::Both) {
        for (const Side s : touchedSides(Side::Both))
            entries_.erase(Key{name, s, index, range});
        return;
    }
    entries_.erase(Key{name, side, index, range});
    const auto both = entries_.find(Key{name, Side::Both, index, range});
    if (both == entries_.end()) return;
    const GearFeature kept = both->second.feature;
    const Measurement_Type keptType = both->second.info.type;
    entries_.erase(both);
    entries_.erase(Key{name, otherFlank(side), index, range});
    insert(keptType, otherFlank(side), index, kept, range);
}

bool EvaluationFeatures::enable(const std::string& name, bool on, Side side, unsigned int index,
                                RangeType range) {
    return withInfo(name, [&](const GearFeatureInfo& info) {
        if (!isAllowed(info, range)) {
            reportNotAllowed(range, name);
            return false;
        }
        return _enable(name, side, index, range, on);
    });
}

bool EvaluationFeatures::enable(const std::string& name, bool on, Side side, unsigned int index) {
    return withInfo(name, [&](const GearFeatureInfo& info) {
        bool any = false;
        for (const RangeType range : info.getAllowedRangeTypes())
            any = _enable(name, side, index, range, on) || any;
        return any;
    });
}

bool EvaluationFeatures::get(const std::string& name, Side side, GearFeature* out, unsigned int index,
                             RangeType range) const {
    return withInfo(name, [&](const GearFeatureInfo&) { return _get(name, side, index, range, out); });
}

bool EvaluationFeatures::get(const std::string& name, Side side, GearFeature* out, unsigned int index) const {
    return withInfo(name, [&](const GearFeatureInfo& info) {
        const auto allowed = info.getAllowedRangeTypes();
        RangeType range = allowed.front();
        if (allowed.size() > 1) {
            for (const RangeType preferred : {RangeType::Middle, RangeType::Main})
                if (std::ranges::find(allowed, preferred) != allowed.end()) range = preferred;
        }
        return _get(name, side, index, range, out);
    });
}

bool EvaluationFeatures::set(const GearFeature& feature, Side side, unsigned int index, RangeType range) {
    const std::string& name = feature.getName();
    return withInfo(name, [&](const GearFeatureInfo& info) {
        if (!isAllowed(info, range)) {
            reportNotAllowed(range, name);
            return false;
        }
        // An invalid feature would stop the next save.
        std::string message;
        if (!feature.isValid(message)) return false;
        _set(feature, side, info.getMeasurementType(), index, range);
        return true;
    });
}

bool EvaluationFeatures::set(const GearFeature& feature, Side side, unsigned int index) {
    const std::string& name = feature.getName();
    return withInfo(name, [&](const GearFeatureInfo& info) {
        std::string message;
        if (!feature.isValid(message)) return false;
        for (const RangeType range : info.getAllowedRangeTypes())
            _set(feature, side, info.getMeasurementType(), index, range);
        return true;
    });
}

bool EvaluationFeatures::remove(const std::string& name, Side side, unsigned int index, RangeType range) {
    return withInfo(name, [&](const GearFeatureInfo& info) {
        if (!isAllowed(info, range)) {
            reportNotAllowed(range, name);
            return false;
        }
        _remove(name, side, index, range);
        return true;
    });
}

bool EvaluationFeatures::remove(const std::string& name, Side side, unsigned int index) {
    return withInfo(name, [&](const GearFeatureInfo& info) {
        for (const RangeType range : info.getAllowedRangeTypes())
            _remove(name, side, index, range);
        return true;
    });
}

bool EvaluationFeatures::clear() {
    entries_.clear();
    return true;
}

std::vector<EvaluationFeatures::GearFeature_Container> EvaluationFeatures::getAll() const {
    std::vector<GearFeature_Container> all;
    all.reserve(entries_.size());
    for (const auto& [key, entry] : entries_)
        all.push_back(entry);
    return all;
}

bool EvaluationFeatures::loadXML(host::MSXMLWrapper* xml) {
    if (!xml) return false;
    bool result = true;
    for (const host::XMLNode node : featureElements(*xml)) {
        GearFeature feature;
        if (!feature.loadXML(xml, node)) {
            GR_TRACE(1, "WARNING: invalid feature '%s' not imported", feature.getName().c_str());
            continue;
        }
        std::string text;
        Side side = Side::Both;
        if (xml->getAttributeValue(node, kSideAttribute, text)) string_2_Side(text, &side);
        // A decimal as atoi reads it, taken modulo 2^32 as it is written back.
        long number = 0;
        if (xml->getAttributeValue(node, kMeasurementIndexAttribute, text))
            util::textToLong(text, number, false);
        const auto index = static_cast<unsigned int>(static_cast<unsigned long>(number));
        // An unreadable range counts as none. A feature with ranges takes none as all of its ranges, as the
        // file it is written to reads it back.
        RangeType range = RangeType::Unspecified;
        const bool ranged =
            xml->getAttributeValue(node, kRangeAttribute, text) && string_2_RangeType(text, &range);
        const GearFeatureInfo& info = getFeatureInfo(feature.getName());
        if (!ranged || (range == RangeType::Unspecified && !isAllowed(info, range))) {
            result = set(feature, side, index) && result;
            continue;
        }
        if (range != RangeType::Unspecified && !isAllowed(info, range)) {
            if (isWithdrawn(feature.getName(), range)) {
                GR_ERROR_LOG("range type '%s' for %s is deprecated, loading of feature is skipped",
                             rangeTypeText(range).c_str(), feature.getName().c_str());
                continue;
            }
            reportNotAllowed(range, feature.getName());
        }
        if (result) insert(info.getMeasurementType(), side, index, feature, range);
    }
    return result;
}

// The features are written in place (see host::ChildSync), matched by name, side, measurement index and
// range, so that what the library does not know stays with them; feature elements the gear does not hold go.
bool EvaluationFeatures::saveXML(host::MSXMLWrapper* xml) const {
    if (!xml) return false;
    host::XMLNode evaluation = xml->getNode(kEvaluationElement);
    if (!evaluation && entries_.empty()) return true;
    if (!evaluation) evaluation = host::childElement(*xml, xml->getRootNode(), kEvaluationElement);
    host::ChildSync elements(
        evaluation, [](host::XMLNode node) { return std::string_view(node.name()) == kFeatureElement; },
        {kNameAttribute, kSideAttribute, kMeasurementIndexAttribute, kRangeAttribute});
    bool result = true;
    for (const auto& [key, entry] : entries_) {
        std::string message;
        if (!entry.feature.isValid(message)) return false;
        // a side without a name would be written as a text that a load takes for both flanks
        if (!util::listed(allSides(), entry.info.side)) return false;
        entry.feature.deleteOwnNameElement(*xml, evaluation);
        const bool bothSides = entry.info.side == Side::Both;
        const bool ranged = entry.range != RangeType::Unspecified;
        const std::string side = bothSides ? std::string() : Side_2_string(entry.info.side);
        const std::string index = util::formatInteger(entry.info.measurementIndex);
        const std::string range = ranged ? rangeTypeText(entry.range) : std::string();
        const host::XMLNode node =
            elements.take(kFeatureElement, {entry.feature.getSafeName(), side, index, range});
        if (!node || !entry.feature.writeElement(*xml, node)) return false;
        const auto setOrRemove = [&](bool set, const char* attribute, const std::string& value) {
            return set ? xml->addAttributeValue(node, attribute, value)
                       : (xml->removeAttributeValue(node, attribute), true);
        };
        result = setOrRemove(!bothSides, kSideAttribute, side) && result;
        result = setOrRemove(true, kMeasurementIndexAttribute, index) && result;
        result = setOrRemove(ranged, kRangeAttribute, range) && result;
    }
    return result;
}

} // namespace kest::gear
