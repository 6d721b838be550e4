#pragma once

// The nominal values of a gear by name, each with the reason when the gear has none: the form in which a
// program asks the calculator for values it shows or stores, without reading the log.

#include <kest/gear/unset_value.h>

#include <cstdint>
#include <string>

namespace kest::gear {

// The nominal values that can be asked for by name. Lengths in the unit of the gear's dimensions, angles in
// radians.
enum class NominalValue : std::int32_t {
    FlankOffsetAngle, // phi0 of the geometry (0 for a symmetrical gear)
    TipDiameter,      // da of the basic rack (GearCalculator::getNominal_da)
    RootDiameter,     // df of the basic rack
    St,               // transverse tooth thickness on the reference circle
    Sn,               // normal tooth thickness on the reference circle
    Sbt,              // transverse tooth thickness on the base circle
    Sbn,              // normal tooth thickness on the base circle
    Svt,              // transverse tooth thickness on the V-circle
    Svn,              // normal tooth thickness on the V-circle
    FirstSpanCount,   // the smallest usable span count k (GearCalculator::getWkSpanTeethList)
    LastSpanCount,    // the largest usable span count; every k from the first to the last is usable
    Wk,               // base tangent length over NominalInputs::spanCount teeth
    BallDiameter,     // the ball and pin diameter the dimensions below use
    MdK,              // diametral dimension over balls
    MrK,              // radial dimension over balls
    MdR,              // diametral dimension over pins
};

// What the named values are computed for. Each unset member takes the gear's own value.
struct NominalInputs {
    double xLeft = unsetValue;            // addendum modification coefficient; the symmetrical values use it
    double xRight = unsetValue;           // of the right flanks (dimensions over balls)
    double flankOffsetAngle = unsetValue; // unset: the geometry's nominal flank offset angle
    double ballDiameter = unsetValue;     // unset: the geometry's, else the DIN ball diameter
    double zpos = 0.0;                    // axial position of the balls
    unsigned int spanCount = 0;           // k of Wk
};

// The reasons of values that wait on an input that is not set, and of a calculation that ends in an infinity
// or NaN.
inline constexpr const char* nominalInputNotSet = "a value it needs is not set in the file";
inline constexpr const char* nominalNotFinite = "the calculation gave no finite value";

// One nominal value, or the reason the gear has none.
struct NominalResult {
    double value = unsetValue;
    std::string reason; // empty when the value is available

    bool available() const noexcept { return reason.empty(); }
};

} // namespace kest::gear
