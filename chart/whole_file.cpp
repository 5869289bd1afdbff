#include "chart/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

namespace chart {
namespace {

std::string Reason() { return std::strerror(errno); }

// The folder a name lies in, as a name.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// What the new file takes over from the one it replaces: its permissions, and its owner and group
// where there is a file to replace.
struct Kept {
    mode_t mode = 0;
    bool replaces = false;
    uid_t owner = 0;
    gid_t group = 0;
};

// The process's umask. In WebAssembly under node, umask() says 0777 whatever it is (a new chart
// was made unreadable); the system says it in /proc/self/status, read through node.
mode_t ProcessUmask() {
#ifdef __EMSCRIPTEN__
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0) return mode_t(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 022;
#else
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
#endif
}

// A file is replaced only where it could be written, as the shell's > would write it (a file of
// mode 0444 is refused, but to root): nothing, or why not.
std::string Writable(const std::string& file) {
    return faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0 ? "" : Reason();
}

// The file to replace: the name itself, or the regular file a link names; or why not.
std::string Target(const std::string& path, std::string& target, Kept& kept) {
    mode_t& mode = kept.mode;
    struct stat seen {};
    mode = 0666 & ~ProcessUmask();
    if (lstat(path.c_str(), &seen) != 0) {
        if (errno != ENOENT) return Reason();
        target = path;
        return "";
    }
    if (S_ISLNK(seen.st_mode)) {
        struct stat named {};
        if (stat(path.c_str(), &named) != 0) {
            if (errno == ENOENT) return "it is a dangling link: what it names does not exist";
            return Reason();
        }
        if (!S_ISREG(named.st_mode)) return "it is a link to something that is not a regular file";
        const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr),
                                                               &std::free);
        if (!real) return Reason();
        target = real.get();
        kept = {named.st_mode & 07777, true, named.st_uid, named.st_gid};
        return Writable(target);
    }
    if (S_ISDIR(seen.st_mode)) return "it is a folder";
    if (!S_ISREG(seen.st_mode)) return "it is not a regular file";
    target = path;
    kept = {seen.st_mode & 07777, true, seen.st_uid, seen.st_gid};
    return Writable(target);
}

// While a temporary file exists, a signal that ends the program (Ctrl+C, a hang-up, kill) first
// removes it, then ends the program by the same signal. A signal the program was started with
// ignored (nohup, a background job) stays ignored. The name is kept where the handler can read it
// without allocating.
constexpr std::array<int, 4> kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
char temporaryName[PATH_MAX + 1];
volatile std::sig_atomic_t temporaryExists = 0;

void RemoveTemporaryAndEnd(int signal) {
    if (temporaryExists) unlink(temporaryName);
    std::signal(signal, SIG_DFL);
    raise(signal);
}

// Holds the ending signals back while the temporary file is made or named and forgotten.
class SignalsHeld {
  public:
    SignalsHeld() {
        sigset_t ending;
        sigemptyset(&ending);
        for (const int s : kEndingSignals) sigaddset(&ending, s);
        sigprocmask(SIG_BLOCK, &ending, &before_);
    }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &before_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

  private:
    sigset_t before_;
};

// The temporary file: made, and removed on an ending signal, until it is renamed or removed.
class Temporary {
  public:
    explicit Temporary(const std::string& folder) {
        name_ = folder + "/.daylight-XXXXXX";
        if (name_.size() > PATH_MAX) return;
        const SignalsHeld held;
        fd_ = mkstemp(name_.data());
        if (fd_ < 0) return;
        std::memcpy(temporaryName, name_.c_str(), name_.size() + 1);
        temporaryExists = 1;
        struct sigaction action {};
        action.sa_handler = RemoveTemporaryAndEnd;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
            sigaction(kEndingSignals[i], nullptr, &before_[i]);
            if (before_[i].sa_handler != SIG_IGN) sigaction(kEndingSignals[i], &action, nullptr);
        }
    }
    ~Temporary() {
        if (fd_ < 0) return;
        const SignalsHeld held;
        if (temporaryExists) unlink(name_.c_str());
        temporaryExists = 0;
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
            sigaction(kEndingSignals[i], &before_[i], nullptr);
        }
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    int fd() const { return fd_; }
    // Moves it over the target; from then on it is not removed.
    bool RenameTo(const std::string& target) {
        const SignalsHeld held;
        if (rename(name_.c_str(), target.c_str()) != 0) return false;
        temporaryExists = 0;
        return true;
    }

  private:
    std::string name_;
    int fd_ = -1;
    std::array<struct sigaction, kEndingSignals.size()> before_{};
};

// Flushes a folder's list of names to the disk, so that a rename in it outlasts a crash.
bool SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = fsync(fd) == 0;
    const int error = errno;
    close(fd);
    errno = error;
    return synced;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

}  // namespace

std::string ReplaceWhole(const std::string& path, std::string_view bytes) {
    std::string target;
    Kept kept;
    if (std::string refused = Target(path, target, kept); !refused.empty()) return refused;
    const std::string folder = FolderOf(target);
    Temporary temporary(folder);
    if (temporary.fd() < 0) return Reason();
    // The owner and group of the file replaced stay where the process may set them, as they do
    // when the shell's > writes over a file; where it may not, the new file is the writer's.
    if (kept.replaces) {
        if (fchown(temporary.fd(), kept.owner, kept.group) != 0) errno = 0;
    }
    const int fd = temporary.fd();
    const bool written = WriteAll(fd, bytes) && fchmod(fd, kept.mode) == 0 && fsync(fd) == 0;
    const int writeError = errno;
    if (close(fd) != 0 || !written) return std::strerror(written ? errno : writeError);
    if (!temporary.RenameTo(target)) return Reason();
    // The new name is on the disk before the program says the chart was written.
    // A file system that cannot flush a folder (EINVAL) keeps its names its own way.
    if (!SyncFolder(folder) && errno != EINVAL) return Reason();
    return "";
}

}  // namespace chart
