#include <kest/gear/cylindrical_gear_geometry.h>

#include "evaluation/filter_rules.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace kest::gear;
namespace rules = kest::gear::filter_rules;
using MT = Measurement_Type;

namespace {

// A geometry whose evaluation lengths are given: getLAE for every side, the face width for leads.
class Lengths : public CylindricalGearGeometry {
public:
    Lengths(double profileLength, double faceWidth)
        : CylindricalGearGeometry(20, faceWidth, 5.0, 0.0, 20 * std::numbers::pi / 180, 0.3, 113.0, 90.5,
                                  FlankDirection::Straight, ModuleVariant::Normal,
                                  AddendumModificationVariant::AddmodFactor, unsetValue)
        , profileLength_(profileLength) {}
    double getLAE(Side) const override { return profileLength_; }

private:
    double profileLength_;
};

TEST(filter_rules, OtherKinds) {
    GearFilters filters;
    bool valid = true;
    EXPECT_EQ(rules::getWaveNumber(filters, nullptr, MT::Pitch, Side::Left, valid), 0.0);
    EXPECT_TRUE(valid); // unchanged
    EXPECT_EQ(rules::getWaveLength(filters, nullptr, MT::Pitch, Side::Left, valid), 0.0);
    EXPECT_TRUE(valid);
    EXPECT_FALSE(rules::getActive(filters, MT::Pitch, Side::Left, valid));
    EXPECT_FALSE(valid);
    valid = true;
    EXPECT_EQ(rules::getUnit(filters, MT::RootCircle, Side::Left, valid), FilterUnit::WaveLength);
    EXPECT_FALSE(valid);
    EXPECT_FALSE(rules::setActive(filters, MT::Pitch, Side::Left, true));
    EXPECT_FALSE(rules::setWaveNumber(filters, nullptr, MT::Pitch, Side::Left, 3));
    EXPECT_FALSE(rules::setWaveLength(filters, MT::Pitch, Side::Left, 3));
    EXPECT_FALSE(rules::clear(filters, MT::Pitch));
    EXPECT_EQ(filters, GearFilters());
}

// Wave length w over evaluation length L gives wave number L / w; none when w is not below L.
TEST(filter_rules, Conversions) {
    struct Row {
        double evaluationLength;
        double waveLength;
        double waveNumber;
        bool valid;
    };
    const Row rows[] = {
        {5.0, 0.5, 10.0, true}, {0.4, 0.5, 0.0, false}, {0.5, 0.5, 0.0, false}, {5.0, 0.0, 0.0, false}};
    for (const auto& row : rows) {
        const Lengths geometry(row.evaluationLength, 20.0);
        GearFilters filters;
        rules::setWaveLength(filters, MT::Profile, Side::Left, row.waveLength);
        bool valid = false;
        EXPECT_EQ(rules::getWaveNumber(filters, &geometry, MT::Profile, Side::Left, valid), row.waveNumber);
        EXPECT_EQ(valid, row.valid) << row.evaluationLength << " " << row.waveLength;
    }
    // a lead wave number over the face width
    const Lengths geometry(5.0, 20.0);
    GearFilters filters;
    rules::setWaveNumber(filters, &geometry, MT::Lead, Side::Right, 8.0);
    bool valid = false;
    EXPECT_EQ(rules::getWaveLength(filters, &geometry, MT::Lead, Side::Right, valid), 2.5);
    EXPECT_TRUE(valid);
    EXPECT_EQ(rules::getWaveNumber(filters, &geometry, MT::Lead, Side::Right, valid), 8.0);
}

TEST(filter_rules, Initialize) {
    struct Row {
        double evaluationLength;
        FilterUnit profileUnit;
        double profileValue;
        double leadLength;
    };
    // 30 waves over 6 mm are 0.2 mm long, below the shortest default; over 15 mm they are 0.5 mm.
    const Row rows[] = {{6.0, FilterUnit::WaveLength, 0.25, 0.25}, {15.0, FilterUnit::WaveNumber, 30.0, 0.5}};
    for (const auto& row : rows) {
        const Lengths geometry(row.evaluationLength, 20.0);
        GearFilters filters;
        EXPECT_FALSE(rules::initialized(filters));
        rules::initialize(filters, &geometry);
        const Filter profile = filters.get(MT::Profile, Side::Both);
        const Filter lead = filters.get(MT::Lead, Side::Both);
        EXPECT_EQ(profile.getType(), row.profileUnit);
        EXPECT_EQ(row.profileUnit == FilterUnit::WaveNumber ? profile.getWaveNumber()
                                                            : profile.getWaveLength(),
                  row.profileValue);
        EXPECT_EQ(lead.getType(), FilterUnit::WaveLength);
        EXPECT_EQ(lead.getWaveLength(), row.leadLength);
        EXPECT_TRUE(profile.getFilterActive() && lead.getFilterActive() && filters.getLeadFromProf());
        EXPECT_TRUE(filters.getBothSided(MT::Profile) && filters.getBothSided(MT::Lead));
        EXPECT_TRUE(rules::initialized(filters));
    }
}

// While the lead follows the profile it answers with the profile's wave length and takes its changes.
TEST(filter_rules, LeadFollowsProfile) {
    const Lengths geometry(15.0, 20.0);
    GearFilters filters;
    rules::initialize(filters, &geometry);
    bool valid = false;
    EXPECT_EQ(rules::getUnit(filters, MT::Lead, Side::Left, valid), FilterUnit::WaveLength);
    EXPECT_EQ(rules::getWaveLength(filters, &geometry, MT::Lead, Side::Left, valid), 0.5);
    valid = false;
    EXPECT_EQ(rules::getWaveNumber(filters, &geometry, MT::Lead, Side::Left, valid), 0.0);
    EXPECT_FALSE(valid);

    rules::setWaveNumber(filters, &geometry, MT::Profile, Side::Both, 60.0);
    EXPECT_EQ(filters.get(MT::Lead, Side::Both).getWaveLength(), 0.25);
    rules::setWaveLength(filters, MT::Profile, Side::Both, 0.8);
    EXPECT_EQ(filters.get(MT::Lead, Side::Both).getWaveLength(), 0.8);
    rules::setActive(filters, MT::Profile, Side::Both, false);
    EXPECT_FALSE(filters.get(MT::Lead, Side::Both).getFilterActive());
    EXPECT_FALSE(rules::getActive(filters, MT::Lead, Side::Both, valid));

    // one-sided profile filters are copied flank by flank, a wave number as its wave length
    GearFilters sided;
    rules::setWaveNumber(sided, &geometry, MT::Profile, Side::Left, 30.0);
    rules::setWaveLength(sided, MT::Profile, Side::Right, 0.7);
    rules::setLeadFromProf(sided, &geometry, true);
    EXPECT_EQ(sided.get(MT::Lead, Side::Left).getWaveLength(), 0.5);
    EXPECT_EQ(sided.get(MT::Lead, Side::Right).getWaveLength(), 0.7);
    EXPECT_FALSE(sided.getBothSided(MT::Lead));

    // a profile filter without a cut-off gives the lead none either
    GearFilters unset;
    rules::setLeadFromProf(unset, &geometry, true);
    EXPECT_FALSE(unset.get(MT::Lead, Side::Both).getInitialized());
    EXPECT_FALSE(rules::initialized(unset));
}

TEST(filter_rules, Clear) {
    const Lengths geometry(15.0, 20.0);
    GearFilters filters;
    rules::initialize(filters, &geometry);
    EXPECT_TRUE(rules::clear(filters, MT::Profile, Side::Both));
    EXPECT_FALSE(filters.get(MT::Lead, Side::Both).getInitialized()); // the lead followed
    rules::initialize(filters, &geometry);
    EXPECT_TRUE(rules::clear(filters, MT::Profile));
    EXPECT_FALSE(filters.get(MT::Lead, Side::Both).getInitialized());
    rules::initialize(filters, &geometry);
    EXPECT_TRUE(rules::clear(filters, &geometry));
    EXPECT_FALSE(filters.getLeadFromProf());
    EXPECT_FALSE(rules::initialized(filters));
    // without the lead following, a profile clear leaves the lead
    rules::setWaveLength(filters, MT::Lead, Side::Left, 0.8);
    rules::clear(filters, MT::Profile);
    EXPECT_TRUE(filters.get(MT::Lead, Side::Left).getInitialized());
}

} // namespace
