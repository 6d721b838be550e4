#include <kest/gear/processing_information.h>

#include "support/diagnostics_capture.h"
#include "support/xml_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using kest::test::serialized;

namespace {

using R = Reference;

// The reader starts from hobbing / hardened, so that a value left alone shows; `types` is the process type's
// constant times 10 plus the post-process type's.
TEST(processing_information, Load) {
    const std::tuple<const char*, bool, int> rows[] = {
        {"<gear/>", true, 22},
        {R"(<gear><processing process_type="shaping" post_process_type="none"/></gear>)", true, 41},
        {R"(<gear><processing type="heat treated" post_process_type="bad"/></gear>)", true, 24}, // old wins
        {R"(<gear><processing type="" post_process_type="none" process_type=""/></gear>)", true, 21},
        {R"(<gear><processing post_process_type="Hardened" process_type="shaping"/></gear>)", false, 22},
        {R"(<gear><processing process_type="grinding"/></gear>)", false, 22},
    };
    for (const auto& [gear, result, types] : rows) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(gear));
        ProcessingInformation info;
        info.setProcessType(ProcessType::Hobbing);
        info.setPostProcessType(PostProcessType::Hardened);
        EXPECT_EQ(info.loadXML(&xml), result) << gear;
        EXPECT_EQ(ProcessType_2_constant(info.getProcessType()) * 10 +
                      PostProcessType_2_constant(info.getPostProcessType()),
                  types)
            << gear;
    }
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse(R"(<gear><processing type="none"/><processing/></gear>)"));
    ProcessingInformation info;
    info.setProcessType(ProcessType::NoColdRolling);
    ASSERT_TRUE(info.saveXML(&xml));
    EXPECT_EQ(serialized(xml),
              "<?xml version=\"1.0\"?>\n<gear>\n  <processing post_process_type=\"undefined\" "
              "process_type=\"no cold rolling\" />\n</gear>\n");
}

Gear_Measurement_Info key(Side side, const char* teeth) {
    return Gear_Measurement_Info(Measurement_Type::Lead, side, teeth, 4);
}

TEST(processing_information, FeedMarkRoundTripIsExact) {
    FeedMarkInformation feedMark;
    feedMark.parameters = {
        {"period", "mm", 0.1}, {"amplitude", "", 1.0 / 3.0}, {"phase", "", -0.0}, {"n", "", 7}};
    feedMark.points.emplace(key(Side::Right, "3,1,2"),
                            MeasurementPathPoint(12.5, R::Diameter, 0.2, R::LengthDatumToNonDatum));
    feedMark.points.emplace(key(Side::Left, "5"),
                            MeasurementPathPoint(1e-9, R::RollingAngle, 50, R::PercentNonDatumToDatum));
    MSXMLWrapper xml, again;
    xml.reset("gear");
    again.reset("gear");
    ASSERT_TRUE(feedMark.saveXML(&xml));
    const std::string text = serialized(xml);
    EXPECT_NE(text.find("<phase>-0</phase>\n      <n>7</n>\n      <point id=\"0\" side=\"left\" tooth=\"5\" "
                        "measurement_index=\"4\">"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("<point id=\"1\" side=\"right\" tooth=\"3,1-2\" measurement_index=\"4\">"),
              std::string::npos);

    FeedMarkInformation loaded;
    loaded.parameters.emplace_back("stale");
    ASSERT_TRUE(loaded.loadXML(&xml) && loaded.saveXML(&again));
    EXPECT_EQ(serialized(again), text);
    // The kind is not written: the keys read back as profile keys.
    ASSERT_EQ(loaded.points.size(), 2u);
    EXPECT_EQ(loaded.points.begin()->first.type, Measurement_Type::Profile);

    // Without parameters nothing is written; a document without the element leaves what was held alone.
    loaded.parameters.clear();
    ASSERT_TRUE(loaded.saveXML(&again));
    EXPECT_FALSE(again.getNode("calculated_data/feed_mark"));
    EXPECT_TRUE(loaded.loadXML(&again) && loaded.points.size() == 2u);
}

// An index that does not read is read as atoi would, with a warning naming the element; one beyond 32 bits is
// not cut to 32 bits.
TEST(processing_information, FeedMarkIndexIsReadLeniently) {
    struct Case {
        const char* attribute; // "" for none
        unsigned int index;
        const char* trace;
    };
    const Case cases[] = {
        {"measurement_index=\"7\"", 7, ""},
        {"", 0, "element 'point' has no measurement_index, read as 0"},
        {"measurement_index=\"-1\"", 0,
         "element 'point': measurement_index '-1' is not a number from 0 to 4294967295, read as 0"},
        {"measurement_index=\"4294967297\"", 0,
         "element 'point': measurement_index '4294967297' is not a number from 0 to 4294967295, read as 0"},
        {"measurement_index=\"4294967295\"", 4294967295u, ""},
        {"measurement_index=\"3rd\"", 3,
         "element 'point': measurement_index '3rd' is not a number from 0 to 4294967295, read as 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attribute);
        MSXMLWrapper xml;
        ASSERT_TRUE(
            xml.parse(std::string("<gear><calculated_data><feed_mark><p>1</p><point id=\"0\" side=\"left\" "
                                  "tooth=\"2\" ") +
                      c.attribute +
                      "><position reference=\"diameter\">40</position><height reference=\"length datum "
                      "to non-datum\">5</height></point></feed_mark></calculated_data></gear>"));
        kest::test::DiagnosticsCapture capture(1);
        FeedMarkInformation loaded;
        ASSERT_TRUE(loaded.loadXML(&xml));
        ASSERT_EQ(loaded.points.size(), 1u);
        EXPECT_EQ(loaded.points.begin()->first.measurementIndex, c.index);
        const auto traces = capture.messages(kest::host::DiagnosticChannel::Trace);
        EXPECT_EQ(traces, *c.trace ? std::vector<std::string>{c.trace} : std::vector<std::string>{});
    }
}

// Valid from 3 points and 4 parameters on, as long as no parameter is unset.
TEST(processing_information, FeedMarkIsValid) {
    FeedMarkInformation feedMark;
    feedMark.parameters.assign(4, Gear_General_Parameter("a", "", 1.0));
    for (const char* teeth : {"1", "2", "3"})
        feedMark.points.emplace(key(Side::Left, teeth), MeasurementPathPoint(0, R::Diameter, 0, R::Percent));
    EXPECT_TRUE(feedMark.isValid());
    feedMark.parameters[3].value = unsetValue;
    EXPECT_FALSE(feedMark.isValid());
    feedMark.parameters.pop_back(); // three parameters
    EXPECT_FALSE(feedMark.isValid());
    feedMark.parameters.emplace_back("b", "", 0.0);
    feedMark.points.erase(feedMark.points.begin()); // two points
    EXPECT_FALSE(feedMark.isValid());
}

} // namespace
