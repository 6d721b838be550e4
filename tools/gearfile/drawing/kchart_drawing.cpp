#include "drawing.h"
#include "palette.h"
#include "svg_writer.h"

#include <kest/gear/kchart.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace kest::gearfile::drawing {
namespace {

using gear::Material;
using gear::PointDefinition;
using gear::Side;

// The layout, in the SVG's units (pixels at the natural size).
constexpr double panelWidth = 460.0, panelHeight = 300.0;
constexpr double panelLeft = 80.0, panelRight = 30.0, panelBottom = 60.0, panelTop = 50.0;
constexpr double titleHeight = 40.0, keyHeight = 40.0;
constexpr double font = 14.0;
constexpr double stroke = 1.5;

// The unit of positions in `reference`.
std::string unitText(gear::Reference reference) {
    switch (gear::reference_2_unit(reference)) {
    case host::CNamedObject::Unit::Length:
        return "mm";
    case host::CNamedObject::Unit::Angle:
        return "deg";
    case host::CNamedObject::Unit::Percent:
        return "%";
    case host::CNamedObject::Unit::None:
        return "";
    }
    return "";
}

std::string positionAxisText(gear::Reference reference) {
    if (static_cast<int>(reference) < 0) return "position";
    try {
        const std::string unit = unitText(reference);
        return gear::Reference_2_string(reference) + (unit.empty() ? "" : " [" + unit + "]");
    } catch (const char*) { // a reference outside the enumeration
        return "position";
    }
}

// A step of 1, 2 or 5 times a power of ten giving about five intervals over `span`.
double tickStep(double span) {
    const double raw = span / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double step : {1.0, 2.0, 5.0, 10.0})
        if (step * power >= raw) return step * power;
    return 10.0 * power;
}

// The limit lines of one flank's chart in data units: position, variation.
struct Limits {
    std::vector<std::vector<Point>> inside, outside; // one line per part
    std::vector<Point> zone;                         // the tolerance zone, a closed outline
    double minX = std::numeric_limits<double>::max(), maxX = std::numeric_limits<double>::lowest();
    double minY = 0.0, maxY = 0.0; // the nominal line 0 is always shown
    bool empty() const { return inside.empty() && outside.empty(); }

    void add(Point p) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
};

// Inside and outside parts bound the zone between them; a part for both sides is a band of its tolerance
// around its points.
Limits chartLimits(const gear::KChart& chart) {
    Limits limits;
    std::vector<Point> insideRun, outsideRun;
    for (const gear::KChartPart& part : chart.getParts()) {
        std::vector<PointDefinition> points;
        part.getPoints(&points);
        std::vector<Point> line;
        for (const PointDefinition& p : points)
            line.push_back({p.position, p.variation});
        switch (part.getMaterial()) {
        case Material::Inside:
            insideRun.insert(insideRun.end(), line.begin(), line.end());
            limits.inside.push_back(line);
            break;
        case Material::Outside:
            outsideRun.insert(outsideRun.end(), line.begin(), line.end());
            limits.outside.push_back(line);
            break;
        case Material::BothSides: {
            const double half = part.getTolerance() / 2.0;
            std::vector<Point> upper, lower;
            for (const Point p : line) {
                upper.push_back({p.x, p.y + half});
                lower.push_back({p.x, p.y - half});
            }
            limits.inside.push_back(upper);
            limits.outside.push_back(lower);
            insideRun.insert(insideRun.end(), upper.begin(), upper.end());
            outsideRun.insert(outsideRun.end(), lower.begin(), lower.end());
            break;
        }
        }
    }
    // A chart with one side only is drawn with the zone up to the nominal line.
    if (outsideRun.empty() && !insideRun.empty())
        outsideRun = {{insideRun.front().x, 0.0}, {insideRun.back().x, 0.0}};
    if (insideRun.empty() && !outsideRun.empty())
        insideRun = {{outsideRun.front().x, 0.0}, {outsideRun.back().x, 0.0}};
    limits.zone = insideRun;
    limits.zone.insert(limits.zone.end(), outsideRun.rbegin(), outsideRun.rend());
    for (const Point p : limits.zone)
        limits.add(p);
    return limits;
}

class Panel {
public:
    Panel(Point origin, const Limits& limits)
        : origin_(origin)
        , limits_(limits) {
        double span = limits.maxX - limits.minX;
        if (!(span > 0.0)) span = 1.0;
        minX_ = limits.minX;
        maxX_ = limits.minX + span;
        double height = limits.maxY - limits.minY;
        if (!(height > 0.0)) height = 1.0;
        minY_ = limits.minY - 0.15 * height;
        maxY_ = limits.maxY + 0.15 * height;
    }

    Point at(Point data) const {
        return {origin_.x + (data.x - minX_) / (maxX_ - minX_) * panelWidth,
                origin_.y + (data.y - minY_) / (maxY_ - minY_) * panelHeight};
    }

    std::vector<Point> at(const std::vector<Point>& data) const {
        std::vector<Point> points;
        points.reserve(data.size());
        for (const Point p : data)
            points.push_back(at(p));
        return points;
    }

