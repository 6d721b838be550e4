#pragma once

// The drawings of the gearfile tool, each built as one SVG document in memory.

#include <kest/gear/gear.h>
#include <kest/gear/measurement_enums.h>

#include <string>

namespace kest::gearfile::drawing {

// An SVG document, or the reason there is none (then svg is empty).
struct Drawing {
    std::string svg;
    std::string failure;
};

// A transverse section of a few teeth to scale: flanks, the root, base, reference, tip and V-circles, the
// ball at the nominal dimension over balls, the contact of the recommended span measurement, and a legend of
// the values (what the gear's kind cannot give is named there with the reason). With `withRanges` the profile
// evaluation ranges are marked on the flanks. `title` heads the legend. Fails for a gear without a geometry
// or with one that is not valid.
Drawing drawToothSection(const gear::Gear& gear, const std::string& title, bool withRanges);

// The K-chart of measurement `index` of `type` (Profile or Lead): one panel per flank with the tolerance zone
// between the inside and outside limits around the nominal line, against the position along the flank. A
// flank without a chart gets an empty panel that says so. Fails when neither flank has a chart.
Drawing drawKChart(const gear::Gear& gear, gear::Measurement_Type type, unsigned int index,
                   const std::string& title);

} // namespace kest::gearfile::drawing
