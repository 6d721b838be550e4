#include "record/measurement_data.h"

#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace kest::gear;
using kest::host::DiagnosticChannel;

namespace {

using MT = Measurement_Type;
constexpr const char* kNotAbsolute = "Gear::setMeasurement: profilename has to be absolute";

// The entry for an info is found by kind, side and index, and by the teeth only when the info names some; the
// count ignores the index and takes Both for either flank.
TEST(measurement_data, Lookups) {
    MeasurementData data;
    const auto set = [&](const char* name, MT type, Side side, const char* teeth, unsigned int index,
                         bool transient = false) {
        ASSERT_TRUE(data.set(name, Gear_Measurement_Info(type, side, teeth, index), transient, ""));
    };
    set("/m/a", MT::Profile, Side::Left, "1", 0);
    set("/m/b", MT::Profile, Side::Left, "1", 1);
    set("/m/c", MT::Profile, Side::Right, "1", 0);
    set("/m/p", MT::Pitch, Side::Both, "1-23", 0);
    set("/m/t", MT::Profile, Side::Left, "2", 0, true);

    struct Row {
        Gear_Measurement_Info info;
        bool transient;
        unsigned int count;
        const char* name;
        const char* toothList;
    };
    const Row rows[] = {
        {Gear_Measurement_Info(MT::Profile, Side::Left, "1", 0), false, 2, "/m/a", ""},
        {Gear_Measurement_Info(MT::Profile, Side::Both, "1", 0), false, 3, "", ""},
        {Gear_Measurement_Info(MT::Profile, Side::Left, "", 1), false, 0, "/m/b", ""},
        {Gear_Measurement_Info(MT::Profile, Side::Left, "2", 0), true, 1, "/m/t", ""},
        {Gear_Measurement_Info(MT::Pitch, Side::Both, "", 0), false, 0, "/m/p", "1-23"},
        {Gear_Measurement_Info(MT::Pitch, Side::Both, "1-23", 0), false, 1, "/m/p", "1-23"},
        {Gear_Measurement_Info(MT::Pitch, Side::Both, "1-23", 0), true, 0, "", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(data.count(row.info, row.transient), row.count) << &row - rows;
        EXPECT_EQ(data.name(row.info, row.transient), row.name) << &row - rows;
        EXPECT_EQ(data.toothList(row.info, row.transient), row.toothList) << &row - rows;
    }

    // An info for both flanks clears either flank; clearing a kind clears both sets.
    std::vector<Gear_Measurement> all;
    EXPECT_TRUE(data.clear(Gear_Measurement_Info(MT::Profile, Side::Both, "1", 0)));
    EXPECT_EQ(data.getAll(&all, false), 2u);
    EXPECT_EQ(all[0].name + all[1].name, "/m/b/m/p");
    EXPECT_TRUE(data.clear(MT::Profile));
    EXPECT_EQ(data.getAll(&all, true) + data.getAll(&all, false), 1u);
}

// The replacement rules of the stored set, and the order of getAll: by kind, side, sorted teeth and index. An
// entry replaces the one of its kind, side, index and tooth list as written; a list that only reorders the
// teeth of a stored one is dropped; a tooth-less entry also removes the first entry of its kind, side and
// index (lowest sorted teeth); an entry without a name only removes.
TEST(measurement_data, ReplacementRules) {
    struct Set {
        const char* name;
        MT type;
        Side side;
        const char* teeth;
        unsigned int index;
    };
    struct Row {
        std::vector<Set> sets;
        const char* all;       // name:teeth of getAll, in order
        const char* toothless; // name() of a tooth-less Profile Left info with index 0
    };
    const Row rows[] = {
        {{{"a", MT::Profile, Side::Left, "1,2", 0}, {"b", MT::Profile, Side::Left, "2,1", 0}}, "a:1,2 ", "a"},
        {{{"a", MT::Profile, Side::Left, "1,2", 0}, {"b", MT::Profile, Side::Left, "1,2", 0}}, "b:1,2 ", "b"},
        {{{"a", MT::Profile, Side::Left, "3-1", 0}, {"b", MT::Profile, Side::Left, "1-3", 0}},
         "a:3,2,1 ",
         "a"},
        {{{"a", MT::Profile, Side::Left, "1,2", 0}, {"", MT::Profile, Side::Left, "2,1", 0}}, "a:1,2 ", "a"},
        {{{"a", MT::Profile, Side::Left, "1,2", 0}, {"", MT::Profile, Side::Left, "1,2", 0}}, "", ""},
        {{{"a", MT::Profile, Side::Left, "3", 0},
          {"b", MT::Profile, Side::Left, "1,4", 0},
          {"c", MT::Profile, Side::Left, "2", 1},
          {"d", MT::Profile, Side::Left, "1", 1}},
         "d:1 b:1,4 c:2 a:3 ",
         "b"},
        {{{"a", MT::Profile, Side::Left, "3", 0},
          {"b", MT::Profile, Side::Left, "1,4", 0},
          {"c", MT::Profile, Side::Left, "2", 1},
          {"x", MT::Profile, Side::Left, "", 0}},
         "x: c:2 a:3 ",
         "x"},
        {{{"a", MT::Profile, Side::Left, "3", 0},
          {"b", MT::Profile, Side::Left, "1", 0},
          {"", MT::Profile, Side::Left, "", 0}},
         "a:3 ",
         "a"},
        {{{"p", MT::Pitch, Side::Both, "1-3", 0},
          {"l", MT::Lead, Side::Right, "1", 0},
          {"k", MT::Lead, Side::Left, "2", 0},
          {"q", MT::Pitch, Side::Left, "1-3", 0},
          {"m", MT::Profile, Side::Right, "1", 0},
          {"n", MT::Profile, Side::Left, "9", 3}},
         "n:9 m:1 k:2 l:1 q:1,2,3 p:1,2,3 ",
         ""},
    };
    kest::test::DiagnosticsCapture quiet; // the base does not exist: its query is traced
    for (const Row& row : rows) {
        MeasurementData data;
        // A base that shares no directory with the names keeps them as they are, and takes an empty one.
        for (const Set& s : row.sets)
            data.set(std::string(*s.name ? "/" : "") + s.name,
                     Gear_Measurement_Info(s.type, s.side, s.teeth, s.index), false, "/nowhere/g.xml");
        std::vector<Gear_Measurement> all;
        data.getAll(&all, false);
        std::string text;
        for (const Gear_Measurement& entry : all)
            text += entry.name.substr(1) + ":" + entry.teeth_2_string(false) + " ";
        EXPECT_EQ(text, row.all) << &row - rows;
        const std::string name = data.name(Gear_Measurement_Info(MT::Profile, Side::Left, "", 0), false);
        EXPECT_EQ(name.empty() ? name : name.substr(1), row.toothless) << &row - rows;
    }

    // Few runs of the key's order are merged into the listing, many are sorted: teeth 1 and 2 with two and
    // with twelve indices, put in from the last.
    for (const unsigned int indices : {2u, 12u}) {
        MeasurementData data;
        std::string expected;
        for (const char* teeth : {"1", "2"})
            for (unsigned int index = 0; index < indices; ++index)
                expected += std::string("/") + teeth + "." + std::to_string(index) + " ";
        for (unsigned int index = indices; index-- > 0;)
            for (const char* teeth : {"2", "1"})
                data.set(std::string("/") + teeth + "." + std::to_string(index),
                         Gear_Measurement_Info(MT::Lead, Side::Right, teeth, index), false, "");
        std::vector<Gear_Measurement> all;
        data.getAll(&all, false);
        std::string text;
        for (const Gear_Measurement& entry : all)
            text += entry.name + " ";
        EXPECT_EQ(text, expected) << indices;
    }
}

// An entry comes back as the info it was set with, whatever its teeth: the sorted teeth, the cycles and
// whether they are valid, so that the entry is found and cleared by that info.
TEST(measurement_data, EntriesKeepTheirInfo) {
    struct Row {
        const char* text;                // the tooth list, or null for `teeth`
        std::vector<unsigned int> teeth; // taken as given
    };
    const Row rows[] = {
        {"7", {}},         {"1-3", {}},          {"3-1", {}},
        {"1,3,2", {}},     {"1,2,1,2", {}},      {"2,1,3,1,2", {}},
        {"", {}},          {nullptr, {0}},       {nullptr, {5, 0}},
        {nullptr, {2, 2}}, {nullptr, {4, 1, 4}},
    };
    for (const Row& row : rows) {
        Gear_Measurement_Info info(MT::Pitch, Side::Right, row.text ? row.text : "", 3);
        if (!row.text) info.setTooth(row.teeth);
        const std::string label = info.teeth_2_string(false);
        MeasurementData data;
        ASSERT_TRUE(data.set("/m/p.dat", info, true, ""));
        std::vector<Gear_Measurement> all;
        ASSERT_EQ(data.getAll(&all, true), 1u) << label;
        const Gear_Measurement& entry = all[0];
        EXPECT_EQ(entry.teeth, info.teeth) << label;
        EXPECT_EQ(entry.getSortedTeeth(), info.getSortedTeeth()) << label;
        EXPECT_EQ(entry.cyclesCalculated, info.cyclesCalculated) << label;
        EXPECT_EQ(entry.getCycles(), info.getCycles()) << label;
        EXPECT_EQ(entry.hasValidCycles(), info.hasValidCycles()) << label;
        EXPECT_EQ(data.name(info, true), "/m/p.dat") << label;
        EXPECT_EQ(data.toothList(info, true), info.teeth_2_string(true)) << label;
        // an info that equals no info, not even itself, clears nothing
        data.clear(info);
        EXPECT_EQ(data.getAll(&all, true), info == info ? 0u : 1u) << label;
    }
}

// Names stay right while entries are replaced and cleared again and again, in a copy taken on the way too.
TEST(measurement_data, NamesThroughReplacements) {
    const auto info = [](unsigned int tooth) {
        return Gear_Measurement_Info(MT::Lead, Side::Left, std::to_string(tooth), tooth % 2);
    };
    constexpr unsigned int kTeeth = 8;
    const auto names = [&](const MeasurementData& data) {
        std::vector<std::string> out;
        for (unsigned int tooth = 1; tooth <= kTeeth; ++tooth)
            out.push_back(data.name(info(tooth), false));
        return out;
    };
    MeasurementData data, copy;
    std::vector<std::string> expected(kTeeth), expectedCopy;
    for (unsigned int round = 0; round < 300; ++round) {
        const unsigned int tooth = round * 5 % kTeeth + 1;
        if (round % 7 == 3) {
            data.clear(info(tooth));
            expected[tooth - 1].clear();
        } else {
            expected[tooth - 1] = "/m/" + std::string(round % 37, 'x') + std::to_string(round);
            ASSERT_TRUE(data.set(expected[tooth - 1], info(tooth), false, ""));
        }
        if (round % 50 == 0) data.clear(MT::Profile); // another kind: removes nothing
        if (round == 150) {
            copy = data;
            expectedCopy = expected;
        }
    }
    EXPECT_EQ(names(data), expected);
    EXPECT_EQ(names(copy), expectedCopy);
    copy.clear(MT::Lead);
    EXPECT_EQ(names(copy), std::vector<std::string>(kTeeth));
    EXPECT_EQ(names(data), expected);

    // a set moved from right after a replacement takes new entries
    expected[0] = "/m/last";
    ASSERT_TRUE(data.set(expected[0], info(1), false, ""));
    MeasurementData moved = std::move(data);
    ASSERT_TRUE(data.set("/m/new", info(2), false, ""));
    EXPECT_EQ(names(moved), expected);
    EXPECT_EQ(names(data), (std::vector<std::string>{"", "/m/new", "", "", "", "", "", ""}));
}

// Copies hold entries of their own; a set moved from, assigned to or swapped stays usable.
TEST(measurement_data, CopiesAndMoves) {
    const auto info = [](const char* teeth) {
        return Gear_Measurement_Info(MT::Profile, Side::Left, teeth, 0);
    };
    const auto names = [](const MeasurementData& data) {
        std::vector<Gear_Measurement> all;
        data.getAll(&all, false);
        std::string text;
        for (const Gear_Measurement& entry : all)
            text += entry.name;
        return text;
    };
    MeasurementData a;
    for (const char* teeth : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"})
        ASSERT_TRUE(a.set(std::string("/") + teeth, info(teeth), false, ""));
    MeasurementData b = a;
    b.clear(info("2"));
    b.set("/x", info("11"), false, "");
    EXPECT_EQ(names(a), "/1/2/3/4/5/6/7/8/9/10");
    EXPECT_EQ(names(b), "/1/3/4/5/6/7/8/9/10/x");

    MeasurementData c = std::move(a);
    a.set("/y", info("12"), false, "");
    EXPECT_EQ(names(a), "/y");
    b = c;
    c = std::move(a);
    std::swap(b, c);
    b.set("/z", info("13"), false, "");
    EXPECT_EQ(names(b), "/y/z");
    EXPECT_EQ(names(c), "/1/2/3/4/5/6/7/8/9/10");
    a = c;
    c = MeasurementData();
    EXPECT_EQ(names(a), "/1/2/3/4/5/6/7/8/9/10");
    EXPECT_EQ(names(c), "");
}

// With a gear file as base, a name is stored relative to it; an empty name only removes the entry.
TEST(measurement_data, SetMeasurementNames) {
    const std::string dir = std::string(GEARRECORDS_TEST_DATA) + "/gear", gearFile = dir + "/measured.xml";

    struct Row {
        std::string name, base;
        bool result;
        const char* stored; // the name stored afterwards
        const char* log;    // the error log, "" for none
    };
    const Row rows[] = {
        {"/data/x.dat", "", true, "/data/x.dat", ""},
        {"x.dat", "", false, "/old.dat", kNotAbsolute},
        {"", "", false, "/old.dat", kNotAbsolute},
        {dir + "/p/x.dat", gearFile, true, "./p/x.dat", ""},
        {"d:\\x.dat", gearFile, true, "d:\\x.dat", ""}, // no relative path to another drive
        {"", gearFile, true, "", ""},
    };
    const Gear_Measurement_Info info(MT::Lead, Side::Right, "4", 2);
    for (const Row& row : rows) {
        MeasurementData data;
        ASSERT_TRUE(data.set("/old.dat", info, false, ""));
        kest::test::DiagnosticsCapture capture;
        EXPECT_EQ(data.set(row.name, info, false, row.base), row.result) << row.name;
        EXPECT_EQ(data.name(info, false), row.stored) << row.name;
        const std::vector<std::string> log = capture.messages(DiagnosticChannel::ErrorLog);
        EXPECT_EQ(log, *row.log ? std::vector<std::string>{row.log} : std::vector<std::string>{}) << row.name;
    }
}

// Only stored entries with teeth are written; they read back relative to the file named on loading.
TEST(measurement_data, Xml) {
    MeasurementData data;
    data.set("/m/a.dat", Gear_Measurement_Info(MT::Profile, Side::Left, "3-1", 2), false, "");
    data.set("/m/Ma\xdf.dat", Gear_Measurement_Info(MT::Pitch, Side::Both, "1-23", 0), false, "");
    data.set("/m/empty.dat", Gear_Measurement_Info(MT::Lead, Side::Left, "", 0), false, "");
    data.set("/m/t.dat", Gear_Measurement_Info(MT::Lead, Side::Left, "1", 0), true, "");
    kest::host::MSXMLWrapper xml;
    xml.reset("gear");
    ASSERT_TRUE(data.save(xml));
    std::string text;
    xml.serialize(text);
    EXPECT_EQ(
        text,
        "<?xml version=\"1.0\"?>\n<gear>\n  <measurement>\n"
        "    <profile tooth=\"3-1\" side=\"left\" measurement_index=\"2\">/m/a.dat</profile>\n"
        "    <pitch tooth=\"1-23\" side=\"both\" measurement_index=\"0\" base_64=\"on\">L20vTWHfLmRhdA=="
        "</pitch>\n  </measurement>\n</gear>\n");

    kest::test::DiagnosticsCapture quiet; // the gear file does not exist: its query is traced
    MeasurementData loaded;
    ASSERT_TRUE(loaded.load(xml, "/m/g.xml"));
    std::vector<Gear_Measurement> all;
    ASSERT_EQ(loaded.getAll(&all, false), 2u);
    EXPECT_EQ(all[0].name + " " + all[1].name, "./a.dat ./Ma\xdf.dat");
    EXPECT_EQ(all[0].teeth_2_string(false), "3,2,1");

    // A tooth list that does not read leaves its measurement out with a warning, in document order; the
    // others are read.
    ASSERT_TRUE(
        xml.parse(R"(<gear><measurement><lead tooth="x" side="right" measurement_index="0">/z</lead>)"
                  R"(<lead tooth="1 2" side="left" measurement_index="0">/x</lead>)"
                  R"(<lead tooth="3" side="left" measurement_index="0">/y</lead></measurement></gear>)"));
    kest::test::DiagnosticsCapture capture(1);
    MeasurementData lenient;
    EXPECT_TRUE(lenient.load(xml, ""));
    ASSERT_EQ(lenient.getAll(&all, false), 1u);
    EXPECT_EQ(all[0].name, "/y");
    EXPECT_EQ(capture.messages(kest::host::DiagnosticChannel::Trace),
              (std::vector<std::string>{
                  "element 'lead': tooth list 'x' does not read, the measurement is left out",
                  "element 'lead': tooth list '1 2' does not read, the measurement is left out"}));

    // A name is decoded when its base_64 marker is on; a text that does not decode fails the load and leaves
    // that measurement out (the markers themselves read as every user text's do).
    struct NameRow {
        const char* marker; // the base_64 attribute, "" for none
        const char* stored;
        bool result;
        const char* name; // as read, "" for none
    };
    const NameRow nameRows[] = {
        {"", "/m/a b.dat", true, "/m/a b.dat"},
        {" base_64=\"on\"", "L20vYS5kYXQ=", true, "/m/a.dat"},
        {" base_64=\"on\"", "!!", false, ""},
    };
    for (const NameRow& row : nameRows) {
        ASSERT_TRUE(
            xml.parse(std::string(R"(<gear><measurement><lead tooth="1" side="left" measurement_index="0")") +
                      row.marker + ">" + row.stored + "</lead></measurement></gear>"));
        MeasurementData named;
        EXPECT_EQ(named.load(xml, ""), row.result) << row.marker;
        EXPECT_EQ(named.name(Gear_Measurement_Info(MT::Lead, Side::Left, "1", 0), false), row.name)
            << row.marker;
    }

    // Every measurement group is read, a later one replacing what an earlier one named; comments,
    // instructions and elements of other kinds or sides are passed over.
    ASSERT_TRUE(xml.parse(
        R"(<gear><measurement><profile tooth="1" side="left" measurement_index="0">/a</profile><!-- c -->)"
        R"(<?pi x?><profile tooth="2" side="left" measurement_index="0">/c</profile>)"
        R"(<bogus tooth="4" side="left" measurement_index="0">/u</bogus>)"
        R"(<profile tooth="4" side="up" measurement_index="0">/v</profile></measurement>)"
        R"(<measurement><profile tooth="1" side="left" measurement_index="0">/d</profile></measurement></gear>)"));
    MeasurementData groups;
    EXPECT_TRUE(groups.load(xml, ""));
    groups.getAll(&all, false);
    std::string listed;
    for (const Gear_Measurement& entry : all)
        listed += entry.name + ":" + entry.teeth_2_string(false) + " ";
    EXPECT_EQ(listed, "/d:1 /c:2 ");
}

// A load makes of the file's elements what setting them one after another into an empty set makes: random
// files with repeated and reordered tooth lists, lists without teeth and elements without a name, against
// set() as the model.
TEST(measurement_data, LoadAgreesWithSettingOneByOne) {
    constexpr const char* kinds[] = {"profile", "lead"};
    constexpr const char* sides[] = {"left", "right"};
    constexpr const char* teeth[] = {"1", "2", "1,2", "2,1", "3-1", "1-3", ""};
    constexpr const char* names[] = {"./a", "./b", "./c", ""};
    const std::string base = "/m/g.xml";
    const auto listing = [](const MeasurementData& data) {
        std::vector<Gear_Measurement> all;
        data.getAll(&all, false);
        std::string text;
        for (const Gear_Measurement& m : all)
            text += m.type_2_string() + " " + m.side_2_string() + " " + m.teeth_2_string(false) + " " +
                    std::to_string(m.measurementIndex) + " " + m.name + "; ";
        return text;
    };
    std::mt19937 random(11);
    MeasurementData loaded; // each load puts its file's entries in place of those of the file before
    const auto pick = [&random](const auto& list) { return list[random() % std::size(list)]; };
    for (int file = 0; file < 300; ++file) {
        std::string document = "<gear><measurement>";
        MeasurementData model;
        for (unsigned n = random() % 12; n > 0; --n) {
            const char* kind = pick(kinds);
            const char* side = pick(sides);
            const char* list = pick(teeth);
            const unsigned index = random() % 2;
            const char* name = pick(names);
            document += std::string("<") + kind + " tooth=\"" + list + "\" side=\"" + side +
                        "\" measurement_index=\"" + std::to_string(index) + "\">" + name + "</" + kind + ">";
            Measurement_Type type{};
            Side s{};
            ASSERT_TRUE(string_2_Measurement_Type(kind, &type) && string_2_Side(side, &s));
            model.set(name, Gear_Measurement_Info(type, s, list, index), false, base);
        }
        kest::host::MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(document + "</measurement></gear>"));
        EXPECT_TRUE(loaded.load(xml, base));
        ASSERT_EQ(listing(loaded), listing(model)) << document;
    }
}

} // namespace
