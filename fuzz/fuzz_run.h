#pragma once

// What every fuzz target does around its check: a quiet library, a work directory of its own for the files of
// each input, and an abort that libFuzzer records as a finding when the check fails.

#include <kest/gear/host/diagnostics.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace kest::fuzz {

inline std::filesystem::path workDirectory;

inline void removeWorkDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(workDirectory, ignored);
}

// Silences the diagnostics and makes the work directory "<name>-<pid>", removed at exit.
inline void start(const char* name) {
    // Refused inputs are reported by the million; their reports tell nothing and slow the run down.
    host::setDiagnosticSink([](const host::Diagnostic&) {});
    host::setTraceMasterLevel(0);
    // Each process (libFuzzer's -jobs and -workers run several) has a directory of its own, in memory where
    // the system has a RAM file system: the files of each input are written and renamed several times, and on
    // a disk that makes the run ten times slower.
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    workDirectory = base / (std::string(name) + "-" + std::to_string(getpid()));
    std::filesystem::create_directories(workDirectory);
    std::atexit(removeWorkDirectory);
}

// Prints a failure of the check and aborts; nothing for an empty failure.
inline void require(const std::string& failure) {
    if (failure.empty()) return;
    std::fprintf(stderr, "%s\n", failure.c_str());
    removeWorkDirectory(); // abort skips the exit handlers
    std::abort();
}

} // namespace kest::fuzz
