#include "evaluation/gear_evaluation_ranges.h"

#include "evaluation/evaluation_xml.h"
#include "evaluation/range_type_text.h"
#include "host/child_sync.h"
#include "host/report.h"
#include "util/string_format.h"

#include <algorithm>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace kest::gear {
namespace {

using namespace evaluation_xml;

constexpr const char* kContinuousParabola = "continuous parabola";
// The loader names a range before it reads the range's own name.
constexpr const char* kProvisionalName = "vorlaeufigerName";

constexpr Side kHeldFlanks[] = {Side::Left, Side::Right};

// The relief feature whose tangent-relief mode makes a range of this type a continuous parabola.
struct ReliefRow {
    RangeType range;
    const char* feature;
};

constexpr ReliefRow kReliefFeatures[] = {
    {RangeType::Root, "Caf"},
    {RangeType::Tip, "Caa"},
    {RangeType::NonDatumSide, "CbII"},
    {RangeType::DatumSide, "CbI"},
};

// The range types whose relief feature asks for the tangent-relief method, per flank. A feature counts when
// it is written with side, measurement index 0 and range; among several such elements the first decides.
class TangentRelief {
public:
    explicit TangentRelief(const host::MSXMLWrapper& xml) {
        std::vector<Key> decided;
        std::string text;
        for (const host::XMLNode feature : featureElements(xml)) {
            if (!xml.getAttributeValue(feature, kNameAttribute, text)) continue;
            const auto row = std::ranges::find(kReliefFeatures, std::string_view(text), &ReliefRow::feature);
            if (row == std::ranges::end(kReliefFeatures)) continue;
            Side side{};
            if (!xml.getAttributeValue(feature, kSideAttribute, text) || !string_2_Side(text, &side))
                continue;
            if (!xml.getAttributeValue(feature, kMeasurementIndexAttribute, text) || text != "0") continue;
            if (!xml.getAttributeValue(feature, kRangeAttribute, text) || text != rangeTypeText(row->range))
                continue;
            const Key key{side, row->range};
            if (std::ranges::find(decided, key) != decided.end()) continue;
            decided.push_back(key);
            if (xml.getStringValue(kEvaluationModeElement, text, feature) && text == kTangentRelief)
                relieved_.push_back(key);
        }
    }

    bool applies(Side side, RangeType rangeType) const {
        return std::ranges::find(relieved_, Key{side, rangeType}) != relieved_.end();
    }

private:
    using Key = std::pair<Side, RangeType>;
    std::vector<Key> relieved_;
};

// Calls visit(type, side, group) for each element "evaluation/<type>[@side]" of a flank the gear holds ranges
// for, in document order.
template <typename Visit>
void forEachGroup(const host::MSXMLWrapper& xml, Visit visit) {
    std::string text;
    for (const host::XMLNode group : xml.getNodes(kGroupsPath)) {
        Measurement_Type type{};
        Side side{};
        if (!string_2_Measurement_Type(group.name(), &type) ||
            !xml.getAttributeValue(group, kSideAttribute, text) || !string_2_Side(text, &side) ||
            side == Side::Both)
            continue;
        visit(type, side, group);
    }
}

enum class Reading { Failed, Skipped, Held };

struct ReadRange {
    Reading reading = Reading::Failed;
    RangeType rangeType = RangeType::Unspecified;
    std::unique_ptr<EvaluationRange> range;
};

// Reads one range element of the group (type, side) and tells whether the gear can hold it.
ReadRange readRange(host::MSXMLWrapper& xml, host::XMLNode node, Measurement_Type type, Side side,
                    const TangentRelief& relief) {
    ReadRange read;
    std::string regression;
    std::string rangeText;
    if (!xml.getAttributeValue(node, kRegressionAttribute, regression) ||
        !xml.getAttributeValue(node, kTypeAttribute, rangeText) ||
        !string_2_RangeType(rangeText, &read.rangeType))
        return read;
    if (relief.applies(side, read.rangeType)) regression = kContinuousParabola;
    read.range.reset(createEvaluationRange(regression, kProvisionalName));
    if (!read.range || !read.range->loadXML(&xml, node)) return read;
    read.reading =
        isEvaluationRangeSlot(type, read.rangeType, read.range->getReference()) && read.range->isValid()
            ? Reading::Held
            : Reading::Skipped;
    return read;
}

std::size_t rangeIndex(RangeType rangeType) {
    const auto all = allRangeTypes();
    return static_cast<std::size_t>(std::ranges::find(all, rangeType) - all.begin());
}

} // namespace

GearEvaluationRanges::GearEvaluationRanges(const GearEvaluationRanges& other) {
    *this = other;
}

GearEvaluationRanges& GearEvaluationRanges::operator=(const GearEvaluationRanges& other) {
    if (this == &other) return *this;
    for (std::size_t t = 0; t < kTypes; ++t)
        for (std::size_t f = 0; f < kFlanks; ++f)
            for (std::size_t r = 0; r < kRangeTypes; ++r) {
                const auto& source = other.slots_[t][f][r];
                slots_[t][f][r].reset(source ? source->createCopy() : nullptr);
            }
    return *this;
}

const std::unique_ptr<EvaluationRange>* GearEvaluationRanges::slot(Measurement_Type type, Side side,
                                                                   RangeType rangeType) const {
    const auto types = allMeasurementTypes();
    const std::size_t t = static_cast<std::size_t>(static_cast<int>(type));
    const std::size_t r = rangeIndex(rangeType);
    if (std::ranges::find(types, type) == types.end() || t >= kTypes || r >= kRangeTypes) return nullptr;
    if (side != Side::Left && side != Side::Right) return nullptr;
    return &slots_[t][side == Side::Left ? 0 : 1][r];
}

