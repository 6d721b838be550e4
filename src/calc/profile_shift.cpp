// Inverse calculations: the addendum modification coefficient from a test value, and the flank offset angle
// of an asymmetrical gear from a measured value. Tooth thicknesses invert in closed form; dimensions over
// balls and pins and the flank offset angle are solved with the secant method.

#include "calc/profile_shift.h"

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear_calculator.h>
#include <kest/gear/host/diagnostics.h>
#include <kest/gear/measurement_enums.h>

#include "calc/calculator_support.h"
#include "calc/polar.h"
#include "util/string_format.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace {

using kest::gear::AddendumModificationVariant;
using kest::gear::CylindricalGearGeometry;
using kest::gear::GearCalculator;
using kest::gear::isUnset;
using kest::gear::Side;
using kest::gear::unsetValue;
using kest::gear::calc::pi;

constexpr const char* kSpanCountMissing =
    "for base tangent length calculation span teeth number must be given.";

// The coefficients scanned for a defined dimension before the secant solve: -3.0, -2.94, ..., 3.0.
constexpr double kScanFirst = -3.0;
constexpr double kScanStep = 0.06;
constexpr int kScanPoints = 101;

const char* notCalculable(const std::string& name) {
    std::string text;
    kest::util::stl_string_format(text, "%s can not be calculated for given gear or not yet implemented",
                                  name.c_str());
    return kest::host::make_pp(text);
}

template <typename Kind, std::size_t N>
bool lookUp(const std::array<std::pair<std::string_view, Kind>, N>& table, const std::string& name,
            Kind& kind) {
    for (const auto& [text, value] : table)
        if (text == name) {
            kind = value;
            return true;
        }
    return false;
}

double involute(double alpha) {
    return std::tan(alpha) - alpha;
}

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
    Dimension dimension = Dimension::None;
    if (!lookUp(dimensions, name, dimension)) throw notCalculable(name);
    dimension_ = dimension;
    name_ = name;
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

// ---- FlankSurfaceOffsetCalculation ------------------------------------------------------------------------

FlankSurfaceOffsetCalculation::FlankSurfaceOffsetCalculation(const GearCalculator& calculator,
                                                             const std::string& feature, double measured,
                                                             const Parameters& parameters)
    : calculator_(calculator)
    , feature_(feature)
    , kind_(Feature::MrK)
    , measured_(measured)
    , parameters_(parameters) {
    static constexpr std::array<std::pair<std::string_view, Feature>, 6> features{{
        {"MrK", Feature::MrK},
        {"MdK", Feature::MdK},
        {"MrR", Feature::MrR},
        {"MdR", Feature::MdR},
        {"Syt", Feature::Syt},
        {"Wk", Feature::Wk},
    }};
    if (!lookUp(features, feature, kind_)) throw notCalculable(feature);
    if (kind_ == Feature::Wk && (parameters.k == 0 || parameters.k == kest::gear::unsetSpanCount))
        throw kSpanCountMissing;
}

double FlankSurfaceOffsetCalculation::nominal(double phi0) const {
    const Parameters& p = parameters_;
    // The pin and span values are not defined for an asymmetrical gear (their public forms refuse it).
    const bool refused = calculator_.isAsymmetrical();
    switch (kind_) {
    case Feature::MrK:
        return calculator_.mrk(p.xL, p.xR, p.ballOrPinDiameter, p.zpos, phi0);
    case Feature::MdK:
        return calculator_.mdk(p.xL, p.xR, p.ballOrPinDiameter, p.zpos, phi0);
    case Feature::MrR:
        return refused ? unsetValue : calculator_.mrr(p.xL, p.ballOrPinDiameter, phi0);
    case Feature::MdR:
        return refused ? unsetValue : calculator_.mdr(p.xL, p.ballOrPinDiameter, phi0);
    case Feature::Syt:
        return isUnset(p.diameter) ? unsetValue : calculator_.syt(p.diameter / 2, p.zpos, p.xL, p.xR, phi0);
    case Feature::Wk:
        return refused ? unsetValue : calculator_.wk(p.k, p.xL, phi0);
    }
    return unsetValue;
}

double FlankSurfaceOffsetCalculation::value(double phi0) const {
    try {
        return nominal(phi0);
    } catch (const char*) {
        return unsetValue;
    }
}

double FlankSurfaceOffsetCalculation::operator()(double phi0) const {
    const double v = nominal(phi0);
    if (isUnset(v)) throw notCalculable(feature_);
    return v - measured_;
}

namespace kest::gear {

double GearCalculator::getPhiB0_offset(const std::string& feature, double measured, double ballOrPinDiameter,
                                       double zpos, double diameter, double xL, double xR,
                                       unsigned int k) const {
    kest::RootSecantMethod solver(secantTolerance, secantIterationLimit);
    return getPhiB0_offset(feature, measured, ballOrPinDiameter, zpos, diameter, xL, xR, k, solver);
}

// The offset widens each tooth by phi0; a quarter of the angular pitch either way brackets any offset that
// leaves the teeth and spaces open. Where the value is undefined at a start value (a ball that finds no
// place), the start values close in on the defined part, within the solver's iteration budget.
double GearCalculator::getPhiB0_offset(const std::string& feature, double measured, double ballOrPinDiameter,
                                       double zpos, double diameter, double xL, double xR, unsigned int k,
                                       kest::RootSecantMethod& solver) const {
    const FlankSurfaceOffsetCalculation f(*this, feature, measured,
                                          {xL, xR, ballOrPinDiameter, zpos, diameter, k});
    const int z = std::abs(z_);
    if (z == 0 || isUnset(measured)) return unsetValue;
    double lo = -pi / z / 4;
    double hi = pi / z / 4;
    double fLo = f.value(lo);
    double fHi = f.value(hi);
    for (unsigned int step = 0; isUnset(fLo) || isUnset(fHi); ++step) {
        if (step == solver.getMaxIterations()) return unsetValue;
        if (isUnset(fLo) && isUnset(fHi)) {
            lo += 0.1 * (hi - lo);
            hi = lo + 0.9 * (hi - lo);
            fLo = f.value(lo);
            fHi = f.value(hi);
        } else if (isUnset(fLo)) {
            lo = (lo + hi) / 2;
            fLo = f.value(lo);
        } else {
            hi = (lo + hi) / 2;
            fHi = f.value(hi);
        }
    }
    return solver.solve(f, lo, hi);
}

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
    return (2 * z * q - pi) / (4 * std::tan(alphaN));
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
