// Column: drawn back to front on a supersampled canvas — ground, clear stretches, grid, event
// rules, wave marks, then labels, header and footer.
#include "tools/zarvoth-waves/Column.h"

#include <algorithm>
#include <string>
#include <vector>

#include "game/Sprites.h"
#include "game/SpriteTable.h"
#include "tools/raster/Shapes.h"
#include "tools/zarvoth-waves/ChartLayout.h"
#include "tools/zarvoth-waves/Ink.h"
#include "tools/zarvoth-waves/Labels.h"
#include "tools/zarvoth-waves/Marks.h"
#include "tools/zarvoth-waves/Schedule.h"

namespace waves {
namespace {

using content::Align;
using content::Canvas;

constexpr float LabelHeight = 15;
constexpr float LeaderRun = 14;     // from the plot's edge to the label
constexpr float NumberWidth = 32;   // the distance, right-aligned, before the name

struct Band {
    int Index;
    int From;  // first distance of the band
    int To;    // first distance of the next band
    float Y(float distance) const { return ColumnY(Index, distance); }
    // The plot's rows for a stretch of distance, clipped to the band; false when it misses.
    bool Rows(float from, float to, float& top, float& bottom) const {
        from = std::max(from, static_cast<float>(From));
        to = std::min(to, static_cast<float>(To));
        top = Y(to);
        bottom = Y(from);
        return from < to;
    }
};

enum class EventKind { Special, Text, End };

struct Event {
    int Distance;
    EventKind Kind;
    std::string Name;
    content::Rgba Colour;
};

std::vector<Event> EventsIn(const Band& band) {
    std::vector<Event> events;
    const auto add = [&](int distance, EventKind kind, std::string name, content::Rgba colour) {
        if (distance >= band.From && distance < band.To) {
            events.push_back({distance, kind, std::move(name), colour});
        }
    };
    for (std::size_t i = 0; i < SpriteTable::SpecialTable.size(); ++i) {
        const ShipStyle& style = StyleOf(SpriteTable::SpecialTable[i].Class);
        add(SpriteTable::SpecialTable[i].Distance, EventKind::Special, std::string(style.Name) + " #" + std::to_string(i),
            style.Colour);
    }
    for (const Game::TMissionText& text : Game::MissionTexts) {
        add(text.Threshold, EventKind::Text, std::string(text.Title), TextColour);
    }
    add(SectorEnd, EventKind::End, "END OF SECTOR 1", EndColour);
    add(GameEnd, EventKind::End, "END OF SECTOR 2", EndColour);
    return events;
}

void DrawGround(Canvas& canvas, const Band& band) {
    FillBox(canvas, PlotLeft, PlotTop, PlotRight, PlotBottom, band.From >= SectorEnd ? Sector2Ground : Sector1Ground);
    float top = 0;
    float bottom = 0;
    if (band.Rows(SectorEnd, static_cast<float>(band.To), top, bottom) && band.From < SectorEnd) {
        FillBox(canvas, PlotLeft, PlotTop, PlotRight, bottom, Sector2Ground);
    }
    if (band.Rows(GameEnd, static_cast<float>(band.To), top, bottom)) {
        FillBox(canvas, PlotLeft, PlotTop, PlotRight, bottom, BeyondGround);
        Write(canvas, "the game is over", (PlotLeft + PlotRight) / 2, (PlotTop + bottom) / 2, Align::Centre,
              {10, false, Pale});
    }
}

// The stretch before each special ship in which no new wave enters: shaded in the ship's colour,
// its length written in it.
void DrawClearStretches(Canvas& canvas, const Band& band) {
    for (std::size_t i = 0; i < SpriteTable::SpecialTable.size(); ++i) {
        const auto& special = SpriteTable::SpecialTable[i];
        const int from = ClearFrom(i);
        float top = 0;
        float bottom = 0;
        if (!band.Rows(static_cast<float>(from), static_cast<float>(special.Distance), top, bottom)) {
            continue;
        }
        const content::Rgba colour = StyleOf(special.Class).Colour;
        FillBox(canvas, PlotLeft, top, PlotRight, bottom, content::WithAlpha(colour, 0.16f));
        if (bottom - top >= 13) {
            Write(canvas, std::to_string(special.Distance - from) + " clear", (PlotLeft + PlotRight) / 2,
                  (top + bottom) / 2, Align::Centre, {10, false, content::Mix(colour, Ink, 0.5f)});
        }
    }
}

// Each stretch where honest ships were hit, shaded across the plot the deeper the more hull it
// cost, against the costliest stretch of all.
void DrawHeat(Canvas& canvas, const Band& band, const std::vector<HonestEvent>& events) {
    const std::vector<Place> places = Places(events);
    std::int64_t most = 0;
    for (const Place& place : places) most = std::max(most, place.Damage);
    for (const Place& place : places) {
        float top = 0;
        float bottom = 0;
        if (!band.Rows(static_cast<float>(place.From), static_cast<float>(place.From + PlaceLength), top, bottom)) continue;
        const float share = most > 0 ? static_cast<float>(place.Damage) / static_cast<float>(most) : 1.0f;
        FillBox(canvas, PlotLeft, top, PlotRight, bottom, content::WithAlpha(HeatColour, 0.12f + 0.4f * share));
    }
}

void DrawGrid(Canvas& canvas, const Band& band) {
    for (int d = band.From; d <= band.To; d += 100) {
        const bool major = d % 500 == 0;
        Rule(canvas, PlotLeft, PlotRight, band.Y(static_cast<float>(d)), 1, major ? MajorGrid : MinorGrid);
        if (major) {
            Rule(canvas, PlotLeft - 4, PlotLeft, band.Y(static_cast<float>(d)), 1, Frame);
            Write(canvas, std::to_string(d), PlotLeft - 6, band.Y(static_cast<float>(d)), Align::Right, {10, false, Pale});
        }
    }
    for (int x = 200; x < ScreenWidth; x += 200) {
        FillBox(canvas, ColumnX(x) - 0.5f, PlotTop, ColumnX(x) + 0.5f, PlotBottom, MinorGrid);
    }
    FillBox(canvas, PlotLeft - 1, PlotTop, PlotLeft, PlotBottom, Frame);
    FillBox(canvas, PlotRight, PlotTop, PlotRight + 1, PlotBottom, Frame);
    Rule(canvas, PlotLeft - 1, PlotRight + 1, PlotTop, 1, Frame);
    Rule(canvas, PlotLeft - 1, PlotRight + 1, PlotBottom, 1, Frame);
}

void DrawRules(Canvas& canvas, const Band& band, const std::vector<Event>& events) {
    for (const Event& e : events) {
        const float y = band.Y(static_cast<float>(e.Distance));
        switch (e.Kind) {
        case EventKind::Special:
            Rule(canvas, PlotLeft, PlotRight, y, 2, e.Colour);
            break;
        case EventKind::Text:
            DashedRule(canvas, PlotLeft, PlotRight, y, 1.2f, e.Colour);
            break;
        case EventKind::End:
            Rule(canvas, PlotLeft, PlotRight, y, 3, e.Colour);
            break;
        }
    }
}

void DrawWaveShips(Canvas& canvas, const Band& band) {
    for (const auto& e : SpriteTable::WaveTable) {
        if (e.Distance >= band.From && e.Distance < band.To) {
            DrawMark(canvas, StyleOf(e.Class), ColumnX(e.X), band.Y(static_cast<float>(e.Distance)));
        }
    }
}

void DrawEvents(Canvas& canvas, const Band& band, const std::vector<HonestEvent>& events) {
    for (const HonestEvent& e : events) {
        if (e.Distance < band.From || e.Distance >= band.To) continue;
        const float x = ColumnX(e.X);
        const float y = band.Y(static_cast<float>(e.Distance));
        if (e.Died) {
            DrawDeathMark(canvas, x, y);
        } else {
            DrawHitMark(canvas, x, y, e.Damage);
        }
    }
}

// A name too wide for the gutter takes two lines or more; the distance and the leader go to its
// first.
void DrawLabels(Canvas& canvas, const Band& band, const std::vector<Event>& events) {
    const float left = PlotRight + LeaderRun;
    const float nameLeft = left + NumberWidth + 5;
    std::vector<float> wanted;
    std::vector<float> heights;
    std::vector<std::vector<std::string>> names;
    for (const Event& e : events) {
        const TextStyle style{11, e.Kind != EventKind::Text, e.Colour};
        names.push_back(WrapLines(e.Name, static_cast<int>(ColumnWidth - nameLeft) - 4, style));
        heights.push_back(LabelHeight * static_cast<float>(names.back().size()));
        wanted.push_back(band.Y(static_cast<float>(e.Distance)) + (heights.back() - LabelHeight) / 2);
    }
    const std::vector<float> at = SpreadLabels(wanted, heights, PlotTop, PlotBottom);
    for (std::size_t i = 0; i < events.size(); ++i) {
        const Event& e = events[i];
        const float y = band.Y(static_cast<float>(e.Distance));
        const float first = at[i] - (heights[i] - LabelHeight) / 2;
        const content::Rgba leader = content::WithAlpha(e.Colour, 0.7f);
        Stroke(canvas, {PlotRight + 1, y}, {PlotRight + 5, y}, 1, leader);
        Stroke(canvas, {PlotRight + 5, y}, {left - 3, first}, 1, leader);
        Write(canvas, std::to_string(e.Distance), left + NumberWidth, first, Align::Right, {10, false, Pale});
        for (std::size_t line = 0; line < names[i].size(); ++line) {
            Write(canvas, names[i][line], nameLeft, first + LabelHeight * static_cast<float>(line), Align::Left,
                  {11, e.Kind != EventKind::Text, e.Colour});
        }
    }
}

void DrawHeader(Canvas& canvas, const Band& band) {
    const float middle = (PlotLeft + PlotRight) / 2;
    Write(canvas, std::to_string(band.From) + " – " + std::to_string(band.To), middle, 14, Align::Centre, {13, true, Ink});
    const char* sector = band.To <= SectorEnd ? "sector 1" : band.From >= SectorEnd ? "sector 2" : "sectors 1 and 2";
    Write(canvas, sector, PlotRight + LeaderRun, 14, Align::Left, {11, false, Pale});
    const TextStyle axis{9, false, Pale};
    Write(canvas, "x 0", PlotLeft, 32, Align::Left, axis);
    Write(canvas, "400", middle, 32, Align::Centre, axis);
    Write(canvas, "800", PlotRight, 32, Align::Right, axis);
}

void DrawFooter(Canvas& canvas, const Band& band) {
    const float y = PlotBottom + static_cast<float>(FooterHeight) / 2;
    float x = PlotLeft + 6;
    const TSpriteClass classes[] = {SpriteClassOf<TEnemyShuttle>(), SpriteClassOf<TEnemyDefiant>(),
                                    SpriteClassOf<TEnemyAkira>()};
    for (const TSpriteClass shipClass : classes) {
        const ShipStyle& style = StyleOf(shipClass);
        DrawMark(canvas, style, x, y);
        x += 8 + static_cast<float>(Write(canvas, std::to_string(CountWaveShips(shipClass, band.From, band.To)), x + 8, y,
                                          Align::Left, {12, true, style.Colour}));
        x += 18;
    }
}

}  // namespace

platform::RgbImage DrawColumn(int index, const std::vector<HonestEvent>& honest) {
    const Band band{index, index * BandLength, (index + 1) * BandLength};
    Canvas canvas(ColumnWidth, ColumnHeight, Supersample);
    canvas.FillAll(content::Solid(Paper));
    const std::vector<Event> events = EventsIn(band);
    DrawGround(canvas, band);
    DrawClearStretches(canvas, band);
    DrawHeat(canvas, band, honest);
    DrawGrid(canvas, band);
    DrawRules(canvas, band, events);
    DrawWaveShips(canvas, band);
    DrawEvents(canvas, band, honest);
    DrawLabels(canvas, band, events);
    DrawHeader(canvas, band);
    DrawFooter(canvas, band);
    return canvas.Reduce();
}

}  // namespace waves
