#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear.h>

#include "geometry/geometry_xml.h"
#include "record/gear_content.h"
#include "record/gear_file_xml.h"
#include "record/geometry_kinds.h"

#include <cstring>

namespace kest::gear {

Gear::Gear()
    : CMXMLDatabaseElement("gear") {}

Gear::Gear(const char* fileName)
    : Gear() {
    Load(fileName);
}

Gear::Gear(CylindricalGearGeometry* geometry)
    : Gear() {
    if (geometry) initGeometry(geometry);
}

Gear::Gear(const Gear& other)
    : CMXMLDatabaseElement(other) {
    if (this != &other) *this = other;
}

Gear::~Gear() = default;

GearContent& Gear::content() {
    if (!content_) content_ = std::make_unique<GearContent>();
    return *content_;
}

const GearContent& Gear::content() const {
    static const GearContent empty;
    return content_ ? *content_ : empty;
}

Gear& Gear::operator=(const Gear& other) {
    version_ = other.version_;
    geometry_.reset();
    if (other.geometry_) initGeometry(other.geometry_.get());
    content() = other.content();
    contentHash_ = other.contentHash_;
    loadedText_ = other.loadedText_;
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
    return getContentHash(geometry_xml::kGeometryElement, hash);
}
bool Gear::getMeasurementSettingsHash(std::string& hash) const {
    return getContentHash(gear_file_xml::kSettingsPath, hash);
}
bool Gear::getEvaluationHash(std::string& hash) const {
    return getContentHash(gear_file_xml::kEvaluationElement, hash);
}
bool Gear::getProcessingHash(std::string& hash) const {
    return getContentHash(gear_file_xml::kProcessingElement, hash);
}

} // namespace kest::gear
