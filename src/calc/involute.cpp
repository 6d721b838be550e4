// The involute of a circle (ISO 21771, transverse section of the involute helicoid; any gear textbook, e.g.
// Niemann/Winter, Maschinenelemente II): a point at pressure angle alpha lies at the radius r = rb /
// cos(alpha) and at the polar angle inv(alpha) = tan(alpha) - alpha from the start of the involute on the
// base circle; the roll angle that unwinds the generating line up to it is xi = tan(alpha), and the
// involute's normal there is the generating line, tangent to the base circle.

#include <kest/gear/involute.h>

#include "calc/polar.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

using kest::gear::calc::angleDifference;
using kest::gear::calc::Polar;
using kest::gear::calc::Vector;
using std::numbers::pi;

namespace {

constexpr double epsilon = std::numeric_limits<double>::epsilon(); // 2^-52
static_assert(epsilon == 2.220446049250313e-16);

// inv(89 deg) is about 55.74: the search covers every pressure angle a gear can have.
constexpr double invinvUpperBound = 1.5533430342749532; // 89 deg
constexpr double invinvTolerance = 1e-12;
constexpr int invinvSteps = 100;
constexpr double invinvFailure = 2.0;

// Below this the start point, the base-circle touch point and the foot point are taken as one point.
constexpr double coincidence = 1e-12;

Vector plane(double x, double y) {
    return {x, y, 0.0};
}

void put(double* out, double value) {
    if (out) *out = value;
}

} // namespace

double _inv(double alpha) {
    return kest::gear::calc::involute(alpha);
}

double _invinv(double inv) {
    if (inv == 0.0) return 0.0;
    // inv is odd and strictly increasing on (-pi/2, pi/2): bisect for |inv| on [0, 89 deg], then restore the
    // sign.
    double lo = 0.0;
    double hi = invinvUpperBound;
    double f = 1.0;
    if (inv < 0) {
        f = -1.0;
        inv = -inv;
    }
    for (int step = 0; step < invinvSteps; ++step) {
        const double mid = (lo + hi) / 2;
        const double d = _inv(mid) - inv;
        if (std::fabs(d) < invinvTolerance) return f * mid;
        // A NaN difference moves the lower bound up to the upper one and never converges.
        if (d > invinvTolerance)
            hi = mid;
        else
            lo = mid;
    }
    return invinvFailure;
}

double involute_alpha_y_t(double dy, double db, double sign) {
    const double ry = dy / 2;
    const double rb = db / 2;
    // tan(alpha_y) = sqrt(ry^2 - rb^2) / rb from cos(alpha_y) = rb / ry; inside the base circle there is no
    // involute and the angle is taken as 0.
    double t = 0.0;
    if (std::fabs(ry) >= std::fabs(rb)) t = std::sqrt(ry * ry - rb * rb) * sign / std::fabs(sign) / rb;
    return t - std::atan(t);
}

double _chord2arc_length(double chord, double d) {
    if (d < epsilon || chord < epsilon || chord > d) return 0.0;
    // Half the central angle is asin(chord / d); the arc is (d / 2) times the whole central angle.
    return d * std::asin(chord / d);
}

double _arc_length2chord(double arc, double d) {
    if (d < epsilon || arc < epsilon || arc > pi * d) return 0.0;
    return d * std::sin(arc / d);
}

bool pointInvolute(double z, double rb, double cx, double cy, double ox, double oy, bool negative,
                   double invAngle, double* x, double* y) {
    const Vector start = plane(ox - cx, oy - cy);
    const double a = std::fabs(invAngle);
    const double s = negative ? -1.0 : 1.0;
    if (a > std::fabs(2 * pi / z)) return false;
    // The polar angle a is inv(alpha); the roll angle xi = alpha + inv(alpha) = tan(alpha) gives the radius
    // r = rb / cos(alpha) = rb * sqrt(1 + tan^2(alpha)).
    const double alpha = _invinv(a);
    const double xi = alpha + a;
    const double r = std::sqrt((rb * xi) * (rb * xi) + rb * rb);
    Polar p = Polar::of(start).rotated(s * a);
    p.radius = r;
    const Vector point = p.toVector(0.0) + plane(cx, cy);
    put(x, point.x);
    put(y, point.y);
    return true;
}

bool distance2Involute(double /*z*/, double rb, double cx, double cy, double ox, double oy, bool negative,
                       double px, double py, double* distance, double* nx, double* ny, double* fx,
                       double* fy) {
    const Vector A = plane(ox - cx, oy - cy);
    const Vector B = plane(px - cx, py - cy);
    double sgn = rb > 0 ? 1.0 : -1.0;
    const double rbAbs = std::fabs(rb);

    // Behind the tangent of the base circle at the start point no generating line reaches the point: the
    // nearest point of the involute is its start. T points away from the side to which the involute unwinds;
    // a point on that side counts as inside.
    if (A.dot(B - A) < 0) {
        const Vector T = negative ? plane(-A.y, A.x) : plane(A.y, -A.x);
        if (T.dot(B) < 0) sgn = -sgn;
        const Vector n = ((B - A) * sgn).normalized();
        put(distance, (B - A).length() * sgn);
        put(nx, n.x);
        put(ny, n.y);
        put(fx, ox);
        put(fy, oy);
        return false;
    }

    // The normal of the involute through the point is the generating line through it: it touches the base
    // circle at T0, alphaB away from the point's polar angle (cos(alphaB) = rb / |B|). The roll angle xi
    // from the start to T0 places the foot point Q at radius rb * sqrt(1 + xi^2) and at the polar angle
    // xi - atan(xi) = inv(alpha) from the start.
    const Polar pA = Polar::of(A);
    const Polar pB = Polar::of(B);
    const double alphaB = std::acos(std::min(rbAbs / pB.radius, 1.0)); // the start point may round inside
    const double s = negative ? -1.0 : 1.0;
    const Polar T0{rbAbs, pB.angle + s * alphaB};
    const double xi = s * angleDifference(pA, T0);
    const Polar Q{rbAbs * std::sqrt(1 + xi * xi), s * (xi - std::atan(xi)) + pA.angle};
    const Vector q = Q.toVector(0.0);
    const Vector t0 = T0.toVector(0.0);

    // The normal points along the generating line from T0 through the foot point; a point between T0 and the
    // foot point lies on the side of the involute that faces T0 and gets a negative distance.
    Vector n;
    const double dA = angleDifference(pA, T0);
    const double dQ = angleDifference(Q, T0);
    const double dB = angleDifference(Q, pB);
    // A negative roll angle (T0 and Q before the start) leaves only the direction from Q to the point.
    if (negative ? (dA > 0 && dQ > 0) : (dA < 0 && dQ < 0)) {
        n = (B - q).normalized();
    } else if ((A - t0).length() < coincidence && (q - t0).length() < coincidence &&
               (A - q).length() < coincidence) {
        n = Vector{}; // the point is the start point: no direction is distinguished
    } else if (negative ? dB > 0 : dB < 0) {
        n = (B - t0).normalized();
    } else {
        n = (q - t0).normalized();
        sgn = -sgn;
    }
    if (rb < 0) n = -n;

    put(distance, (B - q).length() * sgn);
    put(nx, n.x);
    put(ny, n.y);
    put(fx, q.x + cx);
    put(fy, q.y + cy);
    return true;
}
