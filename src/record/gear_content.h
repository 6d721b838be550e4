#pragma once

// Everything a gear holds beside its geometry, section by section, in the order of the gear file.

#include <kest/gear/evaluation_features.h>
#include <kest/gear/gear_filters.h>
#include <kest/gear/processing_information.h>

#include "evaluation/gear_evaluation_ranges.h"

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
    GearEvaluationRanges evaluationRanges;
    EvaluationFeatures features;
    GearFilters filters;
    ProcessingInformation processing;
    FeedMarkInformation feedMark;
};

} // namespace kest::gear
