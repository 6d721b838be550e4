#include <kest/gear/measurement_enums.h>

#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

using namespace kest::gear;
using Unit = kest::host::CNamedObject::Unit;

namespace {

// One value of an enumeration with its forms, the value given by its number as the interface fixes it.
template <typename C>
struct Forms {
    int value;
    const char* text;
    C constant;
};

// Checks the value list (order included) against the expected rows and every row through both directions of
// the string and constant forms.
template <typename E, typename C, typename ToText, typename FromText, typename ToConstant,
          typename FromConstant>
void expectForms(std::span<const E> values, const std::vector<Forms<C>>& rows, ToText toText,
                 FromText fromText, ToConstant toConstant, FromConstant fromConstant) {
    ASSERT_EQ(values.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        SCOPED_TRACE(row.text);
        const E value = values[i];
        EXPECT_EQ(static_cast<int>(value), row.value);
        EXPECT_EQ(toText(value), row.text);
        E parsed{};
        EXPECT_TRUE(fromText(row.text, &parsed));
        EXPECT_EQ(parsed, value);
        EXPECT_EQ(toConstant(value), row.constant);
        EXPECT_EQ(fromConstant(row.constant), value);
    }
}

// A parser that must refuse a text: it returns false and leaves the out-value as it was.
template <typename E>
std::function<bool(const std::string&)> rejecting(bool (*parse)(const std::string&, E*)) {
    return [parse](const std::string& text) {
        const auto untouched = static_cast<E>(-7); // no parser produces it
        E value = untouched;
        return !parse(text, &value) && value == untouched;
    };
}

// returns the C-string message `call` throws, or a note that it threw nothing
std::string thrownMessage(const std::function<void()>& call) {
    try {
        call();
    } catch (const char* message) {
        return message;
    }
    return "(nothing thrown)";
}

} // namespace

TEST(measurement_enums, MeasurementTypeForms) {
    expectForms<Measurement_Type, int>(allMeasurementTypes(),
                                       {{0, "profile", 1},
                                        {1, "lead", 2},
                                        {2, "pitch", 3},
                                        {3, "root_circle", 4},
                                        {4, "tip_circle", 5},
                                        {5, "roughness_profile", 6},
                                        {6, "roughness_lead", 7},
                                        {7, "root_scan", 8},
                                        {8, "feed_mark", 9},
                                        {9, "topography_profile", 10},
                                        {10, "topography_lead", 11},
                                        {11, "c_refence", 12}},
                                       Measurement_Type_2_string, string_2_Measurement_Type,
                                       measurement_Type_2_constant, constant_2_measurement_Type);
}

TEST(measurement_enums, SideForms) {
    // Left travels as -1, i.e. as the all-ones pattern of the unsigned constant.
    expectForms<Side, int>(allSides(), {{0, "left", -1}, {1, "right", 1}, {2, "both", 3}}, Side_2_string,
                           string_2_Side, side_2_constant,
                           [](int c) { return constant_2_side(static_cast<unsigned int>(c)); });
}

TEST(measurement_enums, ReferenceForms) {
    expectForms<Reference, long>(allReferences(),
                                 {{2, "diameter", 3},
                                  {0, "rolling path", 1},
                                  {1, "rolling angle", 2},
                                  {3, "percent", 4},
                                  {4, "V-circle diameter", 5},
                                  {5, "reference diameter", 6},
                                  {6, "percent datum to non-datum", 7},
                                  {7, "percent non-datum to datum", 8},
                                  {8, "length datum to non-datum", 9},
                                  {9, "length non-datum to datum", 10}},
                                 Reference_2_string, string_2_Reference, reference_2_constant,
                                 constant_2_reference);
}

TEST(measurement_enums, RangeTypeForms) {
    const std::vector<Forms<unsigned int>> profile{{0, "root", 1}, {1, "main", 2}, {2, "tip", 4}};
    const std::vector<Forms<unsigned int>> lead{
        {2000, "non-datum side", 8}, {2001, "middle", 16}, {2002, "datum side", 32}};
    expectForms<RangeType>(profileRangeTypes(), profile, ProfileRangeType_2_string, string_2_ProfileRangeType,
                           profileRangeType_2_constant, constant_2_profileRangeType);
    expectForms<RangeType>(leadRangeTypes(), lead, LeadRangeType_2_string, string_2_LeadRangeType,
                           leadRangeType_2_constant, constant_2_leadRangeType);
    // The combined forms agree with the profile and lead forms for every measurement type that names ranges.
    for (Measurement_Type type : {Measurement_Type::Profile, Measurement_Type::TopographyProfile}) {
        expectForms<RangeType>(
            profileRangeTypes(), profile, [type](RangeType r) { return RangeType_2_string(type, r); },
            string_2_RangeType, [type](RangeType r) { return rangeType_2_constant(type, r); },
            constant_2_rangeType);
    }
    for (Measurement_Type type : {Measurement_Type::Lead, Measurement_Type::TopographyLead}) {
        expectForms<RangeType>(
            leadRangeTypes(), lead, [type](RangeType r) { return RangeType_2_string(type, r); },
            string_2_RangeType, [type](RangeType r) { return rangeType_2_constant(type, r); },
            constant_2_rangeType);
    }
    const std::vector<RangeType> all(allRangeTypes().begin(), allRangeTypes().end());
    EXPECT_EQ(all, (std::vector{RangeType::Root, RangeType::Main, RangeType::Tip, RangeType::NonDatumSide,
                                RangeType::Middle, RangeType::DatumSide, RangeType::Unspecified}));
    // "unspecified" is read but never written.
    RangeType parsed = RangeType::Root;
    EXPECT_TRUE(string_2_RangeType("unspecified", &parsed));
    EXPECT_EQ(static_cast<int>(parsed), 2003);
    EXPECT_EQ(RangeType_2_string(Measurement_Type::Profile, RangeType::Unspecified),
              "unknown profile range type");
}

