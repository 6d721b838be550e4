#pragma once

// Every public header of the library.

#include <kest/gear/addendum_modification_variant.h>
#include <kest/gear/asymmetrical_gear_geometry.h>
#include <kest/gear/beveloid_gear_geometry.h>
#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/evaluation_features.h>
#include <kest/gear/evaluation_range.h>
#include <kest/gear/feature_value.h>
#include <kest/gear/gear.h>
#include <kest/gear/gear_calculator.h>
#include <kest/gear/gear_feature_info.h>
#include <kest/gear/gear_filters.h>
#include <kest/gear/gear_measurement_info.h>
#include <kest/gear/gear_parameters.h>
#include <kest/gear/gear_paths.h>
#include <kest/gear/host/database_element.h>
#include <kest/gear/host/diagnostics.h>
#include <kest/gear/host/export.h>
#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/host/named_object.h>
#include <kest/gear/host/product_version.h>
#include <kest/gear/host/profile_scan.h>
#include <kest/gear/host/record_registry.h>
#include <kest/gear/host/vector3d.h>
#include <kest/gear/involute.h>
#include <kest/gear/library.h>
#include <kest/gear/measurement_enums.h>
#include <kest/gear/measurement_path.h>
#include <kest/gear/process_types.h>
#include <kest/gear/processing_information.h>
#include <kest/gear/reference_conversions.h>
#include <kest/gear/root_finding.h>
#include <kest/gear/smart_gear.h>
#include <kest/gear/tooth_count.h>
#include <kest/gear/unset_value.h>
