#pragma once

// The vocabulary of gear measurement: what is measured, on which flank, in which scale a flank position is
// given, which part of a measured line is evaluated, and how a K-chart tolerance band lies against the
// material. Each enumeration has a string form (the keyword of the gear file) and a constant form (the code
// the suite's programs exchange). The numeric values are part of the interface and never change.

#include <kest/gear/host/export.h>
#include <kest/gear/host/named_object.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kest::gear {

enum class Measurement_Type : std::int32_t {
    Profile = 0,
    Lead = 1,
    Pitch = 2,
    RootCircle = 3,
    TipCircle = 4,
    RoughnessProfile = 5,
    RoughnessLead = 6,
    RootScan = 7,
    FeedMark = 8,
    TopographyProfile = 9,
    TopographyLead = 10,
    CReference = 11,
};

enum class Side : std::int32_t {
    Left = 0,
    Right = 1,
    Both = 2,
};

// 0 to 5 give a position along the profile (tooth depth), 6 to 9 one along the face width.
enum class Reference : std::int32_t {
    RollingPath = 0,
    RollingAngle = 1,
    Diameter = 2,
    Percent = 3,
    VCircleDiameter = 4,
    ReferenceDiameter = 5,
    PercentDatumToNonDatum = 6,
    PercentNonDatumToDatum = 7,
    LengthDatumToNonDatum = 8,
    LengthNonDatumToDatum = 9,
};

// Profile ranges, lead ranges (from 2000 on) and a marker for a range of neither kind.
enum class RangeType : std::int32_t {
    Root = 0,
    Main = 1,
    Tip = 2,
    NonDatumSide = 2000,
    Middle = 2001,
    DatumSide = 2002,
    Unspecified = 2003,
};

// Position of a range within a measured line, whatever the measurement type.
enum class EvaluationRangeType : std::int32_t {
    First = 0,
    Middle = 1,
    Last = 2,
};

enum class Alignment : std::int32_t {
    ToMaterial = 0,
    FromMaterial = 1,
    Centered = 2,
};

enum class Material : std::int32_t {
    Inside = 0,
    Outside = 1,
    BothSides = 2,
};

// There is no value 0.
enum class RegressionType : std::int32_t {
    Line = 1,
    Parabola = 2,
    ContinuousParabola = 3,
};

enum class EvaluationOutsideRange : std::int32_t {
    Off = 0,
    Up = 1,
    Down = 2,
    On = 3,
};

// String forms. X_2_string returns a fixed "unknown" text for a value outside the enumeration and never
// throws. string_2_X compares whole texts case-sensitively; it returns false and leaves *out untouched when
// the text is no string form of the enumeration or out is null.

// returns "wrong type" for a value outside the enumeration
GEARRECORDS_API std::string Measurement_Type_2_string(Measurement_Type type);
GEARRECORDS_API bool string_2_Measurement_Type(std::string_view text, Measurement_Type* out);
// returns "wrong side" for a value outside the enumeration
GEARRECORDS_API std::string Side_2_string(Side side);
GEARRECORDS_API bool string_2_Side(std::string_view text, Side* out);
// returns "unknown reference" for a value outside the enumeration
GEARRECORDS_API std::string Reference_2_string(Reference reference);
GEARRECORDS_API bool string_2_Reference(std::string_view text, Reference* out);
// returns "unknown profile range type" for anything but Root, Main and Tip
GEARRECORDS_API std::string ProfileRangeType_2_string(RangeType range);
GEARRECORDS_API bool string_2_ProfileRangeType(std::string_view text, RangeType* out);
// returns "unknown lead range type" for anything but NonDatumSide, Middle and DatumSide
GEARRECORDS_API std::string LeadRangeType_2_string(RangeType range);
GEARRECORDS_API bool string_2_LeadRangeType(std::string_view text, RangeType* out);
// Profile range texts for Profile and TopographyProfile, lead range texts for Lead and TopographyLead.
// Throws "unknown range type" for any other measurement type.
GEARRECORDS_API std::string RangeType_2_string(Measurement_Type type, RangeType range);
// Accepts the profile and lead range texts and "unspecified", which has no output form.
GEARRECORDS_API bool string_2_RangeType(std::string_view text, RangeType* out);
// returns "unknown alignment" for a value outside the enumeration
GEARRECORDS_API std::string alignment_2_string(Alignment alignment);
GEARRECORDS_API bool string_2_alignment(std::string_view text, Alignment* out);
// returns "unknown material" for a value outside the enumeration
GEARRECORDS_API std::string material_2_string(Material material);
GEARRECORDS_API bool string_2_material(std::string_view text, Material* out);
// returns "unknown regression type" for a value outside the enumeration
GEARRECORDS_API std::string regressionType_2_string(RegressionType type);
GEARRECORDS_API bool string_2_regressionType(std::string_view text, RegressionType* out);
// returns "unknown evaluation_outside_range" for a value outside the enumeration
GEARRECORDS_API std::string EvaluationOutsideRange_2_string(EvaluationOutsideRange mode);
GEARRECORDS_API bool string_2_EvaluationOutsideRange(std::string_view text, EvaluationOutsideRange* out);

