// Text: draws a line of text onto 16-bit pixels with a font found by name through fontconfig,
// with a transparent background, or renders its coverage for the engine's canvas. Fonts are
// opened once and kept for the whole run; a face that cannot be opened is named once on stderr
// and its text is not drawn.
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
    // Glyphs fitted to the pixel grid (light hinting), or drawn from their outlines as designed,
    // which keeps the face's proportions; measuring follows the same choice.
    bool Hinted = true;
};

// Draws smoothed (anti-aliased) text with its top-left corner at (x, y), clipped to the buffer. The colour is the engine's colour value (red in the low byte). Returns false when no
// font could be opened.
bool DrawText(const PixelBuffer16& target, const FontRequest& font, unsigned color, int x, int y,
              std::string_view text);

// The smoothed coverage of a line, rows top to bottom over the line box that MeasureText
// reports: 0 where no glyph touches a pixel, 255 where one covers it, grey levels between.
struct TextMask {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Coverage;
};
bool RenderTextMask(const FontRequest& font, std::string_view text, TextMask& mask);

// Width and height in pixels that DrawText would cover.
bool MeasureText(const FontRequest& font, std::string_view text, int& width, int& height);

// The font file for a family name (empty when fontconfig finds none): an installed face of
// that family, else one of like proportions standing in for it, else fontconfig's nearest
// substitute. Only TrueType and OpenType outlines are taken.
std::string ResolveFontFile(const std::string& family, bool bold);

}  // namespace platform
