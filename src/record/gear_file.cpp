// Loading and saving the gear file: the file-name and version checks, the geometry kind, the order of the
// sections and the test whether a save has to write the file at all.

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear.h>
#include <kest/gear/host/product_version.h>

#include "host/report.h"
#include "record/version_stamp.h"

#include <cstring>

namespace kest::gear {
namespace {

constexpr int maxPath = 260;

// Throws `message` when a section reader or writer failed.
void require(bool ok, const char* message) {
    if (!ok) throw message;
}

// A geometry of the kind named in the file, holding placeholder values that only satisfy the constructor; the
// geometry's reader replaces them. returns null for a kind the library does not know.
std::unique_ptr<CylindricalGearGeometry> createGeometryOfKind(const std::string& kind) {
    using G = CylindricalGearGeometry;
    if (kind == G::isKindOf())
        return std::make_unique<G>(1, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, G::FlankDirection::Straight,
                                   G::ModuleVariant::Normal, AddendumModificationVariant::AddmodFactor,
                                   unsetValue);
    return nullptr;
}

} // namespace

void Gear::Load(const char* fileName) {
    const std::size_t length = std::strlen(fileName);
    if (length >= maxPath) {
        GR_ERROR_LOG("Windows MAX_PATH (%d characters) exceeded. Filename '%s' has %lu characters...",
                     maxPath, fileName, static_cast<unsigned long>(length));
        throw "Windows _MAX_PATH exceeded. This are usually 260 characters.";
    }

    CMXMLDatabaseElement::Load(fileName);
    host::MSXMLWrapper* xml = GetXMLWrapper();
    xml->getXMLContentHash(xml->getDocumentNode(), nullptr, &contentHash_);
    fileName_ = fileName;

    bool corrupted = false;
    GetVersion(version_, corrupted);
    if (corrupted) throw "couldn't load corrupted gear-object";

    VersionStamp stamp;
    if (stamp.parse(version_)) {
        if (stamp.compare(oldestLoadableVersion) < 0) {
            const std::string message =
                "invalid version of gear-object found: required=" + std::string(oldestLoadableVersion) +
                ", actual=" + stamp.format();
            throw host::make_pp(message);
        }
    } else {
        GR_TRACE(1, "Cannot evaluate version info. Check required (%s) and actual (%s) version format!",
                 oldestLoadableVersion, stamp.format().c_str());
    }

    SetKey(fileName);

    std::string kind;
    if (!xml->getStringValue("geometry/type", kind)) throw "loading geometry type failed";
    std::unique_ptr<CylindricalGearGeometry> geometry = createGeometryOfKind(kind);
    if (!geometry) throw "wrong type of geometry";
    geometry_ = std::move(geometry);

    require(geometry_->loadXML(xml, ""), "loading geometry failed");
}

void Gear::Save(const char* fileName) {
    version_ = host::getProductVersion();
    SetVersion(version_);

    host::MSXMLWrapper* xml = GetXMLWrapper();
    if (geometry_) require(geometry_->saveXML(xml, ""), "saving geometry failed");

    // Write the file only when its content or its name changed since it was last read or written.
    const std::string target = fileName ? fileName : GetKey();
    bool changed = target != fileName_;
    std::string hash;
    if (xml->getXMLContentHash(xml->getDocumentNode(), nullptr, &hash)) {
        changed = changed || hash != contentHash_;
        contentHash_ = std::move(hash);
    }
    if (changed) CMXMLDatabaseElement::Save(fileName);
    fileName_ = target;
}

} // namespace kest::gear
