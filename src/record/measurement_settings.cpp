#include "record/measurement_settings.h"

#include "host/child_sync.h"
#include "host/user_text_xml.h"
#include "measurement/measurement_xml.h"
#include "record/gear_file_xml.h"
#include "record/gear_parameters_xml.h"
#include "util/number_text.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace kest::gear {
namespace {

using namespace gear_file_xml;
using namespace measurement_xml;

std::vector<unsigned int> sortedTeeth(const Gear_Measurement_Info& info) {
    std::vector<unsigned int> teeth = info.getAllTeeth();
    std::ranges::sort(teeth);
    return teeth;
}

bool sameMeasurement(const Gear_Measurement_Info& a, const Gear_Measurement_Info& b) {
    return a.type == b.type && a.side == b.side && a.measurementIndex == b.measurementIndex;
}

// A setting for a single tooth fits every setting that names that tooth; otherwise the lists must agree
// entry for entry.
bool teethFit(const Gear_Measurement_Info& wanted, const Gear_Measurement_Info& setting) {
    const std::vector<unsigned int>& teeth = wanted.getAllTeeth();
    const std::vector<unsigned int>& settingTeeth = setting.getAllTeeth();
    if (teeth.size() == 1) return std::ranges::find(settingTeeth, teeth.front()) != settingTeeth.end();
    return teeth == settingTeeth;
}

// Reads one setting element; the kind comes from the element's name. Every item is read even after one that
// fails; a missing or unreadable "enabled" gives an enabled setting. The attributes are found in one pass.
bool readSetting(host::MSXMLWrapper& xml, host::XMLNode node, Measurement_Type type,
                 Gear_Measurement_Path& s) {
    static constexpr const char* names[] = {kSideAttribute,    kToothAttribute, kMeasurementIndexAttribute,
                                            kEnabledAttribute, kLabelAttribute, host::kBase64Attribute};
    enum { Side, Tooth, Index, Enabled, Label, Base64 };
    const char* texts[std::size(names)];
    node.attributes(names, texts, std::size(names));

    s.type = type;
    bool result = texts[Side] && string_2_Side(texts[Side], &s.side);
    result = s.setTooth(texts[Tooth]) && result; // a missing list reads as none
    s.measurementIndex = readMeasurementIndex(texts[Index], node.name());
    result = s.path.loadXML(&xml, node) && result;
    bool enabled = true;
    if (texts[Enabled] && !util::textToOnOff(texts[Enabled], enabled)) enabled = true;
    enabled ? s.enabled.enable() : s.enabled.disable();
    if (texts[Label]) result = host::readUserText(texts[Label], texts[Base64], s.label) && result;
    if (const host::XMLNode parameters = node.child(kAdditionalElement)) {
        for (host::XMLNode child = parameters.firstChild(); child; child = child.nextSibling())
            result = s.parameters.emplace_back().loadXML(&xml, child) && result;
    }
    return result;
}

// Writes the setting into its element in place: the points of its path, its flag and label, and its own
// additional parameters.
bool writeSetting(host::MSXMLWrapper& xml, host::XMLNode node, const Gear_Measurement_Path& s) {
    if (!node) return false;
    bool result = writeIdentity(xml, node, s);
    result = s.path.saveXML(&xml, node) && result;
    result = s.enabled.saveXML(&xml, node) && result;
    if (!s.label.empty()) {
        result = host::writeUserText(xml, node, host::UserText{kLabelAttribute, s.label}) && result;
    } else {
        xml.removeAttributeValue(node, kLabelAttribute);
        xml.removeAttributeValue(node, host::kBase64Attribute);
    }
    if (s.parameters.empty()) {
        xml.deleteNodes(kAdditionalElement, node);
        return result;
    }
    return writeParameters(xml, host::childElement(xml, node, kAdditionalElement), s.parameters) && result;
}

// A child of "measurement/settings" that this section owns: the tooth-counting flag and the settings, each
// named by its kind.
bool isSettingsElement(host::XMLNode node) {
    Measurement_Type type{};
    return std::string_view(node.name()) == kToothCountingElement ||
           string_2_Measurement_Type(node.name(), &type);
}

} // namespace

host::XMLNode settingsElement(const host::MSXMLWrapper& xml) {
    for (host::XMLNode measurement = xml.getRootNode().child(kMeasurementElement); measurement;
         measurement = measurement.nextNamesake())
        if (const host::XMLNode settings = measurement.child(kSettingsElement)) return settings;
    return {};
}

bool MeasurementSettings::clearToothSettings(Measurement_Type type, Side side) {
    return std::erase_if(settings_, [&](const Gear_Measurement_Path& s) {
               return s.type == type && (side == Side::Both || s.side == side);
           }) > 0;
}

unsigned int MeasurementSettings::getAllToothSettings(std::vector<Gear_Measurement_Info>* out) const {
    if (out) out->insert(out->end(), settings_.begin(), settings_.end());
    return static_cast<unsigned int>(settings_.size());
}

bool MeasurementSettings::addToothSetting(const Gear_Measurement_Info& info, bool enabled) {
    Gear_Measurement_Path& added = settings_.emplace_back(info);
    if (enabled) added.enabled.enable();
    return true;
}

bool MeasurementSettings::clearPathSettings(Measurement_Type type) {
    return clearToothSettings(type, Side::Both);
}

