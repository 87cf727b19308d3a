// PNG files: colour values (and alpha) survive a save and a load, a picture without alpha reads
// as opaque, the failures are reported, and a picture is measured by its header before decoding.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

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

TEST(ImageFile, APngIsMeasuredByItsHeaderBeforeItIsDecoded) {
    TempDirectory folder;
    std::string error;
    ASSERT_TRUE(platform::SavePng("one.png", platform::RgbImage{1, 1, {0x123456}}, error)) << error;
    std::ifstream in("one.png", std::ios::binary);
    const std::vector<std::uint8_t> png{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    platform::RgbImage image;
    ASSERT_TRUE(platform::LoadPng(png, image, error)) << error;
    EXPECT_EQ(image.Pixels, std::vector<std::uint32_t>{0x123456});

    // The patched header no longer matches its checksum, so only the size check can name the size.
    const struct {
        std::uint32_t Width, Height;
        bool Refused;
    } sides[] = {{16385, 1, true}, {1, 40000, true}, {0, 1, true}, {16384, 16384, false}};
    for (const auto& side : sides) {
        std::vector<std::uint8_t> patched = png;
        for (int i = 0; i < 4; ++i) {
            patched[16 + i] = static_cast<std::uint8_t>(side.Width >> (24 - 8 * i));
            patched[20 + i] = static_cast<std::uint8_t>(side.Height >> (24 - 8 * i));
        }
        EXPECT_FALSE(platform::LoadPng(patched, image, error));
        EXPECT_EQ(error.rfind("PNG of " + std::to_string(side.Width) + " x ", 0) == 0, side.Refused) << error;
    }
    EXPECT_FALSE(platform::LoadPng(std::vector<std::uint8_t>{'B', 'M', 0, 0}, image, error));
    EXPECT_EQ(error, "not a PNG file");
}

TEST(ImageFile, SixteenBitPixelsWidenToFullChannelsInEitherLayout) {
    struct Case {
        platform::PixelLayout Layout;
        std::uint16_t Red, Green, Blue, White;
    };
    for (const Case& c : {Case{platform::PixelLayout::RGB565, 0xF800, 0x07E0, 0x001F, 0xFFFF},
                          Case{platform::PixelLayout::RGB555, 0x7C00, 0x03E0, 0x001F, 0x7FFF}}) {
        SCOPED_TRACE(static_cast<int>(c.Layout));
        // Two rows of two pixels, a pitch of three: the third pixel of each row is not picture.
        std::uint16_t pixels[] = {c.Red, c.Green, 0x1234, c.Blue, c.White, 0x1234};
        const platform::RgbImage image = platform::FrameImage({pixels, 2, 2, 3, c.Layout});
        EXPECT_EQ(image.Width, 2);
        EXPECT_EQ(image.Pixels, (std::vector<std::uint32_t>{0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}));
    }
}
