#include "drawing.h"
#include "palette.h"
#include "svg_writer.h"
#include "tooth_section.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kest::gearfile::drawing {
namespace {

constexpr double pixelsAcross = 720.0; // the longer side of the section on screen

struct Box {
    double minX = std::numeric_limits<double>::max(), minY = std::numeric_limits<double>::max();
    double maxX = std::numeric_limits<double>::lowest(), maxY = std::numeric_limits<double>::lowest();

    void add(Point p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    double width() const { return maxX - minX; }
    double height() const { return maxY - minY; }
};

Point polar(double radius, double angle) {
    return {radius * std::cos(angle), radius * std::sin(angle)};
}

const char* circleColour(const std::string& label) {
    const std::string name = label.substr(0, label.find(' '));
    if (name == "da") return palette::tipCircle;
    if (name == "df") return palette::rootCircle;
    if (name == "db") return palette::baseCircle;
    if (name == "dv") return palette::vCircle;
    return palette::referenceCircle;
}

const char* rangeColour(gear::RangeType type) {
    switch (type) {
    case gear::RangeType::Root:
        return palette::rootRange;
    case gear::RangeType::Tip:
        return palette::tipRange;
    case gear::RangeType::Main:
    case gear::RangeType::NonDatumSide:
    case gear::RangeType::Middle:
    case gear::RangeType::DatumSide:
    case gear::RangeType::Unspecified:
        return palette::mainRange;
    }
    return palette::mainRange;
}

// A round length for the scale bar, about a fifth of `size`: 1, 2 or 5 times a power of ten.
double scaleLength(double size) {
    const double target = size / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(target)));
    for (const double step : {5.0, 2.0, 1.0})
        if (step * power <= target) return step * power;
    return power;
}

// The extent of everything but the legend.
Box sectionBox(const ToothSection& s) {
    Box box;
    for (const Point p : s.material)
        box.add(p);
    for (const SectionCircle& c : s.circles)
        for (int i = 0; i <= 16; ++i)
            box.add(polar(c.diameter / 2.0, s.fromAngle + (s.toAngle - s.fromAngle) * i / 16));
    if (s.ball) {
        box.add({s.ball->x - s.ballRadius, s.ball->y - s.ballRadius});
        box.add({s.ball->x + s.ballRadius, s.ball->y + s.ballRadius});
    }
    return box;
}

class SectionPainter {
public:
    SectionPainter(const ToothSection& section, const Box& box)
        : s_(section)
        , size_(std::max(box.width(), box.height()))
        , stroke_(size_ / 500.0) {}

    void paint(SvgWriter& svg) const {
        // The ball goes under the material: where the teeth cut into it, the picture shows.
        if (s_.ball) svg.circle(*s_.ball, s_.ballRadius, {.fill = palette::ball, .id = "ball"});
        svg.polygon(s_.material, {.stroke = palette::outline,
                                  .strokeWidth = stroke_,
                                  .fill = palette::material,
                                  .id = "material"});
        // Labels at alternate ends, in the order of the diameters, so that close circles keep theirs apart.
        std::vector<SectionCircle> circles = s_.circles;
        std::sort(circles.begin(), circles.end(),
                  [](const SectionCircle& a, const SectionCircle& b) { return a.diameter < b.diameter; });
        for (std::size_t i = 0; i < circles.size(); ++i) {
            const SectionCircle& c = circles[i];
            const char* colour = circleColour(c.label);
            svg.arc({0.0, 0.0}, c.diameter / 2.0, s_.fromAngle, s_.toAngle,
                    {.stroke = colour, .strokeWidth = 0.8 * stroke_, .dash = 3.0 * stroke_});
            const bool leftEnd = i % 2 == 0;
            const Point at = polar(c.diameter / 2.0, leftEnd ? s_.toAngle : s_.fromAngle);
            const double shift = (leftEnd ? -0.6 : 0.6) * fontSize();
            svg.text({at.x + shift, at.y - 0.3 * fontSize()}, c.label, 0.8 * fontSize(), colour,
                     leftEnd ? Anchor::End : Anchor::Start);
        }
        if (s_.span) span(svg, *s_.span);
        for (const RangeMark& mark : s_.ranges) {
            svg.polyline(mark.extended, {.stroke = rangeColour(mark.type), .strokeWidth = 1.5 * stroke_});
            svg.polyline(mark.main, {.stroke = rangeColour(mark.type), .strokeWidth = 4.0 * stroke_});
        }
    }

