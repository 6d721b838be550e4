#include <kest/gear/processing_information.h>

#include "host/child_sync.h"
#include "measurement/measurement_xml.h"
#include "record/gear_file_xml.h"
#include "record/gear_parameters_xml.h"
#include "util/number_text.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <limits>
#include <string>
#include <string_view>

namespace kest::gear {
namespace {

using namespace gear_file_xml;
using namespace measurement_xml;

// A feed-mark result is complete from these sizes on.
constexpr std::size_t kMinimumFeedMarkPoints = 3;
constexpr std::size_t kMinimumFeedMarkParameters = 4;

// An attribute that is missing or empty leaves `value` alone and counts as read.
template <typename E>
bool readTypeAttribute(host::XMLNode node, const char* attribute, bool (*fromText)(std::string_view, E*),
                       E& value) {
    const char* text = node.attribute(attribute);
    if (!text || *text == '\0') return true;
    return fromText(text, &value);
}

bool hasText(host::XMLNode node, const char* attribute) {
    const char* text = node.attribute(attribute);
    return text && *text != '\0';
}

// A place for each flank.
std::size_t sideSlot(Side side) noexcept {
    switch (side) {
    case Side::Left:
        return 0;
    case Side::Right:
        return 1;
    case Side::Both:
        return 2;
    }
    return 0;
}

// The key of a feed-mark point: side, tooth list and measurement index from the point's attributes; the index
// is read leniently (measurement_xml::readMeasurementIndex).
bool readPointKey(host::XMLNode point, Gear_Measurement_Info& info) {
    const IdentityTexts texts = identityTexts(point);
    bool result = texts.side && string_2_Side(texts.side, &info.side);
    result = texts.tooth && info.setTooth(texts.tooth) && result;
    info.measurementIndex = readMeasurementIndex(texts.measurementIndex, point.name());
    return result;
}

// The feed-mark element; empty when there is none.
host::XMLNode feedMarkElement(const host::MSXMLWrapper& xml) {
    return xml.getRootNode().child(kCalculatedDataElement).child(kFeedMarkElement);
}

} // namespace

ProcessingInformation::~ProcessingInformation() = default;

bool ProcessingInformation::loadXML(host::MSXMLWrapper* xml) {
    if (!xml) return false;
    const host::XMLNode node = xml->getRootNode().child(kProcessingElement);
    if (!node) return true;
    // The old attribute wins when both are present.
    const char* postProcessAttribute = hasText(node, kOldPostProcessTypeAttribute)
                                           ? kOldPostProcessTypeAttribute
                                           : kPostProcessTypeAttribute;
    return readTypeAttribute(node, postProcessAttribute, string_2_PostProcessType, postProcessType_) &&
           readTypeAttribute(node, kProcessTypeAttribute, string_2_ProcessType, processType_);
}

// Written in place; the older attribute goes, since it would win over the one written.
bool ProcessingInformation::saveXML(host::MSXMLWrapper* xml) const {
    if (!xml) return false;
    // The first element is kept, any other goes.
    host::ChildSync elements(
        xml->getRootNode(), [](host::XMLNode n) { return std::string_view(n.name()) == kProcessingElement; });
    const host::XMLNode node = elements.take(kProcessingElement);
    if (node) xml->removeAttributeValue(node, kOldPostProcessTypeAttribute);
    return node &&
           xml->addAttributeValue(node, kPostProcessTypeAttribute,
                                  PostProcessType_2_string(postProcessType_)) &&
           xml->addAttributeValue(node, kProcessTypeAttribute, ProcessType_2_string(processType_));
}

bool FeedMarkInformation::clear() {
    parameters.clear();
    points.clear();
    return true;
}

bool FeedMarkInformation::isValid() const {
    return points.size() >= kMinimumFeedMarkPoints && parameters.size() >= kMinimumFeedMarkParameters &&
           std::ranges::none_of(parameters, [](const Gear_General_Parameter& p) { return isUnset(p.value); });
}

bool FeedMarkInformation::loadXML(host::MSXMLWrapper* xml) {
    if (!xml) return false;
    const host::XMLNode feedMark = feedMarkElement(*xml);
    if (!feedMark) return true;
    clear();
    bool result = true;
    // The last point placed on each flank: the points come mostly in key order within a flank, so that the
    // place right after it is the likely one.
    std::array<decltype(points)::iterator, 3> lastOnSide;
    lastOnSide.fill(points.end());
    for (host::XMLNode child = feedMark.firstChild(); child; child = child.nextSibling()) {
        if (std::string_view(child.name()) != kPointElement) {
            result = parameters.emplace_back().loadXML(xml, child) && result;
            continue;
        }
        Gear_Measurement_Info info;
        // Unset references, so that a point that does not read cannot pass for one in the first reference.
        MeasurementPathPoint point(0.0, static_cast<Reference>(-1), 0.0, static_cast<Reference>(-1));
        if (!readPointKey(child, info) || !point.loadXML(xml, child)) {
            result = false;
            continue;
        }
        // A later point replaces an earlier one with an equal key, its key included.
        auto& last = lastOnSide[sideSlot(info.side)];
        const std::size_t before = points.size();
        auto entry =
            points.try_emplace(last == points.end() ? points.end() : std::next(last), std::move(info),
                               point); // moves only when added
        if (points.size() == before) {
            auto node = points.extract(entry);
            node.key() = std::move(info);
            node.mapped() = point;
            entry = points.insert(std::move(node)).position;
        }
        last = entry;
    }
    return result;
}

// Written in place: the parameters by name, the points by their "id" (0, 1, ... in map order).
bool FeedMarkInformation::saveXML(host::MSXMLWrapper* xml) const {
    if (!xml) return false;
    if (parameters.empty()) {
        if (const host::XMLNode feedMark = feedMarkElement(*xml)) {
            const host::XMLNode data = feedMark.parent();
            xml->deleteNodes(kFeedMarkElement, data);
            host::deleteIfEmpty(data);
        }
        return true;
    }
    const host::XMLNode feedMark = host::childElement(
        *xml, host::childElement(*xml, xml->getRootNode(), kCalculatedDataElement), kFeedMarkElement);
    if (!feedMark) return false;
    host::ChildSync children(feedMark, host::ChildSync::ownsAll, {kIdAttribute});
    bool result = true;
    for (const Gear_General_Parameter& parameter : parameters)
        result = isElementName(parameter.name) &&
                 writeParameter(*xml, children.take(parameter.name), parameter) && result;
    unsigned int id = 0;
    for (const auto& [info, point] : points) {
        const host::XMLNode element = pointElement(children, id);
        result = writePathPoint(*xml, element, id, point) &&
                 writeIdentity(*xml, element, info, IdentityOrder::SideFirst) && result;
        ++id;
    }
    return result;
}

} // namespace kest::gear
