#include "nominal_command.h"

#include "exit_status.h"
#include "gear_loading.h"
#include "nominal_values.h"
#include "text_format.h"

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/nominal_value.h>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <exception>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace kest::gearfile {
namespace {

using gear::CylindricalGearGeometry;

constexpr const char* kNoGeometry = "the gear has no geometry";
constexpr std::string_view kNotAvailable = "not available: ";

using Value = NominalValues::Value;
using FlankValues = NominalValues::Flank;
using Span = NominalValues::Span;

// ---- text
// ---------------------------------------------------------------------------------------------------

std::string shown(const Value& value, std::string_view unit) {
    if (!value.available()) return std::string(kNotAvailable) + value.reason;
    return unit.empty() ? formatNumber(value.value) : formatQuantity(value.value, unit);
}

// One field for a symmetrical gear, one per flank otherwise.
void flankFields(FieldTable& table, const NominalValues& v, const std::string& label,
                 Value FlankValues::*member, std::string_view unit) {
    if (!v.perFlank) {
        table.field(label, shown(v.flanks[0].*member, unit));
        return;
    }
    table.field("left " + label, shown(v.flanks[0].*member, unit));
    table.field("right " + label, shown(v.flanks[1].*member, unit));
}

void writeText(const std::string& file, const NominalValues& v, std::ostream& out) {
    FieldTable table;
    table.field("file", file);
    table.field("geometry", v.kind);
    if (v.perFlank) {
        Value angle = v.flankOffsetAngle;
        if (angle.available()) angle.value = degrees(angle.value);
        table.field("flank offset angle", shown(angle, "deg"));
    }
    flankFields(table, v, "addendum modification x", &FlankValues::x, "");

    table.section("diameters");
    flankFields(table, v, "reference diameter d", &FlankValues::d, "mm");
    flankFields(table, v, "base diameter db", &FlankValues::db, "mm");
    flankFields(table, v, "V-circle diameter dv", &FlankValues::dv, "mm");
    table.field("tip diameter da", shown(v.da, "mm"));
    table.field("root diameter df", shown(v.df, "mm"));
    table.endSection();

    table.section("tooth thickness");
    table.field("transverse on reference circle st", shown(v.st, "mm"));
    table.field("normal on reference circle sn", shown(v.sn, "mm"));
    table.field("transverse on base circle sbt", shown(v.sbt, "mm"));
    table.field("normal on base circle sbn", shown(v.sbn, "mm"));
    table.endSection();

    table.section("span measurement");
    std::string counts;
    for (const Span& span : v.spans)
        counts += (counts.empty() ? "" : ", ") + std::to_string(span.k);
    table.field("span counts", v.spanCounts.available() ? counts : shown(v.spanCounts, ""));
    for (const Span& span : v.spans)
        table.field("base tangent length W" + std::to_string(span.k), shown(span.wk, "mm"));
    table.endSection();

    table.section("dimensions over balls and pins");
    std::string diameter = shown(v.ballDiameter, "mm");
    if (v.ballDiameter.available())
        diameter += v.ballDiameterFromFile ? " (from the file)" : " (DIN ball diameter, the file sets none)";
    table.field("ball and pin diameter", diameter);
    table.field("diametral over balls MdK", shown(v.mdk, "mm"));
    table.field("radial over balls MrK", shown(v.mrk, "mm"));
    table.field("diametral over pins MdR", shown(v.mdr, "mm"));
    table.endSection();
    table.print(out);
}

// ---- JSON
// ---------------------------------------------------------------------------------------------------

using Json = nlohmann::ordered_json;

Json toJson(const Value& value) {
    if (value.available()) return value.value;
    return Json{{"available", false}, {"reason", value.reason}};
}

Json flankJson(const FlankValues& f) {
    return Json{{"x", toJson(f.x)}, {"d", toJson(f.d)}, {"db", toJson(f.db)}, {"dv", toJson(f.dv)}};
}

void writeJson(const std::string& file, const NominalValues& v, std::ostream& out) {
    Value angle = v.flankOffsetAngle;
    if (angle.available()) angle.value = degrees(angle.value);
    Json spans = Json::array();
    for (const Span& span : v.spans)
        spans.push_back(Json{{"k", span.k}, {"Wk", toJson(span.wk)}});
    const Json document{
        {"file", file},
        {"geometry", v.kind},
        {"flank_offset_angle", toJson(angle)},
        {"flanks", {{"left", flankJson(v.flanks[0])}, {"right", flankJson(v.flanks[1])}}},
        {"da", toJson(v.da)},
        {"df", toJson(v.df)},
        {"tooth_thickness",
         {{"st", toJson(v.st)}, {"sn", toJson(v.sn)}, {"sbt", toJson(v.sbt)}, {"sbn", toJson(v.sbn)}}},
        {"spans", v.spanCounts.available() ? spans : toJson(v.spanCounts)},
        {"balls_and_pins",
         {{"diameter", toJson(v.ballDiameter)},
          {"diameter_source", v.ballDiameterFromFile ? "file" : "DIN"},
          {"MdK", toJson(v.mdk)},
          {"MrK", toJson(v.mrk)},
          {"MdR", toJson(v.mdr)}}},
    };
    out << document.dump(2) << '\n';
}

} // namespace

int runNominal(const std::string& file, bool json, std::ostream& out, std::ostream& err) {
    const LoadedGear loaded = loadGear(file);
    if (!loaded.gear) {
        err << file << ": " << loaded.failure << '\n';
        return exitFileFailed;
    }
    const CylindricalGearGeometry* geometry = loaded.gear->getGeometry();
    if (!geometry) {
        err << file << ": " << kNoGeometry << '\n';
        return exitFileFailed;
    }
    NominalValues values;
    try {
        values = computeNominal(*geometry);
    } catch (const std::exception& e) { // allocation; the library's own failures are reasons of values
        err << file << ": " << e.what() << '\n';
        return exitFileFailed;
    }
    if (json)
        writeJson(file, values, out);
    else
        writeText(file, values, out);
    return exitSuccess;
}

void addNominalCommand(CLI::App& app) {
    auto file = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    CLI::App* command = app.add_subcommand(
        "nominal",
        "Print the nominal diameters, tooth thicknesses, spans and dimensions over balls and pins");
    command->add_option("FILE", *file, "gear file (XML)")->required();
    command->add_flag("--json", *json, "Write the values as one JSON object");
    command->footer(
        std::string(
            "Lengths in mm, angles in degrees. Asymmetrical and beveloid gears show their diameters per "
            "flank.\n"
            "Tip and root diameters are those of the basic rack (addendum mn, dedendum 1.2 mn) shifted by x "
            "mn.\n"
            "The ball and pin diameter is the file's, else the DIN ball diameter.\n"
            "A value the gear cannot have reads \"not available: <reason>\"; the command still exits 0.\n"
            "--json: every value is a JSON number or, when not available, {\"available\": false, \"reason\": "
            "\"...\"}.\n"
            "Keys: file, geometry, flank_offset_angle, flanks.left/right {x, d, db, dv}, da, df,\n"
            "tooth_thickness {st, sn, sbt, sbn}, spans (a list of {k, Wk}, or the not-available object),\n"
            "balls_and_pins {diameter, diameter_source (\"file\" or \"DIN\"), MdK, MrK, MdR}.\n") +
        exitStatusFooter);
    command->callback([file, json] { endCommand(runNominal(*file, *json, std::cout, std::cerr)); });
}

} // namespace kest::gearfile
