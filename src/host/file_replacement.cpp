#include "host/file_replacement.h"

#include <kest/gear/host/diagnostics.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kest::host {
namespace {

struct Fault {
    ReplacementStep step;
    int error;
};
std::optional<Fault> injectedFault;

// true, with errno set, when the test seam makes `step` fail now
bool faultAt(ReplacementStep step) {
    if (!injectedFault || injectedFault->step != step) return false;
    errno = injectedFault->error;
    injectedFault.reset();
    return true;
}

// Symbolic-link hops followed before giving up, as the kernel does for a path (MAXSYMLINKS).
constexpr int maxLinkHops = 40;
// Room left for the temporary name's additions within a file-name component (NAME_MAX 255).
constexpr std::size_t maxTemporaryStem = 200;
// Names tried before creating the temporary file is given up; a clash is already unlikely once.
constexpr int temporaryNameAttempts = 100;

[[noreturn]] void fail(const char* what, const std::string& target, int error) {
    throw make_pp(std::string(what) + " '" + target + "': " + std::strerror(error));
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that a save to `path` replaces: `path` itself, or the end of its chain of symbolic links (which
// need not exist yet). returns false with errno set when the chain cannot be read.
bool resolveLinks(std::string& path) {
    for (int hop = 0; hop <= maxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
        if (!S_ISLNK(st.st_mode)) return true;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length < 0) return false;
        link.resize(static_cast<std::size_t>(length));
        path = link.starts_with('/') ? link : folderOf(path) + "/" + link;
    }
    errno = ELOOP;
    return false;
}

// Eight letters and digits that differ between processes, threads and calls.
std::string uniqueSuffix(int attempt) {
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t x =
        static_cast<std::uint64_t>(::getpid()) << 32 ^ counter.fetch_add(1) ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        static_cast<std::uint64_t>(attempt) << 48;
    // splitmix64 finaliser: spreads every input bit over the whole word
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    x ^= x >> 31;
    constexpr char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix(8, '0');
    for (char& c : suffix) {
        c = digits[x % 36];
        x /= 36;
    }
    return suffix;
}

// Creates a new file beside `path` that no other process can have opened. returns its descriptor, or -1 with
// errno set.
int createTemporary(const std::string& path, std::string& temporary) {
    const std::string folder = folderOf(path);
    const std::string stem = path.substr(path.rfind('/') + 1).substr(0, maxTemporaryStem);
    for (int attempt = 0; attempt < temporaryNameAttempts; ++attempt) {
        if (faultAt(ReplacementStep::Create)) return -1;
        temporary = folder + "/." + stem + "." + uniqueSuffix(attempt) + ".tmp";
        // 0666 as for any new file: the umask and the folder's default rules apply.
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Gives the new file the existing target's group (and owner, for a process that may set it) and mode bits.
// The ownership is kept where the system allows; a user may not hand a file to a group they are not in.
bool copyOwnershipAndMode(int fd, const struct stat& target) {
    const uid_t owner = ::geteuid() == 0 ? target.st_uid : static_cast<uid_t>(-1);
    if (::fchown(fd, owner, target.st_gid) != 0) {
        // not permitted: the file keeps the process's group
    }
    // After the change of owner, which clears the set-user and set-group bits.
    return ::fchmod(fd, target.st_mode & 07777) == 0;
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// writeAll, or under an injected write fault half of it and then the failure
bool writeContent(int fd, std::string_view content) {
    if (injectedFault && injectedFault->step == ReplacementStep::Write)
        return writeAll(fd, content.substr(0, content.size() / 2)) && !faultAt(ReplacementStep::Write);
    return writeAll(fd, content);
}

// Flushes the folder's entries, so that the rename survives a power loss. File systems that cannot flush a
// folder say EINVAL; their entries are as durable as they get.
bool syncFolder(const std::string& folder) {
    if (faultAt(ReplacementStep::SyncFolder)) return false;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    const int error = errno;
    ::close(fd);
    errno = error;
    return ok;
}

// The temporary file until it has been renamed: closed and removed when the replacement fails.
class Temporary {
public:
    explicit Temporary(const std::string& path)
        : fd_(createTemporary(path, name_)) {}
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    ~Temporary() {
        if (fd_ >= 0) ::close(fd_);
        if (!renamed_ && fd_ != -1) ::unlink(name_.c_str());
    }
    int fd() const { return fd_; }
    const std::string& name() const { return name_; }
    // returns false with errno set when the last write-back failed
    bool close() {
        const int fd = fd_;
        fd_ = -2; // created, no longer open
        return ::close(fd) == 0;
    }
    void renamed() { renamed_ = true; }

private:
    std::string name_;
    int fd_;
    bool renamed_ = false;
};

} // namespace

void replaceFileContent(const std::string& target, std::string_view content) {
    constexpr const char* cannotWrite = "cannot write file";
    std::string path = target;
    if (!resolveLinks(path)) fail(cannotWrite, target, errno);
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) fail(cannotWrite, target, errno);
    // A file that its owner made read-only is not replaced behind their back.
    if (exists && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        fail(cannotWrite, target, errno);

    Temporary temporary(path);
    if (temporary.fd() < 0) fail(cannotWrite, target, errno);
    if (exists && !copyOwnershipAndMode(temporary.fd(), existing)) fail(cannotWrite, target, errno);
    if (!writeContent(temporary.fd(), content)) fail(cannotWrite, target, errno);
    if (faultAt(ReplacementStep::SyncFile) || ::fsync(temporary.fd()) != 0) fail(cannotWrite, target, errno);
    if (!temporary.close()) fail(cannotWrite, target, errno);
    if (faultAt(ReplacementStep::Rename) || ::rename(temporary.name().c_str(), path.c_str()) != 0)
        fail("cannot replace file", target, errno);
    temporary.renamed();
    if (!syncFolder(folderOf(path))) fail("cannot flush the folder of file", target, errno);
}

void injectReplacementFault(ReplacementStep step, int error) {
    injectedFault = Fault{step, error};
}

void clearReplacementFault() {
    injectedFault.reset();
}

} // namespace kest::host
