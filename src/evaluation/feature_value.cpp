#include <kest/gear/feature_value.h>
#include <kest/gear/unset_value.h>

#include "host/report.h"

#include <algorithm>
#include <array>

namespace kest::gear {
namespace {

constexpr const char* kNotImplemented = "not implemented";
constexpr const char* kWrongRange = "wrong evaluation range type found";
constexpr const char* kWrongProfileRange = "wrong profile range type for evaluation range type found";
constexpr const char* kWrongLeadRange = "wrong lead range type for evaluation range type found";
constexpr const char* kWrongRangeForProfile = "wrong evaluation range type for profile range type found";
constexpr const char* kWrongRangeForLead = "wrong evaluation range type for lead range type found";

constexpr std::array kPositions{EvaluationRangeType::First, EvaluationRangeType::Middle,
                                EvaluationRangeType::Last};

// Runs of symbol indices that map onto runs of feature identifiers: symbols first to last give firstId on.
struct SymbolRun {
    MCFeature::SymbolIndex first;
    MCFeature::SymbolIndex last;
    FEATURE_ID firstId;
};

constexpr SymbolRun kSymbolRuns[] = {
    {0, 0, 0},          {302, 302, 3002},   {306, 306, 3004},   {313, 313, 3013},   {603, 603, 3070},
    {1200, 1206, 3100}, {1210, 1211, 3120}, {1220, 1224, 3130}, {1230, 1230, 3140}, {1240, 1244, 3150},
    {1250, 1251, 3160}, {1260, 1260, 3170}, {1270, 1270, 3180}, {1280, 1280, 3190},
};

std::size_t slot(EvaluationRangeType range) {
    const auto it = std::ranges::find(kPositions, range);
    if (it == kPositions.end()) throw kWrongRange;
    return static_cast<std::size_t>(it - kPositions.begin());
}

// The position whose range on a line of `type` is `range`; throws `message` when there is none.
EvaluationRangeType positionOf(Measurement_Type type, RangeType range, const char* message) {
    for (const EvaluationRangeType position : kPositions)
        if (EvaluationRangeType2RangeType(type, position) == range) return position;
    throw message;
}

RangeType rangeOf(Measurement_Type type, EvaluationRangeType position, const char* message) {
    if (std::ranges::find(kPositions, position) == kPositions.end()) throw message;
    return EvaluationRangeType2RangeType(type, position);
}

} // namespace

FeatureValue::FeatureValue()
    : evaluationError_(kNotImplemented) {}

FeatureValue::FeatureValue(const char* name, MCFeature::SymbolIndex symbolIndex)
    : name_(name ? name : "")
    , evaluationError_(kNotImplemented)
    , symbolIndex_(symbolIndex) {}

FeatureValue::FeatureValue(const FeatureValue&) = default;
FeatureValue& FeatureValue::operator=(const FeatureValue&) = default;
FeatureValue::~FeatureValue() = default;

void FeatureValue::setName(const char* name) {
    name_ = name ? name : "";
}

FEATURE_ID FeatureValue::getFeatureId() const {
    for (const auto& run : kSymbolRuns)
        if (symbolIndex_ >= run.first && symbolIndex_ <= run.last)
            return run.firstId + (symbolIndex_ - run.first);
    GR_TRACE(1, "Unknown SymbolIndex '%i', convert to FID_NO_FEATURE.", symbolIndex_);
    return 0;
}

FeatureValue::Item& FeatureValue::itemAt(unsigned int index, EvaluationRangeType range) {
    Items& items = items_[slot(range)];
    if (items.size() <= index)
        items.resize(std::size_t{index} + 1, Item{unsetValue, false, false, std::string(), false, unsetValue,
                                                  unsetValue, unsetValue});
    evaluationError_.clear();
    return items[index];
}

const FeatureValue::Item* FeatureValue::findItem(unsigned int index, EvaluationRangeType range) const {
    const Items& items = items_[slot(range)];
    return index < items.size() ? &items[index] : nullptr;
}

void FeatureValue::setResult(EVALUATOR_TYPE evaluator, double value, unsigned int index,
                             EvaluationRangeType range) {
    itemAt(index, range).result = value;
    evaluatorData_.result = evaluator;
}

void FeatureValue::setNominal(EVALUATOR_TYPE evaluator, double value, unsigned int index,
                              EvaluationRangeType range) {
    itemAt(index, range).nominal = value;
    evaluatorData_.result = evaluator;
}

void FeatureValue::setLowerTolerance(EVALUATOR_TYPE evaluator, double value, unsigned int index,
                                     EvaluationRangeType range) {
    itemAt(index, range).lowerTolerance = value;
    evaluatorData_.lowerTolerance = evaluator;
}

void FeatureValue::setUpperTolerance(EVALUATOR_TYPE evaluator, double value, unsigned int index,
                                     EvaluationRangeType range) {
    itemAt(index, range).upperTolerance = value;
    evaluatorData_.upperTolerance = evaluator;
}

void FeatureValue::setValidity(EVALUATOR_TYPE evaluator, bool valid, unsigned int index,
                               EvaluationRangeType range) {
    itemAt(index, range).validity = valid;
    evaluatorData_.validity = evaluator;
}

void FeatureValue::setQualityValidity(EVALUATOR_TYPE evaluator, bool valid, unsigned int index,
                                      EvaluationRangeType range) {
    itemAt(index, range).qualityValidity = valid;
    evaluatorData_.qualityValidity = evaluator;
}

void FeatureValue::setQuality(EVALUATOR_TYPE evaluator, const std::string& quality, unsigned int index,
                              EvaluationRangeType range) {
    Item& item = itemAt(index, range);
    item.quality = quality;
    item.qualitySet = true;
    evaluatorData_.quality = evaluator;
}

double FeatureValue::getResult(unsigned int index, EvaluationRangeType range) const {
    const Item* item = findItem(index, range);
    return item ? item->result : unsetValue;
}

double FeatureValue::getNominal(unsigned int index, EvaluationRangeType range) const {
    const Item* item = findItem(index, range);
    return item ? item->nominal : unsetValue;
}

double FeatureValue::getLowerTolerance(unsigned int index, EvaluationRangeType range) const {
    const Item* item = findItem(index, range);
    return item ? item->lowerTolerance : unsetValue;
}

double FeatureValue::getUpperTolerance(unsigned int index, EvaluationRangeType range) const {
    const Item* item = findItem(index, range);
    return item ? item->upperTolerance : unsetValue;
}

bool FeatureValue::getValidity(unsigned int index, EvaluationRangeType range) const {
    const Item* item = findItem(index, range);
    return item && item->validity;
}

bool FeatureValue::getQualityValidity(unsigned int index, EvaluationRangeType range) const {
    const Item* item = findItem(index, range);
    return item && item->qualityValidity;
}

bool FeatureValue::getQuality(std::string* quality, unsigned int index, EvaluationRangeType range) const {
    const Item* item = findItem(index, range);
    if (!item || !item->qualitySet) return false;
    if (quality) *quality = item->quality;
    return true;
}

bool FeatureValue::isEvaluated(unsigned int index, EvaluationRangeType range) const {
    return findItem(index, range) != nullptr;
}

unsigned int FeatureValue::getCount(EvaluationRangeType range) const {
    return static_cast<unsigned int>(items_[slot(range)].size());
}

void FeatureValue::resetResult() {
    for (auto& items : items_)
        for (auto& item : items) {
            item.result = unsetValue;
            item.validity = false;
        }
    evaluatorData_.result = kDefaultEvaluator;
    evaluatorData_.validity = kDefaultEvaluator;
}

void FeatureValue::resetNominal() {
    for (auto& items : items_)
        for (auto& item : items) {
            item.nominal = unsetValue;
            item.validity = false;
        }
    evaluatorData_.result = kDefaultEvaluator;
    evaluatorData_.validity = kDefaultEvaluator;
}

void FeatureValue::resetTolerances() {
    for (auto& items : items_)
        for (auto& item : items) {
            item.lowerTolerance = unsetValue;
            item.upperTolerance = unsetValue;
        }
    evaluatorData_.lowerTolerance = kDefaultEvaluator;
    evaluatorData_.upperTolerance = kDefaultEvaluator;
}

void FeatureValue::resetQuality() {
    for (auto& items : items_)
        for (auto& item : items) {
            item.quality.clear();
            item.qualityValidity = false;
        }
    evaluatorData_.quality = kDefaultEvaluator;
    evaluatorData_.qualityValidity = kDefaultEvaluator;
}

void FeatureValue::setEvaluationError(const std::string& error) {
    evaluationError_ = error;
    if (!error.empty()) GR_TRACE(1, "%s", error.c_str());
}

bool FeatureValue::getEvaluationError(std::string* error) const {
    if (evaluationError_.empty()) return false;
    if (error) *error = evaluationError_;
    return true;
}

EvaluationRangeType FeatureValue::ProfileRangeType2EvaluationRangeType(RangeType range) {
    return positionOf(Measurement_Type::Profile, range, kWrongProfileRange);
}

EvaluationRangeType FeatureValue::LeadRangeType2EvaluationRangeType(RangeType range) {
    return positionOf(Measurement_Type::Lead, range, kWrongLeadRange);
}

RangeType FeatureValue::EvaluationRangeType2ProfileRangeType(EvaluationRangeType range) {
    return rangeOf(Measurement_Type::Profile, range, kWrongRangeForProfile);
}

RangeType FeatureValue::EvaluationRangeType2LeadRangeType(EvaluationRangeType range) {
    return rangeOf(Measurement_Type::Lead, range, kWrongRangeForLead);
}

} // namespace kest::gear
