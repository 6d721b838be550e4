// The gear's evaluation standard with its fit type, and its K-charts with the automatic one.

#include <kest/gear/gear.h>
#include <kest/gear/kchart.h>

#include "record/gear_content.h"
#include "record/library_callbacks.h"

namespace kest::gear {
namespace {

// The only standard whose K-charts the host program can compute.
constexpr const char* kAutomaticKChartStandard = "AGMA_2000_A88";

} // namespace

EvaluationStandard Gear::getEvaluationStandard() const {
    return content().standard;
}

// Every sub-quality passes the standard's own check again as it is added.
bool Gear::setEvaluationStandard(const EvaluationStandard& standard) {
    EvaluationStandard& own = content().standard;
    own = standard;
    for (const auto& [feature, letter] : own.getAllSubqualities())
        if (!own.removeSubquality(feature)) return false;
    for (const auto& [feature, letter] : standard.getAllSubqualities())
        if (!own.addSubquality(feature, letter)) return false;
    return true;
}

EvaluationFitType Gear::getEvaluationFitType() const {
    return content().fitType;
}

bool Gear::setEvaluationFitType(const EvaluationFitType& type) {
    if (type != EvaluationFitType::None &&
        !isEvaluationFitTypeAllowed(type, content().standard.getStandardName()))
        return false;
    content().fitType = type;
    return true;
}

bool Gear::clearKCharts(Measurement_Type type, Side side) {
    return content().kcharts.clear(type, side);
}

unsigned int Gear::getKChartNumberOfMeasurements(Measurement_Type type, Side side) const {
    return content().kcharts.getNumberOfMeasurements(type, side);
}

bool Gear::setKChart(Measurement_Type type, Side side, const KChart* chart, unsigned int index) {
    return content().kcharts.set(type, side, chart, index);
}

const KChart* Gear::getKChart(Measurement_Type type, Side side, unsigned int index, bool* automatic) const {
    if (automatic) *automatic = false;
    if (const KChart* stored = content().kcharts.get(type, side, index)) return stored;
    const AutomaticKChartFunction fill = registeredAutomaticKChartFunction();
    if (fill == nullptr || content().standard.getStandardName() != kAutomaticKChartStandard) return nullptr;
    if ((type != Measurement_Type::Profile && type != Measurement_Type::Lead) ||
        (side != Side::Left && side != Side::Right))
        return nullptr;
    // The holder describes the chart afterwards whatever the callback answers. It lives in the gear's own
    // sections, made now if nothing was stored yet.
    if (!content_) content_ = std::make_unique<GearContent>();
    KChart& holder = content_->automaticKChart;
    fill(this, type, side, index, &holder);
    if (automatic) *automatic = true;
    return &holder;
}

bool Gear::importKCharts(const char* fileName) {
    return content().kcharts.importZF(fileName, -1, nullptr);
}

} // namespace kest::gear
