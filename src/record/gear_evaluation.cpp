// The gear's evaluation: its ranges, its features and its filters, each forwarded to the unit that keeps it.

#include <kest/gear/gear.h>

#include "evaluation/filter_rules.h"
#include "record/gear_content.h"

namespace kest::gear {

bool Gear::addEvaluationRange(Measurement_Type type, Side side, RangeType rangeType, EvaluationRange& range) {
    return content().evaluationRanges.add(type, side, rangeType, range);
}

bool Gear::getEvaluationRange(Measurement_Type type, Side side, RangeType rangeType,
                              EvaluationRange* out) const {
    return content().evaluationRanges.get(type, side, rangeType, out);
}

unsigned int Gear::getAllEvaluationRanges(Measurement_Type type, Side side,
                                          std::vector<Gear_EvaluationRange>* out) const {
    return content().evaluationRanges.getAll(type, side, out);
}

bool Gear::clearEvaluationRanges(Measurement_Type type) {
    return content().evaluationRanges.clear(type);
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
    return content().features.clear();
}

bool Gear::removeFeature(const std::string& name, Side side, unsigned int index, RangeType range) {
    return content().features.remove(name, side, index, range);
}

bool Gear::removeFeature(const std::string& name, Side side, unsigned int index) {
    return content().features.remove(name, side, index);
}

bool Gear::enableFeature(const std::string& name, bool on, Side side, unsigned int index, RangeType range) {
    return content().features.enable(name, on, side, index, range);
}

bool Gear::enableFeature(const std::string& name, bool on, Side side, unsigned int index) {
    return content().features.enable(name, on, side, index);
}

bool Gear::getFeature(const std::string& name, Side side, GearFeature* out, unsigned int index,
                      RangeType range) const {
    return content().features.get(name, side, out, index, range);
}

bool Gear::getFeature(const std::string& name, Side side, GearFeature* out, unsigned int index) const {
    return content().features.get(name, side, out, index);
}

bool Gear::setFeature(const GearFeature& feature, Side side, unsigned int index, RangeType range) {
    return content().features.set(feature, side, index, range);
}

bool Gear::setFeature(const GearFeature& feature, Side side, unsigned int index) {
    return content().features.set(feature, side, index);
}

std::vector<EvaluationFeatures::GearFeature_Container> Gear::getAllFeatures() const {
    return content().features.getAll();
}

bool Gear::getFilterLeadFromProf() const {
    return content().filters.getLeadFromProf();
}

void Gear::setFilterLeadFromProf(bool flag) {
    filter_rules::setLeadFromProf(content().filters, geometry_.get(), flag);
}

bool Gear::getFilterBothSided(Measurement_Type kind) const {
    return content().filters.getBothSided(kind);
}

bool Gear::getFilterActive(Measurement_Type kind, Side side, bool& valid) const {
    return filter_rules::getActive(content().filters, kind, side, valid);
}

bool Gear::setFilterActive(Measurement_Type kind, Side side, bool active) {
    return filter_rules::setActive(content().filters, kind, side, active);
}

FilterUnit Gear::getFilterUnit(Measurement_Type kind, Side side, bool& valid) const {
    return filter_rules::getUnit(content().filters, kind, side, valid);
}

double Gear::getFilterWaveNumber(Measurement_Type kind, Side side, bool& valid) const {
    return filter_rules::getWaveNumber(content().filters, geometry_.get(), kind, side, valid);
}

double Gear::getFilterWaveLength(Measurement_Type kind, Side side, bool& valid) const {
    return filter_rules::getWaveLength(content().filters, geometry_.get(), kind, side, valid);
}

bool Gear::setFilterWaveNumber(Measurement_Type kind, Side side, double number) {
    return filter_rules::setWaveNumber(content().filters, geometry_.get(), kind, side, number);
}

bool Gear::setFilterWaveLength(Measurement_Type kind, Side side, double length) {
    return filter_rules::setWaveLength(content().filters, kind, side, length);
}

bool Gear::clearFilter() {
    return filter_rules::clear(content().filters, geometry_.get());
}

bool Gear::clearFilter(Measurement_Type kind) {
    return filter_rules::clear(content().filters, kind);
}

bool Gear::clearFilter(Measurement_Type kind, Side side) {
    return filter_rules::clear(content().filters, kind, side);
}

void Gear::initializeFilters() {
    filter_rules::initialize(content().filters, geometry_.get());
}

bool Gear::getFiltersInitialized() const {
    return filter_rules::initialized(content().filters);
}

} // namespace kest::gear
