#pragma once

#include <kest/gear/gear.h>

#include <functional>
#include <string>
#include <vector>

namespace kest::gearfile {

class FieldTable;

// Adds the evaluation standard (name, class text, fit type, sub-qualities) and one line per stored K-chart to
// the report. The K-charts section is left out when the gear has none.
void addStandardSections(FieldTable& table, const gear::Gear& gear);

// One line "standard: <reason>" when the standard is invalid and "kchart <kind> <side> <index>: <reason>" per
// stored K-chart that is invalid. Warnings of a valid standard are not problems. returns an empty list when
// everything is valid.
std::vector<std::string> standardProblems(const gear::Gear& gear);

// Calls `visit` with kind, side, index and chart for every chart stored under that side; a left or right slot
// that only falls back to the both-side chart is not visited.
void forEachStoredChart(
    const gear::Gear& gear,
    const std::function<void(gear::Measurement_Type, gear::Side, unsigned int, const gear::KChart&)>& visit);

} // namespace kest::gearfile
