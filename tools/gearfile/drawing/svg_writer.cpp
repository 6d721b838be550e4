#include "svg_writer.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace kest::gearfile::drawing {

std::string formatDecimal(double value) {
    if (!std::isfinite(value)) return "0"; // a broken value must not break the document
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    if (error != std::errc{}) return "0";
    std::string text(buffer, end);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
    return text;
}

std::string escapeXml(std::string_view content) {
    std::string out;
    out.reserve(content.size());
    for (const char c : content) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            // Control characters other than tab and line ends are not allowed in XML 1.0.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') out += c;
        }
    }
    return out;
}

SvgWriter::SvgWriter(double minX, double minY, double width, double height, double pixelWidth) {
    const double pixelHeight = pixelWidth * height / width;
    header_ = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
              "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
              formatDecimal(std::round(pixelWidth)) + "\" height=\"" +
              formatDecimal(std::round(pixelHeight)) + "\" viewBox=\"" + formatDecimal(minX) + " " +
              formatDecimal(-(minY + height)) + " " + formatDecimal(width) + " " + formatDecimal(height) +
              "\" font-family=\"sans-serif\">\n";
    body_.reserve(16384);
}

void SvgWriter::number(double value) {
    body_ += formatDecimal(value);
}

void SvgWriter::point(Point p) {
    number(p.x);
    body_ += ',';
    number(-p.y);
}

void SvgWriter::attribute(std::string_view name, double value) {
    body_ += ' ';
    body_ += name;
    body_ += "=\"";
    number(value);
    body_ += '"';
}

void SvgWriter::styleAttributes(const Style& style) {
    if (!style.id.empty()) body_ += " id=\"" + escapeXml(style.id) + "\"";
    body_ += " fill=\"" + escapeXml(style.fill) + "\"";
    body_ += " stroke=\"" + escapeXml(style.stroke) + "\"";
    if (style.stroke != "none") {
        attribute("stroke-width", style.strokeWidth);
        body_ += " stroke-linejoin=\"round\" stroke-linecap=\"round\"";
    }
    if (style.dash > 0.0) {
        body_ += " stroke-dasharray=\"";
        number(style.dash);
        body_ += ' ';
        number(style.dash);
        body_ += '"';
    }
}

void SvgWriter::line(Point a, Point b, const Style& style) {
    body_ += "<line";
    attribute("x1", a.x);
    attribute("y1", -a.y);
    attribute("x2", b.x);
    attribute("y2", -b.y);
    styleAttributes(style);
    body_ += "/>\n";
}

void SvgWriter::polyline(std::span<const Point> points, const Style& style) {
    pointShape("polyline", points, style);
}

void SvgWriter::polygon(std::span<const Point> points, const Style& style) {
    pointShape("polygon", points, style);
}

void SvgWriter::pointShape(const char* element, std::span<const Point> points, const Style& style) {
    if (points.empty()) return;
    body_ += '<';
    body_ += element;
    body_ += " points=\"";
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i) body_ += ' ';
        point(points[i]);
    }
    body_ += '"';
    styleAttributes(style);
    body_ += "/>\n";
}

void SvgWriter::circle(Point centre, double radius, const Style& style) {
    body_ += "<circle";
    attribute("cx", centre.x);
    attribute("cy", -centre.y);
    attribute("r", radius);
    styleAttributes(style);
    body_ += "/>\n";
}

void SvgWriter::rectangle(Point lowerLeft, double width, double height, const Style& style) {
    body_ += "<rect";
    attribute("x", lowerLeft.x);
    attribute("y", -(lowerLeft.y + height));
    attribute("width", width);
    attribute("height", height);
    styleAttributes(style);
    body_ += "/>\n";
}

void SvgWriter::arc(Point centre, double radius, double from, double to, const Style& style) {
    // A counter-clockwise arc of the y-up drawing runs against SVG's positive sweep, which turns clockwise
    // on the y-down screen; an arc of a whole turn or more is drawn as a circle, which one arc cannot be.
    const double sweep = to - from;
    if (sweep >= 2.0 * std::numbers::pi) {
        circle(centre, radius, style);
        return;
    }
    const Point a{centre.x + radius * std::cos(from), centre.y + radius * std::sin(from)};
    const Point b{centre.x + radius * std::cos(to), centre.y + radius * std::sin(to)};
    body_ += "<path d=\"M";
    point(a);
    body_ += " A";
    number(radius);
    body_ += ',';
    number(radius);
    body_ += sweep > std::numbers::pi ? " 0 1,0 " : " 0 0,0 ";
    point(b);
    body_ += '"';
    styleAttributes(style);
    body_ += "/>\n";
}

void SvgWriter::text(Point at, std::string_view content, double size, std::string_view colour, Anchor anchor,
                     bool bold) {
    body_ += "<text";
    attribute("x", at.x);
    attribute("y", -at.y);
    attribute("font-size", size);
    body_ += " fill=\"" + escapeXml(colour) + "\"";
    switch (anchor) {
    case Anchor::Start:
        break;
    case Anchor::Middle:
        body_ += " text-anchor=\"middle\"";
        break;
    case Anchor::End:
        body_ += " text-anchor=\"end\"";
        break;
    }
    if (bold) body_ += " font-weight=\"bold\"";
    body_ += '>';
    body_ += escapeXml(content);
    body_ += "</text>\n";
}

void SvgWriter::verticalText(Point at, std::string_view content, double size, std::string_view colour) {
    body_ += "<text";
    attribute("font-size", size);
    body_ += " fill=\"" + escapeXml(colour) + "\" text-anchor=\"middle\" transform=\"translate(";
    number(at.x);
    body_ += ',';
    number(-at.y);
    body_ += ") rotate(-90)\">";
    body_ += escapeXml(content);
    body_ += "</text>\n";
}

void SvgWriter::comment(std::string_view content) {
    std::string text(content);
    // "--" may not appear inside an XML comment.
    for (std::size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at))
        text.replace(at, 2, "- -");
    body_ += "<!-- " + text + " -->\n";
}

std::string SvgWriter::finish() const {
    return header_ + body_ + "</svg>\n";
}

} // namespace kest::gearfile::drawing
