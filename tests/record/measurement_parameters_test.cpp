#include "record/measurement_parameters.h"
#include "record/measurement_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kest::gear;

namespace {

using MT = Measurement_Type;
using Clamping = GearMeasuringParameters::Clamping_Type;

std::string summary(const std::vector<Gear_General_Parameter>& parameters) {
    std::string out;
    for (const Gear_General_Parameter& p : parameters)
        out += (out.empty() ? "" : " ") + p.name + "=" + std::to_string(static_cast<int>(p.value)) +
               (p.type.empty() ? "" : "/" + p.type);
    return out;
}

std::string summary(const std::vector<Gear_Additional_Parameter>& groups) {
    std::string out;
    for (const Gear_Additional_Parameter& g : groups)
        out += (out.empty() ? "" : " | ") + g.name + ": " + summary(g.parameters);
    return out;
}

// A parameter set again is replaced in its place rather than appended.
TEST(measurement_parameters, SettingAgainReplacesInPlace) {
    PositioningParameters positioning;
    positioning.set("a", 1);
    positioning.set("b", 2);
    positioning.set("a", 3);
    std::vector<Gear_General_Parameter> all;
    EXPECT_EQ(positioning.getAll(&all), 2u);
    EXPECT_EQ(summary(all), "a=3 b=2");

    MeasuringParameters measuring;
    measuring.set(MT::Profile, "speed", 1, "");
    measuring.set(MT::Lead, "speed", 2, "");
    measuring.set(MT::Profile, "speed", 4, "mm/s");
    std::vector<Gear_Measuring_Parameter> measured;
    ASSERT_EQ(measuring.getAll(&measured), 2u);
    EXPECT_EQ(measured[0].parameter.value, 4);
    EXPECT_EQ(measured[0].parameter.type, "mm/s");
    EXPECT_EQ(measured[1].type, MT::Lead);
}

TEST(measurement_parameters, ClearResetsTheClamping) {
    MeasuringParameters measuring;
    measuring.set(MT::Profile, "speed", 1, "");
    measuring.setClamping(Clamping::NonDatumSideUp);
    EXPECT_TRUE(measuring.clear());
    EXPECT_EQ(measuring.getClamping(), Clamping::DatumSideUp);
    EXPECT_EQ(measuring.getAll(nullptr), 0u);
}

// Groups and their parameters keep the order of their first setting, also through the gear file.
TEST(measurement_parameters, AdditionalParametersKeepTheirOrder) {
    AdditionalParameters additional;
    additional.set("probe", "length", 60, "mm");
    additional.set("machine", "temperature", 20, "C");
    additional.set("probe", "diameter", 2, "");
    additional.set("probe", "length", 61, "");
    std::vector<Gear_Additional_Parameter> groups;
    EXPECT_EQ(additional.getAll(&groups), 2u);
    const std::string expected = "probe: length=61 diameter=2 | machine: temperature=20/C";
    EXPECT_EQ(summary(groups), expected);

    kest::host::MSXMLWrapper xml;
    xml.reset("gear");
    ASSERT_TRUE(additional.save(xml));
    AdditionalParameters loaded;
    loaded.set("stale", "x", 1, "");
    ASSERT_TRUE(loaded.load(xml, settingsElement(xml)));
    EXPECT_EQ(loaded.getAll(&groups), 2u);
    EXPECT_EQ(summary(groups), expected);
}

} // namespace
