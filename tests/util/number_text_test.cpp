#include "util/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace kest::util;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct FormatDoubleRow {
    double value;
    int decimals;
    const char* expected;
};

// The expected texts are printf's "%.*f" digits (C11 7.21.6.1, correctly rounded by glibc) with trailing
// zeros and a trailing point dropped.
TEST(number_text, FormatDouble) {
    const std::vector<FormatDoubleRow> rows{
        {0.1, 15, "0.1"}, // printf: 0.100000000000000
        {10.0, 15, "10"},
        {-0.5, 15, "-0.5"},
        {2.5, 15, "2.5"},
        {100.0, 0, "100"}, // no point: the zeros are digits of the integer part
        {1200.0, 10, "1200"},
        {1.0 / 3.0, 15, "0.333333333333333"},
        {2.0 / 3.0, 10, "0.6666666667"},
        {0.125, 2, "0.12"}, // exactly halfway: rounds to even
        {0.375, 2, "0.38"},
        {123456.000001, 3, "123456"},
        {1e20, 15, "100000000000000000000"},
        {1e-16, 15, "0"},
        {-1e-16, 15, "0"}, // rounds to zero: no "-0"
        {-0.0, 15, "0"},
        {-0.4, 0, "0"},
        {-0.6, 0, "-1"},
        {2.7, -3, "3"}, // a negative count of decimals counts as none
        {kInf, 15, "inf"},
        {-kInf, 15, "-inf"},
        {std::nan(""), 15, "nan"},
    };
    for (const FormatDoubleRow& row : rows) {
        SCOPED_TRACE(std::string(row.expected) + " from " + std::to_string(row.value));
        std::string out = "previous";
        EXPECT_EQ(formatDouble(out, row.value, row.decimals), row.expected);
        EXPECT_EQ(out, row.expected);
    }
}

TEST(number_text, FormatDoubleDenotesPrintfsNumber) {
    // Whatever the magnitude, the shortened text reads back to the same number as printf's full text.
    const double values[] = {DBL_MAX, -DBL_MAX, DBL_MIN, 5e-324, 0.1, 1e15 + 0.3, 299792.458, -1.0 / 7.0};
    for (const double value : values) {
        for (const int decimals : {0, 1, 10, 15, 20, 400}) {
            SCOPED_TRACE(std::to_string(value) + " with " + std::to_string(decimals));
            std::vector<char> reference(800);
            std::snprintf(reference.data(), reference.size(), "%.*f", decimals, value);
            const std::string text = formatDouble(value, decimals);
            double fromText = 0, fromReference = 0;
            ASSERT_TRUE(textToDouble(text, fromText, true));
            ASSERT_TRUE(textToDouble(reference.data(), fromReference, true));
            EXPECT_EQ(std::bit_cast<std::uint64_t>(std::fabs(fromText)),
                      std::bit_cast<std::uint64_t>(std::fabs(fromReference)));
            EXPECT_LE(text.size(), std::string(reference.data()).size());
        }
    }
    EXPECT_EQ(formatDouble(DBL_MAX, 0).size(), 309u);
}

struct ShortestRow {
    double value;
    const char* expected;
};

TEST(number_text, ShortestDouble) {
    const std::vector<ShortestRow> rows{
        {0.1, "0.1"},
        {1.0, "1"},
        {-2.5, "-2.5"},
        {-0.0, "-0"},
        {1e21, "1e+21"},
        {1e-7, "1e-07"},
        {5e-324, "5e-324"},
        {DBL_MAX, "1.7976931348623157e+308"},
        {-DBL_MIN, "-2.2250738585072014e-308"},
        {0.1 + 0.2, "0.30000000000000004"},
    };
    for (const ShortestRow& row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(shortestDouble(row.value), row.expected);
    }
}

