// The cone's reference values in the gear file: element "beveloid" beside the flanks' elements, and their
// user strings.

#include <kest/gear/beveloid_gear_geometry.h>

#include <kest/gear/host/msxml_wrapper.h>

#include "geometry/geometry_xml.h"

#include <array>
#include <cmath>
#include <string_view>

namespace kest::gear {
namespace {

using host::MSXMLWrapper;
using host::XMLNode;
using namespace geometry_xml;
using ValueType = BeveloidGearGeometry::ValueType;

constexpr const char* kBeveloid = "geometry/beveloid";
constexpr const char* kReference = "geometry/beveloid/reference";
constexpr const char* kReferenceStep = "reference";
constexpr std::string_view kHelixAngle = "helix_angle";

struct UserStringKeyRow {
    ValueType value;
    std::string_view key; // also the element's path below its parent
    bool inReference;     // below "reference", else directly below "beveloid"
};

// The reference helix angle's key also names its direction (helixAngleKey).
constexpr std::array kUserStringKeys{
    UserStringKeyRow{ValueType::ConeAngle, "cone_angle", false},
    UserStringKeyRow{ValueType::ReferenceHelixAngle, kHelixAngle, true},
    UserStringKeyRow{ValueType::LeftReferencePressureAngle, "normal_pressure_angle[@side='left']", true},
    UserStringKeyRow{ValueType::RightReferencePressureAngle, "normal_pressure_angle[@side='right']", true},
};

// The geometry's one map of user strings holds these under a prefix of their own, apart from the flanks'
// keys of the same text.
constexpr std::string_view kMapPrefix = "beveloid_";

const UserStringKeyRow& rowOf(ValueType value) {
    for (const UserStringKeyRow& row : kUserStringKeys)
        if (row.value == value) return row;
    return kUserStringKeys.front(); // every enumerator has a row
}

std::string helixAngleKey(std::string_view direction) {
    return std::string(kHelixAngle) + "[@direction='" + std::string(direction) + "']";
}

std::string mapKey(const std::string& key) {
    return std::string(kMapPrefix) + key;
}

// From the document element, where user strings are addressed.
std::string elementPath(bool inReference, const std::string& key) {
    return std::string(inReference ? kReference : kBeveloid) + "/" + key;
}

} // namespace

// ---- user strings ----------------------------------------------------------------------------------------

std::string BeveloidGearGeometry::get_user_string_key(ValueType value) const {
    return value == ValueType::ReferenceHelixAngle
               ? helixAngleKey(FlankDirection_2_string(getBeta_Ref_direction()))
               : std::string(rowOf(value).key);
}

void BeveloidGearGeometry::setUserString(ValueType value, const char* text) {
    if (text) userStrings_[mapKey(get_user_string_key(value))] = text;
}

std::string BeveloidGearGeometry::getUserString(ValueType value) const {
    const auto found = userStrings_.find(mapKey(get_user_string_key(value)));
    return found == userStrings_.end() ? std::string() : found->second;
}

// ---- gear file -------------------------------------------------------------------------------------------

bool BeveloidGearGeometry::saveXML(MSXMLWrapper* xml, const std::string& path) const {
    if (!xml) return false;
    const XMLNode base = baseNode(*xml, path);
    if (!base) return false;

    bool ok = AsymmetricalGearGeometry::saveXML(xml, path);
    ok = xml->deleteNodes(kBeveloid, base) && ok;
    const XMLNode beveloid = xml->createNode(kBeveloid, base, true);
    if (!beveloid) return false;
    // The file holds the reference helix angle as a magnitude with its hand, as it holds the flanks'.
    const auto write = [&](XMLNode parent, ValueType value, double degrees) {
        const std::string key = get_user_string_key(value);
        ok = xml->setDoubleValue(key, degrees, parent) && ok;
        ok = saveUserString(xml, mapKey(key), elementPath(rowOf(value).inReference, key)) && ok;
    };
    write(beveloid, ValueType::ConeAngle, delta_);
    const XMLNode reference = xml->createNode(kReferenceStep, beveloid);
    if (!reference) return false;
    write(reference, ValueType::ReferenceHelixAngle, getBeta_Ref(false, false));
    write(reference, ValueType::LeftReferencePressureAngle, leftAlphaNRef_);
    write(reference, ValueType::RightReferencePressureAngle, rightAlphaNRef_);
    return ok;
}

bool BeveloidGearGeometry::loadXML(MSXMLWrapper* xml, const std::string& path) {
    if (!xml) return false;
    const XMLNode base = baseNode(*xml, path);
    if (!base) return false;
    const XMLNode beveloid = xml->getNode(kBeveloid, base);
    const XMLNode reference = beveloid ? xml->getNode(kReferenceStep, beveloid) : XMLNode();
    if (!reference) return false;

    // The cone is read first: the flanks' reader validates the asymmetry, which needs the effective values.
    bool ok = true;
    const auto read = [&](ValueType value, double& degrees) {
        const UserStringKeyRow& row = rowOf(value);
        const std::string key(row.key);
        ok = xml->getDoubleValue(key, degrees, row.inReference ? reference : beveloid) && ok;
        ok = loadUserString(xml, mapKey(key), elementPath(row.inReference, key)) && ok;
    };
    read(ValueType::ConeAngle, delta_);
    read(ValueType::LeftReferencePressureAngle, leftAlphaNRef_);
    read(ValueType::RightReferencePressureAngle, rightAlphaNRef_);

    // The hand of the reference helix angle is its sign.
    double degrees = 0.0;
    std::string direction;
    if (xml->getDoubleValue(kHelixAngle, degrees, reference)) {
        const XMLNode helix = xml->getNode(kHelixAngle, reference);
        xml->getAttributeValue(helix, kDirectionAttribute, direction);
        const bool left = string_2_FlankDirection(direction) == FlankDirection::Left;
        betaRef_ = isUnset(degrees) ? unsetValue : (left ? -std::fabs(degrees) : std::fabs(degrees));
    } else {
        ok = false;
    }
    // The user string is held under the hand as understood, so that it is written back with the element.
    bool helixUserString = false;
    for (const std::string& key : {helixAngleKey(direction), helixAngleKey(kSpur)}) {
        if (!loadUserString(xml, mapKey(get_user_string_key(ValueType::ReferenceHelixAngle)),
                            elementPath(true, key)))
            continue;
        helixUserString = true;
        break;
    }
    ok = helixUserString && ok;

    ok = AsymmetricalGearGeometry::loadXML(xml, path) && ok;
    if (ok) beveloidInitialized_ = true;
    return ok;
}

} // namespace kest::gear
