#pragma once

#include <kest/gear/gear_measurement_info.h>
#include <kest/gear/gear_parameters.h>
#include <kest/gear/host/database_element.h>
#include <kest/gear/host/export.h>
#include <kest/gear/measurement_enums.h>
#include <kest/gear/process_types.h>

#include <memory>
#include <string>
#include <vector>

namespace kest::gear {

class CylindricalGearGeometry;
class FeedMarkInformation;
struct GearContent;

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

    // --- Measurement data: which measured profile belongs to which measurement. `which` selects the
    // transient set (true), which is never saved, or the stored set (false).
    bool clearMeasurements(const Gear_Measurement_Info& info);
    bool clearMeasurements(const Measurement_Type& type);
    // returns the number of entries with a name copied into `out`
    unsigned int getAllMeasurements(std::vector<Gear_Measurement>* out, bool which) const;
    unsigned int getNumberOfMeasurements(const Gear_Measurement_Info& info, bool which) const;
    // returns "" for a kind other than pitch or when there is no entry
    std::string getMeasurementToothList(const Gear_Measurement_Info& info, bool which) const;
    // returns "" when there is no entry
    std::string getMeasurement(const Gear_Measurement_Info& info, bool which) const;
    // Stores the measured-profile name of a measurement, relative to `basePath` (the gear file) when that is
    // given; an empty name only removes the entry. false (logged) for a relative name without a base path.
    bool setMeasurement(const std::string& name, const Gear_Measurement_Info& info, bool which,
                        const std::string& basePath);

    // --- Measurement settings: the tooth and path settings and the direction of tooth counting.
    bool clearMeasurementToothSettings(Measurement_Type type, Side side);
    // appends to `out` (not cleared); returns the number of settings
    unsigned int getAllMeasurementToothSettings(std::vector<Gear_Measurement_Info>* out) const;
    bool addMeasurementToothSetting(const Gear_Measurement_Info& info, bool enabled);
    bool clearMeasurementPathSettings(Measurement_Type type);
    unsigned int getAllMeasurementPathSettings(std::vector<Gear_Measurement_Path>* out) const;
    // copies the settings with that flag; returns the number of all settings
    unsigned int getAllMeasurementPathSettings(std::vector<Gear_Measurement_Path>* out, bool enabled) const;
    // false (and `path` holds the info, disabled, without points) when no setting fits the info
    bool getMeasurementPathSetting(const Gear_Measurement_Info& info, Gear_Measurement_Path& path) const;
    // Merges the setting in: for every tooth it names, the newer setting wins.
    bool addMeasurementPathSetting(const Gear_Measurement_Path& setting);
    void setToothCountingClockwise(bool clockwise);
    bool isToothCountingClockwise() const;

    // --- Positioning, measuring and additional measurement parameters.
    bool clearPositioningParameters();
    unsigned int getAllPositioningParameters(std::vector<Gear_General_Parameter>* out) const;
    bool setPositioningParameter(const std::string& name, double value);
    bool clearMeasuringParameters();
    unsigned int getAllMeasuringParameters(std::vector<Gear_Measuring_Parameter>* out) const;
    bool setMeasuringParameter(Measurement_Type type, const std::string& name, double value,
                               std::string parameterType);
    void setClamping(GearMeasuringParameters::Clamping_Type clamping);
    GearMeasuringParameters::Clamping_Type getClamping() const;
    bool clearAdditionalMeasurementParameters();
    unsigned int getAllAdditionalMeasurementParameters(std::vector<Gear_Additional_Parameter>* out) const;
    bool setAdditionalMeasurementParameter(const std::string& group, const std::string& name, double value,
                                           std::string parameterType);

    // --- Twist settings: a view on the profile and lead path settings, one tooth per entry.
    // returns 0 for a null `out` or without path settings
    unsigned int getAllTwistSettings(std::vector<Gear_Measurement_Path>* out) const;
    // `out` must not be null
    unsigned int getTwistSettings(std::vector<Gear_Measurement_Path>* out, Measurement_Type type, Side side,
                                  unsigned int tooth) const;
    bool setAllTwistSettings(std::vector<Gear_Measurement_Path>& settings);
    bool clearTwistSettings(Measurement_Type type, Side side, unsigned int tooth);
    // false with the reason in `message` (when given) unless the settings of that tooth and flank form a
    // twist
    bool isTwistValid(Measurement_Type type, Side side, unsigned int tooth, std::string* message,
                      bool enabledOnly) const;

    // --- Processing and feed-mark information.
    ProcessType getProcessType() const;
    // false, nothing changed, when the evaluation standard offers no process types
    bool setProcessType(ProcessType type);
    PostProcessType getPostProcessType() const;
    bool setPostProcessType(PostProcessType type);
    // false for a null `out`
    bool getFeedMarkInformation(FeedMarkInformation* out) const;
    bool setFeedMarkInformation(const FeedMarkInformation& information);

private:
    Gear& operator=(const Gear& other);
    void initGeometry(const CylindricalGearGeometry* geometry);
    bool getContentHash(const char* path, std::string& hash) const;
    const std::string& readContentHash();

    std::string version_;
    std::unique_ptr<CylindricalGearGeometry> geometry_;
    std::unique_ptr<GearContent> content_; // the sections, never null
    // The content as last read or written: its hash, or until that is needed the bytes that were read.
    std::string contentHash_;
    std::string loadedText_;
    std::string fileName_;
};

} // namespace kest::gear
