#pragma once

// The library's start and end, and the callbacks a host program plugs into it.

#include <kest/gear/host/export.h>

#include <cstdint>
#include <string>

namespace kest::gear {

class Gear;
class KChart;
enum class Measurement_Type : std::int32_t;
enum class Side : std::int32_t;
enum class StandardClass : std::int32_t;

// What the library's entry point is told by the loader.
enum class LibraryEvent { ProcessAttach, ProcessDetach, ThreadAttach, ThreadDetach };

// Fills `chart` for a gear's measurement; consulted for the automatic K-charts.
using AutomaticKChartFunction = bool (*)(const Gear* gear, Measurement_Type type, Side side,
                                         unsigned int measurementIndex, KChart* chart);
// Gives the first and second quality class of a standard; consulted when a standard is validated.
using GetInfoStandardFunction = bool (*)(const std::string& standardName, StandardClass& first,
                                         StandardClass& second);

} // namespace kest::gear

// The entry point: the first process attach registers the record type "[gearel]", the last process detach
// frees the gear records the registry still holds and unregisters the type. The shared library calls it when
// it is loaded and unloaded. Always returns true.
GEARRECORDS_API bool GearRecords_EntryPoint(kest::gear::LibraryEvent event);

// Each replaces the callback (or clears it) and returns true.
GEARRECORDS_API bool
GearRecords_RegisterAutomaticKChartFunctionPointer(kest::gear::AutomaticKChartFunction fn);
GEARRECORDS_API bool GearRecords_UnRegisterAutomaticKChartFunctionPointer();
GEARRECORDS_API bool GearRecords_Register_GetInfoStandard_Function(kest::gear::GetInfoStandardFunction fn);
GEARRECORDS_API bool GearRecords_UnRegister_GetInfoStandard_Function();
