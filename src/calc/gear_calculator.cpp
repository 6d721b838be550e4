// Tooth thicknesses, space widths, span measurements and tip and root diameters from the flank model: the
// transverse section of every flank is an involute of its base circle (ISO 21771), placed by the polar
// angle phiB of its start on the base circle. A flank point at radius ry then lies at the polar angle
// phiB + sigma inv(alpha_y), cos(alpha_y) = rb / ry, turned by the helix twist tan(beta_b) / rb per unit of
// axial position (the lead of the base helix, ISO 21771).

#include <kest/gear/gear_calculator.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/host/diagnostics.h>
#include <kest/gear/measurement_enums.h>

#include "calc/calculator_support.h"
#include "calc/polar.h"
#include "host/report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace kest::gear {

namespace calc {

void rethrowLogged(const char* file, int line, const char* operation, const char* message) {
    const char* text = message ? message : "";
    host::reportErrorLog(file, line, "GearCalculator::%s: %s", operation, text);
    throw host::make_pp(text);
}

double refuseLogged(const char* file, int line, const char* message) {
    host::reportErrorLog(file, line, "%s", message);
    return unsetValue;
}

} // namespace calc

namespace {

using calc::orZero;
using calc::pi;
using calc::twoPi;
using calc::wrapAngle;

constexpr const char* kNullGeometry = "given cylindircal gear geometry pointer is null";
constexpr const char* kSideOutOfRange = "given side is out of range";
constexpr const char* kPitchInsideBase = "pitch radius is not allowed smaller than base radius";
constexpr const char* kPointInBaseCircle = "given points located in base circle";
constexpr const char* kUnknownSpaceWidth = "demand feature is not support! please check the feature type!";

constexpr const char* kAsymmetricalKind = "asymmetrical gear";

// The named circles of the tooth thickness and space width features.
enum class Circle { Reference, Base, V, Given };

struct SpaceWidthRow {
    std::string_view name;
    Circle circle;
    bool normal;
};

constexpr std::array kSpaceWidths{
    SpaceWidthRow{"et", Circle::Reference, false}, SpaceWidthRow{"en", Circle::Reference, true},
    SpaceWidthRow{"ebt", Circle::Base, false},     SpaceWidthRow{"ebn", Circle::Base, true},
    SpaceWidthRow{"evt", Circle::V, false},        SpaceWidthRow{"evn", Circle::V, true},
    SpaceWidthRow{"eyt", Circle::Given, false},    SpaceWidthRow{"eyn", Circle::Given, true},
};

double handOf(CylindricalGearGeometry::FlankDirection direction) {
    switch (direction) {
    case CylindricalGearGeometry::FlankDirection::Left:
        return -1.0;
    case CylindricalGearGeometry::FlankDirection::Right:
        return 1.0;
    case CylindricalGearGeometry::FlankDirection::Straight:
        return 0.0;
    }
    return 0.0;
}

// [0, 2 pi)
double normalizeAngle(double angle) {
    angle = std::fmod(angle, twoPi);
    return angle < 0.0 ? angle + twoPi : angle;
}

} // namespace

// ---- set-up -----------------------------------------------------------------------------------------------