// Constant forms. Each pair is a bijection over the enumeration's values; anything else throws its message as
// a C string: "unknown <name>" one way, "unknown constant for <name>" the other.

GEARRECORDS_API int measurement_Type_2_constant(Measurement_Type type);
GEARRECORDS_API Measurement_Type constant_2_measurement_Type(unsigned int constant);
// Left is -1; constant_2_side takes the same bit pattern unsigned.
GEARRECORDS_API int side_2_constant(Side side);
GEARRECORDS_API Side constant_2_side(unsigned int constant);
GEARRECORDS_API long reference_2_constant(Reference reference);
GEARRECORDS_API Reference constant_2_reference(long constant);
// Range constants are single bits (profile 1, 2, 4; lead 8, 16, 32), so that callers can combine them into
// masks. Unspecified has none.
GEARRECORDS_API unsigned int profileRangeType_2_constant(RangeType range);
GEARRECORDS_API RangeType constant_2_profileRangeType(unsigned int constant);
GEARRECORDS_API unsigned int leadRangeType_2_constant(RangeType range);
GEARRECORDS_API RangeType constant_2_leadRangeType(unsigned int constant);
// Throws "unknown range type" for a measurement type other than Profile, Lead, TopographyProfile,
// TopographyLead.
GEARRECORDS_API unsigned int rangeType_2_constant(Measurement_Type type, RangeType range);
GEARRECORDS_API RangeType constant_2_rangeType(unsigned int constant);
GEARRECORDS_API unsigned int alignment_2_constant(Alignment alignment);
GEARRECORDS_API Alignment constant_2_alignment(unsigned int constant);
GEARRECORDS_API unsigned int material_2_constant(Material material);
GEARRECORDS_API Material constant_2_material(unsigned int constant);
GEARRECORDS_API unsigned int regressionType_2_constant(RegressionType type);
GEARRECORDS_API RegressionType constant_2_regressionType(unsigned int constant);
GEARRECORDS_API unsigned int EvaluationOutsideRange_2_constant(EvaluationOutsideRange mode);
GEARRECORDS_API EvaluationOutsideRange constant_2_EvaluationOutsideRange(unsigned int constant);

// Classifications. The predicates return false for a value outside the enumeration.

GEARRECORDS_API bool isProfileReference(Reference reference);
GEARRECORDS_API bool isLeadReference(Reference reference);
GEARRECORDS_API bool isPercentBasedReference(Reference reference);
// Length for lengths and diameters, Angle for the rolling angle, Percent for the percent scales.
// Throws "unknown reference" for a value outside the enumeration.
GEARRECORDS_API host::CNamedObject::Unit reference_2_unit(Reference reference);
// The range type at position `item` of a profile-like (profile, roughness or topography profile) or lead-like
// line; returns Unspecified for any other measurement type or position.
GEARRECORDS_API RangeType EvaluationRangeType2RangeType(const Measurement_Type& type,
                                                        const EvaluationRangeType& item);

// Default name of the measurement with the given index (0 is the main one): MAIN, then UP_1, DOWN_1, UP_2,
// ... for Profile and OUT_1, IN_1, OUT_2, ... for Lead. returns "" for any other type and for an index above
// 999.
GEARRECORDS_API std::string getDefaultMeasName(Measurement_Type type, unsigned int index);

// The values of each enumeration, in the order in which the from-string functions try them; the lists live as
// long as the library.

GEARRECORDS_API std::span<const Measurement_Type> allMeasurementTypes();
GEARRECORDS_API std::span<const Side> allSides();
// Diameter first, then the others in numeric order.
GEARRECORDS_API std::span<const Reference> allReferences();
GEARRECORDS_API std::span<const RangeType> profileRangeTypes();
GEARRECORDS_API std::span<const RangeType> leadRangeTypes();
// The three profile ranges, the three lead ranges, Unspecified.
GEARRECORDS_API std::span<const RangeType> allRangeTypes();
GEARRECORDS_API std::span<const Alignment> allAlignments();
GEARRECORDS_API std::span<const Material> allMaterials();
GEARRECORDS_API std::span<const RegressionType> allRegressionTypes();
GEARRECORDS_API std::span<const EvaluationOutsideRange> allEvaluationOutsideRanges();

} // namespace kest::gear
