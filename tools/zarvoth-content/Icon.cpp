// Icon: drawn in a 256-unit design square scaled to the asked size, so every size shows the
// same picture; the emblem keeps its own proportions in the middle of the badge.
#include "tools/zarvoth-content/Icon.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string>

#include "tools/zarvoth-content/Panel.h"
#include "tools/raster/Shapes.h"

namespace content {
namespace {

constexpr float Design = 256;

// Star positions in design units, away from the emblem so they show beside it.
constexpr Vec2 Stars[] = {{62, 82}, {196, 70}, {74, 170}, {188, 182}, {100, 54}, {160, 208}, {52, 128}, {206, 126}};

void DrawBadge(Canvas& c, float unit) {
    const float centre = Design / 2 * unit;
    const float radius = 122 * unit;
    c.Fill(Circle(centre, centre, radius),
           Radial({centre, centre * 0.8f}, radius * 1.1f, radius * 1.1f,
                  {{0, Rgb8(34, 28, 62)}, {0.6f, Rgb8(12, 12, 30)}, {1, Rgb8(4, 4, 12)}}));
    for (std::size_t i = 0; i < std::size(Stars); ++i) {
        const float size = (i % 3 == 0 ? 3.5f : 2.0f) * unit;
        DrawLamp(c, {Stars[i].X * unit, Stars[i].Y * unit}, std::max(size, 0.8f), Rgb8(200, 210, 255));
    }
    const float rim = std::max(9 * unit, 1.5f);
    c.Fill(Ring(centre, centre, radius, radius, rim),
           Linear({0, 0}, {0, Design * unit}, {{0, Rgb8(244, 206, 140)}, {0.5f, Rgb8(176, 128, 64)}, {1, Rgb8(90, 56, 24)}}));
}

}  // namespace

platform::RgbaImage IconPicture(int size) {
    Canvas c(size, size, 4);
    const float unit = static_cast<float>(size) / Design;
    DrawBadge(c, unit);
    // The emblem is 56 by 80 units; it stands 204 design units tall in the badge's middle.
    const float scale = 204 * unit / 80;
    const float middle = Design / 2 * unit;
    DrawEmblem(c, middle - 28 * scale, middle - 40 * scale, scale);
    return c.ReduceWithAlpha();
}

bool WriteIcon(std::string_view size, const std::string& path, std::string& error) {
    int pixels = 0;
    const auto [end, failure] = std::from_chars(size.data(), size.data() + size.size(), pixels);
    if (failure != std::errc{} || end != size.data() + size.size() || pixels < SmallestIcon || pixels > LargestIcon) {
        error = "icon size must be a whole number from " + std::to_string(SmallestIcon) + " to " +
                std::to_string(LargestIcon) + ": " + std::string(size);
        return false;
    }
    return platform::SavePng(path, IconPicture(pixels), error);
}

}  // namespace content
