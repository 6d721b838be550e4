#pragma once

// Test gears and the textbook closed forms of their nominal values (ISO 21771, DIN 3960), written out here
// independently of the library's flank model. Internal gears carry a negative z, and the signed reference
// diameter d = z mn / cos(beta), as both standards write them.

#include <kest/gear/cylindrical_gear_geometry.h>

#include <kest/gear/measurement_enums.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

namespace kest::test {

constexpr double pi = std::numbers::pi;
constexpr double deg = pi / 180;

inline double inv(double alpha) {
    return std::tan(alpha) - alpha;
}

// Newton's method on the convex involute function from cbrt(3 v), which lies above the root (inv(a) >= a^3 /
// 3), so that the steps fall monotonically onto it.
inline double invinv(double v) {
    double a = std::cbrt(3 * v);
    for (int i = 0; i < 40; ++i) {
        const double t = std::tan(a);
        const double step = (t - a - v) / (t * t);
        a -= step;
        if (std::fabs(step) < 1e-15 * a) break;
    }
    return a;
}

struct TestGear {
    const char* name;
    int z;
    double mn, betaDeg, alphaNDeg, x;
    gear::CylindricalGearGeometry::FlankDirection hand = gear::CylindricalGearGeometry::FlankDirection::Right;

    double beta() const { return betaDeg * deg; }
    double alphaN() const { return alphaNDeg * deg; }
    double e() const { return z > 0 ? 1.0 : -1.0; }
    double mt() const { return mn / std::cos(beta()); }
    double d() const { return z * mt(); }
    double alphaT() const { return std::atan(std::tan(alphaN()) / std::cos(beta())); }
    double db() const { return d() * std::cos(alphaT()); }
    double betaB() const { return std::asin(std::sin(beta()) * std::cos(alphaN())); }
    // Tip and root of a basic rack with addendum mn and dedendum 1.25 mn shifted by x mn, signed.
    double da() const { return d() + 2 * mn * (1 + x); }
    double df() const { return d() - 2 * mn * (1.25 - x); }

    // The geometry with ball diameter dM, its addendum modification stated as `value` in `variant` (the
    // coefficient x when unset).
    gear::CylindricalGearGeometry
    make(double dM = gear::unsetValue,
         gear::AddendumModificationVariant variant = gear::AddendumModificationVariant(),
         double value = gear::unsetValue) const {
        using G = gear::CylindricalGearGeometry;
        const G::FlankDirection fd = betaDeg == 0.0 ? G::FlankDirection::Straight : hand;
        return G(z, 20.0, mn, beta(), alphaN(), gear::isUnset(value) ? x : value, std::fabs(da()),
                 std::fabs(df()), fd, G::ModuleVariant::Normal, variant, dM);
    }

    // Transverse tooth thickness on the reference circle s_t = m_t (pi/2 + 2 x tan(alpha_n)), and on the
    // circle of signed diameter dy: s_yt = dy (s_t / d + inv(alpha_t) - inv(alpha_yt)), cos(alpha_yt) = db /
    // dy.
    double st() const { return mt() * (pi / 2 + 2 * x * std::tan(alphaN())); }
    double syt(double dy) const { return dy * (st() / d() + inv(alphaT()) - inv(std::acos(db() / dy))); }
    // Space width e_yt = pi dy / z - s_yt.
    double eyt(double dy) const { return pi * dy / z - syt(dy); }
    // Helix angle on the circle dy: tan(beta_y) = tan(beta) dy / d.
    double cosBetaY(double dy) const { return std::cos(std::atan(std::tan(beta()) * dy / d())); }

    // Base tangent length W_k = (k - 1) p_bn + s_bn over k teeth of an external gear, and k p_bn - s_bn
    // across k spaces of an internal one, with p_bn = pi mn cos(alpha_n) and s_bn = mn cos(alpha_n) (pi/2 + 2
    // x tan(alpha_n) + z inv(alpha_t)) in signed z.
    double wk(unsigned int k) const {
        const double pbn = pi * mn * std::cos(alphaN());
        const double sbn =
            mn * std::cos(alphaN()) * (pi / 2 + 2 * x * std::tan(alphaN()) + z * inv(alphaT()));
        return z > 0 ? (k - 1) * pbn + sbn : k * pbn - sbn;
    }

    // Radius of the ball centre: inv(alpha_K) = inv(alpha_t) + dK / (z mn cos(alpha_n)) - pi / (2z)
    // + 2 x tan(alpha_n) / z, R_K = |db| / (2 cos(alpha_K)).
    double ballCentreRadius(double dK) const {
        const double aK = invinv(inv(alphaT()) + dK / (z * mn * std::cos(alphaN())) - pi / (2.0 * z) +
                                 2 * x * std::tan(alphaN()) / z);
        return std::fabs(db()) / (2 * std::cos(aK));
    }
    // Over (external) or between (internal) two balls: opposite for even z; for odd z the balls lie
    // (|z| + 1) / 2 pitches apart, their centres 2 R_K cos(90 deg / |z|) apart.
    double mdk(double dK) const {
        const double spread = std::abs(z) % 2 == 0 ? 1.0 : std::cos(pi / 2 / std::abs(z));
        return 2 * ballCentreRadius(dK) * spread + e() * dK;
    }
    double mrk(double dK) const { return ballCentreRadius(dK) + e() * dK / 2; }
};

// A gear whose right flank has its own coefficient and pressure angle; answers to the asymmetrical kind when
// asked to, as the calculator's refusals test it.
class OtherRightFlank : public gear::CylindricalGearGeometry {
public:
    OtherRightFlank(const gear::CylindricalGearGeometry& g, bool asymmetrical, double x, double alphaN)
        : CylindricalGearGeometry(g)
        , asymmetrical_(asymmetrical)
        , x_(x)
        , alphaN_(alphaN) {}
    bool testKindOf(const char* kind, bool exact) const override {
        return (asymmetrical_ && std::strcmp(kind, "asymmetrical gear") == 0) ||
               ((!asymmetrical_ || !exact) && CylindricalGearGeometry::testKindOf(kind, true));
    }
    double getX(gear::Side side) const override {
        return side == gear::Side::Right ? x_ : CylindricalGearGeometry::getX(side);
    }
    double getAlphaNRad(gear::Side side) const override {
        return side == gear::Side::Right ? alphaN_ : CylindricalGearGeometry::getAlphaNRad(side);
    }

private:
    bool asymmetrical_;
    double x_, alphaN_;
};

} // namespace kest::test
