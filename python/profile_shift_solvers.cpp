#include "profile_shift_solvers.h"

#include <kest/gear/calculation_functors.h>
#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear_calculator.h>
#include <kest/gear/root_finding.h>

#include <pybind11/pybind11.h>

#include <string>

namespace kest::gearfile {
namespace {

std::string text(double value) {
    std::string shown = std::to_string(value);
    while (shown.ends_with('0'))
        shown.pop_back();
    if (shown.ends_with('.')) shown.pop_back();
    return shown;
}

} // namespace

// The base tangent length is linear in x: Wk = mn cos(alpha_n) ((k - 0.5) pi + z inv(alpha_t)) + 2 x mn
// sin(alpha_n) (ISO 21771, DIN 3960), so the two values at x = 0 and x = 1 give x without iterating.
double profileShiftFromSpan(const gear::CylindricalGearGeometry& geometry, double wk, unsigned int k) {
    const gear::GearCalculator calculator(&geometry);
    gear::NominalInputs inputs;
    inputs.spanCount = k;
    inputs.xLeft = 0.0;
    const gear::NominalResult w0 = calculator.getNominal(gear::NominalValue::Wk, inputs);
    inputs.xLeft = 1.0;
    const gear::NominalResult w1 = calculator.getNominal(gear::NominalValue::Wk, inputs);
    for (const gear::NominalResult* w : {&w0, &w1})
        if (!w->available())
            throw pybind11::value_error("no span over " + std::to_string(k) + " teeth: " + w->reason);
    return (wk - w0.value) / (w1.value - w0.value);
}

// The secant solve of the library on MdK(x) - mdk, from the ends of the coefficients where the balls find
// their place.
double profileShiftFromBalls(const gear::CylindricalGearGeometry& geometry, double mdk, double ballDiameter) {
    const double diameter = gear::isUnset(ballDiameter) ? geometry.getDM() : ballDiameter;
    ProfileShiftCalculation f(geometry, mdk, diameter, geometry.getNominalFlankOffsetAngle());
    f.setDimension("MdK");
    kest::RootSecantMethod solver(gear::secantTolerance, gear::secantIterationLimit);
    const double x = f.solve(solver);
    if (gear::isUnset(x) || !solver.isConverged())
        throw pybind11::value_error("no addendum modification gives MdK = " + text(mdk) + " mm");
    return x;
}

} // namespace kest::gearfile
