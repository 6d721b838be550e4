#include <kest/gear/evaluation_features.h>
#include <kest/gear/gear_feature_info.h>

#include "evaluation/evaluation_xml.h"
#include "host/report.h"
#include "host/user_text_xml.h"
#include "util/string_format.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

namespace kest::gear {
namespace {

constexpr const char* kUnknownParameter = "unknown parameter for AdditionalDataType";
constexpr const char* kNotAllowed = "%s (%s) for feature '%s' not allowed";
constexpr const char* kModeNotValid = "%s (%s) = '%s' for feature '%s' not valid";

constexpr std::string_view kPlusSuffix = "__plus__";
constexpr std::string_view kMinusSuffix = "__minus__";

enum class ValueKind { Double, String, Int };

constexpr std::string_view kBallFeatures[] = {"MdK", "MdR", "MrK", "MrR", "Fr"};
constexpr std::string_view kExtrapolationFeatures[] = {"fHa", "fHb", "Ca", "Cb", "CT"};
constexpr std::string_view kModeFeatures[] = {"fHb", "Caa", "Caf", "CbI", "CbII"};
constexpr std::string_view kTeethFeatures[] = {"Wk", "Fpk"};
constexpr std::string_view kSizeFeatures[] = {"hoa", "hob"};
constexpr std::string_view kYCircleFeatures[] = {"syt", "syn", "eyt", "eyn", "ayt", "ayn", "gyt", "gyn"};

struct DataRow {
    AdditionalDataType value;
    std::string_view text; // the element of the gear file
    std::string_view parameter;
    ValueKind kind;
    bool restricted; // only the features of `features` may carry it
    std::span<const std::string_view> features;
};

constexpr std::array kDataRows{
    DataRow{AdditionalDataType::NominalValue, "nominal_value", "NOMINAL_SIZE", ValueKind::Double, false, {}},
    DataRow{AdditionalDataType::LowerTolerance, "ltol", "L_TOL", ValueKind::Double, false, {}},
    DataRow{AdditionalDataType::UpperTolerance, "utol", "U_TOL", ValueKind::Double, false, {}},
    DataRow{AdditionalDataType::BallDiameter, "ball_diameter", "DM", ValueKind::Double, true, kBallFeatures},
    DataRow{AdditionalDataType::ExtrapolationLength, "extrapolation_length", "LENGTH_FOR_EXTRAPOLATION",
            ValueKind::Double, true, kExtrapolationFeatures},
    DataRow{AdditionalDataType::EvaluationMode, evaluation_xml::kEvaluationModeElement, "EVALUATION_MODE",
            ValueKind::String, true, kModeFeatures},
    DataRow{AdditionalDataType::NumberOfTeeth, "number_of_teeth", "NUMBER_OF_TEETH", ValueKind::Int, true,
            kTeethFeatures},
    DataRow{AdditionalDataType::Size, "size", "SIZE", ValueKind::Double, true, kSizeFeatures},
    DataRow{AdditionalDataType::Height, "height", "HEIGHT", ValueKind::Double, false, {}},
    DataRow{AdditionalDataType::Reference, "reference", "REFERENCE", ValueKind::String, false, {}},
    // The misspelt key is the one gear files carry.
    DataRow{AdditionalDataType::YCircleDiameter, "y_cirlce_diameter", "Y_CIRCLE_DIAMETER", ValueKind::Double,
            true, kYCircleFeatures},
};

// The evaluation modes a feature may carry; the first row of a feature gives the mode of a file without one.
struct ModeRow {
    std::string_view feature;
    std::string_view defaultMode;
    std::string_view otherMode;
};

constexpr ModeRow kModes[] = {
    {"fHb", "DIN3960", "VDI2612"},
    {"Caa", "DIN21772_RELIEF_METHOD2", "DIN21772_RELIEF_METHOD1"},
    {"Caf", "DIN21772_RELIEF_METHOD2", "DIN21772_RELIEF_METHOD1"},
    {"CbI", "DIN21772_RELIEF_METHOD2", "DIN21772_RELIEF_METHOD1"},
    {"CbII", "DIN21772_RELIEF_METHOD2", "DIN21772_RELIEF_METHOD1"},
};

constexpr std::string_view kBothSidedFeatures[] = {"dfHb", "dfHbm", "mfHb", "mfHbm"};

const DataRow* rowOf(AdditionalDataType type) {
    const auto it = std::ranges::find(kDataRows, type, &DataRow::value);
    return it == kDataRows.end() ? nullptr : &*it;
}

bool isKind(AdditionalDataType type, ValueKind kind) {
    const DataRow* row = rowOf(type);
    return row != nullptr && row->kind == kind;
}

bool contains(std::span<const std::string_view> names, std::string_view name) {
    return std::ranges::find(names, name) != names.end();
}

const ModeRow* modeRowOf(std::string_view feature) {
    const auto it = std::ranges::find(kModes, feature, &ModeRow::feature);
    return it == std::ranges::end(kModes) ? nullptr : &*it;
}

std::string safeNameOf(const std::string& name) {
    if (name.ends_with('+')) return name.substr(0, name.size() - 1) + std::string(kPlusSuffix);
    if (name.ends_with('-')) return name.substr(0, name.size() - 1) + std::string(kMinusSuffix);
    return name;
}

std::string nameOfSafeName(const std::string& safeName) {
    if (safeName.ends_with(kPlusSuffix))
        return safeName.substr(0, safeName.size() - kPlusSuffix.size()) + "+";
    if (safeName.ends_with(kMinusSuffix))
        return safeName.substr(0, safeName.size() - kMinusSuffix.size()) + "-";
    return safeName;
}

template <typename Map, typename T>
bool getFrom(const Map& map, AdditionalDataType type, T* out) {
    if (out == nullptr) return false;
    const auto it = map.find(type);
    if (it == map.end()) return false;
    *out = it->second;
    return true;
}

} // namespace

GearFeature::GearFeature(const std::string& name) {
    setName(name);
}

bool GearFeature::setName(const std::string& name) {
    name_ = nameOfSafeName(name);
    std::string successor;
    if (GearFeatureInfo::isDeprecatedFeature(name_, successor)) {
        GR_TRACE(1, "deprecated feature found: %s. replaced by %s", name_.c_str(), successor.c_str());
        name_ = successor;
    }
    safeName_ = safeNameOf(name_);
    return true;
}

bool GearFeature::set(AdditionalDataType type, double value) {
    if (!isDoubleType(type)) return false;
    doubleData_[type] = value;
    return true;
}

bool GearFeature::set(AdditionalDataType type, const std::string& value) {
    if (!isStringType(type)) return false;
    stringData_[type] = value;
    return true;
}

bool GearFeature::set(AdditionalDataType type, int value) {
    if (!isIntType(type)) return false;
    intData_[type] = value;
    return true;
}

bool GearFeature::set(AdditionalDataType type, long long value) {
    // the low 32 bits, as two's complement
    return set(type, static_cast<int>(static_cast<std::uint32_t>(static_cast<unsigned long long>(value))));
}

bool GearFeature::get(AdditionalDataType type, double* out) const {
    return getFrom(doubleData_, type, out);
}

bool GearFeature::get(AdditionalDataType type, std::string* out) const {
    return getFrom(stringData_, type, out);
}

bool GearFeature::get(AdditionalDataType type, int* out) const {
    return getFrom(intData_, type, out);
}

bool GearFeature::remove(AdditionalDataType type) {
    return doubleData_.erase(type) + stringData_.erase(type) + intData_.erase(type) > 0;
}

bool GearFeature::isIntType(AdditionalDataType type) {
    return isKind(type, ValueKind::Int);
}

bool GearFeature::isStringType(AdditionalDataType type) {
    return isKind(type, ValueKind::String);
}

bool GearFeature::isDoubleType(AdditionalDataType type) {
    return isKind(type, ValueKind::Double);
}

std::string GearFeature::AdditionalDataType_2_parameter(AdditionalDataType type) {
    const DataRow* row = rowOf(type);
    if (row == nullptr) throw kUnknownParameter;
    return std::string(row->parameter);
}

bool GearFeature::isBothSided() const {
    return contains(kBothSidedFeatures, name_);
}

bool GearFeature::isValid(std::string& message) const {
    message.clear();
    for (const DataRow& row : kDataRows) {
        if (!row.restricted) continue;
        const bool carried = doubleData_.contains(row.value) || stringData_.contains(row.value) ||
                             intData_.contains(row.value);
        if (!carried) continue;
        if (!contains(row.features, name_)) {
            util::stl_string_format(message, kNotAllowed, std::string(row.parameter).c_str(),
                                    std::string(row.text).c_str(), name_.c_str());
            return false;
        }
        if (row.value != AdditionalDataType::EvaluationMode) continue;
        const std::string& mode = stringData_.at(row.value);
        const ModeRow* modes = modeRowOf(name_);
        if (modes == nullptr || (mode != modes->defaultMode && mode != modes->otherMode)) {
            util::stl_string_format(message, kModeNotValid, std::string(row.parameter).c_str(),
                                    std::string(row.text).c_str(), mode.c_str(), name_.c_str());
            return false;
        }
    }
    try {
        getFeatureInfo(name_);
    } catch (const char* failure) {
        util::stl_string_format(message, "%s: %s", failure, name_.c_str());
        return false;
    }
    return true;
}

bool GearFeature::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent, host::XMLNode& node) const {
    std::string message;
    if (!xml || !parent || !isValid(message)) return false;
    deleteOwnNameElement(*xml, parent);
    node = xml->createNode(evaluation_xml::kFeatureElement, parent, true);
    return node && writeElement(*xml, node);
}

