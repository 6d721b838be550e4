#pragma once

// The features chosen for evaluation: one GearFeature per feature, flank, measurement index and evaluation
// range, with an on/off switch and optional additional data, and the gear's collection of them with its rules
// for flanks and its checks against the feature catalogue.

#include <kest/gear/gear_measurement_info.h>
#include <kest/gear/gear_parameters.h>
#include <kest/gear/host/export.h>
#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace kest::gear {

// The additional data a feature can carry.
enum class AdditionalDataType : std::int32_t {
    NominalValue = 0,
    LowerTolerance = 1,
    UpperTolerance = 2,
    BallDiameter = 3,
    ExtrapolationLength = 4,
    EvaluationMode = 5,
    NumberOfTeeth = 6,
    Size = 7,
    Height = 8,
    Reference = 9,
    YCircleDiameter = 10,
};

class GEARRECORDS_API GearFeature : public EnableDisable {
public:
    GearFeature() = default;
    explicit GearFeature(const std::string& name);

    // Takes the name, with a final "__plus__" or "__minus__" turned back into "+" or "-", and a deprecated
    // name replaced by its successor (with a trace). always true
    bool setName(const std::string& name);
    const std::string& getName() const noexcept { return name_; }
    // the name with a final "+" written "__plus__" and a final "-" written "__minus__"
    const std::string& getSafeName() const noexcept { return safeName_; }

    // Each returns false, storing nothing, when `type` holds another kind of value. The 64-bit form keeps the
    // low 32 bits.
    bool set(AdditionalDataType type, double value);
    bool set(AdditionalDataType type, const std::string& value);
    bool set(AdditionalDataType type, int value);
    bool set(AdditionalDataType type, long long value);
    // returns false when no such value is stored or `out` is null
    bool get(AdditionalDataType type, double* out) const;
    bool get(AdditionalDataType type, std::string* out) const;
    bool get(AdditionalDataType type, int* out) const;
    // returns true when the value was present
    bool remove(AdditionalDataType type);

    static bool isIntType(AdditionalDataType type);
    static bool isStringType(AdditionalDataType type);
    static bool isDoubleType(AdditionalDataType type);
    // the suite's parameter name; throws "unknown parameter for AdditionalDataType" outside the enumeration
    static std::string AdditionalDataType_2_parameter(AdditionalDataType type);

    // true for the features that are evaluated over both flanks at once
    bool isBothSided() const;
    // Additional data only on the features that take it, evaluation modes among the permitted ones, and a
    // name in the catalogue; otherwise false with the reason in `message` (cleared first).
    bool isValid(std::string& message) const;

    // Appends a "feature" element under `parent` and hands it back through `node`. false for a null wrapper
    // or parent, or an invalid feature.
    bool saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent, host::XMLNode& node) const;
    // Writes the feature into an existing feature element, in place: its name, enabled flag and additional
    // data; data it does not carry is removed, everything else in the element stays. false when a write
    // failed.
    bool writeElement(host::MSXMLWrapper& xml, const host::XMLNode& node) const;
    // Deletes the child of `parent` named by the safe name, the form older writers used.
    void deleteOwnNameElement(host::MSXMLWrapper& xml, const host::XMLNode& parent) const;
    // Reads name, enabled flag and additional data; false when the flag does not read or the feature is not
    // valid.
    bool loadXML(host::MSXMLWrapper* xml, const host::XMLNode& node);

    bool operator==(const GearFeature&) const = default;

private:
    std::string name_;
    std::string safeName_;
    std::map<AdditionalDataType, double> doubleData_;
    std::map<AdditionalDataType, std::string> stringData_;
    std::map<AdditionalDataType, std::int32_t> intData_;
};

class GEARRECORDS_API EvaluationFeatures {
public:
    struct GearFeature_Container {
        // only type, side and measurementIndex are used
        Gear_Measurement_Info info;
        GearFeature feature;
        RangeType range = RangeType::Unspecified;
    };

    // Every public operation reports a name missing from the catalogue (error log, or a trace for deprecated
    // and to-do names) and returns false. A range type counts as allowed when getAllowedRangeTypes() of the
    // feature holds it, so Unspecified for features without ranges.

    // Switches the entries of the sides that `side` touches; false when switching on and none exists, or
    // when the range is not allowed.
    bool enable(const std::string& name, bool on, Side side, unsigned int index, RangeType range);
    // for every allowed range; true when any succeeded
    bool enable(const std::string& name, bool on, Side side, unsigned int index);
    // The entry of the side, or of Both when the side has none; false when there is none.
    bool get(const std::string& name, Side side, GearFeature* out, unsigned int index, RangeType range) const;
    // the feature's only range, else Main, else Middle, else its first allowed range
    bool get(const std::string& name, Side side, GearFeature* out, unsigned int index) const;
    // Stores the feature for the side, splitting a Both entry of the same range. false for a range that is
    // not allowed or a feature that fails validation.
    bool set(const GearFeature& feature, Side side, unsigned int index, RangeType range);
    // for every allowed range; the AND of the results
    bool set(const GearFeature& feature, Side side, unsigned int index);
    // Removes the side's entry; a Both entry becomes one for the other flank. false only for a range that is
    // not allowed.
    bool remove(const std::string& name, Side side, unsigned int index, RangeType range);
    bool remove(const std::string& name, Side side, unsigned int index);
    bool clear();

    // all entries in the order of their keys: name, side, measurement index, range type
    std::vector<GearFeature_Container> getAll() const;

    // Adds the features of "evaluation/feature" elements; invalid ones and withdrawn ranges are skipped with
    // a message. false for a null wrapper or when a set fails.
    bool loadXML(host::MSXMLWrapper* xml);
    // Replaces the "evaluation/feature" elements by the entries. false for a null wrapper or a failed write.
    bool saveXML(host::MSXMLWrapper* xml) const;

private:
    using Key = std::tuple<std::string, Side, unsigned int, RangeType>;

    bool _get(const std::string& name, Side side, unsigned int index, RangeType range,
              GearFeature* out) const;
    void _set(const GearFeature& feature, Side side, Measurement_Type type, unsigned int index,
              RangeType range);
    bool _enable(const std::string& name, Side side, unsigned int index, RangeType range, bool on);
    void _remove(const std::string& name, Side side, unsigned int index, RangeType range);
    void insert(Measurement_Type type, Side side, unsigned int index, const GearFeature& feature,
                RangeType range);

    std::map<Key, GearFeature_Container> entries_;
};

} // namespace kest::gear
