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

template <typename T>
void FeatureValue::store(T Item::*field, const T& value, EVALUATOR_TYPE EvaluatorData::*entry,
                         EVALUATOR_TYPE evaluator, unsigned int index, EvaluationRangeType range) {
    itemAt(index, range).*field = value;
    evaluatorData_.*entry = evaluator;
}

void FeatureValue::setResult(EVALUATOR_TYPE evaluator, double value, unsigned int index,
                             EvaluationRangeType range) {
    store(&Item::result, value, &EvaluatorData::result, evaluator, index, range);
}

// The nominal value shares the result's evaluator entry.
void FeatureValue::setNominal(EVALUATOR_TYPE evaluator, double value, unsigned int index,
                              EvaluationRangeType range) {
    store(&Item::nominal, value, &EvaluatorData::result, evaluator, index, range);
}

void FeatureValue::setLowerTolerance(EVALUATOR_TYPE evaluator, double value, unsigned int index,
                                     EvaluationRangeType range) {
    store(&Item::lowerTolerance, value, &EvaluatorData::lowerTolerance, evaluator, index, range);
}

void FeatureValue::setUpperTolerance(EVALUATOR_TYPE evaluator, double value, unsigned int index,
                                     EvaluationRangeType range) {
    store(&Item::upperTolerance, value, &EvaluatorData::upperTolerance, evaluator, index, range);
}

void FeatureValue::setValidity(EVALUATOR_TYPE evaluator, bool valid, unsigned int index,
                               EvaluationRangeType range) {
    store(&Item::validity, valid, &EvaluatorData::validity, evaluator, index, range);
}

void FeatureValue::setQualityValidity(EVALUATOR_TYPE evaluator, bool valid, unsigned int index,
                                      EvaluationRangeType range) {
    store(&Item::qualityValidity, valid, &EvaluatorData::qualityValidity, evaluator, index, range);
}

void FeatureValue::setQuality(EVALUATOR_TYPE evaluator, const std::string& quality, unsigned int index,
                              EvaluationRangeType range) {
    store(&Item::quality, quality, &EvaluatorData::quality, evaluator, index, range);
    itemAt(index, range).qualitySet = true;
}

double FeatureValue::valueOf(double Item::*field, unsigned int index, EvaluationRangeType range) const {
    const Item* item = findItem(index, range);
    return item ? item->*field : unsetValue;
}

bool FeatureValue::flagOf(bool Item::*field, unsigned int index, EvaluationRangeType range) const {
    const Item* item = findItem(index, range);
    return item && item->*field;
}

double FeatureValue::getResult(unsigned int index, EvaluationRangeType range) const {
    return valueOf(&Item::result, index, range);
}

double FeatureValue::getNominal(unsigned int index, EvaluationRangeType range) const {
    return valueOf(&Item::nominal, index, range);
}

double FeatureValue::getLowerTolerance(unsigned int index, EvaluationRangeType range) const {
    return valueOf(&Item::lowerTolerance, index, range);
}

double FeatureValue::getUpperTolerance(unsigned int index, EvaluationRangeType range) const {
    return valueOf(&Item::upperTolerance, index, range);
}

bool FeatureValue::getValidity(unsigned int index, EvaluationRangeType range) const {
    return flagOf(&Item::validity, index, range);
}

bool FeatureValue::getQualityValidity(unsigned int index, EvaluationRangeType range) const {
    return flagOf(&Item::qualityValidity, index, range);
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

template <typename Reset>
void FeatureValue::resetItems(Reset reset, std::initializer_list<EVALUATOR_TYPE EvaluatorData::*> entries) {
    for (auto& items : items_)
        for (auto& item : items)
            reset(item);
    for (const auto entry : entries)
        evaluatorData_.*entry = kDefaultEvaluator;
}

void FeatureValue::resetResult() {
    resetItems(
        [](Item& item) {
            item.result = unsetValue;
            item.validity = false;
        },
        {&EvaluatorData::result, &EvaluatorData::validity});
}

void FeatureValue::resetNominal() {
    resetItems(
        [](Item& item) {
            item.nominal = unsetValue;
            item.validity = false;
        },
        {&EvaluatorData::result, &EvaluatorData::validity});
}

void FeatureValue::resetTolerances() {
    resetItems([](Item& item) { item.lowerTolerance = item.upperTolerance = unsetValue; },
               {&EvaluatorData::lowerTolerance, &EvaluatorData::upperTolerance});
}

// The set flags stay: a quality was set, and is now empty.
void FeatureValue::resetQuality() {
    resetItems(
        [](Item& item) {
            item.quality.clear();
            item.qualityValidity = false;
        },
        {&EvaluatorData::quality, &EvaluatorData::qualityValidity});
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
