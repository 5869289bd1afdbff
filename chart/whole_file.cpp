#include "chart/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
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

// The file to replace: the name itself, or the regular file a link names; or why not.
std::string Target(const std::string& path, std::string& target, mode_t& mode) {
    struct stat seen {};
    mode = 0666 & ~[] {
        const mode_t mask = umask(0);
        umask(mask);
        return mask;
    }();
    if (lstat(path.c_str(), &seen) != 0) {
        if (errno != ENOENT) return Reason();
        target = path;
        return "";
    }
    if (S_ISLNK(seen.st_mode)) {
        struct stat named {};
        if (stat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode)) {
            return "it is a link to something that is not a regular file";
        }
        const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr),
                                                               &std::free);
        if (!real) return Reason();
        target = real.get();
        mode = named.st_mode & 07777;
        return "";
    }
    if (S_ISDIR(seen.st_mode)) return "it is a folder";
    if (!S_ISREG(seen.st_mode)) return "it is not a regular file";
    target = path;
    mode = seen.st_mode & 07777;
    return "";
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
    mode_t mode = 0;
    if (std::string refused = Target(path, target, mode); !refused.empty()) return refused;
    std::string temporary = FolderOf(target) + "/.daylight-XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) return Reason();
    const bool written = WriteAll(fd, bytes) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    const int writeError = errno;
    if (close(fd) != 0 || !written) {
        const std::string reason = std::strerror(written ? errno : writeError);
        unlink(temporary.c_str());
        return reason;
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        const std::string reason = Reason();
        unlink(temporary.c_str());
        return reason;
    }
    return "";
}

}  // namespace chart
