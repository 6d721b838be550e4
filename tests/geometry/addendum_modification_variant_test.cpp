#include <kest/gear/addendum_modification_variant.h>

#include <kest/gear/host/msxml_wrapper.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kest::gear::AddendumModificationVariant;
using kest::gear::AddendumModificationVariantClass;
using kest::host::MSXMLWrapper;

namespace {

using V = AddendumModificationVariant;

struct TextRow {
    V variant;
    const char* text;
};

// The texts are the keywords of the gear file and of the protocol settings.
const std::vector<TextRow> kTexts{
    {V::AddmodFactor, "addmod_factor"}, {V::AddmodValue, "addmod_value"}, {V::AddmodMrk, "addmod_mrk"},
    {V::AddmodMdk, "addmod_mdk"},       {V::AddmodMdr, "addmod_mdr"},     {V::AddmodSt, "addmod_st"},
    {V::AddmodSbt, "addmod_sbt"},       {V::AddmodSn, "addmod_sn"},       {V::AddmodSbn, "addmod_sbn"},
};

TEST(addendum_modification_variant, TextFormsBothWays) {
    for (const TextRow& row : kTexts) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(AddendumModificationVariantClass(row.variant).getString(), row.text);
        AddendumModificationVariantClass parsed(V::AddmodSbn);
        EXPECT_TRUE(parsed.setString(row.text));
        EXPECT_EQ(parsed.get(), row.variant);
    }
    EXPECT_EQ(AddendumModificationVariantClass().get(), V::AddmodFactor);
}

TEST(addendum_modification_variant, ValueOutsideTheTableHasNoText) {
    AddendumModificationVariantClass variant;
    variant.set(static_cast<V>(12));
    EXPECT_EQ(variant.get(), static_cast<V>(12));
    EXPECT_EQ(variant.getString(), "");
}

TEST(addendum_modification_variant, SetStringRejectsAnythingButAWholeText) {
    for (const char* text :
         {"ADDMOD_FACTOR", "Addmod_value", "", " addmod_sn", "addmod_sn ", "addmod_", "addmod"}) {
        SCOPED_TRACE(text);
        AddendumModificationVariantClass variant(V::AddmodMdk);
        EXPECT_FALSE(variant.setString(text));
        EXPECT_EQ(variant.get(), V::AddmodMdk);
    }
}

struct LoadRow {
    const char* name;
    const char* document;
    const char* path;
    bool result;
    V variant; // the variant before is AddmodMdk
};

TEST(addendum_modification_variant, LoadsFromTheFile) {
    const std::vector<LoadRow> rows{
        {"element below the path",
         "<gear><geometry><addendum_modification_variant>addmod_sn</addendum_modification_variant></"
         "geometry></gear>",
         "geometry", true, V::AddmodSn},
        {"element below the document element",
         "<gear><addendum_modification_variant>addmod_value</addendum_modification_variant></gear>", "", true,
         V::AddmodValue},
        {"no element: older file", "<gear><geometry/></gear>", "geometry", true, V::AddmodMdk},
        {"text outside the table",
         "<gear><geometry><addendum_modification_variant>addmod_xyz</addendum_modification_variant></"
         "geometry></gear>",
         "geometry", false, V::AddmodMdk},
        {"capitals",
         "<gear><geometry><addendum_modification_variant>ADDMOD_FACTOR</addendum_modification_variant>"
         "</geometry></gear>",
         "geometry", false, V::AddmodMdk},
        {"empty element", "<gear><geometry><addendum_modification_variant/></geometry></gear>", "geometry",
         false, V::AddmodMdk},
        {"path names no node",
         "<gear><addendum_modification_variant>addmod_sn</addendum_modification_variant></gear>", "geometry",
         false, V::AddmodMdk},
    };
    for (const LoadRow& row : rows) {
        SCOPED_TRACE(row.name);
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(row.document));
        AddendumModificationVariantClass variant(V::AddmodMdk);
        EXPECT_EQ(variant.loadXML(&xml, row.path, true), row.result);
        EXPECT_EQ(variant.get(), row.variant);
    }
}

TEST(addendum_modification_variant, NoDocumentFails) {
    AddendumModificationVariantClass variant(V::AddmodSt);
    EXPECT_FALSE(variant.loadXML(nullptr, "", false));
    EXPECT_FALSE(variant.saveXML(nullptr, ""));
    EXPECT_EQ(variant.get(), V::AddmodSt);
    MSXMLWrapper empty; // no document element to save below
    EXPECT_FALSE(variant.saveXML(&empty, ""));
    EXPECT_FALSE(variant.saveXML(&empty, "geometry"));
}

TEST(addendum_modification_variant, SaveCreatesTheNodeAtThePath) {
    MSXMLWrapper xml;
    xml.reset("gear");
    ASSERT_TRUE(AddendumModificationVariantClass(V::AddmodMdr).saveXML(&xml, "protocol/settings"));
    std::string text;
    EXPECT_TRUE(xml.getStringValue("protocol/settings/addendum_modification_variant", text));
    EXPECT_EQ(text, "addmod_mdr");

    // A second save replaces the text of the same element.
    ASSERT_TRUE(AddendumModificationVariantClass(V::AddmodSbt).saveXML(&xml, "protocol/settings"));
    EXPECT_EQ(xml.getNodes("protocol/settings/addendum_modification_variant").size(), 1u);
    EXPECT_TRUE(xml.getStringValue("protocol/settings/addendum_modification_variant", text));
    EXPECT_EQ(text, "addmod_sbt");
}

TEST(addendum_modification_variant, ValueOutsideTheTableSavesAnEmptyElement) {
    MSXMLWrapper xml;
    xml.reset("gear");
    AddendumModificationVariantClass variant;
    variant.set(static_cast<V>(12));
    ASSERT_TRUE(variant.saveXML(&xml, ""));
    std::string text = "previous";
    EXPECT_TRUE(xml.getStringValue("addendum_modification_variant", text));
    EXPECT_EQ(text, "");
}

} // namespace
