// The gear's section accessors: each forwards to the section that holds the data.

#include <kest/gear/design_profile.h>
#include <kest/gear/gear.h>
#include <kest/gear/protocol_settings.h>

#include "record/gear_content.h"

namespace kest::gear {

bool Gear::clearMeasurements(const Gear_Measurement_Info& info) {
    return content().measurementData.clear(info);
}
bool Gear::clearMeasurements(const Measurement_Type& type) {
    return content().measurementData.clear(type);
}
unsigned int Gear::getAllMeasurements(std::vector<Gear_Measurement>* out, bool which) const {
    return content().measurementData.getAll(out, which);
}
unsigned int Gear::getNumberOfMeasurements(const Gear_Measurement_Info& info, bool which) const {
    return content().measurementData.count(info, which);
}
std::string Gear::getMeasurementToothList(const Gear_Measurement_Info& info, bool which) const {
    return content().measurementData.toothList(info, which);
}
std::string Gear::getMeasurement(const Gear_Measurement_Info& info, bool which) const {
    return content().measurementData.name(info, which);
}
bool Gear::setMeasurement(const std::string& name, const Gear_Measurement_Info& info, bool which,
                          const std::string& basePath) {
    return content().measurementData.set(name, info, which, basePath);
}

bool Gear::clearMeasurementToothSettings(Measurement_Type type, Side side) {
    return content().measurementSettings.clearToothSettings(type, side);
}
unsigned int Gear::getAllMeasurementToothSettings(std::vector<Gear_Measurement_Info>* out) const {
    return content().measurementSettings.getAllToothSettings(out);
}
bool Gear::addMeasurementToothSetting(const Gear_Measurement_Info& info, bool enabled) {
    return content().measurementSettings.addToothSetting(info, enabled);
}
bool Gear::clearMeasurementPathSettings(Measurement_Type type) {
    return content().measurementSettings.clearPathSettings(type);
}
unsigned int Gear::getAllMeasurementPathSettings(std::vector<Gear_Measurement_Path>* out) const {
    return content().measurementSettings.getAllPathSettings(out);
}
unsigned int Gear::getAllMeasurementPathSettings(std::vector<Gear_Measurement_Path>* out,
                                                 bool enabled) const {
    return content().measurementSettings.getAllPathSettings(out, enabled);
}
bool Gear::getMeasurementPathSetting(const Gear_Measurement_Info& info, Gear_Measurement_Path& path) const {
    return content().measurementSettings.getPathSetting(info, path);
}
bool Gear::addMeasurementPathSetting(const Gear_Measurement_Path& setting) {
    return content().measurementSettings.addPathSetting(setting);
}
void Gear::setToothCountingClockwise(bool clockwise) {
    content().measurementSettings.setToothCountingClockwise(clockwise);
}
bool Gear::isToothCountingClockwise() const {
    return content().measurementSettings.isToothCountingClockwise();
}

bool Gear::clearPositioningParameters() {
    return content().positioningParameters.clear();
}
unsigned int Gear::getAllPositioningParameters(std::vector<Gear_General_Parameter>* out) const {
    return content().positioningParameters.getAll(out);
}
bool Gear::setPositioningParameter(const std::string& name, double value) {
    return content().positioningParameters.set(name, value);
}
bool Gear::clearMeasuringParameters() {
    return content().measuringParameters.clear();
}
unsigned int Gear::getAllMeasuringParameters(std::vector<Gear_Measuring_Parameter>* out) const {
    return content().measuringParameters.getAll(out);
}
bool Gear::setMeasuringParameter(Measurement_Type type, const std::string& name, double value,
                                 std::string parameterType) {
    return content().measuringParameters.set(type, name, value, parameterType);
}
void Gear::setClamping(GearMeasuringParameters::Clamping_Type clamping) {
    content().measuringParameters.setClamping(clamping);
}
GearMeasuringParameters::Clamping_Type Gear::getClamping() const {
    return content().measuringParameters.getClamping();
}
bool Gear::clearAdditionalMeasurementParameters() {
    return content().additionalParameters.clear();
}
unsigned int Gear::getAllAdditionalMeasurementParameters(std::vector<Gear_Additional_Parameter>* out) const {
    return content().additionalParameters.getAll(out);
}
bool Gear::setAdditionalMeasurementParameter(const std::string& group, const std::string& name, double value,
                                             std::string parameterType) {
    return content().additionalParameters.set(group, name, value, parameterType);
}

unsigned int Gear::getAllTwistSettings(std::vector<Gear_Measurement_Path>* out) const {
    return content().measurementSettings.getAllTwistSettings(out);
}
unsigned int Gear::getTwistSettings(std::vector<Gear_Measurement_Path>* out, Measurement_Type type, Side side,
                                    unsigned int tooth) const {
    return content().measurementSettings.getTwistSettings(out, type, side, tooth);
}
bool Gear::setAllTwistSettings(std::vector<Gear_Measurement_Path>& settings) {
    return content().measurementSettings.setAllTwistSettings(settings);
}
bool Gear::clearTwistSettings(Measurement_Type type, Side side, unsigned int tooth) {
    return content().measurementSettings.clearTwistSettings(type, side, tooth);
}
bool Gear::isTwistValid(Measurement_Type type, Side side, unsigned int tooth, std::string* message,
                        bool enabledOnly) const {
    return content().measurementSettings.isTwistValid(type, side, tooth, message, enabledOnly);
}

ProcessType Gear::getProcessType() const {
    return content().processing.getProcessType();
}
PostProcessType Gear::getPostProcessType() const {
    return content().processing.getPostProcessType();
}

// Only whether the standard has such types at all is asked, not whether it offers this one. The unknown
// standard takes every type.
bool Gear::setProcessType(ProcessType type) {
    const std::string& name = content().standard.getStandardName();
    if (type != ProcessType::Undefined && name != EvaluationStandard::unknown_standard() &&
        !hasProcessType(name))
        return false;
    content().processing.setProcessType(type);
    return true;
}
bool Gear::setPostProcessType(PostProcessType type) {
    const std::string& name = content().standard.getStandardName();
    if (type != PostProcessType::Undefined && name != EvaluationStandard::unknown_standard() &&
        !hasPostProcessType(name))
        return false;
    content().processing.setPostProcessType(type);
    return true;
}

bool Gear::getFeedMarkInformation(FeedMarkInformation* out) const {
    if (!out) return false;
    *out = content().feedMark.information();
    return true;
}
bool Gear::setFeedMarkInformation(const FeedMarkInformation& information) {
    content().feedMark.assign(information);
    return true;
}

bool Gear::clearDesignProfiles(Measurement_Type kind) {
    return content().designProfiles.clear(kind);
}
unsigned int Gear::getDesignProfileCount(Measurement_Type kind, Side side) const {
    return content().designProfiles.count(kind, side);
}
const DesignProfile* Gear::getDesignProfile(Measurement_Type kind, Side side, unsigned int index) const {
    return content().designProfiles.get(kind, side, index);
}
bool Gear::setDesignProfile(const DesignProfile& profile, Measurement_Type kind, Side side,
                            unsigned int index) {
    return content().designProfiles.set(&profile, kind, side, index);
}

bool Gear::getProtocolSettings(ProtocolSettings* out) const {
    if (!out) return false;
    *out = content().protocol;
    return true;
}
void Gear::setProtocolSettings(const ProtocolSettings& settings) {
    content().protocol = settings;
}
bool Gear::getProtocolHeader(ProtocolHeader* out) const {
    if (!out) return false;
    *out = content().protocol.getHeader();
    return true;
}
ProtocolHeader Gear::getProtocolHeader() const {
    return content().protocol.getHeader();
}
void Gear::setProtocolHeader(const ProtocolHeader& header) {
    content().protocol.setHeader(header);
}

} // namespace kest::gear
