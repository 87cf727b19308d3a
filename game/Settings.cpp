// Settings: reading and writing the 40-byte record; the write goes through a temporary file
// renamed over the file a symbolic link names, and leaves a read-only file alone. The safe write
// of whole files (the preferences) lives here too.
#include "game/Settings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "game/Globals.h"
#include "game/Menu.h"
#include "platform/Dialogs.h"

namespace Main {
namespace {

constexpr std::size_t TagOffset = 0;
constexpr char Tag[] = "ZarvothMutador";
constexpr std::size_t BestScoreOffset = 28;
constexpr std::size_t SoundOffset = 32;
constexpr std::size_t MusicOffset = 33;
constexpr std::size_t StereoOffset = 34;
constexpr std::size_t VSynchOffset = 35;
constexpr std::size_t FpsOffset = 36;

std::int32_t ReadInt32(const SettingsRecord& record, std::size_t offset) {
    const std::uint32_t value = static_cast<std::uint32_t>(record[offset]) |
                                (static_cast<std::uint32_t>(record[offset + 1]) << 8) |
                                (static_cast<std::uint32_t>(record[offset + 2]) << 16) |
                                (static_cast<std::uint32_t>(record[offset + 3]) << 24);
    return static_cast<std::int32_t>(value);
}

void WriteInt32(SettingsRecord& record, std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        record[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

bool ReadRecord(SettingsRecord& record) {
    std::ifstream file(SettingsPath, std::ios::binary);
    if (!file) {
        return false;
    }
    SettingsRecord read{};
    file.read(reinterpret_cast<char*>(read.data()), static_cast<std::streamsize>(read.size()));
    if (file.gcount() != static_cast<std::streamsize>(read.size())) {
        return false;
    }
    record = read;
    return true;
}

// The file a path finally names: symbolic links are followed (a relative link from the
// folder it lies in), so that writing replaces the link's target and keeps the link.
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

// The permissions a new file gets: everyone may read and write, less the process's mask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

bool WriteAll(int descriptor, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(descriptor, contents.data(), contents.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

SettingsRecord& SettingsBuffer() {
    static SettingsRecord buffer{};
    return buffer;
}

void LoadSettings() {
    SettingsRecord& record = SettingsBuffer();
    if (ReadRecord(record)) {
        BestScore = ReadInt32(record, BestScoreOffset);
        SoundOn = record[SoundOffset] != 0;
        MusicOn = record[MusicOffset] != 0;
        StereoOn = record[StereoOffset] != 0;
        VSynchOn = record[VSynchOffset] != 0;
        ShowFps = record[FpsOffset] != 0;
    } else {
        record.fill(0);
        BestScore = 0;
        SoundOn = true;
        MusicOn = true;
        StereoOn = true;
        VSynchOn = true;
        ShowFps = false;
    }
    Menu::SetVSynch(VSynchOn);
}

bool WriteRecordAtomically(const std::string& path, const SettingsRecord& record) {
    const std::string target = FollowSymbolicLinks(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // A file the player made read-only is not to be replaced behind their back (root could).
    if (exists && (::access(target.c_str(), W_OK) != 0 || (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)) {
        return false;
    }
    const std::string temporary = target + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = !exists || ::fchmod(::fileno(file), existing.st_mode & 07777) == 0;
    written = std::fwrite(record.data(), 1, record.size(), file) == record.size() && written;
    written = std::fflush(file) == 0 && written;
    written = ::fsync(::fileno(file)) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

bool WriteFileSafely(const std::string& path, std::string_view contents) {
    namespace fs = std::filesystem;
    const std::string target = FollowSymbolicLinks(path);
    std::error_code error;
    const fs::file_status status = fs::symlink_status(target, error);
    const bool exists = fs::exists(status);
    if ((exists && !fs::is_regular_file(status)) || (!exists && target != path)) {
        return false;
    }
    struct stat existing {};
    if (exists && (::stat(target.c_str(), &existing) != 0 || ::access(target.c_str(), W_OK) != 0 ||
                   (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)) {
        return false;
    }
    std::string temporary = target + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        return false;
    }
    bool written = ::fchmod(descriptor, exists ? existing.st_mode & 07777 : NewFileMode()) == 0;
    written = written && WriteAll(descriptor, contents);
    written = written && ::fsync(descriptor) == 0;
    written = ::close(descriptor) == 0 && written;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

void SaveSettings() {
    SettingsRecord& record = SettingsBuffer();
    record[TagOffset] = static_cast<std::uint8_t>(std::strlen(Tag));
    std::memcpy(record.data() + TagOffset + 1, Tag, std::strlen(Tag));
    WriteInt32(record, BestScoreOffset, BestScore);
    // A flag that was read as 2 and never toggled is written back as it was.
    const auto writeFlag = [&record](std::size_t offset, bool value) {
        if ((record[offset] != 0) != value) {
            record[offset] = value ? 1 : 0;
        }
    };
    writeFlag(SoundOffset, SoundOn);
    writeFlag(MusicOffset, MusicOn);
    writeFlag(StereoOffset, StereoOn);
    writeFlag(VSynchOffset, VSynchOn);
    writeFlag(FpsOffset, ShowFps);
    if (!WriteRecordAtomically(SettingsPath, record)) {
        platform::ShowMessageBox("Cannot write to: \"Data\\Data.qbx\"!!!", "Zarvoth Mutador: Error");
    }
}

}  // namespace Main
