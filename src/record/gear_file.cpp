// Loading and saving the gear file: the file-name and version checks, the geometry kind, the order of the
// sections and the test whether a save has to write the file at all.

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear.h>
#include <kest/gear/host/product_version.h>

#include "geometry/geometry_xml.h"
#include "host/child_sync.h"
#include "host/report.h"
#include "protocol/protocol_names.h"
#include "protocol/protocol_xml.h"
#include "record/gear_content.h"
#include "record/gear_file_xml.h"
#include "record/geometry_kinds.h"
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

// Everything a load replaces, read completely before the gear takes it over.
struct LoadedFile {
    host::MSXMLWrapper xml;
    std::string version;
    std::string text;
    std::unique_ptr<CylindricalGearGeometry> geometry;
    std::unique_ptr<GearContent> content = std::make_unique<GearContent>();
};

void checkFileName(const char* fileName) {
    const std::size_t length = std::strlen(fileName);
    if (length < maxPath) return;
    GR_ERROR_LOG("Windows MAX_PATH (%d characters) exceeded. Filename '%s' has %lu characters...", maxPath,
                 fileName, static_cast<unsigned long>(length));
    throw "Windows _MAX_PATH exceeded. This are usually 260 characters.";
}

void checkVersion(const host::MSXMLWrapper& xml, std::string& version) {
    const host::XMLNode root = xml.getRootNode();
    if (!root) throw "couldn't load corrupted gear-object";
    if (!xml.getAttributeValue(root, "version", version)) version.clear();
    // The oldest stamp is parsed once, not on every load.
    static const VersionStamp oldest = [] {
        VersionStamp parsed;
        parsed.parse(oldestLoadableVersion);
        return parsed;
    }();
    VersionStamp stamp;
    if (stamp.parse(version)) {
        if (stamp.compare(oldest) < 0) {
            const std::string message =
                "invalid version of gear-object found: required=" + std::string(oldestLoadableVersion) +
                ", actual=" + stamp.format();
            throw host::make_pp(message);
        }
    } else {
        GR_TRACE(1, "Cannot evaluate version info. Check required (%s) and actual (%s) version format!",
                 oldestLoadableVersion, stamp.format().c_str());
    }
}

void readSections(LoadedFile& loaded, const std::string& file) {
    host::MSXMLWrapper* xml = &loaded.xml;
    std::string kindName;
    if (!xml->getStringValue(geometry_xml::kTypePath, kindName)) throw "loading geometry type failed";
    const GeometryKind* kind = findGeometryKind(kindName);
    if (!kind) throw "wrong type of geometry";
    loaded.geometry = kind->placeholder();
    require(loaded.geometry->loadXML(xml, ""), "loading geometry failed");

    GearContent& c = *loaded.content;
    require(c.measurementData.load(*xml, file), "loading measurement data failed");
    // One search for the element of four sections: it stands after all the measurement entries.
    const host::XMLNode settings = settingsElement(*xml);
    require(c.measurementSettings.load(*xml, settings), "loading measurement settings failed");
    require(c.positioningParameters.load(*xml, settings), "loading positioning parameters failed");
    require(c.measuringParameters.load(*xml, settings), "loading measuring parameters failed");
    require(c.additionalParameters.load(*xml, settings), "loading additional measurement parameters failed");
    require(c.evaluationRanges.load(*xml), "loading evaluation ranges failed");
    require(c.standard.loadXML(xml, &c.fitType), "loading evaluation standard failed!");
    require(c.features.loadXML(xml), "loading evaluation features failed");
    require(c.kcharts.loadXML(xml), "loading kcharts failed!");
    require(c.filters.loadXML(xml), "loading filters failed!");
    require(c.designProfiles.load(*xml), "loading design profiles failed!");
    require(c.processing.loadXML(xml), "loading processing failed!");
    require(c.protocol.loadXML(xml, ""), "loading protocol settings failed!");
    require(c.feedMark.load(*xml), "loading calculated feedmark information failed!");
}

} // namespace

// The file is read into a document and sections of their own; the gear takes them over only when every
// reader succeeded, so a failed load leaves the gear as it was.
void Gear::Load(const char* fileName) {
    try {
        if (fileName) checkFileName(fileName);
        LoadedFile loaded;
        loaded.xml = ReadXMLDocument(fileName, &loaded.text);
        checkVersion(loaded.xml, loaded.version);
        readSections(loaded, fileName);

        std::string name = fileName;
        SetKey(fileName); // the only step that can fail; those after it cannot
        AdoptXMLDocument(std::move(loaded.xml));
        version_.swap(loaded.version);
        // The content hash costs a pass as long as the parse: it is taken only when a save needs it.
        contentHash_.clear();
        loadedText_.swap(loaded.text);
        geometry_.swap(loaded.geometry);
        content_.swap(loaded.content);
        fileName_.swap(name);
    } catch (const char*) {
        throw;
    } catch (const std::bad_alloc&) {
        throw "not enough memory to load the gear file";
    } catch (const std::exception& e) {
        throw host::make_pp(std::string("loading the gear file failed: ") + e.what());
    }
}

