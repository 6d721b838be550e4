// Saving a gear file under faults, with an overlong name, and by several processes at once.

#include <kest/gear/gear.h>
#include <kest/gear/gear_parameters.h>

#include "host/file_replacement.h"
#include "support/diagnostics_capture.h"
#include "support/scratch_directory.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace kest::gear {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class GearSave : public test::ScratchDirectoryTest {
protected:
    void SetUp() override {
        ScratchDirectoryTest::SetUp();
        file = (dir / "gear.xml").string();
        fs::copy_file(std::string(GEARRECORDS_EXAMPLES) + "/spur_gear.xml", file);
    }
    void TearDown() override {
        host::clearReplacementFault();
        ScratchDirectoryTest::TearDown();
    }
    std::string file;
};

double positioningValue(const std::string& path, const std::string& name) {
    Gear gear;
    gear.Load(path.c_str());
    std::vector<Gear_General_Parameter> parameters;
    gear.getAllPositioningParameters(&parameters);
    for (const Gear_General_Parameter& p : parameters)
        if (p.name == name) return p.value;
    return -1.0;
}

// A failed write leaves the old file, and the next save of the same content writes it.
TEST_F(GearSave, RetryAfterFailedWriteWritesAgain) {
    for (const host::ReplacementStep step :
         {host::ReplacementStep::Write, host::ReplacementStep::SyncFile, host::ReplacementStep::Rename}) {
        const double value = 1.0 + static_cast<int>(step);
        Gear gear;
        gear.Load(file.c_str());
        ASSERT_TRUE(gear.setPositioningParameter("centre_offset", value));
        host::injectReplacementFault(step, ENOSPC);
        EXPECT_THROW_MSG(gear.Save(nullptr),
                         "cannot " +
                             std::string(step == host::ReplacementStep::Rename ? "replace" : "write") +
                             " file '" + file + "': No space left on device");
        EXPECT_NE(positioningValue(file, "centre_offset"), value);
        gear.Save(nullptr);
        EXPECT_EQ(positioningValue(file, "centre_offset"), value);
    }
}

// Save refuses the name Load refuses, with Load's message and error-log line, before writing anything.
TEST_F(GearSave, OverlongNameIsRefusedAsLoadRefusesIt) {
    Gear gear;
    gear.Load(file.c_str());
    const std::string overlong = (dir / std::string(259 - dir.string().size(), 'g')).string();
    ASSERT_EQ(overlong.size(), 260u);
    for (const bool asKey : {false, true}) {
        test::DiagnosticsCapture capture(0);
        if (asKey) gear.SetKey(overlong.c_str());
        EXPECT_THROW_MSG(gear.Save(asKey ? nullptr : overlong.c_str()),
                         "Windows _MAX_PATH exceeded. This are usually 260 characters.");
        EXPECT_EQ(capture.messages(host::DiagnosticChannel::ErrorLog).size(), 1u);
    }
    EXPECT_FALSE(fs::exists(overlong));
}

// Loads the gear, sets a positioning parameter and saves it, `rounds` times or until `deadline`; returns the
// number of saves, or -1 after a failure (reported on standard error).
int saveLoop(const std::string& file, int rounds, Clock::time_point deadline, double tag) {
    int saves = 0;
    try {
        for (; saves < rounds && Clock::now() < deadline; ++saves) {
            Gear gear;
            gear.Load(file.c_str());
            gear.setPositioningParameter("centre_offset", tag + saves);
            gear.Save(nullptr);
        }
    } catch (const char* message) {
        std::fprintf(stderr, "writer %g: %s\n", tag, message);
        return -1;
    }
    return saves;
}

// A child process running saveLoop, which reports its number of saves through a pipe.
struct Writer {
    pid_t pid = -1;
    int pipe = -1;
    int saves = -1; // once finished: the saves, or -1 when it failed or was killed
};
Writer startWriter(const std::string& file, int rounds, Clock::duration budget, double tag) {
    Writer writer;
    int fds[2];
    if (::pipe(fds) != 0) return writer;
    writer.pid = ::fork();
    if (writer.pid == 0) {
        ::close(fds[0]);
        const int saves = saveLoop(file, rounds, Clock::now() + budget, tag);
        const ssize_t sent = ::write(fds[1], &saves, sizeof saves);
        ::_exit(saves >= 0 && sent == sizeof saves ? 0 : 1);
    }
    ::close(fds[1]);
    writer.pipe = fds[0];
    return writer;
}
// returns true once the writer has ended (at once with `wait`), its saves then counted
bool finished(Writer& writer, bool wait) {
    if (writer.pid <= 0) return true;
    int status = 0;
    if (::waitpid(writer.pid, &status, wait ? 0 : WNOHANG) != writer.pid) return false;
    if (::read(writer.pipe, &writer.saves, sizeof writer.saves) != sizeof writer.saves ||
        !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        writer.saves = -1;
    ::close(writer.pipe);
    writer.pid = -1;
    return true;
}

// Two processes save the same gear file in a loop while this one loads it: every load sees a whole gear.
TEST_F(GearSave, ConcurrentWritersNeverExposeAPartialFile) {
    constexpr int rounds = 150;
    const auto budget = std::chrono::seconds(3);
    std::vector<Writer> writers{startWriter(file, rounds, budget, 1000.0),
                                startWriter(file, rounds, budget, 2000.0)};
    for (const Writer& w : writers)
        ASSERT_GT(w.pid, 0);

    int loads = 0;
    std::vector<std::string> failures;
    const auto deadline = Clock::now() + budget + std::chrono::seconds(2);
    bool running = true;
    while (running && Clock::now() < deadline) {
        Gear reader;
        try {
            reader.Load(file.c_str());
            ++loads;
        } catch (const char* message) {
            failures.push_back(message);
        }
        running = false;
        for (Writer& w : writers)
            running = !finished(w, false) || running;
    }
    for (Writer& w : writers) {
        if (w.pid > 0) ::kill(w.pid, SIGKILL);
        finished(w, true);
        EXPECT_GT(w.saves, 0);
    }
    EXPECT_FALSE(running) << "the writers did not finish in time";
    EXPECT_TRUE(failures.empty()) << failures.size() << " failed loads, the first: " << failures.front();
    std::printf("concurrent saves: %d and %d, loads: %d\n", writers[0].saves, writers[1].saves, loads);
    EXPECT_GE(positioningValue(file, "centre_offset"), 1000.0);
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.path().filename(), "gear.xml");
}

} // namespace
} // namespace kest::gear
