#include "evaluation_report.h"

#include "text_format.h"

#include <kest/gear/measurement_enums.h>

#include <algorithm>
#include <array>

namespace kest::gearfile {
namespace {

using gear::Measurement_Type;
using gear::RangeType;
using gear::Side;

// The kinds of line that hold ranges, in the order of the report.
constexpr std::array rangeKinds{Measurement_Type::Profile, Measurement_Type::Lead,
                                Measurement_Type::TopographyProfile, Measurement_Type::TopographyLead};
constexpr std::array flanks{Side::Left, Side::Right};

// "'main' parabola, diameter, 45.5 to 49, extended 45 to 49.5, asymmetric 46 to 48"
std::string rangeDescription(const gear::EvaluationRange& range) {
    double extendedLower = 0, mainLower = 0, mainUpper = 0, extendedUpper = 0;
    range.getRange(&extendedLower, &mainLower, &mainUpper, &extendedUpper);
    std::string text = "'" + range.getName() + "' " +
                       gear::regressionType_2_string(range.getRegressionType()) + ", " +
                       gear::Reference_2_string(range.getReference()) + ", " + formatNumber(mainLower) +
                       " to " + formatNumber(mainUpper);
    if (extendedLower != mainLower || extendedUpper != mainUpper)
        text += ", extended " + formatNumber(extendedLower) + " to " + formatNumber(extendedUpper);
    double lower = 0, upper = 0;
    if (const auto* parabola = dynamic_cast<const gear::EvaluationRangeParabola*>(&range);
        parabola && parabola->getAsymmetricParabola(&lower, &upper))
        text += ", asymmetric " + formatNumber(lower) + " to " + formatNumber(upper);
    return text;
}

// "fHa left index 0 main"; a feature of both flanks shows "both", one without ranges no range.
std::string featureIdentity(const gear::EvaluationFeatures::GearFeature_Container& entry) {
    std::string text = entry.feature.getName() + " " + gear::Side_2_string(entry.info.side) + " index " +
                       std::to_string(entry.info.measurementIndex);
    const std::string range = rangeText(entry.range);
    if (!range.empty()) text += " " + range;
    return text;
}

// "on, NOMINAL_SIZE 0, L_TOL -0.011, EVALUATION_MODE VDI2612"
std::string featureDescription(const gear::GearFeature& feature) {
    std::string text = feature.is_enabled() ? "on" : "off";
    for (int value = 0; value <= static_cast<int>(gear::AdditionalDataType::YCircleDiameter); ++value) {
        const auto type = static_cast<gear::AdditionalDataType>(value);
        double number = 0;
        int count = 0;
        std::string words;
        std::string shown;
        if (feature.get(type, &number))
            shown = formatNumber(number);
        else if (feature.get(type, &count))
            shown = std::to_string(count);
        else if (feature.get(type, &words))
            shown = words;
        else
            continue;
        text += ", " + gear::GearFeature::AdditionalDataType_2_parameter(type) + " " + shown;
    }
    return text;
}

void addRanges(FieldTable& table, const gear::Gear& gear) {
    bool any = false;
    for (const Measurement_Type kind : rangeKinds)
        for (const Side side : flanks) {
            std::vector<gear::Gear_EvaluationRange> ranges;
            gear.getAllEvaluationRanges(kind, side, &ranges);
            for (const gear::Gear_EvaluationRange& entry : ranges) {
                if (!any) table.section("evaluation ranges");
                any = true;
                table.field(gear::Measurement_Type_2_string(kind) + " " + gear::Side_2_string(side) + " " +
                                rangeText(entry.rangeType),
                            rangeDescription(*entry.range));
            }
        }
    if (any) table.endSection();
}

void addFeatures(FieldTable& table, const gear::Gear& gear) {
    const auto features = gear.getAllFeatures();
    if (features.empty()) return;
    table.section("evaluation features");
    for (const auto& entry : features)
        table.field(featureIdentity(entry), featureDescription(entry.feature));
    table.endSection();
}

// "wave number 30, active" or "wave length 0.8 mm, inactive"
std::string filterText(const gear::Gear& gear, Measurement_Type kind, Side side) {
    bool valid = false;
    const bool active = gear.getFilterActive(kind, side, valid);
    const bool byNumber = gear.getFilterUnit(kind, side, valid) == gear::FilterUnit::WaveNumber;
    const std::string value =
        byNumber ? "wave number " + formatNumber(gear.getFilterWaveNumber(kind, side, valid))
                 : "wave length " + formatQuantity(gear.getFilterWaveLength(kind, side, valid), "mm");
    return value + (active ? ", active" : ", inactive");
}

void addFilters(FieldTable& table, const gear::Gear& gear) {
    if (!gear.getFiltersInitialized()) return;
    table.section("filters");
    for (const Measurement_Type kind : {Measurement_Type::Profile, Measurement_Type::Lead}) {
        const std::string name = gear::Measurement_Type_2_string(kind);
        if (gear.getFilterBothSided(kind))
            table.field(name + " both", filterText(gear, kind, Side::Both));
        else
            for (const Side side : flanks)
                table.field(name + " " + gear::Side_2_string(side), filterText(gear, kind, side));
    }
    table.field("lead follows profile", gear.getFilterLeadFromProf() ? "yes" : "no");
    table.endSection();
}

} // namespace

std::string rangeText(RangeType range) {
    const auto holds = [range](auto ranges) { return std::ranges::find(ranges, range) != ranges.end(); };
    if (holds(gear::profileRangeTypes())) return gear::ProfileRangeType_2_string(range);
    if (holds(gear::leadRangeTypes())) return gear::LeadRangeType_2_string(range);
    return {};
}

void addEvaluationSections(FieldTable& table, const gear::Gear& gear) {
    addRanges(table, gear);
    addFeatures(table, gear);
    addFilters(table, gear);
}

std::vector<std::string> evaluationProblems(const gear::Gear& gear) {
    std::vector<std::string> problems;
    for (const Measurement_Type kind : rangeKinds)
        for (const Side side : flanks) {
            std::vector<gear::Gear_EvaluationRange> ranges;
            gear.getAllEvaluationRanges(kind, side, &ranges);
            for (const gear::Gear_EvaluationRange& entry : ranges)
                if (!gear::checkInsideMeasurements(&gear, side, kind, entry.range))
                    problems.push_back("range " + gear::Measurement_Type_2_string(kind) + " " +
                                       gear::Side_2_string(side) + " " + rangeText(entry.rangeType) + " '" +
                                       entry.range->getName() + "': not inside the measurement paths");
        }
    for (const auto& entry : gear.getAllFeatures()) {
        std::string reason;
        if (!entry.feature.isValid(reason))
            problems.push_back("feature " + featureIdentity(entry) + ": " + reason);
    }
    return problems;
}

} // namespace kest::gearfile
