#pragma once

#include "host/child_sync.h"

namespace kest::gear {

// The names of the elements and attributes that the protocol settings write below "protocol", so that a save
// keeps the others.
const host::KnownNames& protocolNames();

} // namespace kest::gear
