// Screenshots: their folder from the environment, their names, and the picture written.
#include "game/Screenshot.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/ImageFile.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDirectory.h"

namespace {

namespace fs = std::filesystem;

TEST(Screenshot, TheFolderIsThePicturesFolderOfTheEnvironmentOrOfHome) {
    struct Case {
        const char* Pictures;
        const char* Home;
        std::optional<fs::path> Expected;
    };
    const Case cases[] = {
        {"/p", "/h", fs::path("/p/Zarvoth Mutador")},
        {"", "/h", fs::path("/h/Pictures/Zarvoth Mutador")},
        {nullptr, "/h", fs::path("/h/Pictures/Zarvoth Mutador")},
        {nullptr, nullptr, std::nullopt},
    };
    for (const Case& c : cases) {
        const ScopedEnvironment pictures("XDG_PICTURES_DIR", c.Pictures);
        const ScopedEnvironment home("HOME", c.Home);
        EXPECT_EQ(Screenshot::ScreenshotFolder(), c.Expected) << (c.Pictures ? c.Pictures : "(unset)");
    }
}

TEST(Screenshot, NamesCarryTheDateAndTimeAndANumberFromTheSecondPictureOfASecond) {
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 4;
    time.tm_mday = 7;
    time.tm_hour = 21;
    time.tm_min = 4;
    time.tm_sec = 9;
    EXPECT_EQ(Screenshot::ScreenshotName(time, 1), "Zarvoth Mutador 2024-05-07 21-04-09.png");
    EXPECT_EQ(Screenshot::ScreenshotName(time, 2), "Zarvoth Mutador 2024-05-07 21-04-09 2.png");
}

TEST(Screenshot, TheFrameIsWrittenWholeUnderAFreeNameInAFolderMadeForIt) {
    const TempDirectory folder;
    const ScopedEnvironment pictures("XDG_PICTURES_DIR", (folder.Path / "Pictures").c_str());
    std::vector<std::uint16_t> pixels(800 * 600, 0xF800);
    pixels[599 * 800 + 799] = 0xFFFF;
    const platform::PixelBuffer16 frame{pixels.data(), 800, 600, 800, platform::PixelLayout::RGB565};

    const std::optional<fs::path> first = Screenshot::SaveScreenshot(frame);
    const std::optional<fs::path> second = Screenshot::SaveScreenshot(frame);
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second) << "a second picture does not replace the first";
    EXPECT_EQ(first->parent_path(), folder.Path / "Pictures" / "Zarvoth Mutador");
    platform::RgbImage image;
    std::string error;
    ASSERT_TRUE(platform::LoadPng(second->string(), image, error)) << error;
    EXPECT_EQ(image.Width, 800);
    EXPECT_EQ(image.Height, 600);
    EXPECT_EQ(image.Pixels.front(), 0x0000FFu) << "pure red";
    EXPECT_EQ(image.Pixels.back(), 0xFFFFFFu) << "white stays white";
}

TEST(Screenshot, AFolderThatCannotBeMadeIsSaidOnStderr) {
    const TempDirectory folder;
    std::ofstream("NotAFolder") << "x";
    const ScopedEnvironment pictures("XDG_PICTURES_DIR", (folder.Path / "NotAFolder").c_str());
    std::vector<std::uint16_t> pixels(800 * 600);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Screenshot::SaveScreenshot({pixels.data(), 800, 600, 800, platform::PixelLayout::RGB565}));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("the screenshot was not saved"), std::string::npos);
}

}  // namespace
