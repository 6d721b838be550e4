#include "record/feed_mark_store.h"

#include <kest/gear/gear.h>

#include "support/xml_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using kest::test::serialized;

namespace {

using Points = std::map<Gear_Measurement_Info, MeasurementPathPoint>;

// Every part of each key that a caller can see, and the point's height, in map order.
std::string describe(const Points& points) {
    std::string text;
    for (const auto& [key, point] : points) {
        text += key.type_2_string() + " " + key.side_2_string() + " [" + key.teeth_2_string(false) + "] #" +
                std::to_string(key.measurementIndex) + " cycles " + std::to_string(key.getCycles().size()) +
                " max " + std::to_string(key.getMaxCycle()) + " h " + std::to_string(point.height) + "\n";
    }
    return text;
}

struct PointRow {
    const char* side;
    const char* teeth;
    unsigned int index;
    const char* height; // a number reads, anything else makes the point unreadable
};

std::string document(const std::vector<PointRow>& points, const char* parameters) {
    std::string text = std::string("<gear><calculated_data><feed_mark>") + parameters;
    for (const PointRow& p : points)
        text += std::string("<point id=\"0\" side=\"") + p.side + "\" tooth=\"" + p.teeth +
                "\" measurement_index=\"" + std::to_string(p.index) +
                "\"><position reference=\"diameter\">40</position><height reference=\"length datum to "
                "non-datum\">" +
                p.height + "</height></point>";
    return text + "</feed_mark></calculated_data></gear>";
}

// What a map gives when the points are placed in the order read, each replacing the entry of an equal key
// with its own key and point; points that do not read are passed over.
Points placedInMap(const std::vector<PointRow>& points) {
    Points map;
    for (const PointRow& p : points) {
        Side side{};
        Gear_Measurement_Info key;
        char* end = nullptr;
        const double height = std::strtod(p.height, &end);
        if (!string_2_Side(p.side, &side) || !key.setTooth(std::string(p.teeth)) || *end != '\0') continue;
        key.side = side;
        key.measurementIndex = p.index;
        map.erase(key);
        map.emplace(key,
                    MeasurementPathPoint(40, Reference::Diameter, height, Reference::LengthDatumToNonDatum));
    }
    return map;
}

TEST(feed_mark_store, LoadKeepsTheOrderAndReplacementsOfAMap) {
    const char* pitch = "<pitch type=\"mm\">0.5</pitch>";
    const struct {
        const char* name;
        std::vector<PointRow> points;
        const char* parameters;
        bool result;
    } rows[] = {
        {"flanks interleaved, descending",
         {{"right", "2", 0, "1"},
          {"left", "3", 0, "2"},
          {"both", "1", 0, "3"},
          {"right", "1", 0, "4"},
          {"left", "2", 0, "5"}},
         pitch,
         true},
        {"an equal key later replaces the point and its key",
         {{"left", "1,2", 0, "1"}, {"left", "3", 0, "2"}, {"left", "2,1", 0, "3"}, {"left", "3", 0, "4"}},
         pitch,
         true},
        {"equal keys on interleaved flanks",
         {{"right", "2", 0, "1"},
          {"left", "1", 0, "2"},
          {"right", "1", 0, "3"},
          {"left", "1", 0, "4"},
          {"right", "2", 0, "5"},
          {"left", "1", 0, "6"},
          {"right", "1", 0, "7"}},
         pitch,
         true},
        {"lists of several teeth order by their sorted teeth",
         {{"left", "2", 0, "1"},
          {"left", "1-3", 0, "2"},
          {"left", "3,1", 0, "3"},
          {"left", "1,2", 0, "4"},
          {"left", "1", 0, "5"},
          {"left", "9-7", 0, "6"}},
         pitch,
         true},
        {"repeated teeth in cycles",
         {{"left", "1,2,1", 0, "1"}, {"left", "1", 0, "2"}, {"left", "1,1,2", 0, "3"}},
         pitch,
         true},
        {"the index decides last",
         {{"left", "2", 1, "1"}, {"left", "2", 0, "2"}, {"left", "1", 7, "3"}, {"left", "2", 1, "4"}},
         pitch,
         true},
        {"an empty tooth list comes first", {{"left", "4", 0, "1"}, {"left", "", 0, "2"}}, pitch, true},
        {"points that do not read are left out",
         {{"left", "1", 0, "1"},
          {"up", "2", 0, "2"},
          {"left", "0", 0, "3"},
          {"left", "1 2", 0, "4"},
          {"left", "3", 0, "five"},
          {"left", "4", 0, "6"}},
         pitch,
         false},
        {"an unreadable point keeps the earlier one of its key",
         {{"left", "1", 0, "1"}, {"left", "1", 0, "x"}},
         pitch,
         false},
        {"a parameter that does not read", {{"left", "1", 0, "1"}}, "<pitch>0.5</pitch><bad>x</bad>", false},
        {"parameters only", {}, pitch, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(document(row.points, row.parameters)));
        FeedMarkStore store;
        EXPECT_EQ(store.load(xml), row.result);
        const FeedMarkInformation loaded = store.information();
        EXPECT_EQ(describe(loaded.points), describe(placedInMap(row.points)));
        // a parameter that does not read is kept with its name
        std::string names;
        for (const Gear_General_Parameter& parameter : loaded.parameters)
            names += parameter.name + " ";
        EXPECT_EQ(names, row.parameters == pitch ? "pitch " : "pitch bad ");
    }
}

TEST(feed_mark_store, LoadReplacesWhatWasHeld) {
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse(document({{"left", "1", 0, "1"}, {"right", "1-3", 0, "2"}}, "<p>1</p>")));
    FeedMarkStore store;
    ASSERT_TRUE(store.load(xml) && store.load(xml));
    EXPECT_EQ(store.information().points.size(), 2u);
    EXPECT_EQ(store.information().parameters.size(), 1u);
    MSXMLWrapper none;
    ASSERT_TRUE(none.parse("<gear><calculated_data/></gear>"));
    ASSERT_TRUE(store.load(none));
    EXPECT_TRUE(store.information().points.empty() && store.information().parameters.empty());
}

