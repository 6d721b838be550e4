#include <kest/gear/gear.h>
#include <kest/gear/host/record_registry.h>
#include <kest/gear/library.h>

#include "host/report.h"
#include "record/library_callbacks.h"

#include <cinttypes>
#include <cstdint>
#include <cstring>
#include <strings.h>

namespace kest::gear {
namespace {

// Changed only by the entry point, which the loader serialises.
unsigned registrationCount = 0;
AutomaticKChartFunction automaticKChart = nullptr;
GetInfoStandardFunction infoStandard = nullptr;

// Plays the loader's part: the entry point runs when the shared library is loaded and when it is unloaded.
struct LibraryLifetime {
    LibraryLifetime() { GearRecords_EntryPoint(LibraryEvent::ProcessAttach); }
    ~LibraryLifetime() { GearRecords_EntryPoint(LibraryEvent::ProcessDetach); }
    LibraryLifetime(const LibraryLifetime&) = delete;
    LibraryLifetime& operator=(const LibraryLifetime&) = delete;
};
const LibraryLifetime lifetime;

} // namespace

AutomaticKChartFunction registeredAutomaticKChartFunction() noexcept {
    return automaticKChart;
}
GetInfoStandardFunction registeredInfoStandardFunction() noexcept {
    return infoStandard;
}

host::CMDatabaseElement* createGearRecord(const char* typeName) {
    if (!typeName || strcasecmp(typeName, Gear::IsKindOf()) != 0) return nullptr;
    return new Gear();
}

} // namespace kest::gear

namespace {

// Callback addresses are traced as 16 hex digits after "0x", the same on every platform.
template <typename F>
std::uintptr_t address(F fn) {
    return reinterpret_cast<std::uintptr_t>(fn);
}

} // namespace

using namespace kest::gear;

bool GearRecords_EntryPoint(LibraryEvent event) {
    switch (event) {
    case LibraryEvent::ProcessAttach:
        if (registrationCount == 0 &&
            !kest::host::XmlRecords_RegisterDatabaseElementType(Gear::IsKindOf(), createGearRecord, false))
            GR_ERROR_LOG("XmlRecords_RegisterDatabaseElementType(Gear) failed");
        ++registrationCount;
        break;
    case LibraryEvent::ProcessDetach:
        if (registrationCount > 0) --registrationCount;
        if (registrationCount == 0) {
            if (kest::host::RecordsRemoveAllElement(Gear::IsOwnerId()))
                GR_TRACE(3, "GearRecordsRemoveAllElement resources freed");
            if (!kest::host::XmlRecords_UnRegisterDatabaseElementType(Gear::IsKindOf()))
                GR_ERROR_LOG("XmlRecords_UnRegisterDatabaseElementType(Gear) failed");
        }
        break;
    case LibraryEvent::ThreadAttach:
    case LibraryEvent::ThreadDetach:
        break;
    }
    return true;
}

bool GearRecords_RegisterAutomaticKChartFunctionPointer(AutomaticKChartFunction fn) {
    automaticKChart = fn;
    GR_TRACE(3,
             "GearRecords_RegisterAutomaticKChartFunctionPointerptr_automatic_kchart (0x%016" PRIxPTR
             ") registered",
             address(automaticKChart));
    return true;
}

bool GearRecords_UnRegisterAutomaticKChartFunctionPointer() {
    GR_TRACE(3,
             "GearRecords_UnRegisterAutomaticKChartFunctionPointerptr_automatic_kchart (0x%016" PRIxPTR
             ") unregistered",
             address(automaticKChart));
    automaticKChart = nullptr;
    return true;
}

bool GearRecords_Register_GetInfoStandard_Function(GetInfoStandardFunction fn) {
    infoStandard = fn;
    GR_TRACE(3,
             "GearRecords_Register_GetInfoStandard_Functionptr_info_standard (0x%016" PRIxPTR ") registered",
             address(infoStandard));
    return true;
}

bool GearRecords_UnRegister_GetInfoStandard_Function() {
    GR_TRACE(3,
             "GearRecords_UnRegister_GetInfoStandard_Functionptr_info_standard (0x%016" PRIxPTR
             ") unregistered",
             address(infoStandard));
    infoStandard = nullptr;
    return true;
}
