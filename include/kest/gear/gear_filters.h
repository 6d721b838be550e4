#pragma once

// Filters of measured profile and lead lines: one cut-off, as a wave number or a wave length, with an active
// flag; and the gear's store of them, one filter per flank or one for both flanks, per measurement kind.

#include <kest/gear/host/export.h>
#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>

#include <cstdint>
#include <vector>

namespace kest::gear {

enum class FilterUnit : std::int32_t {
    WaveNumber = 0, // undulations per evaluation length, file text "upl"
    WaveLength = 1, // millimetres, file text "mm"
};

class GEARRECORDS_API Filter {
public:
    Filter() = default;
    Filter(const Filter&) = default;
    Filter& operator=(const Filter&) = default;
    virtual ~Filter();

    void setWaveNumber(double number);
    void setWaveLength(double length);
    // throws "wrong unit" for a filter holding a wave length
    double getWaveNumber() const;
    // throws "wrong unit" for a filter holding a wave number
    double getWaveLength() const;
    FilterUnit getType() const noexcept { return type_; }
    void setFilterActive(bool active) noexcept { active_ = active; }
    bool getFilterActive() const noexcept { return active_; }
    // true once a cut-off has been set or read
    bool getInitialized() const noexcept { return initialized_; }
    void clear();

    // Replaces the "filter" children of `parent` by this filter's element and hands it back through `node`.
    // false for a null wrapper or parent, or a failed write.
    virtual bool saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent, host::XMLNode& node) const;
    // Writes unit, active flag and value into an existing filter element, in place; false when a write
    // failed.
    bool writeElement(host::MSXMLWrapper& xml, const host::XMLNode& node) const;
    // Reads unit, active flag (absent: active) and value of a "filter" element; false for an unknown unit or
    // flag text, or a value that does not read.
    virtual bool loadXML(host::MSXMLWrapper* xml, const host::XMLNode& node);

    bool operator==(const Filter&) const = default;

private:
    double waveNumber_ = 0.0;
    double waveLength_ = 0.0;
    FilterUnit type_ = FilterUnit::WaveNumber;
    bool active_ = false;
    bool initialized_ = false;
};

class GEARRECORDS_API GearFilters {
public:
    GearFilters();

    // A copy of the filter that applies to (type, side): the Both filter for side Both or while the kind is
    // both-sided, else the flank's; a default filter for kinds other than Profile and Lead.
    Filter get(Measurement_Type type, Side side) const;
    // Makes the kind both-sided exactly when `side` is Both and stores the filter that then applies. false,
    // nothing changed, for kinds other than Profile and Lead.
    bool set(Measurement_Type type, Side side, const Filter& filter);
    // false for kinds other than Profile and Lead
    bool getBothSided(Measurement_Type type) const;
    bool getLeadFromProf() const noexcept { return leadFromProfile_; }
    void setLeadFromProf(bool flag) noexcept { leadFromProfile_ = flag; }

    // Writes the filters that apply under "evaluation/<kind>[@side = '<side>']".
    bool saveXML(host::MSXMLWrapper* xml) const;
    // Reads them back; a missing element leaves its filter cleared.
    bool loadXML(host::MSXMLWrapper* xml);

    bool operator==(const GearFilters&) const = default;

private:
    const Filter* getActFilter(Measurement_Type type, Side side) const;
    Filter* getActFilter(Measurement_Type type, Side side);
    bool saveActFilter(host::MSXMLWrapper* xml, Measurement_Type type, Side side) const;
    bool loadActFilter(host::MSXMLWrapper* xml, Measurement_Type type, Side side);
    bool deleteFilters(host::MSXMLWrapper* xml, Measurement_Type type, Side side) const;

    // Left, Right, Both
    std::vector<Filter> profileFilters_;
    std::vector<Filter> leadFilters_;
    bool profileBothSided_ = true;
    bool leadBothSided_ = true;
    bool leadFromProfile_ = false;
};

} // namespace kest::gear
