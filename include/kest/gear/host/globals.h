#pragma once

#include <kest/gear/host/export.h>

namespace kest::host {

// The suite's global settings, asked by name (for example "gear.protocol.profile.flip_diagram"). The host
// program registers its own lookup; it returns true and the value, or false when it has no such setting.
using GlobalsLookupFunction = bool (*)(const char* name, long* value);

// Registers the host program's lookup and returns the one in place (null for the library's stand-in). A null
// lookup restores the stand-in, which answers false for every name.
GEARRECORDS_API GlobalsLookupFunction setGlobalsLookup(GlobalsLookupFunction lookup);

// Asks the registered lookup. returns false, leaving `value` alone, without a registered lookup; otherwise
// the lookup's answer.
GEARRECORDS_API bool GlobalsLookup(const char* name, long& value);

} // namespace kest::host
