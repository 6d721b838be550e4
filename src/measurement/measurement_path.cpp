#include <kest/gear/measurement_path.h>

namespace kest::gear {

MeasurementPathPoint::~MeasurementPathPoint() = default;
MeasurementPath::~MeasurementPath() = default;
PointDefinition::~PointDefinition() = default;

bool MeasurementPath::setPoints(const std::vector<MeasurementPathPoint>& points) {
    points_.clear();
    unsigned int id = 0;
    for (const MeasurementPathPoint& point : points)
        points_.emplace(++id, point);
    return true;
}

bool MeasurementPath::getPoints(std::vector<MeasurementPathPoint>* points) const {
    if (!points) return false;
    points->clear();
    for (const auto& entry : points_)
        points->push_back(entry.second);
    return true;
}

bool MeasurementPath::addPoint(unsigned int id, const MeasurementPathPoint& point) {
    return points_.emplace(id, point).second;
}

} // namespace kest::gear
