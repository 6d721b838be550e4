#pragma once

#include <cstdint>

namespace kest::host {

// The host's named-object base; the library uses only its unit codes, which tag the values it hands out.
struct CNamedObject {
    enum class Unit : std::int32_t {
        None = 0,
        Length = 1,
        Angle = 2,
        Percent = 11,
    };
};

} // namespace kest::host
