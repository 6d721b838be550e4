#include <kest/gear/addendum_modification_variant.h>

#include <kest/gear/host/msxml_wrapper.h>

#include "util/enum_table.h"

#include <array>
#include <string_view>

namespace kest::gear {
namespace {

using VariantRow = enum_table::TextRow<AddendumModificationVariant>;

// Both directions of the text form walk this table.
constexpr std::array kVariants{
    VariantRow{AddendumModificationVariant::AddmodFactor, "addmod_factor"},
    VariantRow{AddendumModificationVariant::AddmodValue, "addmod_value"},
    VariantRow{AddendumModificationVariant::AddmodMrk, "addmod_mrk"},
    VariantRow{AddendumModificationVariant::AddmodMdk, "addmod_mdk"},
    VariantRow{AddendumModificationVariant::AddmodMdr, "addmod_mdr"},
    VariantRow{AddendumModificationVariant::AddmodSt, "addmod_st"},
    VariantRow{AddendumModificationVariant::AddmodSbt, "addmod_sbt"},
    VariantRow{AddendumModificationVariant::AddmodSn, "addmod_sn"},
    VariantRow{AddendumModificationVariant::AddmodSbn, "addmod_sbn"},
};

constexpr const char* kElement = "addendum_modification_variant";

// The node at `path` below the document element, the document element itself for an empty path.
host::XMLNode baseNode(const host::MSXMLWrapper& xml, const std::string& path) {
    return path.empty() ? xml.getRootNode() : xml.getNode(path);
}

} // namespace

AddendumModificationVariantClass::~AddendumModificationVariantClass() = default;

std::string AddendumModificationVariantClass::getString() const {
    return enum_table::toText(kVariants, variant_, "");
}

bool AddendumModificationVariantClass::setString(const std::string& text) {
    return enum_table::fromText(kVariants, text, &variant_);
}

bool AddendumModificationVariantClass::loadXML(host::MSXMLWrapper* xml, const std::string& path, bool) {
    if (!xml) return false;
    const host::XMLNode base = baseNode(*xml, path);
    if (!base) return false;
    std::string text;
    // Files written before the variant was recorded have no element: their value was the coefficient.
    if (!xml->getStringValue(kElement, text, base)) return true;
    return setString(text);
}

bool AddendumModificationVariantClass::saveXML(host::MSXMLWrapper* xml, const std::string& path) const {
    if (!xml) return false;
    host::XMLNode base = baseNode(*xml, path);
    if (!base) base = xml->createNode(path);
    if (!base) return false;
    // a variant without a name would be written as "", which a load refuses
    const std::string text = getString();
    return !text.empty() && xml->setStringValue(kElement, text, base);
}

} // namespace kest::gear
