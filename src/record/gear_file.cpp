// Loading and saving the gear file: the file-name and version checks, the geometry kind, the order of the
// sections and the test whether a save has to write the file at all.

#include <kest/gear/asymmetrical_gear_geometry.h>
#include <kest/gear/beveloid_gear_geometry.h>
#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear.h>
#include <kest/gear/host/product_version.h>

#include "host/report.h"
#include "record/gear_content.h"
#include "record/version_stamp.h"

#include <cstring>
#include <exception>
#include <new>
#include <string>

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
    const auto cylindrical = [] {
        return G(1, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, G::FlankDirection::Straight, G::ModuleVariant::Normal,
                 AddendumModificationVariant::AddmodFactor, unsetValue);
    };
    const auto asymmetrical = [&] {
        return AsymmetricalGearGeometry(cylindrical(), 9.0, 10.0, 11.0, 12.0, G::FlankDirection::Straight,
                                        G::ModuleVariant::Normal, AddendumModificationVariant::AddmodFactor);
    };
    if (kind == G::isKindOf()) return std::make_unique<G>(cylindrical());
    if (kind == AsymmetricalGearGeometry::isKindOf())
        return std::make_unique<AsymmetricalGearGeometry>(asymmetrical());
    if (kind == BeveloidGearGeometry::isKindOf())
        return std::make_unique<BeveloidGearGeometry>(asymmetrical(), 13.0, 14.0, 15.0, 16.0, true);
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

    GearContent& c = *content_;
    const std::string file = fileName;
    require(c.measurementData.load(*xml, file), "loading measurement data failed");
    require(c.measurementSettings.load(*xml, file), "loading measurement settings failed");
    require(c.positioningParameters.load(*xml, file), "loading positioning parameters failed");
    require(c.measuringParameters.load(*xml, file), "loading measuring parameters failed");
    require(c.additionalParameters.load(*xml), "loading additional measurement parameters failed");
    require(c.evaluationRanges.load(*xml), "loading evaluation ranges failed");
    require(c.features.loadXML(xml), "loading evaluation features failed");
    require(c.filters.loadXML(xml), "loading filters failed!");
    require(c.processing.loadXML(xml), "loading processing failed!");
    require(c.feedMark.loadXML(xml), "loading calculated feedmark information failed!");
}

namespace {

// The length rule of Load, applied before a save: no program writes a gear file that it cannot read back.
void refuseUnloadableName(const std::string& fileName) {
    if (fileName.size() < maxPath) return;
    GR_ERROR_LOG("Windows MAX_PATH (%d characters) exceeded. Filename '%s' has %lu characters...", maxPath,
                 fileName.c_str(), static_cast<unsigned long>(fileName.size()));
    throw "Windows _MAX_PATH exceeded. This are usually 260 characters.";
}

} // namespace

// Every failure leaves as a message text, as the callers expect; the standard library's too.
void Gear::Save(const char* fileName) try {
    const std::string target = fileName ? fileName : GetKey();
    refuseUnloadableName(target);

    version_ = host::getProductVersion();
    SetVersion(version_);

    host::MSXMLWrapper* xml = GetXMLWrapper();
    if (geometry_) require(geometry_->saveXML(xml, ""), "saving geometry failed");

    // The measurement group is rebuilt from the sections on every save. The protocol group is kept as it was
    // read until the gear holds a section that writes it.
    const GearContent& c = *content_;
    xml->deleteNodes("measurement");
    require(c.measurementData.save(*xml), "saving measurement data failed");
    require(c.measurementSettings.save(*xml), "saving measurement settings failed");
    require(c.positioningParameters.save(*xml), "saving positioning parameters failed");
    require(c.measuringParameters.save(*xml), "saving measuring parameters failed");
    require(c.additionalParameters.save(*xml), "saving additional measurement parameters failed");
    // The evaluation group is shared: each writer replaces only the elements it owns, so that what the
    // library does not know survives.
    require(c.evaluationRanges.save(*xml), "saving evaluation ranges failed");
    require(c.features.saveXML(xml), "saving evaluation features failed");
    require(c.filters.saveXML(xml), "saving filters failed!");
    require(c.processing.saveXML(xml), "saving processing failed!");
    require(c.feedMark.saveXML(xml), "saving calculated feedmark information failed!");

    // Write the file only when its content or its name changed since it was last read or written. The hash is
    // kept only once the file holds it: after a failed write the next save writes again.
    bool changed = target != fileName_;
    std::string hash;
    const bool hashed = xml->getXMLContentHash(xml->getDocumentNode(), nullptr, &hash);
    changed = changed || (hashed && hash != contentHash_);
    if (changed) CMXMLDatabaseElement::Save(fileName);
    if (hashed) contentHash_ = std::move(hash);
    fileName_ = target;
} catch (const char*) {
    throw;
} catch (const std::bad_alloc&) {
    throw "not enough memory to save the gear";
} catch (const std::exception& e) {
    throw host::make_pp(std::string("saving the gear failed: ") + e.what());
}

} // namespace kest::gear
