#include "geometry/angle_units.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

using kest::gear::degreesFromRadians;
using kest::gear::radiansFromDegrees;

namespace {

double fromText(const std::string& text) {
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Values as people write them into gear files (up to 15 significant digits) come back bit for bit, also those
// whose plain product radians * 180 / pi lands on a neighbour (20.123 is one of them).
TEST(angle_units, DecimalDegreesRoundTrip) {
    for (const char* text : {"20.123", "8.5", "14.5", "20", "22.5", "33.3333", "0.001", "89.999999999999",
                             "-15.75", "359.12345678901", "1234.5"}) {
        SCOPED_TRACE(text);
        const double degrees = fromText(text);
        EXPECT_EQ(degreesFromRadians(radiansFromDegrees(degrees)), degrees);
    }
    std::mt19937_64 random(20);
    std::uniform_real_distribution<double> angle(-360.0, 360.0);
    for (int i = 0; i < 20000; ++i) {
        char buffer[40];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, angle(random),
                                       std::chars_format::general, 1 + i % 15);
        const double degrees = fromText(std::string(buffer, end.ptr));
        ASSERT_EQ(degreesFromRadians(radiansFromDegrees(degrees)), degrees) << std::string(buffer, end.ptr);
    }
}

// Whatever the radians, writing the degrees and reading them back settles after the first pass: a second save
// of a loaded file equals the first.
TEST(angle_units, SecondPassIsStable) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> angle(-7.0, 7.0);
    for (int i = 0; i < 20000; ++i) {
        const double radians = angle(random);
        const double first = degreesFromRadians(radians);
        ASSERT_EQ(degreesFromRadians(radiansFromDegrees(first)), first) << radians;
        // never more than a few units in the last place from the plain product
        const double plain = radians * (180.0 / std::numbers::pi);
        ASSERT_LE(std::fabs(first - plain), 8.0 * std::fabs(std::nextafter(plain, 0.0) - plain)) << radians;
    }
}

TEST(angle_units, NonFiniteValuesPassThrough) {
    EXPECT_TRUE(std::isnan(degreesFromRadians(std::nan(""))));
    EXPECT_EQ(degreesFromRadians(INFINITY), INFINITY);
    EXPECT_EQ(degreesFromRadians(-INFINITY), -INFINITY);
    EXPECT_TRUE(std::signbit(degreesFromRadians(-0.0)));
}

} // namespace
