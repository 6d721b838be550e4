#pragma once

// The gear's rules on top of its filter store: the lead filter can follow the profile filter, and a cut-off
// given as a wave number (undulations per evaluation length) or as a wave length is converted into the other
// with the evaluation length, getLAE(side) of the geometry for profiles and its face width for leads. Only
// the kinds Profile and Lead have filters. Without geometry the evaluation length counts as 0.

#include <kest/gear/gear_filters.h>

namespace kest::gear {

class CylindricalGearGeometry;

namespace filter_rules {

// Stores the flag; when it is set, the lead filters become copies of the profile filters, a wave-number
// filter given as its wave length.
void setLeadFromProf(GearFilters& filters, const CylindricalGearGeometry* geometry, bool flag);
// Other kinds: valid false and false. The lead follows the profile's flag while it follows the profile.
bool getActive(const GearFilters& filters, Measurement_Type kind, Side side, bool& valid);
// Other kinds: false. A profile flag is also set on the lead filter while the lead follows the profile.
bool setActive(GearFilters& filters, Measurement_Type kind, Side side, bool active);
// Other kinds: valid false and WaveLength. WaveLength for the lead while it follows the profile.
FilterUnit getUnit(const GearFilters& filters, Measurement_Type kind, Side side, bool& valid);
// 0.0 with `valid` unchanged for other kinds, for the lead while it follows the profile, and when a wave
// length is 0 or not below the evaluation length.
double getWaveNumber(const GearFilters& filters, const CylindricalGearGeometry* geometry,
                     Measurement_Type kind, Side side, bool& valid);
// 0.0 with `valid` unchanged for other kinds and for a wave number of 0. The lead answers with the profile's
// wave length while it follows the profile.
double getWaveLength(const GearFilters& filters, const CylindricalGearGeometry* geometry,
                     Measurement_Type kind, Side side, bool& valid);
// Other kinds: false. A profile cut-off is passed on to the lead, as a wave length, while it follows.
bool setWaveNumber(GearFilters& filters, const CylindricalGearGeometry* geometry, Measurement_Type kind,
                   Side side, double number);
bool setWaveLength(GearFilters& filters, Measurement_Type kind, Side side, double length);
// Default filters for the flank, the kind, or everything (which also stops the lead following the profile).
bool clear(GearFilters& filters, Measurement_Type kind, Side side);
bool clear(GearFilters& filters, Measurement_Type kind);
bool clear(GearFilters& filters, const CylindricalGearGeometry* geometry);
// Wave number 30 over the profile (at least wave length 0.25), the same wave length for the lead, both
// active, the lead following the profile.
void initialize(GearFilters& filters, const CylindricalGearGeometry* geometry);
// true when a profile or lead filter that applies to Left or Right holds a cut-off
bool initialized(const GearFilters& filters);

} // namespace filter_rules
} // namespace kest::gear
