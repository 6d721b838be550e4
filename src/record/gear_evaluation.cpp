// The gear's evaluation: its ranges, its features and its filters, each forwarded to the unit that keeps it.

#include <kest/gear/gear.h>

#include "evaluation/filter_rules.h"
#include "record/gear_content.h"

namespace kest::gear {

bool Gear::addEvaluationRange(Measurement_Type type, Side side, RangeType rangeType, EvaluationRange& range) {
    return content_->evaluationRanges.add(type, side, rangeType, range);
}

bool Gear::getEvaluationRange(Measurement_Type type, Side side, RangeType rangeType,
                              EvaluationRange* out) const {
    return content_->evaluationRanges.get(type, side, rangeType, out);
}

unsigned int Gear::getAllEvaluationRanges(Measurement_Type type, Side side,
                                          std::vector<Gear_EvaluationRange>* out) const {
    return content_->evaluationRanges.getAll(type, side, out);
}

bool Gear::clearEvaluationRanges(Measurement_Type type) {
    return content_->evaluationRanges.clear(type);
}

bool checkEvaluationRangesInsideMeasurements(const Gear* gear, Side side, Measurement_Type type) {
    if (!gear) return false;
    std::vector<Gear_EvaluationRange> ranges;
    gear->getAllEvaluationRanges(type, side, &ranges);
    for (const Gear_EvaluationRange& entry : ranges)
        if (!checkInsideMeasurements(gear, side, type, entry.range)) return false;
    return true;
}

bool Gear::clearFeatures() {
    return content_->features.clear();
}

bool Gear::removeFeature(const std::string& name, Side side, unsigned int index, RangeType range) {
    return content_->features.remove(name, side, index, range);
}

bool Gear::removeFeature(const std::string& name, Side side, unsigned int index) {
    return content_->features.remove(name, side, index);
}

bool Gear::enableFeature(const std::string& name, bool on, Side side, unsigned int index, RangeType range) {
    return content_->features.enable(name, on, side, index, range);
}

bool Gear::enableFeature(const std::string& name, bool on, Side side, unsigned int index) {
    return content_->features.enable(name, on, side, index);
}

bool Gear::getFeature(const std::string& name, Side side, GearFeature* out, unsigned int index,
                      RangeType range) const {
    return content_->features.get(name, side, out, index, range);
}

bool Gear::getFeature(const std::string& name, Side side, GearFeature* out, unsigned int index) const {
    return content_->features.get(name, side, out, index);
}

bool Gear::setFeature(const GearFeature& feature, Side side, unsigned int index, RangeType range) {
    return content_->features.set(feature, side, index, range);
}

bool Gear::setFeature(const GearFeature& feature, Side side, unsigned int index) {
    return content_->features.set(feature, side, index);
}

std::vector<EvaluationFeatures::GearFeature_Container> Gear::getAllFeatures() const {
    return content_->features.getAll();
}

bool Gear::getFilterLeadFromProf() const {
    return content_->filters.getLeadFromProf();
}

void Gear::setFilterLeadFromProf(bool flag) {
    filter_rules::setLeadFromProf(content_->filters, geometry_.get(), flag);
}

bool Gear::getFilterBothSided(Measurement_Type kind) const {
    return content_->filters.getBothSided(kind);
}

bool Gear::getFilterActive(Measurement_Type kind, Side side, bool& valid) const {
    return filter_rules::getActive(content_->filters, kind, side, valid);
}

bool Gear::setFilterActive(Measurement_Type kind, Side side, bool active) {
    return filter_rules::setActive(content_->filters, kind, side, active);
}

FilterUnit Gear::getFilterUnit(Measurement_Type kind, Side side, bool& valid) const {
    return filter_rules::getUnit(content_->filters, kind, side, valid);
}

double Gear::getFilterWaveNumber(Measurement_Type kind, Side side, bool& valid) const {
    return filter_rules::getWaveNumber(content_->filters, geometry_.get(), kind, side, valid);
}

double Gear::getFilterWaveLength(Measurement_Type kind, Side side, bool& valid) const {
    return filter_rules::getWaveLength(content_->filters, geometry_.get(), kind, side, valid);
}

bool Gear::setFilterWaveNumber(Measurement_Type kind, Side side, double number) {
    return filter_rules::setWaveNumber(content_->filters, geometry_.get(), kind, side, number);
}

bool Gear::setFilterWaveLength(Measurement_Type kind, Side side, double length) {
    return filter_rules::setWaveLength(content_->filters, kind, side, length);
}

bool Gear::clearFilter() {
    return filter_rules::clear(content_->filters, geometry_.get());
}

bool Gear::clearFilter(Measurement_Type kind) {
    return filter_rules::clear(content_->filters, kind);
}

bool Gear::clearFilter(Measurement_Type kind, Side side) {
    return filter_rules::clear(content_->filters, kind, side);
}

void Gear::initializeFilters() {
    filter_rules::initialize(content_->filters, geometry_.get());
}

bool Gear::getFiltersInitialized() const {
    return filter_rules::initialized(content_->filters);
}

} // namespace kest::gear
