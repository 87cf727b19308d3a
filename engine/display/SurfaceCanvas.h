// SurfaceCanvas: the text canvas of a surface (TDirectDrawSurfaceCanvas) used by the HUD, the
// message box and the menus: smoothed text blended onto the surface. The first text output takes
// hold of the surface; Release gives it back. Depends on the surface and the platform's text
// output.
#pragma once

#include <string>
#include <string_view>

#include "engine/assets/Classes.h"
#include "platform/Text.h"

class TDirectDrawSurface;

enum class TFontStyle { Regular, Bold };
enum class TBrushStyle { bsSolid, bsClear };

struct TFont {
    std::string Name = "MS Sans Serif";
    int Size = 8;  // points
    TColor Color = 0;
    TFontStyle Style = TFontStyle::Regular;

    // Points at 96 pixels per inch, rounded to the nearest integer.
    int PixelHeight() const;
    // The font as the canvases draw and measure it: from the outlines as designed, unhinted, so
    // a face keeps its proportions (hinting stretches small descenders by a pixel, enough for
    // one dialog line's ink to run into the next).
    platform::FontRequest Request() const;
};

struct TBrush {
    TBrushStyle Style = TBrushStyle::bsSolid;
    TColor Color = 0xFFFFFF;
};

class TDirectDrawSurfaceCanvas {
public:
    explicit TDirectDrawSurfaceCanvas(TDirectDrawSurface& surface) : FSurface(surface) {}

    TFont Font;
    TBrush Brush;

    void TextOut(int X, int Y, std::string_view text);
    int TextWidth(std::string_view text);
    int TextHeight(std::string_view text);
    void Release();
    bool Held() const { return FHeld; }

private:
    TDirectDrawSurface& FSurface;
    bool FHeld = false;
};
