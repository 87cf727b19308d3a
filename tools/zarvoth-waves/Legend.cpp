// Legend: one title line, one reading line, one row of keys laid left to right.
#include "tools/zarvoth-waves/Legend.h"

#include <string>

#include "game/Sprites.h"
#include "game/SpriteTable.h"
#include "tools/raster/Shapes.h"
#include "tools/zarvoth-waves/ChartLayout.h"
#include "tools/zarvoth-waves/Ink.h"
#include "tools/zarvoth-waves/Marks.h"
#include "tools/zarvoth-waves/Schedule.h"

namespace waves {
namespace {

using content::Align;
using content::Canvas;

constexpr float KeyY = 88;
constexpr float KeyGap = 34;
constexpr float Sample = 26;  // length of a rule or shade in the key

// A key: its picture drawn at x by `draw`, its text after it; returns where the next one goes.
template <class Picture>
float Key(Canvas& canvas, float x, Picture draw, const std::string& text, content::Rgba colour) {
    draw(x);
    return x + Sample + 8 + static_cast<float>(Write(canvas, text, x + Sample + 8, KeyY, Align::Left, {13, false, colour})) +
           KeyGap;
}

float ShipKey(Canvas& canvas, float x, TSpriteClass shipClass) {
    const ShipStyle& style = StyleOf(shipClass);
    const int count = CountWaveShips(shipClass, 0, GameEnd + 1);
    return Key(
        canvas, x, [&](float at) { DrawMark(canvas, style, at + Sample / 2, KeyY); },
        std::string(style.Name) + " (" + std::to_string(count) + " in waves)", style.Colour);
}

float SpecialKey(Canvas& canvas, float x, TSpriteClass shipClass) {
    const ShipStyle& style = StyleOf(shipClass);
    return Key(
        canvas, x, [&](float at) { Rule(canvas, at, at + Sample, KeyY, 2, style.Colour); },
        std::string(style.Name) + " (" + std::to_string(CountSpecialShips(shipClass)) + ", #row of the special table)",
        style.Colour);
}

// Rings for hits, a cross for a lost ship, the shade of the costliest stretches, each counted.
void HonestKeys(Canvas& canvas, float x, const std::vector<HonestEvent>& honest) {
    int hits = 0;
    int deaths = 0;
    for (const HonestEvent& e : honest) {
        hits += !e.Died;
        deaths += e.Died;
    }
    x = Key(
        canvas, x, [&](float at) { DrawHitMark(canvas, at + Sample / 2, KeyY, 250); },
        "honest ship hit (" + std::to_string(hits) + ", the ring grows with the hull lost)", HitColour);
    x = Key(
        canvas, x,
        [&](float at) { DrawDeathMark(canvas, at + Sample / 2, KeyY); },
        "honest ship lost (" + std::to_string(deaths) + ")", DeathColour);
    Key(
        canvas, x, [&](float at) { FillBox(canvas, at, KeyY - 8, at + Sample, KeyY + 8, content::WithAlpha(HeatColour, 0.5f)); },
        "hull lost per " + std::to_string(PlaceLength) + " units where it happened (its ships entered 400 to 550 before)", Ink);
}

}  // namespace

platform::RgbImage DrawLegend(const std::vector<HonestEvent>& honest) {
    Canvas canvas(ChartWidth, TitleHeight, Supersample);
    canvas.FillAll(content::Solid(Paper));
    const float left = Margin + PlotLeft;
    Write(canvas, "Zarvoth Mutador: the wave schedule", left, 24, Align::Left, {24, true, Ink});
    Write(canvas,
          "Each column is 2000 units of distance, read from the bottom up as the game scrolls (25 units a second "
          "of flight); across it, the screen's x from 0 to 800. The distance stands still while a cruiser or a "
          "supply ship is present and at each sector end, until the player warps.",
          left, 54, Align::Left, {13, false, Pale});
    float x = left;
    x = ShipKey(canvas, x, SpriteClassOf<TEnemyShuttle>());
    x = ShipKey(canvas, x, SpriteClassOf<TEnemyDefiant>());
    x = ShipKey(canvas, x, SpriteClassOf<TEnemyAkira>());
    x = SpecialKey(canvas, x, SpriteClassOf<TEnemyInterpid>());
    x = SpecialKey(canvas, x, SpriteClassOf<TFriendSupplyShip>());
    x = Key(
        canvas, x, [&](float at) { DashedRule(canvas, at, at + Sample, KeyY, 1.2f, TextColour); },
        "mission text opens", TextColour);
    x = Key(
        canvas, x, [&](float at) { Rule(canvas, at, at + Sample, KeyY, 3, EndColour); }, "sector end: warp", EndColour);
    x = Key(
        canvas, x,
        [&](float at) {
            FillBox(canvas, at, KeyY - 8, at + Sample / 2, KeyY + 8, content::WithAlpha(CruiserStyle.Colour, 0.3f));
            FillBox(canvas, at + Sample / 2, KeyY - 8, at + Sample, KeyY + 8, content::WithAlpha(SupplyStyle.Colour, 0.3f));
        },
        "no new wave before a special ship, with its length", Ink);
    if (!honest.empty()) HonestKeys(canvas, x, honest);
    return canvas.Reduce();
}

}  // namespace waves
