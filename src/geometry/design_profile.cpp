// What makes a design profile valid; its XML form is in design_profile_xml.cpp.

#include <kest/gear/design_profile.h>

#include <cmath>
#include <limits>

namespace kest::gear {
namespace {

// A crowning within the double's machine epsilon is none.
bool hasCrowning(double crowning) {
    return std::fabs(crowning) > std::numeric_limits<double>::epsilon();
}

} // namespace

DesignProfilePart::~DesignProfilePart() = default;

bool DesignProfilePart::addPoint(unsigned int index, const PointDefinition& point) {
    return points_.emplace(index, point).second;
}

bool DesignProfilePart::getPoints(std::vector<PointDefinition>* points) const {
    if (!points) return false;
    points->clear();
    points->reserve(points_.size());
    for (const auto& [index, point] : points_)
        points->push_back(point);
    return true;
}

bool DesignProfilePart::isValid() const {
    const std::size_t n = points_.size();
    switch (regressionType_) {
    case RegressionType::Line:
        return n >= 2 && !hasCrowning(crowning_);
    case RegressionType::Parabola:
        // Two points and the crowning, or three points, fix a parabola; more would over-determine it.
        return (n == 2 && hasCrowning(crowning_)) || (n == 3 && !hasCrowning(crowning_));
    case RegressionType::ContinuousParabola:
        return false;
    }
    return false; // a value outside the enumeration
}

DesignProfile::DesignProfile(const std::vector<DesignProfilePart>* parts) {
    if (parts) parts_ = *parts;
    if (!parts_.empty()) enabled_.enable();
}

DesignProfile::~DesignProfile() = default;

void DesignProfile::setEnabled(bool enabled) noexcept {
    if (enabled)
        enabled_.enable();
    else
        enabled_.disable();
}

bool DesignProfile::isValid() const {
    if (parts_.size() != 1) return false;
    for (const DesignProfilePart& part : parts_)
        if (!part.isValid()) return false;

    std::vector<PointDefinition> points;
    parts_.front().getPoints(&points);
    if (points.size() < 2 || points[0].position == points[1].position) return false;
    const bool ascending = points[1].position > points[0].position;

    // The parts join at common points; within a part the points run strictly in the line's direction.
    PointDefinition previous = points[0];
    for (const DesignProfilePart& part : parts_) {
        part.getPoints(&points);
        if (points.empty()) return false;
        if (points[0].position != previous.position || points[0].variation != previous.variation)
            return false;
        for (std::size_t i = 1; i < points.size(); ++i) {
            const PointDefinition& point = points[i];
            if (point.reference != previous.reference) return false;
            if (ascending ? point.position <= previous.position : point.position >= previous.position)
                return false;
            previous = point;
        }
    }
    return true;
}

} // namespace kest::gear
