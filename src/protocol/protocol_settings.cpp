// The protocol settings' defaults, accessors and comparison; their XML form is in protocol_settings_xml.cpp.

#include <kest/gear/host/globals.h>
#include <kest/gear/protocol_settings.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <utility>

namespace kest::gear {
namespace {

using PS = ProtocolSettings;

// Scales and numeric settings closer than this are the same setting.
constexpr double kEqualityTolerance = 1e-6;

bool nearlyEqual(double a, double b) {
    return std::fabs(a - b) <= kEqualityTolerance;
}

// A suite setting that the host does not answer counts as 0.
bool suiteFlag(const char* name) {
    long value = 0;
    if (!host::GlobalsLookup(name, value)) value = 0;
    return value != 0;
}

// The bar diagrams drawn without being asked for.
bool enabledByDefault(PS::BarDiagramType type) {
    return type == PS::BarDiagramType::fp || type == PS::BarDiagramType::Fp_j ||
           type == PS::BarDiagramType::Fr_j;
}

std::size_t outputIndex(PS::OutputUnit unit) {
    const auto index = static_cast<std::size_t>(static_cast<std::uint32_t>(unit));
    if (index >= PS::output_keys.size()) throw "illegal output type";
    return index;
}

std::size_t barDiagramIndex(PS::BarDiagramType type) {
    const auto index = static_cast<std::size_t>(static_cast<std::uint32_t>(type));
    if (index >= PS::bar_diagrams.size()) throw "illegal bar diagram type";
    return index;
}

// returns nullptr for a type outside the table
const char* otherName(PS::OtherType type) {
    const auto index = static_cast<std::size_t>(static_cast<std::uint32_t>(type));
    return index < PS::other_names.size() ? PS::other_names[index] : nullptr;
}

bool sameComparedParameters(const PS::parametersProfLead& a, const PS::parametersProfLead& b) {
    return a.enabled == b.enabled && a.reference == b.reference && nearlyEqual(a.scaleVa, b.scaleVa) &&
           nearlyEqual(a.scaleVb, b.scaleVb) && a.referenceElement == b.referenceElement &&
           a.extendedRangeTable == b.extendedRangeTable &&
           a.angleErrorAsDifferenceActualNominal == b.angleErrorAsDifferenceActualNominal;
}

bool sameExtraLine(const PS::BarDiagramExtraLine& a, const PS::BarDiagramExtraLine& b) {
    return a.enabled == b.enabled && a.feature == b.feature;
}

} // namespace

ProtocolSettings::ProtocolSettings()
    : barDiagrams_(defaultBarDiagrams()) {
    profile_.flipDiagram = suiteFlag("gear.protocol.profile.flip_diagram");
    lead_.reference = Reference::LengthNonDatumToDatum;
    lead_.flipDiagram = suiteFlag("gear.protocol.lead.flip_diagram");
}

const std::shared_ptr<const ProtocolSettings::BarDiagrams>& ProtocolSettings::defaultBarDiagrams() {
    static const std::shared_ptr<const BarDiagrams> defaults = [] {
        auto diagrams = std::make_shared<BarDiagrams>();
        for (std::size_t i = 0; i < bar_diagrams.size(); ++i) {
            BarDiagram& diagram = (*diagrams)[i];
            diagram.feature = bar_diagrams[i].feature;
            diagram.enabled = enabledByDefault(static_cast<BarDiagramType>(i));
            if (*bar_diagrams[i].extraFeature != '\0')
                diagram.extraLines.push_back({bar_diagrams[i].extraFeature, false});
        }
        return std::shared_ptr<const BarDiagrams>(std::move(diagrams));
    }();
    return defaults;
}

ProtocolSettings::BarDiagrams& ProtocolSettings::ownBarDiagrams() {
    if (barDiagrams_.use_count() != 1) {
        auto own = std::make_shared<BarDiagrams>(*barDiagrams_);
        BarDiagrams& diagrams = *own;
        barDiagrams_ = std::move(own);
        return diagrams;
    }
    // Held by this object alone, which made it as a modifiable array: the defaults are always shared.
    return const_cast<BarDiagrams&>(*barDiagrams_);
}

ProtocolSettings::~ProtocolSettings() = default;

ProtocolSettings::BarDiagram& ProtocolSettings::barDiagram(BarDiagramType type) {
    const std::size_t index = barDiagramIndex(type);
    return ownBarDiagrams()[index];
}
const ProtocolSettings::BarDiagram& ProtocolSettings::barDiagram(BarDiagramType type) const {
    return (*barDiagrams_)[barDiagramIndex(type)];
}

bool ProtocolSettings::getProfLeadParameters(bool profile, parametersProfLead& parameters) const {
    parameters = profile ? profile_ : lead_;
    return true;
}
void ProtocolSettings::setProfLeadParameters(bool profile, const parametersProfLead& parameters) {
    profLead(profile) = parameters;
}

bool ProtocolSettings::getOutput(OutputUnit unit) const {
    return outputs_[outputIndex(unit)];
}
void ProtocolSettings::setOutput(OutputUnit unit, bool enabled) {
    outputs_[outputIndex(unit)] = enabled;
}

bool ProtocolSettings::getBarDiagram(BarDiagramType type, bool& enabled, double& scale,
                                     std::vector<BarDiagramExtraLine>* extraLines) const {
    const BarDiagram& diagram = barDiagram(type);
    enabled = diagram.enabled;
    scale = diagram.scale;
    if (extraLines) *extraLines = diagram.extraLines;
    return true;
}
void ProtocolSettings::setBarDiagram(BarDiagramType type, bool enabled, double scale,
                                     const std::vector<BarDiagramExtraLine>* extraLines) {
    BarDiagram& diagram = barDiagram(type);
    diagram.enabled = enabled;
    diagram.scale = scale;
    if (extraLines)
        diagram.extraLines = *extraLines;
    else
        diagram.extraLines.clear();
}
const std::string& ProtocolSettings::getBarDiagramFeature(BarDiagramType type) const {
    return barDiagram(type).feature;
}

bool ProtocolSettings::getOtherSettings(OtherType type, bool& enabled, double& value) const {
    const char* name = otherName(type);
    if (!name) return false;
    const auto it = other_.find(name);
    if (it == other_.end()) return false;
    enabled = it->second.enabled.is_enabled();
    value = it->second.value;
    return true;
}
bool ProtocolSettings::setOtherSettings(OtherType type, bool enabled, double value) {
    const char* name = otherName(type);
    if (!name) return false;
    OtherData& data = other_[name];
    data.name = name;
    if (enabled)
        data.enabled.enable();
    else
        data.enabled.disable();
    data.value = value;
    return true;
}

bool ProtocolSettings::getFlankName(Side side, std::string& name) const {
    const auto it = flankNames_.find(side);
    if (it == flankNames_.end()) return false;
    name = it->second;
    return true;
}
void ProtocolSettings::setFlankName(Side side, const std::string& name) {
    flankNames_[side] = name;
}

bool ProtocolSettings::getAddendumModificationVariant(AddendumModificationVariant& variant) const {
    variant = addendumModificationVariant_.get();
    return true;
}
void ProtocolSettings::setAddendumModificationVariant(AddendumModificationVariant variant) {
    addendumModificationVariant_.set(variant);
}

bool ProtocolSettings::getTopographyGrahpType(std::string& type) const {
    type = topographyGraphType_;
    return true;
}
void ProtocolSettings::setTopographyGraphType(const std::string& type) {
    if (std::ranges::find(topography_graph_types, type) == topography_graph_types.end())
        throw "illegal topography graph type";
    topographyGraphType_ = type;
}

bool ProtocolSettings::operator==(const ProtocolSettings& other) const {
    if (!sameComparedParameters(profile_, other.profile_) || !sameComparedParameters(lead_, other.lead_) ||
        header_ != other.header_ || pitchSingleValueTable_ != other.pitchSingleValueTable_ ||
        pitchResultsOverviewTable_ != other.pitchResultsOverviewTable_ || outputs_ != other.outputs_)
        return false;
    for (std::size_t i = 0; i < barDiagrams_->size(); ++i) {
        const BarDiagram& a = (*barDiagrams_)[i];
        const BarDiagram& b = (*other.barDiagrams_)[i];
        if (a.feature != b.feature || a.enabled != b.enabled || !nearlyEqual(a.scale, b.scale) ||
            !std::ranges::equal(a.extraLines, b.extraLines, sameExtraLine))
            return false;
    }
    if (other_.size() != other.other_.size()) return false;
    for (const auto& [name, data] : other_) {
        const auto it = other.other_.find(name);
        if (it == other.other_.end() || data.enabled != it->second.enabled ||
            !nearlyEqual(data.value, it->second.value))
            return false;
    }
    return addendumModificationVariant_.get() == other.addendumModificationVariant_.get() &&
           flankNames_ == other.flankNames_ && twistOnSeparatedPages_ == other.twistOnSeparatedPages_ &&
           topographyGraphType_ == other.topographyGraphType_ &&
           outputFeedmarkProtocol_ == other.outputFeedmarkProtocol_ &&
           outputRootscanProtocol_ == other.outputRootscanProtocol_ &&
           createEasyContourResults_ == other.createEasyContourResults_;
}

} // namespace kest::gear
