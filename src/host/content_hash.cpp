#include "host/content_hash.h"

#include <pugixml.hpp>

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace kest::host {
namespace {

class HashWriter final : public pugi::xml_writer {
public:
    explicit HashWriter(std::string* text)
        : text_(text) {
        XXH3_INITSTATE(&state_);
        XXH3_128bits_reset(&state_);
    }
    void write(const void* data, size_t size) override {
        XXH3_128bits_update(&state_, data, size);
        if (text_) text_->append(static_cast<const char*>(data), size);
    }
    std::string digest() {
        XXH128_canonical_t canonical;
        XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(&state_));
        static constexpr char hex[] = "0123456789abcdef";
        std::string out(2 * sizeof canonical.digest, '0');
        for (std::size_t i = 0; i < sizeof canonical.digest; ++i) {
            out[2 * i] = hex[canonical.digest[i] >> 4];
            out[2 * i + 1] = hex[canonical.digest[i] & 0x0f];
        }
        return out;
    }

private:
    XXH3_state_t state_;
    std::string* text_;
};

} // namespace

std::string contentHash(const pugi::xml_node& node, std::string* text) {
    HashWriter writer(text);
    if (node.type() == pugi::node_document)
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
            child.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    else
        node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return writer.digest();
}

} // namespace kest::host
