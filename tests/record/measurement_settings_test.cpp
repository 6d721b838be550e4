#include "record/measurement_settings.h"

#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kest::gear;

namespace {

using MT = Measurement_Type;
using R = Reference;

// A setting whose path carries `marker` as the position of its only point, so that a summary shows which
// setting's path a merge left where.
Gear_Measurement_Path setting(const char* teeth, char marker, bool enabled = true, unsigned int index = 0,
                              MT type = MT::Profile, Side side = Side::Left) {
    Gear_Measurement_Path s(Gear_Measurement_Info(type, side, teeth, index));
    s.path.setPoints({MeasurementPathPoint(marker, R::Diameter, 0.0, R::LengthDatumToNonDatum)});
    if (enabled) s.enabled.enable();
    return s;
}

// One "<kind initial><side initial><index> <teeth> <marker>[ off]" per setting, in list order.
std::string summary(const std::vector<Gear_Measurement_Path>& settings) {
    std::string out;
    for (const Gear_Measurement_Path& s : settings) {
        std::vector<MeasurementPathPoint> points;
        s.path.getPoints(&points);
        if (!out.empty()) out += " | ";
        out += s.type_2_string().substr(0, 1) + s.side_2_string().substr(0, 1) +
               std::to_string(s.measurementIndex) + " " + s.teeth_2_string(true) + " " +
               (points.empty() ? '-' : static_cast<char>(points.front().position)) +
               (s.enabled.is_enabled() ? "" : " off");
    }
    return out;
}

std::string summary(const MeasurementSettings& settings) {
    std::vector<Gear_Measurement_Path> all;
    settings.getAllPathSettings(&all);
    return summary(all);
}

struct MergeCase {
    const char* name;
    std::vector<Gear_Measurement_Path> added;
    const char* expected;
};

// For every tooth it names, the newer setting's path wins; a setting is split rather than left without teeth.
TEST(measurement_settings, MergeRule) {
    const MergeCase rows[] = {
        {"partial overlap", {setting("1-3", 'A'), setting("2,5", 'B')}, "pl0 1,3 A | pl0 2,5 B"},
        {"same teeth, path only",
         {setting("1-3", 'A'), setting("2,5", 'B'), setting("3,1", 'C')},
         "pl0 1,3 C | pl0 2,5 B"},
        {"subset", {setting("1-5", 'A'), setting("3,2", 'B')}, "pl0 1,4-5 A | pl0 3-2 B"},
        {"superset", {setting("2,3", 'A'), setting("4-1", 'B')}, "pl0 2-3 B | pl0 1,4 B"},
        {"superset of two",
         {setting("2", 'A'), setting("3", 'B'), setting("1-4", 'C')},
         "pl0 2 C | pl0 3 C | pl0 1,4 C"},
        {"two partial overlaps",
         {setting("1,2", 'A'), setting("3,4", 'B'), setting("2,3", 'C')},
         "pl0 1 A | pl0 4 B | pl0 2-3 C"},
        {"disjoint", {setting("1,2", 'A'), setting("3", 'B')}, "pl0 1-2 A | pl0 3 B"},
        {"other flag", {setting("1-3", 'A'), setting("2", 'B', false)}, "pl0 1-3 A | pl0 2 B off"},
        {"other index", {setting("1", 'A'), setting("1", 'B', true, 1)}, "pl0 1 A | pl1 1 B"},
        {"other kind", {setting("1", 'A'), setting("1", 'B', true, 0, MT::Lead)}, "pl0 1 A | ll0 1 B"},
    };
    for (const MergeCase& row : rows) {
        MeasurementSettings settings;
        for (const Gear_Measurement_Path& s : row.added)
            EXPECT_TRUE(settings.addPathSetting(s));
        EXPECT_EQ(summary(settings), row.expected) << row.name;
    }
}

// A single tooth finds the first setting that names it; more teeth need the same list in the same order. A
// setting for both flanks serves either.
TEST(measurement_settings, FindsThePathSetting) {
    MeasurementSettings settings;
    for (const Gear_Measurement_Path& s :
         {setting("1-3", 'A'), setting("7,5", 'B', false, 0, MT::Profile, Side::Both),
          setting("2", 'C', true, 1)})
        settings.addPathSetting(s);
    // The found setting, or the info itself without a path (marked "-"), disabled.
    const std::tuple<Gear_Measurement_Info, const char*> rows[] = {
        {Gear_Measurement_Info(MT::Profile, Side::Left, "2", 0), "pl0 1-3 A"},
        {Gear_Measurement_Info(MT::Profile, Side::Left, "2", 1), "pl1 2 C"},
        {Gear_Measurement_Info(MT::Profile, Side::Right, "5", 0), "pb0 7,5 B off"},
        {Gear_Measurement_Info(MT::Profile, Side::Right, "5,7", 0), "pr0 5,7 - off"},
        {Gear_Measurement_Info(MT::Profile, Side::Left, "1-2", 0), "pl0 1-2 - off"},
    };
    for (const auto& [info, expected] : rows) {
        Gear_Measurement_Path path = setting("9", 'X');
        EXPECT_EQ(settings.getPathSetting(info, path), std::string(expected).find(" - ") == std::string::npos)
            << expected;
        EXPECT_EQ(summary({path}), expected);
    }
}

// Clearing tooth settings takes those of the kind on the flank named, or on every flank for Both.
TEST(measurement_settings, ClearsToothSettingsByKindAndFlank) {
    const struct {
        MT type;
        Side side;
        bool cleared;
        unsigned int left;
    } rows[] = {
        {MT::Profile, Side::Left, true, 2}, {MT::Profile, Side::Right, true, 2},
        {MT::Profile, Side::Both, true, 1}, {MT::Lead, Side::Right, false, 3},
        {MT::Lead, Side::Both, true, 2},    {MT::Pitch, Side::Both, false, 3},
    };
    for (const auto& row : rows) {
        MeasurementSettings settings;
        for (const auto& [type, side] :
             {std::pair{MT::Profile, Side::Left}, std::pair{MT::Profile, Side::Right},
              std::pair{MT::Lead, Side::Left}})
            settings.addToothSetting(Gear_Measurement_Info(type, side, "1", 0), true);
        EXPECT_EQ(settings.clearToothSettings(row.type, row.side), row.cleared);
        EXPECT_EQ(settings.getAllToothSettings(nullptr), row.left);
    }
}

// The view splits the profile and lead settings by tooth and drops references that have nothing beside them.
TEST(measurement_settings, TwistViewAndClearing) {
    MeasurementSettings settings;
    EXPECT_FALSE(settings.clearTwistSettings(MT::Profile, Side::Left, 1));
    for (const Gear_Measurement_Path& s :
         {setting("5", 'F', true, 1, MT::RoughnessProfile), setting("3-1", 'A'), setting("2,3", 'B', true, 1),
          setting("5", 'C', true, 1), setting("2", 'D', true, 2, MT::Profile, Side::Right),
          setting("4", 'E', true, 0, MT::Lead), setting("1-23", 'P', true, 0, MT::Pitch, Side::Both)})
        settings.addPathSetting(s);
    std::vector<Gear_Measurement_Path> view;
    ASSERT_EQ(settings.getAllTwistSettings(&view), 6u);
    EXPECT_EQ(summary(view), "pl0 2 A | pl1 2 B | pl0 3 A | pl1 3 B | pl1 5 C | pr2 2 D");
    EXPECT_EQ(settings.getTwistSettings(&view, MT::Profile, Side::Left, 3), 2u);
    EXPECT_EQ(summary(view), "pl0 3 A | pl1 3 B");

    // Only tooth 2's measurements beside the reference go; references, other teeth, flanks and kinds stay.
    EXPECT_TRUE(settings.clearTwistSettings(MT::Profile, Side::Left, 2));
    EXPECT_EQ(summary(settings), "rl1 5 F | pl0 3-1 A | pl1 3 B | pl1 5 C | pr2 2 D | ll0 4 E | pb0 1-23 P");
}

// A range of tooth 5, left flank: a profile range runs along the diameter at one height, a lead range along
// the face width at one diameter.
MeasurementPathPoint at(double position, double height, R positionReference = R::Diameter,
                        R heightReference = R::PercentDatumToNonDatum) {
    return MeasurementPathPoint(position, positionReference, height, heightReference);
}
Gear_Measurement_Path range(MT type, unsigned int index, std::vector<MeasurementPathPoint> points,
                            bool enabled = true) {
    Gear_Measurement_Path s(Gear_Measurement_Info(type, Side::Left, "5", index));
    s.path.setPoints(points);
    s.label = getDefaultMeasName(type, index);
    if (enabled) s.enabled.enable();
    return s;
}
Gear_Measurement_Path twistRange(MT type, unsigned int index, bool enabled = true) {
    const double at10 = 10.0 * (index + 1);
    return type == MT::Lead ? range(type, index, {at(40 + at10 / 10, 10), at(40 + at10 / 10, 90)}, enabled)
                            : range(type, index, {at(43.5, at10), at(50.1, at10)}, enabled);
}

std::string twistMessage(const std::vector<Gear_Measurement_Path>& given, MT type, bool enabledOnly) {
    MeasurementSettings settings;
    std::vector<Gear_Measurement_Path> all = given;
    settings.setAllTwistSettings(all);
    std::string message = "stale";
    const bool valid = settings.isTwistValid(type, Side::Left, 5, &message, enabledOnly);
    EXPECT_EQ(valid, message.empty()) << message;
    return message;
}

// Which measurements of a tooth and flank there are: the reference and as many on either side.
TEST(measurement_settings, TwistMeasurements) {
    const std::tuple<MT, std::vector<unsigned int>, bool, const char*> rows[] = {
        {MT::Profile, {0, 1, 2}, false, ""},
        {MT::Lead, {0, 1, 2, 3, 4}, false, ""},
        {MT::Profile, {}, false, "no measurements defined"},
        {MT::Pitch, {0, 1, 2}, false, "at least 3 measurements required"}, // pitch settings are no twist
        {MT::Profile, {1, 2, 3}, false, "reference measurement missing"},
        {MT::Profile,
         {0, 1, 3},
         false,
         "same number of measurements on each side of reference measurement required"},
        {MT::Profile,
         {0, 1, 2, 3, 4},
         true,
         "odd number of measurements required incl. reference measurement"},
    };
    for (const auto& [type, indices, enabledOnly, message] : rows) {
        std::vector<Gear_Measurement_Path> given;
        for (const unsigned int index : indices) // the last one disabled
            given.push_back(
                twistRange(type == MT::Pitch ? MT::Profile : type, index, index + 1 < indices.size()));
        EXPECT_EQ(twistMessage(given, type, enabledOnly), message) << indices.size();
    }
}

// Settings for several teeth, some of them repeated in later cycles, count once for each time they name
// tooth 5.
TEST(measurement_settings, TwistOfSettingsForSeveralTeeth) {
    const std::vector<std::pair<std::vector<std::pair<const char*, unsigned int>>, const char*>> rows{
        {{{"1-5", 0}, {"5,6", 1}, {"4-6", 2}}, ""},
        // of two references the last one counts
        {{{"5,6,5", 0}, {"5", 1}, {"5", 2}}, ""},
        {{{"5", 0}, {"5,6,5", 1}, {"5", 2}},
         "odd number of measurements required incl. reference measurement"},
        {{{"6", 0}, {"5,6", 1}, {"5", 2}}, "at least 3 measurements required"},
        {{{"1-9999,1-9999", 0}, {"9999-1", 1}, {"5-4", 2}}, ""},
    };
    for (const auto& [teeth, message] : rows) {
        std::vector<Gear_Measurement_Path> given;
        for (const auto& [text, index] : teeth) {
            Gear_Measurement_Path& s = given.emplace_back(twistRange(MT::Profile, index));
            s.setTooth(text);
        }
        EXPECT_EQ(twistMessage(given, MT::Profile, false), message) << teeth.front().first;
    }
}

// The ranges of a valid twist with one of them replaced.
TEST(measurement_settings, TwistRanges) {
    const std::tuple<MT, unsigned int, std::vector<MeasurementPathPoint>, const char*> rows[] = {
        {MT::Profile, 2, {}, "no range for measurement 2:'DOWN_1' defined"},
        {MT::Profile,
         1,
         {at(43.5, 20), at(47, 20), at(50.1, 20)},
         "only 2 points for range for measurement 1:'UP_1' allowed"},
        {MT::Profile, 1, {at(43.5, 20), at(50.1, 20 + 5e-7)}, ""},
        {MT::Profile,
         1,
         {at(43.5, 20), at(50.1, 20 + 1e-5)},
         "different heights for range for measurement 1:'UP_1' not allowed"},
        {MT::Profile,
         1,
         {at(43.5, 8), at(50.1, 8, R::Diameter, R::LengthDatumToNonDatum)},
         "different height references for range for measurement 1:'UP_1' not allowed"},
        {MT::Profile,
         2,
         {at(43.5, 30), at(50.1, 30, R::VCircleDiameter)},
         "different position reference for range for measurement 2:'DOWN_1' not allowed"},
        {MT::Profile,
         1,
         {at(43.5, 20), at(50.2, 20)},
         "different positions for range for measurement 1:'UP_1' not allowed"},
        {MT::Lead,
         1,
         {at(42, 10), at(42, 90, R::RollingPath)},
         "different position references for range for measurement 1:'OUT_1' not allowed"},
        {MT::Lead,
         1,
         {at(42, 10), at(42.1, 90)},
         "different positions for range for measurement 1:'OUT_1' not allowed"},
        {MT::Lead,
         1,
         {at(42, 10, R::Diameter, R::PercentNonDatumToDatum), at(42, 90)},
         "different height reference for range for measurement 1:'OUT_1' not allowed"},
        {MT::Lead,
         1,
         {at(42, 11), at(42, 90)},
         "different heights for range for measurement 1:'OUT_1' not allowed"},
        {MT::Lead,
         1,
         {at(42, 10), at(42, 89)},
         "different heights reference for range for measurement 1:'OUT_1' not allowed"},
    };
    for (const auto& [type, replaced, points, message] : rows) {
        std::vector<Gear_Measurement_Path> given = {twistRange(type, 0), twistRange(type, 1),
                                                    twistRange(type, 2)};
        given[replaced] = range(type, replaced, points);
        EXPECT_EQ(twistMessage(given, type, false), message);
    }
}

// A tooth setting is appended as given, enabled or not; nothing is merged. Without path settings or without
// an output the twist view counts nothing and leaves the output alone.
TEST(measurement_settings, ToothSettingsAndEmptyTwistView) {
    MeasurementSettings settings;
    EXPECT_TRUE(settings.addToothSetting(Gear_Measurement_Info(MT::Pitch, Side::Both, "1-23", 0), true));
    EXPECT_TRUE(settings.addToothSetting(Gear_Measurement_Info(MT::Pitch, Side::Both, "1-23", 0), false));
    EXPECT_EQ(summary(settings), "pb0 1-23 - | pb0 1-23 - off");
    std::vector<Gear_Measurement_Info> infos(1);
    EXPECT_EQ(settings.getAllToothSettings(&infos), 2u);
    EXPECT_EQ(infos.size(), 3u) << "appended to what the list held";
    const MeasurementSettings empty;
    std::vector<Gear_Measurement_Path> out{setting("9", 'z')};
    EXPECT_EQ(empty.getAllTwistSettings(&out), 0u);
    EXPECT_EQ(empty.getTwistSettings(&out, MT::Profile, Side::Left, 9), 0u);
    EXPECT_EQ(summary(out), "pl0 9 z");
    settings.addPathSetting(setting("1", 'a'));
    EXPECT_EQ(settings.getAllTwistSettings(nullptr), 0u);
    EXPECT_EQ(settings.getTwistSettings(nullptr, MT::Profile, Side::Left, 1), 0u);
}

// A save writes each setting with the points of its path, its flag and its kind; a load gives them back.
TEST(measurement_settings, SaveAndLoadAgain) {
    MeasurementSettings settings;
    settings.addPathSetting(setting("1-3", 'A'));
    settings.addPathSetting(setting("2", 'B', false, 1, MT::Lead, Side::Right));
    kest::host::MSXMLWrapper xml;
    xml.reset("gear");
    ASSERT_TRUE(settings.save(xml));
    MeasurementSettings loaded;
    ASSERT_TRUE(loaded.load(xml, settingsElement(xml)));
    EXPECT_EQ(summary(loaded), "pl0 1-3 A | lr1 2 B off");

    // A setting written in place of its element takes the element's additional parameters away when it has
    // none.
    ASSERT_TRUE(xml.parse(R"(<gear><measurement><settings><profile tooth="1-3" side="left" )"
                          R"(measurement_index="0"><additional_parameters><x>1</x></additional_parameters>)"
                          R"(</profile></settings></measurement></gear>)"));
    ASSERT_TRUE(settings.save(xml));
    std::string text;
    xml.serialize(text);
    EXPECT_EQ(text.find("additional_parameters"), std::string::npos) << text;
}

// The identity attributes read leniently: no "enabled" is enabled; an index beyond 32 bits is 0, not cut.
TEST(measurement_settings, ReadsSettingsLeniently) {
    kest::host::MSXMLWrapper xml;
    ASSERT_TRUE(
        xml.parse(R"(<gear><measurement><settings>)"
                  R"(<profile tooth="1" side="left" measurement_index="4294967297" />)"
                  R"(<lead tooth="2" side="right" measurement_index="3" enabled="off" />)"
                  R"(<profile tooth="3" side="left" measurement_index="4294967295" enabled="bogus" />)"
                  R"(</settings></measurement></gear>)"));
    kest::test::DiagnosticsCapture capture(1);
    MeasurementSettings settings;
    ASSERT_TRUE(settings.load(xml, settingsElement(xml)));
    EXPECT_EQ(summary(settings), "pl0 1 - | pl4294967295 3 - | lr3 2 - off");
    EXPECT_EQ(
        capture.messages(kest::host::DiagnosticChannel::Trace),
        std::vector<std::string>{"element 'profile': measurement_index '4294967297' is not a number from 0 "
                                 "to 4294967295, read as 0"});
}

// A label is read from its attribute, decoded when the setting's base_64 marker is on, wherever the marker
// stands; a label that does not decode fails the load and is dropped (the markers themselves read as every
// user text's do).
TEST(measurement_settings, ReadsLabels) {
    struct Row {
        const char* attributes;
        bool loads;
        const char* label;
    };
    const Row rows[] = {
        {R"(measurement_label="MAIN")", true, "MAIN"},
        {R"(measurement_label="TUFJTg==" base_64="on")", true, "MAIN"},
        {R"(base_64="on" measurement_label="TUFJTg==")", true, "MAIN"},
        {R"(measurement_label="%%" base_64="on")", false, ""},
        {R"(base_64="on")", true, ""},
    };
    kest::test::DiagnosticsCapture capture(1);
    for (const Row& row : rows) {
        kest::host::MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(std::string(R"(<gear><measurement><settings><lead tooth="1" side="left" )") +
                              row.attributes + " /></settings></measurement></gear>"));
        MeasurementSettings settings;
        EXPECT_EQ(settings.load(xml, settingsElement(xml)), row.loads) << row.attributes;
        std::vector<Gear_Measurement_Path> read;
        ASSERT_EQ(settings.getAllPathSettings(&read), 1u);
        EXPECT_EQ(read.front().label, row.label) << row.attributes;
    }
}

// The four readers below "measurement/settings" share the element found here: the first "settings" child of
// the first "measurement" element that has one.
TEST(measurement_settings, FindsTheSettingsElement) {
    const struct {
        const char* document; // below <gear>
        const char* found;    // attribute "n" of the element found, "" for none
    } rows[] = {
        {"", ""},
        {"<measurement><profile tooth=\"1\"/></measurement>", ""},
        {"<settings n=\"a\"/><measurement/>", ""},
        {"<measurement/><measurement><settings n=\"b\"/></measurement>", "b"},
        {"<measurement><settings n=\"a\"/><settings n=\"b\"/></measurement><measurement><settings n=\"c\"/>"
         "</measurement>",
         "a"},
        {"<measurement><profile/><lead/><!-- settings --><settings n=\"d\"/></measurement>", "d"},
    };
    for (const auto& row : rows) {
        kest::host::MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(std::string("<gear>") + row.document + "</gear>"));
        const char* found = settingsElement(xml).attribute("n");
        EXPECT_EQ(std::string(found ? found : ""), row.found) << row.document;
    }
}

} // namespace
