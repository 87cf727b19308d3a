// SurfaceCanvas: text output through the platform, holding the surface until Release.
#include "engine/display/SurfaceCanvas.h"

#include <cmath>

#include "engine/display/DirectDrawSurface.h"
#include "platform/SystemColors.h"
#include "platform/Text.h"

int TFont::PixelHeight() const {
    return static_cast<int>(std::nearbyint(Size * 96.0 / 72.0));
}

namespace {
platform::FontRequest RequestFor(const TFont& font) {
    return platform::FontRequest{font.Name, font.PixelHeight(), font.Style == TFontStyle::Bold};
}
}  // namespace

void TDirectDrawSurfaceCanvas::TextOut(int X, int Y, std::string_view text) {
    if (FSurface.IsLost()) {
        return;
    }
    FHeld = true;
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
    platform::DrawText(FSurface.Buffer(), request, platform::ColorToRGB(Font.Color), X, Y, text);
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
