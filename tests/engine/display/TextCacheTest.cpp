#include <gtest/gtest.h>

#include <string>

#include "engine/display/DirectDrawSurface.h"
#include "engine/display/SurfaceCanvas.h"
#include "engine/display/TextCache.h"

namespace {

using platform::PixelLayout;

TFont Courier(int size = 10, TColor color = RGB(0, 51, 51)) {
    TFont font;
    font.Name = "Courier New";
    font.Size = size;
    font.Color = color;
    return font;
}

}  // namespace

TEST(TextCache, KeepsOneKeyedPictureOfTheInkPerFontColourLayoutAndString) {
    TTextCache cache(100000, 10);
    const TTextCache::TLinePicture* line = cache.Line(Courier(), PixelLayout::RGB565, "Type distance:");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(cache.Line(Courier(), PixelLayout::RGB565, "Type distance:"), line) << "found again, not rendered";
    EXPECT_EQ(cache.Lines(), 1u);

    TFont bold = Courier();
    bold.Style = TFontStyle::Bold;
    TFont verdana = Courier();
    verdana.Name = "Verdana";
    const struct {
        TFont Font;
        PixelLayout Layout;
        const char* Text;
    } others[] = {{bold, PixelLayout::RGB565, "Type distance:"},   {Courier(12), PixelLayout::RGB565, "Type distance:"},
                  {Courier(10, RGB(255, 0, 0)), PixelLayout::RGB565, "Type distance:"},
                  {verdana, PixelLayout::RGB565, "Type distance:"}, {Courier(), PixelLayout::RGB555, "Type distance:"},
                  {Courier(), PixelLayout::RGB565, "Type distance"}};
    for (const auto& other : others) {
        EXPECT_NE(cache.Line(other.Font, other.Layout, other.Text), line) << other.Text;
    }
    EXPECT_EQ(cache.Lines(), 7u);

    // The picture holds the ink alone: its first and last rows and columns are inked somewhere.
    const TDirectDrawSurface& picture = *line->Surface;
    const std::uint16_t ink = picture.ColorToPixel(RGB(0, 51, 51));
    const auto inkedRow = [&](int y) {
        for (int x = 0; x < picture.Width(); ++x) if (picture.Pixel(x, y) == ink) return true;
        return false;
    };
    const auto inkedColumn = [&](int x) {
        for (int y = 0; y < picture.Height(); ++y) if (picture.Pixel(x, y) == ink) return true;
        return false;
    };
    EXPECT_TRUE(inkedRow(0) && inkedRow(picture.Height() - 1));
    EXPECT_TRUE(inkedColumn(0) && inkedColumn(picture.Width() - 1));
    EXPECT_NE(picture.ColorKey(), ink);
    EXPECT_EQ(cache.Line(Courier(), PixelLayout::RGB565, ""), nullptr) << "no ink, nothing to draw";
}

TEST(TextCache, DropsTheLeastRecentlyDrawnLinesBeyondItsBudgets) {
    TTextCache byLines(1000000, 3);
    for (const char* text : {"a", "b", "c", "a", "d"}) byLines.Line(Courier(), PixelLayout::RGB565, text);
    EXPECT_EQ(byLines.Lines(), 3u);
    EXPECT_TRUE(byLines.Holds(Courier(), PixelLayout::RGB565, "a")) << "drawn again recently";
    EXPECT_FALSE(byLines.Holds(Courier(), PixelLayout::RGB565, "b")) << "the least recently drawn";
    EXPECT_TRUE(byLines.Holds(Courier(), PixelLayout::RGB565, "d"));

    TTextCache byPixels(2000, 100);
    for (int score = 0; score < 200; ++score) {
        byPixels.Line(Courier(), PixelLayout::RGB565, "Score: " + std::to_string(score));
        ASSERT_LE(byPixels.Pixels(), 2000u);
    }
    EXPECT_GT(byPixels.Lines(), 1u);
    byPixels.Line(Courier(40), PixelLayout::RGB565, "A line far larger than the budget");
    EXPECT_EQ(byPixels.Lines(), 1u);
    EXPECT_TRUE(byPixels.Holds(Courier(40), PixelLayout::RGB565, "A line far larger than the budget")) << "kept alone";
}

TEST(TextCache, TheCanvasCopiesKeptLinesLeavingEveryOtherPixelAsItWas) {
    TDirectDrawSurface surface(200, 40, PixelLayout::RGB565);
    const std::uint16_t background = 0x1234;
    const std::uint16_t teal = surface.ColorToPixel(RGB(0, 51, 51));
    for (int frame = 0; frame < 2; ++frame) {
        surface.Fill(background);
        TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Font = Courier();
        canvas.TextOut(-9, 5, "Kept 0123456789 line");
        canvas.TextOut(150, 30, "partly off the surface");
        canvas.Release();
        int inked = 0;
        for (int y = 0; y < surface.Height(); ++y) {
            for (int x = 0; x < surface.Width(); ++x) {
                const std::uint16_t pixel = surface.Pixel(x, y);
                ASSERT_TRUE(pixel == background || pixel == teal) << x << "," << y;
                inked += pixel == teal;
            }
        }
        EXPECT_GT(inked, 100) << "frame " << frame;
    }
}
