// libFuzzer target for the gear file reader: every input is either refused with a thrown message or loads,
// saves, loads again and saves the same document again (tests/support/gear_round_trip.h). The gear is read
// through a file because that is the reader's only entry: Gear::Load does the version, kind and section steps
// after the XML is parsed, and ReadFromStream alone would skip them.

#include "fuzz_run.h"
#include "support/gear_round_trip.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kest::fuzz::start("gearrecords-fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kest::fuzz::require(
        kest::test::gearRoundTrip({reinterpret_cast<const char*>(data), size}, kest::fuzz::workDirectory));
    return 0;
}
