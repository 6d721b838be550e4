#include <kest/gear/processing_information.h>

#include "host/child_sync.h"
#include "record/feed_mark_store.h"
#include "record/gear_file_xml.h"

#include <algorithm>
#include <string_view>

namespace kest::gear {
namespace {

using namespace gear_file_xml;

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
    // a type without a name would be written as a text that a load refuses
    const std::string postProcessText = PostProcessType_2_string(postProcessType_);
    const std::string processText = ProcessType_2_string(processType_);
    PostProcessType postProcess{};
    ProcessType process{};
    if (!string_2_PostProcessType(postProcessText, &postProcess) ||
        !string_2_ProcessType(processText, &process))
        return false;
    // The first element is kept, any other goes.
    host::ChildSync elements(
        xml->getRootNode(), [](host::XMLNode n) { return std::string_view(n.name()) == kProcessingElement; });
    const host::XMLNode node = elements.take(kProcessingElement);
    if (node) xml->removeAttributeValue(node, kOldPostProcessTypeAttribute);
    return node && xml->addAttributeValue(node, kPostProcessTypeAttribute, postProcessText) &&
           xml->addAttributeValue(node, kProcessTypeAttribute, processText);
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
    if (!feedMarkElement(*xml)) return true;
    FeedMarkStore store;
    const bool result = store.load(*xml);
    *this = store.information();
    return result;
}

bool FeedMarkInformation::saveXML(host::MSXMLWrapper* xml) const {
    if (!xml) return false;
    FeedMarkStore store;
    store.assign(*this);
    return store.save(*xml);
}

} // namespace kest::gear
