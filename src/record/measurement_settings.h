#pragma once

// The tooth and path settings of the gear's measurements, the direction of tooth counting, and the twist view
// on the profile and lead settings.

#include <kest/gear/gear_parameters.h>
#include <kest/gear/host/msxml_wrapper.h>

#include <string>
#include <vector>

namespace kest::gear {

// The element "measurement/settings" as the path finds it: the first "settings" child of the first
// "measurement" element that has one. returns an empty handle when there is none
host::XMLNode settingsElement(const host::MSXMLWrapper& xml);

class MeasurementSettings {
public:
    bool clearToothSettings(Measurement_Type type, Side side);
    unsigned int getAllToothSettings(std::vector<Gear_Measurement_Info>* out) const;
    bool addToothSetting(const Gear_Measurement_Info& info, bool enabled);
    bool clearPathSettings(Measurement_Type type);
    unsigned int getAllPathSettings(std::vector<Gear_Measurement_Path>* out) const;
    unsigned int getAllPathSettings(std::vector<Gear_Measurement_Path>* out, bool enabled) const;
    bool getPathSetting(const Gear_Measurement_Info& info, Gear_Measurement_Path& path) const;
    bool addPathSetting(const Gear_Measurement_Path& setting);
    void setToothCountingClockwise(bool clockwise) noexcept { clockwise_ = clockwise; }
    bool isToothCountingClockwise() const noexcept { return clockwise_; }
    bool empty() const noexcept { return settings_.empty(); }

    unsigned int getAllTwistSettings(std::vector<Gear_Measurement_Path>* out) const;
    unsigned int getTwistSettings(std::vector<Gear_Measurement_Path>* out, Measurement_Type type, Side side,
                                  unsigned int tooth) const;
    bool setAllTwistSettings(std::vector<Gear_Measurement_Path>& settings);
    bool clearTwistSettings(Measurement_Type type, Side side, unsigned int tooth);
    bool isTwistValid(Measurement_Type type, Side side, unsigned int tooth, std::string* message,
                      bool enabledOnly) const;

    // Rebuilds "measurement/settings" (deleting what was below it) / reads `settings`, that element as
    // settingsElement() finds it, adding to the settings.
    bool load(host::MSXMLWrapper& xml, host::XMLNode settings);
    bool save(host::MSXMLWrapper& xml) const;

private:
    std::vector<Gear_Measurement_Path> settings_;
    bool clockwise_ = false;
};

} // namespace kest::gear
