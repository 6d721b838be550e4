#include "util/number_text.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <stdlib.h>
#include <system_error>
#if defined(__APPLE__)
#include <xlocale.h>
#endif

namespace kest::util {
namespace {

// strtod follows LC_NUMERIC of the process; the file forms must not, so parsing uses a "C" locale of its own.
locale_t numericCLocale() {
    static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", locale_t{});
    return locale;
}

struct OnOffForm {
    const char* text;
    bool flag;
};

constexpr std::array<OnOffForm, 2> kOnOffForms{{{"on", true}, {"off", false}}};

// A conversion succeeded when it consumed something, and in strict mode when it consumed everything. An empty
// text converts nothing, so it fails in both modes.
bool consumed(const char* begin, const char* last, const char* end, bool strict) {
    if (end == begin) return false;
    return !strict || end == last;
}

// strtol and strtod over the text up to `last`, which a strict conversion has to reach.
bool convertLong(const char* text, const char* last, long& value, bool strict) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return consumed(text, last, end, strict);
}

bool convertDouble(const char* text, const char* last, double& value, bool strict) {
    char* end = nullptr;
    const locale_t locale = numericCLocale();
    value = locale ? strtod_l(text, &end, locale) : std::strtod(text, &end);
    return consumed(text, last, end, strict);
}

} // namespace

std::string& formatDouble(std::string& out, double value, int decimals) {
    if (decimals < 0) decimals = 0;
    // std::to_chars with a precision produces exactly printf's "%.*f" digits, without consulting the locale.
    // The integer part of a finite double has at most 309 digits.
    out.resize(static_cast<std::size_t>(decimals) + 320);
    const auto result =
        std::to_chars(out.data(), out.data() + out.size(), value, std::chars_format::fixed, decimals);
    out.resize(static_cast<std::size_t>(result.ptr - out.data()));

    if (out.find('.') != std::string::npos) {
        out.erase(out.find_last_not_of('0') + 1);
        if (out.back() == '.') out.pop_back();
    }
    // A tiny negative value (or -0.0) would otherwise leave "-0", which reads as zero anyway.
    if (out == "-0") out = "0";
    return out;
}

std::string formatDouble(double value, int decimals) {
    std::string out;
    return formatDouble(out, value, decimals);
}

std::string shortestDouble(double value) {
    // "-1.7976931348623157e+308" is the longest shortest form.
    std::array<char, 32> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

// A NUL inside a string ends the conversion early, so that strict mode refuses it.
bool textToLong(const std::string& text, long& value, bool strict) {
    return convertLong(text.c_str(), text.c_str() + text.size(), value, strict);
}
bool textToDouble(const std::string& text, double& value, bool strict) {
    return convertDouble(text.c_str(), text.c_str() + text.size(), value, strict);
}
bool textToLong(const char* text, long& value, bool strict) {
    return convertLong(text, text + std::strlen(text), value, strict);
}
bool textToDouble(const char* text, double& value, bool strict) {
    return convertDouble(text, text + std::strlen(text), value, strict);
}

const char* onOffText(bool flag) noexcept {
    for (const OnOffForm& form : kOnOffForms)
        if (form.flag == flag) return form.text;
    return "";
}

bool textToOnOff(std::string_view text, bool& flag) noexcept {
    for (const OnOffForm& form : kOnOffForms) {
        if (form.text == text) {
            flag = form.flag;
            return true;
        }
    }
    return false;
}

} // namespace kest::util