unsigned int MeasurementSettings::getAllPathSettings(std::vector<Gear_Measurement_Path>* out) const {
    if (out) *out = settings_;
    return static_cast<unsigned int>(settings_.size());
}

unsigned int MeasurementSettings::getAllPathSettings(std::vector<Gear_Measurement_Path>* out,
                                                     bool enabled) const {
    if (out) {
        out->clear();
        std::ranges::copy_if(settings_, std::back_inserter(*out), [enabled](const Gear_Measurement_Path& s) {
            return s.enabled.is_enabled() == enabled;
        });
    }
    return static_cast<unsigned int>(settings_.size());
}

// A setting for both flanks serves a question about either flank.
bool MeasurementSettings::getPathSetting(const Gear_Measurement_Info& info,
                                         Gear_Measurement_Path& path) const {
    const auto found = std::ranges::find_if(settings_, [&](const Gear_Measurement_Path& s) {
        return s.type == info.type && s.measurementIndex == info.measurementIndex &&
               (s.side == info.side || s.side == Side::Both) && teethFit(info, s);
    });
    if (found != settings_.end()) {
        path = *found;
        return true;
    }
    path = Gear_Measurement_Path(info);
    return false;
}

// The newer setting wins for every tooth it names. Only settings of the same measurement and the same flag
// take part: a disabled setting never takes teeth from an enabled one. Sorted set operations keep the reduced
// lists ascending, and no setting is left without teeth.
bool MeasurementSettings::addPathSetting(const Gear_Measurement_Path& setting) {
    Gear_Measurement_Path added = setting;
    for (Gear_Measurement_Path& existing : settings_) {
        if (!sameMeasurement(existing, added) || existing.enabled.is_enabled() != added.enabled.is_enabled())
            continue;
        const std::vector<unsigned int> e = sortedTeeth(existing), n = sortedTeeth(added);
        std::vector<unsigned int> onlyExisting, onlyAdded, common;
        std::ranges::set_difference(e, n, std::back_inserter(onlyExisting));
        std::ranges::set_difference(n, e, std::back_inserter(onlyAdded));
        std::ranges::set_intersection(e, n, std::back_inserter(common));
        if (common.empty()) continue;
        if (common == n) {
            if (onlyExisting.empty() && onlyAdded.empty()) {
                existing.path = added.path;
                return true;
            }
            existing.setTooth(onlyExisting);
        } else if (common == e) {
            existing.path = added.path;
            added.setTooth(onlyAdded);
        } else {
            existing.setTooth(onlyExisting);
        }
    }
    settings_.push_back(std::move(added));
    return true;
}

// The settings are written in place (see host::ChildSync), identified by kind, side, tooth list and index. A
// setting without teeth is not written; when no setting has teeth, neither is the tooth-counting flag, which
// a file without settings could not give back: a reload of the save must give the same save.
bool MeasurementSettings::save(host::MSXMLWrapper& xml) const {
    const bool any = !std::ranges::all_of(settings_, &Gear_Measurement_Info::isToothlistEmpty);
    host::XMLNode parent = settingsElement(xml);
    if (!parent && !any) return true;
    if (!parent) parent = xml.createNode(kSettingsPath);
    if (!parent) return false;
    // The flag has no identity of its own; a setting is known by its measurement's.
    host::ChildSync children(parent, isSettingsElement, [&xml](host::XMLNode node) {
        return std::string_view(node.name()) == kToothCountingElement ? std::string()
                                                                      : identityKey(xml, node);
    });
    if (!any) return true;
    bool result = xml.addAttributeValue(children.takeKeyed(kToothCountingElement, {}), kClockwiseAttribute,
                                        util::onOffText(clockwise_));
    for (const Gear_Measurement_Path& s : settings_) {
        if (s.isToothlistEmpty()) continue;
        // a setting whose identity a load would refuse is left out, and the save fails
        if (!readsBack(s)) {
            result = false;
            continue;
        }
        const host::XMLNode node = children.takeKeyed(s.type_2_string(), identityKey(s));
        result = writeSetting(xml, node, s) && result;
    }
    return result;
}

// The settings are appended kind by kind, each kind in document order.
bool MeasurementSettings::load(host::MSXMLWrapper& xml, host::XMLNode parent) {
    clockwise_ = false;
    if (!parent) return true;
    bool result = true;
    if (const char* clockwise = parent.child(kToothCountingElement).attribute(kClockwiseAttribute))
        result = util::textToOnOff(clockwise, clockwise_);

    struct Element {
        std::size_t rank;
        host::XMLNode node;
        Measurement_Type type;
    };
    std::vector<Element> elements;
    for (host::XMLNode node = parent.firstChild(); node; node = node.nextSibling()) {
        Measurement_Type type{};
        if (!string_2_Measurement_Type(node.name(), &type)) continue;
        elements.push_back({kindRank(type), node, type});
    }
    if (!std::ranges::is_sorted(elements, {}, &Element::rank))
        std::ranges::stable_sort(elements, {}, &Element::rank);
    settings_.reserve(settings_.size() + elements.size());
    for (const Element& e : elements)
        result = readSetting(xml, e.node, e.type, settings_.emplace_back()) && result;
    return result;
}

} // namespace kest::gear
