#include <kest/gear/gear_filters.h>

#include "support/compact_xml.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <string>

using namespace kest::gear;
using kest::host::MSXMLWrapper;
using kest::host::XMLNode;

namespace {

Filter byNumber(double number, bool active = true) {
    Filter filter;
    filter.setWaveNumber(number);
    filter.setFilterActive(active);
    return filter;
}

Filter byLength(double length, bool active = true) {
    Filter filter;
    filter.setWaveLength(length);
    filter.setFilterActive(active);
    return filter;
}

TEST(gear_filters, Filter) {
    Filter filter;
    EXPECT_FALSE(filter.getInitialized() || filter.getFilterActive());
    filter.setWaveLength(0.8);
    EXPECT_TRUE(filter.getInitialized());
    EXPECT_THROW_MSG(filter.getWaveNumber(), "wrong unit");
    filter.setWaveNumber(30);
    EXPECT_THROW_MSG(filter.getWaveLength(), "wrong unit");
    filter.clear();
    EXPECT_EQ(filter, Filter());
}

TEST(gear_filters, WhichFilterApplies) {
    GearFilters filters;
    EXPECT_TRUE(filters.getBothSided(Measurement_Type::Profile) &&
                filters.getBothSided(Measurement_Type::Lead));
    EXPECT_FALSE(filters.getBothSided(Measurement_Type::Pitch));
    ASSERT_TRUE(filters.set(Measurement_Type::Profile, Side::Both, byNumber(30)));
    EXPECT_EQ(filters.get(Measurement_Type::Profile, Side::Left), byNumber(30));
    ASSERT_TRUE(filters.set(Measurement_Type::Profile, Side::Left, byLength(0.5)));
    EXPECT_FALSE(filters.getBothSided(Measurement_Type::Profile));
    EXPECT_EQ(filters.get(Measurement_Type::Profile, Side::Left), byLength(0.5));
    EXPECT_EQ(filters.get(Measurement_Type::Profile, Side::Right), Filter());
    EXPECT_EQ(filters.get(Measurement_Type::Profile, Side::Both), byNumber(30));
    EXPECT_TRUE(filters.getBothSided(Measurement_Type::Lead));

    const GearFilters before = filters;
    EXPECT_FALSE(filters.set(Measurement_Type::Pitch, Side::Left, byNumber(1)));
    EXPECT_EQ(filters, before);
    EXPECT_EQ(filters.get(Measurement_Type::Pitch, Side::Both), Filter());
}

TEST(gear_filters, ReadsFilterElements) {
    struct Row {
        const char* element;
        bool loads;
        FilterUnit unit;
        bool active;
        double value;
    };
    const Row rows[] = {
        {"<filter unit='upl' active='true'>30</filter>", true, FilterUnit::WaveNumber, true, 30},
        {"<filter unit='UPL' active='FALSE'>25</filter>", true, FilterUnit::WaveNumber, false, 25},
        {"<filter unit='mm'>0.8</filter>", true, FilterUnit::WaveLength, true, 0.8},
        {"<filter unit='Mm'>0.8</filter>", false, FilterUnit::WaveLength, false, 0.25},
        {"<filter unit='mm' active='on'>0.8</filter>", false, FilterUnit::WaveLength, false, 0.25},
        {"<filter unit='upl' active='true'>many</filter>", false, FilterUnit::WaveNumber, true, 0},
    };
    for (const auto& row : rows) {
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(std::string("<gear><profile>") + row.element + "</profile></gear>"));
        Filter filter = byLength(0.25, false); // read over: the unit is the file's, not the old one
        EXPECT_EQ(filter.loadXML(&xml, xml.getNode("profile/filter")), row.loads) << row.element;
        EXPECT_EQ(filter.getType(), row.unit) << row.element;
        EXPECT_EQ(filter.getFilterActive(), row.active) << row.element;
        const double value =
            row.unit == FilterUnit::WaveNumber ? filter.getWaveNumber() : filter.getWaveLength();
        EXPECT_EQ(value, row.value) << row.element;
    }
}

std::string saved(const GearFilters& filters) {
    MSXMLWrapper xml;
    xml.reset("gear");
    EXPECT_TRUE(filters.saveXML(&xml));
    return kest::test::compactXml(xml);
}

GearFilters loaded(const std::string& text) {
    MSXMLWrapper xml;
    EXPECT_TRUE(xml.parse(text));
    GearFilters filters;
    EXPECT_TRUE(filters.loadXML(&xml));
    return filters;
}

TEST(gear_filters, Section) {
    GearFilters filters;
    filters.set(Measurement_Type::Profile, Side::Left, byNumber(30));
    filters.set(Measurement_Type::Profile, Side::Right, byLength(0.25, false));
    filters.set(Measurement_Type::Lead, Side::Both, byLength(0.8));
    filters.setLeadFromProf(true);
    const std::string text = saved(filters);
    EXPECT_NE(
        text.find(
            "<evaluation><profile side=\"left\"><filter unit=\"upl\" active=\"true\">30</filter></profile>"
            "<profile side=\"right\"><filter unit=\"mm\" active=\"false\">0.25</filter></profile>"
            "<lead side=\"both\"><filter unit=\"mm\" active=\"true\" fromprofile=\"true\">0.8</filter>"
            "</lead></evaluation>"),
        std::string::npos)
        << text;
    const GearFilters back = loaded(text);
    EXPECT_EQ(back, filters);
    EXPECT_EQ(saved(back), text);
}

// Never-set filters write nothing and read back cleared; the kinds are then not both-sided.
TEST(gear_filters, EmptySection) {
    const GearFilters filters;
    const std::string text = saved(filters);
    EXPECT_EQ(text.find("filter"), std::string::npos) << text;
    GearFilters back = loaded(text);
    EXPECT_FALSE(back.getBothSided(Measurement_Type::Profile) || back.getBothSided(Measurement_Type::Lead));
    EXPECT_FALSE(back.get(Measurement_Type::Profile, Side::Left).getInitialized());
    EXPECT_FALSE(back.get(Measurement_Type::Lead, Side::Both).getInitialized());
    EXPECT_FALSE(back.loadXML(nullptr) || back.saveXML(nullptr));
}

} // namespace
