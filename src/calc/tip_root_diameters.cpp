// Nominal tip and root diameters from the basic rack.

#include <kest/gear/gear_calculator.h>

#include <kest/gear/asymmetrical_gear_geometry.h>
#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include "calc/calculation_result.h"

#include <algorithm>
#include <cmath>

namespace kest::gear {

using calc::orZero;

// From a basic rack with addendum 1.0 mn and dedendum 1.2 mn shifted by x mn, on diameters taken as
// magnitudes. For an internal gear the shift is added as for an external one, so x > 0 moves its tip and root
// away from the axis; note that DIN 3960 (signed diameters) moves them towards it, as does this library's
// V-circle diameter.
double GearCalculator::tipOrRootDiameter(Side side, bool tip) const {
    const double d = geometry_->getD(side, false);
    const double mn = geometry_->getMN(side);
    const double db = geometry_->getDB(side, false);
    if (isUnset(d) || isUnset(mn) || isUnset(db)) return unsetValue;
    const double x = orZero(geometry_->getX(side));
    if (e_ > 0) return tip ? std::max(d + 2 * mn + 2 * x * mn, db + 2 * mn) : d - 2.4 * mn + 2 * x * mn;
    return tip ? std::max(d - 2 * mn + 2 * x * mn, db) : d + 2.4 * mn + 2 * x * mn;
}

double GearCalculator::nominalTipOrRoot(bool tip) const {
    const double left = tipOrRootDiameter(Side::Left, tip);
    const double right = geometry_->testKindOf(AsymmetricalGearGeometry::isKindOf(), false)
                             ? tipOrRootDiameter(Side::Right, tip)
                             : left;
    if (isUnset(left) || isUnset(right)) return unsetValue;
    // one circle serves both flanks: the one farther from the tooth's middle (external: the larger tip and
    // the smaller root; internal, whose teeth point inwards: the smaller tip and the larger root)
    const bool larger = tip == (e_ > 0);
    return larger ? std::max(left, right) : std::min(left, right);
}

double GearCalculator::getNominal_da() const {
    return nominalTipOrRoot(true);
}

double GearCalculator::getNominal_df() const {
    return nominalTipOrRoot(false);
}

} // namespace kest::gear
