// The user strings of the geometry's values and the geometry's element of the gear file.

#include <kest/gear/cylindrical_gear_geometry.h>

#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>

#include "geometry/angle_units.h"
#include "geometry/geometry_xml.h"
#include "host/user_text_xml.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <string_view>

namespace kest::gear {
namespace {

using host::MSXMLWrapper;
using host::XMLNode;
using namespace geometry_xml;
using FlankDirection = CylindricalGearGeometry::FlankDirection;
using ModuleVariant = CylindricalGearGeometry::ModuleVariant;
using ValueType = CylindricalGearGeometry::ValueType;

struct UserStringKeyRow {
    ValueType value;
    std::string_view key; // also the name of the value's element below "geometry"
};

constexpr const char* kHelixAngle = "helix_angle";

// The helix angle's key also names its direction (helixAngleKey).
constexpr std::array kUserStringKeys{
    UserStringKeyRow{ValueType::NumberOfTeeth, "number_of_teeth"},
    UserStringKeyRow{ValueType::FaceWidth, "face_width"},
    UserStringKeyRow{ValueType::NormalModule, "normal_module"},
    UserStringKeyRow{ValueType::HelixAngle, kHelixAngle},
    UserStringKeyRow{ValueType::NormalPressureAngle, "normal_pressure_angle"},
    UserStringKeyRow{ValueType::AddendumModification, "addendum_modification"},
    UserStringKeyRow{ValueType::TipDiameter, "tip_diameter"},
    UserStringKeyRow{ValueType::RootDiameter, "root_diameter"},
    UserStringKeyRow{ValueType::BallDiameter, "ball_diameter"},
};

constexpr const char* kUserStringAttribute = "user_string";

std::string helixAngleKey(std::string_view direction) {
    return std::string(kHelixAngle) + "[@direction='" + std::string(direction) + "']";
}

// The element name of a value other than the helix angle, which is its key.
const char* elementName(ValueType value) {
    for (const UserStringKeyRow& row : kUserStringKeys)
        if (row.value == value) return row.key.data(); // the keys are literals, so they end in NUL
    return "";
}

// Reads the user string of `node` into `text` ("" when the element has none or it cannot be decoded).
// returns false when there is no node.
bool readUserString(const MSXMLWrapper& xml, XMLNode node, std::string& text) {
    if (!node) return false;
    if (!node.attribute(kUserStringAttribute)) { // most values have none
        text.clear();
        return true;
    }
    host::UserText read{kUserStringAttribute, {}};
    if (!host::readUserText(xml, node, read)) read.text.clear();
    text = read.text;
    return true;
}

// The first helix-angle element of that direction, as the path geometry/helix_angle[@direction='...'] finds
// it from the document element, walked directly rather than compiled.
XMLNode helixAngleElement(const MSXMLWrapper& xml, std::string_view direction) {
    for (XMLNode geometry = xml.getRootNode().child(kGeometryElement); geometry;
         geometry = geometry.nextNamesake())
        for (XMLNode helix = geometry.child(kHelixAngle); helix; helix = helix.nextNamesake())
            if (const char* d = helix.attribute(kDirectionAttribute); d != nullptr && direction == d)
                return helix;
    return {};
}

// The same for the element at `path` below the document element.
bool readUserString(const MSXMLWrapper& xml, const std::string& path, std::string& text) {
    return readUserString(xml, xml.getNode(path), text);
}

} // namespace

// ---- user strings ----------------------------------------------------------------------------------------

std::string CylindricalGearGeometry::get_user_string_key(ValueType value) const {
    for (const UserStringKeyRow& row : kUserStringKeys) {
        if (row.value != value) continue;
        return value == ValueType::HelixAngle ? helixAngleKey(FlankDirection_2_string(flankDirection_))
                                              : std::string(row.key);
    }
    return {};
}

void CylindricalGearGeometry::setUserString(ValueType value, const char* text) {
    if (!text) return;
    const std::string key = get_user_string_key(value);
    if (!key.empty()) userStrings_[key] = text;
}

std::string CylindricalGearGeometry::getUserString(ValueType value) const {
    const auto found = userStrings_.find(get_user_string_key(value));
    return found == userStrings_.end() ? std::string() : found->second;
}

// User strings are addressed from the document element, whatever node the values were written below.
bool CylindricalGearGeometry::saveUserString(MSXMLWrapper* xml, ValueType value) const {
    const std::string key = get_user_string_key(value);
    return saveUserString(xml, key, elementPath(key));
}

bool CylindricalGearGeometry::loadUserString(MSXMLWrapper* xml, const std::string& key) {
    return loadUserString(xml, key, elementPath(key));
}

bool CylindricalGearGeometry::saveUserString(MSXMLWrapper* xml, const std::string& key,
                                             const std::string& path) const {
    const auto found = userStrings_.find(key);
    if (found == userStrings_.end()) return true;
    return host::writeUserText(*xml, xml->getNode(path), {kUserStringAttribute, found->second});
}

bool CylindricalGearGeometry::loadUserString(MSXMLWrapper* xml, const std::string& key,
                                             const std::string& path) {
    std::string text;
    if (!readUserString(*xml, path, text)) return false;
    if (!text.empty()) userStrings_[key] = text;
    return true;
}

// ---- gear file -------------------------------------------------------------------------------------------

bool CylindricalGearGeometry::saveXML(MSXMLWrapper* xml, const std::string& path) const {
    if (!xml) return false;
    const XMLNode base = baseNode(*xml, path);
    if (!base) return false;

    // The element is rebuilt from scratch, so that nothing of an earlier geometry (another kind, an old
    // ball diameter, a user string since removed) survives.
    bool ok = xml->deleteNodes(kGeometryElement, base);
    ok = xml->setStringValue(kTypePath, getKindOf(), base) && ok;
    const auto write = [&](ValueType value, double number) {
        ok = xml->setDoubleValue(elementPath(get_user_string_key(value)), number, base) && ok;
        ok = saveUserString(xml, value) && ok;
    };
    write(ValueType::NumberOfTeeth, static_cast<double>(z_));
    write(ValueType::FaceWidth, b_);
    write(ValueType::TipDiameter, dA_);
    write(ValueType::RootDiameter, dF_);
    // The file always holds the normal module; the attribute only remembers how it was entered.
    write(ValueType::NormalModule, mn_);
    if (moduleVariant_ != ModuleVariant::Normal) {
        if (const XMLNode module =
                xml->getNode(elementPath(get_user_string_key(ValueType::NormalModule)), base))
            ok = xml->addAttributeValue(module, kModuleVariantAttribute,
                                        ModuleVariantToString(moduleVariant_)) &&
                 ok;
    }
    write(ValueType::HelixAngle, getBetaDeg(Side::Left, false));
    write(ValueType::NormalPressureAngle, getAlphaNDeg(Side::Left));
    write(ValueType::AddendumModification, x_);
    ok = addmodVariant_.saveXML(xml, kGeometryElement) && ok;
    if (!isUnset(dM_)) write(ValueType::BallDiameter, dM_);
    return ok;
}

bool CylindricalGearGeometry::loadXML(MSXMLWrapper* xml, const std::string& path) {
    if (!xml) return false;
    const XMLNode base = baseNode(*xml, path);
    if (!base) return false;

    // Every read is tried, so that as much of a damaged file as possible is taken over; a missing element
    // leaves its value alone.
    bool ok = true;
    // Below the document element, where user strings are addressed too, a value's element is looked for in
    // the first geometry element, found once, and by its path only when that one has none.
    const XMLNode geometry = path.empty() ? xml->getNode(kGeometryElement, base) : XMLNode();
    const auto element = [&](const char* name) {
        const XMLNode node = geometry ? geometry.child(name) : XMLNode();
        return node ? node : xml->getNode(elementPath(name), base);
    };
    const auto read = [&](ValueType value, double& number) {
        const XMLNode node = element(elementName(value));
        const bool found = node && xml->getDoubleValue({}, number, node);
        ok = found && ok;
        std::string text;
        if (!readUserString(*xml, node, text)) ok = false;
        if (!text.empty()) userStrings_[get_user_string_key(value)] = text;
        return found;
    };

    double teeth = 0.0;
    if (read(ValueType::NumberOfTeeth, teeth)) {
        // Written as a double; a count no int can hold is as broken as a missing one.
        if (std::isfinite(teeth) && std::fabs(teeth) < 2147483648.0)
            z_ = static_cast<int>(teeth); // truncated towards zero
        else
            ok = false;
    }
    read(ValueType::FaceWidth, b_);
    read(ValueType::TipDiameter, dA_);
    read(ValueType::RootDiameter, dF_);
    read(ValueType::NormalModule, mn_);

    moduleVariant_ = ModuleVariant::Normal;
    std::string text;
    const XMLNode module = element(elementName(ValueType::NormalModule));
    if (module && xml->getAttributeValue(module, kModuleVariantAttribute, text))
        moduleVariant_ = StringToModuleVariant(text);

    // The helix angle is found without its direction, which is then read from the element.
    const XMLNode helix = element(kHelixAngle);
    double degrees = 0.0;
    if (helix && xml->getDoubleValue({}, degrees, helix))
        beta_ = isUnset(degrees) ? unsetValue : radiansFromDegrees(degrees);
    else
        ok = false;
    std::string direction;
    if (helix && xml->getAttributeValue(helix, kDirectionAttribute, direction))
        flankDirection_ = string_2_FlankDirection(direction);
    else
        ok = false;
    // An element with an older direction text ("spur") keeps its user string; it is held under the key of the
    // direction as understood, so that it is written back with the element.
    bool helixUserString = false;
    for (const std::string& helixDirection :
         {FlankDirection_2_string(string_2_FlankDirection(direction)), std::string(kSpur),
          FlankDirection_2_string(FlankDirection::Straight)}) {
        if (!readUserString(*xml, helixAngleElement(*xml, helixDirection), text)) continue;
        if (!text.empty()) userStrings_[get_user_string_key(ValueType::HelixAngle)] = text;
        helixUserString = true;
        break;
    }
    ok = helixUserString && ok;

    double alphaN = 0.0;
    if (read(ValueType::NormalPressureAngle, alphaN))
        alphaN_ = isUnset(alphaN) ? unsetValue : radiansFromDegrees(alphaN);
    // The coefficient itself is stored, whatever form it was entered in.
    read(ValueType::AddendumModification, x_);
    ok = addmodVariant_.loadXML(xml, kGeometryElement, false) && ok;

    // The ball diameter is optional.
    const XMLNode ball = element(elementName(ValueType::BallDiameter));
    if (!ball || !xml->getDoubleValue({}, dM_, ball)) dM_ = unsetValue;
    if (readUserString(*xml, ball, text) && !text.empty())
        userStrings_[get_user_string_key(ValueType::BallDiameter)] = text;
    return ok;
}

} // namespace kest::gear
