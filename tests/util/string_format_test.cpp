#include "util/string_format.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <string>
#include <vector>

using kest::util::stl_string_format;

namespace {

struct FormatRow {
    const char* name;
    std::function<int(std::string&)> format;
    std::string expected;
};

TEST(string_format, FormatsOnBothSidesOfTheStackBuffer) {
    // The stack buffer holds 1023 characters and the terminating NUL; 1024 and more go through the heap.
    const std::vector<FormatRow> rows{
        {"short", [](std::string& s) { return stl_string_format(s, "%s=%d", "z", 17); }, "z=17"},
        {"empty", [](std::string& s) { return stl_string_format(s, "%s", ""); }, ""},
        {"1023 characters", [](std::string& s) { return stl_string_format(s, "%*s", 1023, "x"); },
         std::string(1022, ' ') + "x"},
        {"1024 characters", [](std::string& s) { return stl_string_format(s, "%*s", 1024, "x"); },
         std::string(1023, ' ') + "x"},
        {"5000 characters", [](std::string& s) { return stl_string_format(s, "<%*d>", 4998, 42); },
         "<" + std::string(4996, ' ') + "42>"},
        {"embedded NUL", [](std::string& s) { return stl_string_format(s, "a%cb", 0); },
         std::string("a\0b", 3)},
        {"long embedded NUL", [](std::string& s) { return stl_string_format(s, "%c%*s", 0, 2000, "y"); },
         std::string(1, '\0') + std::string(1999, ' ') + "y"},
    };
    for (const FormatRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::string out = "previous";
        EXPECT_EQ(row.format(out), static_cast<int>(row.expected.size()));
        EXPECT_EQ(out, row.expected);
    }
}

TEST(string_format, FailureReturnsMinusOneAndKeepsTheString) {
    // A surrogate has no multibyte form in any locale, so the C library refuses to format it.
    const wchar_t unconvertible[] = {static_cast<wchar_t>(0xD800), 0};
    std::string out = "previous";
    EXPECT_EQ(stl_string_format(out, "x%lsy", unconvertible), -1);
    EXPECT_EQ(out, "previous");

    std::string longPrefix(3000, 'p');
    EXPECT_EQ(stl_string_format(out, "%s%ls", longPrefix.c_str(), unconvertible), -1);
    EXPECT_EQ(out, "previous");
}

TEST(string_format, OutStringMayBeAnArgument) {
    for (const std::size_t length : {std::size_t{5}, std::size_t{800}}) {
        SCOPED_TRACE(length);
        std::string text(length, 'q');
        EXPECT_EQ(stl_string_format(text, "%s|%s", text.c_str(), text.c_str()),
                  static_cast<int>(2 * length + 1));
        EXPECT_EQ(text, std::string(length, 'q') + "|" + std::string(length, 'q'));
    }
}

} // namespace
