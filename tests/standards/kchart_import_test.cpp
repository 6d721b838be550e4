#include <kest/gear/kchart.h>

#include "support/diagnostics_capture.h"
#include "support/kchart_round_trip.h"
#include "support/scratch_directory.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace kest::gear;
using kest::host::DiagnosticChannel;

namespace {

using T = Measurement_Type;

const std::string kData = std::string(GEARRECORDS_TEST_DATA) + "/kcharts/";

// Every chart of the collection, one line each:
// "type side index name reference | inside points | outside points".
std::string describe(const GearKCharts& charts) {
    std::ostringstream out;
    for (const T type : {T::Profile, T::Lead})
        for (const Side side : {Side::Left, Side::Right, Side::Both})
            for (unsigned int index = 0; index < charts.getNumberOfMeasurements(type, side); ++index) {
                const KChart* c = charts.get(type, side, index);
                if (c == nullptr || (side != Side::Both && c == charts.get(type, Side::Both, index)))
                    continue;
                out << Measurement_Type_2_string(type) << " " << Side_2_string(side) << " " << index << " "
                    << c->getName() << " " << Reference_2_string(c->getPositionReference()) << " "
                    << (c->is_enabled() ? "on" : "off");
                for (const KChartPart& part : c->getParts()) {
                    out << " | " << material_2_string(part.getMaterial());
                    std::vector<PointDefinition> points;
                    part.getPoints(&points);
                    for (const PointDefinition& p : points)
                        out << " " << p.position << "/" << p.variation;
                }
                out << "\n";
            }
    return out.str();
}

class kchart_import : public kest::test::ScratchDirectoryTest {};

TEST_F(kchart_import, Blocks) {
    const std::string twoBlocks = kData + "two_blocks.txt";
    const std::string blockA = "profile left 0 MAIN rolling path on | inside 0/1 10/2 | outside 0/-1 10/-2\n"
                               "lead right 2 kopf length non-datum to datum on | inside 0/-0.5 20/-0.5 "
                               "| outside 0/0.5 20/0.5\n";
    const std::string blockB = "profile right 1 unten rolling path on | inside 2/3 8/4 | outside 2/-3 8/-4\n";
    const std::tuple<int, bool, std::string> rows[] = {
        {-1, true, blockB}, // every block in turn: the last one stays
        {0, true, blockA},  // reading stops at the second "Id"
        {1, true, blockB},
        {2, false, ""},
    };
    for (const auto& [block, result, expected] : rows) {
        GearKCharts charts;
        std::vector<std::string> ids{"stale"};
        EXPECT_EQ(charts.importZF(twoBlocks.c_str(), block, &ids), result) << block;
        EXPECT_EQ(describe(charts), expected) << block;
        EXPECT_EQ(ids, (std::vector<std::string>{"stale", "A", "B"})) << block;
    }
}

// Tokens before the first "Id" belong to block 0 and to the whole file; the first "Id" starts block 0 afresh.
TEST_F(kchart_import, TokensBeforeTheFirstId) {
    const std::string withoutId = write("plain.txt", "%Flanke[links]; 0 1 0 -1; 5 1 5 -1");
    const std::string withId = write("late.txt", "%Flanke[links]; 0 1 0 -1; 5 1 5 -1\n%Id[X]");
    const std::tuple<std::string, int, bool> rows[] = {
        {withoutId, -1, true}, {withoutId, 0, true}, {withoutId, 1, false},
        {withId, -1, false},   {withId, 0, false},
    };
    for (const auto& [file, block, result] : rows) {
        GearKCharts charts;
        EXPECT_EQ(charts.importZF(file.c_str(), block, nullptr), result) << file << " " << block;
        EXPECT_EQ(charts.getNumberOfMeasurements(T::Lead, Side::Left), result ? 1u : 0u)
            << file << " " << block;
    }
}

TEST_F(kchart_import, Keywords) {
    const kest::test::DiagnosticsCapture capture(3);
    GearKCharts charts;
    std::vector<std::string> ids;
    ASSERT_TRUE(charts.importZF((kData + "keywords.txt").c_str(), -1, &ids));
    EXPECT_EQ(ids, std::vector<std::string>{"tooth 1"});
    // A keyword in capitals is recognised but keeps its whole name and index 0; "[both]" and "[Left]" start
    // nothing, so the line after "[both]" still belongs to the chart before it.
    EXPECT_EQ(describe(charts),
              "profile left 0 PROFIL_OBEN rolling path on "
              "| inside 0/0.01 4/0.02 6/0.03 | outside 0/-0.01 4/-0.02 6/-0.03\n"
              "lead left 1 fuss length non-datum to datum on | inside 0/0 0/0 | outside 1/2 3/0\n");
    EXPECT_EQ(capture.messages(DiagnosticChannel::Trace),
              (std::vector<std::string>{"unknown entry found: %Gear[links]", "unknown entry found: %Profil",
                                        "unknown entry found: abc", "unknown entry found: x7"}));
}

// Each stored measurement is named at level 4, field by field.
TEST_F(kchart_import, DetailTrace) {
    const kest::test::DiagnosticsCapture capture(4);
    GearKCharts charts;
    ASSERT_TRUE(
        charts.importZF(write("chart.txt", "%Flanke_fuss[rechts]; 0 1 0 -1; 5 1 5 -1").c_str(), -1, nullptr));
    const auto traces = capture.messages(DiagnosticChannel::Trace);
    ASSERT_EQ(traces.size(), 1u);
    for (const char* field : {"  KChartName\t: fuss\n", "  Reference\t\t: length non-datum to datum\n",
                              "  MeasIndex\t\t: 1\n", "  Side\t\t\t: right\n", "    isLead\t\t: true\n",
                              "    isProfile\t: false\n", "  Type\t\t\t: lead\n", "    isKeyword\t: true\n",
                              "  Keyword\t\t: Flanke_fuss", "  Option\t\t: rechts\n"})
        EXPECT_NE(traces[0].find(field), std::string::npos) << field;
}

// One file per row, written for the test and imported with every block.
TEST_F(kchart_import, Measurements) {
    const std::tuple<const char*, const char*, bool, const char*> rows[] = {
        {"lead kept", "%Flanke[right]; 0 1 0 -1; 5 1 5 -1", true,
         "lead right 0 MAIN length non-datum to datum on | inside 0/-1 5/-1 | outside 0/1 5/1\n"},
        // parts of one point are dropped and the chart is stored without parts
        {"one line", "%Profil[rechts]\n1 2 3 4", true, "profile right 0 MAIN unknown reference on\n"},
        {"no values", "%Profil[rechts]\n%Flanke[links]", false, ""},
        {"values before any measurement", "1 2 3 4\n5 6 7 8", false, ""},
        {"keyword outside the table", "%Profil_Rand[left]; 1 2 1 2; 3 4 3 4", false, ""},
        {"empty tokens and blanks", " ;; %Flanke_Kopf[ left ] ;\t2 1 2 1 ; 4 1 4 1;", true,
         "lead left 2 Kopf length non-datum to datum on | inside 2/1 4/1 | outside 2/1 4/1\n"},
        {"later measurement of a slot wins",
         "%Profil[left]; 0 1 0 1; 1 1 1 1\n%Profil[links]; 0 2 0 2; 1 2 1 2", true,
         "profile left 0 MAIN rolling path on | inside 0/-2 1/-2 | outside 0/-2 1/-2\n"},
    };
    for (const auto& [what, text, result, expected] : rows) {
        GearKCharts charts;
        EXPECT_EQ(charts.importZF(write("chart.txt", text).c_str(), -1, nullptr), result) << what;
        EXPECT_EQ(describe(charts), expected) << what;
    }
}

TEST_F(kchart_import, UnreadableFilesLeaveTheChartsAlone) {
    GearKCharts charts;
    const KChart kept;
    ASSERT_TRUE(charts.set(T::Lead, Side::Both, &kept, 3));
    for (const std::string& name : {(dir / "missing.txt").string(), dir.string()}) {
        EXPECT_FALSE(charts.importZF(name.c_str(), -1, nullptr)) << name;
        EXPECT_EQ(charts.getNumberOfMeasurements(T::Lead, Side::Both), 4u) << name;
    }
    EXPECT_FALSE(charts.importZF(nullptr, -1, nullptr));
    // a readable file without a chart deletes them
    EXPECT_FALSE(charts.importZF(write("empty.txt", "").c_str(), -1, nullptr));
    EXPECT_EQ(charts.getNumberOfMeasurements(T::Lead, Side::Both), 0u);
}

// What the fuzz target checks, on the chart files of the tests.
TEST_F(kchart_import, ImportedChartsSaveAndLoadAgain) {
    for (const char* name : {"two_blocks.txt", "keywords.txt"})
        EXPECT_EQ(kest::test::chartFileRoundTrip(read(kData + name), dir), "") << name;
    EXPECT_EQ(
        kest::test::chartFileRoundTrip("%Profil[left]\n0.1234567890123456789 nan 1e308 -0\n1 inf 2 3", dir),
        "");
}

} // namespace
