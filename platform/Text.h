// Text: draws a line of text onto 16-bit pixels with a font found by name through fontconfig,
// with a transparent background, or renders its unsmoothed ink for the engine's canvas. Fonts
// are opened once and kept for the whole run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/PixelBuffer.h"

namespace platform {

struct FontRequest {
    std::string Name;     // a family name such as "Verdana"; fontconfig picks the installed match
    int PixelHeight = 13; // em height in pixels
    bool Bold = false;
    // Smoothed (anti-aliased) glyphs, or whole pixels hinted for that as screen fonts are drawn
    // at the game's sizes; measuring follows the same choice.
    bool Smooth = true;
};

// Draws smoothed text (whatever the font's Smooth) with its top-left corner at (x, y), clipped to
// the buffer. The colour is the engine's colour value (red in the low byte). Returns false when no
// font could be opened.
bool DrawText(const PixelBuffer16& target, const FontRequest& font, unsigned color, int x, int y,
              std::string_view text);

// The ink of a line in whole pixels (the font's Smooth is not used): 1 where a glyph covers the
// pixel, 0 elsewhere, rows top to bottom over the line box that MeasureText reports.
struct TextMask {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Ink;
};
bool RenderTextMask(const FontRequest& font, std::string_view text, TextMask& mask);

// Width and height in pixels that DrawText would cover.
bool MeasureText(const FontRequest& font, std::string_view text, int& width, int& height);

// The file fontconfig resolves a family name to (empty when none), for tests and diagnostics.
std::string ResolveFontFile(const std::string& family, bool bold);

}  // namespace platform
