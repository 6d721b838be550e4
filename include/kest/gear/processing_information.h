#pragma once

// How the gear was manufactured, and what a feed-mark calculation found on it.

#include <kest/gear/gear_measurement_info.h>
#include <kest/gear/gear_parameters.h>
#include <kest/gear/host/export.h>
#include <kest/gear/measurement_path.h>
#include <kest/gear/process_types.h>

#include <map>
#include <vector>

namespace kest::host {
class MSXMLWrapper;
}

namespace kest::gear {

// The process and post-process type; stored as attributes of the element "processing".
class GEARRECORDS_API ProcessingInformation {
public:
    ProcessingInformation() = default;
    ProcessingInformation(const ProcessingInformation&) = default;
    ProcessingInformation& operator=(const ProcessingInformation&) = default;
    virtual ~ProcessingInformation();

    // true when the element is missing (the values stay) or was read; false for an unknown text
    virtual bool loadXML(host::MSXMLWrapper* xml);
    virtual bool saveXML(host::MSXMLWrapper* xml) const;

    void clear() noexcept { *this = ProcessingInformation(); }
    ProcessType getProcessType() const noexcept { return processType_; }
    void setProcessType(ProcessType type) noexcept { processType_ = type; }
    PostProcessType getPostProcessType() const noexcept { return postProcessType_; }
    void setPostProcessType(PostProcessType type) noexcept { postProcessType_ = type; }

private:
    PostProcessType postProcessType_ = PostProcessType::Undefined;
    ProcessType processType_ = ProcessType::Undefined;
};

// The result of a feed-mark calculation: named values and, per measurement, the point of the feed mark.
// Stored under "calculated_data/feed_mark".
class GEARRECORDS_API FeedMarkInformation {
public:
    // empties both; true
    bool clear();
    // at least 3 points and 4 parameters, none of them unset
    bool isValid() const;
    // true and nothing read when the element is missing
    bool loadXML(host::MSXMLWrapper* xml);
    // writes nothing (and succeeds) without parameters
    bool saveXML(host::MSXMLWrapper* xml) const;

    std::vector<Gear_General_Parameter> parameters;
    std::map<Gear_Measurement_Info, MeasurementPathPoint> points;
};

} // namespace kest::gear
