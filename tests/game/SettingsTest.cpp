#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <vector>

#include <sys/stat.h>

#include "game/Globals.h"
#include "game/Settings.h"
#include "support/TempDirectory.h"

namespace {

std::vector<std::uint8_t> ReadFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const char* path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> Record(std::int32_t best, std::uint8_t sound, std::uint8_t music, std::uint8_t stereo,
                                 std::uint8_t vsynch, std::uint8_t fps) {
    std::vector<std::uint8_t> bytes(40, 0xAA);
    bytes[0] = 3;  // a wrong tag
    const auto bits = static_cast<std::uint32_t>(best);
    for (int i = 0; i < 4; ++i) bytes[28 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    bytes[32] = sound;
    bytes[33] = music;
    bytes[34] = stereo;
    bytes[35] = vsynch;
    bytes[36] = fps;
    return bytes;
}

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() { std::filesystem::create_directory("Data"); }
    TempDirectory Folder;
};

}  // namespace

TEST_F(SettingsTest, NoFileGivesDefaultsAndCloseWritesAFreshRecord) {
    Main::BestScore = 77;
    Main::ShowFps = true;
    Main::LoadSettings();
    EXPECT_EQ(Main::BestScore, 0);
    EXPECT_TRUE(Main::SoundOn && Main::MusicOn && Main::StereoOn && Main::VSynchOn);
    EXPECT_FALSE(Main::ShowFps);

    Main::SaveSettings();
    const std::vector<std::uint8_t> saved = ReadFile(Main::SettingsPath);
    ASSERT_EQ(saved.size(), 40u);
    EXPECT_EQ(saved[0], 14);
    EXPECT_EQ(std::string(saved.begin() + 1, saved.begin() + 15), "ZarvothMutador");
    for (int i = 15; i < 28; ++i) EXPECT_EQ(saved[i], 0) << i;
    EXPECT_EQ((std::vector<std::uint8_t>(saved.begin() + 28, saved.end())),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0}));
}

TEST_F(SettingsTest, AnyFortyByteRecordIsTakenAndItsForeignBytesSurvive) {
    std::vector<std::uint8_t> bytes = Record(-1234, 0, 2, 1, 0, 1);
    bytes.resize(50, 0x55);  // longer than one record
    WriteFile(Main::SettingsPath, bytes);

    Main::LoadSettings();
    EXPECT_EQ(Main::BestScore, -1234);
    EXPECT_EQ((std::array{Main::SoundOn, Main::MusicOn, Main::StereoOn, Main::VSynchOn, Main::ShowFps}),
              (std::array{false, true, true, false, true}));

    Main::SaveSettings();
    const std::vector<std::uint8_t> saved = ReadFile(Main::SettingsPath);
    ASSERT_EQ(saved.size(), 40u);
    EXPECT_EQ(saved[0], 14);
    EXPECT_EQ(saved[15], 0xAA);
    EXPECT_EQ(saved[27], 0xAA);
    EXPECT_EQ(saved[33], 2) << "an untouched flag byte goes back as it was";
    EXPECT_EQ(saved[39], 0xAA);
    const std::vector<std::uint8_t> expectedScore(bytes.begin() + 28, bytes.begin() + 32);
    EXPECT_EQ(std::vector<std::uint8_t>(saved.begin() + 28, saved.begin() + 32), expectedScore);
}

TEST_F(SettingsTest, AShortFileFallsBackToEveryDefault) {
    WriteFile(Main::SettingsPath, std::vector<std::uint8_t>(39, 0));
    Main::BestScore = 5;
    Main::SoundOn = false;
    Main::LoadSettings();
    EXPECT_EQ(Main::BestScore, 0);
    EXPECT_TRUE(Main::SoundOn);
}

TEST_F(SettingsTest, AChangedFlagIsWrittenAsZeroOrOne) {
    WriteFile(Main::SettingsPath, Record(10, 2, 2, 2, 2, 2));
    Main::LoadSettings();
    Main::MusicOn = false;
    Main::SaveSettings();
    const std::vector<std::uint8_t> saved = ReadFile(Main::SettingsPath);
    EXPECT_EQ(saved[32], 2);
    EXPECT_EQ(saved[33], 0);
    Main::LoadSettings();
    Main::MusicOn = true;
    Main::SaveSettings();
    EXPECT_EQ(ReadFile(Main::SettingsPath)[33], 1);
}

TEST_F(SettingsTest, AFailedWriteKeepsTheOldFile) {
    WriteFile(Main::SettingsPath, Record(999, 1, 1, 1, 1, 0));
    Main::LoadSettings();
    Main::BestScore = 5000;
    if (geteuid() == 0) {
        chmod(Main::SettingsPath, 0444);  // root writes in any folder, but leaves a read-only file
    } else {
        chmod("Data", 0555);
    }
    Main::SaveSettings();  // reports through a message box (stderr when headless)
    chmod("Data", 0755);
    EXPECT_EQ(ReadFile(Main::SettingsPath), Record(999, 1, 1, 1, 1, 0));
}