GearCalculator::GearCalculator(const CylindricalGearGeometry* geometry)
    : geometry_(geometry) {
    if (!geometry_) throw kNullGeometry;
    z_ = geometry_->getZ();
    e_ = z_ < 0 ? -1.0 : 1.0;
    for (const Side side : {Side::Left, Side::Right}) {
        SideData& s = sides_[side == Side::Left ? 0 : 1];
        s.sigma = side == Side::Left ? -1.0 : 1.0;
        s.x = geometry_->getX(side);
        s.d = geometry_->getD(side, true);
        s.hand = handOf(geometry_->getFlankDirection(side));
        const double db = geometry_->getDB(side, false);
        const double alphaN = geometry_->getAlphaNRad(side);
        const double beta = geometry_->getBetaRad(side, false);
        s.rb = isUnset(db) ? unsetValue : std::fabs(db) / 2;
        s.alphaN = isUnset(alphaN) ? unsetValue : std::fabs(alphaN);
        s.tanAlphaN = isUnset(alphaN) ? unsetValue : std::tan(s.alphaN);
        s.betaB = s.tb = s.normalScale = s.normalAxial = s.refAngle = unsetValue;
        if (!isUnset(s.rb) && s.rb > 0.0 && !isUnset(s.alphaN) && !isUnset(beta)) {
            // sin(beta_b) = sin(beta) cos(alpha_n) (ISO 21771), as
            // cos(beta_b) = cos(alpha_n) sqrt(tan^2(alpha_n) + cos^2(beta)); a spur gear must come out as 0.
            const double cb = std::cos(beta);
            double c = std::cos(s.alphaN) * std::sqrt(s.tanAlphaN * s.tanAlphaN + cb * cb);
            if (std::fabs(c - 1.0) <= std::numeric_limits<double>::epsilon()) c = 1.0;
            s.betaB = std::acos(std::min(c, 1.0));
            s.tb = std::tan(s.betaB) / s.rb;
            s.normalScale = e_ * s.sigma * std::cos(s.hand * s.betaB);
            s.normalAxial = std::tan(s.hand * s.betaB);
        }
    }
    for (const Side side : {Side::Left, Side::Right}) {
        SideData& s = sides_[side == Side::Left ? 0 : 1];
        try {
            s.refAngle = referenceAngle(side, s.x);
        } catch (const char*) {
            // left unset: the calculations that need it compute it again and fail there
        }
    }
    // The nominal flank modification: profile knots at the roll paths of the usable flank (from the larger
    // of base and root-side circle to the larger of base and tip-side circle), helix knots at both faces, all
    // values 0.
    const double rootSide = e_ > 0 ? geometry_->getDF() : geometry_->getDA();
    const double tipSide = e_ > 0 ? geometry_->getDA() : geometry_->getDF();
    const double b = geometry_->getB();
    for (const Side side : {Side::Left, Side::Right}) {
        const std::size_t i = side == Side::Left ? 0 : 1;
        const double db = 2 * sides_[i].rb;
        const double l1 = rollPath(side, std::max(db, std::fabs(rootSide)));
        const double l3 = rollPath(side, std::max(db, std::fabs(tipSide)));
        profileModification_[i] = {l1, 0.0, l1, 0.0, l3, 0.0, l3, 0.0, 0.0};
        helixModification_[i] = {0.0, 0.0, 0.0, 0.0, b, 0.0, b, 0.0, 0.0};
    }
}

GearCalculator::~GearCalculator() = default;

const GearCalculator::SideData& GearCalculator::sideData(Side side) const {
    switch (side) {
    case Side::Left:
        return sides_[0];
    case Side::Right:
        return sides_[1];
    case Side::Both:
        break;
    }
    throw kSideOutOfRange;
}

bool GearCalculator::isAsymmetrical() const {
    return geometry_->testKindOf(kAsymmetricalKind, true);
}

// Roll path (length of the generating line from the base circle) to the circle of `diameter`; negative inside
// the base circle.
double GearCalculator::rollPath(Side side, double diameter) const {
    const double rb = sideData(side).rb;
    const double r = std::fabs(diameter) / 2;
    if (isUnset(rb) || isUnset(diameter)) return unsetValue;
    return r >= rb ? std::sqrt(r * r - rb * rb) : -std::sqrt(rb * rb - r * r);
}

// ---- flank angles -----------------------------------------------------------------------------------------

// The polar angle theta of p less the involute function of its pressure angle is the polar angle of the
// involute's start on the base circle; the twist of the helix is taken back to the transverse plane z = 0.
double GearCalculator::involuteOriginAngle(const Vector& p, double rb, double sigma, double twist) const {
    const double r = std::hypot(p.x, p.y);
    if (r < rb) throw kPointInBaseCircle;
    double theta = std::acos(std::clamp(p.x / r, -1.0, 1.0));
    if (p.y < 0.0) theta = -theta;
    const double alpha = std::acos(std::min(rb / r, 1.0));
    return normalizeAngle(theta - sigma * (std::tan(alpha) - alpha) - twist);
}

double GearCalculator::getInvoluteOriginAngle(const Vector& p, Side side) const {
    const SideData& s = sideData(side);
    return involuteOriginAngle(p, s.rb, s.sigma, s.hand * s.tb * p.z);
}

