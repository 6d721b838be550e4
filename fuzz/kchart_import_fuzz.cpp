// libFuzzer target for the chart-file import: every input imports without crashing, and the charts it stores
// save, load and save to the same document again (tests/support/kchart_round_trip.h).

#include "fuzz_run.h"
#include "support/kchart_round_trip.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kest::fuzz::start("gearrecords-chart-fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kest::fuzz::require(kest::test::chartFileRoundTrip({reinterpret_cast<const char*>(data), size},
                                                       kest::fuzz::workDirectory));
    return 0;
}
