#include "show_command.h"

#include "exit_status.h"
#include "gear_loading.h"
#include "text_format.h"

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include <CLI/CLI.hpp>

#include <array>
#include <exception>
#include <memory>
#include <ostream>
#include <string>

namespace kest::gearfile {
namespace {

using gear::CylindricalGearGeometry;
using ValueType = CylindricalGearGeometry::ValueType;

// The gear file's keyword of each module variant. The geometry keeps its table protected; this opens it for
// reading rather than writing the keywords a second time.
struct ModuleVariantKeywords : CylindricalGearGeometry {
    using CylindricalGearGeometry::ModuleVariantToString;
};

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

// This geometry class ignores the side; a derived geometry (asymmetric flanks) shows its left-flank values,
// as a plain cylindrical copy of it would hold them.
constexpr gear::Side side = gear::Side::Left;

void addGivenValues(FieldTable& table, const CylindricalGearGeometry& g) {
    table.section("given values");
    table.field(labelOf(ValueType::NumberOfTeeth), numberOfTeethText(g.getZ()));
    table.field("internal/external", gearTypeText(g.getZ()));
    table.field(labelOf(ValueType::FaceWidth), formatQuantity(g.getB(), "mm"));
    table.field(labelOf(ValueType::NormalModule), formatQuantity(g.getMN(side), "mm"));
    table.field("module variant", ModuleVariantKeywords::ModuleVariantToString(g.getModuleVariant()));
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
    for (const ValueLabel& row : valueLabels) {
        const std::string text = g.getUserString(row.value);
        if (text.empty()) continue;
        if (!any) table.section("user strings");
        any = true;
        table.field(row.label, text);
    }
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
    }
    std::string reason;
    table.field("validity", gear.isValid(reason) ? "valid" : "invalid: " + reason);
    table.print(out);
}

} // namespace

int runShow(const std::string& file, std::ostream& out, std::ostream& err) {
    const LoadedGear loaded = loadGear(file);
    if (!loaded.gear) {
        err << file << ": " << loaded.failure << '\n';
        return exitFileFailed;
    }
    // The geometry's own conversions throw C strings for values outside their tables; report, never crash.
    try {
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
    CLI::App* command = app.add_subcommand("show", "Print the geometry and the validity of a gear file");
    command->add_option("FILE", *file, "gear file (XML)")->required();
    command->footer(
        std::string("Lengths in mm, angles in degrees; \"not set\" marks a value the file leaves unset.\n"
                    "An invalid geometry is shown with its reason and still exits 0.\n") +
        exitStatusFooter);
    command->callback([file] { endCommand(runShow(*file, std::cout, std::cerr)); });
}

} // namespace kest::gearfile
