// Ink: strokes are filled boxes and capsules; text goes through the raster kit's captions.
#include "tools/zarvoth-waves/Ink.h"

#include <algorithm>

#include "platform/Text.h"
#include "tools/raster/Shapes.h"

namespace waves {
namespace {

content::Font FontOf(const TextStyle& style) {
    return content::Font{"DejaVu Sans Condensed", style.Size, style.Bold};
}

platform::FontRequest RequestOf(const TextStyle& style) {
    const content::Font font = FontOf(style);
    return {font.Family, font.Size, font.Bold};
}

}  // namespace

int TextWidth(std::string_view text, const TextStyle& style) {
    return content::TextWidth(FontOf(style), text);
}

std::vector<std::string> WrapLines(std::string_view text, int width, const TextStyle& style) {
    return content::WrapText(FontOf(style), text, width);
}

int Write(content::Canvas& canvas, std::string_view text, float x, float y, content::Align align, const TextStyle& style) {
    int width = 0;
    int height = 0;
    platform::MeasureText(RequestOf(style), text, width, height);
    content::CaptionStyle ink;
    ink.Top = style.Colour;
    ink.Bottom = style.Colour;
    content::DrawCaption(canvas, FontOf(style), text, x, y - static_cast<float>(height) / 2, align, ink);
    return width;
}

void FillBox(content::Canvas& canvas, float left, float top, float right, float bottom, content::Rgba colour) {
    canvas.Fill(content::Box(left, top, right, bottom), content::Solid(colour));
}

void Rule(content::Canvas& canvas, float left, float right, float y, float thickness, content::Rgba colour) {
    FillBox(canvas, left, y - thickness / 2, right, y + thickness / 2, colour);
}

void DashedRule(content::Canvas& canvas, float left, float right, float y, float thickness, content::Rgba colour) {
    constexpr float Dash = 6;
    constexpr float Gap = 4;
    for (float x = left; x < right; x += Dash + Gap) {
        Rule(canvas, x, std::min(right, x + Dash), y, thickness, colour);
    }
}

void Stroke(content::Canvas& canvas, content::Vec2 from, content::Vec2 to, float thickness, content::Rgba colour) {
    canvas.Fill(content::Capsule(from, to, thickness / 2), content::Solid(colour));
}

}  // namespace waves
