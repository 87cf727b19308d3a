// SurfaceCanvas: text output through the kept line pictures, holding the surface until Release.
#include "engine/display/SurfaceCanvas.h"

#include <cmath>

#include "engine/display/DirectDrawSurface.h"
#include "engine/display/TextCache.h"
#include "platform/Text.h"

int TFont::PixelHeight() const {
    return static_cast<int>(std::nearbyint(Size * 96.0 / 72.0));
}

namespace {
// The canvas draws screen fonts in whole pixels, as they are drawn unsmoothed at these sizes.
platform::FontRequest RequestFor(const TFont& font) {
    return platform::FontRequest{font.Name, font.PixelHeight(), font.Style == TFontStyle::Bold, false};
}
}  // namespace

void TDirectDrawSurfaceCanvas::TextOut(int X, int Y, std::string_view text) {
    if (FSurface.IsLost()) {
        return;
    }
    const platform::FontRequest request = RequestFor(Font);
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
    // The line's kept picture, copied with its key; the canvas's own output goes through while
    // it holds the surface.
    const TTextCache::TLinePicture* line = CanvasTextCache().Line(Font, FSurface.Layout(), text);
    const std::int64_t x = std::int64_t{X} + (line != nullptr ? line->Left : 0);
    const std::int64_t y = std::int64_t{Y} + (line != nullptr ? line->Top : 0);
    if (line != nullptr && x <= FSurface.Width() && y <= FSurface.Height()) {
        FHeld = false;
        FSurface.Draw(static_cast<int>(x), static_cast<int>(y), line->Surface->ClientRect(), line->Surface.get(), true);
    }
    FHeld = true;
}

int TDirectDrawSurfaceCanvas::TextWidth(std::string_view text) {
    int width = 0;
    int height = 0;
    platform::MeasureText(RequestFor(Font), text, width, height);
    return width;
}

int TDirectDrawSurfaceCanvas::TextHeight(std::string_view text) {
    int width = 0;
    int height = 0;
    platform::MeasureText(RequestFor(Font), text, width, height);
    return height;
}

void TDirectDrawSurfaceCanvas::Release() {
    FHeld = false;
}
