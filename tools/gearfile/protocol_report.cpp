#include "record_report.h"

#include "text_format.h"

#include <kest/gear/protocol_settings.h>

#include <string>
#include <vector>

namespace kest::gearfile {
namespace {

using gear::ProtocolHeader;
using gear::ProtocolSettings;

const char* onOff(bool flag) {
    return flag ? "on" : "off";
}

std::string scaleText(double scale) {
    return scale == ProtocolSettings::scale_val_auto ? "auto" : formatNumber(scale);
}

// "on, 4 per side, rolling path, flip off, scale auto / auto, reference element on, extended range table off,
// angle error as difference off"
std::string lineText(const ProtocolSettings::parametersProfLead& p) {
    return std::string(onOff(p.enabled)) + ", " + std::to_string(p.numberPerSide) + " per side, " +
           gear::Reference_2_string(p.reference) + ", flip " + onOff(p.flipDiagram) + ", scale " +
           scaleText(p.scaleVa) + " / " + scaleText(p.scaleVb) + ", reference element " +
           onOff(p.referenceElement) + ", extended range table " + onOff(p.extendedRangeTable) +
           ", angle error as difference " + onOff(p.angleErrorAsDifferenceActualNominal);
}

// A list joined by ", "; "none" when empty.
std::string listText(const std::vector<std::string>& items) {
    if (items.empty()) return "none";
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

void addBarDiagrams(FieldTable& table, const ProtocolSettings& s) {
    using Type = ProtocolSettings::BarDiagramType;
    for (std::size_t i = 0; i < ProtocolSettings::bar_diagrams.size(); ++i) {
        bool enabled = false;
        double scale = 0.0;
        std::vector<ProtocolSettings::BarDiagramExtraLine> lines;
        s.getBarDiagram(static_cast<Type>(i), enabled, scale, &lines);
        std::vector<std::string> extras;
        for (const auto& line : lines)
            if (line.enabled) extras.push_back(line.feature);
        if (!enabled && extras.empty() && scale == ProtocolSettings::scale_val_auto) continue;
        table.field(std::string("bar diagram ") + s.getBarDiagramFeature(static_cast<Type>(i)),
                    std::string(onOff(enabled)) + ", scale " + scaleText(scale) + ", extra lines " +
                        listText(extras));
    }
}

void addHeader(FieldTable& table, const ProtocolHeader& header) {
    bool any = false;
    for (std::size_t i = 0; i < ProtocolHeader::entryCount; ++i) {
        const auto entry = static_cast<ProtocolHeader::HeaderEntry>(i);
        std::string value;
        if (!header.get(entry, &value)) continue;
        if (!any) table.section("protocol header");
        any = true;
        table.field(ProtocolHeader::key(entry), value);
    }
    if (any) table.endSection();
}

} // namespace

void addProtocolSections(FieldTable& table, const gear::Gear& gear) {
    ProtocolSettings s;
    gear.getProtocolSettings(&s);
    table.section("protocol settings");
    std::vector<std::string> outputs;
    for (std::size_t i = 0; i < ProtocolSettings::output_keys.size(); ++i)
        if (s.getOutput(static_cast<ProtocolSettings::OutputUnit>(i)))
            outputs.push_back(ProtocolSettings::output_keys[i]);
    table.field("outputs", listText(outputs));
    ProtocolSettings::parametersProfLead parameters;
    s.getProfLeadParameters(true, parameters);
    table.field("profile diagrams", lineText(parameters));
    s.getProfLeadParameters(false, parameters);
    table.field("lead diagrams", lineText(parameters));
    table.field("pitch tables", std::string("single values ") + onOff(s.getPitchSingleValueTable()) +
                                    ", results overview " + onOff(s.getPitchResultsOverviewTable()));
    addBarDiagrams(table, s);
    for (const auto& [name, data] : s.getAllOtherSettings())
        table.field(name, std::string(onOff(data.enabled.is_enabled())) + ", " + formatNumber(data.value));
    gear::AddendumModificationVariant variant{};
    s.getAddendumModificationVariant(variant);
    table.field("addendum modification variant", gear::AddendumModificationVariantClass(variant).getString());
    for (const gear::Side side : {gear::Side::Left, gear::Side::Right, gear::Side::Both}) {
        std::string name;
        if (s.getFlankName(side, name)) table.field(gear::Side_2_string(side) + " flank name", name);
    }
    std::string graphType;
    s.getTopographyGrahpType(graphType);
    table.field("twist on separated pages", onOff(s.getTwistOnSeparatedPages()));
    table.field("topography graph", graphType);
    table.field("feed-mark protocol", onOff(s.getOutputFeedmarkProtocol()));
    table.field("root-scan protocol", onOff(s.getOutputRootscanProtocol()));
    table.field("easy contour results", onOff(s.getCreateEasyContourResults()));
    table.endSection();
    addHeader(table, s.getHeader());
}

} // namespace kest::gearfile
