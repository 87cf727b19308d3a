// SurfaceCanvas: text output through the kept line coverage, holding the surface until Release.
#include "engine/display/SurfaceCanvas.h"

#include <cmath>

#include "engine/display/DirectDrawSurface.h"
#include "engine/display/TextCache.h"
#include "platform/Text.h"

int TFont::PixelHeight() const {
    return static_cast<int>(std::nearbyint(Size * 96.0 / 72.0));
}

platform::FontRequest TFont::Request() const {
    return platform::FontRequest{Name, PixelHeight(), Style == TFontStyle::Bold, false};
}

void TDirectDrawSurfaceCanvas::TextOut(int X, int Y, std::string_view text) {
    if (FSurface.IsLost()) {
        return;
    }
    const platform::FontRequest request = Font.Request();
    if (Brush.Style == TBrushStyle::bsSolid) {
        int width = 0;
        int height = 0;
        if (platform::MeasureText(request, text, width, height)) {
            const std::uint16_t fill = FSurface.ColorToPixel(Brush.Color);
            for (int y = std::max(Y, 0); y < std::min(Y + height, FSurface.Height()); ++y) {
                for (int x = std::max(X, 0); x < std::min(X + width, FSurface.Width()); ++x) {
                    FSurface.SetPixel(x, y, fill);
                }
            }
        }
    }
    // The line's kept coverage, laid over in the font's colour; the canvas's own output goes
    // through while it holds the surface.
    if (const TTextCache::TLinePicture* line = CanvasTextCache().Line(Font, text)) {
        const std::int64_t x = std::int64_t{X} + line->Left;
        const std::int64_t y = std::int64_t{Y} + line->Top;
        if (x <= FSurface.Width() && y <= FSurface.Height()) {
            FHeld = false;
            FSurface.DrawCoverage(static_cast<int>(x), static_cast<int>(y), line->Width, line->Coverage,
                                  FSurface.ColorToPixel(Font.Color));
        }
    }
    FHeld = true;
}

int TDirectDrawSurfaceCanvas::TextWidth(std::string_view text) {
    int width = 0;
    int height = 0;
    platform::MeasureText(Font.Request(), text, width, height);
    return width;
}

int TDirectDrawSurfaceCanvas::TextHeight(std::string_view text) {
    int width = 0;
    int height = 0;
    platform::MeasureText(Font.Request(), text, width, height);
    return height;
}

void TDirectDrawSurfaceCanvas::Release() {
    FHeld = false;
}
