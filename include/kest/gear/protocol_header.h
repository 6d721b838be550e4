#pragma once

// The texts printed in the head of a measurement protocol.

#include <kest/gear/host/export.h>

#include <array>
#include <cstdint>
#include <string>

namespace kest::host {
class MSXMLWrapper;
}

namespace kest::gear {

// Drawing number, operation, part name, comment, operator, three titles, five free texts, whether date and
// time are printed, and a bitmap; every entry empty by default. Stored under "protocol/header", one child
// element per entry that is not empty, named by the entry's key.
class GEARRECORDS_API ProtocolHeader {
public:
    // Each named after its key, which is also its element in the file.
    enum class HeaderEntry : std::int32_t {
        DRAWING_NO = 0,
        OPERATION = 1,
        PART_NAME = 2,
        COMMENT = 3,
        OPERATOR = 4,
        TITLE_1 = 5,
        TITLE_2 = 6,
        TITLE_3 = 7,
        TEXT_1 = 8,
        TEXT_2 = 9,
        TEXT_3 = 10,
        TEXT_4 = 11,
        TEXT_5 = 12,
        DATE = 13, // "on", "off" or empty
        TIME = 14, // "on", "off" or empty
        BITMAP = 15,
    };
    static constexpr std::size_t entryCount = 16;

    // The key of an entry (its element name) and the attribute holding its value ("text" or "enabled");
    // both "" for an entry of 16 or more.
    static const char* key(HeaderEntry entry) noexcept;
    static const char* valueAttribute(HeaderEntry entry) noexcept;

    ProtocolHeader() = default;
    ProtocolHeader(const ProtocolHeader&) = default;
    ProtocolHeader& operator=(const ProtocolHeader&) = default;
    virtual ~ProtocolHeader();

    void clear();
    // Stores the value; returns true when it is not empty (an empty value clears the entry and returns
    // false). returns false, storing nothing, for an entry of 16 or more, and for DATE and TIME unless the
    // value is "on" or "off".
    bool set(HeaderEntry entry, const std::string& value);
    // Clears *value, then copies the entry into it. returns false for a null pointer, an entry of 16 or more
    // and an empty entry.
    bool get(HeaderEntry entry, std::string* value) const;

    bool operator==(const ProtocolHeader& other) const = default;

    // Replaces "protocol/header" below the node at `basePath` (the document element when empty). returns
    // false for a null wrapper, a missing base node or a failed write; the other entries are still written.
    bool saveXML(host::MSXMLWrapper* xml, const std::string& basePath) const;
    // Without "protocol/header" the header stays as it is and the result is true. Otherwise every entry is
    // replaced by what its element holds, empty without one. returns false only for a null wrapper or a
    // missing base node.
    bool loadXML(host::MSXMLWrapper* xml, const std::string& basePath);

private:
    std::array<std::string, entryCount> entries_;
};

} // namespace kest::gear
