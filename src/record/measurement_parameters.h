#pragma once

// The positioning, measuring and additional measurement parameters of the gear.

#include <kest/gear/gear_parameters.h>
#include <kest/gear/host/msxml_wrapper.h>

#include <string>
#include <vector>

namespace kest::gear {

// The loads read below `settings`, the element "measurement/settings" as settingsElement() finds it (empty
// when the file has none): a gear file holds that element after all its measurement entries, and it is
// looked for once per load.

class PositioningParameters {
public:
    bool clear();
    unsigned int getAll(std::vector<Gear_General_Parameter>* out) const;
    bool set(const std::string& name, double value);
    bool load(host::MSXMLWrapper& xml, host::XMLNode settings);
    bool save(host::MSXMLWrapper& xml) const;

private:
    std::vector<Gear_General_Parameter> parameters_;
};

class MeasuringParameters {
public:
    bool clear();
    unsigned int getAll(std::vector<Gear_Measuring_Parameter>* out) const;
    bool set(Measurement_Type type, const std::string& name, double value, const std::string& parameterType);
    void setClamping(GearMeasuringParameters::Clamping_Type clamping) noexcept { clamping_ = clamping; }
    GearMeasuringParameters::Clamping_Type getClamping() const noexcept { return clamping_; }
    bool load(host::MSXMLWrapper& xml, host::XMLNode settings);
    bool save(host::MSXMLWrapper& xml) const;

private:
    std::vector<Gear_Measuring_Parameter> parameters_;
    GearMeasuringParameters::Clamping_Type clamping_ = GearMeasuringParameters::Clamping_Type::DatumSideUp;
};

class AdditionalParameters {
public:
    bool clear();
    unsigned int getAll(std::vector<Gear_Additional_Parameter>* out) const;
    bool set(const std::string& group, const std::string& name, double value,
             const std::string& parameterType);
    bool load(host::MSXMLWrapper& xml, host::XMLNode settings);
    bool save(host::MSXMLWrapper& xml) const;

private:
    std::vector<Gear_Additional_Parameter> groups_;
};

} // namespace kest::gear
