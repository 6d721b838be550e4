#include <kest/gear/processing_information.h>

#include "util/number_text.h"

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>

namespace kest::gear {
namespace {

constexpr const char* kProcessingElement = "processing";
constexpr const char* kPostProcessTypeAttribute = "post_process_type";
constexpr const char* kProcessTypeAttribute = "process_type";
// Files of older versions carry the post-process type in this attribute.
constexpr const char* kOldPostProcessTypeAttribute = "type";

constexpr const char* kFeedMarkElement = "calculated_data/feed_mark";
constexpr const char* kPointElement = "point";
constexpr const char* kSideAttribute = "side";
constexpr const char* kToothAttribute = "tooth";
constexpr const char* kMeasurementIndexAttribute = "measurement_index";

// A feed-mark result is complete from these sizes on.
constexpr std::size_t kMinimumFeedMarkPoints = 3;
constexpr std::size_t kMinimumFeedMarkParameters = 4;

// An attribute that is missing or empty leaves `value` alone and counts as read.
template <typename E>
bool readTypeAttribute(const host::MSXMLWrapper& xml, host::XMLNode node, const char* attribute,
                       bool (*fromText)(const std::string&, E*), E& value) {
    std::string text;
    if (!xml.getAttributeValue(node, attribute, text) || text.empty()) return true;
    return fromText(text, &value);
}

bool hasText(const host::MSXMLWrapper& xml, host::XMLNode node, const char* attribute) {
    std::string text;
    return xml.getAttributeValue(node, attribute, text) && !text.empty();
}

// The key of a feed-mark point: side, tooth list and measurement index from the point's attributes.
bool readPointKey(const host::MSXMLWrapper& xml, host::XMLNode point, Gear_Measurement_Info& info) {
    std::string text;
    bool result = xml.getAttributeValue(point, kSideAttribute, text) && string_2_Side(text, &info.side);
    result = xml.getAttributeValue(point, kToothAttribute, text) && info.setTooth(text) && result;
    long index = -1;
    if (xml.getAttributeValue(point, kMeasurementIndexAttribute, text) &&
        util::textToLong(text, index, false) && index >= 0 &&
        static_cast<unsigned long>(index) <= std::numeric_limits<unsigned int>::max())
        info.measurementIndex = static_cast<unsigned int>(index);
    else
        result = false;
    return result;
}

bool writePointKey(host::MSXMLWrapper& xml, host::XMLNode point, const Gear_Measurement_Info& info) {
    bool result = xml.addAttributeValue(point, kSideAttribute, info.side_2_string());
    result = xml.addAttributeValue(point, kToothAttribute, info.teeth_2_string(true)) && result;
    return xml.addAttributeValue(point, kMeasurementIndexAttribute, std::to_string(info.measurementIndex)) &&
           result;
}

} // namespace

ProcessingInformation::~ProcessingInformation() = default;

bool ProcessingInformation::loadXML(host::MSXMLWrapper* xml) {
    if (!xml) return false;
    const host::XMLNode node = xml->getNode(kProcessingElement);
    if (!node) return true;
    // The old attribute wins when both are present.
    const char* postProcessAttribute = hasText(*xml, node, kOldPostProcessTypeAttribute)
                                           ? kOldPostProcessTypeAttribute
                                           : kPostProcessTypeAttribute;
    return readTypeAttribute(*xml, node, postProcessAttribute, string_2_PostProcessType, postProcessType_) &&
           readTypeAttribute(*xml, node, kProcessTypeAttribute, string_2_ProcessType, processType_);
}

bool ProcessingInformation::saveXML(host::MSXMLWrapper* xml) const {
    if (!xml || !xml->deleteNodes(kProcessingElement)) return false;
    const host::XMLNode node = xml->createNode(kProcessingElement);
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
    const host::XMLNode feedMark = xml->getNode(kFeedMarkElement);
    if (!feedMark) return true;
    clear();
    bool result = true;
    for (const host::XMLNode child : xml->getNodes("*", feedMark)) {
        if (std::string_view(child.name()) == kPointElement) continue;
        Gear_General_Parameter parameter;
        result = parameter.loadXML(xml, child) && result;
        parameters.push_back(std::move(parameter));
    }
    for (const host::XMLNode pointNode : xml->getNodes(kPointElement, feedMark)) {
        Gear_Measurement_Info info;
        // Unset references, so that a point that does not read cannot pass for one in the first reference.
        MeasurementPathPoint point(0.0, static_cast<Reference>(-1), 0.0, static_cast<Reference>(-1));
        if (!readPointKey(*xml, pointNode, info) || !point.loadXML(xml, pointNode)) {
            result = false;
            continue;
        }
        // A later point replaces an earlier one with an equal key, its key included.
        points.erase(info);
        points.emplace(std::move(info), point);
    }
    return result;
}

bool FeedMarkInformation::saveXML(host::MSXMLWrapper* xml) const {
    if (!xml || !xml->deleteNodes(kFeedMarkElement)) return false;
    if (parameters.empty()) return true;
    const host::XMLNode feedMark = xml->createNode(kFeedMarkElement);
    if (!feedMark) return false;
    bool result = true;
    for (const Gear_General_Parameter& parameter : parameters)
        result = parameter.saveXML(xml, feedMark) && result;
    unsigned int id = 0;
    for (const auto& [info, point] : points) {
        result = point.saveXML(xml, feedMark, id) && result;
        const std::string path = std::string(kPointElement) + "[@id=" + std::to_string(id) + "]";
        if (const host::XMLNode written = xml->getNode(path, feedMark))
            result = writePointKey(*xml, written, info) && result;
        ++id;
    }
    return result;
}

} // namespace kest::gear