GearCalculator::Vector GearCalculator::getInvoluteOrigin(const Vector& p, Side side) const {
    const double phi = getInvoluteOriginAngle(p, side);
    const double rb = sideData(side).rb;
    return {rb * std::cos(phi), rb * std::sin(phi), 0.0};
}

// Start angle of the involute through the point at half the tooth thickness on the reference circle. The
// transverse tooth thickness there is s_t = m_t (pi/2 + 2 x tan(alpha_n)) (ISO 21771), m_t = d / z.
// The involute taken is that of the tooth's flank at positive angles (Left of an external gear, Right of an
// internal one): a spur gear gives s_t / d + inv(alpha_t), or s_t / d - inv(alpha_t) for an internal gear.
double GearCalculator::referenceAngle(Side side, double x) const {
    const SideData& s = sideData(side);
    if (isUnset(x)) x = s.x;
    if (x == s.x && !isUnset(s.refAngle)) return s.refAngle;
    if (z_ == 0 || isUnset(s.d) || isUnset(x) || isUnset(s.alphaN) || isUnset(s.rb)) return unsetValue;
    const double st = s.d * (pi + 4.0 * x * s.tanAlphaN) / (2.0 * z_);
    const double r = std::fabs(s.d) / 2;
    if (s.rb > r) throw kPitchInsideBase;
    const double half = st / (2 * r);
    return involuteOriginAngle({r * std::cos(half), r * std::sin(half), 0.0}, s.rb, e_ > 0 ? -1.0 : 1.0, 0.0);
}

// Teeth follow each other clockwise, tooth 1 centred on the x axis (without flank offset); the flank offset
// angle phi0 widens every tooth by phi0, half on each flank.
double GearCalculator::baseAngle(int tooth, Side side, double x, double phi0) const {
    const int z = std::abs(z_);
    if (z == 0) return unsetValue;
    if (tooth < 1 || tooth > z) throw calc::kToothOutOfRange;
    const double ref = referenceAngle(side, x);
    if (isUnset(ref)) return unsetValue;
    const SideData& s = sideData(side);
    return normalizeAngle(-(e_ * s.sigma * (orZero(phi0) / 2 + ref) + (tooth - 1) * twoPi / z));
}

double GearCalculator::getBaseAngle(int tooth, Side side, double x, double phi0) const {
    return baseAngle(tooth, side, x, phi0);
}

double GearCalculator::flankAngle(int tooth, Side side, double ry, double zpos, double x, double phi0) const {
    const SideData& s = sideData(side);
    if (isUnset(ry) || isUnset(s.tb)) return unsetValue;
    const double phiB = baseAngle(tooth, side, x, phi0);
    if (isUnset(phiB)) return unsetValue;
    const double alpha = s.rb >= ry ? 0.0 : std::acos(s.rb / ry);
    return s.hand * s.tb * orZero(zpos) + phiB + s.sigma * (std::tan(alpha) - alpha);
}

// ---- tooth thickness and space width ----------------------------------------------------------------------

double GearCalculator::syt(double ry, double zpos, double xL, double xR, double phi0) const {
    const double left = flankAngle(1, Side::Left, ry, zpos, xL, phi0);
    const double right = flankAngle(1, Side::Right, ry, zpos, xR, phi0);
    if (isUnset(left) || isUnset(right)) return unsetValue;
    return wrapAngle((left - right) * e_) * ry;
}

// The space after tooth 1: from its Right flank to the Left flank of tooth 2 on an external gear, from its
// Left flank to the Right flank of tooth 2 on an internal one (whose teeth are mirrored).
double GearCalculator::eyt(double ry, double zpos, double xL, double xR, double phi0) const {
    const bool external = e_ > 0;
    const double first = external ? flankAngle(1, Side::Right, ry, zpos, xR, phi0)
                                  : flankAngle(1, Side::Left, ry, zpos, xL, phi0);
    const double second = external ? flankAngle(2, Side::Left, ry, zpos, xL, phi0)
                                   : flankAngle(2, Side::Right, ry, zpos, xR, phi0);
    if (isUnset(first) || isUnset(second)) return unsetValue;
    return wrapAngle(first - second) * ry;
}

// cos(beta_y) with tan(beta_y) = tan(beta_b) ry / rb, the helix angle on radius ry (ISO 21771).
double GearCalculator::helixFactor(double ry) const {
    const double tb = sides_[0].tb;
    return isUnset(tb) || isUnset(ry) ? unsetValue : std::cos(std::atan(tb * ry));
}

