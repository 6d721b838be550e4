#pragma once

// The value holder in which an evaluating program keeps, per feature, the results, nominal values,
// tolerances, qualities and validities of each evaluated instance, separately for up to three evaluation
// ranges.

#include <kest/gear/host/export.h>
#include <kest/gear/measurement_enums.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace kest::gear {

// The code of the evaluator that set a value; the suite's evaluating programs give the values, 3 is the
// default.
using EVALUATOR_TYPE = std::int32_t;
// The suite's feature identifier; 0 stands for no feature.
using FEATURE_ID = std::int32_t;

struct MCFeature {
    // the suite's symbol code of a feature
    using SymbolIndex = std::int32_t;
};

class GEARRECORDS_API FeatureValue {
public:
    // Which evaluator last set: result and nominal, validity, lower tolerance, upper tolerance, quality,
    // quality validity.
    struct EvaluatorData {
        EVALUATOR_TYPE result = kDefaultEvaluator;
        EVALUATOR_TYPE validity = kDefaultEvaluator;
        EVALUATOR_TYPE lowerTolerance = kDefaultEvaluator;
        EVALUATOR_TYPE upperTolerance = kDefaultEvaluator;
        EVALUATOR_TYPE quality = kDefaultEvaluator;
        EVALUATOR_TYPE qualityValidity = kDefaultEvaluator;
        bool operator==(const EvaluatorData&) const = default;
    };
    static constexpr EVALUATOR_TYPE kDefaultEvaluator = 3;

    FeatureValue();
    FeatureValue(const char* name, MCFeature::SymbolIndex symbolIndex);
    FeatureValue(const FeatureValue&);
    FeatureValue& operator=(const FeatureValue&);
    virtual ~FeatureValue();

    void setName(const char* name);
    const char* getName() const noexcept { return name_.c_str(); }
    void setSymbolIndex(MCFeature::SymbolIndex symbolIndex) noexcept { symbolIndex_ = symbolIndex; }
    MCFeature::SymbolIndex getSymbolIndex() const noexcept { return symbolIndex_; }
    // returns 0 (no feature), with a trace, for a symbol without an identifier
    FEATURE_ID getFeatureId() const;

    // Each setter grows the range's entries to index + 1, stores the value in entry `index`, records the
    // evaluator and clears the evaluation error. Each per-range operation throws "wrong evaluation range type
    // found" for a range outside the enumeration.
    void setResult(EVALUATOR_TYPE evaluator, double value, unsigned int index, EvaluationRangeType range);
    void setNominal(EVALUATOR_TYPE evaluator, double value, unsigned int index, EvaluationRangeType range);
    void setLowerTolerance(EVALUATOR_TYPE evaluator, double value, unsigned int index,
                           EvaluationRangeType range);
    void setUpperTolerance(EVALUATOR_TYPE evaluator, double value, unsigned int index,
                           EvaluationRangeType range);
    void setValidity(EVALUATOR_TYPE evaluator, bool valid, unsigned int index, EvaluationRangeType range);
    void setQualityValidity(EVALUATOR_TYPE evaluator, bool valid, unsigned int index,
                            EvaluationRangeType range);
    void setQuality(EVALUATOR_TYPE evaluator, const std::string& quality, unsigned int index,
                    EvaluationRangeType range);

    // Past the range's count the getters return 2147483646.0 or false.
    double getResult(unsigned int index, EvaluationRangeType range) const;
    double getNominal(unsigned int index, EvaluationRangeType range) const;
    double getLowerTolerance(unsigned int index, EvaluationRangeType range) const;
    double getUpperTolerance(unsigned int index, EvaluationRangeType range) const;
    bool getValidity(unsigned int index, EvaluationRangeType range) const;
    bool getQualityValidity(unsigned int index, EvaluationRangeType range) const;
    // returns false past the count or when no quality was set
    bool getQuality(std::string* quality, unsigned int index, EvaluationRangeType range) const;
    bool isEvaluated(unsigned int index, EvaluationRangeType range) const;
    unsigned int getCount(EvaluationRangeType range) const;

    // result (or nominal) of every entry unset and its validity false; evaluator result and validity back to
    // 3
    void resetResult();
    void resetNominal();
    void resetTolerances();
    // qualities emptied (their set flags stay) and quality validities false
    void resetQuality();

    // A non-empty text is also traced at level 1.
    void setEvaluationError(const std::string& error);
    // returns false when the error text is empty; "not implemented" until a value is set
    bool getEvaluationError(std::string* error) const;
    const EvaluatorData& getEvaluatorData() const noexcept { return evaluatorData_; }

    // Root/Main/Tip to First/Middle/Last; throws "wrong profile range type for evaluation range type found"
    static EvaluationRangeType ProfileRangeType2EvaluationRangeType(RangeType range);
    // NonDatumSide/Middle/DatumSide to First/Middle/Last; throws "wrong lead range type for evaluation range
    // type found"
    static EvaluationRangeType LeadRangeType2EvaluationRangeType(RangeType range);
    // throws "wrong evaluation range type for profile range type found"
    static RangeType EvaluationRangeType2ProfileRangeType(EvaluationRangeType range);
    // throws "wrong evaluation range type for lead range type found"
    static RangeType EvaluationRangeType2LeadRangeType(EvaluationRangeType range);

private:
    struct Item {
        double result;
        bool validity;
        bool qualitySet;
        std::string quality;
        bool qualityValidity;
        double lowerTolerance;
        double upperTolerance;
        double nominal;
    };
    using Items = std::vector<Item>;

    Item& itemAt(unsigned int index, EvaluationRangeType range);
    const Item* findItem(unsigned int index, EvaluationRangeType range) const;
    template <typename T>
    void store(T Item::*field, const T& value, EVALUATOR_TYPE EvaluatorData::*entry, EVALUATOR_TYPE evaluator,
               unsigned int index, EvaluationRangeType range);
    double valueOf(double Item::*field, unsigned int index, EvaluationRangeType range) const;
    bool flagOf(bool Item::*field, unsigned int index, EvaluationRangeType range) const;
    template <typename Reset>
    void resetItems(Reset reset, std::initializer_list<EVALUATOR_TYPE EvaluatorData::*> entries);

    std::string name_;
    EvaluatorData evaluatorData_;
    std::array<Items, 3> items_;
    std::string evaluationError_;
    MCFeature::SymbolIndex symbolIndex_ = 0;
};

} // namespace kest::gear
