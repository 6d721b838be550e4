#include "tooth_section.h"

#include "palette.h"

#include <kest/gear/asymmetrical_gear_geometry.h>
#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/evaluation_range.h>
#include <kest/gear/gear_calculator.h>
#include <kest/gear/measurement_enums.h>
#include <kest/gear/nominal_value.h>
#include <kest/gear/reference_conversions.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kest::gearfile::drawing {
namespace {

using gear::CylindricalGearGeometry;
using gear::GearCalculator;
using gear::isUnset;
using gear::NominalValue;
using gear::Side;
using gear::unsetValue;
using Vector = GearCalculator::Vector;

constexpr double pi = std::numbers::pi;
constexpr int flankSamples = 24;       // points of the involute of one flank
constexpr int rangeSamples = 12;       // points of one evaluation range along its flank
constexpr double arcStep = pi / 360.0; // largest angle between two points of an arc of the outline

constexpr std::array sides{Side::Left, Side::Right};

std::string lengthText(double value) {
    return formatDecimal(value) + " mm";
}

std::string angleText(double radians) {
    return formatDecimal(radians * 180.0 / pi) + "°";
}

// Tooth t of the section as the calculator numbers it (1 ... n): t counts on from tooth 1 in the calculator's
// direction, clockwise, so that tooth 0 is tooth n and space 1 lies between tooth 0 and tooth 1.
int libraryTooth(int t, int n) {
    return ((t - 1) % n + n) % n + 1;
}

// The angle of p in (-pi/2, 3pi/2]: the section is turned to point up, so it never crosses that cut.
double angleOf(Point p) {
    const double a = std::atan2(p.y, p.x);
    return a <= -pi / 2.0 ? a + 2.0 * pi : a;
}

Point polar(double radius, double angle) {
    return {radius * std::cos(angle), radius * std::sin(angle)};
}

// Points of the arc of `radius` from angle `from` to angle `to` (either direction), both ends left out.
void appendArc(std::vector<Point>& points, double radius, double from, double to) {
    const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(to - from) / arcStep)));
    for (int i = 1; i < steps; ++i)
        points.push_back(polar(radius, from + (to - from) * i / steps));
}

class SectionBuilder {
public:
    SectionBuilder(const gear::Gear& gear, const CylindricalGearGeometry& g)
        : gear_(gear)
        , g_(g)
        , calculator_(&g)
        , n_(std::abs(static_cast<int>(g.getZ())))
        , internal_(g.isInternalGear())
        , ra_(std::fabs(g.getDA()) / 2.0)
        , rf_(std::fabs(g.getDF()) / 2.0) {
        for (const Side side : sides)
            rb_[index(side)] = std::fabs(g.getDB(side, false)) / 2.0;
    }

    ToothSection build(bool withRanges) {
        section_.internal = internal_;
        legendValues();
        chooseSpan();
        placeSection();
        outline();
        circles();
        ball();
        span();
        if (withRanges) ranges();
        return std::move(section_);
    }

private:
    static std::size_t index(Side side) { return side == Side::Left ? 0 : 1; }

    bool perFlank() const { return g_.testKindOf(gear::AsymmetricalGearGeometry::isKindOf(), false); }

    void legend(std::string text, const char* colour = palette::text) {
        section_.legend.push_back({std::move(text), colour});
    }

    // "name = left / right (left / right)" for per-flank values that differ, else "name = value".
    void flankLegend(const std::string& name, double left, double right, std::string (*shown)(double),
                     const char* colour = palette::text) {
        if (isUnset(left) || isUnset(right)) {
            legend(name + ": not set in the file", palette::unavailable);
            return;
        }
        if (perFlank() && std::fabs(left - right) > 1e-9)
            legend(name + " = " + shown(left) + " / " + shown(right) + " (left / right)", colour);
        else
            legend(name + " = " + shown(left), colour);
    }

    void unavailable(const std::string& name, const gear::NominalResult& result) {
        legend(name + ": not available: " + result.reason, palette::unavailable);
    }

