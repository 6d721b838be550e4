#include <kest/gear/kchart.h>

#include "host/user_text_xml.h"
#include "record/gear_file_xml.h"
#include "standards/kchart_xml.h"
#include "util/number_text.h"

#include <algorithm>
#include <limits>

namespace kest::gear {
namespace {

using namespace gear_file_xml;

constexpr const char* kNoParts = "no parts defined";
constexpr const char* kOnlyOneSide = "only one side defined";
constexpr const char* kFirstPartInvalid = "first part invalid";
constexpr const char* kPartInvalid = "kchartpart invalid";
constexpr const char* kMultipleSymmetric = "multiple symmetric parts not allowed";
constexpr const char* kSymmetricCombined = "a symmetric part may not be combined with another";
constexpr const char* kDoublePoint = "double point definition";
constexpr const char* kDifferentReferences = "points with different references";
constexpr const char* kNotMonotone = "positions not monotone";

constexpr auto kNoReference = static_cast<Reference>(-1);

bool fail(std::string* message, const char* text) {
    if (message) *message = text;
    return false;
}

// An outside-range attribute: missing is On; an unknown text fails.
bool readOutsideRange(const host::MSXMLWrapper& xml, host::XMLNode node, const char* attribute,
                      EvaluationOutsideRange& value) {
    std::string text;
    if (!xml.getAttributeValue(node, attribute, text)) {
        value = EvaluationOutsideRange::On;
        return true;
    }
    return string_2_EvaluationOutsideRange(text, &value);
}

} // namespace

KChart::KChart(const std::vector<KChartPart>* parts) {
    if (parts) parts_ = *parts;
}

KChart::KChart(std::vector<KChartPart>&& parts) noexcept
    : parts_(std::move(parts)) {}

KChart::~KChart() = default;

KChart& KChart::operator=(const std::vector<KChartPart>& parts) {
    std::vector<KChartPart> copy = parts; // the parts may be this chart's own
    *this = KChart();
    parts_ = std::move(copy);
    return *this;
}

EvaluationOutsideRange KChart::getEvaluationOutsideRange(Material material) const noexcept {
    return material == Material::Inside ? outsideMaterial_ : outsideNonMaterial_;
}

void KChart::setEvaluationOutsideRange(EvaluationOutsideRange value, Material material) noexcept {
    (material == Material::Inside ? outsideMaterial_ : outsideNonMaterial_) = value;
}

Reference KChart::getPositionReference() const {
    return parts_.empty() ? kNoReference : parts_.front().getPositionReference();
}

bool KChart::operator==(const KChart& other) const {
    return EnableDisable::operator==(other) && parts_ == other.parts_ && alignment_ == other.alignment_ &&
           outsideMaterial_ == other.outsideMaterial_ && outsideNonMaterial_ == other.outsideNonMaterial_ &&
           name_ == other.name_;
}

// The first point of a part may repeat the point where the polyline of its material ended; every further
// point moves on in the chart's direction.
bool KChart::test_points(PointDefinition& last, const KChartPart& part, bool ascending,
                         std::string* message) {
    std::vector<PointDefinition> points;
    part.getPoints(&points);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PointDefinition& point = points[i];
        if (i == 0) {
            if (last.reference == kNoReference)
                last = point;
            else if (point.position == last.position && point.variation != last.variation)
                return fail(message, kDoublePoint);
            continue;
        }
        if (point.reference != last.reference) return fail(message, kDifferentReferences);
        if (ascending ? !(point.position > last.position) : !(point.position < last.position))
            return fail(message, kNotMonotone);
        last = point;
    }
    return true;
}

bool KChart::isValid(std::string* message) const {
    if (parts_.empty()) return fail(message, kNoParts);
    bool valid = true;
    if (parts_.size() == 1) {
        if (parts_.front().getMaterial() != Material::BothSides) return fail(message, kOnlyOneSide);
        if (!parts_.front().isValid()) valid = fail(message, kFirstPartInvalid);
    }
    std::vector<PointDefinition> first;
    parts_.front().getPoints(&first);
    if (first.size() < 2 || first[0].position == first[1].position) return false;
    const bool ascending = first[1].position > first[0].position;

    // Inside and both-side parts continue one polyline, outside parts another.
    PointDefinition lastInside(0.0, 0.0, kNoReference);
    PointDefinition lastOutside(0.0, 0.0, kNoReference);
    std::size_t inside = 0, outside = 0, both = 0;
    for (const KChartPart& part : parts_) {
        if (!part.isValid()) return fail(message, kPartInvalid);
        const bool isOutside = part.getMaterial() == Material::Outside;
        if (!test_points(isOutside ? lastOutside : lastInside, part, ascending, message)) return false;
        switch (part.getMaterial()) {
        case Material::Inside:
            ++inside;
            break;
        case Material::Outside:
            ++outside;
            break;
        case Material::BothSides:
            ++both;
            break;
        }
    }
    if (both == 0 && (inside == 0 || outside == 0)) return fail(message, kOnlyOneSide);
    if (both > 1) return fail(message, kMultipleSymmetric);
    if (both == 1 && inside + outside > 0) return fail(message, kSymmetricCombined);
    return valid;
}

bool KChart::getMinMax(double* maxPosition, double* minPosition, double* maxVariation,
                       double* minVariation) const {
    if (!isValid()) return false;
    double maxP = std::numeric_limits<double>::lowest(), minP = std::numeric_limits<double>::max();
    double maxV = std::numeric_limits<double>::lowest(), minV = std::numeric_limits<double>::max();
    for (const KChartPart& part : parts_) {
        double partMaxP, partMinP, partMaxV, partMinV;
        if (!part.getMinMax(&partMaxP, &partMinP, &partMaxV, &partMinV)) return false;
        maxP = std::max(maxP, partMaxP);
        minP = std::min(minP, partMinP);
        maxV = std::max(maxV, partMaxV);
        minV = std::min(minV, partMinV);
    }
    if (maxPosition) *maxPosition = maxP;
    if (minPosition) *minPosition = minP;
    if (maxVariation) *maxVariation = maxV;
    if (minVariation) *minVariation = minV;
    return true;
}

bool KChart::getPointsLimitation(std::vector<PointDefinition>* points, Material material) const {
    if (points == nullptr || !isValid()) return false;
    bool result = true;
    for (const KChartPart& part : parts_)
        if (part.getMaterial() == material) result = part.getPointsLimitation(points) && result;
    return result;
}

bool KChart::saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent,
                     unsigned int measurementIndex) const {
    if (xml == nullptr || !parent) return false;
    return kchart_xml::writeChart(*xml, xml->createNode(kKChartElement, parent, true), *this,
                                  measurementIndex);
}

bool KChart::loadXML(host::MSXMLWrapper* xml, host::XMLNode node) {
    if (xml == nullptr || !node) return false;
    bool result = EnableDisable::loadXML(xml, node);
    host::UserText name{kNameAttribute, {}};
    name_ = host::readUserText(*xml, node, name) ? name.text : std::string();
    std::string text;
    result = xml->getAttributeValue(node, kAlignmentAttribute, text) &&
             string_2_alignment(text, &alignment_) && result;
    result = readOutsideRange(*xml, node, kOutsideMaterialAttribute, outsideMaterial_) && result;
    result = readOutsideRange(*xml, node, kOutsideNonMaterialAttribute, outsideNonMaterial_) && result;
    for (const host::XMLNode element : xml->getNodes(kPartElement, node)) {
        KChartPart part;
        result = part.loadXML(xml, element) && result;
        if (result) parts_.push_back(std::move(part));
    }
    return result;
}

} // namespace kest::gear
