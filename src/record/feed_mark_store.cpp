#include "record/feed_mark_store.h"

#include "host/child_sync.h"
#include "measurement/measurement_xml.h"
#include "record/gear_file_xml.h"
#include "record/gear_parameters_xml.h"

#include <algorithm>
#include <compare>
#include <iterator>
#include <string_view>

namespace kest::gear {
namespace {

using namespace gear_file_xml;
using namespace measurement_xml;

// The key of a feed-mark point: side, tooth list and measurement index from the point's attributes; the index
// is read leniently (measurement_xml::readMeasurementIndex).
bool readPointKey(host::XMLNode point, Gear_Measurement_Info& key) {
    const IdentityTexts texts = identityTexts(point);
    bool result = texts.side && string_2_Side(texts.side, &key.side);
    result = texts.tooth && key.setTooth(texts.tooth) && result;
    key.measurementIndex = readMeasurementIndex(texts.measurementIndex, point.name());
    return result;
}

} // namespace

host::XMLNode feedMarkElement(const host::MSXMLWrapper& xml) {
    return xml.getRootNode().child(kCalculatedDataElement).child(kFeedMarkElement);
}

bool FeedMarkStore::load(host::MSXMLWrapper& xml) {
    clear();
    bool result = true;
    // One key for all points: a list of one tooth is read into the room the previous point left.
    Gear_Measurement_Info key;
    for (host::XMLNode child = feedMarkElement(xml).firstChild(); child; child = child.nextSibling()) {
        if (std::string_view(child.name()) != kPointElement) {
            result = parameters_.emplace_back().loadXML(&xml, child) && result;
            continue;
        }
        // Unset references, so that a point that does not read cannot pass for one in the first reference.
        MeasurementPathPoint point(0.0, static_cast<Reference>(-1), 0.0, static_cast<Reference>(-1));
        if (!readPointKey(child, key) || !point.loadXML(&xml, child)) {
            result = false;
            continue;
        }
        add(key, point);
    }
    order();
    return result;
}

bool FeedMarkStore::save(host::MSXMLWrapper& xml) const {
    if (parameters_.empty()) {
        if (const host::XMLNode feedMark = feedMarkElement(xml)) {
            const host::XMLNode data = feedMark.parent();
            xml.deleteNodes(kFeedMarkElement, data);
            host::deleteIfEmpty(data);
        }
        return true;
    }
    const host::XMLNode feedMark = host::childElement(
        xml, host::childElement(xml, xml.getRootNode(), kCalculatedDataElement), kFeedMarkElement);
    if (!feedMark) return false;
    host::ChildSync children(feedMark, host::ChildSync::ownsAll, {kIdAttribute});
    bool result = true;
    // a parameter named as a point element would be read back as a point
    for (const Gear_General_Parameter& parameter : parameters_)
        result = isElementName(parameter.name) && parameter.name != kPointElement &&
                 writeParameter(xml, children.take(parameter.name), parameter) && result;
    // Only what the identity is written from: side, tooth list and index.
    Gear_Measurement_Info key;
    unsigned int next = 0;
    for (const Point& p : points_) {
        const unsigned int id = next++;
        const MeasurementPathPoint point(p.position, p.positionReference, p.height, p.heightReference);
        key.side = p.side;
        key.measurementIndex = p.measurementIndex;
        const std::span<const unsigned int> list = teeth(p);
        key.teeth.assign(list.begin(), list.end());
        if (!readsBack(point) || !readsBack(key)) {
            result = false;
            continue;
        }
        const host::XMLNode element = pointElement(children, id);
        result = writePathPoint(xml, element, id, point) &&
                 writeIdentity(xml, element, key, IdentityOrder::SideFirst) && result;
    }
    return result;
}

FeedMarkInformation FeedMarkStore::information() const {
    FeedMarkInformation information;
    information.parameters = parameters_;
    for (const Point& p : points_) {
        Gear_Measurement_Info key;
        key.type = p.type;
        key.side = p.side;
        key.measurementIndex = p.measurementIndex;
        const std::span<const unsigned int> list = teeth(p);
        key.setTooth(std::vector<unsigned int>(list.begin(), list.end()));
        information.points.emplace_hint(
            information.points.end(), std::move(key),
            MeasurementPathPoint(p.position, p.positionReference, p.height, p.heightReference));
    }
    return information;
}

void FeedMarkStore::assign(const FeedMarkInformation& information) {
    clear();
    parameters_ = information.parameters;
    points_.reserve(information.points.size());
    for (const auto& [key, point] : information.points)
        add(key, point);
}

void FeedMarkStore::clear() noexcept {
    parameters_.clear();
    points_.clear();
    teeth_.clear();
}

void FeedMarkStore::add(const Gear_Measurement_Info& key, const MeasurementPathPoint& point) {
    const std::vector<unsigned int>& list = key.getAllTeeth();
    Point& p = points_.emplace_back(Point{point.position, point.height, point.positionReference,
                                          point.heightReference, key.type, key.side, key.measurementIndex,
                                          static_cast<unsigned int>(list.size()), 0, 0});
    if (list.size() == 1) {
        p.tooth = list.front();
        return;
    }
    p.listStart = teeth_.size();
    teeth_.insert(teeth_.end(), list.begin(), list.end());
    const std::vector<unsigned int>& sorted = key.getSortedTeeth();
    teeth_.insert(teeth_.end(), sorted.begin(), sorted.end());
}

std::span<const unsigned int> FeedMarkStore::teeth(const Point& point) const noexcept {
    if (point.toothCount == 1) return {&point.tooth, 1};
    return {teeth_.data() + point.listStart, point.toothCount};
}

std::span<const unsigned int> FeedMarkStore::sortedTeeth(const Point& point) const noexcept {
    if (point.toothCount == 1) return {&point.tooth, 1};
    return {teeth_.data() + point.listStart + point.toothCount, point.toothCount};
}

bool FeedMarkStore::before(const Point& a, const Point& b) const noexcept {
    if (a.type != b.type) return a.type < b.type;
    if (a.side != b.side) return a.side < b.side;
    if (a.toothCount == 1 && b.toothCount == 1) {
        if (a.tooth != b.tooth) return a.tooth < b.tooth;
    } else {
        const std::span<const unsigned int> sa = sortedTeeth(a);
        const std::span<const unsigned int> sb = sortedTeeth(b);
        if (const auto order =
                std::lexicographical_compare_three_way(sa.begin(), sa.end(), sb.begin(), sb.end());
            order != 0)
            return order < 0;
    }
    return a.measurementIndex < b.measurementIndex;
}

void FeedMarkStore::order() {
    const auto less = [this](const Point& a, const Point& b) { return before(a, b); };
    // A file usually gives the flanks interleaved, each in key order: put flank after flank, keeping the
    // order read, and those points are in order without a sort.
    if (!std::ranges::is_sorted(points_, less)) {
        const auto rest = std::stable_partition(points_.begin(), points_.end(),
                                                [](const Point& p) { return p.side == Side::Left; });
        std::stable_partition(rest, points_.end(), [](const Point& p) { return p.side == Side::Right; });
    }
    if (!std::ranges::is_sorted(points_, less)) std::ranges::stable_sort(points_, less);
    // Equal keys now stand together in the order they were read; the last of each run stays, as a map entry
    // replaced by each later point of its key keeps the last one.
    auto kept = points_.begin();
    for (auto it = points_.begin(); it != points_.end(); ++it)
        if (std::next(it) == points_.end() || before(*it, *std::next(it))) *kept++ = *it;
    points_.erase(kept, points_.end());
}

} // namespace kest::gear