    void legendValues() {
        legend(std::string(g_.getKindOf()) + (internal_ ? ", internal" : ", external"));
        legend("z = " + std::to_string(g_.getZ()));
        flankLegend("mn", g_.getMN(Side::Left), g_.getMN(Side::Right),
                    [](double v) { return lengthText(v); });
        flankLegend("αn", g_.getAlphaNRad(Side::Left), g_.getAlphaNRad(Side::Right),
                    [](double v) { return angleText(v); });
        // The helix angle with its hand, per flank where the flanks differ (a beveloid gear's effective
        // ones).
        const auto helix = [this](Side side) {
            return angleText(g_.getBetaRad(side, false)) + " " +
                   CylindricalGearGeometry::FlankDirection_2_string(g_.getFlankDirection(side));
        };
        if (isUnset(g_.getBetaRad(Side::Left, false)) || isUnset(g_.getBetaRad(Side::Right, false)))
            legend("β: not set in the file", palette::unavailable);
        else if (perFlank() && helix(Side::Left) != helix(Side::Right))
            legend("β = " + helix(Side::Left) + " / " + helix(Side::Right) + " (left / right)");
        else
            legend("β = " + helix(Side::Left));
        flankLegend("x", g_.getX(Side::Left), g_.getX(Side::Right),
                    [](double v) { return formatDecimal(v); });
        legend("da = " + lengthText(2.0 * ra_), palette::tipCircle);
        legend("df = " + lengthText(2.0 * rf_), palette::rootCircle);
        flankLegend(
            "d", g_.getD(Side::Left, false), g_.getD(Side::Right, false),
            [](double v) { return lengthText(v); }, palette::referenceCircle);
        flankLegend(
            "db", g_.getDB(Side::Left, false), g_.getDB(Side::Right, false),
            [](double v) { return lengthText(v); }, palette::baseCircle);
        flankLegend(
            "dv", g_.getDV(Side::Left, false), g_.getDV(Side::Right, false),
            [](double v) { return lengthText(v); }, palette::vCircle);

        static constexpr std::array asked{NominalValue::FlankOffsetAngle, NominalValue::BallDiameter,
                                          NominalValue::MdK, NominalValue::FirstSpanCount,
                                          NominalValue::LastSpanCount};
        std::vector<gear::NominalResult> values = calculator_.getNominal(asked);
        const gear::NominalResult& offset = values[0];
        ballDiameter_ = values[1];
        mdk_ = values[2];
        firstSpan_ = values[3];
        lastSpan_ = values[4];
        if (offset.available()) {
            phi0_ = offset.value;
            if (perFlank()) legend("flank offset angle = " + angleText(phi0_));
        } else {
            unavailable("flank offset angle (drawn with 0)", offset);
        }
        if (ballDiameter_.available())
            legend("DM = " + lengthText(ballDiameter_.value) +
                       (isUnset(g_.getDM()) ? " (DIN ball diameter, the file sets none)" : ""),
                   palette::ball);
        else
            unavailable("DM", ballDiameter_);
        if (mdk_.available())
            legend("MdK = " + lengthText(mdk_.value), palette::ball);
        else
            unavailable("MdK", mdk_);
    }

    // A flank point at radius r of tooth t (the section's count), moved by `offset` off the material. Below
    // the base circle the flank is drawn as the radial line down from the involute's start.
    Point flankPoint(int t, Side side, double r, double offset = 0.0) const {
        const double rb = rb_[index(side)];
        Vector moved;
        const Vector p = calculator_.getPoint(libraryTooth(t, n_), side, std::max(r, rb), 0.0, offset,
                                              nullptr, &moved, unsetValue, phi0_);
        const Vector& q = offset == 0.0 ? p : moved;
        const double scale = r < rb ? r / rb : 1.0;
        return turn({q.x * scale, q.y * scale});
    }

    Point turn(Point p) const {
        const double c = std::cos(rotation_), s = std::sin(rotation_);
        return {c * p.x - s * p.y, s * p.x + c * p.y};
    }

