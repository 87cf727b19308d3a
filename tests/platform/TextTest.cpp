#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/display/DirectDrawSurface.h"
#include "engine/display/SurfaceCanvas.h"
#include "platform/Text.h"

// The faces the game names resolve to installed outline fonts: an installed family to itself, a
// face the desktop lacks to its stand-in of like proportions (the OpenType copy, not Type 1), and
// any other name to fontconfig's nearest substitute.
TEST(Fonts, TheGamesFontNamesResolveToInstalledFonts) {
    const struct {
        const char* Family;
        bool Bold;
        const char* File;  // how the file's name ends
    } cases[] = {{"DejaVu Sans", false, "/DejaVuSans.ttf"},
                 {"DejaVu Sans", true, "/DejaVuSans-Bold.ttf"},
                 {"Courier New", false, "/NimbusMonoPS-Regular.otf"},
                 {"Courier New", true, "/NimbusMonoPS-Bold.otf"},
                 {"courier new", false, "/NimbusMonoPS-Regular.otf"},
                 {"Nimbus Mono PS", true, "/NimbusMonoPS-Bold.otf"}};
    for (const auto& c : cases) {
        const std::string file = platform::ResolveFontFile(c.Family, c.Bold);
        EXPECT_TRUE(file.ends_with(c.File)) << c.Family << (c.Bold ? " bold: " : ": ") << file;
    }
    for (const char* substituted : {"Verdana", "MS Sans Serif", "No Such Face"}) {
        EXPECT_NE(platform::ResolveFontFile(substituted, false), "") << substituted;
    }
}

namespace {

// Fontconfig without a single font while it lives.
class NoFonts {
public:
    NoFonts() : FSaved(FcConfigReference(nullptr)) {
        FcConfig* empty = FcConfigCreate();
        FcConfigSetCurrent(empty);
        FcConfigDestroy(empty);  // the current configuration holds it
    }
    ~NoFonts() {
        FcConfigSetCurrent(FSaved);
        FcConfigDestroy(FSaved);
    }
    NoFonts(const NoFonts&) = delete;
    NoFonts& operator=(const NoFonts&) = delete;

private:
    FcConfig* FSaved;
};

// What the process writes to stderr while it lives.
class StderrCapture {
public:
    StderrCapture() : FFile(std::tmpfile()) {
        std::fflush(stderr);
        FSaved = dup(STDERR_FILENO);
        dup2(fileno(FFile), STDERR_FILENO);
    }
    ~StderrCapture() {
        Restore();
        std::fclose(FFile);
    }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    std::string Text() {
        Restore();
        std::rewind(FFile);
        std::string text;
        for (int c; (c = std::fgetc(FFile)) != EOF;) text.push_back(static_cast<char>(c));
        return text;
    }

private:
    void Restore() {
        if (FSaved >= 0) {
            std::fflush(stderr);
            dup2(FSaved, STDERR_FILENO);
            close(FSaved);
            FSaved = -1;
        }
    }
    std::FILE* FFile;
    int FSaved = -1;
};

}  // namespace

// With no font to be had, text draws nothing, the game goes on, and stderr names the face once
// however many sizes, styles and frames ask for it.
TEST(Fonts, AFaceThatCannotBeOpenedIsNamedOnceOnStderr) {
    static int run = 0;  // the face is named once per process: each run asks for a new one
    const std::string face = "Missing Face " + std::to_string(++run);
    TDirectDrawSurface surface(120, 40, platform::PixelLayout::RGB565);
    surface.Fill(0x001F);
    std::string said;
    {
        const NoFonts none;
        StderrCapture capture;
        TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
        canvas.Font.Name = face;
        canvas.Brush.Style = TBrushStyle::bsClear;
        for (const int size : {10, 12}) {
            for (const TFontStyle style : {TFontStyle::Regular, TFontStyle::Bold}) {
                canvas.Font.Size = size;
                canvas.Font.Style = style;
                canvas.TextOut(5, 5, "Score: 100");
                canvas.TextOut(5, 5, "Score: 100");
                canvas.Release();
            }
        }
        std::uint16_t pixel = 0;
        EXPECT_FALSE(platform::DrawText({&pixel, 1, 1, 1}, {face, 13}, 0xFFFFFF, 0, 0, "Score"));
        said = capture.Text();
    }
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find('"' + face + '"'), std::string::npos) << said;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            ASSERT_EQ(surface.Pixel(x, y), 0x001F) << x << "," << y;
        }
    }
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
