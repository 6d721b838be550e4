#include <kest/gear/measurement_enums.h>

#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <span>
#include <string>

using namespace kest::gear;
using Unit = kest::host::CNamedObject::Unit;

namespace {

// returns the message `call` throws as a C string
template <typename Call>
std::string thrown(Call call) {
    try {
        call();
    } catch (const char* message) {
        return message;
    }
    return "(nothing thrown)";
}

// Every value of the list goes through both directions of the text and constant forms. returns the forms as
// "value:text:constant" in list order, then the text of a value outside the table and the messages thrown for
// it and for a constant outside the table: one expected line fixes the keywords of the gear file, the
// constants the suite exchanges and the messages.
template <typename E, typename C, typename ToText, typename FromText, typename ToConstant,
          typename FromConstant>
std::string forms(std::span<const E> values, E outside, C badConstant, ToText toText, FromText fromText,
                  ToConstant toConstant, FromConstant fromConstant) {
    std::string out;
    for (const E value : values) {
        E parsed = outside;
        EXPECT_TRUE(fromText(toText(value), &parsed) && parsed == value) << toText(value);
        EXPECT_EQ(fromConstant(toConstant(value)), value) << toText(value);
        out += std::to_string(static_cast<int>(value)) + ":" + toText(value) + ":" +
               std::to_string(toConstant(value)) + " ";
    }
    return out + "| " + toText(outside) + " | " + thrown([&] { toConstant(outside); }) + " | " +
           thrown([&] { fromConstant(badConstant); });
}

TEST(measurement_enums, Forms) {
    using M = Measurement_Type;
    EXPECT_EQ(forms(allMeasurementTypes(), static_cast<M>(12), 0u, Measurement_Type_2_string,
                    string_2_Measurement_Type, measurement_Type_2_constant, constant_2_measurement_Type),
              "0:profile:1 1:lead:2 2:pitch:3 3:root_circle:4 4:tip_circle:5 5:roughness_profile:6 "
              "6:roughness_lead:7 7:root_scan:8 8:feed_mark:9 9:topography_profile:10 10:topography_lead:11 "
              "11:c_refence:12 " // the misspelling is the keyword existing gear files carry
              "| wrong type | unknown measurement type | unknown constant for measurement type");
    // Left travels as -1, i.e. as the all-ones pattern of the unsigned constant.
    EXPECT_EQ(forms(allSides(), static_cast<Side>(3), 2, Side_2_string, string_2_Side, side_2_constant,
                    [](int c) { return constant_2_side(static_cast<unsigned int>(c)); }),
              "0:left:-1 1:right:1 2:both:3 | wrong side | unknown side | unknown constant for side");
    EXPECT_EQ(forms(allReferences(), static_cast<Reference>(10), 0L, Reference_2_string, string_2_Reference,
                    reference_2_constant, constant_2_reference),
              "2:diameter:3 0:rolling path:1 1:rolling angle:2 3:percent:4 4:V-circle diameter:5 "
              "5:reference diameter:6 6:percent datum to non-datum:7 7:percent non-datum to datum:8 "
              "8:length datum to non-datum:9 9:length non-datum to datum:10 "
              "| unknown reference | unknown reference | unknown constant for reference");
    EXPECT_EQ(forms(profileRangeTypes(), RangeType::Middle, 8u, ProfileRangeType_2_string,
                    string_2_ProfileRangeType, profileRangeType_2_constant, constant_2_profileRangeType),
              "0:root:1 1:main:2 2:tip:4 "
              "| unknown profile range type | unknown profile range type | unknown constant for profile "
              "range type");
    EXPECT_EQ(forms(leadRangeTypes(), RangeType::Unspecified, 4u, LeadRangeType_2_string,
                    string_2_LeadRangeType, leadRangeType_2_constant, constant_2_leadRangeType),
              "2000:non-datum side:8 2001:middle:16 2002:datum side:32 "
              "| unknown lead range type | unknown lead range type | unknown constant for lead range type");
    EXPECT_EQ(forms(allAlignments(), static_cast<Alignment>(3), 3u, alignment_2_string, string_2_alignment,
                    alignment_2_constant, constant_2_alignment),
              "0:to material:0 1:from material:1 2:centered:2 "
              "| unknown alignment | unknown alignment | unknown constant for alignment");
    EXPECT_EQ(forms(allMaterials(), static_cast<Material>(-1), 3u, material_2_string, string_2_material,
                    material_2_constant, constant_2_material),
              "0:inside:0 1:outside:1 2:both sides:2 | unknown material | unknown material "
              "| unknown constant for material");
    EXPECT_EQ(forms(allRegressionTypes(), static_cast<RegressionType>(0), 0u, regressionType_2_string,
                    string_2_regressionType, regressionType_2_constant, constant_2_regressionType),
              "1:line:1 2:parabola:2 3:continuous parabola:3 "
              "| unknown regression type | unknown regression type | unknown constant for regression type");
    EXPECT_EQ(
        forms(allEvaluationOutsideRanges(), static_cast<EvaluationOutsideRange>(4), 4u,
              EvaluationOutsideRange_2_string, string_2_EvaluationOutsideRange,
              EvaluationOutsideRange_2_constant, constant_2_EvaluationOutsideRange),
        "0:off:0 1:up:1 2:down:2 3:on:3 | unknown evaluation_outside_range | unknown EvaluationOutsideRange "
        "| unknown constant for EvaluationOutsideRange");

    // From-text conversions compare whole texts, case included, and leave the value alone.
    Side side = Side::Both;
    Measurement_Type type = Measurement_Type::Pitch;
    RangeType range = RangeType::Tip;
    EXPECT_FALSE(string_2_Side("Left", &side) || string_2_Side("left ", &side) || string_2_Side("", &side) ||
                 string_2_Side("left", nullptr) || string_2_Measurement_Type("c_reference", &type) ||
                 string_2_ProfileRangeType("unspecified", &range) || string_2_LeadRangeType("main", &range) ||
                 string_2_RangeType("Middle", &range));
    EXPECT_TRUE(side == Side::Both && type == Measurement_Type::Pitch && range == RangeType::Tip);
}

// The combined range forms follow the profile or lead forms by measurement type; "unspecified" is read but
// never written, and has no constant.
TEST(measurement_enums, RangeTypesByMeasurementType) {
    for (const auto type : {Measurement_Type::Profile, Measurement_Type::TopographyProfile,
                            Measurement_Type::Lead, Measurement_Type::TopographyLead}) {
        const bool profile = type == Measurement_Type::Profile || type == Measurement_Type::TopographyProfile;
        for (const RangeType range : profile ? profileRangeTypes() : leadRangeTypes()) {
            RangeType parsed = RangeType::Unspecified;
            EXPECT_TRUE(string_2_RangeType(RangeType_2_string(type, range), &parsed) && parsed == range);
            EXPECT_EQ(constant_2_rangeType(rangeType_2_constant(type, range)), range);
        }
    }
    RangeType parsed = RangeType::Root;
    EXPECT_TRUE(string_2_RangeType("unspecified", &parsed) && parsed == RangeType::Unspecified);
    EXPECT_THROW_MSG(constant_2_rangeType(0), "unknown constant for range type");
    EXPECT_THROW_MSG(constant_2_rangeType(3), "unknown constant for range type"); // not a single bit
    EXPECT_THROW_MSG(rangeType_2_constant(Measurement_Type::RoughnessProfile, RangeType::Root),
                     "unknown range type");
    EXPECT_THROW_MSG(RangeType_2_string(Measurement_Type::RoughnessLead, RangeType::Middle),
                     "unknown range type");
    EXPECT_THROW_MSG(rangeType_2_constant(Measurement_Type::Lead, RangeType::Root),
                     "unknown lead range type");
    EXPECT_EQ(RangeType_2_string(Measurement_Type::Profile, RangeType::Unspecified),
              "unknown profile range type");
}

// References 0 to 5 give a position along the profile, 6 to 9 one along the face width; the unit follows the
// scale. An evaluation range is the n-th range of its line.
TEST(measurement_enums, Classifications) {
    for (const Reference r : allReferences()) {
        const bool percent = r == Reference::Percent || r == Reference::PercentDatumToNonDatum ||
                             r == Reference::PercentNonDatumToDatum;
        EXPECT_EQ(isProfileReference(r), static_cast<int>(r) <= 5) << Reference_2_string(r);
        EXPECT_EQ(isLeadReference(r), static_cast<int>(r) >= 6) << Reference_2_string(r);
        EXPECT_EQ(isPercentBasedReference(r), percent) << Reference_2_string(r);
        EXPECT_EQ(reference_2_unit(r), percent                        ? Unit::Percent
                                       : r == Reference::RollingAngle ? Unit::Angle
                                                                      : Unit::Length);
    }
    const auto outside = static_cast<Reference>(10);
    EXPECT_FALSE(isProfileReference(outside) || isLeadReference(outside) || isPercentBasedReference(outside));
    EXPECT_THROW_MSG(reference_2_unit(outside), "unknown reference");

    // The n-th range of a profile-like (profile, roughness, topography) or lead-like line; none for the
    // others.
    for (const Measurement_Type type : allMeasurementTypes()) {
        const std::string text = Measurement_Type_2_string(type);
        const auto line = text.find("profile") != std::string::npos ? profileRangeTypes()
                          : text.find("lead") != std::string::npos  ? leadRangeTypes()
                                                                    : std::span<const RangeType>{};
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(EvaluationRangeType2RangeType(type, static_cast<EvaluationRangeType>(i)),
                      line.empty() ? RangeType::Unspecified : line[i])
                << text << " " << i;
    }
    EXPECT_EQ(EvaluationRangeType2RangeType(Measurement_Type::Profile, static_cast<EvaluationRangeType>(3)),
              RangeType::Unspecified);
}

} // namespace
