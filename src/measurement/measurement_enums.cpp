#include <kest/gear/measurement_enums.h>

#include "util/enum_table.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <iterator>
#include <string_view>

namespace kest::gear {
namespace {

using Unit = host::CNamedObject::Unit;

// Which kind of measured line a measurement type, reference or range type belongs to.
enum class Line { Profile, Lead, None };

// Every conversion below walks one of these tables; a row holds a value with all of its forms, so that no
// form can be added in one direction and forgotten in the other. The row order is the order of the value
// lists.

struct MeasurementTypeRow {
    Measurement_Type value;
    std::string_view text;
    int constant;
    Line line;        // profile-like or lead-like for locating evaluation ranges
    bool namedRanges; // carries range types in the text and constant forms (roughness does not)
};

constexpr std::array kMeasurementTypes{
    MeasurementTypeRow{Measurement_Type::Profile, "profile", 1, Line::Profile, true},
    MeasurementTypeRow{Measurement_Type::Lead, "lead", 2, Line::Lead, true},
    MeasurementTypeRow{Measurement_Type::Pitch, "pitch", 3, Line::None, false},
    MeasurementTypeRow{Measurement_Type::RootCircle, "root_circle", 4, Line::None, false},
    MeasurementTypeRow{Measurement_Type::TipCircle, "tip_circle", 5, Line::None, false},
    MeasurementTypeRow{Measurement_Type::RoughnessProfile, "roughness_profile", 6, Line::Profile, false},
    MeasurementTypeRow{Measurement_Type::RoughnessLead, "roughness_lead", 7, Line::Lead, false},
    MeasurementTypeRow{Measurement_Type::RootScan, "root_scan", 8, Line::None, false},
    MeasurementTypeRow{Measurement_Type::FeedMark, "feed_mark", 9, Line::None, false},
    MeasurementTypeRow{Measurement_Type::TopographyProfile, "topography_profile", 10, Line::Profile, true},
    MeasurementTypeRow{Measurement_Type::TopographyLead, "topography_lead", 11, Line::Lead, true},
    // The misspelling is the keyword existing gear files carry.
    MeasurementTypeRow{Measurement_Type::CReference, "c_refence", 12, Line::None, false},
};
constexpr const char* kWrongMeasurementType = "wrong type";
constexpr const char* kUnknownMeasurementType = "unknown measurement type";
constexpr const char* kUnknownMeasurementTypeConstant = "unknown constant for measurement type";

template <typename E, typename C>
using Row = enum_table::Row<E, C>;

constexpr std::array kSides{
    Row<Side, int>{Side::Left, "left", -1},
    Row<Side, int>{Side::Right, "right", 1},
    Row<Side, int>{Side::Both, "both", 3},
};
constexpr const char* kWrongSide = "wrong side";
constexpr const char* kUnknownSide = "unknown side";
constexpr const char* kUnknownSideConstant = "unknown constant for side";

struct ReferenceRow {
    Reference value;
    std::string_view text;
    long constant;
    Line line;
    bool percentBased;
    Unit unit;
};

constexpr std::array kReferences{
    ReferenceRow{Reference::Diameter, "diameter", 3, Line::Profile, false, Unit::Length},
    ReferenceRow{Reference::RollingPath, "rolling path", 1, Line::Profile, false, Unit::Length},
    ReferenceRow{Reference::RollingAngle, "rolling angle", 2, Line::Profile, false, Unit::Angle},
    ReferenceRow{Reference::Percent, "percent", 4, Line::Profile, true, Unit::Percent},
    ReferenceRow{Reference::VCircleDiameter, "V-circle diameter", 5, Line::Profile, false, Unit::Length},
    ReferenceRow{Reference::ReferenceDiameter, "reference diameter", 6, Line::Profile, false, Unit::Length},
    ReferenceRow{Reference::PercentDatumToNonDatum, "percent datum to non-datum", 7, Line::Lead, true,
                 Unit::Percent},
    ReferenceRow{Reference::PercentNonDatumToDatum, "percent non-datum to datum", 8, Line::Lead, true,
                 Unit::Percent},
    ReferenceRow{Reference::LengthDatumToNonDatum, "length datum to non-datum", 9, Line::Lead, false,
                 Unit::Length},
    ReferenceRow{Reference::LengthNonDatumToDatum, "length non-datum to datum", 10, Line::Lead, false,
                 Unit::Length},
};
constexpr const char* kUnknownReference = "unknown reference";
constexpr const char* kUnknownReferenceConstant = "unknown constant for reference";

struct RangeTypeRow {
    RangeType value;
    std::string_view text;
    unsigned int constant; // a single bit, so that callers can build masks; Unspecified has none (0)
    Line line;
};

// Rows of one kind stay together: the profile and lead ranges are handed out as slices of this table.
constexpr std::array kRangeTypes{
    RangeTypeRow{RangeType::Root, "root", 1, Line::Profile},
    RangeTypeRow{RangeType::Main, "main", 2, Line::Profile},
    RangeTypeRow{RangeType::Tip, "tip", 4, Line::Profile},
    RangeTypeRow{RangeType::NonDatumSide, "non-datum side", 8, Line::Lead},
    RangeTypeRow{RangeType::Middle, "middle", 16, Line::Lead},
    RangeTypeRow{RangeType::DatumSide, "datum side", 32, Line::Lead},
    RangeTypeRow{RangeType::Unspecified, "unspecified", 0, Line::None},
};
constexpr const char* kUnknownProfileRangeType = "unknown profile range type";
constexpr const char* kUnknownProfileRangeTypeConstant = "unknown constant for profile range type";
constexpr const char* kUnknownLeadRangeType = "unknown lead range type";
constexpr const char* kUnknownLeadRangeTypeConstant = "unknown constant for lead range type";
constexpr const char* kUnknownRangeType = "unknown range type";
constexpr const char* kUnknownRangeTypeConstant = "unknown constant for range type";

struct EvaluationRangeRow {
    EvaluationRangeType value;
    RangeType onProfile;
    RangeType onLead;
};

constexpr std::array kEvaluationRanges{
    EvaluationRangeRow{EvaluationRangeType::First, RangeType::Root, RangeType::NonDatumSide},
    EvaluationRangeRow{EvaluationRangeType::Middle, RangeType::Main, RangeType::Middle},
    EvaluationRangeRow{EvaluationRangeType::Last, RangeType::Tip, RangeType::DatumSide},
};

constexpr std::array kAlignments{
    Row<Alignment, unsigned int>{Alignment::ToMaterial, "to material", 0},
    Row<Alignment, unsigned int>{Alignment::FromMaterial, "from material", 1},
    Row<Alignment, unsigned int>{Alignment::Centered, "centered", 2},
};
constexpr const char* kUnknownAlignment = "unknown alignment";
constexpr const char* kUnknownAlignmentConstant = "unknown constant for alignment";

constexpr std::array kMaterials{
    Row<Material, unsigned int>{Material::Inside, "inside", 0},
    Row<Material, unsigned int>{Material::Outside, "outside", 1},
    Row<Material, unsigned int>{Material::BothSides, "both sides", 2},
};
constexpr const char* kUnknownMaterial = "unknown material";
constexpr const char* kUnknownMaterialConstant = "unknown constant for material";

constexpr std::array kRegressionTypes{
    Row<RegressionType, unsigned int>{RegressionType::Line, "line", 1},
    Row<RegressionType, unsigned int>{RegressionType::Parabola, "parabola", 2},
    Row<RegressionType, unsigned int>{RegressionType::ContinuousParabola, "continuous parabola", 3},
};
constexpr const char* kUnknownRegressionType = "unknown regression type";
constexpr const char* kUnknownRegressionTypeConstant = "unknown constant for regression type";

constexpr std::array kEvaluationOutsideRanges{
    Row<EvaluationOutsideRange, unsigned int>{EvaluationOutsideRange::Off, "off", 0},
    Row<EvaluationOutsideRange, unsigned int>{EvaluationOutsideRange::Up, "up", 1},
    Row<EvaluationOutsideRange, unsigned int>{EvaluationOutsideRange::Down, "down", 2},
    Row<EvaluationOutsideRange, unsigned int>{EvaluationOutsideRange::On, "on", 3},
};
constexpr const char* kWrongEvaluationOutsideRange = "unknown evaluation_outside_range";
constexpr const char* kUnknownEvaluationOutsideRange = "unknown EvaluationOutsideRange";
constexpr const char* kUnknownEvaluationOutsideRangeConstant = "unknown constant for EvaluationOutsideRange";

using enum_table::fromConstant;
using enum_table::fromText;
using enum_table::toConstant;
using enum_table::toText;
using enum_table::valuesOf;

constexpr std::span<const RangeTypeRow> rangeTypesOn(Line line) {
    const auto first = std::ranges::find(kRangeTypes, line, &RangeTypeRow::line);
    const auto last =
        std::find_if(first, kRangeTypes.end(), [line](const RangeTypeRow& r) { return r.line != line; });
    return {first, last};
}

constexpr auto kProfileRanges = rangeTypesOn(Line::Profile);
constexpr auto kLeadRanges = rangeTypesOn(Line::Lead);
static_assert(kProfileRanges.size() == 3 &&
              std::ranges::count(kRangeTypes, Line::Profile, &RangeTypeRow::line) == 3);
static_assert(kLeadRanges.size() == 3 &&
              std::ranges::count(kRangeTypes, Line::Lead, &RangeTypeRow::line) == 3);

constexpr auto kMeasurementTypeValues = valuesOf(kMeasurementTypes);
constexpr auto kSideValues = valuesOf(kSides);
constexpr auto kReferenceValues = valuesOf(kReferences);
constexpr auto kProfileRangeValues = valuesOf<kProfileRanges.size()>(kProfileRanges);
constexpr auto kLeadRangeValues = valuesOf<kLeadRanges.size()>(kLeadRanges);
constexpr auto kRangeTypeValues = valuesOf(kRangeTypes);
constexpr auto kAlignmentValues = valuesOf(kAlignments);
constexpr auto kMaterialValues = valuesOf(kMaterials);
constexpr auto kRegressionTypeValues = valuesOf(kRegressionTypes);
constexpr auto kEvaluationOutsideRangeValues = valuesOf(kEvaluationOutsideRanges);

// The line whose named range types a measurement type carries; None when it carries none.
Line namedRangeLine(Measurement_Type type) {
    const auto* row = enum_table::byValue(kMeasurementTypes, type);
    return row != nullptr && row->namedRanges ? row->line : Line::None;
}

} // namespace

std::string Measurement_Type_2_string(Measurement_Type type) {
    return toText(kMeasurementTypes, type, kWrongMeasurementType);
}
bool string_2_Measurement_Type(std::string_view text, Measurement_Type* out) {
    return fromText(kMeasurementTypes, text, out);
}
std::string Side_2_string(Side side) {
    return toText(kSides, side, kWrongSide);
}
bool string_2_Side(std::string_view text, Side* out) {
    return fromText(kSides, text, out);
}
std::string Reference_2_string(Reference reference) {
    return toText(kReferences, reference, kUnknownReference);
}
bool string_2_Reference(std::string_view text, Reference* out) {
    return fromText(kReferences, text, out);
}
std::string ProfileRangeType_2_string(RangeType range) {
    return toText(kProfileRanges, range, kUnknownProfileRangeType);
}
bool string_2_ProfileRangeType(std::string_view text, RangeType* out) {
    return fromText(kProfileRanges, text, out);
}
std::string LeadRangeType_2_string(RangeType range) {
    return toText(kLeadRanges, range, kUnknownLeadRangeType);
}
bool string_2_LeadRangeType(std::string_view text, RangeType* out) {
    return fromText(kLeadRanges, text, out);
}

std::string RangeType_2_string(Measurement_Type type, RangeType range) {
    switch (namedRangeLine(type)) {
    case Line::Profile:
        return ProfileRangeType_2_string(range);
    case Line::Lead:
        return LeadRangeType_2_string(range);
    case Line::None:
        break;
    }
    throw kUnknownRangeType;
}

bool string_2_RangeType(std::string_view text, RangeType* out) {
    return fromText(kRangeTypes, text, out);
}
std::string alignment_2_string(Alignment alignment) {
    return toText(kAlignments, alignment, kUnknownAlignment);
}
bool string_2_alignment(std::string_view text, Alignment* out) {
    return fromText(kAlignments, text, out);
}
std::string material_2_string(Material material) {
    return toText(kMaterials, material, kUnknownMaterial);
}
bool string_2_material(std::string_view text, Material* out) {
    return fromText(kMaterials, text, out);
}
std::string regressionType_2_string(RegressionType type) {
    return toText(kRegressionTypes, type, kUnknownRegressionType);
}
bool string_2_regressionType(std::string_view text, RegressionType* out) {
    return fromText(kRegressionTypes, text, out);
}
std::string EvaluationOutsideRange_2_string(EvaluationOutsideRange mode) {
    return toText(kEvaluationOutsideRanges, mode, kWrongEvaluationOutsideRange);
}
bool string_2_EvaluationOutsideRange(std::string_view text, EvaluationOutsideRange* out) {
    return fromText(kEvaluationOutsideRanges, text, out);
}

int measurement_Type_2_constant(Measurement_Type type) {
    return toConstant(kMeasurementTypes, type, kUnknownMeasurementType);
}
Measurement_Type constant_2_measurement_Type(unsigned int constant) {
    return fromConstant(kMeasurementTypes, static_cast<int>(constant), kUnknownMeasurementTypeConstant);
}
int side_2_constant(Side side) {
    return toConstant(kSides, side, kUnknownSide);
}
// The unsigned all-ones pattern reads back as -1, Left.
Side constant_2_side(unsigned int constant) {
    return fromConstant(kSides, static_cast<int>(constant), kUnknownSideConstant);
}
long reference_2_constant(Reference reference) {
    return toConstant(kReferences, reference, kUnknownReference);
}
Reference constant_2_reference(long constant) {
    return fromConstant(kReferences, constant, kUnknownReferenceConstant);
}
unsigned int profileRangeType_2_constant(RangeType range) {
    return toConstant(kProfileRanges, range, kUnknownProfileRangeType);
}
RangeType constant_2_profileRangeType(unsigned int constant) {
    return fromConstant(kProfileRanges, constant, kUnknownProfileRangeTypeConstant);
}
unsigned int leadRangeType_2_constant(RangeType range) {
    return toConstant(kLeadRanges, range, kUnknownLeadRangeType);
}
RangeType constant_2_leadRangeType(unsigned int constant) {
    return fromConstant(kLeadRanges, constant, kUnknownLeadRangeTypeConstant);
}

unsigned int rangeType_2_constant(Measurement_Type type, RangeType range) {
    switch (namedRangeLine(type)) {
    case Line::Profile:
        return profileRangeType_2_constant(range);
    case Line::Lead:
        return leadRangeType_2_constant(range);
    case Line::None:
        break;
    }
    throw kUnknownRangeType;
}

RangeType constant_2_rangeType(unsigned int constant) {
    // Only the profile and lead slices: the placeholder of Unspecified must not read back.
    for (const auto rows : {kProfileRanges, kLeadRanges})
        if (const auto* row = enum_table::byConstant(rows, constant)) return row->value;
    throw kUnknownRangeTypeConstant;
}

unsigned int alignment_2_constant(Alignment alignment) {
    return toConstant(kAlignments, alignment, kUnknownAlignment);
}
Alignment constant_2_alignment(unsigned int constant) {
    return fromConstant(kAlignments, constant, kUnknownAlignmentConstant);
}
unsigned int material_2_constant(Material material) {
    return toConstant(kMaterials, material, kUnknownMaterial);
}
Material constant_2_material(unsigned int constant) {
    return fromConstant(kMaterials, constant, kUnknownMaterialConstant);
}
unsigned int regressionType_2_constant(RegressionType type) {
    return toConstant(kRegressionTypes, type, kUnknownRegressionType);
}
RegressionType constant_2_regressionType(unsigned int constant) {
    return fromConstant(kRegressionTypes, constant, kUnknownRegressionTypeConstant);
}
unsigned int EvaluationOutsideRange_2_constant(EvaluationOutsideRange mode) {
    return toConstant(kEvaluationOutsideRanges, mode, kUnknownEvaluationOutsideRange);
}
EvaluationOutsideRange constant_2_EvaluationOutsideRange(unsigned int constant) {
    return fromConstant(kEvaluationOutsideRanges, constant, kUnknownEvaluationOutsideRangeConstant);
}

bool isProfileReference(Reference reference) {
    const auto* row = enum_table::byValue(kReferences, reference);
    return row != nullptr && row->line == Line::Profile;
}
bool isLeadReference(Reference reference) {
    const auto* row = enum_table::byValue(kReferences, reference);
    return row != nullptr && row->line == Line::Lead;
}
bool isPercentBasedReference(Reference reference) {
    const auto* row = enum_table::byValue(kReferences, reference);
    return row != nullptr && row->percentBased;
}
host::CNamedObject::Unit reference_2_unit(Reference reference) {
    const auto* row = enum_table::byValue(kReferences, reference);
    if (row == nullptr) throw kUnknownReference;
    return row->unit;
}

RangeType EvaluationRangeType2RangeType(const Measurement_Type& type, const EvaluationRangeType& item) {
    const auto* measurement = enum_table::byValue(kMeasurementTypes, type);
    const auto* position = enum_table::byValue(kEvaluationRanges, item);
    if (measurement == nullptr || position == nullptr) return RangeType::Unspecified;
    switch (measurement->line) {
    case Line::Profile:
        return position->onProfile;
    case Line::Lead:
        return position->onLead;
    case Line::None:
        break;
    }
    return RangeType::Unspecified;
}

std::span<const Measurement_Type> allMeasurementTypes() {
    return kMeasurementTypeValues;
}
std::span<const Side> allSides() {
    return kSideValues;
}
std::span<const Reference> allReferences() {
    return kReferenceValues;
}
std::span<const RangeType> profileRangeTypes() {
    return kProfileRangeValues;
}
std::span<const RangeType> leadRangeTypes() {
    return kLeadRangeValues;
}
std::span<const RangeType> allRangeTypes() {
    return kRangeTypeValues;
}
std::span<const Alignment> allAlignments() {
    return kAlignmentValues;
}
std::span<const Material> allMaterials() {
    return kMaterialValues;
}
std::span<const RegressionType> allRegressionTypes() {
    return kRegressionTypeValues;
}
std::span<const EvaluationOutsideRange> allEvaluationOutsideRanges() {
    return kEvaluationOutsideRangeValues;
}

} // namespace kest::gear