double GearCalculator::circleRadius(int circle, double x) const {
    double diameter = unsetValue;
    switch (static_cast<Circle>(circle)) {
    case Circle::Reference:
        diameter = geometry_->getD(Side::Left, false);
        break;
    case Circle::Base:
        diameter = geometry_->getDB(Side::Left, false);
        break;
    case Circle::V: {
        // d_v = d + 2 x mn (signed d: the V-circle of an internal gear moves towards the axis)
        if (isUnset(x)) x = geometry_->getX(Side::Left);
        const double d = geometry_->getD(Side::Left, true);
        const double mn = geometry_->getMN(Side::Left);
        if (!isUnset(x) && !isUnset(d) && !isUnset(mn)) diameter = d + 2.0 * mn * x;
        break;
    }
    case Circle::Given:
        break;
    }
    return isUnset(diameter) ? unsetValue : std::fabs(diameter) / 2;
}

double GearCalculator::toothThickness(int circle, double x, double phi0, bool normal) const {
    const double r = circleRadius(circle, x);
    if (isUnset(r)) return unsetValue;
    const double s = syt(r, 0.0, x, x, phi0);
    if (!normal || isUnset(s)) return s;
    const double f = helixFactor(r);
    return isUnset(f) ? unsetValue : s * f;
}

double GearCalculator::spaceWidth(const std::string& feature, double ry, double x, double phi0) const {
    const SpaceWidthRow* row = nullptr;
    for (const SpaceWidthRow& candidate : kSpaceWidths)
        if (candidate.name == feature) row = &candidate;
    if (!row) throw kUnknownSpaceWidth;
    double r = row->circle == Circle::Given ? ry : circleRadius(static_cast<int>(row->circle), x);
    if (isUnset(r)) return unsetValue;
    r = std::fabs(r);
    const double e = eyt(r, 0.0, x, x, phi0);
    if (!row->normal || isUnset(e)) return e;
    const double f = helixFactor(r);
    return isUnset(f) ? unsetValue : e * f;
}

double GearCalculator::getNominal_Syt(double ry, double zpos, double xL, double xR, double phi0) const {
    try {
        return syt(ry, zpos, xL, xR, phi0);
    } catch (const char* message) {
        GR_CALC_RETHROW("getNominal_Syt", message);
    }
}

double GearCalculator::getNominal_Syn(double ry, double zpos, double xL, double xR, double phi0) const {
    if (isAsymmetrical())
        return GR_CALC_REFUSE("Asymmetrical helix Gear can not calculate Normal Tooth Thickness");
    try {
        const double s = syt(ry, zpos, xL, xR, phi0);
        const double f = helixFactor(ry);
        return isUnset(s) || isUnset(f) ? unsetValue : s * f;
    } catch (const char* message) {
        GR_CALC_RETHROW("getNominal_Syn", message);
    }
}

double GearCalculator::getNominal_eyt(double ry, double zpos, double xL, double xR, double phi0) const {
    try {
        return eyt(ry, zpos, xL, xR, phi0);
    } catch (const char* message) {
        GR_CALC_RETHROW("getNominal_eyt", message);
    }
}

double GearCalculator::getNominal_eyn(double ry, double zpos, double xL, double xR, double phi0) const {
    if (isAsymmetrical()) return GR_CALC_REFUSE("Asymmetrical Gear can not calculate eyn");
    try {
        const double e = eyt(ry, zpos, xL, xR, phi0);
        const double f = helixFactor(ry);
        return isUnset(e) || isUnset(f) ? unsetValue : e * f;
    } catch (const char* message) {
        GR_CALC_RETHROW("getNominal_eyn", message);
    }
}

