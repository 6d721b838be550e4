#pragma once

// printf-style formatting into a std::string.

#include <cstdarg>
#include <string>

namespace kest::util {

// Formats into `out` and returns the number of characters written (embedded NULs from "%c" included).
// returns -1 and leaves `out` unchanged when the C library cannot format the arguments.
// `out` may itself be one of the arguments: it is assigned only after formatting has finished.
int stl_string_format(std::string& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

// As stl_string_format, with the arguments as a list; `args` is consumed as by vsnprintf.
int stl_string_format_va(std::string& out, const char* fmt, va_list args)
    __attribute__((format(printf, 2, 0)));

} // namespace kest::util
