#pragma once

#include <kest/gear/host/database_element.h>
#include <kest/gear/host/export.h>

#include <memory>
#include <string>

namespace kest::gear {

class CylindricalGearGeometry;

// The record of one gear: its nominal geometry and everything measured and evaluated on it, stored as one XML
// gear file. Known to the record registry as type "[gearel]" with owner "gearrecords".
//
// Load and Save throw their failures as C strings (const char*); the text stays valid for the whole process.
class GEARRECORDS_API Gear : public host::CMXMLDatabaseElement {
public:
    Gear();
    // Loads the file; Load's exception leaves the constructor.
    explicit Gear(const char* fileName);
    // A null geometry gives a gear without geometry; otherwise the gear keeps a deep copy.
    explicit Gear(CylindricalGearGeometry* geometry);
    Gear(const Gear& other);
    ~Gear() override;

    static const char* IsKindOf() noexcept { return "[gearel]"; }
    static const char* IsOwnerId() noexcept { return "gearrecords"; }

    void Save(const char* fileName) override;
    void Load(const char* fileName) override;
    const char* GetKindOf() const override;
    // Compares case-sensitively; the flag is ignored.
    bool TestKindOf(const char* kind, bool exact) const override;
    // returns a new gear owned by the caller
    host::CMDatabaseElement* CreateCopy() const override;
    const char* GetOwnerId() const override;
    bool TestOwnerId(const char* id) const override;

    // The version stamp: the file's after Load, the writing program's after Save.
    const std::string& getVersion() const noexcept { return version_; }

    // returns null when the gear has no geometry; the gear keeps ownership
    const CylindricalGearGeometry* getGeometry() const noexcept { return geometry_.get(); }
    // Replaces the geometry by a deep copy of `geometry`, which must not be null. Throws
    // "Geometry type unsupported" for a geometry of an unknown kind.
    void setGeometry(CylindricalGearGeometry* geometry);
    // false without geometry
    bool isExternal() const;
    // Clears `message`; without geometry sets it to "no geometry section" and returns false.
    bool isValid(std::string& message) const;

    // Content hashes of parts of the document as last loaded or saved; false when the part is missing.
    bool getGeometryHash(std::string& hash) const;
    bool getMeasurementSettingsHash(std::string& hash) const;
    bool getEvaluationHash(std::string& hash) const;
    bool getProcessingHash(std::string& hash) const;

private:
    Gear& operator=(const Gear& other);
    void initGeometry(const CylindricalGearGeometry* geometry);
    bool getContentHash(const char* path, std::string& hash) const;

    std::string version_;
    std::unique_ptr<CylindricalGearGeometry> geometry_;
    std::string contentHash_;
    std::string fileName_;
};

} // namespace kest::gear
