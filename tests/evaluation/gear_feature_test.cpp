#include <kest/gear/evaluation_features.h>

#include "support/compact_xml.h"
#include "support/diagnostics_capture.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <string>

using namespace kest::gear;
using kest::host::DiagnosticChannel;
using kest::host::MSXMLWrapper;
using kest::host::XMLNode;

namespace {

using D = AdditionalDataType;

TEST(gear_feature, Names) {
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"Fa+", "Fa+", "Fa__plus__"},
        {"Fa__minus__", "Fa-", "Fa__minus__"},
        {"Fa__plus__", "Fa+", "Fa__plus__"},
        {"Cbo", "CbI", "CbI"},
        {"fHa", "fHa", "fHa"},
        {"", "", ""},
        {"+", "+", "__plus__"},
        {"a__plus__b", "a__plus__b", "a__plus__b"},
    };
    for (const auto& [given, name, safeName] : rows) {
        const GearFeature feature(given);
        EXPECT_EQ(feature.getName(), name) << given;
        EXPECT_EQ(feature.getSafeName(), safeName) << given;
    }
    kest::test::DiagnosticsCapture capture(1);
    GearFeature feature;
    EXPECT_TRUE(feature.setName("runout_da"));
    EXPECT_EQ(capture.messages(DiagnosticChannel::Trace),
              std::vector<std::string>{"deprecated feature found: runout_da. replaced by Fra"});
}

TEST(gear_feature, DataByType) {
    GearFeature feature("Wk");
    EXPECT_TRUE(feature.set(D::NominalValue, 1.25));
    EXPECT_FALSE(feature.set(D::NominalValue, std::string("x")));
    EXPECT_FALSE(feature.set(D::NominalValue, 3));
    EXPECT_TRUE(feature.set(D::Reference, std::string("tip")));
    EXPECT_TRUE(feature.set(D::NumberOfTeeth, 0x100000003LL)); // the low 32 bits
    EXPECT_FALSE(feature.set(D::EvaluationMode, 1.0));
    double d = 0;
    int i = 0;
    std::string s;
    EXPECT_TRUE(feature.get(D::NominalValue, &d) && d == 1.25);
    EXPECT_TRUE(feature.get(D::NumberOfTeeth, &i) && i == 3);
    EXPECT_TRUE(feature.get(D::Reference, &s) && s == "tip");
    EXPECT_FALSE(feature.get(D::Height, &d) || feature.get(D::Reference, &i) ||
                 feature.get(D::NominalValue, &s));
    EXPECT_FALSE(feature.get(D::NominalValue, static_cast<double*>(nullptr)));
    EXPECT_TRUE(feature.remove(D::NominalValue));
    EXPECT_FALSE(feature.remove(D::NominalValue));

    std::string kinds;
    for (int t = 0; t <= 10; ++t) {
        const auto type = static_cast<D>(t);
        kinds += GearFeature::isDoubleType(type) ? "d" : GearFeature::isStringType(type) ? "s" : "";
        kinds += GearFeature::isIntType(type) ? "i" : "";
        kinds += GearFeature::AdditionalDataType_2_parameter(type) + " ";
    }
    EXPECT_EQ(kinds,
              "dNOMINAL_SIZE dL_TOL dU_TOL dDM dLENGTH_FOR_EXTRAPOLATION sEVALUATION_MODE iNUMBER_OF_TEETH "
              "dSIZE dHEIGHT sREFERENCE dY_CIRCLE_DIAMETER ");
    EXPECT_THROW_MSG(GearFeature::AdditionalDataType_2_parameter(static_cast<D>(11)),
                     "unknown parameter for AdditionalDataType");
    EXPECT_TRUE(GearFeature("mfHbm").isBothSided());
    EXPECT_FALSE(GearFeature("fHb").isBothSided());
}

TEST(gear_feature, Validity) {
    struct Row {
        const char* name;
        D type;
        const char* text; // a string value, or nullptr for the number 1 (4 for a count)
        const char* message;
    };
    const Row rows[] = {
        {"MdK", D::BallDiameter, nullptr, ""},
        {"fHa", D::BallDiameter, nullptr, "DM (ball_diameter) for feature 'fHa' not allowed"},
        {"CT", D::ExtrapolationLength, nullptr, ""},
        {"hob", D::Size, nullptr, ""},
        {"Fa", D::Size, nullptr, "SIZE (size) for feature 'Fa' not allowed"},
        {"gyn", D::YCircleDiameter, nullptr, ""},
        {"gyn", D::Height, nullptr, ""},
        {"fHb", D::EvaluationMode, "VDI2612", ""},
        {"Caa", D::EvaluationMode, "DIN21772_RELIEF_METHOD1", ""},
        {"Caa", D::EvaluationMode, "DIN3960",
         "EVALUATION_MODE (evaluation_mode) = 'DIN3960' for feature 'Caa' not valid"},
        {"ffa", D::EvaluationMode, "DIN3960",
         "EVALUATION_MODE (evaluation_mode) for feature 'ffa' not allowed"},
        {"xyz", D::NominalValue, nullptr, "unknown feature found: xyz"},
        {"Cbo", D::NominalValue, nullptr, ""},
        {"Fpk", D::NumberOfTeeth, nullptr, ""},
        {"Wkmax", D::NumberOfTeeth, nullptr,
         "NUMBER_OF_TEETH (number_of_teeth) for feature 'Wkmax' not allowed"},
    };
    for (const auto& row : rows) {
        GearFeature feature(row.name);
        if (row.text)
            feature.set(row.type, std::string(row.text));
        else if (GearFeature::isIntType(row.type))
            feature.set(row.type, 4);
        else
            feature.set(row.type, 1.0);
        std::string message = "stale";
        EXPECT_EQ(feature.isValid(message), *row.message == '\0') << row.name;
        EXPECT_EQ(message, row.message);
    }
}

