// The content generator's icon mode: a square picture of the asked size, transparent around the
// round badge and opaque in its middle; sizes outside what the desktop uses are refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/ImageFile.h"
#include "support/TempDirectory.h"
#include "tests/tools/ToolRun.h"

namespace {

int WriteIcon(const std::string& size) {
    return RunTool("zarvoth-content", "--icon '" + size + "' icon.png").Status;
}

}  // namespace

TEST(ApplicationIcon, IsASquareBadgeTransparentAroundItAtEachSize) {
    for (const int size : {16, 48, 512}) {
        TempDirectory folder;
        ASSERT_EQ(WriteIcon(std::to_string(size)), 0) << size;
        platform::RgbaImage icon;
        std::string error;
        ASSERT_TRUE(platform::LoadPng("icon.png", icon, error)) << error;
        EXPECT_EQ(icon.Width, size);
        EXPECT_EQ(icon.Height, size);
        const auto alpha = [&](int x, int y) { return icon.Pixels[static_cast<std::size_t>(y * size + x)] >> 24; };
        EXPECT_EQ(alpha(0, 0), 0u) << size;
        EXPECT_EQ(alpha(size - 1, size - 1), 0u) << size;
        EXPECT_EQ(alpha(size / 2, size / 2), 0xFFu) << size;
        EXPECT_EQ(alpha(size / 2, size / 32 + 1), 0xFFu) << size << ": the badge all but fills the square";
    }
}

TEST(ApplicationIcon, SizesThatAreNotWholeNumbersFrom16To512AreRefused) {
    for (const char* size : {"15", "513", "48px", "", "-48"}) {
        TempDirectory folder;
        EXPECT_EQ(WriteIcon(size), 1) << size;
        EXPECT_FALSE(std::filesystem::exists("icon.png")) << size;
    }
}
