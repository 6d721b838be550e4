#include "measurement_report.h"

#include "text_format.h"

#include <kest/gear/measurement_enums.h>

#include <array>
#include <string_view>
#include <tuple>

namespace kest::gearfile {
namespace {

using gear::GearMeasuringParameters;

struct ClampingLabel {
    GearMeasuringParameters::Clamping_Type value;
    std::string_view text;
};
constexpr std::array clampingLabels{
    ClampingLabel{GearMeasuringParameters::Clamping_Type::DatumSideUp, "datum side up"},
    ClampingLabel{GearMeasuringParameters::Clamping_Type::NonDatumSideUp, "non-datum side up"},
};

// "profile left 1-3,7 index 0": what is measured, on which flank and teeth, and which measurement of them.
std::string identity(const gear::Gear_Measurement_Info& info) {
    return info.type_2_string() + " " + info.side_2_string() + " " + info.teeth_2_string(true) + " index " +
           std::to_string(info.measurementIndex);
}

// A value with its type, when the parameter has one: "1.5 (mm)".
std::string parameterValue(const gear::Gear_General_Parameter& parameter) {
    std::string text = formatNumber(parameter.value);
    if (!parameter.type.empty()) text += " (" + parameter.type + ")";
    return text;
}

std::string settingText(const gear::Gear_Measurement_Path& setting) {
    std::vector<gear::MeasurementPathPoint> points;
    setting.path.getPoints(&points);
    std::string text = setting.enabled.is_enabled() ? "enabled" : "disabled";
    if (!points.empty())
        text += ", " + std::to_string(points.size()) + (points.size() == 1 ? " point" : " points");
    if (!setting.label.empty()) text += ", label '" + setting.label + "'";
    for (const gear::Gear_General_Parameter& parameter : setting.parameters)
        text += ", " + parameter.name + " " + parameterValue(parameter);
    return text;
}

void addMeasurements(FieldTable& table, const gear::Gear& gear) {
    std::vector<gear::Gear_Measurement> measurements;
    if (gear.getAllMeasurements(&measurements, false) == 0) return;
    table.section("measurements");
    for (const gear::Gear_Measurement& measurement : measurements)
        table.field(identity(measurement), measurement.name);
    table.endSection();
}

void addSettings(FieldTable& table, const gear::Gear& gear) {
    std::vector<gear::Gear_Measurement_Path> settings;
    if (gear.getAllMeasurementPathSettings(&settings) == 0) return;
    table.section("measurement settings");
    table.field("tooth counting", gear.isToothCountingClockwise() ? "clockwise" : "counter-clockwise");
    for (const gear::Gear_Measurement_Path& setting : settings)
        table.field(identity(setting), settingText(setting));
    table.endSection();
}

void addParameters(FieldTable& table, const gear::Gear& gear) {
    std::vector<gear::Gear_General_Parameter> positioning;
    if (gear.getAllPositioningParameters(&positioning) > 0) {
        table.section("positioning parameters");
        for (const gear::Gear_General_Parameter& parameter : positioning)
            table.field(parameter.name, parameterValue(parameter));
        table.endSection();
    }
    std::vector<gear::Gear_Measuring_Parameter> measuring;
    const auto clamping = gear.getClamping();
    if (gear.getAllMeasuringParameters(&measuring) > 0 || clamping != clampingLabels.front().value) {
        table.section("measuring parameters");
        for (const gear::Gear_Measuring_Parameter& parameter : measuring)
            table.field(gear::Measurement_Type_2_string(parameter.type) + " " + parameter.parameter.name,
                        parameterValue(parameter.parameter));
        table.field("clamping", clampingText(clamping));
        table.endSection();
    }
    std::vector<gear::Gear_Additional_Parameter> groups;
    if (gear.getAllAdditionalMeasurementParameters(&groups) > 0) {
        table.section("additional parameters");
        for (const gear::Gear_Additional_Parameter& group : groups)
            for (const gear::Gear_General_Parameter& parameter : group.parameters)
                table.field(group.name + " " + parameter.name, parameterValue(parameter));
        table.endSection();
    }
}

} // namespace

std::string clampingText(GearMeasuringParameters::Clamping_Type clamping) {
    for (const ClampingLabel& row : clampingLabels)
        if (row.value == clamping) return std::string(row.text);
    return "unknown clamping";
}

void addMeasurementSections(FieldTable& table, const gear::Gear& gear) {
    addMeasurements(table, gear);
    addSettings(table, gear);
    addParameters(table, gear);
}

std::vector<std::string> twistProblems(const gear::Gear& gear) {
    std::vector<std::string> problems;
    std::vector<gear::Gear_Measurement_Path> view;
    gear.getAllTwistSettings(&view);
    // The view is sorted by kind, flank and tooth: the entries of one twist stand together.
    const gear::Gear_Measurement_Path* previous = nullptr;
    for (const gear::Gear_Measurement_Path& entry : view) {
        const unsigned int tooth = entry.getAllTeeth().front();
        const auto key = std::tuple(entry.type, entry.side, tooth);
        if (previous && key == std::tuple(previous->type, previous->side, previous->getAllTeeth().front()))
            continue;
        previous = &entry;
        std::string reason;
        if (!gear.isTwistValid(entry.type, entry.side, tooth, &reason, false))
            problems.push_back("twist " + entry.type_2_string() + " " + entry.side_2_string() + " tooth " +
                               std::to_string(tooth) + ": " + reason);
    }
    return problems;
}

} // namespace kest::gearfile
