// Captions: text on the artwork. Lines are rasterised by the platform's text output (fonts
// found through fontconfig) into coverage masks, then painted on a canvas with a gradient
// fill, an optional glow and an optional drop shadow. Depends on Raster and platform/Text.h.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/raster/Raster.h"

namespace content {

struct Font {
    std::string Family = "DejaVu Sans Condensed";
    int Size = 16;  // em height in pixels
    bool Bold = true;
};

struct CaptionStyle {
    Rgba Top{1, 1, 1, 1};     // fill at the top of the line
    Rgba Bottom{1, 1, 1, 1};  // fill at the bottom of the line
    Rgba Glow{0, 0, 0, 0};    // additive halo; alpha 0 for none
    float GlowRadius = 3;
    Rgba Shadow{0, 0, 0, 0};  // dark copy offset by one pixel down-right; alpha 0 for none
};

// Coverage of one line of text; Width/Height are the line box the font reports.
Mask TextMask(const Font& font, std::string_view text);
// The mask widened by radius on every side and box-blurred (for halos).
Mask Blurred(const Mask& mask, int radius);

enum class Align { Left, Centre, Right };

// Draws a line with its line box's top at y; x is the left edge, the centre or the right edge.
void DrawCaption(Canvas& canvas, const Font& font, std::string_view text, float x, float y, Align align,
                 const CaptionStyle& style);
// Centres the line in the box (left, top, right, bottom).
void DrawCaptionIn(Canvas& canvas, const Font& font, std::string_view text, float left, float top, float right,
                   float bottom, const CaptionStyle& style);
int TextWidth(const Font& font, std::string_view text);
// Splits a paragraph into lines no wider than maxWidth, breaking at blanks.
std::vector<std::string> WrapText(const Font& font, std::string_view text, int maxWidth);
// The font made smaller, if need be, until the text fits the width.
Font FitFont(Font font, std::string_view text, int maxWidth);

}  // namespace content
