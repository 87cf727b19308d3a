// PNG files: colour values (and alpha) survive a save and a load, a picture without alpha reads
// as opaque, and the failures are reported.
#include <gtest/gtest.h>

#include "platform/ImageFile.h"
#include "support/TempDirectory.h"

TEST(ImageFile, ColourValuesAndAlphaSurviveASaveAndALoad) {
    TempDirectory folder;
    const platform::RgbImage opaque{3, 2, {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xFFFFFF, 0x000000}};
    const platform::RgbaImage translucent{2, 2, {0x00000000, 0x80FF8040, 0xFF102030, 0x01FFFFFF}};
    std::string error;
    ASSERT_TRUE(platform::SavePng("opaque.png", opaque, error)) << error;
    ASSERT_TRUE(platform::SavePng("translucent.png", translucent, error)) << error;

    platform::RgbImage rgb;
    ASSERT_TRUE(platform::LoadPng("opaque.png", rgb, error)) << error;
    EXPECT_EQ(rgb.Width, 3);
    EXPECT_EQ(rgb.Pixels, opaque.Pixels);
    platform::RgbaImage rgba;
    ASSERT_TRUE(platform::LoadPng("translucent.png", rgba, error)) << error;
    EXPECT_EQ(rgba.Height, 2);
    EXPECT_EQ(rgba.Pixels, translucent.Pixels);
    ASSERT_TRUE(platform::LoadPng("opaque.png", rgba, error)) << error;
    EXPECT_EQ(rgba.Pixels[3], 0xFF123456u) << "a picture without alpha reads as opaque";
}

TEST(ImageFile, FailuresAreReported) {
    TempDirectory folder;
    std::string error;
    EXPECT_FALSE(platform::SavePng("empty.png", platform::RgbaImage{2, 2, {}}, error));
    EXPECT_EQ(error, "image has no pixels");
    error.clear();
    platform::RgbaImage image;
    EXPECT_FALSE(platform::LoadPng("missing.png", image, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(platform::SavePng("no-such-folder/x.png", platform::RgbaImage{1, 1, {0}}, error));
}
