#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/design_profile.h>
#include <kest/gear/gear.h>
#include <kest/gear/host/product_version.h>
#include <kest/gear/measurement_enums.h>
#include <kest/gear/process_types.h>
#include <kest/gear/processing_information.h>
#include <kest/gear/protocol_settings.h>

#include "support/diagnostics_capture.h"
#include "support/scratch_directory.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numbers>
#include <sstream>

namespace kest::gear {
namespace {

namespace fs = std::filesystem;
using host::DiagnosticChannel;

std::string dataFile(const std::string& name) {
    return std::string(GEARRECORDS_TEST_DATA) + "/gear/" + name;
}

class GearFile : public test::ScratchDirectoryTest {
protected:
    std::string path(const char* name) const { return (dir / name).string(); }
};

struct LoadCase {
    const char* file;
    const char* error; // "" when the load succeeds
    const char* trace; // level-1 trace expected, "" for none
};

class GearLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(GearLoad, StampsAndKinds) {
    const LoadCase& c = GetParam();
    test::DiagnosticsCapture capture(1);
    Gear gear;
    if (*c.error) {
        EXPECT_THROW_MSG(gear.Load(dataFile(c.file).c_str()), c.error);
    } else {
        EXPECT_NO_THROW(gear.Load(dataFile(c.file).c_str()));
        ASSERT_NE(gear.getGeometry(), nullptr);
        EXPECT_EQ(gear.getGeometry()->getZ(), 23);
        EXPECT_STREQ(gear.GetKey(), dataFile(c.file).c_str());
    }
    const auto traces = capture.messages(DiagnosticChannel::Trace);
    for (const auto& report : capture.reports)
        EXPECT_TRUE(report.channel != DiagnosticChannel::Trace || report.level == 1) << report.message;
    if (*c.trace)
        EXPECT_EQ(traces, std::vector<std::string>{c.trace});
    else
        EXPECT_TRUE(traces.empty());
}

constexpr const char* kUnreadableStamp =
    "Cannot evaluate version info. Check required (9.02-44) and actual (0.00-00) version format!";

INSTANTIATE_TEST_SUITE_P(
    Files, GearLoad,
    ::testing::Values(
        LoadCase{"stamp_9.02-44.xml", "", ""}, LoadCase{"stamp_14.50-02.xml", "", ""},
        LoadCase{"stamp_9.02-43.xml",
                 "invalid version of gear-object found: required=9.02-44, actual=9.02-43", ""},
        LoadCase{"stamp_V14.xml", "", kUnreadableStamp}, LoadCase{"stamp_missing.xml", "", kUnreadableStamp},
        LoadCase{
            "stamp_9.02-45sp.xml", "",
            "Cannot evaluate version info. Check required (9.02-44) and actual (9.02-45) version format!"},
        LoadCase{"kind_capitals.xml", "wrong type of geometry", ""},
        LoadCase{"kind_missing.xml", "loading geometry type failed", ""},
        LoadCase{"missing_face_width.xml", "loading geometry failed", ""},
        LoadCase{"asymmetrical_syt.xml", "", ""}, LoadCase{"beveloid.xml", "", ""},
        LoadCase{"asymmetrical_unknown_variant.xml", "loading geometry failed", ""},
        LoadCase{"beveloid_without_reference.xml", "loading geometry failed", ""},
        LoadCase{"measured.xml", "", ""},
        LoadCase{"tooth_counting_yes.xml", "loading measurement settings failed", ""},
        LoadCase{"path_lead_position.xml", "loading measurement settings failed", ""},
        LoadCase{"positioning_unreadable.xml", "loading positioning parameters failed", ""},
        LoadCase{"measurement_bad_tooth.xml", "",
                 "element 'profile': tooth list '1,x' does not read, the measurement is left out"},
        LoadCase{"feed_mark_without_index.xml", "", "element 'point' has no measurement_index, read as 0"},
        LoadCase{"design_profile_repeated_point.xml", "loading design profiles failed!", ""},
        LoadCase{"protocol_unreadable.xml", "loading protocol settings failed!", ""}));

TEST_F(GearFile, FileNameLengthIsCheckedBeforeAnyAccess) {
    test::DiagnosticsCapture capture;
    Gear gear;
    const std::string longest(259, 'a');
    EXPECT_THROW_MSG(gear.Load(longest.c_str()), "file not found: '" + longest + "'");
    const std::string tooLong(260, 'a');
    EXPECT_THROW_MSG(gear.Load(tooLong.c_str()),
                     "Windows _MAX_PATH exceeded. This are usually 260 characters.");
    EXPECT_EQ(capture.messages(DiagnosticChannel::ErrorLog),
              std::vector<std::string>{"Windows MAX_PATH (260 characters) exceeded. Filename '" + tooLong +
                                       "' has 260 characters..."});
}

TEST_F(GearFile, VersionMessageOutlivesTheGear) {
    const char* message = nullptr;
    try {
        Gear gear(dataFile("stamp_9.02-43.xml").c_str());
    } catch (const char* m) {
        message = m;
    }
    ASSERT_NE(message, nullptr);
    EXPECT_STREQ(message, "invalid version of gear-object found: required=9.02-44, actual=9.02-43");
}

TEST_F(GearFile, SaveStampsTheProductVersion) {
    Gear gear(dataFile("stamp_9.02-44.xml").c_str());
    EXPECT_EQ(gear.getVersion(), "9.02-44");
    host::setProductVersion("12.01-07sp2");
    gear.Save(path("stamped.xml").c_str());
    host::setProductVersion("");
    EXPECT_EQ(gear.getVersion(), "12.01-07sp2");
    EXPECT_EQ(Gear(path("stamped.xml").c_str()).getVersion(), "12.01-07sp2");

    gear.Save(path("library.xml").c_str());
    EXPECT_EQ(Gear(path("library.xml").c_str()).getVersion(), host::libraryProductVersion());
}

TEST_F(GearFile, UnchangedSaveLeavesTheFileAlone) {
    const std::string file = path("gear.xml");
    fs::copy_file(dataFile("stamp_9.02-44.xml"), file);
    Gear gear(file.c_str());
    gear.Save(file.c_str()); // the stamp changes: written
    const auto written = fs::last_write_time(file);
    const std::string first = read(file);

    fs::last_write_time(file, written - std::chrono::hours(1));
    gear.Save(file.c_str());
    gear.Save(nullptr); // the key names the same file
    EXPECT_EQ(fs::last_write_time(file), written - std::chrono::hours(1))
        << "unchanged content is not written";

    Gear reloaded(file.c_str());
    reloaded.Save(file.c_str());
    EXPECT_EQ(fs::last_write_time(file), written - std::chrono::hours(1)) << "nor after a load";
    EXPECT_EQ(read(file), first);

    const std::string copy = path("copy.xml");
    reloaded.Save(copy.c_str());
    EXPECT_EQ(read(copy), first) << "a new name is always written, byte for byte the same";

    // Laid out otherwise than a save lays it out, with the stamp a save writes: the content is the same.
    std::string otherLayout;
    for (const char c : first)
        otherLayout += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << otherLayout;
    fs::last_write_time(file, written - std::chrono::hours(1));
    host::setProductVersion(Gear(file.c_str()).getVersion());
    Gear handWritten(file.c_str());
    handWritten.Save(file.c_str());
    host::setProductVersion("");
    EXPECT_EQ(fs::last_write_time(file), written - std::chrono::hours(1)) << "nor in another layout";
    EXPECT_EQ(read(file), otherLayout);
}

TEST_F(GearFile, SaveWithoutGeometryKeepsTheGeometryElement) {
    const std::string file = path("gear.xml");
    Gear empty;
    empty.Save(file.c_str());
    EXPECT_EQ(read(file).find("\n  <geometry"), std::string::npos);
    std::string hash;
    EXPECT_FALSE(empty.getGeometryHash(hash));

    // A document read without its sections holds a geometry element that no geometry object stands for.
    Gear gear;
    std::istringstream in(read(dataFile("stamp_9.02-44.xml")));
    gear.ReadFromStream(in);
    ASSERT_EQ(gear.getGeometry(), nullptr);
    gear.Save(file.c_str());
    EXPECT_NE(read(file).find("<number_of_teeth>23</number_of_teeth>"), std::string::npos);
    EXPECT_EQ(Gear(file.c_str()).getGeometry()->getZ(), 23);
}

// A load that fails at any step leaves the gear exactly as it was: a following save writes the good file.
TEST_F(GearFile, FailedLoadLeavesTheGearAsItWas) {
    host::setProductVersion("9.02-44");
    Gear gear(dataFile("measured.xml").c_str());
    for (const char* broken :
         {"tooth_counting_yes.xml", "positioning_unreadable.xml", "kind_missing.xml", "stamp_9.02-43.xml",
          "no_such_file.xml", "design_profile_repeated_point.xml", "protocol_unreadable.xml"}) {
        SCOPED_TRACE(broken);
        EXPECT_THROW(gear.Load(dataFile(broken).c_str()), const char*);
        EXPECT_STREQ(gear.GetKey(), dataFile("measured.xml").c_str());
        EXPECT_TRUE(gear.isToothCountingClockwise());
        EXPECT_EQ(gear.getAllPositioningParameters(nullptr), 2u);
    }
    gear.Save(path("after.xml").c_str());
    host::setProductVersion("");
    EXPECT_EQ(read(path("after.xml")), read(dataFile("measured.xml")));
    EXPECT_THROW_MSG(gear.Load(nullptr), "cannot load a record without a file name");
}

TEST_F(GearFile, UserStringsSurvive) {
    const std::string file = path("saved.xml");
    Gear withStrings(dataFile("user_strings.xml").c_str());
    using V = CylindricalGearGeometry::ValueType;
    const CylindricalGearGeometry& g = *withStrings.getGeometry();
    EXPECT_EQ(g.getUserString(V::NumberOfTeeth), "Ma\xdf 12");
    EXPECT_EQ(g.getUserString(V::FaceWidth), "Breite laut Zeichnung");
    EXPECT_EQ(g.getUserString(V::HelixAngle), "gerade verzahnt");
    withStrings.Save(file.c_str());
    Gear again(file.c_str());
    EXPECT_EQ(again.getGeometry()->getUserString(V::NumberOfTeeth), "Ma\xdf 12");
    EXPECT_EQ(again.getGeometry()->getUserString(V::HelixAngle), "gerade verzahnt");
    EXPECT_NE(read(file).find("base_64=\"on\""), std::string::npos);
}

// Elements and attributes the library does not know, at the top level and inside every section it writes,
// stay in their places: a save of the loaded gear gives the file back byte for byte but for the identity
// texts written by hand. A change rewrites only what it changes.
TEST_F(GearFile, UnknownContentStaysInItsPlace) {
    host::setProductVersion("9.02-44");
    const std::string original = read(dataFile("unknown_in_sections.xml"));
    Gear gear(dataFile("unknown_in_sections.xml").c_str());
    gear.Save(path("same.xml").c_str());
    // An element written by hand is known again by its measurement; only its identity's text is rewritten.
    std::string expected = original;
    const auto replace = [&expected](const std::string& from, const std::string& to) {
        const std::size_t at = expected.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        expected.replace(at, from.size(), to);
    };
    replace("tooth=\"3,4,5\" side=\"right\" measurement_index=\"01\"",
            "tooth=\"3-5\" side=\"right\" measurement_index=\"1\"");
    EXPECT_EQ(read(path("same.xml")), expected);

    gear.setPositioningParameter("angle", 1.0);
    gear.setProcessType(ProcessType{});
    gear.clearMeasurements(Gear_Measurement_Info(Measurement_Type::Profile, Side::Left, "1", 1));
    gear.Save(path("changed.xml").c_str());
    host::setProductVersion("");
    replace("<angle>-12.5</angle>", "<angle>1</angle>");
    replace("process_type=\"hobbing\"", "process_type=\"" + ProcessType_2_string(ProcessType{}) + "\"");
    replace("    <profile tooth=\"1\" side=\"left\" "
            "measurement_index=\"1\">./profiles/t1_left_up.dat</profile>\n",
            "");
    EXPECT_EQ(read(path("changed.xml")), expected);
}

// The parser reads a Latin-1 or UTF-16 file into UTF-8 texts; a save writes UTF-8 and says so in the
// declaration, so that the texts read back unchanged however often the file is saved.
TEST_F(GearFile, DeclaredEncodingIsHonoured) {
    const std::string latin1 = read(dataFile("latin1.xml"));
    // The same text as UTF-16 (little endian, with its mark): each Latin-1 byte is its own code point.
    std::string utf16 = "\xff\xfe";
    std::string declared = latin1;
    declared.replace(declared.find("ISO-8859-1"), 10, "UTF-16");
    for (const char c : declared) {
        utf16 += c;
        utf16 += '\0';
    }
    std::ofstream(path("utf16.xml"), std::ios::binary) << utf16;
    using V = CylindricalGearGeometry::ValueType;
    for (const std::string& file : {dataFile("latin1.xml"), path("utf16.xml")}) {
        SCOPED_TRACE(file);
        Gear gear(file.c_str());
        const std::string width = "Breite laut Ma\xc3\x9f"
                                  "blatt, Toleranz \xc2\xb1"
                                  "0,1";
        const std::string name = "./Profile/Zahn_1_Flanke_\xc3\xa4.dat";
        const Gear_Measurement_Info info(Measurement_Type::Profile, Side::Left, "1", 0);
        EXPECT_EQ(gear.getGeometry()->getUserString(V::FaceWidth), width);
        EXPECT_EQ(gear.getMeasurement(info, false), name);
        gear.Save(path("first.xml").c_str());
        const std::string first = read(path("first.xml"));
        EXPECT_EQ(first.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", 0), 0u) << first;
        Gear again(path("first.xml").c_str());
        EXPECT_EQ(again.getGeometry()->getUserString(V::FaceWidth), width);
        EXPECT_EQ(again.getMeasurement(info, false), name);
        again.Save(path("second.xml").c_str());
        EXPECT_EQ(read(path("second.xml")), first);
    }
}

// The files hold every section the library writes (measurements, tooth and path settings, every kind of
// parameter, processing, a feed mark, design profiles, protocol, ranges, features, filters, standard and
// K-charts) in the form the library writes, and what it does not know at every level of each kind of geometry
// (which its writers rebuild): a save of the loaded gear gives each back byte for byte, and so does a save of
// that save.
TEST_F(GearFile, WrittenFormsRoundTripByteForByte) {
    host::setProductVersion("9.02-44");
    for (const std::string& file :
         {dataFile("measured.xml"), std::string(GEARRECORDS_EXAMPLES) + "/full_gear.xml",
          dataFile("geometry_unknown_cylindrical.xml"), dataFile("geometry_unknown_asymmetrical.xml"),
          dataFile("geometry_unknown_beveloid.xml")}) {
        SCOPED_TRACE(file);
        Gear gear(file.c_str());
        gear.Save(path("first.xml").c_str());
        Gear again(path("first.xml").c_str());
        again.Save(path("second.xml").c_str());
        EXPECT_EQ(read(path("first.xml")), read(file));
        EXPECT_EQ(read(path("second.xml")), read(file));
    }
    host::setProductVersion("");
    Gear measured(dataFile("measured.xml").c_str());
    std::vector<Gear_Measurement_Path> twist;
    EXPECT_EQ(measured.getTwistSettings(&twist, Measurement_Type::Profile, Side::Left, 1), 3u);
    EXPECT_TRUE(measured.isTwistValid(Measurement_Type::Profile, Side::Left, 1, nullptr, false));

    // Every section holds something: a section the readers passed over would come back as unknown content.
    Gear again((std::string(GEARRECORDS_EXAMPLES) + "/full_gear.xml").c_str());
    std::vector<Gear_Measurement> measurements;
    std::vector<Gear_Measurement_Path> settings;
    EXPECT_GT(again.getAllMeasurements(&measurements, false), 0u);
    EXPECT_GT(again.getAllMeasurementPathSettings(&settings), 0u);
    EXPECT_GT(again.getAllPositioningParameters(nullptr), 0u);
    EXPECT_EQ(again.getDesignProfileCount(Measurement_Type::Profile, Side::Left), 3u);
    EXPECT_NE(again.getProcessType(), ProcessType{});
    std::string drawing;
    EXPECT_TRUE(again.getProtocolHeader().get(ProtocolHeader::HeaderEntry::DRAWING_NO, &drawing));
    ProtocolSettings protocol;
    ASSERT_TRUE(again.getProtocolSettings(&protocol));
    EXPECT_NE(protocol, ProtocolSettings());
    EXPECT_FALSE(again.getProtocolSettings(nullptr));
    EXPECT_FALSE(again.getProtocolHeader(nullptr));
    FeedMarkInformation feedMark;
    again.getFeedMarkInformation(&feedMark);
    EXPECT_TRUE(feedMark.isValid());
    std::vector<Gear_EvaluationRange> ranges;
    EXPECT_GT(again.getAllEvaluationRanges(Measurement_Type::Profile, Side::Left, &ranges), 0u);
    EXPECT_FALSE(again.getAllFeatures().empty());
    EXPECT_TRUE(again.getFiltersInitialized());
    EXPECT_EQ(again.getEvaluationStandard().getStandardName(), "AGMA_2000_A88");
    EXPECT_GT(again.getKChartNumberOfMeasurements(Measurement_Type::Lead, Side::Right), 0u);
}

// The gear's design-profile and protocol accessors forward to what it holds; copies of the gear own their
// own profiles.
TEST_F(GearFile, DesignProfilesAndProtocolThroughTheGear) {
    Gear gear;
    DesignProfile profile;
    profile.setName("p");
    EXPECT_TRUE(gear.setDesignProfile(profile, Measurement_Type::Lead, Side::Both, 1));
    EXPECT_EQ(gear.getDesignProfileCount(Measurement_Type::Lead, Side::Right), 2u);
    const Gear copy(gear);
    EXPECT_TRUE(gear.clearDesignProfiles(Measurement_Type::Lead));
    EXPECT_EQ(gear.getDesignProfileCount(Measurement_Type::Lead, Side::Left), 0u);
    ASSERT_NE(copy.getDesignProfile(Measurement_Type::Lead, Side::Left, 1), nullptr);
    EXPECT_EQ(copy.getDesignProfile(Measurement_Type::Lead, Side::Left, 1)->getName(), "p");

    ProtocolHeader header;
    header.set(ProtocolHeader::HeaderEntry::COMMENT, "c");
    gear.setProtocolHeader(header);
    ProtocolSettings settings;
    gear.getProtocolSettings(&settings);
    EXPECT_EQ(settings.getHeader(), header);
    settings.setTwistOnSeparatedPages(true);
    gear.setProtocolSettings(settings);
    ProtocolHeader out;
    EXPECT_TRUE(gear.getProtocolHeader(&out));
    EXPECT_EQ(out, header);
}

// A feed mark set on a gear that was loaded without one reaches the file. A point whose height is given in a
// profile reference would not load again: that save is refused and the file stays as it was.
TEST_F(GearFile, FeedMarkSetOnTheGearIsSaved) {
    Gear gear((std::string(GEARRECORDS_EXAMPLES) + "/helical_gear.xml").c_str());
    const Gear_Measurement_Info key(Measurement_Type::Profile, Side::Left, "3", 0);
    FeedMarkInformation set;
    set.parameters = {{"period", "mm", 0.1}};
    set.points.emplace(
        key, MeasurementPathPoint(40.25, Reference::Diameter, 2.0, Reference::LengthDatumToNonDatum));
    ASSERT_TRUE(gear.setFeedMarkInformation(set));
    gear.Save(path("g.xml").c_str());
    FeedMarkInformation got;
    ASSERT_TRUE(Gear(path("g.xml").c_str()).getFeedMarkInformation(&got));
    EXPECT_EQ(got.parameters, set.parameters);
    EXPECT_EQ(got.points, set.points);

    const std::string saved = read(path("g.xml"));
    set.points.at(key).heightReference = Reference::Percent;
    ASSERT_TRUE(gear.setFeedMarkInformation(set));
    EXPECT_THROW_MSG(gear.Save(path("g.xml").c_str()), "saving calculated feedmark information failed!");
    EXPECT_EQ(read(path("g.xml")), saved);
}

TEST_F(GearFile, GeometryRoundTripsExactly) {
    using G = CylindricalGearGeometry;
    G geometry(31, 30.0, 3.0, 15.0 * std::numbers::pi / 180.0, 20.0 * std::numbers::pi / 180.0, -0.1, 101.681,
               88.181, G::FlankDirection::Left, G::ModuleVariant::Normal,
               AddendumModificationVariant::AddmodFactor, 5.5);
    Gear gear(&geometry);
    const std::string file = path("helical.xml");
    gear.Save(file.c_str());
    Gear loaded(file.c_str());
    EXPECT_TRUE(loaded.getGeometry()->isSimilar(geometry));
    EXPECT_EQ(loaded.getGeometry()->getDM(), 5.5);
    std::string hash, again;
    ASSERT_TRUE(loaded.getGeometryHash(hash));
    loaded.Save(path("second.xml").c_str());
    ASSERT_TRUE(loaded.getGeometryHash(again));
    EXPECT_EQ(hash, again);
    EXPECT_EQ(read(file), read(path("second.xml")));
}

} // namespace
} // namespace kest::gear
