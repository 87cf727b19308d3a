// Stream: bounded in-memory reads and writes, and whole-file transfer with advisory locks.
#include "engine/assets/Stream.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

void RaiseReadError() { throw EReadError("Stream read error"); }

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
    const std::size_t n = count < Remaining() ? count : Remaining();
    if (n > 0) {
        std::memcpy(buffer, Bytes.data() + Pos, n);
        Pos += n;
    }
    return n;
}

void TMemoryStream::ReadBuffer(void* buffer, std::size_t count) {
    if (count > Remaining()) {
        RaiseReadError();
    }
    Read(buffer, count);
}

std::vector<std::uint8_t> TMemoryStream::ReadBytes(std::size_t count) {
    if (count > Remaining()) {
        RaiseReadError();
    }
    std::vector<std::uint8_t> bytes(Bytes.begin() + static_cast<std::ptrdiff_t>(Pos),
                                    Bytes.begin() + static_cast<std::ptrdiff_t>(Pos + count));
    Pos += count;
    return bytes;
}

std::uint8_t TMemoryStream::ReadU8() {
    std::uint8_t b = 0;
    ReadBuffer(&b, 1);
    return b;
}

std::uint16_t TMemoryStream::ReadU16() {
    std::uint8_t b[2] = {};
    ReadBuffer(b, 2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t TMemoryStream::ReadU32() {
    std::uint8_t b[4] = {};
    ReadBuffer(b, 4);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

void TMemoryStream::Write(const void* buffer, std::size_t count) {
    if (count == 0) {
        return;
    }
    if (Pos + count > Bytes.size()) {
        Bytes.resize(Pos + count);
    }
    std::memcpy(Bytes.data() + Pos, buffer, count);
    Pos += count;
}

void TMemoryStream::WriteU16(std::uint16_t value) {
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
    Write(b, 2);
}

void TMemoryStream::WriteU32(std::uint32_t value) {
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                               static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    Write(b, 4);
}

namespace {

// Closes the descriptor (and with it the advisory lock) on every path.
class FileHandle {
public:
    explicit FileHandle(int fd) : Fd(fd) {}
    ~FileHandle() {
        if (Fd >= 0) {
            ::close(Fd);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int Get() const { return Fd; }

private:
    int Fd;
};

[[noreturn]] void RaiseOpenError(const std::string& fileName) {
    throw EFOpenError(Format("Cannot open file %s", fileName.c_str()));
}

}  // namespace

std::vector<std::uint8_t> LoadFileBytes(const std::string& fileName) {
    // Only a regular file is opened, and without waiting: opening a FIFO would wait for a writer.
    struct stat info {};
    if (::stat(fileName.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        RaiseOpenError(fileName);
    }
    const FileHandle file(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0 || ::flock(file.Get(), LOCK_SH | LOCK_NB) != 0 || ::fstat(file.Get(), &info) != 0 ||
        !S_ISREG(info.st_mode)) {
        RaiseOpenError(fileName);
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(file.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            RaiseOpenError(fileName);
        }
        if (n == 0) {
            break;  // the file shrank under us: keep what was there
        }
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

void SaveFileBytes(const std::string& fileName, const std::vector<std::uint8_t>& bytes) {
    const FileHandle file(::open(fileName.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    if (file.Get() < 0 || ::flock(file.Get(), LOCK_EX | LOCK_NB) != 0 || ::ftruncate(file.Get(), 0) != 0) {
        throw EFCreateError(Format("Cannot create file %s", fileName.c_str()));
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(file.Get(), bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            throw EFCreateError(Format("Cannot create file %s", fileName.c_str()));
        }
        done += static_cast<std::size_t>(n);
    }
}
