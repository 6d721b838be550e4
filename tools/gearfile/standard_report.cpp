#include "standard_report.h"

#include "text_format.h"

#include <kest/gear/evaluation_standard.h>
#include <kest/gear/kchart.h>

#include <array>
#include <functional>

namespace kest::gearfile {
namespace {

using gear::Measurement_Type;
using gear::Side;

constexpr std::array chartTypes{Measurement_Type::Profile, Measurement_Type::Lead};
constexpr std::array chartSides{Side::Left, Side::Right, Side::Both};

// "<kind> <side> <index>"
std::string chartKey(Measurement_Type type, Side side, unsigned int index) {
    return gear::Measurement_Type_2_string(type) + " " + gear::Side_2_string(side) + " " +
           std::to_string(index);
}

std::string chartSummary(const gear::KChart& chart) {
    std::string text = chart.getName().empty() ? "(no name)" : chart.getName();
    text += ", " + std::to_string(chart.getParts().size()) + " part";
    if (chart.getParts().size() != 1) text += "s";
    text += chart.is_enabled() ? ", enabled" : ", disabled";
    std::string reason;
    text += chart.isValid(&reason) ? ", valid" : ", invalid: " + reason;
    return text;
}

} // namespace

void forEachStoredChart(
    const gear::Gear& g,
    const std::function<void(gear::Measurement_Type, gear::Side, unsigned int, const gear::KChart&)>& visit) {
    for (const Measurement_Type type : chartTypes)
        for (const Side side : chartSides)
            for (unsigned int index = 0; index < g.getKChartNumberOfMeasurements(type, side); ++index) {
                const gear::KChart* chart = g.getKChart(type, side, index, nullptr);
                if (!chart || (side != Side::Both && chart == g.getKChart(type, Side::Both, index, nullptr)))
                    continue;
                visit(type, side, index, *chart);
            }
}

void addStandardSections(FieldTable& table, const gear::Gear& g) {
    const gear::EvaluationStandard standard = g.getEvaluationStandard();
    table.section("evaluation standard");
    table.field("standard", standard.getStandardName());
    table.field("quality", standard.grade_2_string());
    table.field("fit type", gear::EvaluationFitType_2_string(g.getEvaluationFitType()));
    for (const auto& [feature, letter] : standard.getAllSubqualities())
        table.field("sub-quality " + feature, letter);
    table.endSection();

    bool any = false;
    forEachStoredChart(g,
                       [&](Measurement_Type type, Side side, unsigned int index, const gear::KChart& chart) {
                           const std::string key = chartKey(type, side, index);
                           if (!any) table.section("K-charts");
                           any = true;
                           table.field(key, chartSummary(chart));
                       });
    if (any) table.endSection();
}

std::vector<std::string> standardProblems(const gear::Gear& g) {
    std::vector<std::string> problems;
    std::string reason;
    if (!g.getEvaluationStandard().isValid(reason)) problems.push_back("standard: " + reason);
    forEachStoredChart(g,
                       [&](Measurement_Type type, Side side, unsigned int index, const gear::KChart& chart) {
                           const std::string key = chartKey(type, side, index);
                           std::string why;
                           if (!chart.isValid(&why))
                               problems.push_back("kchart " + key + ": " + (why.empty() ? "invalid" : why));
                       });
    return problems;
}

} // namespace kest::gearfile
