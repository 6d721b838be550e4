#pragma once

#include <kest/gear/gear.h>

#include <string>
#include <vector>

namespace kest::gearfile {

class FieldTable;

// Adds what the gear holds about its measurements to the report: the measured profiles, the tooth and path
// settings with their tooth lists in compressed form, and the positioning, measuring and additional
// parameters. Sections without content are left out.
void addMeasurementSections(FieldTable& table, const gear::Gear& gear);

// One line "twist <kind> <side> tooth <n>: <reason>" per tooth and flank whose twist settings do not form a
// valid twist, disabled measurements included. returns an empty list when every twist is valid.
std::vector<std::string> twistProblems(const gear::Gear& gear);

// "datum side up", "non-datum side up"; "unknown clamping" for a value outside the table.
std::string clampingText(gear::GearMeasuringParameters::Clamping_Type clamping);

} // namespace kest::gearfile
