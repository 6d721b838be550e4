#pragma once

// The bounds of a gear's teeth. The largest gears built have a few hundred teeth; the bounds leave ample room
// above them and keep every list and loop that a gear file sizes small enough to be done at once.

#include <cstddef>

namespace kest::gear {

// The largest number of teeth |z| a geometry may have, and so the largest tooth number in a tooth list.
inline constexpr int maxNumberOfTeeth = 9999;

// The most entries a tooth list may have: ten passes over every tooth of the largest gear.
inline constexpr std::size_t maxToothListLength = 100000;

} // namespace kest::gear
