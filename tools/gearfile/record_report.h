#pragma once

#include <kest/gear/gear.h>

namespace kest::gearfile {

class FieldTable;

// Adds the gear's design profiles, one line per profile: kind, flank, measurement index, flag, name, parts,
// points and validity. Left out when the gear has none.
void addDesignProfileSection(FieldTable& table, const gear::Gear& gear);

// Adds the process types and, when the gear holds one, the feed-mark result.
void addProcessingSections(FieldTable& table, const gear::Gear& gear);

// Adds the protocol settings and, when any entry is set, the protocol header.
void addProtocolSections(FieldTable& table, const gear::Gear& gear);

} // namespace kest::gearfile
