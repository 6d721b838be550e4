// The profile-shift solvers: the addendum modification coefficient from a test value, and the test value
// from the coefficient. Tooth thicknesses invert in closed form; dimensions over balls and pins are solved
// with the secant method.

#include "calc/profile_shift.h"

#include <kest/gear/calculation_functors.h>
#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear_calculator.h>
#include <kest/gear/measurement_enums.h>

#include "calc/calculation_result.h"
#include "calc/polar.h"

#include <array>
#include <cmath>
#include <numbers>
#include <string_view>
#include <utility>

namespace {

using kest::gear::AddendumModificationVariant;
using kest::gear::CylindricalGearGeometry;
using kest::gear::GearCalculator;
using kest::gear::isUnset;
using kest::gear::Side;
using kest::gear::unsetValue;
using kest::gear::calc::involute;
using kest::gear::calc::notCalculable;
using std::numbers::pi;

// The coefficients scanned for a defined dimension before the secant solve: -3.0, -2.94, ..., 3.0.
constexpr double kScanFirst = -3.0;
constexpr double kScanStep = 0.06;
constexpr int kScanPoints = 101;

} // namespace

// ---- ProfileShiftCalculation ------------------------------------------------------------------------------

ProfileShiftCalculation::ProfileShiftCalculation(const CylindricalGearGeometry& geometry, double target,
                                                 double diameter, double phi0)
    : calculator_(&geometry)
    , target_(target)
    , diameter_(diameter)
    , phi0_(phi0) {}

void ProfileShiftCalculation::setDimension(const std::string& name) {
    static constexpr std::array<std::pair<std::string_view, Dimension>, 4> dimensions{{
        {"MrK", Dimension::MrK},
        {"MdK", Dimension::MdK},
        {"MrR", Dimension::MrR},
        {"MdR", Dimension::MdR},
    }};
    for (const auto& [text, dimension] : dimensions)
        if (text == name) {
            dimension_ = dimension;
            name_ = name;
            return;
        }
    throw notCalculable(name);
}

double ProfileShiftCalculation::dimension(double x) const {
    const CylindricalGearGeometry& geometry = *calculator_.getGeometry();
    const double b = geometry.getB();
    const double middle = isUnset(b) ? unsetValue : b / 2;
    switch (dimension_) {
    case Dimension::MrK:
        return calculator_.mrk(x, x, diameter_, middle, phi0_);
    case Dimension::MdK:
        return calculator_.mdk(x, x, diameter_, middle, phi0_);
    case Dimension::MrR:
        return calculator_.mrr(x, diameter_, phi0_);
    case Dimension::MdR:
        return calculator_.mdr(x, diameter_, phi0_);
    case Dimension::None:
        break;
    }
    throw notCalculable(name_);
}

double ProfileShiftCalculation::operator()(double x) const {
    const double value = dimension(x);
    if (isUnset(value)) throw notCalculable(name_);
    return value - target_;
}

// The secant starts from the ends of the first unbroken run of the scan grid where the dimension is defined.
// The dimension is defined on one interval of x (below it the ball sinks past the base circle, above it the
// space closes), so when the middle of the grid is defined the ends of its run are found by bisecting the
// grid instead of walking it; otherwise the grid is walked from its start.
double ProfileShiftCalculation::solve(kest::RootSecantMethod& solver) const {
    if (dimension_ == Dimension::None) throw notCalculable(name_);
    const auto defined = [this](int i) {
        try {
            return !isUnset(dimension(kScanFirst + i * kScanStep));
        } catch (const char*) {
            return false; // outside the coefficients the gear can have: the ball finds no place
        }
    };
    constexpr int middle = kScanPoints / 2;
    int first = -1;
    int last = -1;
    if (defined(middle)) {
        first = 0;
        if (!defined(first)) { // bisect for the first defined point; hi stays defined
            int lo = 0, hi = middle;
            while (hi - lo > 1) {
                const int mid = (lo + hi) / 2;
                (defined(mid) ? hi : lo) = mid;
            }
            first = hi;
        }
        last = kScanPoints - 1;
        if (!defined(last)) { // lo stays defined
            int lo = middle, hi = last;
            while (hi - lo > 1) {
                const int mid = (lo + hi) / 2;
                (defined(mid) ? lo : hi) = mid;
            }
            last = lo;
        }
    } else {
        for (int i = 0; i < kScanPoints; ++i) {
            if (defined(i)) {
                if (first < 0) first = i;
                last = i;
            } else if (first >= 0) {
                break;
            }
        }
    }
    if (first < 0) return unsetValue;
    return solver.solve(*this, kScanFirst + first * kScanStep, kScanFirst + last * kScanStep);
}