    void axes(SvgWriter& svg, const std::string& xLabel) const {
        const Style grid{.stroke = palette::grid, .strokeWidth = 1.0};
        const double xStep = tickStep(maxX_ - minX_), yStep = tickStep(maxY_ - minY_);
        for (double x = std::ceil(minX_ / xStep) * xStep; x <= maxX_ + 1e-9 * xStep; x += xStep) {
            const Point p = at({x, minY_});
            svg.line(p, {p.x, p.y + panelHeight}, grid);
            svg.text({p.x, p.y - 1.3 * font}, formatDecimal(x), font, palette::text, Anchor::Middle);
        }
        for (double y = std::ceil(minY_ / yStep) * yStep; y <= maxY_ + 1e-9 * yStep; y += yStep) {
            const Point p = at({minX_, y});
            svg.line(p, {p.x + panelWidth, p.y}, grid);
            svg.text({p.x - 0.4 * font, p.y - 0.35 * font}, formatDecimal(y), font, palette::text,
                     Anchor::End);
        }
        svg.rectangle(origin_, panelWidth, panelHeight, {.stroke = palette::text, .strokeWidth = 1.0});
        svg.text({origin_.x + panelWidth / 2.0, origin_.y - 2.8 * font}, xLabel, font, palette::text,
                 Anchor::Middle);
        svg.verticalText({origin_.x - panelLeft + 1.3 * font, origin_.y + panelHeight / 2.0},
                         "variation [mm]", font, palette::text);
    }

    void chart(SvgWriter& svg, const std::string& flank) const {
        svg.polygon(at(limits_.zone), {.fill = palette::toleranceZone, .id = "zone-" + flank});
        svg.line(at({limits_.minX, 0.0}), at({limits_.maxX, 0.0}),
                 {.stroke = palette::nominalLine, .strokeWidth = stroke, .id = "nominal-" + flank});
        for (const std::vector<Point>& line : limits_.inside)
            svg.polyline(at(line), {.stroke = palette::insideLimit, .strokeWidth = 2.0 * stroke});
        for (const std::vector<Point>& line : limits_.outside)
            svg.polyline(at(line), {.stroke = palette::outsideLimit, .strokeWidth = 2.0 * stroke});
    }

private:
    Point origin_;
    const Limits& limits_;
    double minX_, maxX_, minY_, maxY_;
};

std::string panelTitle(const std::string& flank, const gear::KChart& chart, bool fromBoth) {
    std::string title =
        flank + " flank: " + (chart.getName().empty() ? "(no name)" : "\"" + chart.getName() + "\"");
    if (fromBoth) title += ", the chart of both flanks";
    title += chart.is_enabled() ? ", enabled" : ", disabled";
    std::string reason;
    if (!chart.isValid(&reason))
        title += ", invalid: " + (reason.empty() ? std::string("no reason") : reason);
    return title;
}

} // namespace

Drawing drawKChart(const gear::Gear& gear, gear::Measurement_Type type, unsigned int index,
                   const std::string& title) {
    Drawing drawing;
    const gear::KChart* both = gear.getKChart(type, Side::Both, index, nullptr);
    const std::array<const gear::KChart*, 2> charts{gear.getKChart(type, Side::Left, index, nullptr),
                                                    gear.getKChart(type, Side::Right, index, nullptr)};
    if (!charts[0] && !charts[1]) {
        drawing.failure = "no K-chart for " + gear::Measurement_Type_2_string(type) + " measurement " +
                          std::to_string(index);
        return drawing;
    }
    const double cellWidth = panelLeft + panelWidth + panelRight;
    const double width = 2.0 * cellWidth,
                 height = titleHeight + panelTop + panelHeight + panelBottom + keyHeight;
    SvgWriter svg(0.0, 0.0, width, height, width);
    svg.rectangle({0.0, 0.0}, width, height, {.fill = palette::background});
    svg.text({width / 2.0, height - 1.6 * font}, title, 1.2 * font, palette::text, Anchor::Middle, true);

    const std::array<std::string, 2> flanks{"left", "right"};
    for (std::size_t i = 0; i < 2; ++i) {
        const Point origin{i * cellWidth + panelLeft, keyHeight + panelBottom};
        const Point titleAt{origin.x, origin.y + panelHeight + 0.8 * font};
        const gear::KChart* chart = charts[i];
        const Limits limits = chart ? chartLimits(*chart) : Limits{};
        if (!chart || limits.empty()) {
            svg.rectangle(origin, panelWidth, panelHeight,
                          {.stroke = palette::unavailable, .strokeWidth = 1.0});
            svg.text(titleAt, flanks[i] + " flank: no K-chart", font, palette::unavailable);
            continue;
        }
        const Panel panel(origin, limits);
        panel.axes(svg, positionAxisText(chart->getPositionReference()));
        panel.chart(svg, flanks[i]);
        svg.text(titleAt, panelTitle(flanks[i], *chart, chart == both), font, palette::text);
    }

    // The key under the panels.
    double x = panelLeft;
    const double y = 0.9 * font;
    const std::array<std::pair<const char*, const char*>, 4> key{{{palette::insideLimit, "inside limit"},
                                                                  {palette::outsideLimit, "outside limit"},
                                                                  {palette::toleranceZone, "tolerance zone"},
                                                                  {palette::nominalLine, "nominal line"}}};
    for (const auto& [colour, text] : key) {
        svg.line({x, y + 0.35 * font}, {x + 2.0 * font, y + 0.35 * font},
                 {.stroke = colour, .strokeWidth = 4.0});
        svg.text({x + 2.6 * font, y}, text, font, palette::text);
        x += 12.0 * font;
    }
    drawing.svg = svg.finish();
    return drawing;
}

} // namespace kest::gearfile::drawing
