// The protocol settings in the gear file: the element "protocol" and everything below it.

#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/protocol_settings.h>

#include "host/user_text_xml.h"
#include "protocol/protocol_xml.h"
#include "util/listed.h"
#include "util/number_text.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <vector>

namespace kest::gear {
namespace {

using namespace protocol_xml;
using host::MSXMLWrapper;
using host::XMLNode;

// The children of "protocol" that the settings write; a save replaces them and leaves any other child alone.
constexpr std::array kOwnedChildren{
    kOutputUnitElement, "profile",        "lead",          kPitchElement,    kTipCircleElement,
    kRootCircleElement, kOtherElement,    kHeaderElement,  kGeometryElement, kTwistElement,
    kTopographyElement, kFeedMarkElement, kRootScanElement};

bool writeFlag(MSXMLWrapper& xml, XMLNode node, bool flag) {
    return node && xml.addAttributeValue(node, kEnabledAttribute, util::onOffText(flag));
}

// Creates (or reuses) the child `name` of `parent` with the flag on it.
bool writeChildFlag(MSXMLWrapper& xml, XMLNode parent, const char* name, bool flag) {
    return writeFlag(xml, xml.createNode(name, parent), flag);
}

// false, leaving `flag` alone, when the node or its attribute is missing or holds neither "on" nor "off"
bool readFlag(const MSXMLWrapper& xml, XMLNode node, bool& flag) {
    std::string text;
    return node && xml.getAttributeValue(node, kEnabledAttribute, text) && util::textToOnOff(text, flag);
}

bool readChildFlag(const MSXMLWrapper& xml, XMLNode parent, const char* name, bool& flag) {
    return readFlag(xml, xml.getNode(name, parent), flag);
}

// A scale so small that its decimals show "0" is written in full: "0" would read back as automatic.
std::string scaleText(double scale) {
    if (scale == ProtocolSettings::scale_val_auto) return kScaleAutoText;
    std::string text = util::formatDouble(scale, kScaleDecimals);
    return text == "0" ? util::shortestDouble(scale) : text;
}

// "auto" reads as automatic scaling; any other text as far as it is a number. false, leaving `scale` alone,
// when the node or attribute is missing or the text does not start with a number.
bool readScale(const MSXMLWrapper& xml, XMLNode scaleNode, const char* attribute, double& scale) {
    std::string text;
    if (!scaleNode || !xml.getAttributeValue(scaleNode, attribute, text)) return false;
    if (text == kScaleAutoText) {
        scale = ProtocolSettings::scale_val_auto;
        return true;
    }
    double value = 0.0;
    if (!util::textToDouble(text, value, false)) return false;
    scale = value;
    return true;
}

const char* lineElement(Measurement_Type type) {
    return type == Measurement_Type::Profile ? "profile" : "lead";
}

// Finds (or creates) the node of a bar diagram by its key path below "protocol". The diagrams lie in a few
// groups ("pitch/bar_diagram"); each group is looked up once and the diagram by its own name in it.
class BarDiagramNodes {
public:
    BarDiagramNodes(MSXMLWrapper& xml, XMLNode protocol, bool create)
        : xml_(xml)
        , protocol_(protocol)
        , create_(create) {}

