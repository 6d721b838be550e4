#include <kest/gear/asymmetrical_gear_geometry.h>
#include <kest/gear/beveloid_gear_geometry.h>
#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear.h>

#include "record/gear_content.h"

#include <cstring>

namespace kest::gear {
namespace {

// A deep copy of the concrete kind of `source`. The most derived kind is asked first, since a derived
// geometry also answers to the kinds of its bases; a class that claims a kind it is not of is unsupported.
std::unique_ptr<CylindricalGearGeometry> copyGeometry(const CylindricalGearGeometry& source) {
    if (source.testKindOf(BeveloidGearGeometry::isKindOf(), true)) {
        if (const auto* beveloid = dynamic_cast<const BeveloidGearGeometry*>(&source))
            return std::make_unique<BeveloidGearGeometry>(*beveloid);
    } else if (source.testKindOf(AsymmetricalGearGeometry::isKindOf(), true)) {
        if (const auto* asymmetrical = dynamic_cast<const AsymmetricalGearGeometry*>(&source))
            return std::make_unique<AsymmetricalGearGeometry>(*asymmetrical);
    } else if (source.testKindOf(CylindricalGearGeometry::isKindOf(), true)) {
        return std::make_unique<CylindricalGearGeometry>(source);
    }
    throw "Geometry type unsupported";
}

} // namespace

Gear::Gear()
    : CMXMLDatabaseElement("gear")
    , content_(std::make_unique<GearContent>()) {}

Gear::Gear(const char* fileName)
    : Gear() {
    Load(fileName);
}

Gear::Gear(CylindricalGearGeometry* geometry)
    : Gear() {
    if (geometry) initGeometry(geometry);
}

Gear::Gear(const Gear& other)
    : CMXMLDatabaseElement(other)
    , content_(std::make_unique<GearContent>()) {
    if (this != &other) *this = other;
}

Gear::~Gear() = default;

Gear& Gear::operator=(const Gear& other) {
    version_ = other.version_;
    geometry_.reset();
    if (other.geometry_) initGeometry(other.geometry_.get());
    *content_ = *other.content_;
    contentHash_ = other.contentHash_;
    fileName_ = other.fileName_;
    return *this;
}

const char* Gear::GetKindOf() const {
    return IsKindOf();
}
bool Gear::TestKindOf(const char* kind, bool) const {
    return kind && std::strcmp(kind, IsKindOf()) == 0;
}
host::CMDatabaseElement* Gear::CreateCopy() const {
    return new Gear(*this);
}
const char* Gear::GetOwnerId() const {
    return IsOwnerId();
}
bool Gear::TestOwnerId(const char* id) const {
    return id && std::strcmp(id, GetOwnerId()) == 0;
}

void Gear::setGeometry(CylindricalGearGeometry* geometry) {
    geometry_.reset();
    initGeometry(geometry);
}

void Gear::initGeometry(const CylindricalGearGeometry* geometry) {
    geometry_ = copyGeometry(*geometry);
}

bool Gear::isExternal() const {
    return geometry_ && geometry_->isExternalGear();
}

bool Gear::isValid(std::string& message) const {
    message.clear();
    if (!geometry_) {
        message = "no geometry section";
        return false;
    }
    return geometry_->isValid(&message);
}

bool Gear::getContentHash(const char* path, std::string& hash) const {
    const host::MSXMLWrapper* xml = GetXMLWrapper();
    return xml->getXMLContentHash(xml->getNode(path), nullptr, &hash);
}

bool Gear::getGeometryHash(std::string& hash) const {
    return getContentHash("geometry", hash);
}
bool Gear::getMeasurementSettingsHash(std::string& hash) const {
    return getContentHash("measurement/settings", hash);
}
bool Gear::getEvaluationHash(std::string& hash) const {
    return getContentHash("evaluation", hash);
}
bool Gear::getProcessingHash(std::string& hash) const {
    return getContentHash("processing", hash);
}

} // namespace kest::gear