struct Loaded {
    bool result;
    GearFeature feature;
};

Loaded load(const std::string& element) {
    MSXMLWrapper xml;
    EXPECT_TRUE(xml.parse(element)) << element;
    Loaded loaded{false, GearFeature()};
    loaded.result = loaded.feature.loadXML(&xml, xml.getRootNode());
    return loaded;
}

TEST(gear_feature, Reads) {
    struct Row {
        const char* element;
        bool loads;
        const char* name;
        const char* mode; // evaluation mode read, or "" for none
    };
    const Row rows[] = {
        {"<feature name='Fa__minus__' enabled='on'/>", true, "Fa-", ""},
        {"<feature name='Caa' enabled='on'/>", true, "Caa", "DIN21772_RELIEF_METHOD2"},
        {"<feature name='fHb' "
         "enabled='off'><evaluation_mode>TANGENT_RELIEF_METHOD</evaluation_mode></feature>",
         true, "fHb", "DIN3960"},
        {"<feature name='CbI' "
         "enabled='off'><evaluation_mode>DIN21772_RELIEF_METHOD1</evaluation_mode></feature>",
         true, "CbI", "DIN21772_RELIEF_METHOD1"},
        {"<feature name='Caa' enabled='on'><evaluation_mode>DIN3960</evaluation_mode></feature>", false,
         "Caa", "DIN3960"},
        {"<feature name='ffa' "
         "enabled='on'><evaluation_mode>TANGENT_RELIEF_METHOD</evaluation_mode></feature>",
         false, "ffa", "TANGENT_RELIEF_METHOD"},
        {"<feature name='Cbo' enabled='on'/>", true, "CbI", "DIN21772_RELIEF_METHOD2"},
        {"<feature name='fHa'/>", false, "fHa", ""},
        {"<feature name='fHa' enabled='yes'/>", false, "fHa", ""},
        {"<feature name='nope' enabled='on'/>", false, "nope", ""},
    };
    for (const auto& row : rows) {
        const Loaded loaded = load(row.element);
        EXPECT_EQ(loaded.result, row.loads) << row.element;
        EXPECT_EQ(loaded.feature.getName(), row.name);
        std::string mode;
        loaded.feature.get(D::EvaluationMode, &mode);
        EXPECT_EQ(mode, row.mode) << row.element;
    }
    // the count of teeth is read only where it is allowed
    int teeth = 0;
    EXPECT_TRUE(load("<feature name='Wk' enabled='on'><number_of_teeth>3</number_of_teeth></feature>")
                    .feature.get(D::NumberOfTeeth, &teeth));
    EXPECT_EQ(teeth, 3);
    const Loaded wkmax =
        load("<feature name='Wkmax' enabled='on'><number_of_teeth>3</number_of_teeth></feature>");
    EXPECT_TRUE(wkmax.result);
    EXPECT_FALSE(wkmax.feature.get(D::NumberOfTeeth, &teeth));
}

// Written in the order: name, enabled, doubles, strings, ints; reads back equal.
TEST(gear_feature, WritesAndReadsBack) {
    MSXMLWrapper xml;
    xml.reset("gear");
    const XMLNode parent = xml.createNode("evaluation");
    GearFeature feature("Fpk");
    feature.enable();
    feature.set(D::NumberOfTeeth, 5);
    feature.set(D::Reference, std::string("r"));
    feature.set(D::UpperTolerance, 0.1);
    feature.set(D::NominalValue, 1.0 / 3.0);
    XMLNode node;
    ASSERT_TRUE(feature.saveXML(&xml, parent, node));
    const std::string text = kest::test::compactXml(xml);
    EXPECT_NE(
        text.find("<feature name=\"Fpk\" enabled=\"on\"><nominal_value>0.3333333333333333</nominal_value>"
                  "<utol>0.1</utol><reference>r</reference><number_of_teeth>5</number_of_teeth></feature>"),
        std::string::npos)
        << text;
    GearFeature back;
    EXPECT_TRUE(back.loadXML(&xml, node));
    EXPECT_EQ(back, feature);

    // a second feature gets an element of its own beside the first
    XMLNode second;
    ASSERT_TRUE(GearFeature("fHa").saveXML(&xml, parent, second));
    EXPECT_NE(second, node);
    EXPECT_TRUE(back.loadXML(&xml, node));
    EXPECT_EQ(back, feature);

    GearFeature invalid("Fa");
    invalid.set(D::Size, 1.0);
    EXPECT_FALSE(invalid.saveXML(&xml, parent, node));
    EXPECT_FALSE(feature.saveXML(nullptr, parent, node));
    EXPECT_FALSE(feature.saveXML(&xml, XMLNode(), node));
}

} // namespace
