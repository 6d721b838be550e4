#pragma once

// The addendum modification of a gear in the forms it can be stated in: the coefficient x from a test
// dimension or tooth thickness, and the test value from x.

#include <kest/gear/addendum_modification_variant.h>

#include <cstdint>

namespace kest::gear {

enum class Side : std::int32_t;
class CylindricalGearGeometry;

// The coefficient x for which the test value of `variant` equals `value` (the left flank's values; the ball
// or pin diameter of the dimensions is the geometry's). returns unset when an input is unset or no
// coefficient is found.
double profileShiftFromTestValue(const CylindricalGearGeometry& geometry, AddendumModificationVariant variant,
                                 double value);

// The test value of `variant` for the geometry's own coefficients; zpos is the axial position of the
// dimensions over balls.
double testValueFromProfileShift(const CylindricalGearGeometry& geometry, Side side,
                                 AddendumModificationVariant variant, double zpos);

} // namespace kest::gear
