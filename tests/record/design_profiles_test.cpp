#include "record/design_profiles.h"

#include "support/throw_message.h"
#include "support/xml_text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using MT = Measurement_Type;

namespace {

using kest::test::serialized;

DesignProfile named(const char* name) {
    DesignProfile profile;
    profile.setName(name);
    return profile;
}

TEST(design_profiles, RefusalsAndThrows) {
    DesignProfiles store;
    const DesignProfile profile = named("a");
    EXPECT_THROW_MSG(store.count(MT::Profile, Side::Both), "illegal side");
    EXPECT_THROW_MSG(store.count(MT::Pitch, Side::Both), "illegal side");
    EXPECT_THROW_MSG(store.count(MT::Pitch, Side::Left), "illegal type");
    EXPECT_THROW_MSG(store.get(MT::Lead, Side::Both, 0), "illegal side <Both> for getting a design profile");
    EXPECT_EQ(store.get(MT::Pitch, Side::Left, 0), nullptr);
    EXPECT_EQ(store.get(MT::Profile, static_cast<Side>(5), 0), nullptr);
    // Each row: kind, side, index, result of setting.
    const std::tuple<MT, Side, unsigned int, bool> rows[] = {
        {MT::Profile, Side::Left, 0, true},
        {MT::Lead, Side::Right, 999, true},
        {MT::Lead, Side::Right, 1000, false},
        {MT::Pitch, Side::Left, 0, false},
        {MT::TopographyProfile, Side::Both, 0, false},
        {MT::Profile, static_cast<Side>(3), 0, false},
    };
    for (const auto& [kind, side, index, result] : rows)
        EXPECT_EQ(store.set(&profile, kind, side, index), result) << static_cast<int>(kind) << " " << index;
    EXPECT_EQ(store.count(MT::Lead, Side::Right), 1000u);
    EXPECT_FALSE(store.clear(MT::Pitch));
    EXPECT_TRUE(store.clear(MT::Lead));
    EXPECT_EQ(store.count(MT::Lead, Side::Right), 0u);
    EXPECT_EQ(store.count(MT::Profile, Side::Left), 1u);
}

TEST(design_profiles, GrowthShrinkAndBothFlanks) {
    DesignProfiles store;
    const DesignProfile profile = named("a");
    ASSERT_TRUE(store.set(&profile, MT::Profile, Side::Left, 3));
    EXPECT_EQ(store.count(MT::Profile, Side::Left), 4u);
    EXPECT_EQ(store.get(MT::Profile, Side::Left, 1), nullptr);
    EXPECT_EQ(store.get(MT::Profile, Side::Left, 4), nullptr);
    ASSERT_NE(store.get(MT::Profile, Side::Left, 3), nullptr);
    EXPECT_NE(store.get(MT::Profile, Side::Left, 3), &profile); // a copy
    EXPECT_EQ(store.get(MT::Profile, Side::Left, 3)->getName(), "a");

    // emptying the last slot shrinks by that slot only
    ASSERT_TRUE(store.set(nullptr, MT::Profile, Side::Left, 3));
    EXPECT_EQ(store.count(MT::Profile, Side::Left), 3u);
    ASSERT_TRUE(store.set(nullptr, MT::Profile, Side::Left, 1));
    EXPECT_EQ(store.count(MT::Profile, Side::Left), 3u);

    ASSERT_TRUE(store.set(&profile, MT::Lead, Side::Both, 2));
    const DesignProfile* left = store.get(MT::Lead, Side::Left, 2);
    const DesignProfile* right = store.get(MT::Lead, Side::Right, 2);
    ASSERT_TRUE(left && right);
    EXPECT_NE(left, right);

    const DesignProfiles copy(store);
    EXPECT_NE(copy.get(MT::Lead, Side::Left, 2), left);
    EXPECT_EQ(copy.get(MT::Lead, Side::Left, 2)->getName(), "a");
    EXPECT_EQ(copy.count(MT::Profile, Side::Left), 3u);
    EXPECT_EQ(copy.get(MT::Profile, Side::Left, 0), nullptr);
}

TEST(design_profiles, BothFlankProfilesAreWrittenOncePerFlank) {
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse(R"(<gear><evaluation><profile side="both"><range name="r"/>)"
                          R"(<design_profile enabled="on" name="b" measurement_index="1"/></profile>)"
                          R"(<profile side="left"><design_profile enabled="off" name="l"/></profile>)"
                          R"(<lead side="right"><kchart/></lead></evaluation></gear>)"));
    DesignProfiles store;
    ASSERT_TRUE(store.load(xml));
    EXPECT_EQ(store.count(MT::Profile, Side::Left), 2u);
    EXPECT_EQ(store.get(MT::Profile, Side::Left, 0)->getName(), "l"); // a missing index is 0
    EXPECT_EQ(store.get(MT::Profile, Side::Left, 1)->getName(), "b");
    EXPECT_EQ(store.get(MT::Profile, Side::Right, 1)->getName(), "b");
    ASSERT_TRUE(store.save(xml));
    const std::string text = serialized(xml);
    EXPECT_EQ(text, R"(<?xml version="1.0"?>
<gear>
  <evaluation>
    <profile side="both">
      <range name="r" />
    </profile>
    <profile side="left">
      <design_profile enabled="off" name="l" measurement_index="0" />
      <design_profile enabled="on" name="b" measurement_index="1" />
    </profile>
    <lead side="right">
      <kchart />
    </lead>
    <profile side="right">
      <design_profile enabled="on" name="b" measurement_index="1" />
    </profile>
  </evaluation>
</gear>
)");
    DesignProfiles again;
    ASSERT_TRUE(again.load(xml));
    ASSERT_TRUE(again.save(xml));
    EXPECT_EQ(serialized(xml), text);
}

// Each row: the evaluation group, the result of loading it, the number of left profile slots afterwards.
TEST(design_profiles, Load) {
    const std::tuple<const char*, bool, unsigned int> rows[] = {
        {"", true, 0},
        {R"(<profile side="left"><design_profile enabled="on" measurement_index="999"/></profile>)", true,
         1000},
        {R"(<profile side="left"><design_profile enabled="on" measurement_index="1000"/></profile>)", false,
         0},
        {R"(<profile side="left"><design_profile enabled="on" measurement_index="-1"/></profile>)", false, 0},
        {R"(<profile side="left"><design_profile enabled="on" measurement_index="x"/>)"
         R"(<design_profile enabled="on" measurement_index="2"/></profile>)",
         false, 3},
        {R"(<profile side="left"><design_profile enabled="on"><part regression="line"><point id="1" )"
         R"(position="1" variation="0" reference="diameter"/><point id="1" position="2" variation="0" )"
         R"(reference="diameter"/></part></design_profile></profile>)",
         false, 1},
    };
    for (const auto& [evaluation, result, count] : rows) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(std::string("<gear><evaluation>") + evaluation + "</evaluation></gear>"));
        DesignProfiles store;
        const DesignProfile old = named("old");
        store.set(&old, MT::Profile, Side::Left, 5);
        EXPECT_EQ(store.load(xml), result) << evaluation;
        EXPECT_EQ(store.count(MT::Profile, Side::Left), count) << evaluation;
    }
}

} // namespace
