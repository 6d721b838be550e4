#pragma once

#include <kest/gear/nominal_value.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace kest::gear {
class CylindricalGearGeometry;
}

namespace kest::gearfile {

// The nominal values the tool shows for a gear; `gearfile nominal` and the Python module take them from here.
// Lengths in mm, the flank offset angle in radians.
struct NominalValues {
    using Value = gear::NominalResult;
    struct Flank {
        Value x;  // addendum modification coefficient
        Value d;  // reference diameter
        Value db; // base diameter
        Value dv; // V-circle diameter
    };
    struct Span {
        unsigned int k;
        Value wk;
    };

    std::string kind;
    bool perFlank = false;       // the flanks have values of their own
    Value flankOffsetAngle;      // radians
    std::array<Flank, 2> flanks; // Left, Right
    Value da, df;
    Value st, sn, sbt, sbn;
    Value spanCounts; // the first span count, or why there are none
    std::vector<Span> spans;
    Value ballDiameter;
    bool ballDiameterFromFile = false;
    Value mdk, mrk, mdr;
};

// Throws only what allocation throws: the library's own failures are reasons of values.
NominalValues computeNominal(const gear::CylindricalGearGeometry& geometry);

// Every value by one flat name, in the order of the JSON of `gearfile nominal`: flank_offset_angle (degrees),
// x_left, x_right, d_left, d_right, db_left, db_right, dv_left, dv_right, da, df, st, sn, sbt, sbn, W<k> for
// each span count (or "Wk" with the reason when there is none), ball_diameter, MdK, MrK, MdR.
std::vector<std::pair<std::string, gear::NominalResult>> namedNominalValues(const NominalValues& values);

double degrees(double radians);

} // namespace kest::gearfile
