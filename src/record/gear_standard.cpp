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
    return content_->standard;
}

// Every sub-quality passes the standard's own check again as it is added.
bool Gear::setEvaluationStandard(const EvaluationStandard& standard) {
    EvaluationStandard& own = content_->standard;
    own = standard;
    for (const auto& [feature, letter] : own.getAllSubqualities())
        if (!own.removeSubquality(feature)) return false;
    for (const auto& [feature, letter] : standard.getAllSubqualities())
        if (!own.addSubquality(feature, letter)) return false;
    return true;
}

EvaluationFitType Gear::getEvaluationFitType() const {
    return content_->fitType;
}

bool Gear::setEvaluationFitType(const EvaluationFitType& type) {
    if (type != EvaluationFitType::None &&
        !isEvaluationFitTypeAllowed(type, content_->standard.getStandardName()))
        return false;
    content_->fitType = type;
    return true;
}

bool Gear::clearKCharts(Measurement_Type type, Side side) {
    return content_->kcharts.clear(type, side);
}

unsigned int Gear::getKChartNumberOfMeasurements(Measurement_Type type, Side side) const {
    return content_->kcharts.getNumberOfMeasurements(type, side);
}

bool Gear::setKChart(Measurement_Type type, Side side, const KChart* chart, unsigned int index) {
    return content_->kcharts.set(type, side, chart, index);
}

const KChart* Gear::getKChart(Measurement_Type type, Side side, unsigned int index, bool* automatic) const {
    if (automatic) *automatic = false;
    if (const KChart* stored = content_->kcharts.get(type, side, index)) return stored;
    const AutomaticKChartFunction fill = registeredAutomaticKChartFunction();
    if (fill == nullptr || content_->standard.getStandardName() != kAutomaticKChartStandard) return nullptr;
    if ((type != Measurement_Type::Profile && type != Measurement_Type::Lead) ||
        (side != Side::Left && side != Side::Right))
        return nullptr;
    // The holder describes the chart afterwards whatever the callback answers.
    fill(this, type, side, index, &content_->automaticKChart);
    if (automatic) *automatic = true;
    return &content_->automaticKChart;
}

bool Gear::importKCharts(const char* fileName) {
    return content_->kcharts.importZF(fileName, -1, nullptr);
}

} // namespace kest::gear
