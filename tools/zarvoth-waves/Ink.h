// Ink: the chart's colours, how finely it is painted, and the strokes both its parts use: text
// set by its vertical centre, ruled lines (solid or dashed), strokes and boxes. Depends on the
// raster kit.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/raster/Captions.h"
#include "tools/raster/Raster.h"

namespace waves {

// Every part of the chart is painted at three times its size and reduced, for smooth edges.
constexpr int Supersample = 3;

constexpr content::Rgba Paper = content::Rgb8(16, 18, 24);
constexpr content::Rgba Sector1Ground = content::Rgb8(24, 29, 40);
constexpr content::Rgba Sector2Ground = content::Rgb8(33, 25, 44);
constexpr content::Rgba BeyondGround = content::Rgb8(10, 10, 12);
constexpr content::Rgba Frame = content::Rgb8(78, 86, 106);
constexpr content::Rgba MinorGrid = content::Rgb8(38, 44, 58);
constexpr content::Rgba MajorGrid = content::Rgb8(58, 66, 86);
constexpr content::Rgba Ink = content::Rgb8(226, 230, 238);
constexpr content::Rgba Pale = content::Rgb8(140, 148, 166);
constexpr content::Rgba TextColour = content::Rgb8(246, 214, 92);   // mission texts
constexpr content::Rgba EndColour = content::Rgb8(255, 255, 255);   // sector ends
// Where honest games hit and lost their ships.
constexpr content::Rgba HeatColour = content::Rgb8(235, 40, 40);
constexpr content::Rgba HitColour = content::Rgb8(255, 140, 140);
constexpr content::Rgba DeathColour = content::Rgb8(255, 30, 30);

struct TextStyle {
    int Size = 11;
    bool Bold = false;
    content::Rgba Colour = Ink;
};

// Draws one line of text whose line box is centred on y; returns its width.
int Write(content::Canvas& canvas, std::string_view text, float x, float y, content::Align align, const TextStyle& style);
int TextWidth(std::string_view text, const TextStyle& style);
// The text broken at blanks into lines no wider than width (a single word wider stays whole).
std::vector<std::string> WrapLines(std::string_view text, int width, const TextStyle& style);

void Rule(content::Canvas& canvas, float left, float right, float y, float thickness, content::Rgba colour);
void DashedRule(content::Canvas& canvas, float left, float right, float y, float thickness, content::Rgba colour);
void Stroke(content::Canvas& canvas, content::Vec2 from, content::Vec2 to, float thickness, content::Rgba colour);
void FillBox(content::Canvas& canvas, float left, float top, float right, float bottom, content::Rgba colour);

}  // namespace waves