    // The flank from the root circle to the tip circle: the involute above the base circle, the radial line
    // below it.
    std::vector<Point> flank(int t, Side side) const {
        const double rLow = std::min(ra_, rf_), rHigh = std::max(ra_, rf_);
        const double rInvolute = std::clamp(rb_[index(side)], rLow, rHigh);
        std::vector<Point> points;
        if (rInvolute > rLow) points.push_back(flankPoint(t, side, rLow));
        for (int i = 0; i <= flankSamples; ++i)
            points.push_back(flankPoint(t, side, rInvolute + (rHigh - rInvolute) * i / flankSamples));
        if (internal_) std::reverse(points.begin(), points.end()); // from the root, outside, inwards
        return points;
    }

    // An external tooth lies counter-clockwise from its right flank to its left flank, an internal one from
    // its left flank to its right flank (the transverse tooth thickness (phi_L - phi_R) e r is positive).
    Side lowFlank() const { return internal_ ? Side::Left : Side::Right; }
    Side highFlank() const { return internal_ ? Side::Right : Side::Left; }

    double gearSize() const { return std::max(ra_, rf_); }
    double toothHeight() const { return std::fabs(ra_ - rf_); }

    // The span count whose contact lies nearest the V-circle, among the counts the calculator offers.
    void chooseSpan() {
        if (!firstSpan_.available()) {
            unavailable("k, Wk", firstSpan_);
            return;
        }
        const double alpha = g_.getAlphaNRad(Side::Left), beta = g_.getBetaRad(Side::Left, false);
        // cos(beta_b) = cos(alpha_n) sqrt(tan^2(alpha_n) + cos^2(beta)), as the calculator takes it.
        cosBetaB_ = std::min(1.0, std::cos(alpha) *
                                      std::sqrt(std::pow(std::tan(alpha), 2) + std::pow(std::cos(beta), 2)));
        double dv = g_.getDV(Side::Left, false);
        if (isUnset(dv)) dv = g_.getD(Side::Left, false);
        double best = 0.0;
        gear::NominalInputs inputs;
        inputs.flankOffsetAngle = phi0_;
        const auto first = static_cast<unsigned int>(firstSpan_.value);
        const auto last = static_cast<unsigned int>(lastSpan_.value);
        for (inputs.spanCount = first; inputs.spanCount <= last; ++inputs.spanCount) {
            const gear::NominalResult wk = calculator_.getNominal(NominalValue::Wk, inputs);
            if (!wk.available()) continue;
            const double miss = std::fabs(2.0 * contactRadius(wk.value) - dv);
            if (spanCount_ == 0 || miss < best) {
                spanCount_ = inputs.spanCount;
                wk_ = wk.value;
                best = miss;
            }
        }
        if (spanCount_ == 0) {
            legend("k, Wk: not available: no span count gives a value", palette::unavailable);
            return;
        }
        legend("k = " + std::to_string(spanCount_) + " (usable " + std::to_string(first) + " … " +
                   std::to_string(last) + ", contact nearest dv)",
               palette::span);
        legend("Wk = " + lengthText(wk_), palette::span);
    }

    // The jaws touch the flanks where the base tangent, W / cos(beta_b) long in the transverse plane, ends.
    double contactRadius(double wk) const {
        const double half = wk / cosBetaB_ / 2.0;
        return std::sqrt(rb_[0] * rb_[0] + half * half);
    }

    // The teeth of the span, centred on space 1: the first and last tooth whose outer flanks it touches.
    std::pair<int, int> spanTeeth() const {
        const int k = static_cast<int>(spanCount_);
        if (!internal_) return {1 - k / 2, 1 - k / 2 + k - 1};
        const int firstSpace = 1 - (k - 1) / 2; // an internal gear is spanned across k spaces
        return {firstSpace - 1, firstSpace + k - 1};
    }

    // The teeth of the section (two on each side of space 1, and the span with one more tooth on each side),
    // and the turn that puts its middle up.
    void placeSection() {
        lowTooth_ = -1;
        highTooth_ = 2;
        if (spanCount_ > 0) {
            const auto [first, last] = spanTeeth();
            lowTooth_ = std::min(lowTooth_, first - 1);
            highTooth_ = std::max(highTooth_, last + 1);
        }
        highTooth_ = std::min(highTooth_, lowTooth_ + n_ - 1);
        // Tooth 1's middle, between its flanks halfway up the tooth; the teeth follow clockwise by the pitch.
        const double r = std::max({(ra_ + rf_) / 2.0, rb_[0], rb_[1]});
        rotation_ = 0.0;
        const Point a = flankPoint(1, Side::Left, r), b = flankPoint(1, Side::Right, r);
        const double toothOne = std::atan2(a.y / std::hypot(a.x, a.y) + b.y / std::hypot(b.x, b.y),
                                           a.x / std::hypot(a.x, a.y) + b.x / std::hypot(b.x, b.y));
        const double middle = toothOne - ((lowTooth_ + highTooth_) / 2.0 - 1.0) * 2.0 * pi / n_;
        rotation_ = pi / 2.0 - middle;
    }