    double fontSize() const { return size_ / 42.0; }
    double stroke() const { return stroke_; }

private:
    // The base tangent between the contact points and the two jaw planes across it.
    void span(SvgWriter& svg, const SpanContact& span) const {
        const Style style{.stroke = palette::span, .strokeWidth = stroke_};
        svg.line(span.first, span.second,
                 {.stroke = palette::span, .strokeWidth = stroke_, .dash = 4.0 * stroke_});
        const double dx = span.second.x - span.first.x, dy = span.second.y - span.first.y;
        const double length = std::hypot(dx, dy);
        if (length <= 0.0) return;
        const Point across{-dy / length * 0.1 * size_, dx / length * 0.1 * size_};
        for (const Point p : {span.first, span.second}) {
            svg.line({p.x - across.x, p.y - across.y}, {p.x + across.x, p.y + across.y}, style);
            svg.circle(p, 2.5 * stroke_, {.fill = palette::span});
        }
        const Point middle{(span.first.x + span.second.x) / 2.0, (span.first.y + span.second.y) / 2.0};
        std::string label = "W"; // appended, not "W" + ...: GCC 12 warns falsely about the latter
        label += std::to_string(span.k);
        svg.text({middle.x, middle.y - 1.2 * fontSize()}, label, 0.8 * fontSize(), palette::span,
                 Anchor::Middle);
    }

    const ToothSection& s_;
    double size_;
    double stroke_;
};

std::vector<LegendLine> legendLines(const ToothSection& s) {
    std::vector<LegendLine> lines = s.legend;
    for (const RangeMark& mark : s.ranges)
        lines.push_back({mark.text, rangeColour(mark.type)});
    return lines;
}

} // namespace

Drawing drawToothSection(const gear::Gear& gear, const std::string& title, bool withRanges) {
    Drawing drawing;
    SectionResult result = computeToothSection(gear, withRanges);
    if (!result.section) {
        drawing.failure = result.failure;
        return drawing;
    }
    const ToothSection& s = *result.section;
    const Box box = sectionBox(s);
    const SectionPainter painter(s, box);
    const double font = painter.fontSize(), lineHeight = 1.4 * font, margin = 2.0 * font;

    const std::vector<LegendLine> lines = legendLines(s);
    std::size_t longest = title.size();
    for (const LegendLine& line : lines)
        longest = std::max(longest, line.text.size());
    const double legendWidth = 3.0 * font + 0.55 * font * static_cast<double>(longest);
    const double legendHeight = (static_cast<double>(lines.size()) + 2.0) * lineHeight;

    const double left = box.minX - margin, bottom = box.minY - 3.0 * margin;
    const double width = box.width() + 2.0 * margin + legendWidth;
    const double height = std::max(box.height() + 4.0 * margin, legendHeight + 2.0 * margin);
    const double top = bottom + height;
    SvgWriter svg(left, bottom, width, height, pixelsAcross * width / std::max(box.width(), box.height()));
    svg.rectangle({left, bottom}, width, height, {.fill = palette::background});
    svg.comment("transverse section at the axial position 0, lengths in mm, the gear's centre at the origin");
    painter.paint(svg);

    // A scale bar under the section.
    const double bar = scaleLength(std::max(box.width(), box.height()));
    const Point barStart{box.minX, box.minY - 1.5 * margin};
    svg.line(barStart, {barStart.x + bar, barStart.y},
             {.stroke = palette::text, .strokeWidth = 2.0 * painter.stroke()});
    svg.text({barStart.x + bar + 0.5 * font, barStart.y - 0.3 * font}, formatDecimal(bar) + " mm", font,
             palette::text);

    // The legend beside it, from the top.
    const double legendX = box.maxX + margin;
    double y = top - margin - font;
    svg.text({legendX, y}, title, font, palette::text, Anchor::Start, true);
    y -= lineHeight;
    for (const LegendLine& line : lines) {
        y -= lineHeight;
        if (line.colour != palette::text)
            svg.line({legendX, y + 0.35 * font}, {legendX + 1.8 * font, y + 0.35 * font},
                     {.stroke = line.colour, .strokeWidth = 3.0 * painter.stroke()});
        svg.text({legendX + 2.4 * font, y}, line.text, font, palette::text);
    }
    drawing.svg = svg.finish();
    return drawing;
}

} // namespace kest::gearfile::drawing
