// libFuzzer target for the gear file reader: every input is either refused with a thrown message or loads,
// saves, loads again and saves the same document again (tests/support/gear_round_trip.h). The gear is read
// through a file because that is the reader's only entry: Gear::Load does the version, kind and section steps
// after the XML is parsed, and ReadFromStream alone would skip them.

#include <kest/gear/host/diagnostics.h>

#include "support/gear_round_trip.h"

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
    // Refused inputs are reported by the million; their reports tell nothing and slow the run down.
    kest::host::setDiagnosticSink([](const kest::host::Diagnostic&) {});
    kest::host::setTraceMasterLevel(0);
    // Each process (libFuzzer's -jobs and -workers run several) has a directory of its own, in memory where
    // the system has a RAM file system: the files of each input are written and renamed several times, and on
    // a disk that makes the run ten times slower.
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    workDirectory = base / ("gearrecords-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(workDirectory);
    std::atexit(removeWorkDirectory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure =
        kest::test::gearRoundTrip({reinterpret_cast<const char*>(data), size}, workDirectory);
    if (!failure.empty()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        removeWorkDirectory(); // abort skips the exit handlers
        std::abort();
    }
    return 0;
}
