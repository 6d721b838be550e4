#include <kest/gear/addendum_modification_variant.h>

#include <kest/gear/host/msxml_wrapper.h>

#include <gtest/gtest.h>

#include <string>

using kest::gear::AddendumModificationVariantClass;
using kest::host::MSXMLWrapper;
using V = kest::gear::AddendumModificationVariant;

// The texts are the keywords of the gear file and of the protocol settings; a value outside the table has
// none. Only a whole text of the table is taken.
TEST(addendum_modification_variant, TextForms) {
    std::string texts;
    for (int value = 0; value <= 9; ++value) {
        const std::string text = AddendumModificationVariantClass(static_cast<V>(value)).getString();
        texts += text + ";";
        AddendumModificationVariantClass parsed(V::AddmodSbn);
        EXPECT_EQ(parsed.setString(text), value < 9);
        EXPECT_EQ(parsed.get(), value < 9 ? static_cast<V>(value) : V::AddmodSbn);
    }
    EXPECT_EQ(texts,
              "addmod_factor;addmod_value;addmod_mrk;addmod_mdk;addmod_mdr;addmod_st;addmod_sbt;addmod_sn;"
              "addmod_sbn;;");
    for (const char* text : {"ADDMOD_FACTOR", "Addmod_value", " addmod_sn", "addmod_sn ", "addmod"})
        EXPECT_FALSE(AddendumModificationVariantClass().setString(text)) << text;
}

// Element "addendum_modification_variant" below the node at the path (the document element for ""). A missing
// element is a file from before the variant was kept: it loads and leaves the variant (here AddmodMdk) alone.
TEST(addendum_modification_variant, LoadsAndSavesAtThePath) {
    const struct {
        const char *below, *path, *text; // text: nullptr for no element
        bool result;
        V variant;
    } rows[]{
        {"g", "g", "addmod_sn", true, V::AddmodSn},  {"", "", "addmod_value", true, V::AddmodValue},
        {"g", "g", nullptr, true, V::AddmodMdk},     {"g", "g", "", false, V::AddmodMdk},
        {"", "g", "addmod_sn", false, V::AddmodMdk}, // no node at the path
    };
    for (const auto& row : rows) {
        MSXMLWrapper xml;
        xml.reset("gear");
        if (*row.below) xml.createNode(row.below);
        if (row.text)
            xml.setStringValue(std::string(*row.below ? "g/" : "") + "addendum_modification_variant",
                               row.text);
        AddendumModificationVariantClass variant(V::AddmodMdk);
        EXPECT_EQ(variant.loadXML(&xml, row.path, true), row.result) << (row.text ? row.text : "no element");
        EXPECT_EQ(variant.get(), row.variant);
    }
    EXPECT_FALSE(AddendumModificationVariantClass().loadXML(nullptr, "", false));

    // A save creates the node at the path, then replaces the text of its element; a value outside the table
    // is refused, since a load would refuse the empty text, and the element keeps what it held.
    MSXMLWrapper xml;
    AddendumModificationVariantClass variant(V::AddmodMdr);
    EXPECT_FALSE(variant.saveXML(&xml, "") || variant.saveXML(nullptr, "")); // nothing to save below
    xml.reset("gear");
    ASSERT_TRUE(variant.saveXML(&xml, "protocol/settings"));
    variant.set(static_cast<V>(12));
    EXPECT_FALSE(variant.saveXML(&xml, "protocol/settings"));
    std::string document;
    xml.serialize(document);
    EXPECT_EQ(document,
              "<?xml version=\"1.0\"?>\n<gear>\n  <protocol>\n    <settings>\n"
              "      <addendum_modification_variant>addmod_mdr</addendum_modification_variant>\n    "
              "</settings>\n  </protocol>\n</gear>\n");
}