// The hash of the content last read or written; the bytes read are parsed again for it the first time.
const std::string& Gear::readContentHash() {
    if (contentHash_.empty() && !loadedText_.empty()) {
        host::MSXMLWrapper read;
        if (read.parse(loadedText_)) read.getXMLContentHash(read.getDocumentNode(), nullptr, &contentHash_);
        loadedText_.clear();
        loadedText_.shrink_to_fit();
    }
    return contentHash_;
}

// Every failure leaves as a message text, as the callers expect; the standard library's too.
void Gear::Save(const char* fileName) try {
    const std::string target = fileName ? fileName : GetKey();
    // The length rule of Load, applied before a save: no program writes a gear file that it cannot read back.
    checkFileName(target.c_str());

    version_ = host::getProductVersion();
    SetVersion(version_);

    host::MSXMLWrapper* xml = GetXMLWrapper();
    if (geometry_) {
        // The geometry rebuilds its element; it goes back where it was, with what the library does not know.
        host::RebuiltElement element(*xml, xml->getRootNode(), geometry_xml::kGeometryElement);
        require(geometry_->saveXML(xml, ""), "saving geometry failed");
        element.finish(geometryNames());
    }

    // The sections write their elements in place, so that what the library does not know stays where it was.
    // In the evaluation group each section replaces only its own children.
    const GearContent& c = content();
    require(c.measurementData.save(*xml), "saving measurement data failed");
    require(c.measurementSettings.save(*xml), "saving measurement settings failed");
    require(c.positioningParameters.save(*xml), "saving positioning parameters failed");
    require(c.measuringParameters.save(*xml), "saving measuring parameters failed");
    require(c.additionalParameters.save(*xml), "saving additional measurement parameters failed");
    require(c.evaluationRanges.save(*xml), "saving evaluation ranges failed");
    require(c.standard.saveXML(xml, c.fitType), "saving evaluation standard failed");
    require(c.features.saveXML(xml), "saving evaluation features failed");
    require(c.kcharts.saveXML(xml), "saving kcharts failed!");
    require(c.filters.saveXML(xml), "saving filters failed!");
    require(c.designProfiles.save(*xml), "saving design profiles failed!");
    require(c.processing.saveXML(xml), "saving processing failed!");
    {
        // The protocol group is rebuilt from the settings; it goes back where it was, with what the library
        // does not know.
        host::RebuiltElement element(*xml, xml->getRootNode(), protocol_xml::kProtocolElement);
        xml->deleteNodes(protocol_xml::kProtocolElement);
        require(c.protocol.saveXML(xml, ""), "saving protocol settings failed!");
        element.finish(protocolNames());
    }
    require(c.feedMark.save(*xml), "saving calculated feedmark information failed!");
    // Groups that hold nothing any more are not left behind: a gear without measurements and settings saves
    // no "measurement" element.
    if (const host::XMLNode measurement = xml->getNode(gear_file_xml::kMeasurementElement)) {
        host::deleteIfEmpty(xml->getNode(gear_file_xml::kSettingsElement, measurement));
        host::deleteIfEmpty(measurement);
    }
    host::deleteIfEmpty(xml->getNode(gear_file_xml::kEvaluationElement));

    // Write the file only when its content or its name changed since it was last read or written. The hash is
    // kept only once the file holds it: after a failed write the next save writes again.
    std::string hash;
    const bool hashed = xml->getXMLContentHash(xml->getDocumentNode(), nullptr, &hash);
    const bool changed = target != fileName_ || (hashed && hash != readContentHash());
    if (changed) CMXMLDatabaseElement::Save(fileName);
    if (hashed) {
        contentHash_ = std::move(hash);
        loadedText_.clear();
        loadedText_.shrink_to_fit();
    }
    fileName_ = target;
} catch (const char*) {
    throw;
} catch (const std::bad_alloc&) {
    throw "not enough memory to save the gear";
} catch (const std::exception& e) {
    throw host::make_pp(std::string("saving the gear failed: ") + e.what());
}

} // namespace kest::gear
