#include <kest/gear/cylindrical_gear_geometry.h>

#include "evaluation/filter_rules.h"

namespace kest::gear::filter_rules {
namespace {

constexpr double kDefaultWaveNumber = 30.0;
// The shortest wave length the default filters use, in mm.
constexpr double kShortestDefaultWaveLength = 0.25;

bool hasFilters(Measurement_Type kind) {
    return kind == Measurement_Type::Profile || kind == Measurement_Type::Lead;
}

bool leadFollows(const GearFilters& filters, Measurement_Type kind) {
    return kind == Measurement_Type::Lead && filters.getLeadFromProf();
}

bool profileLeads(const GearFilters& filters, Measurement_Type kind) {
    return kind == Measurement_Type::Profile && filters.getLeadFromProf();
}

double evaluationLength(const CylindricalGearGeometry* geometry, Measurement_Type kind, Side side) {
    if (!geometry) return 0.0;
    return kind == Measurement_Type::Profile ? geometry->getLAE(side) : geometry->getB();
}

// Stores a copy of the filter of (kind, side) changed by `change`.
template <typename Change>
bool update(GearFilters& filters, Measurement_Type kind, Side side, Change change) {
    Filter filter = filters.get(kind, side);
    change(filter);
    return filters.set(kind, side, filter);
}

// The profile filter of the side as the lead receives it: a wave-number filter as its wave length. A filter
// without a cut-off is copied as it is; it has no wave length to give.
Filter leadCopyOfProfile(const GearFilters& filters, const CylindricalGearGeometry* geometry, Side side) {
    Filter filter = filters.get(Measurement_Type::Profile, side);
    if (filter.getInitialized() && filter.getType() == FilterUnit::WaveNumber) {
        bool valid = false;
        filter.setWaveLength(getWaveLength(filters, geometry, Measurement_Type::Profile, side, valid));
    }
    return filter;
}

} // namespace

void setLeadFromProf(GearFilters& filters, const CylindricalGearGeometry* geometry, bool flag) {
    filters.setLeadFromProf(flag);
    if (!flag) return;
    if (filters.getBothSided(Measurement_Type::Profile)) {
        filters.set(Measurement_Type::Lead, Side::Both, leadCopyOfProfile(filters, geometry, Side::Both));
        return;
    }
    for (const Side side : {Side::Left, Side::Right})
        filters.set(Measurement_Type::Lead, side, leadCopyOfProfile(filters, geometry, side));
}

bool getActive(const GearFilters& filters, Measurement_Type kind, Side side, bool& valid) {
    valid = hasFilters(kind);
    if (!valid) return false;
    const Measurement_Type asked = leadFollows(filters, kind) ? Measurement_Type::Profile : kind;
    return filters.get(asked, side).getFilterActive();
}

bool setActive(GearFilters& filters, Measurement_Type kind, Side side, bool active) {
    if (!hasFilters(kind)) return false;
    const auto setFlag = [active](Filter& filter) { filter.setFilterActive(active); };
    update(filters, kind, side, setFlag);
    if (profileLeads(filters, kind)) update(filters, Measurement_Type::Lead, side, setFlag);
    return true;
}

FilterUnit getUnit(const GearFilters& filters, Measurement_Type kind, Side side, bool& valid) {
    valid = hasFilters(kind);
    if (!valid || leadFollows(filters, kind)) return FilterUnit::WaveLength;
    return filters.get(kind, side).getType();
}

double getWaveNumber(const GearFilters& filters, const CylindricalGearGeometry* geometry,
                     Measurement_Type kind, Side side, bool& valid) {
    if (!hasFilters(kind) || leadFollows(filters, kind)) return 0.0;
    const Filter filter = filters.get(kind, side);
    if (filter.getType() == FilterUnit::WaveNumber) {
        valid = true;
        return filter.getWaveNumber();
    }
    const double length = filter.getWaveLength();
    const double evaluated = evaluationLength(geometry, kind, side);
    // A wave longer than the evaluated line has no whole undulation on it.
    if (length == 0.0 || length >= evaluated) return 0.0;
    valid = true;
    return evaluated / length;
}

double getWaveLength(const GearFilters& filters, const CylindricalGearGeometry* geometry,
                     Measurement_Type kind, Side side, bool& valid) {
    if (!hasFilters(kind)) return 0.0;
    if (leadFollows(filters, kind)) kind = Measurement_Type::Profile;
    const Filter filter = filters.get(kind, side);
    if (filter.getType() == FilterUnit::WaveLength) {
        valid = true;
        return filter.getWaveLength();
    }
    const double number = filter.getWaveNumber();
    if (number == 0.0) return 0.0;
    valid = true;
    return evaluationLength(geometry, kind, side) / number;
}

bool setWaveNumber(GearFilters& filters, const CylindricalGearGeometry* geometry, Measurement_Type kind,
                   Side side, double number) {
    if (!hasFilters(kind)) return false;
    update(filters, kind, side, [number](Filter& filter) { filter.setWaveNumber(number); });
    if (profileLeads(filters, kind)) {
        Filter lead = filters.get(kind, side);
        bool valid = false;
        lead.setWaveLength(getWaveLength(filters, geometry, Measurement_Type::Profile, side, valid));
        filters.set(Measurement_Type::Lead, side, lead);
    }
    return true;
}

bool setWaveLength(GearFilters& filters, Measurement_Type kind, Side side, double length) {
    if (!hasFilters(kind)) return false;
    update(filters, kind, side, [length](Filter& filter) { filter.setWaveLength(length); });
    if (profileLeads(filters, kind)) filters.set(Measurement_Type::Lead, side, filters.get(kind, side));
    return true;
}

bool clear(GearFilters& filters, Measurement_Type kind, Side side) {
    bool result = filters.set(kind, side, Filter());
    if (profileLeads(filters, kind)) result = filters.set(Measurement_Type::Lead, side, Filter()) && result;
    return result;
}

bool clear(GearFilters& filters, Measurement_Type kind) {
    bool result = clear(filters, kind, Side::Left);
    result = clear(filters, kind, Side::Right) && result;
    result = clear(filters, kind, Side::Both) && result;
    if (profileLeads(filters, kind)) clear(filters, Measurement_Type::Lead);
    return result;
}

bool clear(GearFilters& filters, const CylindricalGearGeometry* geometry) {
    bool result = clear(filters, Measurement_Type::Profile);
    result = clear(filters, Measurement_Type::Lead) && result;
    setLeadFromProf(filters, geometry, false);
    return result;
}

void initialize(GearFilters& filters, const CylindricalGearGeometry* geometry) {
    setWaveNumber(filters, geometry, Measurement_Type::Profile, Side::Both, kDefaultWaveNumber);
    bool valid = false;
    double length = getWaveLength(filters, geometry, Measurement_Type::Profile, Side::Both, valid);
    if (length < kShortestDefaultWaveLength) {
        setWaveLength(filters, Measurement_Type::Profile, Side::Both, kShortestDefaultWaveLength);
        length = kShortestDefaultWaveLength;
    }
    setActive(filters, Measurement_Type::Profile, Side::Both, true);
    setWaveLength(filters, Measurement_Type::Lead, Side::Both, length);
    setActive(filters, Measurement_Type::Lead, Side::Both, true);
    setLeadFromProf(filters, geometry, true);
}

bool initialized(const GearFilters& filters) {
    for (const Measurement_Type kind : {Measurement_Type::Profile, Measurement_Type::Lead})
        for (const Side side : {Side::Left, Side::Right})
            if (filters.get(kind, side).getInitialized()) return true;
    return false;
}

} // namespace kest::gear::filter_rules
