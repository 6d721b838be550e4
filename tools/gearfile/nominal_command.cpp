#include "nominal_command.h"

#include "exit_status.h"
#include "gear_loading.h"
#include "text_format.h"

#include <kest/gear/asymmetrical_gear_geometry.h>
#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear_calculator.h>
#include <kest/gear/host/diagnostics.h>
#include <kest/gear/measurement_enums.h>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <exception>
#include <memory>
#include <numbers>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kest::gearfile {
namespace {

using gear::CylindricalGearGeometry;
using gear::GearCalculator;
using gear::Side;
using gear::unsetValue;

constexpr const char* kNoGeometry = "the gear has no geometry";
constexpr const char* kInputNotSet = "a value it needs is not set in the file";
constexpr const char* kNotFinite = "the calculation gave no finite value";
constexpr const char* kFailedSilently = "the calculation failed without a reason";
constexpr const char* kNoSpanFits = "no span count has its contact between tip and root circle";
constexpr const char* kNoBallDiameter = "no ball or pin diameter";
constexpr const char* kNoFlankOffset = "the flank offset angle is not available";
constexpr std::string_view kNotAvailable = "not available: ";

// One nominal value: a number, or the reason the gear has none.
struct Value {
    double number = unsetValue;
    std::string reason; // empty when the number is available

    bool available() const { return reason.empty(); }
};

Value unavailable(std::string reason) {
    return {unsetValue, std::move(reason)};
}

// Collects the library's reports while the values are computed, so that they become reasons instead of lines
// on stderr in the middle of the output; restores the previous sink and trace level when it ends. Some
// calculations report their failure only as a level-1 trace line, hence the raised level; finer trace lines
// are detail, never a reason, and are dropped.
class DiagnosticCapture {
public:
    DiagnosticCapture()
        : previousLevel_(host::getTraceMasterLevel())
        , previousSink_(host::setDiagnosticSink([this](const host::Diagnostic& report) {
            if (report.channel != host::DiagnosticChannel::Trace || report.level <= 1)
                reports_.emplace_back(report.message);
        })) {
        if (previousLevel_ < 1) host::setTraceMasterLevel(1);
    }
    ~DiagnosticCapture() {
        host::setTraceMasterLevel(previousLevel_);
        host::setDiagnosticSink(std::move(previousSink_));
    }
    DiagnosticCapture(const DiagnosticCapture&) = delete;
    DiagnosticCapture& operator=(const DiagnosticCapture&) = delete;

