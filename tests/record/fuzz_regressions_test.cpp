#include "support/diagnostics_capture.h"
#include "support/gear_round_trip.h"
#include "support/scratch_directory.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

class fuzz_regressions : public kest::test::ScratchDirectoryTest {};

// Every input kept from the fuzz target is refused with a message, or loads, saves, loads again and saves the
// same document again.
TEST_F(fuzz_regressions, InputsAreRefusedOrRoundTrip) {
    kest::test::DiagnosticsCapture quiet(0); // refusals are reported; they are expected here
    int inputs = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(GEARRECORDS_FUZZ_REGRESSIONS)) {
        EXPECT_EQ(kest::test::gearRoundTrip(read(entry.path()), dir), "") << entry.path().filename();
        ++inputs;
    }
    EXPECT_GT(inputs, 0);
}
