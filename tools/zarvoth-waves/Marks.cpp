// Marks: the class-to-style table and the shapes; a dark rim keeps touching marks apart.
#include "tools/zarvoth-waves/Marks.h"

#include <cmath>
#include <utility>

#include "game/Sprites.h"
#include "tools/raster/Shapes.h"
#include "tools/zarvoth-waves/Ink.h"

namespace waves {
namespace {

constexpr content::Rgba Rim = content::Rgb8(10, 12, 18);

content::Path Outline(MarkShape shape, float x, float y, float r) {
    switch (shape) {
    case MarkShape::Triangle:  // pointing down the screen, the way the ships fly
        return content::Polygon({{x - r * 1.15f, y - r * 0.8f}, {x + r * 1.15f, y - r * 0.8f}, {x, y + r * 1.2f}});
    case MarkShape::Diamond:
        return content::Polygon({{x, y - r * 1.35f}, {x + r * 1.2f, y}, {x, y + r * 1.35f}, {x - r * 1.2f, y}});
    case MarkShape::Dot:
    case MarkShape::Line:
        break;
    }
    return content::Circle(x, y, r);
}

}  // namespace

const ShipStyle& StyleOf(TSpriteClass shipClass) {
    if (shipClass == SpriteClassOf<TEnemyShuttle>()) {
        return ShuttleStyle;
    }
    if (shipClass == SpriteClassOf<TEnemyDefiant>()) {
        return DefiantStyle;
    }
    if (shipClass == SpriteClassOf<TEnemyAkira>()) {
        return AkiraStyle;
    }
    if (shipClass == SpriteClassOf<TEnemyInterpid>()) {
        return CruiserStyle;
    }
    if (shipClass == SpriteClassOf<TFriendSupplyShip>()) {
        return SupplyStyle;
    }
    return UnknownStyle;
}

void DrawMark(content::Canvas& canvas, const ShipStyle& style, float x, float y) {
    if (style.Shape == MarkShape::Line) {
        return;
    }
    const float r = style.Shape == MarkShape::Dot ? 3.4f : 4.2f;
    canvas.Fill(Outline(style.Shape, x, y, r + 1.2f), content::Solid(Rim));
    canvas.Fill(Outline(style.Shape, x, y, r), content::Solid(style.Colour));
}

void DrawHitMark(content::Canvas& canvas, float x, float y, int damage) {
    const float r = 2.5f + 2.5f * std::sqrt(static_cast<float>(damage) / 250.0f);
    canvas.Fill(content::Ring(x, y, r, r, 1.4f), content::Solid(HitColour));
}

void DrawDeathMark(content::Canvas& canvas, float x, float y) {
    for (const auto& [width, colour] : {std::pair{4.5f, Ink}, std::pair{2.5f, DeathColour}}) {
        Stroke(canvas, {x - 6, y - 6}, {x + 6, y + 6}, width, colour);
        Stroke(canvas, {x - 6, y + 6}, {x + 6, y - 6}, width, colour);
    }
}

}  // namespace waves