namespace kest::gear {

// ---- addendum modification in its stated forms ------------------------------------------------------------

// The tooth thicknesses invert in closed form. With q = s_t / d on the reference circle (signed d and z, so
// that d / z is the transverse module), s_t = m_t (pi/2 + 2 x tan(alpha_n)) (ISO 21771) gives
// x = (2 z q - pi) / (4 tan(alpha_n)); a thickness s_y on the circle of signed diameter d_y gives
// q = s_y / d_y + inv(alpha_y) - inv(alpha_t) (ISO 21771), and a normal thickness becomes transverse
// divided by cos(beta_y), tan(beta_y) = tan(beta) d_y / d.
double profileShiftFromTestValue(const CylindricalGearGeometry& geometry, AddendumModificationVariant variant,
                                 double value) {
    if (isUnset(value)) return unsetValue;
    const char* dimension = nullptr;
    bool normal = false;
    bool onBaseCircle = false;
    switch (variant) {
    case AddendumModificationVariant::AddmodFactor:
        return value;
    case AddendumModificationVariant::AddmodValue: {
        const double mn = geometry.getMN(Side::Left);
        return isUnset(mn) ? unsetValue : value / mn;
    }
    case AddendumModificationVariant::AddmodMrk:
        dimension = "MrK";
        break;
    case AddendumModificationVariant::AddmodMdk:
        dimension = "MdK";
        break;
    case AddendumModificationVariant::AddmodMdr:
        dimension = "MdR";
        break;
    case AddendumModificationVariant::AddmodSt:
        break;
    case AddendumModificationVariant::AddmodSbt:
        onBaseCircle = true;
        break;
    case AddendumModificationVariant::AddmodSn:
        normal = true;
        break;
    case AddendumModificationVariant::AddmodSbn:
        normal = onBaseCircle = true;
        break;
    }
    if (dimension) {
        ProfileShiftCalculation f(geometry, value, geometry.getDM(), geometry.getNominalFlankOffsetAngle());
        f.setDimension(dimension);
        RootSecantMethod solver(secantTolerance, secantIterationLimit);
        return f.solve(solver);
    }

    const int z = geometry.getZ();
    const double d = geometry.getD(Side::Left, true);
    const double db = geometry.getDB(Side::Left, true);
    const double beta = geometry.getBetaRad(Side::Left, false);
    const double alphaN = geometry.getAlphaNRad(Side::Left);
    if (z == 0 || isUnset(d) || isUnset(db) || isUnset(beta) || isUnset(alphaN)) return unsetValue;
    const double e = z > 0 ? 1.0 : -1.0;
    double q = 0.0;
    if (onBaseCircle) {
        const double dy = std::fabs(db) * e;
        const double s = normal ? value / std::cos(std::atan(std::tan(beta) * dy / d)) : value;
        const double alphaT = std::acos(db / d);
        const double alphaY = std::acos(std::min(db / dy, 1.0));
        q = s / dy + involute(alphaY) - involute(alphaT);
    } else {
        q = (normal ? value / std::cos(beta) : value) / d;
    }
    return (2.0 * z * q - pi) / (4 * std::tan(alphaN));
}

double testValueFromProfileShift(const CylindricalGearGeometry& geometry, Side side,
                                 AddendumModificationVariant variant, double zpos) {
    const GearCalculator calculator(&geometry);
    const double phi0 = geometry.getNominalFlankOffsetAngle();
    const double xL = geometry.getX(Side::Left);
    const double xR = geometry.getX(Side::Right);
    switch (variant) {
    case AddendumModificationVariant::AddmodFactor:
        return geometry.getX(side);
    case AddendumModificationVariant::AddmodValue:
        return geometry.getXValue(side);
    case AddendumModificationVariant::AddmodMrk:
        return calculator.getNominal_MrK(xL, xR, geometry.getDM(), zpos, phi0);
    case AddendumModificationVariant::AddmodMdk:
        return calculator.getNominal_MdK(xL, xR, geometry.getDM(), zpos, phi0);
    case AddendumModificationVariant::AddmodMdr:
        return calculator.getNominal_MdR(xL, geometry.getDM(), phi0);
    case AddendumModificationVariant::AddmodSt:
        return calculator.getNominal_St(xL, phi0);
    case AddendumModificationVariant::AddmodSbt:
        return calculator.getNominal_Sbt(xL, phi0);
    case AddendumModificationVariant::AddmodSn:
        return calculator.getNominal_Sn(xL, phi0);
    case AddendumModificationVariant::AddmodSbn:
        return calculator.getNominal_Sbn(xL, phi0);
    }
    return unsetValue;
}

} // namespace kest::gear
