#pragma once

#include <kest/gear/gear.h>

#include <nlohmann/json.hpp>

#include <array>
#include <string>

namespace kest::gearfile {

using Json = nlohmann::ordered_json;

// The whole record of a gear as one JSON object (see the README): snake_case keys, lengths in mm, angles in
// degrees, a value the file leaves unset as null. The Python module builds its objects from the same
// document, so the names of both are the same. Throws what the library's conversions throw (const char*).
Json recordJson(const gear::Gear& gear);

// The keys of the objects of recordJson whose own keys are data (feature names, parameter names, header
// entries), not fixed names; the Python module makes dicts of them.
inline constexpr std::array dataMapKeys{"user_strings", "sub_qualities", "data",
                                        "other",        "flank_names",   "header"};

// The "geometry" object of recordJson.
Json geometryJson(const gear::CylindricalGearGeometry& geometry);

} // namespace kest::gearfile
