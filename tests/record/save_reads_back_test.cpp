// A save writes only what a load takes back: after any setter call the saved gear reloads with the same
// values, or the save throws its section's message and the file on disk stays as it was.

#include <kest/gear/design_profile.h>
#include <kest/gear/evaluation_standard.h>
#include <kest/gear/gear.h>
#include <kest/gear/gear_measurement_info.h>
#include <kest/gear/gear_parameters.h>
#include <kest/gear/kchart.h>
#include <kest/gear/measurement_path.h>
#include <kest/gear/processing_information.h>
#include <kest/gear/protocol_settings.h>
#include <kest/gear/tooth_count.h>

#include "support/scratch_directory.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace kest::gear {
namespace {

std::string example() {
    return std::string(GEARRECORDS_EXAMPLES) + "/helical_gear.xml";
}

Gear_Measurement_Info identity(Measurement_Type type, Side side, std::vector<unsigned int> teeth) {
    Gear_Measurement_Info info;
    info.type = type;
    info.side = side;
    info.setTooth(teeth);
    return info;
}

std::string describe(const Gear_Measurement_Info& info) {
    return info.type_2_string() + "/" + info.side_2_string() + "/" + info.teeth_2_string(false) + "/" +
           std::to_string(info.measurementIndex);
}

// What a row's edit reached, as a text that compares the gear before the save with the one reloaded.
std::string settings(const Gear& gear) {
    std::vector<Gear_Measurement_Path> all;
    gear.getAllMeasurementPathSettings(&all);
    std::string text;
    for (const Gear_Measurement_Path& s : all)
        text += describe(s) + "/" + s.label + ";";
    return text;
}

std::string measurements(const Gear& gear) {
    std::vector<Gear_Measurement> all;
    gear.getAllMeasurements(&all, false);
    std::string text;
    for (const Gear_Measurement& m : all)
        text += describe(m) + "/" + m.name + ";";
    return text;
}

FeedMarkInformation feedMarkAt(const Gear_Measurement_Info& key) {
    FeedMarkInformation set;
    set.parameters = {{"period", "mm", 0.1}};
    set.points.emplace(
        key, MeasurementPathPoint(40.25, Reference::Diameter, 2.0, Reference::LengthDatumToNonDatum));
    return set;
}

std::string feature(const Gear& gear) {
    GearFeature got;
    std::string reference;
    if (gear.getFeature("fHa", Side::Left, &got, 0, RangeType::Main))
        got.get(AdditionalDataType::Reference, &reference);
    return "[" + reference + "]";
}

std::string kcharts(const Gear& gear) {
    std::string text;
    const unsigned int count = gear.getKChartNumberOfMeasurements(Measurement_Type::Profile, Side::Left);
    for (unsigned int i = 0; i < count; ++i)
        if (const KChart* chart = gear.getKChart(Measurement_Type::Profile, Side::Left, i, nullptr))
            text += std::to_string(i) + ":" + chart->getName() + "/" +
                    std::to_string(chart->getParts().size()) + ";";
    return text;
}

// A chart of one inside part with two points on the diameter.
KChart chartOf(KChartPart part) {
    part.setMaterial(Material::Inside);
    part.addPoint(1, PointDefinition(40.0, 0.0, Reference::Diameter));
    part.addPoint(2, PointDefinition(45.0, 0.01, Reference::Diameter));
    const std::vector<KChartPart> parts{part};
    return KChart(&parts);
}

void setChart(Gear& gear, const KChart& chart, unsigned int index) {
    gear.setKChart(Measurement_Type::Profile, Side::Left, &chart, index);
}

std::string filters(const Gear& gear) {
    bool valid = false;
    return std::to_string(gear.getFilterActive(Measurement_Type::Profile, Side::Left, valid)) +
           std::to_string(gear.getFilterLeadFromProf());
}

// Changes the gear's protocol settings through `change`.
template <typename Change>
void editProtocol(Gear& gear, Change change) {
    ProtocolSettings settings;
    gear.getProtocolSettings(&settings);
    change(settings);
    gear.setProtocolSettings(settings);
}

std::string flankName(const Gear& gear) {
    ProtocolSettings settings;
    gear.getProtocolSettings(&settings);
    std::string name;
    settings.getFlankName(Side::Left, name);
    return "[" + name + "]";
}

std::string standard(const Gear& gear) {
    const EvaluationStandard got = gear.getEvaluationStandard();
    return got.getStandardName() + "/" + got.grade_2_string();
}

void setStandard(Gear& gear, const std::string& name) {
    gear.setEvaluationStandard(EvaluationStandard(name, StandardClass::Class5));
}

struct Row {
    const char* label;
    void (*edit)(Gear&);
    std::string (*observe)(const Gear&); // compared before the save and after the reload; null with an error
    const char* error;                   // the save's message, "" when the gear reads back
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.label;
}

class SaveReadsBack : public test::ScratchDirectoryTest, public ::testing::WithParamInterface<Row> {};

TEST_P(SaveReadsBack, OrRefuses) {
    const Row& row = GetParam();
    const std::string file = (dir / "gear.xml").string();
    Gear gear(example().c_str());
    gear.Save(file.c_str());
    const std::string before = read(file);

    row.edit(gear);
    if (*row.error) {
        EXPECT_THROW_MSG(gear.Save(file.c_str()), row.error);
        EXPECT_EQ(read(file), before);
        return;
    }
    gear.Save(file.c_str());
    Gear reloaded;
    ASSERT_NO_THROW(reloaded.Load(file.c_str())) << read(file);
    EXPECT_EQ(row.observe(reloaded), row.observe(gear));
}

constexpr unsigned int kTooManyTeeth = maxNumberOfTeeth + 1;
const auto kNoSide = static_cast<Side>(7);
const auto kNoKind = static_cast<Measurement_Type>(99);

void addSetting(Gear& gear, const Gear_Measurement_Info& info) {
    gear.addMeasurementToothSetting(info, true);
}

INSTANTIATE_TEST_SUITE_P(
    Setters, SaveReadsBack,
    ::testing::Values(
        // Measurement settings: the kind names the element, side and teeth are attributes the reader checks.
        Row{"setting on tooth 0",
            [](Gear& g) { addSetting(g, identity(Measurement_Type::Profile, Side::Left, {0})); }, nullptr,
            "saving measurement settings failed"},
        Row{"setting beyond the last tooth",
            [](Gear& g) { addSetting(g, identity(Measurement_Type::Profile, Side::Left, {kTooManyTeeth})); },
            nullptr, "saving measurement settings failed"},
        Row{"setting on the last tooth, listed twice",
            [](Gear& g) {
                addSetting(g, identity(Measurement_Type::Lead, Side::Right,
                                       {maxNumberOfTeeth, 1, maxNumberOfTeeth}));
            },
            settings, ""},
        Row{"setting one tooth longer than the longest list",
            [](Gear& g) {
                std::vector<unsigned int> teeth(maxToothListLength + 1);
                for (std::size_t i = 0; i < teeth.size(); ++i)
                    teeth[i] = static_cast<unsigned int>(i % maxNumberOfTeeth) + 1;
                addSetting(g, identity(Measurement_Type::Profile, Side::Left, teeth));
            },
            nullptr, "saving measurement settings failed"},
        Row{"setting of no side",
            [](Gear& g) { addSetting(g, identity(Measurement_Type::Profile, kNoSide, {1})); }, nullptr,
            "saving measurement settings failed"},
        Row{"setting of no kind", [](Gear& g) { addSetting(g, identity(kNoKind, Side::Left, {1})); }, nullptr,
            "saving measurement settings failed"},
        // Measurement data: the same identity, and the name as the element's text.
        Row{"measurement on tooth 0",
            [](Gear& g) {
                g.setMeasurement("/data/p.mes", identity(Measurement_Type::Profile, Side::Left, {0}), false,
                                 "");
            },
            nullptr, "saving measurement data failed"},
        Row{"measurement of no kind",
            [](Gear& g) { g.setMeasurement("/data/p.mes", identity(kNoKind, Side::Left, {1}), false, ""); },
            nullptr, "saving measurement data failed"},
        Row{"measurement named with a carriage return",
            [](Gear& g) {
                g.setMeasurement("/data/a\rb.mes", identity(Measurement_Type::Profile, Side::Left, {1}),
                                 false, "");
            },
            measurements, ""},
        Row{"measurement named with blanks only, relative to the gear file",
            [](Gear& g) {
                g.setMeasurement("  ", identity(Measurement_Type::Lead, Side::Right, {2}), false, g.GetKey());
            },
            measurements, ""},
        // Measuring parameters: grouped by the name of their kind.
        Row{"measuring parameter of no kind",
            [](Gear& g) { g.setMeasuringParameter(kNoKind, "speed", 1.0, ""); }, nullptr,
            "saving measuring parameters failed"},
        // Processing: the types are written by their names.
        Row{"process type without a name", [](Gear& g) { g.setProcessType(static_cast<ProcessType>(99)); },
            nullptr, "saving processing failed!"},
        Row{"post-process type without a name",
            [](Gear& g) { g.setPostProcessType(static_cast<PostProcessType>(99)); }, nullptr,
            "saving processing failed!"},
        // Feed mark: each point carries its measurement's identity.
        Row{"feed-mark point on tooth 0",
            [](Gear& g) {
                g.setFeedMarkInformation(feedMarkAt(identity(Measurement_Type::Profile, Side::Left, {0})));
            },
            nullptr, "saving calculated feedmark information failed!"},
        Row{"feed-mark point of no side",
            [](Gear& g) {
                g.setFeedMarkInformation(feedMarkAt(identity(Measurement_Type::Profile, kNoSide, {3})));
            },
            nullptr, "saving calculated feedmark information failed!"},
        Row{"feed-mark parameter named as a point",
            [](Gear& g) {
                FeedMarkInformation set = feedMarkAt(identity(Measurement_Type::Profile, Side::Left, {3}));
                set.parameters.push_back({"point", "", 1.0});
                g.setFeedMarkInformation(set);
            },
            nullptr, "saving calculated feedmark information failed!"},
        // Features: their texts are the texts of child elements.
        Row{"feature reference of blanks only",
            [](Gear& g) {
                GearFeature fHa("fHa");
                fHa.set(AdditionalDataType::Reference, std::string("  "));
                g.setFeature(fHa, Side::Left, 0, RangeType::Main);
            },
            nullptr, "saving evaluation features failed"},
        Row{"feature of no side",
            [](Gear& g) { g.setFeature(GearFeature("fHa"), kNoSide, 0, RangeType::Main); }, nullptr,
            "saving evaluation features failed"},
        Row{"feature reference with blanks around it",
            [](Gear& g) {
                GearFeature fHa("fHa");
                fHa.set(AdditionalDataType::Reference, std::string(" d ab\n"));
                g.setFeature(fHa, Side::Left, 0, RangeType::Main);
            },
            feature, ""},
        // K-charts: index, enumerations and point references as a load takes them.
        Row{"K-chart at the last index", [](Gear& g) { setChart(g, chartOf({}), 999); }, kcharts, ""},
        Row{"K-chart beyond the last index", [](Gear& g) { setChart(g, chartOf({}), 1000); }, nullptr,
            "saving kcharts failed!"},
        Row{"K-chart of no alignment",
            [](Gear& g) {
                KChart chart = chartOf({});
                chart.setAlignment(static_cast<Alignment>(9));
                setChart(g, chart, 0);
            },
            nullptr, "saving kcharts failed!"},
        Row{"K-chart part cleared to no regression type",
            [](Gear& g) {
                KChartPart part;
                part.clear();
                setChart(g, chartOf(part), 0);
            },
            nullptr, "saving kcharts failed!"},
        Row{"K-chart point of no reference",
            [](Gear& g) {
                KChartPart part;
                part.addPoint(3, PointDefinition(50.0, 0.0, static_cast<Reference>(-1)));
                setChart(g, chartOf(part), 0);
            },
            nullptr, "saving kcharts failed!"},
        // Design profiles: a part's regression type by its name.
        Row{"design profile part of no regression type",
            [](Gear& g) {
                DesignProfilePart part;
                part.setRegressionType(static_cast<RegressionType>(7));
                part.addPoint(1, PointDefinition(40.0, 0.0, Reference::Diameter));
                part.addPoint(2, PointDefinition(45.0, 0.0, Reference::Diameter));
                const std::vector<DesignProfilePart> parts{part};
                g.setDesignProfile(DesignProfile(&parts), Measurement_Type::Profile, Side::Left, 0);
            },
            nullptr, "saving design profiles failed!"},
        // Evaluation standard: the class as the standard names it.
        Row{"class of a standard with classes", [](Gear& g) { setStandard(g, "DIN_3962"); }, standard, ""},
        Row{"class of a standard without classes", [](Gear& g) { setStandard(g, "CAT_1E2028"); }, nullptr,
            "saving evaluation standard failed"},
        Row{"class of no standard", [](Gear& g) { setStandard(g, EvaluationStandard::unknown_standard()); },
            nullptr, "saving evaluation standard failed"},
        // Filters: a filter is written only with its cut-off, and the lead's following the profile on it.
        Row{"filter active without a cut-off",
            [](Gear& g) { g.setFilterActive(Measurement_Type::Profile, Side::Left, true); }, nullptr,
            "saving filters failed!"},
        Row{"lead following the profile without filters", [](Gear& g) { g.setFilterLeadFromProf(true); },
            nullptr, "saving filters failed!"},
        Row{"lead following a one-flank profile filter",
            [](Gear& g) {
                g.setFilterWaveLength(Measurement_Type::Profile, Side::Left, 0.8);
                g.setFilterActive(Measurement_Type::Profile, Side::Left, true);
                g.setFilterLeadFromProf(true);
            },
            filters, ""},
        // Protocol settings: sides, references and the addendum-modification variant by their names.
        Row{"protocol flank name of no side",
            [](Gear& g) { editProtocol(g, [](ProtocolSettings& p) { p.setFlankName(kNoSide, "A"); }); },
            nullptr, "saving protocol settings failed!"},
        Row{"protocol flank name of blanks only",
            [](Gear& g) { editProtocol(g, [](ProtocolSettings& p) { p.setFlankName(Side::Left, " \n "); }); },
            flankName, ""},
        Row{"protocol profile reference without a name",
            [](Gear& g) {
                editProtocol(g, [](ProtocolSettings& p) {
                    ProtocolSettings::parametersProfLead profile;
                    profile.reference = static_cast<Reference>(-1);
                    p.setProfLeadParameters(true, profile);
                });
            },
            nullptr, "saving protocol settings failed!"},
        Row{"protocol addendum-modification variant without a name",
            [](Gear& g) {
                editProtocol(g, [](ProtocolSettings& p) {
                    p.setAddendumModificationVariant(static_cast<AddendumModificationVariant>(99));
                });
            },
            nullptr, "saving protocol settings failed!"},
        Row{"filters cleared", [](Gear& g) { g.clearFilter(); }, filters, ""}));

} // namespace
} // namespace kest::gear
