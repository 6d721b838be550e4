#pragma once

#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kest::gear {
class CylindricalGearGeometry;
}

namespace kest::gearfile {

// The values of a geometry by their snake_case names: the keys of the "geometry" object of `gearfile show
// --json` and the properties of the Python module's Geometry, taken from this one table so that they cannot
// differ. Lengths in mm, angles in degrees. A value belongs to the geometries of its kind and of the kinds
// derived from it (an asymmetrical gear has the right flank's values, a beveloid gear also the cone's).
struct GeometryNumber {
    const char* name;
    const char* kind;
    double (*get)(const gear::CylindricalGearGeometry&); // unset when the file leaves it unset
};
struct GeometryText {
    const char* name;
    const char* kind;
    std::string (*get)(const gear::CylindricalGearGeometry&);
};

std::span<const GeometryNumber> geometryNumbers();
std::span<const GeometryText> geometryTexts();
// true when `geometry` is of the field's kind or derived from it
bool hasField(const gear::CylindricalGearGeometry& geometry, const char* kind);

// The user strings the geometry holds, each under the name of its value ("z", "mn", "right_beta", ...).
std::vector<std::pair<std::string, std::string>> userStrings(const gear::CylindricalGearGeometry& geometry);

} // namespace kest::gearfile
