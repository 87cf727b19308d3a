// SafeFile: regular files only; the replacement goes through an exclusive temporary file.
#include "platform/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

namespace platform {
namespace {

// Closes the descriptor on every path; Close reports whether the last writes reached the file.
class Descriptor {
public:
    explicit Descriptor(int fd) : Fd(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return Fd; }
    bool Close() {
        const bool closed = Fd < 0 || ::close(Fd) == 0;
        Fd = -1;
        return closed;
    }

private:
    int Fd;
};

bool IsRegularFile(const struct stat& info) {
    return S_ISREG(info.st_mode);
}

// The file a path finally names: symbolic links are followed (a relative link from the folder
// it lies in), so that writing replaces the link's target and keeps the link. A chain that does
// not end within 40 links ends on a link, which is then refused as not a regular file.
std::string FollowSymbolicLinks(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path current = path;
    std::error_code error;
    for (int hop = 0; hop < 40 && fs::is_symlink(fs::symlink_status(current, error)); ++hop) {
        const fs::path link = fs::read_symlink(current, error);
        if (error) {
            break;
        }
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    return current.string();
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A new file beside target under a name of its own, created exclusively: whatever already has
// that name (a link, another writer's temporary file) is never opened, another name is tried.
int CreateTemporary(const std::string& target, std::string& name) {
    thread_local std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".tmp-%d-%08x", static_cast<int>(::getpid()),
                      static_cast<unsigned>(random()));
        name = target + suffix;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    // Looked at before it is opened: opening a FIFO waits for a writer, opening a device may act.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !IsRegularFile(info)) {
        return std::nullopt;
    }
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !IsRegularFile(info)) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(maxBytes);
    std::size_t done = 0;
    while (done < maxBytes) {
        const ssize_t n = ::read(file.Get(), bytes.data() + done, maxBytes - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::string target = FollowSymbolicLinks(path);
    struct stat existing {};
    const bool exists = ::lstat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        return false;
    }
    // Renaming over a device, a FIFO or a socket would leave a plain file in its place.
    if (exists && !IsRegularFile(existing)) {
        return false;
    }
    // A file the player made read-only is not to be replaced behind their back (root could).
    if (exists && (::access(target.c_str(), W_OK) != 0 || (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)) {
        return false;
    }
    std::string temporary;
    Descriptor file(CreateTemporary(target, temporary));
    if (file.Get() < 0) {
        return false;
    }
    if (exists && ::fchown(file.Get(), existing.st_uid, existing.st_gid) != 0) {
        // Only root may give a file away; anyone else's new file stays their own. (Root saving a
        // player's file keeps it the player's, so their next save is not refused.)
    }
    bool written = !exists || ::fchmod(file.Get(), existing.st_mode & 07777) == 0;
    written = written && WriteAll(file.Get(), bytes) && ::fsync(file.Get()) == 0;
    written = file.Close() && written;
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace platform
