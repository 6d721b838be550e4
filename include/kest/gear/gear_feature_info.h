#pragma once

// The catalogue of gear features: every feature name the suite evaluates, the measurement it is evaluated on
// and the evaluation ranges it may be evaluated in.

#include <kest/gear/host/export.h>
#include <kest/gear/measurement_enums.h>

#include <string>
#include <vector>

namespace kest::gear {

class GEARRECORDS_API GearFeatureInfo {
public:
    GearFeatureInfo() = default;
    GearFeatureInfo(const std::string& name, unsigned char selection)
        : name_(name)
        , allowedRangeSelection_(selection) {}

    const std::string& getName() const noexcept { return name_; }
    Measurement_Type getMeasurementType() const noexcept { return measurementType_; }
    void setMeasurementType(Measurement_Type type) noexcept { measurementType_ = type; }

    // Bits of the range constants: 1 root, 2 main, 4 tip, 8 non-datum side, 16 middle, 32 datum side; 0 for a
    // feature without evaluation ranges.
    unsigned char getAllowedRangeSelection() const noexcept { return allowedRangeSelection_; }
    // the number of bits set in the selection
    unsigned int getPotentialRangeCount() const noexcept;
    // A profile range for a profile feature, a lead range for a lead feature, whose bit is set; false for
    // features of other measurements.
    bool isRangeTypeAllowed(RangeType range) const noexcept;
    // The allowed range types in enumeration order; {Unspecified} when there is none.
    std::vector<RangeType> getAllowedRangeTypes() const;

    // Clears `replacement`; for a deprecated name sets it to the name's successor and returns true.
    static bool isDeprecatedFeature(const std::string& name, std::string& replacement);
    // true for the names that are not yet evaluated by the suite
    static bool hasFeatureTodoLabel(const std::string& name);

private:
    std::string name_;
    Measurement_Type measurementType_ = Measurement_Type::Profile;
    unsigned char allowedRangeSelection_ = 0;
};

// The catalogue entry of `name` (exact comparison). Throws "unknown feature found" for a name not in the
// catalogue. The entry lives as long as the library. The catalogue is built on the first call, once, also
// when several threads make that call.
GEARRECORDS_API const GearFeatureInfo& getFeatureInfo(const std::string& name);
// Throws "unknown feature found" for a name not in the catalogue.
GEARRECORDS_API Measurement_Type getFeatureMeasurementType(const std::string& name);

} // namespace kest::gear
