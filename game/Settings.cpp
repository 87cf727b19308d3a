// Settings: reading and writing the 40-byte record, through the platform's safe file access
// (regular files only; the write replaces the file whole or not at all).
#include "game/Settings.h"

#include <algorithm>
#include <cstring>

#include "game/Globals.h"
#include "game/Menu.h"
#include "platform/Dialogs.h"
#include "platform/SafeFile.h"

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
    const auto read = platform::ReadRegularFile(SettingsPath, record.size());
    if (!read || read->size() != record.size()) {
        return false;
    }
    std::copy(read->begin(), read->end(), record.begin());
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
    if (!platform::WriteFileAtomically(SettingsPath, record)) {
        platform::ShowMessageBox("Cannot write to: \"Data\\Data.qbx\"!!!", "Zarvoth Mutador: Error");
    }
}

}  // namespace Main
