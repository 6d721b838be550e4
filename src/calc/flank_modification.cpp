#include "calc/flank_modification.h"

namespace kest::gear::calc {

// Piecewise linear through four knots, with a parabolic crowning of height c over the middle piece.
double modificationCurve(const std::array<double, 9>& m, double t) {
    const auto [x1, y1, x2, y2, x3, y3, x4, y4, c] = m;
    const auto linear = [t](double xa, double ya, double xb, double yb) {
        return ya + (yb - ya) * (t - xa) / (xb - xa);
    };
    if (t == x1 && x1 == x2) return (y1 + y2) / 2;
    if (x1 <= t && t < x2) return linear(x1, y1, x2, y2);
    if (t == x2 && x2 == x3) return (y2 + y3) / 2 + c;
    if (x2 <= t && t < x3)
        return linear(x2, y2, x3, y3) + 4 * c * (t - x2) * (x3 - t) / ((x3 - x2) * (x3 - x2));
    if (t == x3 && x3 == x4) return (y3 + y4) / 2;
    if (x3 <= t && t < x4) return linear(x3, y3, x4, y4);
    return 0.0;
}

} // namespace kest::gear::calc
