#include "util/utf8.h"

#include <array>
#include <cstddef>

namespace kest::util {
namespace {

// The multi-byte sequence forms: the lead byte's marker bits, how many 10xxxxxx bytes follow, and the
// smallest code point that needs this many bytes (anything below it is an overlong form).
struct SequenceForm {
    unsigned char leadMask;
    unsigned char leadMarker;
    std::size_t continuationBytes;
    char32_t smallest;
};

constexpr std::array<SequenceForm, 3> kSequenceForms{{
    {0xE0, 0xC0, 1, 0x80},    // 110xxxxx
    {0xF0, 0xE0, 2, 0x800},   // 1110xxxx
    {0xF8, 0xF0, 3, 0x10000}, // 11110xxx
}};

constexpr char32_t kLargestCodePoint = 0x10FFFF;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kPastLastSurrogate = 0xE000;

const SequenceForm* sequenceForm(unsigned char lead) {
    for (const SequenceForm& form : kSequenceForms)
        if ((lead & form.leadMask) == form.leadMarker) return &form;
    return nullptr;
}

} // namespace

bool isValidUtf8(std::string_view text) noexcept {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const SequenceForm* form = sequenceForm(lead);
        if (!form || text.size() - i - 1 < form->continuationBytes) return false;

        char32_t codePoint = lead & static_cast<unsigned char>(~form->leadMask);
        for (std::size_t k = 1; k <= form->continuationBytes; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (codePoint < form->smallest || codePoint > kLargestCodePoint ||
            (codePoint >= kFirstSurrogate && codePoint < kPastLastSurrogate))
            return false;
        i += 1 + form->continuationBytes;
    }
    return true;
}

} // namespace kest::util
