#pragma once

namespace kest::gear {
class CylindricalGearGeometry;
}

namespace kest::gearfile {

// The addendum modification coefficient x of the left flank (the only one of a cylindrical gear) for which
// the base tangent length over k teeth is `wk`. Throws pybind11::value_error with the calculator's reason
// when the gear has no such span.
double profileShiftFromSpan(const gear::CylindricalGearGeometry& geometry, double wk, unsigned int k);

// The coefficient x for which the diametral dimension over balls of diameter `ballDiameter` (unset: the
// file's, else the DIN ball diameter) at half the face width is `mdk`. Throws pybind11::value_error when no
// coefficient gives it.
double profileShiftFromBalls(const gear::CylindricalGearGeometry& geometry, double mdk, double ballDiameter);

} // namespace kest::gearfile
