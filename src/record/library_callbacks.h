#pragma once

// The callbacks the host program registered; null when none is.

#include <kest/gear/host/database_element.h>
#include <kest/gear/library.h>

namespace kest::gear {

AutomaticKChartFunction registeredAutomaticKChartFunction() noexcept;
GetInfoStandardFunction registeredInfoStandardFunction() noexcept;

// The factory the record registry calls: a new gear for "[gearel]" in any letter case, else null.
host::CMDatabaseElement* createGearRecord(const char* typeName);

} // namespace kest::gear
