#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kest::gearfile::drawing {

// A point of a drawing, in its own units with y pointing up.
struct Point {
    double x = 0.0;
    double y = 0.0;
};

// How a shape is stroked and filled. Colours are SVG colour texts; "none" leaves the stroke or fill out. A
// dash length above 0 dashes the stroke with equal dashes and gaps of that length.
struct Style {
    std::string_view stroke = "none";
    double strokeWidth = 0.0;
    std::string_view fill = "none";
    double dash = 0.0;
    std::string_view id = {}; // written as the element's id when not empty
};

// Where a text stands relative to its point.
enum class Anchor { Start, Middle, End };

// Builds one SVG 1.1 document in memory. The caller works in a y-up system of its own units; the writer turns
// y round for the SVG's y-down system, so that the view box shows the drawing the right way up. Numbers are
// written with three decimals at most, texts are escaped for XML.
class SvgWriter {
public:
    // The drawing shows [minX, minX + width] x [minY, minY + height], scaled to `pixelWidth` pixels across.
    SvgWriter(double minX, double minY, double width, double height, double pixelWidth);

    void line(Point a, Point b, const Style& style);
    void polyline(std::span<const Point> points, const Style& style);
    void polygon(std::span<const Point> points, const Style& style);
    void circle(Point centre, double radius, const Style& style);
    void rectangle(Point lowerLeft, double width, double height, const Style& style);
    // The arc of the circle around `centre` from angle `from` counter-clockwise to angle `to` (radians).
    void arc(Point centre, double radius, double from, double to, const Style& style);
    void text(Point at, std::string_view content, double size, std::string_view colour,
              Anchor anchor = Anchor::Start, bool bold = false);
    // The text turned a quarter counter-clockwise (reading upwards), as on a vertical axis.
    void verticalText(Point at, std::string_view content, double size, std::string_view colour);
    void comment(std::string_view content);

    // The complete document.
    std::string finish() const;

private:
    void number(double value);
    void point(Point p);
    // A polyline or polygon: the element name, its points and its style.
    void pointShape(const char* element, std::span<const Point> points, const Style& style);
    void attribute(std::string_view name, double value);
    void styleAttributes(const Style& style);

    std::string header_;
    std::string body_;
};

// `value` with at most three decimals, trailing zeros dropped and -0 written as 0.
std::string formatDecimal(double value);
// `content` with &, <, >, " and ' replaced by their XML entities.
std::string escapeXml(std::string_view content);

} // namespace kest::gearfile::drawing
