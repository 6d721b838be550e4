#include <kest/gear/kchart.h>

#include "measurement/measurement_xml.h"
#include "record/gear_file_xml.h"
#include "standards/kchart_xml.h"
#include "util/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kest::gear {
namespace {

using namespace gear_file_xml;
using measurement_xml::kIdAttribute;
using measurement_xml::kPointElement;

// A part holds at least this many points.
constexpr std::size_t kMinimumPoints = 2;

bool samePoint(const PointDefinition& a, const PointDefinition& b) {
    return a.position == b.position && a.variation == b.variation && a.reference == b.reference;
}

// An attribute of a child element read as a lenient double ("2.5mm" is 2.5).
bool readDoubleOf(const host::MSXMLWrapper& xml, host::XMLNode element, const char* attribute,
                  double& value) {
    std::string text;
    return xml.getAttributeValue(element, attribute, text) && util::textToDouble(text, value, false);
}

} // namespace

KChartPart::~KChartPart() = default;

void KChartPart::clear() {
    points_.clear();
    tolerance_ = 0.0;
    crowning_ = 0.0;
    material_ = Material::BothSides;
    regressionType_ = static_cast<RegressionType>(0);
}

bool KChartPart::setCrowning(double crowning) {
    if (regressionType_ != RegressionType::ContinuousParabola) return false;
    crowning_ = crowning;
    return true;
}

bool KChartPart::addPoint(unsigned int index, const PointDefinition& point) {
    const auto [it, inserted] = points_.insert_or_assign(index, point);
    return inserted;
}

bool KChartPart::getPoints(std::vector<PointDefinition>* out) const {
    if (out == nullptr) return false;
    out->clear();
    for (const auto& [index, point] : points_)
        out->push_back(point);
    return true;
}

Reference KChartPart::getPositionReference() const {
    return points_.empty() ? static_cast<Reference>(-1) : points_.begin()->second.reference;
}

bool KChartPart::isValid() const {
    if (material_ == Material::BothSides && !(tolerance_ > 0.0)) return false;
    // Only a continuous parabola carries a crowning; a plain parabola is drawn through its points.
    if (std::fabs(crowning_) > 0.0 && regressionType_ != RegressionType::ContinuousParabola) return false;
    return points_.size() >= kMinimumPoints;
}

bool KChartPart::getMinMax(double* maxPosition, double* minPosition, double* maxVariation,
                           double* minVariation) const {
    if (!isValid()) return false;
    // The maxima start from the lowest double, so that all-negative values are found.
    double maxP = std::numeric_limits<double>::lowest(), minP = std::numeric_limits<double>::max();
    double maxV = std::numeric_limits<double>::lowest(), minV = std::numeric_limits<double>::max();
    for (const auto& [index, point] : points_) {
        maxP = std::max(maxP, point.position);
        minP = std::min(minP, point.position);
        maxV = std::max(maxV, point.variation);
        minV = std::min(minV, point.variation);
    }
    if (maxPosition) *maxPosition = maxP;
    if (minPosition) *minPosition = minP;
    if (maxVariation) *maxVariation = maxV;
    if (minVariation) *minVariation = minV;
    return true;
}

// Every regression type is interpolated linearly between consecutive points; a later segment overwrites an
// earlier one at a shared position.
bool KChartPart::getPointsLimitation(std::vector<PointDefinition>* points) const {
    if (points == nullptr || !isValid()) return false;
    for (auto q = std::next(points_.begin()); q != points_.end(); ++q) {
        const PointDefinition& a = std::prev(q)->second;
        const PointDefinition& b = q->second;
        const double low = std::min(a.position, b.position);
        const double high = std::max(a.position, b.position);
        const double slope =
            a.position == b.position ? 0.0 : (b.variation - a.variation) / (b.position - a.position);
        for (PointDefinition& point : *points)
            if (point.position >= low && point.position <= high)
                point.variation = a.variation + slope * (point.position - a.position);
    }
    return true;
}

bool KChartPart::operator==(const KChartPart& other) const {
    return tolerance_ == other.tolerance_ && crowning_ == other.crowning_ && material_ == other.material_ &&
           regressionType_ == other.regressionType_ &&
           std::ranges::equal(points_, other.points_, [](const auto& a, const auto& b) {
               return a.first == b.first && samePoint(a.second, b.second);
           });
}

bool KChartPart::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent) const {
    if (xml == nullptr || !parent) return false;
    if (regressionType_ == RegressionType::ContinuousParabola)
        return kchart_xml::writePart(*xml, {}, *this); // throws
    return kchart_xml::writePart(*xml, xml->createNode(kPartElement, parent, true), *this);
}

bool KChartPart::loadXML(host::MSXMLWrapper* xml, host::XMLNode node) {
    if (xml == nullptr || !node) return false;
    std::string text;
    bool result =
        xml->getAttributeValue(node, kMaterialAttribute, text) && string_2_material(text, &material_);
    // A continuous parabola cannot be written back, so a file does not bring one in.
    result = xml->getAttributeValue(node, kRegressionAttribute, text) &&
             string_2_regressionType(text, &regressionType_) &&
             regressionType_ != RegressionType::ContinuousParabola && result;
    if (const host::XMLNode tolerance = xml->getNode(kToleranceElement, node))
        result = readDoubleOf(*xml, tolerance, kWidthAttribute, tolerance_) && result;
    else if (material_ == Material::BothSides)
        return false;
    if (const host::XMLNode crowning = xml->getNode(kCrowningElement, node))
        result = readDoubleOf(*xml, crowning, kShiftAttribute, crowning_) && result;
    else if (regressionType_ == RegressionType::Parabola)
        return false;
    for (const host::XMLNode element : xml->getNodes(kPointElement, node)) {
        long id = -1;
        PointDefinition point(0.0, 0.0, Reference::RollingPath);
        const bool idRead = xml->getAttributeValue(element, kIdAttribute, text) &&
                            util::textToLong(text, id, false) && id >= 0 &&
                            static_cast<unsigned long>(id) <= std::numeric_limits<unsigned int>::max();
        const bool pointRead = point.loadXML(xml, element);
        result = idRead && pointRead && addPoint(static_cast<unsigned int>(id), point) && result;
    }
    return result;
}

} // namespace kest::gear
