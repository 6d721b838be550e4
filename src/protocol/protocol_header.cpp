#include <kest/gear/protocol_header.h>

#include <kest/gear/host/msxml_wrapper.h>

#include "host/user_text_xml.h"
#include "protocol/protocol_xml.h"

#include <string_view>

namespace kest::gear {
namespace {

using protocol_xml::kEnabledAttribute;
using protocol_xml::kTextAttribute;

struct EntryRow {
    const char* key;
    const char* attribute;
};

// One row per entry, in the order of the enumeration.
constexpr std::array<EntryRow, ProtocolHeader::entryCount> kEntries{{
    {"DRAWING_NO", kTextAttribute},
    {"OPERATION", kTextAttribute},
    {"PART_NAME", kTextAttribute},
    {"COMMENT", kTextAttribute},
    {"OPERATOR", kTextAttribute},
    {"TITLE_1", kTextAttribute},
    {"TITLE_2", kTextAttribute},
    {"TITLE_3", kTextAttribute},
    {"TEXT_1", kTextAttribute},
    {"TEXT_2", kTextAttribute},
    {"TEXT_3", kTextAttribute},
    {"TEXT_4", kTextAttribute},
    {"TEXT_5", kTextAttribute},
    {"DATE", kEnabledAttribute},
    {"TIME", kEnabledAttribute},
    {"BITMAP", kTextAttribute},
}};

// returns nullptr for an entry outside the table
const EntryRow* row(ProtocolHeader::HeaderEntry entry) noexcept {
    const auto index = static_cast<std::size_t>(static_cast<std::uint32_t>(entry));
    return index < kEntries.size() ? &kEntries[index] : nullptr;
}

bool isFlag(const EntryRow& r) noexcept {
    return std::string_view(r.attribute) == kEnabledAttribute;
}

} // namespace

ProtocolHeader::~ProtocolHeader() = default;

const char* ProtocolHeader::key(HeaderEntry entry) noexcept {
    const EntryRow* r = row(entry);
    return r ? r->key : "";
}

const char* ProtocolHeader::valueAttribute(HeaderEntry entry) noexcept {
    const EntryRow* r = row(entry);
    return r ? r->attribute : "";
}

void ProtocolHeader::clear() {
    for (std::string& entry : entries_)
        entry.clear();
}

bool ProtocolHeader::set(HeaderEntry entry, const std::string& value) {
    const EntryRow* r = row(entry);
    if (!r) return false;
    if (isFlag(*r) && value != "on" && value != "off") return false;
    entries_[static_cast<std::size_t>(entry)] = value;
    return !value.empty();
}

bool ProtocolHeader::get(HeaderEntry entry, std::string* value) const {
    if (!value) return false;
    value->clear();
    if (!row(entry)) return false;
    *value = entries_[static_cast<std::size_t>(entry)];
    return !value->empty();
}

bool ProtocolHeader::saveXML(host::MSXMLWrapper* xml, const std::string& basePath) const {
    if (!xml) return false;
    bool found = false;
    const host::XMLNode base = protocol_xml::baseNode(*xml, basePath, found);
    if (!found) return false;
    xml->deleteNodes(protocol_xml::kHeaderPath, base);
    const host::XMLNode header = xml->createNode(protocol_xml::kHeaderPath, base);
    if (!header) return false;
    bool result = true;
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        if (entries_[i].empty()) continue;
        const host::XMLNode element = xml->createNode(kEntries[i].key, header, true);
        result =
            element && host::writeUserText(*xml, element, {kEntries[i].attribute, entries_[i]}) && result;
    }
    return result;
}

bool ProtocolHeader::loadXML(host::MSXMLWrapper* xml, const std::string& basePath) {
    if (!xml) return false;
    bool found = false;
    const host::XMLNode base = protocol_xml::baseNode(*xml, basePath, found);
    if (!found) return false;
    const host::XMLNode header = xml->getNode(protocol_xml::kHeaderPath, base);
    if (!header) return true;
    clear();
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        const host::XMLNode element = xml->getNode(kEntries[i].key, header);
        if (!element) continue;
        // A text that does not read keeps what was read of it.
        host::UserText text{kEntries[i].attribute, {}};
        host::readUserText(*xml, element, text);
        entries_[i] = std::move(text.text);
    }
    return true;
}

} // namespace kest::gear
