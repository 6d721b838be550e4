#pragma once

#include "svg_writer.h"

#include <kest/gear/gear.h>

#include <optional>
#include <string>
#include <vector>

namespace kest::gearfile::drawing {

// A circle of the gear, drawn as an arc across the section.
struct SectionCircle {
    std::string label; // "da", "df", "d", "db", "dv", with the flank for per-flank circles
    double diameter = 0.0;
};

// The span measurement: the jaws touch the outer flanks of k teeth (of an internal gear: across k spaces) on
// one tangent to the base circle.
struct SpanContact {
    unsigned int k = 0;
    double wk = 0.0;     // normal base tangent length
    Point first, second; // contact points
};

// The part of a flank inside an evaluation range, moved off the material so that it stays visible.
struct RangeMark {
    gear::Side side = gear::Side::Left;
    gear::RangeType type = gear::RangeType::Main;
    std::string text;                  // what the legend says about the range
    std::vector<Point> main, extended; // empty when the interval misses the drawn flank
};

// A line of the legend and the colour of what it names (empty: the text colour).
struct LegendLine {
    std::string text;
    std::string colour;
};

// A transverse section of a few teeth at the axial position 0, turned so that the middle of the section
// points up, with the gear's centre at the origin.
struct ToothSection {
    bool internal = false;
    std::vector<Point> material; // the teeth and a band of the body below them, one closed outline
    double fromAngle = 0.0;      // the angles the section spans, counter-clockwise
    double toAngle = 0.0;
    std::vector<SectionCircle> circles;
    std::optional<Point> ball; // the ball centre in space 1
    double ballRadius = 0.0;
    std::optional<SpanContact> span;
    std::vector<RangeMark> ranges;
    std::vector<LegendLine> legend; // the values, and what could not be drawn and why
};

// The section of the gear's geometry, with the marks of the profile evaluation ranges when `withRanges`.
// returns the reason, and no section, when the gear has no geometry or its geometry is not valid.
struct SectionResult {
    std::optional<ToothSection> section;
    std::string failure;
};
SectionResult computeToothSection(const gear::Gear& gear, bool withRanges);

} // namespace kest::gearfile::drawing
