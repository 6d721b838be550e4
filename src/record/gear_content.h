#pragma once

// Everything a gear holds beside its geometry, section by section, in the order of the gear file.

#include <kest/gear/evaluation_features.h>
#include <kest/gear/evaluation_standard.h>
#include <kest/gear/gear_filters.h>
#include <kest/gear/kchart.h>
#include <kest/gear/processing_information.h>
#include <kest/gear/protocol_settings.h>

#include "evaluation/gear_evaluation_ranges.h"
#include "record/design_profiles.h"
#include "record/feed_mark_store.h"

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
    EvaluationStandard standard;
    EvaluationFitType fitType = EvaluationFitType::None; // stored with the standard
    EvaluationFeatures features;
    GearKCharts kcharts;
    GearFilters filters;
    DesignProfiles designProfiles;
    ProcessingInformation processing;
    ProtocolSettings protocol;
    FeedMarkStore feedMark;
    // Filled by the host's automatic K-chart callback on request; never stored in the file.
    KChart automaticKChart;
};

} // namespace kest::gear
