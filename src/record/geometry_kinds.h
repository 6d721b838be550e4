#pragma once

// The geometry kinds a gear can hold, most derived first: the name the gear file gives each kind, a geometry
// of the kind to be filled by its reader, and the deep copy of a geometry of the kind.

#include <kest/gear/cylindrical_gear_geometry.h>

#include "host/child_sync.h"

#include <memory>
#include <span>
#include <string_view>

namespace kest::gear {

struct GeometryKind {
    const char* (*name)() noexcept;
    // holds values that only satisfy the constructor; the geometry's reader replaces them
    std::unique_ptr<CylindricalGearGeometry> (*placeholder)();
    // returns null when `source` is not of the kind
    std::unique_ptr<CylindricalGearGeometry> (*copy)(const CylindricalGearGeometry& source);
};

std::span<const GeometryKind> geometryKinds() noexcept;

// returns null for a name the library does not know
const GeometryKind* findGeometryKind(std::string_view name) noexcept;

// Every element and attribute name that a geometry of any kind writes below "geometry".
const host::KnownNames& geometryNames();

// A deep copy of the most derived kind that `source` claims. Throws "Geometry type unsupported" for a class
// that claims no kind or a kind it is not of.
std::unique_ptr<CylindricalGearGeometry> copyGeometry(const CylindricalGearGeometry& source);

} // namespace kest::gear
