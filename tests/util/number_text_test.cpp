#include "util/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>

using namespace kest::util;

// printf's "%.*f" digits (C11 7.21.6.1, correctly rounded by glibc) with trailing zeros and a trailing point
// dropped; whatever the magnitude, the shortened text reads back to printf's number.
TEST(number_text, FormatDouble) {
    // clang-format off
    const std::tuple<double, int, const char*> rows[]{
        {0.1, 15, "0.1"}, {10.0, 15, "10"}, {100.0, 0, "100"}, {1200.0, 10, "1200"}, {0.125, 2, "0.12"},
        {1e20, 15, "100000000000000000000"}, {-1e-16, 15, "0"}, {-0.0, 15, "0"}, // never "-0"
        {2.7, -3, "3"}, // a negative count of decimals counts as none
        {INFINITY, 15, "inf"}, {-INFINITY, 15, "-inf"}, {std::nan(""), 15, "nan"}};
    // clang-format on
    for (const auto& [value, decimals, expected] : rows) {
        std::string out = "previous";
        EXPECT_EQ(formatDouble(out, value, decimals), expected);
        EXPECT_EQ(out, expected);
    }
    for (const double value : {DBL_MAX, -DBL_MAX, 5e-324, 1e15 + 0.3, -1.0 / 7.0}) {
        for (const int decimals : {0, 15, 400}) {
            char reference[800];
            std::snprintf(reference, sizeof reference, "%.*f", decimals, value);
            const std::string text = formatDouble(value, decimals);
            double fromText = 0, fromReference = 0;
            ASSERT_TRUE(textToDouble(text, fromText, true) && textToDouble(reference, fromReference, true));
            EXPECT_EQ(std::fabs(fromText), std::fabs(fromReference)) << text << " from " << reference;
        }
    }
}

// Strict: the whole text must be consumed; lenient: at least one character. The value is assigned either way;
// the decimal separator is always the point.
TEST(number_text, TextToNumber) {
    // clang-format off
    // text, strict, then whether and what textToLong and textToDouble convert
    const std::tuple<std::string, bool, bool, long, bool, double> rows[]{
        {"12", true, true, 12, true, 12.0},     {"12ab", false, true, 12, true, 12.0},
        {"12ab", true, false, 12, false, 12.0}, {"", false, false, 0, false, 0.0},
        {"1,5", false, true, 1, true, 1.0},
        {"1e-320", true, false, 1, true, 1e-320}}; // subnormal: strtod sets ERANGE, yet it converted
    // clang-format on
    for (const auto& [text, strict, longConverts, longExpected, doubleConverts, doubleExpected] : rows) {
        long longValue = -999;
        double doubleValue = -999.0;
        EXPECT_EQ(textToLong(text, longValue, strict), longConverts) << text;
        EXPECT_EQ(textToDouble(text, doubleValue, strict), doubleConverts) << text;
        EXPECT_EQ(longValue, longExpected) << text;
        EXPECT_EQ(doubleValue, doubleExpected) << text;
        // the forms for an attribute's text convert alike
        EXPECT_EQ(textToLong(text.c_str(), longValue, strict), longConverts) << text;
        EXPECT_EQ(textToDouble(text.c_str(), doubleValue, strict), doubleConverts) << text;
    }
    long value = 0; // a string's NUL is not its end
    EXPECT_FALSE(textToLong(std::string("5\0x", 3), value, true));
    bool flag = true; // left alone by a refused text
    EXPECT_TRUE(textToOnOff("off", flag) && !flag && textToOnOff("on", flag) && flag);
    EXPECT_FALSE(textToOnOff("On", flag) || textToOnOff("on ", flag) || textToOnOff("", flag) || !flag);
}

// A file written under a locale with a decimal comma reads back anywhere.
TEST(number_text, FormsIgnoreTheProcessLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* commaLocale = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8"})
        if (!commaLocale && std::setlocale(LC_NUMERIC, name)) commaLocale = name;
    if (!commaLocale) GTEST_SKIP() << "no locale with a decimal comma is installed";
    double value = 0;
    const bool converted = textToDouble("2.5", value, true);
    const std::string written = formatDouble(2.5, kAttributeDecimals);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_TRUE(converted && value == 2.5 && written == "2.5")
        << commaLocale << ": " << value << " " << written;
}
