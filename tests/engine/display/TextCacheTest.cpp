#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

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

TEST(TextCache, KeepsOneCoverageMaskOfTheInkPerFontAndString) {
    TTextCache cache(100000, 10);
    const TTextCache::TLinePicture* line = cache.Line(Courier(), "Type distance:");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(cache.Line(Courier(), "Type distance:"), line) << "found again, not rendered";
    EXPECT_EQ(cache.Line(Courier(10, RGB(255, 0, 0)), "Type distance:"), line) << "the colour is the draw's";
    EXPECT_EQ(cache.Lines(), 1u);

    TFont bold = Courier();
    bold.Style = TFontStyle::Bold;
    TFont verdana = Courier();
    verdana.Name = "Verdana";
    const struct {
        TFont Font;
        const char* Text;
    } others[] = {{bold, "Type distance:"}, {Courier(12), "Type distance:"}, {verdana, "Type distance:"},
                  {Courier(), "Type distance"}};
    for (const auto& other : others) {
        EXPECT_NE(cache.Line(other.Font, other.Text), line) << other.Text;
    }
    EXPECT_EQ(cache.Lines(), 5u);

    // The mask holds the ink alone: its first and last rows and columns are inked somewhere, in
    // grey levels up to full coverage.
    const auto at = [line](int x, int y) { return line->Coverage[static_cast<std::size_t>(y * line->Width + x)]; };
    const auto inkedRow = [&](int y) {
        for (int x = 0; x < line->Width; ++x) if (at(x, y) != 0) return true;
        return false;
    };
    const auto inkedColumn = [&](int x) {
        for (int y = 0; y < line->Height; ++y) if (at(x, y) != 0) return true;
        return false;
    };
    ASSERT_EQ(line->Coverage.size(), static_cast<std::size_t>(line->Width * line->Height));
    EXPECT_TRUE(inkedRow(0) && inkedRow(line->Height - 1));
    EXPECT_TRUE(inkedColumn(0) && inkedColumn(line->Width - 1));
    const std::uint8_t most = *std::max_element(line->Coverage.begin(), line->Coverage.end());
    EXPECT_GT(most, TDirectDrawSurface::FullCoverage / 2);
    EXPECT_LE(most, TDirectDrawSurface::FullCoverage);
    EXPECT_EQ(cache.Line(Courier(), ""), nullptr) << "no ink, nothing to draw";
}

TEST(TextCache, DropsTheLeastRecentlyDrawnLinesBeyondItsBudgets) {
    TTextCache byLines(1000000, 3);
    for (const char* text : {"a", "b", "c", "a", "d"}) byLines.Line(Courier(), text);
    EXPECT_EQ(byLines.Lines(), 3u);
    EXPECT_TRUE(byLines.Holds(Courier(), "a")) << "drawn again recently";
    EXPECT_FALSE(byLines.Holds(Courier(), "b")) << "the least recently drawn";
    EXPECT_TRUE(byLines.Holds(Courier(), "d"));

    TTextCache byPixels(2000, 100);
    for (int score = 0; score < 200; ++score) {
        byPixels.Line(Courier(), "Score: " + std::to_string(score));
        ASSERT_LE(byPixels.Pixels(), 2000u);
    }
    EXPECT_GT(byPixels.Lines(), 1u);
    byPixels.Line(Courier(40), "A line far larger than the budget");
    EXPECT_EQ(byPixels.Lines(), 1u);
    EXPECT_TRUE(byPixels.Holds(Courier(40), "A line far larger than the budget")) << "kept alone";
}

// Every pixel the text touches moves from what was under it towards the ink, channel by channel;
// the second frame, drawn from the kept masks, equals the first.
TEST(TextCache, TheCanvasBlendsKeptLinesOntoThePixelsUnderThem) {
    TDirectDrawSurface surface(200, 40, PixelLayout::RGB565);
    const std::uint16_t background = 0x1234;
    const std::uint16_t teal = surface.ColorToPixel(RGB(0, 51, 51));
    const auto between = [&](std::uint16_t pixel) {
        for (const auto& [shift, mask] : {std::pair{11, 0x1F}, std::pair{5, 0x3F}, std::pair{0, 0x1F}}) {
            const int value = (pixel >> shift) & mask, from = (background >> shift) & mask, to = (teal >> shift) & mask;
            if (value < std::min(from, to) || value > std::max(from, to)) return false;
        }
        return true;
    };
    std::vector<std::uint16_t> frames[2];
    for (auto& frame : frames) {
        surface.Fill(background);
        TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Font = Courier();
        canvas.Font.Style = TFontStyle::Bold;  // strokes that cover whole pixels
        canvas.TextOut(-9, 5, "Kept 0123456789 line");
        canvas.TextOut(150, 30, "partly off the surface");
        canvas.Release();
        int inked = 0, blended = 0;
        for (int y = 0; y < surface.Height(); ++y) {
            for (int x = 0; x < surface.Width(); ++x) {
                const std::uint16_t pixel = surface.Pixel(x, y);
                ASSERT_TRUE(between(pixel)) << x << "," << y;
                inked += pixel == teal;
                blended += pixel != teal && pixel != background;
                frame.push_back(pixel);
            }
        }
        EXPECT_GT(inked, 100);
        EXPECT_GT(blended, 0) << "smoothed edges";
    }
    EXPECT_EQ(frames[0], frames[1]);
}
