// The durable replacement of a gear file (unique temporary file, flushed, renamed, folder flushed) beside a
// raw rewrite of the same bytes in place, once flushed to disk and once left to the page cache: the ratios
// are what "nothing lost" costs a save.

#include "host/file_replacement.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string exampleBytes() {
    std::ifstream in(std::string(GEARRECORDS_EXAMPLES) + "/measured_gear.xml", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string scratchFile() {
    return (fs::temp_directory_path() / ("gearrecords_bench_" + std::to_string(::getpid()) + "_replace.xml"))
        .string();
}

void DurableReplace(benchmark::State& state) {
    const std::string bytes = exampleBytes();
    const std::string target = scratchFile();
    for (auto _ : state)
        kest::host::replaceFileContent(target, bytes);
    fs::remove(target);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(DurableReplace)->UseRealTime();

// Truncates and writes the target in place; with `sync`, flushes it before closing.
void RawRewrite(benchmark::State& state, bool sync) {
    const std::string bytes = exampleBytes();
    const std::string target = scratchFile();
    for (auto _ : state) {
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            (sync && ::fsync(fd) != 0)) {
            state.SkipWithError("raw write failed");
            break;
        }
        ::close(fd);
    }
    fs::remove(target);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK_CAPTURE(RawRewrite, sync, true)->UseRealTime();
BENCHMARK_CAPTURE(RawRewrite, nosync, false)->UseRealTime();

} // namespace
