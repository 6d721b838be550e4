#pragma once

// The gear's design profiles, per measurement kind (profile or lead), flank and measurement index.

#include <kest/gear/design_profile.h>
#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>

#include <array>
#include <memory>
#include <vector>

namespace kest::gear {

class DesignProfiles {
public:
    // Measurement indices above this are refused: no gear carries that many measurements of one kind.
    static constexpr unsigned int maxMeasurementIndex = 999;

    DesignProfiles() = default;
    DesignProfiles(const DesignProfiles& other);
    DesignProfiles& operator=(const DesignProfiles& other);
    DesignProfiles(DesignProfiles&&) noexcept = default;
    DesignProfiles& operator=(DesignProfiles&&) noexcept = default;
    ~DesignProfiles() = default;

    // Removes every profile of the kind on both flanks. returns false for a kind other than profile or lead.
    bool clear(Measurement_Type kind);
    // The number of slots of the flank, empty ones included. Throws "illegal side" for Both (or a value
    // outside the enumeration) and "illegal type" for a kind other than profile or lead.
    unsigned int count(Measurement_Type kind, Side side) const;
    // returns null for another kind, an index beyond the slots, an empty slot or a side outside the
    // enumeration. Throws "illegal side <Both> for getting a design profile" for Both.
    const DesignProfile* get(Measurement_Type kind, Side side, unsigned int index) const;
    // Stores a copy of the profile (empty the slot for null) at the index, growing the flank's slots as
    // needed; Both sets both flanks. returns false for another kind, a side outside the enumeration or an
    // index above maxMeasurementIndex.
    bool set(const DesignProfile* profile, Measurement_Type kind, Side side, unsigned int index);

    // Replaces the profiles by those below "evaluation". returns false when a profile or its measurement
    // index does not read; the others are still read.
    bool load(host::MSXMLWrapper& xml);
    // Replaces the "design_profile" elements below "evaluation" by the profiles held, one per flank; those
    // of side "both" are removed.
    bool save(host::MSXMLWrapper& xml) const;

private:
    using Slots = std::vector<std::unique_ptr<DesignProfile>>;
    // null for a kind other than profile or lead or a side other than left or right
    Slots* slots(Measurement_Type kind, Side side);
    const Slots* slots(Measurement_Type kind, Side side) const;

    // [profile, lead][left, right]
    std::array<std::array<Slots, 2>, 2> profiles_;
};

} // namespace kest::gear
