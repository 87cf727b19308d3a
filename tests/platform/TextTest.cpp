#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/display/DirectDrawSurface.h"
#include "engine/display/SurfaceCanvas.h"
#include "platform/Text.h"

TEST(Fonts, TheGamesFontNamesResolveToInstalledFonts) {
    EXPECT_NE(platform::ResolveFontFile("Verdana", false), "");
    EXPECT_NE(platform::ResolveFontFile("Verdana", true), platform::ResolveFontFile("Verdana", false));
    EXPECT_NE(platform::ResolveFontFile("Courier New", false).find("Mono"), std::string::npos);
}

TEST(Fonts, PointSizesBecomeEmHeightsAtNinetySixDotsPerInch) {
    TFont font;
    font.Size = 10;
    EXPECT_EQ(font.PixelHeight(), 13);
    font.Size = 25;
    EXPECT_EQ(font.PixelHeight(), 33);
    font.Size = 9;
    EXPECT_EQ(font.PixelHeight(), 12);
    font.Size = 3;  // 4.0 exactly
    EXPECT_EQ(font.PixelHeight(), 4);
}

TEST(Canvas, TextIsDrawnInItsColourOnATransparentBackground) {
    TDirectDrawSurface surface(120, 40, platform::PixelLayout::RGB565);
    surface.Fill(0x001F);  // blue
    TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
    canvas.Font.Name = "Verdana";
    canvas.Font.Size = 12;
    canvas.Font.Color = RGB(255, 0, 0);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextOut(5, 5, "Score 100");
    canvas.Release();

    int red = 0;
    int untouched = 0;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            const std::uint16_t pixel = surface.Pixel(x, y);
            if (pixel == 0xF800) ++red;
            if (pixel == 0x001F) ++untouched;
            if (x < 5 || y < 5) {
                EXPECT_EQ(pixel, 0x001F) << x << "," << y;
            }
        }
    }
    EXPECT_GT(red, 20) << "solid glyph cores in the text colour";
    EXPECT_GT(untouched, surface.Width() * surface.Height() / 2) << "no background box";
    EXPECT_GT(canvas.TextWidth("Score 100"), 40);
}

TEST(Canvas, ASystemColourDrawsInTheDesktopsDefault) {
    TDirectDrawSurface surface(120, 40, platform::PixelLayout::RGB565);
    TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
    canvas.Font.Name = "Verdana";
    canvas.Font.Size = 12;
    canvas.Font.Color = 0x8000000D;  // clHighlight: blue
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextOut(5, 5, "Score 100");
    canvas.Release();
    const std::uint16_t highlight = platform::PackRGB(platform::PixelLayout::RGB565, 10, 36, 106);
    int inHighlight = 0;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            inHighlight += surface.Pixel(x, y) == highlight ? 1 : 0;
        }
    }
    EXPECT_GT(inHighlight, 20);
}

TEST(Canvas, TextOffTheSurfaceIsClippedAndBoldIsWider) {
    TDirectDrawSurface surface(30, 10, platform::PixelLayout::RGB555);
    TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
    canvas.Font.Name = "Verdana";
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextOut(-50, -20, "far away text");
    canvas.TextOut(25, 8, "edge");
    canvas.Release();
    const int regular = canvas.TextWidth("Best score");
    canvas.Font.Style = TFontStyle::Bold;
    EXPECT_GT(canvas.TextWidth("Best score"), regular);
}