    // The reports since the last call.
    std::vector<std::string> take() { return std::exchange(reports_, {}); }

private:
    std::vector<std::string> reports_;
    int previousLevel_;
    host::DiagnosticSink previousSink_;
};

// A report of the calculator reads "GearCalculator::<operation>: <reason>"; the operation is the tool's
// business, not the reader's.
std::string reasonOf(std::string_view report) {
    constexpr std::string_view calculatorPrefix = "GearCalculator::";
    if (report.starts_with(calculatorPrefix)) {
        const std::size_t colon = report.find(": ");
        if (colon != std::string_view::npos) report.remove_prefix(colon + 2);
    }
    return report.empty() ? kFailedSilently : std::string(report);
}

// Runs one calculation. The library signals a value it cannot give by a thrown message text, or by the unset
// value after a report (a refusal, a logged failure), or by the unset value alone when an input is missing;
// `unsetReason` names the last case. Reports made by a calculation that succeeds are dropped.
template <typename Compute>
Value evaluate(DiagnosticCapture& capture, Compute&& compute, const char* unsetReason = kInputNotSet) {
    capture.take();
    double number = unsetValue;
    try {
        number = compute();
    } catch (const char* message) {
        capture.take();
        return unavailable(message && *message ? message : kFailedSilently);
    }
    const std::vector<std::string> reports = capture.take();
    if (gear::isUnset(number)) return unavailable(reports.empty() ? unsetReason : reasonOf(reports.back()));
    if (!std::isfinite(number)) return unavailable(kNotFinite);
    return {number, {}};
}

struct FlankValues {
    Value x;  // addendum modification coefficient
    Value d;  // reference diameter
    Value db; // base diameter
    Value dv; // V-circle diameter
};

struct Span {
    unsigned int k;
    Value wk;
};

struct NominalValues {
    std::string kind;
    bool perFlank = false;             // the flanks have values of their own
    Value flankOffsetAngle;            // radians
    std::array<FlankValues, 2> flanks; // Left, Right
    Value da, df;
    Value st, sn, sbt, sbn;
    Value spanCounts; // the number of span counts, or why there are none
    std::vector<Span> spans;
    Value ballDiameter;
    bool ballDiameterFromFile = false;
    Value mdk, mrk, mdr;
};

NominalValues computeNominal(const CylindricalGearGeometry& g) {
    DiagnosticCapture capture;
    NominalValues v;
    v.kind = g.getKindOf();
    v.perFlank = g.testKindOf(gear::AsymmetricalGearGeometry::isKindOf(), false);
    v.flankOffsetAngle = evaluate(capture, [&] { return g.getNominalFlankOffsetAngle(); });
    // The calculator takes an unset offset for 0, which would misplace the flanks of an asymmetrical gear:
    // the values that depend on it are withheld instead.
    const double phi0 = v.flankOffsetAngle.available() ? v.flankOffsetAngle.number : unsetValue;
    const auto withOffset = [&](Value value) {
        return value.available() && !v.flankOffsetAngle.available() ? unavailable(kNoFlankOffset) : value;
    };

    for (const Side side : {Side::Left, Side::Right}) {
        FlankValues& f = v.flanks[side == Side::Left ? 0 : 1];
        f.x = evaluate(capture, [&] { return g.getX(side); });
        f.d = evaluate(capture, [&] { return g.getD(side, false); });
        f.db = evaluate(capture, [&] { return g.getDB(side, false); });
        f.dv = evaluate(capture, [&] { return g.getDV(side, false); });
    }

    const GearCalculator calculator(&g);
    v.da = evaluate(capture, [&] { return calculator.getNominal_da(); });
    v.df = evaluate(capture, [&] { return calculator.getNominal_df(); });

    // The symmetrical values take the left flank's coefficient; the ball dimensions take each flank's own.
    const double x = g.getX(Side::Left);
    v.st = withOffset(evaluate(capture, [&] { return calculator.getNominal_St(x, phi0); }));
    v.sn = withOffset(evaluate(capture, [&] { return calculator.getNominal_Sn(x, phi0); }));
    v.sbt = withOffset(evaluate(capture, [&] { return calculator.getNominal_Sbt(x, phi0); }));
    v.sbn = withOffset(evaluate(capture, [&] { return calculator.getNominal_Sbn(x, phi0); }));

    std::vector<unsigned int> counts;
    const bool tipAndRootSet = !gear::isUnset(g.getDA()) && !gear::isUnset(g.getDF());
    v.spanCounts = withOffset(evaluate(
        capture,
        [&] {
            counts = calculator.getWkSpanTeethList(x, phi0);
            return counts.empty() ? unsetValue : static_cast<double>(counts.size());
        },
        tipAndRootSet ? kNoSpanFits : kInputNotSet));
    if (v.spanCounts.available())
        for (const unsigned int k : counts)
            v.spans.push_back({k, evaluate(capture, [&] { return calculator.getNominal_Wk(k, x, phi0); })});

    const double dM = g.getDM();
    v.ballDiameterFromFile = !gear::isUnset(dM);
    v.ballDiameter = v.ballDiameterFromFile
                         ? Value{dM, {}}
                         : evaluate(capture, [&] { return g.getDINBallDiameter(Side::Left, x); });
    if (!v.ballDiameter.available()) {
        v.mdk = v.mrk = v.mdr = unavailable(kNoBallDiameter);
        return v;
    }
    const double dK = v.ballDiameter.number;
    const double xL = g.getX(Side::Left);
    const double xR = g.getX(Side::Right);
    v.mdk = withOffset(evaluate(capture, [&] { return calculator.getNominal_MdK(xL, xR, dK, 0.0, phi0); }));
    v.mrk = withOffset(evaluate(capture, [&] { return calculator.getNominal_MrK(xL, xR, dK, 0.0, phi0); }));
    v.mdr = withOffset(evaluate(capture, [&] { return calculator.getNominal_MdR(x, dK, phi0); }));
    return v;
}

double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

// ---- text
// ---------------------------------------------------------------------------------------------------

std::string shown(const Value& value, std::string_view unit) {
    if (!value.available()) return std::string(kNotAvailable) + value.reason;
    return unit.empty() ? formatNumber(value.number) : formatQuantity(value.number, unit);
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
        if (angle.available()) angle.number = degrees(angle.number);
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
    if (value.available()) return value.number;
    return Json{{"available", false}, {"reason", value.reason}};
}

Json flankJson(const FlankValues& f) {
    return Json{{"x", toJson(f.x)}, {"d", toJson(f.d)}, {"db", toJson(f.db)}, {"dv", toJson(f.dv)}};
}

void writeJson(const std::string& file, const NominalValues& v, std::ostream& out) {
    Value angle = v.flankOffsetAngle;
    if (angle.available()) angle.number = degrees(angle.number);
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
