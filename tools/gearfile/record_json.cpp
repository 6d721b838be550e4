#include "record_json.h"

#include "evaluation_report.h"
#include "geometry_fields.h"
#include "measurement_report.h"
#include "standard_report.h"

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/design_profile.h>
#include <kest/gear/evaluation_standard.h>
#include <kest/gear/kchart.h>
#include <kest/gear/measurement_enums.h>
#include <kest/gear/process_types.h>
#include <kest/gear/processing_information.h>
#include <kest/gear/protocol_settings.h>

#include <cmath>
#include <vector>

namespace kest::gearfile {
namespace {

using gear::Measurement_Type;
using gear::Side;

constexpr std::array flanks{Side::Left, Side::Right};
constexpr std::array profileAndLead{Measurement_Type::Profile, Measurement_Type::Lead};

// null for the unset value and for what is not a finite number
Json number(double value) {
    if (gear::isUnset(value) || !std::isfinite(value)) return nullptr;
    return value;
}

// "kind", "side", "index" and "teeth" of a measurement's identity.
Json identity(const gear::Gear_Measurement_Info& info) {
    return Json{{"kind", info.type_2_string()},
                {"side", info.side_2_string()},
                {"index", info.measurementIndex},
                {"teeth", info.getAllTeeth()}};
}

Json parameterJson(const gear::Gear_General_Parameter& parameter) {
    return Json{{"name", parameter.name}, {"type", parameter.type}, {"value", number(parameter.value)}};
}

Json parameterList(const std::vector<gear::Gear_General_Parameter>& parameters) {
    Json list = Json::array();
    for (const gear::Gear_General_Parameter& parameter : parameters)
        list.push_back(parameterJson(parameter));
    return list;
}

Json pointList(const std::vector<gear::PointDefinition>& points) {
    Json list = Json::array();
    for (const gear::PointDefinition& point : points)
        list.push_back(Json{{"position", number(point.position)},
                            {"variation", number(point.variation)},
                            {"reference", gear::Reference_2_string(point.reference)}});
    return list;
}

Json measurementsJson(const gear::Gear& gear) {
    std::vector<gear::Gear_Measurement> measurements;
    gear.getAllMeasurements(&measurements, false);
    Json list = Json::array();
    for (const gear::Gear_Measurement& measurement : measurements) {
        Json entry = identity(measurement);
        entry["name"] = measurement.name;
        list.push_back(std::move(entry));
    }
    return list;
}

Json settingsJson(const gear::Gear& gear) {
    std::vector<gear::Gear_Measurement_Path> settings;
    gear.getAllMeasurementPathSettings(&settings);
    Json list = Json::array();
    for (const gear::Gear_Measurement_Path& setting : settings) {
        std::vector<gear::MeasurementPathPoint> points;
        setting.path.getPoints(&points);
        Json path = Json::array();
        for (const gear::MeasurementPathPoint& point : points)
            path.push_back(Json{{"position", number(point.position)},
                                {"position_reference", gear::Reference_2_string(point.positionReference)},
                                {"height", number(point.height)},
                                {"height_reference", gear::Reference_2_string(point.heightReference)}});
        Json entry = identity(setting);
        entry["enabled"] = setting.enabled.is_enabled();
        entry["label"] = setting.label;
        entry["points"] = std::move(path);
        entry["parameters"] = parameterList(setting.parameters);
        list.push_back(std::move(entry));
    }
    return list;
}

Json parametersJson(const gear::Gear& gear) {
    std::vector<gear::Gear_General_Parameter> positioning;
    gear.getAllPositioningParameters(&positioning);
    std::vector<gear::Gear_Measuring_Parameter> measuring;
    gear.getAllMeasuringParameters(&measuring);
    Json measuringList = Json::array();
    for (const gear::Gear_Measuring_Parameter& parameter : measuring) {
        Json entry{{"kind", gear::Measurement_Type_2_string(parameter.type)}};
        entry.update(parameterJson(parameter.parameter));
        measuringList.push_back(std::move(entry));
    }
    std::vector<gear::Gear_Additional_Parameter> groups;
    gear.getAllAdditionalMeasurementParameters(&groups);
    Json additional = Json::array();
    for (const gear::Gear_Additional_Parameter& group : groups)
        additional.push_back(Json{{"name", group.name}, {"parameters", parameterList(group.parameters)}});
    return Json{{"positioning", parameterList(positioning)},
                {"measuring", std::move(measuringList)},
                {"clamping", clampingText(gear.getClamping())},
                {"additional", std::move(additional)}};
}

Json processingJson(const gear::Gear& gear) {
    gear::FeedMarkInformation feedMark;
    gear.getFeedMarkInformation(&feedMark);
    return Json{{"process_type", gear::ProcessType_2_string(gear.getProcessType())},
                {"post_process_type", gear::PostProcessType_2_string(gear.getPostProcessType())},
                {"feed_mark",
                 {{"parameters", parameterList(feedMark.parameters)},
                  {"points", feedMark.points.size()},
                  {"complete", feedMark.isValid()}}}};
}

Json rangesJson(const gear::Gear& gear) {
    Json list = Json::array();
    for (const Measurement_Type kind :
         {Measurement_Type::Profile, Measurement_Type::Lead, Measurement_Type::TopographyProfile,
          Measurement_Type::TopographyLead})
        for (const Side side : flanks) {
            std::vector<gear::Gear_EvaluationRange> ranges;
            gear.getAllEvaluationRanges(kind, side, &ranges);
            for (const gear::Gear_EvaluationRange& entry : ranges) {
                const gear::EvaluationRange& range = *entry.range;
                double extendedLower = 0, lower = 0, upper = 0, extendedUpper = 0;
                range.getRange(&extendedLower, &lower, &upper, &extendedUpper);
                double asymmetricLower = gear::unsetValue, asymmetricUpper = gear::unsetValue;
                if (const auto* parabola = dynamic_cast<const gear::EvaluationRangeParabola*>(&range))
                    parabola->getAsymmetricParabola(&asymmetricLower, &asymmetricUpper);
                list.push_back(Json{{"kind", gear::Measurement_Type_2_string(kind)},
                                    {"side", gear::Side_2_string(side)},
                                    {"range_type", rangeText(entry.rangeType)},
                                    {"name", range.getName()},
                                    {"regression", gear::regressionType_2_string(range.getRegressionType())},
                                    {"reference", gear::Reference_2_string(range.getReference())},
                                    {"extended_lower", number(extendedLower)},
                                    {"lower", number(lower)},
                                    {"upper", number(upper)},
                                    {"extended_upper", number(extendedUpper)},
                                    {"asymmetric_lower", number(asymmetricLower)},
                                    {"asymmetric_upper", number(asymmetricUpper)}});
            }
        }
    return list;
}

// The additional data of a feature by the parameter names of the file ("NOMINAL_SIZE", "L_TOL", ...).
Json featureData(const gear::GearFeature& feature) {
    Json data = Json::object();
    for (int value = 0; value <= static_cast<int>(gear::AdditionalDataType::YCircleDiameter); ++value) {
        const auto type = static_cast<gear::AdditionalDataType>(value);
        double real = 0;
        int count = 0;
        std::string words;
        const std::string key = gear::GearFeature::AdditionalDataType_2_parameter(type);
        if (feature.get(type, &real))
            data[key] = number(real);
        else if (feature.get(type, &count))
            data[key] = count;
        else if (feature.get(type, &words))
            data[key] = words;
    }
    return data;
}

Json featuresJson(const gear::Gear& gear) {
    Json list = Json::array();
    for (const auto& entry : gear.getAllFeatures())
        list.push_back(Json{{"name", entry.feature.getName()},
                            {"side", gear::Side_2_string(entry.info.side)},
                            {"index", entry.info.measurementIndex},
                            {"range_type", rangeText(entry.range)},
                            {"enabled", entry.feature.is_enabled()},
                            {"data", featureData(entry.feature)}});
    return list;
}

Json filtersJson(const gear::Gear& gear) {
    Json lines = Json::array();
    if (gear.getFiltersInitialized())
        for (const Measurement_Type kind : profileAndLead) {
            const bool both = gear.getFilterBothSided(kind);
            for (const Side side : both ? std::vector{Side::Both} : std::vector{Side::Left, Side::Right}) {
                bool valid = false;
                const bool byNumber = gear.getFilterUnit(kind, side, valid) == gear::FilterUnit::WaveNumber;
                lines.push_back(Json{{"kind", gear::Measurement_Type_2_string(kind)},
                                     {"side", gear::Side_2_string(side)},
                                     {"unit", byNumber ? "wave number" : "wave length"},
                                     {"wave_number", number(gear.getFilterWaveNumber(kind, side, valid))},
                                     {"wave_length", number(gear.getFilterWaveLength(kind, side, valid))},
                                     {"active", gear.getFilterActive(kind, side, valid)}});
            }
        }
    return Json{{"initialized", gear.getFiltersInitialized()},
                {"lead_follows_profile", gear.getFilterLeadFromProf()},
                {"lines", std::move(lines)}};
}

Json standardJson(const gear::Gear& gear) {
    const gear::EvaluationStandard standard = gear.getEvaluationStandard();
    Json subQualities = Json::object();
    for (const auto& [feature, letter] : standard.getAllSubqualities())
        subQualities[feature] = letter;
    std::string reason;
    const bool valid = standard.isValid(reason);
    return Json{{"name", standard.getStandardName()},
                {"quality", standard.grade_2_string()},
                {"fit_type", gear::EvaluationFitType_2_string(gear.getEvaluationFitType())},
                {"sub_qualities", std::move(subQualities)},
                {"valid", valid},
                {"reason", valid ? Json(nullptr) : Json(reason)}};
}

Json kchartsJson(const gear::Gear& gear) {
    Json list = Json::array();
    forEachStoredChart(
        gear, [&list](Measurement_Type type, Side side, unsigned int index, const gear::KChart& chart) {
            Json parts = Json::array();
            for (const gear::KChartPart& part : chart.getParts()) {
                std::vector<gear::PointDefinition> points;
                part.getPoints(&points);
                parts.push_back(Json{{"material", gear::material_2_string(part.getMaterial())},
                                     {"regression", gear::regressionType_2_string(part.getRegressionType())},
                                     {"tolerance", number(part.getTolerance())},
                                     {"crowning", number(part.getCrowning())},
                                     {"points", pointList(points)}});
            }
            std::string reason;
            const bool valid = chart.isValid(&reason);
            list.push_back(Json{{"kind", gear::Measurement_Type_2_string(type)},
                                {"side", gear::Side_2_string(side)},
                                {"index", index},
                                {"name", chart.getName()},
                                {"enabled", chart.is_enabled()},
                                {"alignment", gear::alignment_2_string(chart.getAlignment())},
                                {"parts", std::move(parts)},
                                {"valid", valid},
                                {"reason", valid ? Json(nullptr) : Json(reason)}});
        });
    return list;
}

Json designProfilesJson(const gear::Gear& gear) {
    Json list = Json::array();
    for (const Measurement_Type kind : profileAndLead)
        for (const Side side : flanks)
            for (unsigned int index = 0; index < gear.getDesignProfileCount(kind, side); ++index) {
                const gear::DesignProfile* profile = gear.getDesignProfile(kind, side, index);
                if (!profile) continue;
                Json parts = Json::array();
                for (const gear::DesignProfilePart& part : profile->getParts()) {
                    std::vector<gear::PointDefinition> points;
                    part.getPoints(&points);
                    parts.push_back(
                        Json{{"regression", gear::regressionType_2_string(part.getRegressionType())},
                             {"crowning", number(part.getCrowning())},
                             {"points", pointList(points)}});
                }
                list.push_back(Json{{"kind", gear::Measurement_Type_2_string(kind)},
                                    {"side", gear::Side_2_string(side)},
                                    {"index", index},
                                    {"name", profile->getName()},
                                    {"enabled", profile->isEnabled()},
                                    {"valid", profile->isValid()},
                                    {"parts", std::move(parts)}});
            }
    return list;
}

// null for the automatic scale
Json scale(double value) {
    if (value == gear::ProtocolSettings::scale_val_auto) return nullptr;
    return number(value);
}

Json diagramsJson(const gear::ProtocolSettings& s, bool profile) {
    gear::ProtocolSettings::parametersProfLead p;
    s.getProfLeadParameters(profile, p);
    return Json{{"enabled", p.enabled},
                {"number_per_side", p.numberPerSide},
                {"reference", gear::Reference_2_string(p.reference)},
                {"flip_diagram", p.flipDiagram},
                {"scale_va", scale(p.scaleVa)},
                {"scale_vb", scale(p.scaleVb)},
                {"reference_element", p.referenceElement},
                {"extended_range_table", p.extendedRangeTable},
                {"angle_error_as_difference", p.angleErrorAsDifferenceActualNominal}};
}

Json protocolJson(const gear::Gear& gear) {
    using gear::ProtocolSettings;
    ProtocolSettings s;
    gear.getProtocolSettings(&s);
    Json outputs = Json::array();
    for (std::size_t i = 0; i < ProtocolSettings::output_keys.size(); ++i)
        if (s.getOutput(static_cast<ProtocolSettings::OutputUnit>(i)))
            outputs.push_back(ProtocolSettings::output_keys[i]);
    Json bars = Json::array();
    for (std::size_t i = 0; i < ProtocolSettings::bar_diagrams.size(); ++i) {
        const auto type = static_cast<ProtocolSettings::BarDiagramType>(i);
        bool enabled = false;
        double barScale = 0.0;
        std::vector<ProtocolSettings::BarDiagramExtraLine> lines;
        s.getBarDiagram(type, enabled, barScale, &lines);
        Json extra = Json::array();
        for (const auto& line : lines)
            extra.push_back(Json{{"feature", line.feature}, {"enabled", line.enabled}});
        bars.push_back(Json{{"feature", s.getBarDiagramFeature(type)},
                            {"enabled", enabled},
                            {"scale", scale(barScale)},
                            {"extra_lines", std::move(extra)}});
    }
    Json other = Json::object();
    for (const auto& [name, data] : s.getAllOtherSettings())
        other[name] = Json{{"enabled", data.enabled.is_enabled()}, {"value", number(data.value)}};
    gear::AddendumModificationVariant variant{};
    s.getAddendumModificationVariant(variant);
    Json flankNames = Json::object();
    for (const Side side : {Side::Left, Side::Right, Side::Both}) {
        std::string name;
        if (s.getFlankName(side, name)) flankNames[gear::Side_2_string(side)] = name;
    }
    std::string graphType;
    s.getTopographyGrahpType(graphType);
    Json header = Json::object();
    for (std::size_t i = 0; i < gear::ProtocolHeader::entryCount; ++i) {
        const auto entry = static_cast<gear::ProtocolHeader::HeaderEntry>(i);
        std::string value;
        if (s.getHeader().get(entry, &value)) header[gear::ProtocolHeader::key(entry)] = value;
    }
    return Json{
        {"outputs", std::move(outputs)},
        {"profile_diagrams", diagramsJson(s, true)},
        {"lead_diagrams", diagramsJson(s, false)},
        {"pitch_single_value_table", s.getPitchSingleValueTable()},
        {"pitch_results_overview_table", s.getPitchResultsOverviewTable()},
        {"bar_diagrams", std::move(bars)},
        {"other", std::move(other)},
        {"addendum_modification_variant", gear::AddendumModificationVariantClass(variant).getString()},
        {"flank_names", std::move(flankNames)},
        {"twist_on_separated_pages", s.getTwistOnSeparatedPages()},
        {"topography_graph", graphType},
        {"feed_mark_protocol", s.getOutputFeedmarkProtocol()},
        {"root_scan_protocol", s.getOutputRootscanProtocol()},
        {"easy_contour_results", s.getCreateEasyContourResults()},
        {"header", std::move(header)}};
}

} // namespace

Json geometryJson(const gear::CylindricalGearGeometry& geometry) {
    Json json = Json::object();
    json["kind"] = geometry.getKindOf();
    const int z = geometry.getZ();
    json["z"] = gear::isUnset(static_cast<double>(z)) ? Json(nullptr) : Json(z);
    for (const GeometryText& field : geometryTexts())
        if (hasField(geometry, field.kind) && json.find(field.name) == json.end())
            json[field.name] = field.get(geometry);
    for (const GeometryNumber& field : geometryNumbers())
        if (hasField(geometry, field.kind)) json[field.name] = number(field.get(geometry));
    Json strings = Json::object();
    for (const auto& [name, text] : userStrings(geometry))
        strings[name] = text;
    json["user_strings"] = std::move(strings);
    std::string reason;
    const bool valid = geometry.isValid(&reason);
    json["valid"] = valid;
    json["reason"] = valid ? Json(nullptr) : Json(reason);
    return json;
}

Json recordJson(const gear::Gear& gear) {
    const gear::CylindricalGearGeometry* geometry = gear.getGeometry();
    std::string reason;
    const bool valid = gear.isValid(reason);
    return Json{{"version", gear.getVersion()},
                {"geometry", geometry ? geometryJson(*geometry) : Json(nullptr)},
                {"measurements", measurementsJson(gear)},
                {"tooth_counting_clockwise", gear.isToothCountingClockwise()},
                {"settings", settingsJson(gear)},
                {"parameters", parametersJson(gear)},
                {"processing", processingJson(gear)},
                {"evaluation_ranges", rangesJson(gear)},
                {"features", featuresJson(gear)},
                {"filters", filtersJson(gear)},
                {"standard", standardJson(gear)},
                {"kcharts", kchartsJson(gear)},
                {"protocol", protocolJson(gear)},
                {"design_profiles", designProfilesJson(gear)},
                {"valid", valid},
                {"reason", valid ? Json(nullptr) : Json(reason)}};
}

} // namespace kest::gearfile
