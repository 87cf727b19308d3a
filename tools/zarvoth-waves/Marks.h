// Marks: how the chart shows each class of ship — a colour, a shape for the wave ships, a name
// for the legend — and the drawing of one mark, and the marks of honest games' hits and losses.
// Depends on the raster kit, Ink and the game's sprite classes.
#pragma once

#include <string_view>

#include "engine/sprites/DXSprite.h"
#include "tools/raster/Raster.h"

namespace waves {

enum class MarkShape { Dot, Triangle, Diamond, Line };

struct ShipStyle {
    std::string_view Name;
    content::Rgba Colour;
    MarkShape Shape;
};

constexpr ShipStyle ShuttleStyle{"shuttle", content::Rgb8(94, 200, 255), MarkShape::Dot};
constexpr ShipStyle DefiantStyle{"Defiant", content::Rgb8(255, 176, 64), MarkShape::Triangle};
constexpr ShipStyle AkiraStyle{"Akira", content::Rgb8(255, 84, 120), MarkShape::Diamond};
constexpr ShipStyle CruiserStyle{"cruiser", content::Rgb8(255, 72, 72), MarkShape::Line};
constexpr ShipStyle SupplyStyle{"supply ship", content::Rgb8(90, 230, 130), MarkShape::Line};
constexpr ShipStyle UnknownStyle{"other", content::Rgb8(200, 200, 200), MarkShape::Dot};

const ShipStyle& StyleOf(TSpriteClass shipClass);

// A wave ship's mark centred on (x, y); a Line style draws nothing here (the chart rules a line
// across the plot instead).
void DrawMark(content::Canvas& canvas, const ShipStyle& style, float x, float y);
// Where an honest ship was hit, a ring that grows with the hull lost; where one was lost, a cross.
void DrawHitMark(content::Canvas& canvas, float x, float y, int damage);
void DrawDeathMark(content::Canvas& canvas, float x, float y);

}  // namespace waves
