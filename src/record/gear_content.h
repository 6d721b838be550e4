#pragma once

// Everything a gear holds beside its geometry, section by section, in the order of the gear file.

#include <kest/gear/processing_information.h>
#include <kest/gear/protocol_settings.h>

#include "record/design_profiles.h"
#include "record/measurement_data.h"
#include "record/measurement_parameters.h"
#include "record/measurement_settings.h"

namespace kest::gear {

struct GearContent {
    MeasurementData measurementData;
    MeasurementSettings measurementSettings;
    PositioningParameters positioningParameters;
    MeasuringParameters measuringParameters;
    AdditionalParameters additionalParameters;
    DesignProfiles designProfiles;
    ProcessingInformation processing;
    ProtocolSettings protocol;
    FeedMarkInformation feedMark;
};

} // namespace kest::gear
