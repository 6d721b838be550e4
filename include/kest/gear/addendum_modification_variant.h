#pragma once

#include <kest/gear/host/export.h>

#include <cstdint>
#include <string>

namespace kest::host {
class MSXMLWrapper;
}

namespace kest::gear {

// How the addendum modification (profile shift) of a gear was entered.
enum class AddendumModificationVariant : std::int32_t {
    AddmodFactor = 0, // coefficient x
    AddmodValue = 1,  // shift x * mn, mm
    AddmodMrk = 2,    // radial dimension over balls
    AddmodMdk = 3,    // diametral dimension over balls
    AddmodMdr = 4,    // diametral dimension over pins
    AddmodSt = 5,     // transverse tooth thickness on the reference circle
    AddmodSbt = 6,    // transverse tooth thickness on the base circle
    AddmodSn = 7,     // normal tooth thickness on the reference circle
    AddmodSbn = 8,    // normal tooth thickness on the base circle
};

class GEARRECORDS_API AddendumModificationVariantClass {
public:
    AddendumModificationVariantClass() = default;
    explicit AddendumModificationVariantClass(AddendumModificationVariant variant)
        : variant_(variant) {}
    AddendumModificationVariantClass(const AddendumModificationVariantClass&) = default;
    AddendumModificationVariantClass& operator=(const AddendumModificationVariantClass&) = default;
    virtual ~AddendumModificationVariantClass();

    // Reads element "addendum_modification_variant" below the node at `path` (the document element when
    // empty). A missing element leaves the variant alone and succeeds; a text outside the table fails and
    // leaves it alone. The flag is not used.
    virtual bool loadXML(host::MSXMLWrapper* xml, const std::string& path, bool flag);
    // Writes element "addendum_modification_variant" below `path`, creating that node when missing.
    virtual bool saveXML(host::MSXMLWrapper* xml, const std::string& path) const;

    AddendumModificationVariant get() const noexcept { return variant_; }
    // stores any value, also one outside the table
    void set(AddendumModificationVariant variant) noexcept { variant_ = variant; }
    // returns "" for a value outside the table
    std::string getString() const;
    // returns false, leaving the variant alone, for a text that is not exactly one of the table's
    bool setString(const std::string& text);

private:
    AddendumModificationVariant variant_ = AddendumModificationVariant::AddmodFactor;
};

} // namespace kest::gear
