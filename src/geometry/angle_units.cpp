#include "geometry/angle_units.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <numbers>

namespace kest::gear {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// The product rounds twice (the constant and the multiplication), so the degree value a file held can lie a
// unit or two in the last place away from it; four on each side covers that with margin.
constexpr int kNeighbourUlps = 4;

// Length of the shortest text that reads back to the same double.
int shortestLength(double value) noexcept {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return static_cast<int>(result.ptr - buffer);
}

} // namespace

double radiansFromDegrees(double degrees) noexcept {
    return degrees * kRadiansPerDegree;
}

double degreesFromRadians(double radians) noexcept {
    const double plain = radians * kDegreesPerRadian;
    if (!std::isfinite(plain)) return plain;

    // Where a step of the degree double is finer than 180/pi steps of the radian double, neighbouring degree
    // values share one radian value, and only one of them can come back; a value a person wrote into a file
    // is the short one of its neighbours.
    double best = plain;
    int bestLength = radiansFromDegrees(plain) == radians ? shortestLength(plain) : INT_MAX;
    double up = plain;
    double down = plain;
    for (int step = 1; step <= kNeighbourUlps; ++step) {
        up = std::nextafter(up, std::numeric_limits<double>::infinity());
        down = std::nextafter(down, -std::numeric_limits<double>::infinity());
        for (const double candidate : {down, up}) {
            if (radiansFromDegrees(candidate) != radians) continue;
            const int length = shortestLength(candidate);
            if (length < bestLength) {
                best = candidate;
                bestLength = length;
            }
        }
    }
    return best;
}

} // namespace kest::gear
