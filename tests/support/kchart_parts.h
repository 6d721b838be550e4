#pragma once

// Short ways to write K-chart parts in test tables.

#include <kest/gear/kchart.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace kest::test {

// A part of the material with the (position, variation) points indexed 0, 1, ..., all in `reference`.
inline gear::KChartPart part(gear::Material material, std::initializer_list<std::pair<double, double>> points,
                             double tolerance = 0.0,
                             gear::Reference reference = gear::Reference::RollingPath) {
    gear::KChartPart out;
    out.setMaterial(material);
    out.setTolerance(tolerance);
    unsigned int index = 0;
    for (const auto& [position, variation] : points)
        out.addPoint(index++, gear::PointDefinition(position, variation, reference));
    return out;
}

inline gear::KChart chart(std::vector<gear::KChartPart> parts) {
    return gear::KChart(&parts);
}

} // namespace kest::test