    // The material: each tooth counter-clockwise (from the highest tooth number down), joined along the root
    // circle, and closed by a band of the body beyond the root circle.
    void outline() {
        std::vector<std::vector<Point>> low, high;
        for (int t = highTooth_; t >= lowTooth_; --t) {
            low.push_back(flank(t, lowFlank()));
            high.push_back(flank(t, highFlank()));
        }
        const double pitch = 2.0 * pi / n_;
        const double space = pitch - (angleOf(high[0].front()) - angleOf(low[0].front()));
        section_.fromAngle = angleOf(low.front().front()) - space / 2.0;
        section_.toAngle = angleOf(high.back().front()) + space / 2.0;

        std::vector<Point>& m = section_.material;
        m.push_back(polar(rf_, section_.fromAngle));
        appendArc(m, rf_, section_.fromAngle, angleOf(low[0].front()));
        for (std::size_t i = 0; i < low.size(); ++i) {
            m.insert(m.end(), low[i].begin(), low[i].end());
            appendArc(m, ra_, angleOf(low[i].back()), angleOf(high[i].back()));
            m.insert(m.end(), high[i].rbegin(), high[i].rend());
            const double next = i + 1 < low.size() ? angleOf(low[i + 1].front()) : section_.toAngle;
            appendArc(m, rf_, angleOf(high[i].front()), next);
        }
        const double body = internal_ ? rf_ + 0.8 * toothHeight() : std::max(rf_ - 0.8 * toothHeight(), 0.0);
        m.push_back(polar(rf_, section_.toAngle));
        m.push_back(polar(body, section_.toAngle));
        appendArc(m, body, section_.toAngle, section_.fromAngle);
        m.push_back(polar(body, section_.fromAngle));
    }

    void circle(const std::string& label, double diameter) {
        if (!isUnset(diameter) && std::isfinite(diameter))
            section_.circles.push_back({label, std::fabs(diameter)});
    }

    // A per-flank circle is drawn once for each flank where the flanks differ.
    void flankCircle(const std::string& label, double left, double right) {
        if (perFlank() && std::fabs(left - right) > 1e-9) {
            circle(label + " left", left);
            circle(label + " right", right);
        } else {
            circle(label, left);
        }
    }

    void circles() {
        circle("da", 2.0 * ra_);
        circle("df", 2.0 * rf_);
        flankCircle("d", g_.getD(Side::Left, false), g_.getD(Side::Right, false));
        flankCircle("db", g_.getDB(Side::Left, false), g_.getDB(Side::Right, false));
        flankCircle("dv", g_.getDV(Side::Left, false), g_.getDV(Side::Right, false));
    }

    void ball() {
        if (!ballDiameter_.available()) return;
        try {
            const Vector centre = calculator_.getBallInToothSpacePosition(
                1, unsetValue, unsetValue, ballDiameter_.value / 2.0, 0.0, phi0_);
            section_.ball = turn({centre.x, centre.y});
            section_.ballRadius = ballDiameter_.value / 2.0;
        } catch (const char* message) {
            legend(std::string("ball: not drawn: ") + (message ? message : "no position"),
                   palette::unavailable);
        }
    }

    void span() {
        if (spanCount_ == 0) return;
        const auto [first, last] = spanTeeth();
        const double r = contactRadius(wk_);
        section_.span =
            SpanContact{spanCount_, wk_, flankPoint(first, Side::Left, r), flankPoint(last, Side::Right, r)};
    }

