// The preferences file: its lines read leniently, written back in full.
#include "game/Preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/TempDirectory.h"

namespace {

namespace fs = std::filesystem;
using Preferences::TPreferences;

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(Preferences, EachGoodLineSetsItsChoiceAndEveryOtherLineIsIgnored) {
    struct Case {
        const char* Text;
        TPreferences Expected;
    };
    const Case cases[] = {
        {"", {}},
        {"Display=Window\nWindowWidth=1000\nWindowHeight=700\nEffectsVolume=0\nMusicVolume=55\n",
         {false, 1000, 700, 0, 55}},
        {"  Display = Window \r\n# MusicVolume=5\r\nMusicVolume\t=\t7\r\n", {false, 0, 0, 100, 7}},
        {"Display=window\nDisplay=\nDisplay", {}},                           // values are exact
        {"EffectsVolume=101\nMusicVolume=-1\nEffectsVolume=50%\nMusicVolume=0x10\nMusicVolume=", {}},
        {"WindowWidth=1000\n", {}},                                          // a size needs both sides
        {"WindowWidth=99999\nWindowHeight=700\n", {}},
        {"Volume=3\nnonsense\n=5\n\xff=1", {}},
        {"MusicVolume=1\nMusicVolume=2", {true, 0, 0, 100, 2}},              // the last one counts
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Preferences::ParsePreferences(c.Text), c.Expected) << c.Text;
    }
}

TEST(Preferences, WhatIsWrittenReadsBackTheSame) {
    for (const TPreferences& preferences : {TPreferences{}, TPreferences{false, 1600, 1200, 0, 100}}) {
        EXPECT_EQ(Preferences::ParsePreferences(Preferences::FormatPreferences(preferences)), preferences);
    }
}

class PreferencesFile : public ::testing::Test {
protected:
    PreferencesFile() {
        fs::create_directory("Data");
        Preferences::Current = TPreferences{false, 1, 2, 3, 4};
    }
    ~PreferencesFile() override { Preferences::Current = {}; }
    TempDirectory Folder;
};

TEST_F(PreferencesFile, AMissingOrOversizedFileGivesTheDefaults) {
    Preferences::LoadPreferences();
    EXPECT_EQ(Preferences::Current, TPreferences{});

    // A megabyte without a line break: read only as far as a preferences file can reach.
    WriteText(Preferences::PreferencesPath, "MusicVolume=5" + std::string(1 << 20, '7'));
    Preferences::LoadPreferences();
    EXPECT_EQ(Preferences::Current, TPreferences{});
}

TEST_F(PreferencesFile, SavedChoicesComeBackAtTheNextStart) {
    Preferences::Current = TPreferences{false, 1000, 700, 30, 60};
    ASSERT_TRUE(Preferences::SavePreferences());
    Preferences::Current = {};
    Preferences::LoadPreferences();
    EXPECT_EQ(Preferences::Current, (TPreferences{false, 1000, 700, 30, 60}));
}

TEST_F(PreferencesFile, AFailedSaveSaysSoAndReturnsFalse) {
    fs::create_directory(Preferences::PreferencesPath);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Preferences::SavePreferences());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Data/Preferences.ini"), std::string::npos);
}

}  // namespace