// Older writers gave a feature an element of its own name.
void GearFeature::deleteOwnNameElement(host::MSXMLWrapper& xml, const host::XMLNode& parent) const {
    if (!safeName_.empty()) xml.deleteNodes(safeName_, parent);
}

bool GearFeature::writeElement(host::MSXMLWrapper& xml, const host::XMLNode& node) const {
    bool result = xml.addAttributeValue(node, evaluation_xml::kNameAttribute, safeName_);
    result = EnableDisable::saveXML(&xml, node) && result;
    // Doubles, then texts, then integers, each in type order; data the feature does not carry is removed.
    for (const DataRow& row : kDataRows) {
        const auto value = doubleData_.find(row.value);
        if (value != doubleData_.end()) result = xml.setDoubleValue(row.text, value->second, node) && result;
    }
    for (const DataRow& row : kDataRows) {
        const auto value = stringData_.find(row.value);
        // a text the element would not give back as written (see host::keptAsElementText) is refused
        if (value != stringData_.end())
            result = host::keptAsElementText(value->second) &&
                     xml.setStringValue(row.text, value->second, node) && result;
    }
    for (const DataRow& row : kDataRows) {
        const auto value = intData_.find(row.value);
        if (value != intData_.end()) result = xml.setIntValue(row.text, value->second, node) && result;
    }
    for (const DataRow& row : kDataRows)
        if (!doubleData_.contains(row.value) && !stringData_.contains(row.value) &&
            !intData_.contains(row.value))
            result = xml.deleteNodes(row.text, node) && result;
    return result;
}

