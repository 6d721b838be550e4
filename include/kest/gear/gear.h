#pragma once

#include <kest/gear/evaluation_features.h>
#include <kest/gear/evaluation_range.h>
#include <kest/gear/evaluation_standard.h>
#include <kest/gear/gear_filters.h>
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
class DesignProfile;
class FeedMarkInformation;
class ProtocolHeader;
class ProtocolSettings;
class KChart;
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

    // --- Evaluation ranges: one per measurement type, flank and range type.
    // Stores a copy for the flank, or one for each flank with side Both. false for a type without ranges, a
    // reference or range type of the other kind of line, or a range that is not valid.
    bool addEvaluationRange(Measurement_Type type, Side side, RangeType rangeType, EvaluationRange& range);
    // false for a side other than Left or Right or an empty slot; the base fields are assigned to *out
    bool getEvaluationRange(Measurement_Type type, Side side, RangeType rangeType,
                            EvaluationRange* out) const;
    // appends (without clearing) one entry per held range in range-type order; returns their number
    unsigned int getAllEvaluationRanges(Measurement_Type type, Side side,
                                        std::vector<Gear_EvaluationRange>* out) const;
    bool clearEvaluationRanges(Measurement_Type type);

    // --- Evaluation features, by name, flank, measurement index and range type (see EvaluationFeatures).
    bool clearFeatures();
    bool removeFeature(const std::string& name, Side side, unsigned int index, RangeType range);
    bool removeFeature(const std::string& name, Side side, unsigned int index);
    bool enableFeature(const std::string& name, bool on, Side side, unsigned int index, RangeType range);
    bool enableFeature(const std::string& name, bool on, Side side, unsigned int index);
    bool getFeature(const std::string& name, Side side, GearFeature* out, unsigned int index,
                    RangeType range) const;
    bool getFeature(const std::string& name, Side side, GearFeature* out, unsigned int index) const;
    bool setFeature(const GearFeature& feature, Side side, unsigned int index, RangeType range);
    bool setFeature(const GearFeature& feature, Side side, unsigned int index);
    // every feature entry in the order of name, side, measurement index and range type
    std::vector<EvaluationFeatures::GearFeature_Container> getAllFeatures() const;

    // --- Filters of profiles and leads. Only the kinds Profile and Lead have filters; the lead filter can
    // follow the profile filter. Wave numbers and wave lengths convert with the evaluation length (getLAE of
    // the side for profiles, the face width for leads).
    bool getFilterLeadFromProf() const;
    // When set, the lead filters become copies of the profile filters, a wave number given as its length.
    void setFilterLeadFromProf(bool flag);
    bool getFilterBothSided(Measurement_Type kind) const;
    // other kinds: valid false and false
    bool getFilterActive(Measurement_Type kind, Side side, bool& valid) const;
    bool setFilterActive(Measurement_Type kind, Side side, bool active);
    // other kinds: valid false and WaveLength
    FilterUnit getFilterUnit(Measurement_Type kind, Side side, bool& valid) const;
    // 0.0 with `valid` unchanged where there is no value (see the rules above)
    double getFilterWaveNumber(Measurement_Type kind, Side side, bool& valid) const;
    double getFilterWaveLength(Measurement_Type kind, Side side, bool& valid) const;
    bool setFilterWaveNumber(Measurement_Type kind, Side side, double number);
    bool setFilterWaveLength(Measurement_Type kind, Side side, double length);
    // Clears every filter and stops the lead following the profile.
    bool clearFilter();
    bool clearFilter(Measurement_Type kind);
    bool clearFilter(Measurement_Type kind, Side side);
    // Wave number 30 over the profile (at least wave length 0.25 mm), the same wave length for the lead, both
    // active, the lead following the profile.
    void initializeFilters();
    // true when a filter that applies to the left or right profile or lead holds a cut-off
    bool getFiltersInitialized() const;
    // --- Evaluation standard and fit type.
    EvaluationStandard getEvaluationStandard() const;
    // Takes the standard, then its sub-qualities one by one through the standard's own checks. false at the
    // first sub-quality the standard refuses (the ones before it stay). Fit and process types stay as they
    // are.
    bool setEvaluationStandard(const EvaluationStandard& standard);
    EvaluationFitType getEvaluationFitType() const;
    // false, nothing changed, for a fit type other than none that the current standard does not offer
    bool setEvaluationFitType(const EvaluationFitType& type);

    // --- K-charts per measurement kind (profile or lead), side and measurement index.
    bool clearKCharts(Measurement_Type type, Side side);
    unsigned int getKChartNumberOfMeasurements(Measurement_Type type, Side side) const;
    // Stores a copy; a null chart empties the slot.
    bool setKChart(Measurement_Type type, Side side, const KChart* chart, unsigned int index);
    // The stored chart (a left or right one falls back to the both-side chart). Without one, under
    // "AGMA_2000_A88" with a registered automatic K-chart callback, the chart that callback fills for a
    // profile or lead of the left or right flank, with *automatic true. returns null otherwise. The gear
    // keeps the chart; the automatic one is overwritten by the next automatic request.
    const KChart* getKChart(Measurement_Type type, Side side, unsigned int index, bool* automatic) const;
    // Replaces the K-charts by those of every block of a chart file in turn (the last block wins). false,
    // charts unchanged, when the file cannot be read; false, without charts, when it holds no usable
    // measurement.
    bool importKCharts(const char* fileName);

    // --- Processing and feed-mark information.
    ProcessType getProcessType() const;
    // false, nothing changed, for a type other than undefined when the evaluation standard is known and
    // offers no process types
    bool setProcessType(ProcessType type);
    PostProcessType getPostProcessType() const;
    // false, nothing changed, for a type other than undefined when the evaluation standard is known and
    // offers no post-process types
    bool setPostProcessType(PostProcessType type);
    // false for a null `out`
    bool getFeedMarkInformation(FeedMarkInformation* out) const;
    bool setFeedMarkInformation(const FeedMarkInformation& information);

    // --- Design profiles, per kind (profile or lead), flank and measurement index.
    // Removes every profile of the kind on both flanks; false for a kind other than profile or lead.
    bool clearDesignProfiles(Measurement_Type kind);
    // The number of slots of the flank, empty ones included. Throws "illegal side" for Both and "illegal
    // type" for a kind other than profile or lead.
    unsigned int getDesignProfileCount(Measurement_Type kind, Side side) const;
    // returns null for another kind, an index beyond the slots or an empty slot; the gear keeps ownership.
    // Throws "illegal side <Both> for getting a design profile" for Both.
    const DesignProfile* getDesignProfile(Measurement_Type kind, Side side, unsigned int index) const;
    // Stores a copy at the index, growing the flank's slots as needed; Both sets both flanks. false for
    // another kind or an index above 999.
    bool setDesignProfile(const DesignProfile& profile, Measurement_Type kind, Side side, unsigned int index);

    // --- Protocol settings and the protocol header they hold. The getters with a pointer return false for a
    // null pointer.
    bool getProtocolSettings(ProtocolSettings* out) const;
    void setProtocolSettings(const ProtocolSettings& settings);
    bool getProtocolHeader(ProtocolHeader* out) const;
    ProtocolHeader getProtocolHeader() const;
    void setProtocolHeader(const ProtocolHeader& header);

private:
    Gear& operator=(const Gear& other);
    void initGeometry(const CylindricalGearGeometry* geometry);
    bool getContentHash(const char* path, std::string& hash) const;
    const std::string& readContentHash();
    // The sections. A new gear makes them on first use, so that a gear made to be loaded builds them once;
    // until then it reads as a gear with empty sections.
    GearContent& content();
    const GearContent& content() const;

    std::string version_;
    std::unique_ptr<CylindricalGearGeometry> geometry_;
    // null until first used; a const request for the automatic K-chart may make it
    mutable std::unique_ptr<GearContent> content_;
    // The content as last read or written: its hash, or until that is needed the bytes that were read.
    std::string contentHash_;
    std::string loadedText_;
    std::string fileName_;
};

} // namespace kest::gear
