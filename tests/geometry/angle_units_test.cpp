#include "geometry/angle_units.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <numbers>
#include <random>

using kest::gear::degreesFromRadians;
using kest::gear::radiansFromDegrees;

// Degrees as people write them into gear files (up to 15 significant digits) come back bit for bit, also
// those whose plain product radians * 180 / pi lands on a neighbour (20.123 is one of them). Whatever the
// radians, writing the degrees and reading them back settles after the first pass (a second save of a loaded
// file equals the first), never more than a few units in the last place from the plain product.
TEST(angle_units, RoundTrips) {
    std::mt19937_64 random(20);
    std::uniform_real_distribution<double> degreeValue(-360.0, 360.0), radianValue(-7.0, 7.0);
    for (int i = 0; i < 20000; ++i) {
        char text[40];
        const auto written = std::to_chars(text, text + sizeof text, degreeValue(random),
                                           std::chars_format::general, 1 + i % 15);
        double degrees = 0.0;
        std::from_chars(text, written.ptr, degrees);
        ASSERT_EQ(degreesFromRadians(radiansFromDegrees(degrees)), degrees) << degrees;

        const double radians = radianValue(random);
        const double first = degreesFromRadians(radians);
        ASSERT_EQ(degreesFromRadians(radiansFromDegrees(first)), first) << radians;
        const double plain = radians * (180.0 / std::numbers::pi);
        ASSERT_LE(std::fabs(first - plain), 8.0 * std::fabs(std::nextafter(plain, 0.0) - plain)) << radians;
    }
    EXPECT_TRUE(std::isnan(degreesFromRadians(std::nan(""))));
    EXPECT_EQ(degreesFromRadians(-INFINITY), -INFINITY);
    EXPECT_TRUE(std::signbit(degreesFromRadians(-0.0)));
}