std::unique_ptr<EvaluationRange>* GearEvaluationRanges::slot(Measurement_Type type, Side side,
                                                             RangeType rangeType) {
    return const_cast<std::unique_ptr<EvaluationRange>*>(
        static_cast<const GearEvaluationRanges&>(*this).slot(type, side, rangeType));
}

bool GearEvaluationRanges::add(Measurement_Type type, Side side, RangeType rangeType,
                               const EvaluationRange& range) {
    if (!isEvaluationRangeSlot(type, rangeType, range.getReference()) || !range.isValid()) return false;
    for (const Side flank : kHeldFlanks) {
        if (side != Side::Both && side != flank) continue;
        auto* target = slot(type, flank, rangeType);
        if (!target) return false;
        if (*target && !(**target == range))
            GR_TRACE(3, "range %s will be overwritten", rangeTypeText(rangeType).c_str());
        target->reset(range.createCopy());
        if (!*target) return false;
    }
    return side == Side::Left || side == Side::Right || side == Side::Both;
}

bool GearEvaluationRanges::get(Measurement_Type type, Side side, RangeType rangeType,
                               EvaluationRange* out) const {
    const auto* stored = slot(type, side, rangeType);
    if (!stored || !*stored) return false;
    if (out) *out = **stored;
    return true;
}

unsigned int GearEvaluationRanges::getAll(Measurement_Type type, Side side,
                                          std::vector<Gear_EvaluationRange>* out) const {
    unsigned int count = 0;
    for (const RangeType rangeType : allRangeTypes()) {
        const auto* stored = slot(type, side, rangeType);
        if (!stored || !*stored) continue;
        if (out) out->push_back(Gear_EvaluationRange{rangeType, stored->get()});
        ++count;
    }
    return count;
}

bool GearEvaluationRanges::clear(Measurement_Type type) {
    for (const Side flank : kHeldFlanks)
        for (const RangeType rangeType : allRangeTypes())
            if (auto* target = slot(type, flank, rangeType)) target->reset();
    return true;
}

bool GearEvaluationRanges::load(host::MSXMLWrapper& xml) {
    if (!xml.getRootNode().child(kEvaluationElement)) return true; // a gear that is only measured
    const TangentRelief relief(xml);
    bool result = true;
    forEachGroup(xml, [&](Measurement_Type type, Side side, host::XMLNode group) {
        for (const host::XMLNode node : xml.getNodes(kRangeElement, group)) {
            if (!result) return;
            ReadRange read = readRange(xml, node, type, side, relief);
            if (read.reading == Reading::Failed) {
                result = false;
                return;
            }
            auto* target = slot(type, side, read.rangeType);
            if (read.reading == Reading::Skipped || !target) {
                GR_TRACE(1, "WARNING: evaluation range '%s' of %s %s (%s) cannot be held and is not loaded",
                         read.range->getName().c_str(), Measurement_Type_2_string(type).c_str(),
                         Side_2_string(side).c_str(), rangeTypeText(read.rangeType).c_str());
                continue;
            }
            if (*target)
                GR_TRACE(3, "profile range %d will be overwritten", static_cast<int>(read.rangeType));
            *target = std::move(read.range);
        }
    });
    return result;
}

// Each (type, flank) writes its ranges in place into the first group element of its own (see
// host::ChildSync), matched by range type, so that what the library does not know stays with them. The range
// elements the gear could hold are its own: those it does not hold any more go, in every group of the flank.
// Range elements it cannot hold stay as they are.
bool GearEvaluationRanges::save(host::MSXMLWrapper& xml) const {
    const TangentRelief relief(xml);
    std::vector<std::tuple<Measurement_Type, Side, host::XMLNode>> groups;
    forEachGroup(xml, [&](Measurement_Type type, Side side, host::XMLNode group) {
        groups.emplace_back(type, side, group);
    });
    bool result = true;
    for (const Measurement_Type type : allMeasurementTypes())
        for (const Side side : kHeldFlanks) {
            const auto owned = [&xml, &relief, type, side](host::XMLNode node) {
                return std::string_view(node.name()) == kRangeElement &&
                       readRange(xml, node, type, side, relief).reading == Reading::Held;
            };
            bool first = true;
            const auto held = getAll(type, side, nullptr);
            for (const auto& [groupType, groupSide, group] : groups) {
                if (groupType != type || groupSide != side) continue;
                host::ChildSync elements(group, owned, {kTypeAttribute});
                if (first) result = writeRanges(xml, type, side, elements) && result;
                first = false;
            }
            if (!first || held == 0) continue;
            host::ChildSync elements(xml.createNode(groupPath(type, side)), owned, {kTypeAttribute});
            result = writeRanges(xml, type, side, elements) && result;
        }
    return result;
}

bool GearEvaluationRanges::writeRanges(host::MSXMLWrapper& xml, Measurement_Type type, Side side,
                                       host::ChildSync& elements) const {
    bool result = true;
    for (const RangeType rangeType : allRangeTypes()) {
        const auto* stored = slot(type, side, rangeType);
        if (!stored || !*stored) continue;
        const std::string text = rangeTypeText(rangeType);
        const host::XMLNode node = elements.take(kRangeElement, {text});
        result = node && (*stored)->writeElement(xml, node) &&
                 xml.addAttributeValue(node, kTypeAttribute, text) && result;
    }
    return result;
}

} // namespace kest::gear
