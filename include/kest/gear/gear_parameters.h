#pragma once

// The small value classes of the gear's measurement settings: named parameters, parameter groups, the enabled
// flag, measuring parameters per kind of measurement, and the tooth or path setting of one measurement.

#include <kest/gear/gear_measurement_info.h>
#include <kest/gear/host/export.h>
#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>
#include <kest/gear/measurement_path.h>
#include <kest/gear/unset_value.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kest::gear {

// A named number. In a gear file it is an element named by the parameter, holding the value as text and the
// type, when not empty, as attribute "type".
class GEARRECORDS_API Gear_General_Parameter {
public:
    Gear_General_Parameter() = default;
    explicit Gear_General_Parameter(const std::string& parameterName)
        : name(parameterName) {}
    Gear_General_Parameter(std::string parameterName, std::string parameterType, double parameterValue)
        : name(std::move(parameterName))
        , type(std::move(parameterType))
        , value(parameterValue) {}

    // orders by name only
    bool operator<(const Gear_General_Parameter& other) const { return name < other.name; }
    bool operator==(const Gear_General_Parameter& other) const = default;

    // Appends the parameter's element under `parent`; false for a null wrapper or an empty parent.
    bool saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent) const;
    // Reads name, value and type from `element`; false when the value is not a number.
    bool loadXML(host::MSXMLWrapper* xml, const host::XMLNode& element);

    std::string name;
    std::string type;
    double value = unsetValue;
};

// A named group of parameters.
class GEARRECORDS_API Gear_Additional_Parameter {
public:
    // The first parameter of that name takes type and value; without one, a parameter is appended. true.
    bool set_general_parameter(const std::string& parameterName, const std::string& parameterType,
                               double value);
    // returns false when the group has no parameter of that name (or `out` is null)
    bool get_general_parameter(const std::string& parameterName, Gear_General_Parameter* out) const;
    // by name; groups of equal names by their parameter lists
    bool operator<(const Gear_Additional_Parameter& other) const;

    // Appends the group's element with its parameters under `parent`; false for a null wrapper or empty
    // parent.
    bool saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent) const;
    bool loadXML(host::MSXMLWrapper* xml, const host::XMLNode& element);

    std::string name;
    std::vector<Gear_General_Parameter> parameters;
};

// One flag, stored as attribute "enabled" with "on" or "off".
class GEARRECORDS_API EnableDisable {
public:
    void enable() noexcept { enabled_ = true; }
    void disable() noexcept { enabled_ = false; }
    bool is_enabled() const noexcept { return enabled_; }
    bool operator==(const EnableDisable&) const = default;

    bool saveXML(host::MSXMLWrapper* xml, const host::XMLNode& node) const;
    // false when the attribute is missing or holds neither "on" nor "off"
    bool loadXML(host::MSXMLWrapper* xml, const host::XMLNode& node);

private:
    bool enabled_ = false;
};

// A parameter of the measuring run for one kind of measurement.
struct GEARRECORDS_API Gear_Measuring_Parameter {
    Measurement_Type type = Measurement_Type::Profile;
    Gear_General_Parameter parameter;
};

struct GearMeasuringParameters {
    // How the gear is clamped on the machine.
    enum class Clamping_Type : std::int32_t { DatumSideUp = 0, NonDatumSideUp = 1 };
};

// The tooth or path setting of one measurement: which teeth, along which path, whether it is measured, its
// label and additional parameters. It is a measurement info with these additions.
class GEARRECORDS_API Gear_Measurement_Path : public Gear_Measurement_Info {
public:
    Gear_Measurement_Path() = default;
    explicit Gear_Measurement_Path(const Gear_Measurement_Info& info)
        : Gear_Measurement_Info(info) {}

    MeasurementPath path;
    EnableDisable enabled;
    std::string label;
    std::vector<Gear_General_Parameter> parameters;
};

} // namespace kest::gear
