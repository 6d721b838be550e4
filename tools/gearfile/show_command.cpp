#include "show_command.h"

#include "evaluation_report.h"
#include "exit_status.h"
#include "gear_loading.h"
#include "measurement_report.h"
#include "record_json.h"
#include "record_report.h"
#include "standard_report.h"
#include "text_format.h"

#include <kest/gear/asymmetrical_gear_geometry.h>
#include <kest/gear/beveloid_gear_geometry.h>
#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include <CLI/CLI.hpp>

#include <array>
#include <exception>
#include <memory>
#include <numbers>
#include <ostream>
#include <string>

namespace kest::gearfile {
namespace {

using gear::AsymmetricalGearGeometry;
using gear::BeveloidGearGeometry;
using gear::CylindricalGearGeometry;
using ValueType = CylindricalGearGeometry::ValueType;
using RightValueType = AsymmetricalGearGeometry::ValueType;
using ConeValueType = BeveloidGearGeometry::ValueType;

// Every value that can carry a user string, with the label under which the report shows it; the given values
// and their user strings share these labels.
struct ValueLabel {
    ValueType value;
    const char* label;
};
constexpr std::array valueLabels{
    ValueLabel{ValueType::NumberOfTeeth, "number of teeth"},
    ValueLabel{ValueType::FaceWidth, "face width"},
    ValueLabel{ValueType::NormalModule, "normal module"},
    ValueLabel{ValueType::HelixAngle, "helix angle"},
    ValueLabel{ValueType::NormalPressureAngle, "normal pressure angle"},
    ValueLabel{ValueType::AddendumModification, "addendum modification x"},
    ValueLabel{ValueType::TipDiameter, "tip diameter"},
    ValueLabel{ValueType::RootDiameter, "root diameter"},
    ValueLabel{ValueType::BallDiameter, "ball diameter"},
};

// The right flank's values and the cone's reference values, labelled for the report and its user strings.
template <typename V>
struct OtherValueLabel {
    V value;
    const char* label;
};
constexpr std::array rightValueLabels{
    OtherValueLabel<RightValueType>{RightValueType::RightNormalModule, "normal module"},
    OtherValueLabel<RightValueType>{RightValueType::RightHelixAngle, "helix angle"},
    OtherValueLabel<RightValueType>{RightValueType::RightNormalPressureAngle, "normal pressure angle"},
    OtherValueLabel<RightValueType>{RightValueType::RightAddendumModification, "addendum modification x"},
};
constexpr std::array coneValueLabels{
    OtherValueLabel<ConeValueType>{ConeValueType::ConeAngle, "cone angle"},
    OtherValueLabel<ConeValueType>{ConeValueType::ReferenceHelixAngle, "reference helix angle"},
    OtherValueLabel<ConeValueType>{ConeValueType::LeftReferencePressureAngle,
                                   "left reference pressure angle"},
    OtherValueLabel<ConeValueType>{ConeValueType::RightReferencePressureAngle,
                                   "right reference pressure angle"},
};

template <typename Labels, typename V>
std::string labelIn(const Labels& labels, V value) {
    for (const auto& row : labels)
        if (row.value == value) return row.label;
    return {}; // every enumerator has a row
}

std::string labelOf(ValueType value) {
    for (const ValueLabel& row : valueLabels)
        if (row.value == value) return row.label;
    return {}; // every enumerator has a row
}

std::string gearTypeText(int z) {
    if (z > 0) return "external";
    if (z < 0) return "internal";
    return std::string(notSetText);
}

std::string numberOfTeethText(int z) {
    // The reader truncates the file's double, so an unset number of teeth arrives as the unset value.
    if (gear::isUnset(static_cast<double>(z))) return std::string(notSetText);
    return std::to_string(z);
}

// The given and derived values are the left flank's: the only flank of a cylindrical gear, the one the base
// class holds for the others. An asymmetrical geometry's right flank follows in a section of its own.
constexpr gear::Side side = gear::Side::Left;

void addGivenValues(FieldTable& table, const CylindricalGearGeometry& g) {
    table.section("given values");
    table.field(labelOf(ValueType::NumberOfTeeth), numberOfTeethText(g.getZ()));
    table.field("internal/external", gearTypeText(g.getZ()));
    table.field(labelOf(ValueType::FaceWidth), formatQuantity(g.getB(), "mm"));
    table.field(labelOf(ValueType::NormalModule), formatQuantity(g.getMN(side), "mm"));
    table.field("module variant", CylindricalGearGeometry::ModuleVariantToString(g.getModuleVariant()));
    table.field(labelOf(ValueType::HelixAngle), formatQuantity(g.getBetaDeg(side, false), "deg"));
    table.field("helix direction",
                CylindricalGearGeometry::FlankDirection_2_string(g.getFlankDirection(side)));
    table.field(labelOf(ValueType::NormalPressureAngle), formatQuantity(g.getAlphaNDeg(side), "deg"));
    table.field(labelOf(ValueType::AddendumModification), formatNumber(g.getX(side)));
    table.field("addendum modification variant", g.getAddendumModificationVariant().getString());
    table.field(labelOf(ValueType::TipDiameter), formatQuantity(g.getDA(), "mm"));
    table.field(labelOf(ValueType::RootDiameter), formatQuantity(g.getDF(), "mm"));
    table.field(labelOf(ValueType::BallDiameter), formatQuantity(g.getDM(), "mm"));
    table.endSection();
}

void addUserStrings(FieldTable& table, const CylindricalGearGeometry& g) {
    bool any = false;
    const auto add = [&](const std::string& label, const std::string& text) {
        if (text.empty()) return;
        if (!any) table.section("user strings");
        any = true;
        table.field(label, text);
    };
    for (const ValueLabel& row : valueLabels)
        add(row.label, g.getUserString(row.value));
    if (const auto* asymmetrical = dynamic_cast<const AsymmetricalGearGeometry*>(&g))
        for (const auto& row : rightValueLabels)
            add(std::string("right ") + row.label, asymmetrical->getUserString(row.value));
    if (const auto* beveloid = dynamic_cast<const BeveloidGearGeometry*>(&g))
        for (const auto& row : coneValueLabels)
            add(row.label, beveloid->getUserString(row.value));
    if (any) table.endSection();
}

// Diameters are shown as magnitudes: the internal/external line already carries the sign of the gear.
void addDerivedValues(FieldTable& table, const CylindricalGearGeometry& g) {
    table.section("derived values");
    table.field("reference diameter d", formatQuantity(g.getD(side, false), "mm"));
    table.field("base diameter db", formatQuantity(g.getDB(side, false), "mm"));
    table.field("V-circle diameter dv", formatQuantity(g.getDV(side, false), "mm"));
    table.field("profile shift x*mn", formatQuantity(g.getXValue(side), "mm"));
    table.field("transverse module mt",
                formatQuantity(g.getM(side, CylindricalGearGeometry::ModuleVariant::Transverse), "mm"));
    table.endSection();
}

// The right flank as the left one is shown above, with its own derived diameters.
void addRightFlank(FieldTable& table, const AsymmetricalGearGeometry& g) {
    constexpr gear::Side right = gear::Side::Right;
    table.section("right flank");
    table.field(labelIn(rightValueLabels, RightValueType::RightNormalModule),
                formatQuantity(g.getMN(right), "mm"));
    table.field("module variant", CylindricalGearGeometry::ModuleVariantToString(g.getRightModuleVariant()));
    table.field(labelIn(rightValueLabels, RightValueType::RightHelixAngle),
                formatQuantity(g.getBetaDeg(right, false), "deg"));
    table.field("helix direction",
                CylindricalGearGeometry::FlankDirection_2_string(g.getFlankDirection(right)));
    table.field(labelIn(rightValueLabels, RightValueType::RightNormalPressureAngle),
                formatQuantity(g.getAlphaNDeg(right), "deg"));
    table.field(labelIn(rightValueLabels, RightValueType::RightAddendumModification),
                formatNumber(g.getX(right)));
    table.field("reference diameter d", formatQuantity(g.getD(right, false), "mm"));
    table.field("base diameter db", formatQuantity(g.getDB(right, false), "mm"));
    table.field("V-circle diameter dv", formatQuantity(g.getDV(right, false), "mm"));
    table.endSection();

    using Variant = AsymmetricalGearGeometry::AsymmetryVariant;
    Variant variant = Variant::None;
    double value = 0.0, height = 0.0, parameter = 0.0;
    gear::Reference reference{};
    g.getAsymmetryVariant(&variant, &value, &height, &reference, &parameter);
    table.section("asymmetry");
    table.field("variant", g.getAsymmetryVariantString());
    if (variant != Variant::None) {
        table.field("measured value", formatQuantity(value, "mm"));
        table.field("height",
                    formatQuantity(height, "mm") + " (" + gear::Reference_2_string(reference) + ")");
        table.field(variant == Variant::Syt ? "measuring diameter" : "ball diameter",
                    formatQuantity(parameter, "mm"));
    }
    const double offset = g.getNominalFlankOffsetAngle();
    table.field("flank offset angle",
                formatQuantity(gear::isUnset(offset) ? offset : offset * 180.0 / std::numbers::pi, "deg"));
    table.endSection();
}

// The cone's reference values and what they give each flank.
void addCone(FieldTable& table, const BeveloidGearGeometry& g) {
    using gear::Side;
    table.section("cone");
    table.field(labelIn(coneValueLabels, ConeValueType::ConeAngle),
                formatQuantity(g.getDelta_Ref(false), "deg"));
    table.field(labelIn(coneValueLabels, ConeValueType::ReferenceHelixAngle),
                formatQuantity(g.getBeta_Ref(false, false), "deg"));
    table.field("reference helix direction",
                CylindricalGearGeometry::FlankDirection_2_string(g.getBeta_Ref_direction()));
    table.field(labelIn(coneValueLabels, ConeValueType::LeftReferencePressureAngle),
                formatQuantity(g.getAlphaN_Ref(Side::Left, false), "deg"));
    table.field(labelIn(coneValueLabels, ConeValueType::RightReferencePressureAngle),
                formatQuantity(g.getAlphaN_Ref(Side::Right, false), "deg"));
    table.field("cone angle from the flanks", formatQuantity(g.getDelta_Calc(false), "deg"));
    for (const Side flankSide : {Side::Left, Side::Right}) {
        const std::string flank = flankSide == Side::Left ? "left " : "right ";
        table.field(flank + "effective helix angle",
                    formatQuantity(g.getBeta_Calc(flankSide, true, false), "deg"));
        table.field(flank + "effective normal pressure angle",
                    formatQuantity(g.getAlphaN_Calc(flankSide, false), "deg"));
        table.field(flank + "effective normal module", formatQuantity(g.getMN_Calc(flankSide), "mm"));
    }
    table.endSection();
}

void writeReport(const std::string& file, const gear::Gear& gear, std::ostream& out) {
    FieldTable table;
    table.field("file", file);
    table.field("version stamp", gear.getVersion());
    const CylindricalGearGeometry* geometry = gear.getGeometry();
    table.field("geometry", geometry ? geometry->getKindOf() : "none");
    if (geometry) {
        addGivenValues(table, *geometry);
        addUserStrings(table, *geometry);
        addDerivedValues(table, *geometry);
        if (const auto* asymmetrical = dynamic_cast<const AsymmetricalGearGeometry*>(geometry))
            addRightFlank(table, *asymmetrical);
        if (const auto* beveloid = dynamic_cast<const BeveloidGearGeometry*>(geometry))
            addCone(table, *beveloid);
    }
    addMeasurementSections(table, gear);
    addEvaluationSections(table, gear);
    addStandardSections(table, gear);
    addDesignProfileSection(table, gear);
    addProcessingSections(table, gear);
    addProtocolSections(table, gear);
    std::string reason;
    table.field("validity", gear.isValid(reason) ? "valid" : "invalid: " + reason);
    table.print(out);
}

} // namespace

int runShow(const std::string& file, bool json, std::ostream& out, std::ostream& err) {
    const LoadedGear loaded = loadGear(file);
    if (!loaded.gear) {
        err << file << ": " << loaded.failure << '\n';
        return exitFileFailed;
    }
    // The geometry's own conversions throw C strings for values outside their tables; report, never crash.
    try {
        if (json)
            out << recordJson(*loaded.gear).dump(2) << '\n';
        else
            writeReport(file, *loaded.gear, out);
    } catch (const char* message) {
        err << file << ": " << (message ? message : "cannot show the gear") << '\n';
        return exitFileFailed;
    } catch (const std::exception& e) {
        err << file << ": " << e.what() << '\n';
        return exitFileFailed;
    }
    return exitSuccess;
}

void addShowCommand(CLI::App& app) {
    auto file = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    CLI::App* command = app.add_subcommand("show", "Print every section of a gear file and its validity");
    command->add_option("FILE", *file, "gear file (XML)")->required();
    command->add_flag("--json", *json, "Write the whole record as one JSON document");
    command->footer(
        std::string("Lengths in mm, angles in degrees; \"not set\" marks a value the file leaves unset.\n"
                    "An invalid geometry is shown with its reason and still exits 0.\n"
                    "--json: snake_case keys, the names of the Python module's objects; a value the file "
                    "leaves unset is null.\n") +
        exitStatusFooter);
    command->callback([file, json] { endCommand(runShow(*file, *json, std::cout, std::cerr)); });
}

} // namespace kest::gearfile