TEST(measurement_enums, KChartForms) {
    expectForms<Alignment, unsigned int>(
        allAlignments(), {{0, "to material", 0}, {1, "from material", 1}, {2, "centered", 2}},
        alignment_2_string, string_2_alignment, alignment_2_constant, constant_2_alignment);
    expectForms<Material, unsigned int>(
        allMaterials(), {{0, "inside", 0}, {1, "outside", 1}, {2, "both sides", 2}}, material_2_string,
        string_2_material, material_2_constant, constant_2_material);
    expectForms<RegressionType, unsigned int>(
        allRegressionTypes(), {{1, "line", 1}, {2, "parabola", 2}, {3, "continuous parabola", 3}},
        regressionType_2_string, string_2_regressionType, regressionType_2_constant,
        constant_2_regressionType);
    expectForms<EvaluationOutsideRange, unsigned int>(
        allEvaluationOutsideRanges(), {{0, "off", 0}, {1, "up", 1}, {2, "down", 2}, {3, "on", 3}},
        EvaluationOutsideRange_2_string, string_2_EvaluationOutsideRange, EvaluationOutsideRange_2_constant,
        constant_2_EvaluationOutsideRange);
}

TEST(measurement_enums, TextOfValueOutsideEnumeration) {
    const struct {
        std::string text;
        const char* expected;
    } cases[] = {
        {Measurement_Type_2_string(static_cast<Measurement_Type>(12)), "wrong type"},
        {Side_2_string(static_cast<Side>(3)), "wrong side"},
        {Reference_2_string(static_cast<Reference>(10)), "unknown reference"},
        {ProfileRangeType_2_string(RangeType::Middle), "unknown profile range type"},
        {LeadRangeType_2_string(RangeType::Main), "unknown lead range type"},
        {LeadRangeType_2_string(RangeType::Unspecified), "unknown lead range type"},
        {RangeType_2_string(Measurement_Type::TopographyLead, RangeType::Tip), "unknown lead range type"},
        {alignment_2_string(static_cast<Alignment>(3)), "unknown alignment"},
        {material_2_string(static_cast<Material>(-1)), "unknown material"},
        {regressionType_2_string(static_cast<RegressionType>(0)), "unknown regression type"},
        {EvaluationOutsideRange_2_string(static_cast<EvaluationOutsideRange>(4)),
         "unknown evaluation_outside_range"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, c.expected);
}

TEST(measurement_enums, RejectedTextLeavesValueUntouched) {
    const struct {
        std::function<bool(const std::string&)> rejects;
        const char* text;
    } cases[] = {
        {rejecting(string_2_Side), "Left"},
        {rejecting(string_2_Side), "left "},
        {rejecting(string_2_Side), ""},
        {rejecting(string_2_Measurement_Type), "c_reference"},
        {rejecting(string_2_Reference), "v-circle diameter"},
        {rejecting(string_2_ProfileRangeType), "unspecified"},
        {rejecting(string_2_LeadRangeType), "main"},
        {rejecting(string_2_RangeType), "Middle"},
        {rejecting(string_2_material), "both_sides"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(c.rejects(c.text)) << '"' << c.text << '"';
    EXPECT_FALSE(string_2_Side("left", nullptr));
}

TEST(measurement_enums, RejectedValueAndConstantMessages) {
    const struct {
        std::function<void()> call;
        const char* message;
    } cases[] = {
        {[] { measurement_Type_2_constant(static_cast<Measurement_Type>(12)); }, "unknown measurement type"},
        {[] { constant_2_measurement_Type(0); }, "unknown constant for measurement type"},
        {[] { constant_2_measurement_Type(13); }, "unknown constant for measurement type"},
        {[] { side_2_constant(static_cast<Side>(3)); }, "unknown side"},
        {[] { constant_2_side(0); }, "unknown constant for side"},
        {[] { constant_2_side(2); }, "unknown constant for side"},
        {[] { reference_2_constant(static_cast<Reference>(10)); }, "unknown reference"},
        {[] { constant_2_reference(0); }, "unknown constant for reference"},
        {[] { constant_2_reference(11); }, "unknown constant for reference"},
        {[] { reference_2_unit(static_cast<Reference>(-1)); }, "unknown reference"},
        {[] { profileRangeType_2_constant(RangeType::NonDatumSide); }, "unknown profile range type"},
        {[] { constant_2_profileRangeType(8); }, "unknown constant for profile range type"},
        {[] { leadRangeType_2_constant(RangeType::Unspecified); }, "unknown lead range type"},
        {[] { constant_2_leadRangeType(4); }, "unknown constant for lead range type"},
        {[] { rangeType_2_constant(Measurement_Type::RoughnessProfile, RangeType::Root); },
         "unknown range type"},
        {[] { rangeType_2_constant(Measurement_Type::Pitch, RangeType::Root); }, "unknown range type"},
        {[] { rangeType_2_constant(Measurement_Type::Profile, RangeType::Middle); },
         "unknown profile range type"},
        {[] { rangeType_2_constant(Measurement_Type::Lead, RangeType::Root); }, "unknown lead range type"},
        {[] { RangeType_2_string(Measurement_Type::RoughnessLead, RangeType::Middle); },
         "unknown range type"},
        {[] { constant_2_rangeType(0); }, "unknown constant for range type"},
        {[] { constant_2_rangeType(3); }, "unknown constant for range type"},
        {[] { constant_2_rangeType(64); }, "unknown constant for range type"},
        {[] { alignment_2_constant(static_cast<Alignment>(3)); }, "unknown alignment"},
        {[] { constant_2_alignment(3); }, "unknown constant for alignment"},
        {[] { material_2_constant(static_cast<Material>(3)); }, "unknown material"},
        {[] { constant_2_material(3); }, "unknown constant for material"},
        {[] { regressionType_2_constant(static_cast<RegressionType>(0)); }, "unknown regression type"},
        {[] { constant_2_regressionType(0); }, "unknown constant for regression type"},
        {[] { EvaluationOutsideRange_2_constant(static_cast<EvaluationOutsideRange>(4)); },
         "unknown EvaluationOutsideRange"},
        {[] { constant_2_EvaluationOutsideRange(4); }, "unknown constant for EvaluationOutsideRange"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(thrownMessage(cases[i].call), cases[i].message) << "case " << i;
}

TEST(measurement_enums, ReferenceClassification) {
    const struct {
        int reference;
        bool profile, lead, percent;
        Unit unit;
    } cases[] = {
        {0, true, false, false, Unit::Length}, {1, true, false, false, Unit::Angle},
        {2, true, false, false, Unit::Length}, {3, true, false, true, Unit::Percent},
        {4, true, false, false, Unit::Length}, {5, true, false, false, Unit::Length},
        {6, false, true, true, Unit::Percent}, {7, false, true, true, Unit::Percent},
        {8, false, true, false, Unit::Length}, {9, false, true, false, Unit::Length},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reference);
        const auto reference = static_cast<Reference>(c.reference);
        EXPECT_EQ(isProfileReference(reference), c.profile);
        EXPECT_EQ(isLeadReference(reference), c.lead);
        EXPECT_EQ(isPercentBasedReference(reference), c.percent);
        EXPECT_EQ(reference_2_unit(reference), c.unit);
    }
    const auto outside = static_cast<Reference>(10);
    EXPECT_FALSE(isProfileReference(outside) || isLeadReference(outside) || isPercentBasedReference(outside));
}

TEST(measurement_enums, EvaluationRangeTypeToRangeType) {
    using M = Measurement_Type;
    using E = EvaluationRangeType;
    const struct {
        M type;
        E item;
        RangeType expected;
    } cases[] = {
        {M::Profile, E::First, RangeType::Root},
        {M::RoughnessProfile, E::Middle, RangeType::Main},
        {M::TopographyProfile, E::Last, RangeType::Tip},
        {M::Lead, E::Last, RangeType::DatumSide},
        {M::RoughnessLead, E::First, RangeType::NonDatumSide},
        {M::TopographyLead, E::Middle, RangeType::Middle},
        {M::Pitch, E::Middle, RangeType::Unspecified},
        {M::CReference, E::First, RangeType::Unspecified},
        {M::Profile, static_cast<E>(3), RangeType::Unspecified},
        {static_cast<M>(12), E::First, RangeType::Unspecified},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EvaluationRangeType2RangeType(c.type, c.item), c.expected)
            << static_cast<int>(c.type) << '/' << static_cast<int>(c.item);
}