TEST(number_text, ShortestDoubleRoundTripsBitForBit) {
    std::mt19937_64 random(20240611); // fixed start state: the same values on every run
    for (int i = 0; i < 20000; ++i) {
        const double value = std::bit_cast<double>(random());
        if (std::isnan(value)) continue;
        const std::string text = shortestDouble(value);
        double back = 0;
        ASSERT_TRUE(textToDouble(text, back, true)) << text;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(value)) << text;
    }
}

template <typename T>
struct ParseRow {
    std::string text;
    bool strict;
    bool converts;
    T value;
};

TEST(number_text, TextToLong) {
    const std::vector<ParseRow<long>> rows{
        {"12", true, true, 12},
        {"12ab", false, true, 12},
        {"12ab", true, false, 12}, // the value is assigned even when strict mode refuses
        {"ab", false, false, 0},
        {"ab", true, false, 0},
        {"", false, false, 0},
        {"", true, false, 0}, // nothing converted, though nothing is left over either
        {"-17", true, true, -17},
        {"+5", true, true, 5},
        {"  42", true, true, 42}, // leading white space is skipped, as by strtol
        {"42 ", true, false, 42},
        {"42 ", false, true, 42},
        {"0x1A", false, true, 0}, // decimal only
        {"0x1A", true, false, 0},
        {"3.7", false, true, 3},
        {std::string("12\0", 3), true, false, 12},
        {"99999999999999999999", true, true, LONG_MAX}, // clamped, as by strtol
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("\"" + row.text + (row.strict ? "\" strict" : "\" lenient"));
        long value = -999;
        EXPECT_EQ(textToLong(row.text, value, row.strict), row.converts);
        EXPECT_EQ(value, row.value);
    }
}

TEST(number_text, TextToDouble) {
    const std::vector<ParseRow<double>> rows{
        {"0.1", true, true, 0.1},
        {"-0.5", true, true, -0.5},
        {"2.5e3", true, true, 2500.0},
        {"1.5mm", false, true, 1.5},
        {"1.5mm", true, false, 1.5},
        {"abc", false, false, 0.0},
        {"abc", true, false, 0.0},
        {"", true, false, 0.0},
        {"1,5", false, true, 1.0}, // the decimal separator is always the point
        {"1,5", true, false, 1.0},
        {"1e-320", true, true, 1e-320}, // subnormal: strtod sets ERANGE, yet the text converted exactly
        {"1e999", true, true, kInf},
        {"inf", true, true, kInf},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("\"" + row.text + (row.strict ? "\" strict" : "\" lenient"));
        double value = -999.0;
        EXPECT_EQ(textToDouble(row.text, value, row.strict), row.converts);
        EXPECT_EQ(value, row.value);
    }
}

TEST(number_text, FormsIgnoreTheProcessLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* commaLocale = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "German_Germany.1252"})
        if (std::setlocale(LC_NUMERIC, name)) {
            commaLocale = name;
            break;
        }
    if (!commaLocale) GTEST_SKIP() << "no locale with a decimal comma is installed";

    double value = 0;
    const bool converted = textToDouble("2.5", value, true);
    const std::string written = formatDouble(2.5, kAttributeDecimals);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_TRUE(converted) << commaLocale;
    EXPECT_EQ(value, 2.5);
    EXPECT_EQ(written, "2.5");
}

struct OnOffRow {
    const char* text;
    bool converts;
    bool flag;
};

TEST(number_text, OnOff) {
    const std::vector<OnOffRow> rows{
        {"on", true, true}, {"off", true, false}, {"On", false, true}, {"OFF", false, true},
        {"", false, true},  {"on ", false, true}, {"1", false, true},  {"true", false, true},
    };
    for (const OnOffRow& row : rows) {
        SCOPED_TRACE(row.text);
        bool flag = true; // left alone by a refused text
        EXPECT_EQ(textToOnOff(row.text, flag), row.converts);
        EXPECT_EQ(flag, row.flag);
    }
}

} // namespace