    // The tooth whose flank `side` bounds space 2 (between tooth 1 and tooth 2): the ranges are marked there,
    // clear of the ball in space 1.
    int rangeTooth(Side side) const { return (side == lowFlank()) ? 1 : 2; }

    std::vector<Point> rangeLine(Side side, double fromDiameter, double toDiameter) const {
        const double rLow = std::max(rb_[index(side)], std::min(ra_, rf_)), rHigh = std::max(ra_, rf_);
        const double from = std::max(rLow, std::min(fromDiameter, toDiameter) / 2.0);
        const double to = std::min(rHigh, std::max(fromDiameter, toDiameter) / 2.0);
        std::vector<Point> points;
        if (!(from < to)) return points;
        const double offset = 0.08 * toothHeight();
        for (int i = 0; i <= rangeSamples; ++i)
            points.push_back(
                flankPoint(rangeTooth(side), side, from + (to - from) * i / rangeSamples, offset));
        return points;
    }

    void ranges() {
        for (const Side side : sides) {
            std::vector<gear::Gear_EvaluationRange> found;
            gear_.getAllEvaluationRanges(gear::Measurement_Type::Profile, side, &found);
            for (const gear::Gear_EvaluationRange& entry : found) {
                double el = 0, ml = 0, mu = 0, eu = 0;
                entry.range->getRange(&el, &ml, &mu, &eu);
                RangeMark mark;
                mark.side = side;
                mark.type = entry.rangeType;
                std::array<double, 4> d{};
                try {
                    const std::array<double, 4> values{el, ml, mu, eu};
                    for (std::size_t i = 0; i < 4; ++i)
                        d[i] = gear::convertProfileReference(&g_, side, entry.range->getReference(),
                                                             values[i], gear::Reference::Diameter);
                } catch (const char* message) {
                    legend(gear::Side_2_string(side) + " " +
                               gear::ProfileRangeType_2_string(entry.rangeType) +
                               " range: not drawn: " + (message ? message : "no diameters"),
                           palette::unavailable);
                    continue;
                }
                mark.main = rangeLine(side, d[1], d[2]);
                mark.extended = rangeLine(side, d[0], d[3]);
                mark.text = gear::Side_2_string(side) + " " +
                            gear::ProfileRangeType_2_string(entry.rangeType) + " (" +
                            gear::regressionType_2_string(entry.range->getRegressionType()) + "): d " +
                            formatDecimal(d[1]) + " … " + formatDecimal(d[2]) + " mm";
                if (d[0] != d[1] || d[2] != d[3])
                    mark.text += ", extended " + formatDecimal(d[0]) + " … " + formatDecimal(d[3]) + " mm";
                if (mark.main.empty() && mark.extended.empty()) mark.text += ", off the drawn flank";
                section_.ranges.push_back(std::move(mark));
            }
        }
        if (section_.ranges.empty()) legend("no profile evaluation ranges", palette::unavailable);
    }

    const gear::Gear& gear_;
    const CylindricalGearGeometry& g_;
    GearCalculator calculator_;
    int n_;
    bool internal_;
    double ra_, rf_;
    std::array<double, 2> rb_{};
    double phi0_ = 0.0;
    double rotation_ = 0.0;
    double cosBetaB_ = 1.0;
    gear::NominalResult ballDiameter_, mdk_, firstSpan_, lastSpan_;
    unsigned int spanCount_ = 0;
    double wk_ = 0.0;
    int lowTooth_ = -1, highTooth_ = 2;
    ToothSection section_;
};

} // namespace

SectionResult computeToothSection(const gear::Gear& gear, bool withRanges) {
    SectionResult result;
    const CylindricalGearGeometry* geometry = gear.getGeometry();
    if (!geometry) {
        result.failure = "the gear has no geometry";
        return result;
    }
    std::string reason;
    if (!geometry->isValid(&reason)) {
        result.failure = "the geometry cannot be drawn: " + reason;
        return result;
    }
    try {
        SectionBuilder builder(gear, *geometry);
        result.section = builder.build(withRanges);
    } catch (const char* message) {
        result.section.reset();
        result.failure =
            std::string("the geometry cannot be drawn: ") + (message ? message : "no reason given");
    }
    return result;
}

} // namespace kest::gearfile::drawing
