#pragma once

// The test behind checkInsideMeasurements, on the geometry and the path settings instead of the gear.

#include <kest/gear/evaluation_range.h>
#include <kest/gear/gear_parameters.h>

#include <vector>

namespace kest::gear {

class CylindricalGearGeometry;

bool rangeInsidePaths(const CylindricalGearGeometry* geometry,
                      const std::vector<Gear_Measurement_Path>& settings, Side side, Measurement_Type type,
                      const EvaluationRange& range);

} // namespace kest::gear