    XMLNode node(std::string_view key) {
        const std::size_t slash = key.rfind('/');
        const std::string_view group = key.substr(0, slash);
        const std::string_view name = key.substr(slash + 1);
        XMLNode groupNode;
        const auto known = std::ranges::find(groups_, group, &Group::path);
        if (known != groups_.end()) {
            groupNode = known->node;
        } else {
            groupNode = create_ ? xml_.createNode(group, protocol_) : xml_.getNode(group, protocol_);
            groups_.push_back({group, groupNode});
        }
        if (!groupNode) return {};
        return create_ ? xml_.createNode(name, groupNode) : xml_.getNode(name, groupNode);
    }

private:
    struct Group {
        std::string_view path;
        XMLNode node;
    };
    MSXMLWrapper& xml_;
    XMLNode protocol_;
    bool create_;
    std::vector<Group> groups_;
};

} // namespace

bool ProtocolSettings::saveXML(host::MSXMLWrapper* xml, const std::string& basePath) const {
    if (!xml) return false;
    bool found = false;
    const XMLNode base = baseNode(*xml, basePath, found);
    if (!found) return false;
    const XMLNode protocol = xml->createNode(kProtocolElement, base);
    if (!protocol) return false;
    for (const char* child : kOwnedChildren)
        xml->deleteNodes(child, protocol);

    const XMLNode units = xml->createNode(kOutputUnitElement, protocol);
    if (!units) return false;
    for (std::size_t i = 0; i < output_keys.size(); ++i)
        if (!writeChildFlag(*xml, units, output_keys[i], outputs_[i])) return false;

    const std::string geometryPath =
        (basePath.empty() ? "" : basePath + "/") + kProtocolElement + "/" + kGeometryElement;
    return saveProfLead(*xml, protocol, Measurement_Type::Profile) &&
           saveProfLead(*xml, protocol, Measurement_Type::Lead) && savePitch(*xml, protocol) &&
           saveOther(*xml, protocol) && header_.saveXML(xml, basePath) &&
           saveGeometry(*xml, protocol, geometryPath) && saveFlags(*xml, protocol);
}

bool ProtocolSettings::saveProfLead(MSXMLWrapper& xml, XMLNode protocol, Measurement_Type type) const {
    const parametersProfLead& p = type == Measurement_Type::Profile ? profile_ : lead_;
    // a reference without a name would be written as a text that a load passes over
    if (!util::listed(allReferences(), p.reference)) return false;
    const XMLNode node = xml.createNode(lineElement(type), protocol);
    if (!writeFlag(xml, node, p.enabled) || !xml.setIntValue(kNumberPerSideElement, p.numberPerSide, node) ||
        !xml.setStringValue(kReferenceElement, Reference_2_string(p.reference), node) ||
        !writeChildFlag(xml, node, kFlipDiagramElement, p.flipDiagram))
        return false;
    const XMLNode scale = xml.createNode(kScaleElement, node);
    return scale && xml.addAttributeValue(scale, kScaleVaAttribute, scaleText(p.scaleVa)) &&
           xml.addAttributeValue(scale, kScaleVbAttribute, scaleText(p.scaleVb)) &&
           writeChildFlag(xml, node, kReferenceElementElement, p.referenceElement) &&
           writeChildFlag(xml, node, kExtendedRangeTableElement, p.extendedRangeTable) &&
           writeChildFlag(xml, node, kAngleErrorElement, p.angleErrorAsDifferenceActualNominal);
}

bool ProtocolSettings::savePitch(MSXMLWrapper& xml, XMLNode protocol) const {
    const XMLNode pitch = xml.createNode(kPitchElement, protocol);
    if (!pitch || !xml.createNode(kBarDiagramElement, pitch)) return false;
    const XMLNode table = xml.createNode(kTableElement, pitch);
    if (!table || !writeChildFlag(xml, table, kSingleValueTableElement, pitchSingleValueTable_) ||
        !writeChildFlag(xml, table, kOverviewResultsElement, pitchResultsOverviewTable_))
        return false;
    for (const char* circle : {kTipCircleElement, kRootCircleElement}) {
        const XMLNode node = xml.createNode(circle, protocol);
        if (!node || !xml.createNode(kBarDiagramElement, node) || !xml.createNode(kTableElement, node))
            return false;
    }
    BarDiagramNodes nodes(xml, protocol, true);
    for (std::size_t i = 0; i < bar_diagrams.size(); ++i) {
        const BarDiagram& diagram = (*barDiagrams_)[i];
        const XMLNode node = nodes.node(bar_diagrams[i].key);
        if (!writeFlag(xml, node, diagram.enabled)) return false;
        const XMLNode scale = xml.createNode(kScaleElement, node);
        if (!scale || !xml.addAttributeValue(scale, kScaleVaAttribute, scaleText(diagram.scale)))
            return false;
        for (const BarDiagramExtraLine& line : diagram.extraLines) {
            const XMLNode extra = xml.createNode(kExtraElement, node, true);
            if (!extra || !xml.addAttributeValue(extra, kFeatureAttribute, line.feature) ||
                !writeFlag(xml, extra, line.enabled))
                return false;
        }
    }
    return true;
}

bool ProtocolSettings::saveOther(MSXMLWrapper& xml, XMLNode protocol) const {
    const XMLNode other = xml.createNode(kOtherElement, protocol);
    if (!other) return false;
    for (const auto& [name, data] : other_) {
        const XMLNode node = xml.createNode(name, other);
        if (!node || !data.enabled.saveXML(&xml, node) || !xml.setDoubleValue("", data.value, node))
            return false;
    }
    return true;
}

bool ProtocolSettings::saveGeometry(MSXMLWrapper& xml, XMLNode protocol,
                                    const std::string& geometryPath) const {
    if (!addendumModificationVariant_.saveXML(&xml, geometryPath)) return false;
    const std::string flankNamePath = std::string(kGeometryElement) + "/" + kFlankNameElement;
    for (const auto& [side, name] : flankNames_) {
        // a side without a name would be written as a text that a load refuses
        if (!util::listed(allSides(), side)) return false;
        const XMLNode node = xml.createNode(flankNamePath, protocol, true);
        if (!node || !xml.addAttributeValue(node, kSideAttribute, Side_2_string(side)) ||
            !host::writeUserText(xml, node, {"", name}))
            return false;
    }
    return true;
}

bool ProtocolSettings::saveFlags(MSXMLWrapper& xml, XMLNode protocol) const {
    const std::string graphTypePath = std::string(kTopographyElement) + "/" + kGraphTypeElement;
    if (!writeChildFlag(xml, protocol, kTwistElement, twistOnSeparatedPages_) ||
        !xml.setStringValue(graphTypePath, topographyGraphType_, protocol) ||
        !writeChildFlag(xml, protocol, kFeedMarkElement, outputFeedmarkProtocol_))
        return false;
    const XMLNode rootScan = xml.createNode(kRootScanElement, protocol);
    return writeFlag(xml, rootScan, outputRootscanProtocol_) &&
           xml.setIntValue(kEasyContourElement, createEasyContourResults_ ? 1 : 0, rootScan);
}

bool ProtocolSettings::loadXML(host::MSXMLWrapper* xml, const std::string& basePath) {
    if (!xml) return false;
    bool found = false;
    const XMLNode base = baseNode(*xml, basePath, found);
    if (!found) return false;
    const XMLNode protocol = xml->getNode(kProtocolElement, base);
    if (!protocol) return true;

    bool result = loadOutputUnits(*xml, protocol);
    // Parameters that do not read keep their values and do not fail the load.
    loadProfLead(*xml, protocol, Measurement_Type::Profile);
    loadProfLead(*xml, protocol, Measurement_Type::Lead);
    result = loadPitch(*xml, protocol) && result;
    result = loadOther(*xml, protocol) && result;
    result = header_.loadXML(xml, basePath) && result;
    const std::string geometryPath =
        (basePath.empty() ? "" : basePath + "/") + kProtocolElement + "/" + kGeometryElement;
    result = loadGeometry(*xml, protocol, geometryPath) && result;
    return loadFlags(*xml, protocol) && result;
}

bool ProtocolSettings::loadOutputUnits(MSXMLWrapper& xml, XMLNode protocol) {
    const XMLNode units = xml.getNode(kOutputUnitElement, protocol);
    if (!units) return true;
    bool anyUnit = false;
    for (std::size_t i = 0; i < output_keys.size(); ++i) {
        const XMLNode unit = xml.getNode(output_keys[i], units);
        anyUnit = anyUnit || static_cast<bool>(unit);
        bool flag = false;
        outputs_[i] = readFlag(xml, unit, flag) && flag;
    }
    return anyUnit;
}

void ProtocolSettings::loadProfLead(MSXMLWrapper& xml, XMLNode protocol, Measurement_Type type) {
    const XMLNode node = xml.getNode(lineElement(type), protocol);
    if (!node) return;
    parametersProfLead& p = profLead(type == Measurement_Type::Profile);
    readFlag(xml, node, p.enabled);
    long number = 0;
    if (xml.getIntValue(kNumberPerSideElement, number, node) &&
        number >= std::numeric_limits<std::int32_t>::min() &&
        number <= std::numeric_limits<std::int32_t>::max())
        p.numberPerSide = static_cast<std::int32_t>(number);
    std::string reference;
    if (xml.getStringValue(kReferenceElement, reference, node)) string_2_Reference(reference, &p.reference);
    readChildFlag(xml, node, kFlipDiagramElement, p.flipDiagram);
    const XMLNode scale = xml.getNode(kScaleElement, node);
    readScale(xml, scale, kScaleVaAttribute, p.scaleVa);
    readScale(xml, scale, kScaleVbAttribute, p.scaleVb);
    readChildFlag(xml, node, kReferenceElementElement, p.referenceElement);
    readChildFlag(xml, node, kExtendedRangeTableElement, p.extendedRangeTable);
    // Files written before the setting existed show the angle error as it is.
    if (!readChildFlag(xml, node, kAngleErrorElement, p.angleErrorAsDifferenceActualNominal))
        p.angleErrorAsDifferenceActualNominal = false;
}

bool ProtocolSettings::loadPitch(MSXMLWrapper& xml, XMLNode protocol) {
    const XMLNode pitch = xml.getNode(kPitchElement, protocol);
    if (!pitch) return true;
    bool result = true;
    if (const XMLNode table = xml.getNode(kTableElement, pitch)) {
        result = readChildFlag(xml, table, kSingleValueTableElement, pitchSingleValueTable_) && result;
        result = readChildFlag(xml, table, kOverviewResultsElement, pitchResultsOverviewTable_) && result;
    }
    BarDiagramNodes nodes(xml, protocol, false);
    BarDiagrams& diagrams = ownBarDiagrams();
    for (std::size_t i = 0; i < bar_diagrams.size(); ++i) {
        BarDiagram& diagram = diagrams[i];
        const XMLNode node = nodes.node(bar_diagrams[i].key);
        if (!node) {
            diagram.enabled = false;
            continue;
        }
        diagram.extraLines.clear();
        result = readFlag(xml, node, diagram.enabled) && result;
        result = readScale(xml, xml.getNode(kScaleElement, node), kScaleVaAttribute, diagram.scale) && result;
        for (const XMLNode extra : xml.getNodes(kExtraElement, node)) {
            BarDiagramExtraLine line;
            std::string flag;
            result = xml.getAttributeValue(extra, kFeatureAttribute, line.feature) &&
                     xml.getAttributeValue(extra, kEnabledAttribute, flag) &&
                     util::textToOnOff(flag, line.enabled) && result;
            if (result) diagram.extraLines.push_back(std::move(line));
        }
    }
    return result;
}

bool ProtocolSettings::loadOther(MSXMLWrapper& xml, XMLNode protocol) {
    other_.clear();
    const XMLNode other = xml.getNode(kOtherElement, protocol);
    if (!other) return true;
    bool result = true;
    const auto readEntry = [&](XMLNode node, std::string name) {
        OtherData data;
        data.name = std::move(name);
        result = data.enabled.loadXML(&xml, node) && result;
        std::string text;
        xml.getStringValue("", text, node);
        util::textToDouble(text, data.value, false); // as atof: what does not convert is 0
        if (result) other_[data.name] = std::move(data);
    };
    for (const XMLNode group : xml.getNodes("*", other)) {
        const host::XMLNodeList entries = xml.getNodes("*", group);
        if (entries.empty()) readEntry(group, group.name());
        for (const XMLNode entry : entries)
            readEntry(entry, std::string(group.name()) + "/" + entry.name());
    }
    return result;
}

bool ProtocolSettings::loadGeometry(MSXMLWrapper& xml, XMLNode protocol, const std::string& geometryPath) {
    const XMLNode geometry = xml.getNode(kGeometryElement, protocol);
    if (!geometry) return true;
    bool result = addendumModificationVariant_.loadXML(&xml, geometryPath, false);
    for (const XMLNode node : xml.getNodes(kFlankNameElement, geometry)) {
        std::string sideText;
        Side side = Side::Left;
        host::UserText name{"", {}};
        result = xml.getAttributeValue(node, kSideAttribute, sideText) && string_2_Side(sideText, &side) &&
                 host::readUserText(xml, node, name) && result;
        if (result) flankNames_[side] = std::move(name.text);
    }
    return result;
}

bool ProtocolSettings::loadFlags(MSXMLWrapper& xml, XMLNode protocol) {
    bool result = true;
    if (const XMLNode twist = xml.getNode(kTwistElement, protocol))
        result = readFlag(xml, twist, twistOnSeparatedPages_) && result;
    if (const XMLNode topography = xml.getNode(kTopographyElement, protocol))
        result = xml.getStringValue(kGraphTypeElement, topographyGraphType_, topography) && result;
    if (const XMLNode feedMark = xml.getNode(kFeedMarkElement, protocol))
        result = readFlag(xml, feedMark, outputFeedmarkProtocol_) && result;
    if (const XMLNode rootScan = xml.getNode(kRootScanElement, protocol)) {
        result = readFlag(xml, rootScan, outputRootscanProtocol_) && result;
        long easy = 0;
        if (xml.getIntValue(kEasyContourElement, easy, rootScan)) createEasyContourResults_ = easy == 1;
    }
    return result;
}

} // namespace kest::gear
