// libFuzzer target for the chart-file import: every input imports without crashing, and every chart it
// stores saves and reads back equal (tests/support/kchart_round_trip.h).

#include <kest/gear/host/diagnostics.h>

#include "support/kchart_round_trip.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace {

std::filesystem::path workDirectory;

void removeWorkDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(workDirectory, ignored);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Unknown entries are traced by the thousand; their traces tell nothing here.
    kest::host::setDiagnosticSink([](const kest::host::Diagnostic&) {});
    kest::host::setTraceMasterLevel(0);
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    workDirectory = base / ("gearrecords-chart-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(workDirectory);
    std::atexit(removeWorkDirectory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure =
        kest::test::chartFileRoundTrip({reinterpret_cast<const char*>(data), size}, workDirectory);
    if (!failure.empty()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        removeWorkDirectory(); // abort skips the exit handlers
        std::abort();
    }
    return 0;
}