#define GR_NAMED_THICKNESS(Operation, circle, normal, feature)                                               \
    double GearCalculator::Operation(double x, double phi0) const {                                          \
        if (isAsymmetrical()) return GR_CALC_REFUSE("Asymmetrical Gear can not calculate " feature);         \
        try {                                                                                                \
            return toothThickness(static_cast<int>(circle), x, phi0, normal);                                \
        } catch (const char* message) {                                                                      \
            GR_CALC_RETHROW(#Operation, message);                                                            \
        }                                                                                                    \
    }

GR_NAMED_THICKNESS(getNominal_St, Circle::Reference, false, "st")
GR_NAMED_THICKNESS(getNominal_Sn, Circle::Reference, true, "sn")
GR_NAMED_THICKNESS(getNominal_Sbt, Circle::Base, false, "sbt")
GR_NAMED_THICKNESS(getNominal_Sbn, Circle::Base, true, "sbn")
GR_NAMED_THICKNESS(getNominal_Svt, Circle::V, false, "svt")
GR_NAMED_THICKNESS(getNominal_Svn, Circle::V, true, "svn")

#undef GR_NAMED_THICKNESS

double GearCalculator::getNominal_Spacewidth(const std::string& feature, double ry, double x,
                                             double phi0) const {
    if (isAsymmetrical()) {
        GR_ERROR_LOG("Asymmetrical Gear can not calculate %s", feature.c_str());
        return unsetValue;
    }
    try {
        return spaceWidth(feature, ry, x, phi0);
    } catch (const char* message) {
        GR_CALC_RETHROW("getNominal_Spacewidth", message);
    }
}

// ---- span measurement -------------------------------------------------------------------------------------

// The base tangent length is the arc between the two outer involutes on the base circle, rb |delta phiB|,
// seen in the normal section of the base helix (times cos(beta_b)); over k teeth of an external gear this is
// W_k = (k - 1) p_bn + s_bn = mn cos(alpha_n) ((k - 0.5) pi + z inv(alpha_t)) + 2 x mn sin(alpha_n)
// (DIN 3960). On an internal gear the two flanks face each other across k spaces: W_k = k p_bn - s_bn.
double GearCalculator::wk(unsigned int k, double x, double phi0) const {
    const int z = std::abs(z_);
    if (z == 0) return unsetValue;
    if (k < 1 || k > static_cast<unsigned int>(z)) throw calc::kToothOutOfRange;
    const double first = baseAngle(e_ > 0 ? 1 : z, Side::Left, x, phi0);
    const double last = baseAngle(static_cast<int>(k), Side::Right, x, phi0);
    const SideData& s = sides_[0];
    if (isUnset(first) || isUnset(last) || isUnset(s.betaB)) return unsetValue;
    return std::fabs(wrapAngle(last - first)) * s.rb * std::cos(s.betaB);
}

double GearCalculator::getNominal_Wk(unsigned int k, double x, double phi0) const {
    if (isAsymmetrical()) return GR_CALC_REFUSE("Asymmetrical Gear can not calculate Wk");
    try {
        return wk(k, x, phi0);
    } catch (const char* message) {
        GR_CALC_RETHROW("getNominal_Wk", message);
    }
}

// A span is usable when the jaws touch the flanks between tip and root (or base) circle: the contact lies on
// the base tangent at W/2 from its touching point, on the diameter sqrt(db^2 + W^2).
std::vector<unsigned int> GearCalculator::getWkSpanTeethList(double x, double phi0) const {
    std::vector<unsigned int> spans;
    if (isAsymmetrical()) {
        GR_CALC_REFUSE("Asymmetrical Gear can not calculate getWkSpanTeethList");
        return spans;
    }
    const double dA = geometry_->getDA();
    const double dF = geometry_->getDF();
    const double dB = geometry_->getDB(Side::Left, false);
    const int z = std::abs(z_);
    if (isUnset(dA) || isUnset(dF) || isUnset(dB) || z == 0) return spans;
    const double lower = std::max(std::min(std::fabs(dA), std::fabs(dF)), std::fabs(dB));
    const double upper = std::max(std::fabs(dA), std::fabs(dF));
    try {
        for (unsigned int k = 1; k < static_cast<unsigned int>(z); ++k) {
            const double w = wk(k, x, phi0);
            if (isUnset(w)) break;
            const double contact = std::sqrt(dB * dB + w * w);
            if (lower < contact && contact < upper)
                spans.push_back(k);
            else if (!spans.empty())
                break;
        }
    } catch (const char* message) {
        GR_CALC_RETHROW("getWkSpanTeethList", message);
    }
    return spans;
}

// ---- tip and root -----------------------------------------------------------------------------------------

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
    const double right =
        geometry_->testKindOf(kAsymmetricalKind, false) ? tipOrRootDiameter(Side::Right, tip) : left;
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
