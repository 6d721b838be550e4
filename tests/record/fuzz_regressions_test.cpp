#include "support/diagnostics_capture.h"
#include "support/gear_round_trip.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

// Every input kept from the fuzz target is refused with a message, or loads, saves, loads again and saves the
// same document again.
TEST(fuzz_regressions, InputsAreRefusedOrRoundTrip) {
    const fs::path work = fs::temp_directory_path() / ("gearrecords-regressions-" + std::to_string(getpid()));
    fs::create_directories(work);
    kest::test::DiagnosticsCapture quiet(0); // refusals are reported; they are expected here
    int inputs = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(GEARRECORDS_FUZZ_REGRESSIONS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(kest::test::gearRoundTrip(bytes, work), "") << entry.path().filename();
        ++inputs;
    }
    fs::remove_all(work);
    EXPECT_GT(inputs, 0);
}
