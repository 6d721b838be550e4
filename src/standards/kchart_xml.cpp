#include "standards/kchart_xml.h"

#include "host/child_sync.h"
#include "host/user_text_xml.h"
#include "measurement/measurement_xml.h"
#include "record/gear_file_xml.h"
#include "util/listed.h"
#include "util/number_text.h"

#include <cstring>

namespace kest::gear::kchart_xml {
namespace {

using namespace gear_file_xml;
using measurement_xml::kIdAttribute;
using measurement_xml::kPointElement;

constexpr const char* kContinuousParabolaNotSaved = "internal error: ContinuousParabola not implemented";

bool isNamed(host::XMLNode node, const char* name) {
    return std::strcmp(node.name(), name) == 0;
}

bool isPartChild(host::XMLNode node) {
    return isNamed(node, kToleranceElement) || isNamed(node, kCrowningElement) ||
           isNamed(node, kPointElement);
}

bool writeNumber(host::MSXMLWrapper& xml, host::XMLNode element, const char* attribute, double value) {
    return xml.addAttributeValue(element, attribute, util::formatDouble(value, util::kAttributeDecimals));
}

} // namespace

bool writePart(host::MSXMLWrapper& xml, host::XMLNode element, const KChartPart& part) {
    if (part.getRegressionType() == RegressionType::ContinuousParabola) throw kContinuousParabolaNotSaved;
    if (!element || !util::listed(allMaterials(), part.getMaterial()) ||
        !util::listed(allRegressionTypes(), part.getRegressionType()))
        return false;
    bool result = xml.addAttributeValue(element, kMaterialAttribute, material_2_string(part.getMaterial()));
    result = xml.addAttributeValue(element, kRegressionAttribute,
                                   regressionType_2_string(part.getRegressionType())) &&
             result;
    host::ChildSync children(element, isPartChild, {kIdAttribute});
    if (part.getMaterial() == Material::BothSides)
        result = writeNumber(xml, children.take(kToleranceElement), kWidthAttribute, part.getTolerance()) &&
                 result;
    if (part.getRegressionType() == RegressionType::Parabola)
        result =
            writeNumber(xml, children.take(kCrowningElement), kShiftAttribute, part.getCrowning()) && result;
    for (const auto& [index, point] : part.getIndexedPoints()) {
        const std::string id = util::formatInteger(index);
        const host::XMLNode written = children.take(kPointElement, {id});
        result = measurement_xml::writePointDefinition(xml, written, point) && result;
        result = xml.addAttributeValue(written, kIdAttribute, id) && result;
    }
    return result;
}

bool writeChart(host::MSXMLWrapper& xml, host::XMLNode element, const KChart& chart,
                unsigned int measurementIndex) {
    const auto outsides = allEvaluationOutsideRanges();
    if (!element || !util::listed(allAlignments(), chart.getAlignment()) ||
        !util::listed(outsides, chart.getEvaluationOutsideRange(Material::Inside)) ||
        !util::listed(outsides, chart.getEvaluationOutsideRange(Material::Outside)))
        return false;
    bool result = chart.EnableDisable::saveXML(&xml, element);
    if (chart.getName().empty()) {
        xml.removeAttributeValue(element, kNameAttribute);
        xml.removeAttributeValue(element, host::kBase64Attribute);
    } else {
        result = host::writeUserText(xml, element, {kNameAttribute, chart.getName()}) && result;
    }
    result = xml.addAttributeValue(element, kAlignmentAttribute, alignment_2_string(chart.getAlignment())) &&
             result;
    result = xml.addAttributeValue(
                 element, kOutsideMaterialAttribute,
                 EvaluationOutsideRange_2_string(chart.getEvaluationOutsideRange(Material::Inside))) &&
             result;
    result = xml.addAttributeValue(
                 element, kOutsideNonMaterialAttribute,
                 EvaluationOutsideRange_2_string(chart.getEvaluationOutsideRange(Material::Outside))) &&
             result;
    result = xml.addAttributeValue(element, measurement_xml::kMeasurementIndexAttribute,
                                   util::formatInteger(measurementIndex)) &&
             result;
    host::ChildSync parts(element, [](host::XMLNode node) { return isNamed(node, kPartElement); });
    for (const KChartPart& part : chart.getParts())
        result = writePart(xml, parts.take(kPartElement), part) && result;
    return result;
}

} // namespace kest::gear::kchart_xml
