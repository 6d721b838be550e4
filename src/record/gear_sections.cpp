// The gear's section accessors: each forwards to the section that holds the data.

#include <kest/gear/design_profile.h>
#include <kest/gear/gear.h>
#include <kest/gear/protocol_settings.h>

#include "record/gear_content.h"

namespace kest::gear {

bool Gear::clearMeasurements(const Gear_Measurement_Info& info) {
    return content_->measurementData.clear(info);
}
bool Gear::clearMeasurements(const Measurement_Type& type) {
    return content_->measurementData.clear(type);
}
unsigned int Gear::getAllMeasurements(std::vector<Gear_Measurement>* out, bool which) const {
    return content_->measurementData.getAll(out, which);
}
unsigned int Gear::getNumberOfMeasurements(const Gear_Measurement_Info& info, bool which) const {
    return content_->measurementData.count(info, which);
}
std::string Gear::getMeasurementToothList(const Gear_Measurement_Info& info, bool which) const {
    return content_->measurementData.toothList(info, which);
}
std::string Gear::getMeasurement(const Gear_Measurement_Info& info, bool which) const {
    return content_->measurementData.name(info, which);
}
bool Gear::setMeasurement(const std::string& name, const Gear_Measurement_Info& info, bool which,
                          const std::string& basePath) {
    return content_->measurementData.set(name, info, which, basePath);
}

bool Gear::clearMeasurementToothSettings(Measurement_Type type, Side side) {
    return content_->measurementSettings.clearToothSettings(type, side);
}
unsigned int Gear::getAllMeasurementToothSettings(std::vector<Gear_Measurement_Info>* out) const {
    return content_->measurementSettings.getAllToothSettings(out);
}
bool Gear::addMeasurementToothSetting(const Gear_Measurement_Info& info, bool enabled) {
    return content_->measurementSettings.addToothSetting(info, enabled);
}
bool Gear::clearMeasurementPathSettings(Measurement_Type type) {
    return content_->measurementSettings.clearPathSettings(type);
}
unsigned int Gear::getAllMeasurementPathSettings(std::vector<Gear_Measurement_Path>* out) const {
    return content_->measurementSettings.getAllPathSettings(out);
}
unsigned int Gear::getAllMeasurementPathSettings(std::vector<Gear_Measurement_Path>* out,
                                                 bool enabled) const {
    return content_->measurementSettings.getAllPathSettings(out, enabled);
}
bool Gear::getMeasurementPathSetting(const Gear_Measurement_Info& info, Gear_Measurement_Path& path) const {
    return content_->measurementSettings.getPathSetting(info, path);
}
bool Gear::addMeasurementPathSetting(const Gear_Measurement_Path& setting) {
    return content_->measurementSettings.addPathSetting(setting);
}
void Gear::setToothCountingClockwise(bool clockwise) {
    content_->measurementSettings.setToothCountingClockwise(clockwise);
}
bool Gear::isToothCountingClockwise() const {
    return content_->measurementSettings.isToothCountingClockwise();
}

bool Gear::clearPositioningParameters() {
    return content_->positioningParameters.clear();
}
unsigned int Gear::getAllPositioningParameters(std::vector<Gear_General_Parameter>* out) const {
    return content_->positioningParameters.getAll(out);
}
bool Gear::setPositioningParameter(const std::string& name, double value) {
    return content_->positioningParameters.set(name, value);
}
bool Gear::clearMeasuringParameters() {
    return content_->measuringParameters.clear();
}
unsigned int Gear::getAllMeasuringParameters(std::vector<Gear_Measuring_Parameter>* out) const {
    return content_->measuringParameters.getAll(out);
}
bool Gear::setMeasuringParameter(Measurement_Type type, const std::string& name, double value,
                                 std::string parameterType) {
    return content_->measuringParameters.set(type, name, value, parameterType);
}
void Gear::setClamping(GearMeasuringParameters::Clamping_Type clamping) {
    content_->measuringParameters.setClamping(clamping);
}
GearMeasuringParameters::Clamping_Type Gear::getClamping() const {
    return content_->measuringParameters.getClamping();
}
bool Gear::clearAdditionalMeasurementParameters() {
    return content_->additionalParameters.clear();
}
unsigned int Gear::getAllAdditionalMeasurementParameters(std::vector<Gear_Additional_Parameter>* out) const {
    return content_->additionalParameters.getAll(out);
}
bool Gear::setAdditionalMeasurementParameter(const std::string& group, const std::string& name, double value,
                                             std::string parameterType) {
    return content_->additionalParameters.set(group, name, value, parameterType);
}

unsigned int Gear::getAllTwistSettings(std::vector<Gear_Measurement_Path>* out) const {
    return content_->measurementSettings.getAllTwistSettings(out);
}
unsigned int Gear::getTwistSettings(std::vector<Gear_Measurement_Path>* out, Measurement_Type type, Side side,
                                    unsigned int tooth) const {
    return content_->measurementSettings.getTwistSettings(out, type, side, tooth);
}
bool Gear::setAllTwistSettings(std::vector<Gear_Measurement_Path>& settings) {
    return content_->measurementSettings.setAllTwistSettings(settings);
}
bool Gear::clearTwistSettings(Measurement_Type type, Side side, unsigned int tooth) {
    return content_->measurementSettings.clearTwistSettings(type, side, tooth);
}
bool Gear::isTwistValid(Measurement_Type type, Side side, unsigned int tooth, std::string* message,
                        bool enabledOnly) const {
    return content_->measurementSettings.isTwistValid(type, side, tooth, message, enabledOnly);
}

ProcessType Gear::getProcessType() const {
    return content_->processing.getProcessType();
}
PostProcessType Gear::getPostProcessType() const {
    return content_->processing.getPostProcessType();
}

// Only whether the standard has such types at all is asked, not whether it offers this one. The unknown
// standard takes every type.
bool Gear::setProcessType(ProcessType type) {
    const std::string& name = content_->standard.getStandardName();
    if (type != ProcessType::Undefined && name != EvaluationStandard::unknown_standard() &&
        !hasProcessType(name))
        return false;
    content_->processing.setProcessType(type);
    return true;
}
bool Gear::setPostProcessType(PostProcessType type) {
    const std::string& name = content_->standard.getStandardName();
    if (type != PostProcessType::Undefined && name != EvaluationStandard::unknown_standard() &&
        !hasPostProcessType(name))
        return false;
    content_->processing.setPostProcessType(type);
    return true;
}

bool Gear::getFeedMarkInformation(FeedMarkInformation* out) const {
    if (!out) return false;
    out->clear();
    *out = content_->feedMark;
    return true;
}
bool Gear::setFeedMarkInformation(const FeedMarkInformation& information) {
    content_->feedMark.clear();
    content_->feedMark = information;
    return true;
}

bool Gear::clearDesignProfiles(Measurement_Type kind) {
    return content_->designProfiles.clear(kind);
}
unsigned int Gear::getDesignProfileCount(Measurement_Type kind, Side side) const {
    return content_->designProfiles.count(kind, side);
}
const DesignProfile* Gear::getDesignProfile(Measurement_Type kind, Side side, unsigned int index) const {
    return content_->designProfiles.get(kind, side, index);
}
bool Gear::setDesignProfile(const DesignProfile& profile, Measurement_Type kind, Side side,
                            unsigned int index) {
    return content_->designProfiles.set(&profile, kind, side, index);
}

bool Gear::getProtocolSettings(ProtocolSettings* out) const {
    if (!out) return false;
    *out = content_->protocol;
    return true;
}
void Gear::setProtocolSettings(const ProtocolSettings& settings) {
    content_->protocol = settings;
}
bool Gear::getProtocolHeader(ProtocolHeader* out) const {
    if (!out) return false;
    *out = content_->protocol.getHeader();
    return true;
}
ProtocolHeader Gear::getProtocolHeader() const {
    return content_->protocol.getHeader();
}
void Gear::setProtocolHeader(const ProtocolHeader& header) {
    content_->protocol.setHeader(header);
}

} // namespace kest::gear
