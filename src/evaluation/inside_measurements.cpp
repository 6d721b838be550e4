#include <kest/gear/evaluation_range.h>
#include <kest/gear/gear.h>
#include <kest/gear/reference_conversions.h>

#include "evaluation/inside_measurements.h"

#include <algorithm>
#include <utility>

namespace kest::gear {
namespace {

// The span of a path along the measured line in `to`: from its first to its last point, ascending. A profile
// path runs along its points' positions, a lead path along their heights. Throws the conversion's message.
std::pair<double, double> spanOf(const CylindricalGearGeometry* geometry, Side flank, Measurement_Type type,
                                 const std::vector<MeasurementPathPoint>& points, Reference to) {
    const auto convert = [&](const MeasurementPathPoint& p) {
        return type == Measurement_Type::Profile
                   ? convertProfileReference(geometry, flank, p.positionReference, p.position, to)
                   : convertLeadReference(geometry, p.heightReference, p.height, to);
    };
    const double first = convert(points.front());
    const double last = points.size() > 1 ? convert(points.back()) : first;
    return std::minmax(first, last);
}

bool strictlyInside(double value, const std::pair<double, double>& span) {
    return value > span.first && value < span.second;
}

} // namespace

bool rangeInsidePaths(const CylindricalGearGeometry* geometry,
                      const std::vector<Gear_Measurement_Path>& settings, Side side, Measurement_Type type,
                      const EvaluationRange& range) {
    if (type == Measurement_Type::Pitch) return false;
    if (type != Measurement_Type::Profile && type != Measurement_Type::Lead) return true;
    double lower = 0.0;
    double upper = 0.0;
    range.getRange(&lower, nullptr, nullptr, &upper);
    std::vector<MeasurementPathPoint> points;
    for (const auto& setting : settings) {
        if (setting.type != type) continue;
        if (side != Side::Both && setting.side != Side::Both && setting.side != side) continue;
        if (!setting.path.getPoints(&points)) return false;
        if (points.empty()) continue;
        if (!geometry) return false;
        // A path on one flank converts with that flank; one on both flanks, asked for both, with each in
        // turn.
        const Side flank = setting.side != Side::Both ? setting.side : side;
        const Side flanks[] = {Side::Left, Side::Right};
        try {
            for (const Side f : flanks) {
                if (flank != Side::Both && f != flank) continue;
                const auto span = spanOf(geometry, f, type, points, range.getReference());
                if (!strictlyInside(lower, span) || !strictlyInside(upper, span)) return false;
            }
        } catch (const char*) {
            return false;
        }
    }
    return true;
}

bool checkInsideMeasurements(const Gear* gear, Side side, Measurement_Type type,
                             const EvaluationRange* range) {
    if (!gear || !range) return false;
    std::vector<Gear_Measurement_Path> settings;
    gear->getAllMeasurementPathSettings(&settings);
    return rangeInsidePaths(gear->getGeometry(), settings, side, type, *range);
}

} // namespace kest::gear
