#include "util/string_format.h"

#include <gtest/gtest.h>

#include <string>

using kest::util::stl_string_format;

// The stack buffer holds 1023 characters and the terminating NUL; 1024 and more go through the heap. The out
// string may itself be an argument; a failure returns -1 and leaves it unchanged.
TEST(string_format, Formats) {
    std::string out = "previous";
    for (const int width : {1023, 1024, 5000}) {
        EXPECT_EQ(stl_string_format(out, "%*s", width, "x"), width);
        EXPECT_EQ(out, std::string(static_cast<std::size_t>(width) - 1, ' ') + "x");
    }
    EXPECT_EQ(stl_string_format(out, "a%cb", 0), 3); // embedded NUL, on both sides of the stack buffer
    EXPECT_EQ(out, std::string("a\0b", 3));
    EXPECT_EQ(stl_string_format(out, "%c%*s", 0, 2000, "y"), 2001);
    EXPECT_EQ(out, std::string(1, '\0') + std::string(1999, ' ') + "y");
    for (const std::size_t length : {std::size_t{5}, std::size_t{800}}) {
        std::string text(length, 'q');
        EXPECT_EQ(stl_string_format(text, "%s|%s", text.c_str(), text.c_str()),
                  static_cast<int>(2 * length + 1));
        EXPECT_EQ(text, std::string(length, 'q') + "|" + std::string(length, 'q'));
    }
    // A surrogate has no multibyte form in any locale, so the C library refuses to format it.
    const wchar_t unconvertible[] = {static_cast<wchar_t>(0xD800), 0};
    out = "previous";
    EXPECT_EQ(stl_string_format(out, "x%lsy", unconvertible), -1);
    EXPECT_EQ(stl_string_format(out, "%s%ls", std::string(3000, 'p').c_str(), unconvertible), -1);
    EXPECT_EQ(out, "previous");
}
