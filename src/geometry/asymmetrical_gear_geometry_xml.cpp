// The right flank's user strings and its elements in the gear file, beside the shared and left-flank elements
// that the base class writes; and the asymmetry definition.

#include <kest/gear/asymmetrical_gear_geometry.h>

#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>

#include "geometry/angle_units.h"
#include "geometry/geometry_xml.h"
#include "measurement/measurement_xml.h"

#include <array>
#include <string_view>

namespace kest::gear {
namespace {

using host::MSXMLWrapper;
using host::XMLNode;
using namespace geometry_xml;
using measurement_xml::kReferenceAttribute;
using ValueType = AsymmetricalGearGeometry::ValueType;
using FlankDirection = CylindricalGearGeometry::FlankDirection;

struct UserStringKeyRow {
    ValueType value;
    std::string_view key; // also the name of the value's element below "geometry"
};

// The right flank's elements carry the side, so that they sit beside the left flank's of the same name. The
// helix angle's key also names its direction (helixAngleKey).
constexpr std::string_view kRightHelixAngle = "helix_angle[@side='right']";
constexpr std::array kUserStringKeys{
    UserStringKeyRow{ValueType::RightNormalModule, "normal_module[@side='right']"},
    UserStringKeyRow{ValueType::RightHelixAngle, kRightHelixAngle},
    UserStringKeyRow{ValueType::RightNormalPressureAngle, "normal_pressure_angle[@side='right']"},
    UserStringKeyRow{ValueType::RightAddendumModification, "addendum_modification[@side='right']"},
};

constexpr const char* kAsymmetry = "geometry/asymmetry";
constexpr const char* kAsymVariant = "asym_variant";
constexpr const char* kAsymValue = "asym_value";
constexpr const char* kAsymHeight = "asym_height";

std::string helixAngleKey(std::string_view direction) {
    return "helix_angle[@side='right' and @direction='" + std::string(direction) + "']";
}

} // namespace

// ---- user strings ----------------------------------------------------------------------------------------

std::string AsymmetricalGearGeometry::get_user_string_key(ValueType value) const {
    for (const UserStringKeyRow& row : kUserStringKeys) {
        if (row.value != value) continue;
        return value == ValueType::RightHelixAngle
                   ? helixAngleKey(FlankDirection_2_string(rightFlankDirection_))
                   : std::string(row.key);
    }
    return {};
}

void AsymmetricalGearGeometry::setUserString(ValueType value, const char* text) {
    if (!text) return;
    const std::string key = get_user_string_key(value);
    if (!key.empty()) userStrings_[key] = text;
}

std::string AsymmetricalGearGeometry::getUserString(ValueType value) const {
    const auto found = userStrings_.find(get_user_string_key(value));
    return found == userStrings_.end() ? std::string() : found->second;
}

// ---- gear file -------------------------------------------------------------------------------------------

bool AsymmetricalGearGeometry::saveXML(MSXMLWrapper* xml, const std::string& path) const {
    if (!xml) return false;
    const XMLNode base = baseNode(*xml, path);
    if (!base) return false;

    bool ok = CylindricalGearGeometry::saveXML(xml, path);
    const auto write = [&](ValueType value, double number) {
        const std::string key = get_user_string_key(value);
        ok = xml->setDoubleValue(elementPath(key), number, base) && ok;
        ok = saveUserString(xml, key, elementPath(key)) && ok;
    };
    write(ValueType::RightNormalModule, rightMn_);
    if (rightModuleVariant_ != ModuleVariant::Normal) {
        if (const XMLNode module =
                xml->getNode(elementPath(get_user_string_key(ValueType::RightNormalModule)), base))
            ok = xml->addAttributeValue(module, kModuleVariantAttribute,
                                        ModuleVariantToString(rightModuleVariant_)) &&
                 ok;
    }
    write(ValueType::RightHelixAngle, getBetaDeg(Side::Right, false));
    write(ValueType::RightNormalPressureAngle, getAlphaNDeg(Side::Right));
    write(ValueType::RightAddendumModification, rightX_);

    ok = xml->deleteNodes(kAsymmetry, base) && ok;
    // A definition that cannot place the right flank is not written at all.
    if (!validAsymmetryVariant(nullptr)) return false;
    const XMLNode asymmetry = xml->createNode(kAsymmetry, base, true);
    if (!asymmetry) return false;
    ok = xml->setStringValue(kAsymVariant, getAsymmetryVariantString(), asymmetry) && ok;
    ok = xml->setDoubleValue(kAsymValue, asymmetryValue_, asymmetry) && ok;
    ok = xml->setDoubleValue(kAsymHeight, asymmetryHeight_, asymmetry) && ok;
    ok = xml->addAttributeValue(xml->getNode(kAsymHeight, asymmetry), kReferenceAttribute,
                                Reference_2_string(heightReference_)) &&
         ok;
    if (!isUnset(asymmetryBallDiameter_))
        ok = xml->setDoubleValue(kAsymBallDiameter, asymmetryBallDiameter_, asymmetry) && ok;
    if (!isUnset(asymmetryMeasuringDiameter_))
        ok = xml->setDoubleValue(kAsymMeasuringDiameter, asymmetryMeasuringDiameter_, asymmetry) && ok;
    return ok;
}

bool AsymmetricalGearGeometry::loadXML(MSXMLWrapper* xml, const std::string& path) {
    if (!xml) return false;
    const XMLNode base = baseNode(*xml, path);
    if (!base) return false;

    bool ok = CylindricalGearGeometry::loadXML(xml, path);
    const auto read = [&](ValueType value, double& number) {
        const std::string key = get_user_string_key(value);
        const bool found = xml->getDoubleValue(elementPath(key), number, base);
        ok = found && ok;
        ok = loadUserString(xml, key) && ok;
        return found;
    };
    read(ValueType::RightNormalModule, rightMn_);

    rightModuleVariant_ = ModuleVariant::Normal;
    std::string text;
    const XMLNode module = xml->getNode(elementPath(get_user_string_key(ValueType::RightNormalModule)), base);
    if (module && xml->getAttributeValue(module, kModuleVariantAttribute, text))
        rightModuleVariant_ = StringToModuleVariant(text);

    // The direction is read from the right helix angle's element; the value is then addressed with it, and
    // with the older "spur" for a straight flank. The user string is held under the direction as understood,
    // so that it is written back with the element.
    const XMLNode helix = xml->getNode(elementPath(kRightHelixAngle), base);
    if (helix && xml->getAttributeValue(helix, kDirectionAttribute, text))
        rightFlankDirection_ = string_2_FlankDirection(text);
    else
        ok = false;
    bool helixFound = false;
    for (const std::string& key : {get_user_string_key(ValueType::RightHelixAngle), helixAngleKey(kSpur)}) {
        double degrees = 0.0;
        if (!xml->getDoubleValue(elementPath(key), degrees, base)) continue;
        rightBeta_ = isUnset(degrees) ? unsetValue : radiansFromDegrees(degrees);
        ok = loadUserString(xml, get_user_string_key(ValueType::RightHelixAngle), elementPath(key)) && ok;
        helixFound = true;
        break;
    }
    ok = helixFound && ok;

    double alphaN = 0.0;
    if (read(ValueType::RightNormalPressureAngle, alphaN))
        rightAlphaN_ = isUnset(alphaN) ? unsetValue : radiansFromDegrees(alphaN);
    read(ValueType::RightAddendumModification, rightX_);

    // Without a definition element the right flank keeps the offset it has; elements missing from the
    // definition leave their values alone.
    if (const XMLNode asymmetry = xml->getNode(kAsymmetry, base)) {
        if (xml->getStringValue(kAsymVariant, text, asymmetry) && !setAsymmetryVariantString(text))
            ok = false;
        xml->getDoubleValue(kAsymValue, asymmetryValue_, asymmetry);
        xml->getDoubleValue(kAsymBallDiameter, asymmetryBallDiameter_, asymmetry);
        xml->getDoubleValue(kAsymHeight, asymmetryHeight_, asymmetry);
        const XMLNode height = xml->getNode(kAsymHeight, asymmetry);
        if (height && xml->getAttributeValue(height, kReferenceAttribute, text))
            string_2_Reference(text, &heightReference_);
        xml->getDoubleValue(kAsymMeasuringDiameter, asymmetryMeasuringDiameter_, asymmetry);
    }
    return validAsymmetryVariant(nullptr) && ok;
}

} // namespace kest::gear
