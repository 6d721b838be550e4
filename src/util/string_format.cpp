#include "util/string_format.h"

#include <cstddef>
#include <cstdio>
#include <utility>

namespace kest::util {

int stl_string_format(std::string& out, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    const int length = stl_string_format_va(out, fmt, args);
    va_end(args);
    return length;
}

int stl_string_format_va(std::string& out, const char* fmt, va_list args) {
    // Nearly every message fits on the stack; only longer texts pay for a heap buffer.
    char stackBuffer[1024];
    va_list retryArgs;
    va_copy(retryArgs, args);
    int needed = std::vsnprintf(stackBuffer, sizeof stackBuffer, fmt, args);
    if (needed >= 0 && static_cast<std::size_t>(needed) < sizeof stackBuffer) {
        va_end(retryArgs);
        out.assign(stackBuffer, static_cast<std::size_t>(needed));
        return needed;
    }

    va_list formatArgs;
    va_copy(formatArgs, retryArgs);
    if (needed < 0) needed = std::vsnprintf(nullptr, 0, fmt, retryArgs);
    va_end(retryArgs);
    if (needed < 0) {
        va_end(formatArgs);
        return -1;
    }
    // std::string keeps room for the terminating NUL that vsnprintf writes after the last character.
    std::string text(static_cast<std::size_t>(needed), '\0');
    const int written = std::vsnprintf(text.data(), text.size() + 1, fmt, formatArgs);
    va_end(formatArgs);
    if (written != needed) return -1;
    out = std::move(text);
    return needed;
}

} // namespace kest::util
