#pragma once

#include <kest/gear/host/export.h>

#include <string>
#include <string_view>

namespace kest::host {

// The version of the running program, stamped into every saved gear file. The host program sets it once at
// start-up in the form MAJOR.MINOR-RELEASE (optionally followed by "sp" and a service-pack number); an empty
// text restores the default, the library's own version.
GEARRECORDS_API void setProductVersion(std::string_view version);

// returns the version set by the host program, else libraryProductVersion()
GEARRECORDS_API std::string getProductVersion();

// The library's own version in the form MAJOR.MINOR-RELEASE, for example "9.03-00".
GEARRECORDS_API std::string libraryProductVersion();

} // namespace kest::host
