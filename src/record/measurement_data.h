#pragma once

// Which measured profile belongs to which measurement: a stored set, saved in the gear file, and a transient
// one.

#include <kest/gear/gear_measurement_info.h>
#include <kest/gear/host/msxml_wrapper.h>

#include <set>
#include <string>
#include <vector>

namespace kest::gear {

class MeasurementData {
public:
    bool clear(const Gear_Measurement_Info& info);
    bool clear(Measurement_Type type);
    unsigned int getAll(std::vector<Gear_Measurement>* out, bool transient) const;
    unsigned int count(const Gear_Measurement_Info& info, bool transient) const;
    std::string toothList(const Gear_Measurement_Info& info, bool transient) const;
    std::string name(const Gear_Measurement_Info& info, bool transient) const;
    bool set(const std::string& name, const Gear_Measurement_Info& info, bool transient,
             const std::string& basePath);

    // Adds the file's measurements to the stored set, their names relative to `gearFile`.
    bool load(host::MSXMLWrapper& xml, const std::string& gearFile);
    bool save(host::MSXMLWrapper& xml) const;

private:
    std::set<Gear_Measurement> stored_;
    std::set<Gear_Measurement> transient_;
};

} // namespace kest::gear