// A loaded file saves unchanged, also after the public result went out and came back; what the writer does
// not know stays.
TEST(feed_mark_store, SaveOfALoadedFileIsUnchanged) {
    const char* text = "<gear><calculated_data><feed_mark><!-- note --><pitch type=\"mm\">0.5</pitch>"
                       "<point id=\"0\" side=\"left\" tooth=\"3,1-2\" measurement_index=\"4\" extra=\"x\">"
                       "<position reference=\"diameter\">40.25</position><height reference=\"length datum to "
                       "non-datum\">-0</height><note/></point>"
                       "<point id=\"1\" side=\"right\" tooth=\"5\" measurement_index=\"0\">"
                       "<position reference=\"rolling angle\">1e-09</position><height reference=\"percent "
                       "non-datum to datum\">50</height></point></feed_mark></calculated_data></gear>";
    MSXMLWrapper original, xml;
    ASSERT_TRUE(original.parse(text) && xml.parse(text));
    FeedMarkStore store;
    ASSERT_TRUE(store.load(xml) && store.save(xml));
    EXPECT_EQ(serialized(xml), serialized(original));

    FeedMarkStore again;
    again.assign(store.information());
    ASSERT_TRUE(again.save(xml));
    EXPECT_EQ(serialized(xml), serialized(original));

    // Without parameters the element goes, points and all, and the group it leaves empty with it.
    FeedMarkInformation withoutParameters = store.information();
    withoutParameters.parameters.clear();
    again.assign(withoutParameters);
    ASSERT_TRUE(again.save(xml));
    EXPECT_EQ(serialized(xml), "<?xml version=\"1.0\"?>\n<gear />\n");
}

// What a caller sets comes back as set, keys of other kinds, of several teeth and of repeated teeth included.
TEST(feed_mark_store, GearGivesBackWhatWasSet) {
    FeedMarkInformation set;
    set.parameters = {{"period", "mm", 0.1}, {"n", "", 7}};
    const struct {
        Measurement_Type type;
        Side side;
        const char* teeth;
        unsigned int index;
    } keys[] = {
        {Measurement_Type::Lead, Side::Right, "3,1,2", 4},   {Measurement_Type::Profile, Side::Left, "5", 0},
        {Measurement_Type::Profile, Side::Left, "1,2,1", 0}, {Measurement_Type::Profile, Side::Both, "", 2},
        {Measurement_Type::FeedMark, Side::Left, "9-7", 1},
    };
    double height = 0;
    for (const auto& k : keys)
        set.points.emplace(Gear_Measurement_Info(k.type, k.side, k.teeth, k.index),
                           MeasurementPathPoint(1.5, Reference::Diameter, ++height, Reference::Percent));
    Gear gear;
    ASSERT_TRUE(gear.setFeedMarkInformation(set));
    FeedMarkInformation got;
    got.parameters.emplace_back("stale");
    ASSERT_TRUE(gear.getFeedMarkInformation(&got));
    EXPECT_EQ(got.parameters, set.parameters);
    EXPECT_EQ(describe(got.points), describe(set.points));
    for (auto a = got.points.begin(), b = set.points.begin(); a != got.points.end(); ++a, ++b)
        EXPECT_EQ(a->second, b->second);

    // A second set replaces the first: nothing of it stays.
    FeedMarkInformation other;
    other.points.emplace(Gear_Measurement_Info(Measurement_Type::Profile, Side::Right, "4", 0),
                         MeasurementPathPoint(2.5, Reference::Diameter, 3.0, Reference::Percent));
    ASSERT_TRUE(gear.setFeedMarkInformation(other));
    ASSERT_TRUE(gear.getFeedMarkInformation(&got));
    EXPECT_TRUE(got.parameters.empty());
    EXPECT_EQ(describe(got.points), describe(other.points));
}

} // namespace
