#pragma once

#include <kest/gear/gear.h>

#include <string>
#include <vector>

namespace kest::gearfile {

class FieldTable;

// Adds the gear's evaluation to the report: its ranges per kind, flank and range type, its features with
// their additional data, and its filters. Sections without content are left out.
void addEvaluationSections(FieldTable& table, const gear::Gear& gear);

// One line per range that does not lie inside the gear's measurement paths, "range <kind> <side> <range type>
// '<name>': not inside the measurement paths", and per feature that fails validation, "feature <name> <side>
// index <n> <range type>: <reason>". returns an empty list when there is none.
std::vector<std::string> evaluationProblems(const gear::Gear& gear);

// The range type's own text, whatever line it belongs to; "" for Unspecified (a feature without ranges).
std::string rangeText(gear::RangeType range);

} // namespace kest::gearfile