bool GearFeature::loadXML(host::MSXMLWrapper* xml, const host::XMLNode& node) {
    if (!xml || !node) return false;
    std::string name;
    xml->getAttributeValue(node, evaluation_xml::kNameAttribute, name);
    setName(name);
    bool result = EnableDisable::loadXML(xml, node);
    // One pass over the children: the first element of a key decides, as a lookup by key would find it.
    std::array<bool, kDataRows.size()> seen{};
    for (const host::XMLNode child : xml->getNodes("*", node)) {
        const auto row = std::ranges::find(kDataRows, std::string_view(child.name()), &DataRow::text);
        if (row == kDataRows.end()) continue;
        bool& rowSeen = seen[static_cast<std::size_t>(row - kDataRows.begin())];
        if (rowSeen) continue;
        rowSeen = true;
        switch (row->kind) {
        case ValueKind::Double: {
            double value = 0.0;
            if (xml->getDoubleValue("", value, child)) doubleData_[row->value] = value;
            break;
        }
        case ValueKind::String: {
            std::string text;
            if (xml->getStringValue("", text, child)) stringData_[row->value] = text;
            break;
        }
        case ValueKind::Int: {
            // Read only where validation allows it, so that a stray count does not make the feature invalid.
            long value = 0;
            if (contains(row->features, name_) && xml->getIntValue("", value, child))
                intData_[row->value] = static_cast<std::int32_t>(value);
            break;
        }
        }
    }
    // A missing mode, or the tangent-relief mode of older files, is the feature's default mode.
    const auto mode = stringData_.find(AdditionalDataType::EvaluationMode);
    if (mode == stringData_.end() || mode->second == evaluation_xml::kTangentRelief)
        if (const ModeRow* modes = modeRowOf(name_))
            stringData_[AdditionalDataType::EvaluationMode] = std::string(modes->defaultMode);
    std::string message;
    return isValid(message) && result;
}

} // namespace kest::gear
