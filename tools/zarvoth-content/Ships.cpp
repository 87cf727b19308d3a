// Ships: hull art and the banking, cloak and shield variants of the sprite strips.
#include "tools/zarvoth-content/Ships.h"

#include <algorithm>
#include <cmath>

#include "tools/zarvoth-content/Noise.h"
#include "tools/raster/Shapes.h"

namespace content {
namespace {

// Zarvoth: olive hull, bronze trim, amber lights, green weapons.
constexpr Rgba ZarvothHull = Rgb8(98, 116, 76);
constexpr Rgba ZarvothDark = Rgb8(46, 56, 38);
constexpr Rgba Bronze = Rgb8(186, 142, 76);
constexpr Rgba Amber = Rgb8(255, 176, 70);
constexpr Rgba Disruptor = Rgb8(120, 255, 150);
constexpr Rgba Exhaust = Rgb8(255, 120, 50);
// Federation: pale grey-blue hull, blue nacelles, red bussards.
constexpr Rgba FedHull = Rgb8(196, 202, 214);
constexpr Rgba FedDark = Rgb8(92, 100, 118);
constexpr Rgba NacelleBlue = Rgb8(90, 170, 255);
constexpr Rgba Bussard = Rgb8(255, 70, 50);
constexpr Rgba Window = Rgb8(255, 236, 180);
// Cardassian: ochre and brown, yellow lights.
constexpr Rgba Ochre = Rgb8(190, 152, 94);
constexpr Rgba OchreDark = Rgb8(104, 74, 48);
constexpr Rgba CardassianLight = Rgb8(255, 206, 96);

// Rounded-metal shading: brightest along a line left of the axis (light from the upper
// left), falling off to the sides and slightly towards the bottom.
Paint Metal(Rgba base, float axis, float halfWidth, float top, float bottom) {
    return [=](float x, float y) {
        const float u = (x - (axis - 0.22f * halfWidth)) / halfWidth;
        const float t = 1.0f - std::min(1.0f, std::abs(u));
        const float v = std::clamp((y - top) / std::max(1.0f, bottom - top), 0.0f, 1.0f);
        float shade = (0.48f + 0.7f * std::pow(t, 0.7f)) * (1.1f - 0.28f * v);
        // A narrow specular band along the brightest line.
        shade += 0.25f * std::pow(std::max(0.0f, 1.0f - std::abs(u) * 4.0f), 2.0f);
        return Scaled(base, shade);
    };
}

void Both(Canvas& c, float axis, const Path& right, const Paint& rightPaint, const Paint& leftPaint) {
    c.Fill(right, rightPaint);
    c.Fill(MirrorPath(right, axis), leftPaint);
}

void DrawHeavy(Canvas& c) {
    constexpr float axis = 42;
    const Path wing = Polygon({{47, 36}, {60, 29}, {72, 19}, {77, 12}, {82, 11}, {82, 22}, {74, 33}, {62, 46},
                               {52, 56}, {46, 56}});
    Both(c, axis, wing, Linear({50, 52}, {82, 14}, {{0, ZarvothHull}, {1, Scaled(ZarvothHull, 0.6f)}}),
         Linear({34, 52}, {2, 14}, {{0, Scaled(ZarvothHull, 1.1f)}, {1, Scaled(ZarvothHull, 0.75f)}}));
    for (float side : {1.0f, -1.0f}) {
        const auto x = [&](float v) { return axis + side * (v - axis); };
        DrawSeam(c, {x(50), 50}, {x(74), 20}, 1.0f, WithAlpha(ZarvothDark, 0.8f));
        DrawSeam(c, {x(55), 50}, {x(76), 26}, 0.8f, WithAlpha(ZarvothDark, 0.6f));
        DrawSeam(c, {x(60), 29}, {x(77), 12}, 1.6f, WithAlpha(Bronze, 0.9f));
        // Wingtip disruptor pods.
        c.Fill(Capsule({x(79), 8}, {x(79), 31}, 3.2f), Metal(ZarvothHull, x(79), 3.2f, 8, 31));
        DrawSeam(c, {x(79), 24}, {x(79), 30}, 1.2f, WithAlpha(Bronze, 0.8f));
        c.Fill(Circle(x(79), 18, 2.6f), Solid(Rgb8(20, 40, 24)));
        DrawLamp(c, {x(79), 18}, 6.0f, Disruptor);
        DrawLamp(c, {x(66), 38}, 2.0f, Amber);
    }
    const Path body = Mirrored(axis, {{42, 27}, {49, 31}, {55, 41}, {56, 54}, {51, 66}, {46, 72}, {42, 73}});
    c.Fill(body, Metal(ZarvothHull, axis, 14, 27, 73));
    c.Fill(Capsule({42, 10}, {42, 34}, 3.8f), Metal(ZarvothHull, axis, 3.8f, 10, 34));
    const Path head = Mirrored(axis, {{42, 1.5f}, {47, 4}, {50.5f, 10}, {48.5f, 16}, {42, 20}});
    c.Fill(head, Metal(Mix(ZarvothHull, Bronze, 0.3f), axis, 8, 2, 20));
    DrawSeam(c, {38.5f, 9}, {45.5f, 9}, 1.8f, Amber);
    DrawLamp(c, {42, 9}, 4, WithAlpha(Amber, 0.6f));
    // Hull plating.
    DrawSeam(c, {36, 44}, {42, 50}, 1.0f, WithAlpha(ZarvothDark, 0.8f));
    DrawSeam(c, {48, 44}, {42, 50}, 1.0f, WithAlpha(ZarvothDark, 0.8f));
    DrawSeam(c, {37, 58}, {42, 62}, 1.0f, WithAlpha(ZarvothDark, 0.7f));
    DrawSeam(c, {47, 58}, {42, 62}, 1.0f, WithAlpha(ZarvothDark, 0.7f));
    DrawSeam(c, {42, 30}, {42, 70}, 0.8f, WithAlpha(Rgb8(230, 240, 200), 0.35f));
    DrawSeam(c, {45, 32}, {53, 44}, 1.4f, WithAlpha(Bronze, 0.7f));
    DrawSeam(c, {39, 32}, {31, 44}, 1.4f, WithAlpha(Bronze, 0.7f));
    for (float y : {52.0f, 56.0f}) {
        DrawLamp(c, {35, y}, 1.6f, Amber);
        DrawLamp(c, {49, y}, 1.6f, Amber);
    }
    DrawLamp(c, {38, 71}, 4.0f, Exhaust);
    DrawLamp(c, {46, 71}, 4.0f, Exhaust);
    DrawLamp(c, {42, 73}, 3.0f, Rgb8(255, 200, 120));
}

void DrawLight(Canvas& c) {
    constexpr float axis = 30;
    const Path wing = Polygon({{34, 25}, {46, 30}, {55, 40}, {58, 50}, {52, 50}, {44, 45}, {36, 43}});
    Both(c, axis, wing, Linear({36, 40}, {58, 50}, {{0, ZarvothHull}, {1, Scaled(ZarvothHull, 0.62f)}}),
         Linear({24, 40}, {2, 50}, {{0, Scaled(ZarvothHull, 1.1f)}, {1, Scaled(ZarvothHull, 0.78f)}}));
    const Path canard = Polygon({{34, 15}, {42, 17}, {45, 22}, {36, 22}});
    Both(c, axis, canard, Solid(Scaled(ZarvothHull, 0.8f)), Solid(Scaled(ZarvothHull, 0.95f)));
    for (float side : {1.0f, -1.0f}) {
        const auto x = [&](float v) { return axis + side * (v - axis); };
        DrawSeam(c, {x(46), 30}, {x(57), 48}, 1.5f, WithAlpha(Bronze, 0.9f));
        DrawSeam(c, {x(39), 40}, {x(52), 48}, 0.8f, WithAlpha(ZarvothDark, 0.8f));
        DrawLamp(c, {x(56), 48}, 2.2f, Disruptor);
    }
    const Path hull = Mirrored(axis, {{30, 3}, {33, 10}, {36, 22}, {37.5f, 36}, {35.5f, 48}, {32.5f, 55}, {30, 56}});
    c.Fill(hull, Metal(ZarvothHull, axis, 8, 3, 56));
    DrawSeam(c, {30, 6}, {30, 24}, 0.8f, WithAlpha(Rgb8(230, 240, 200), 0.35f));
    DrawSeam(c, {30, 9}, {30, 15}, 2.0f, Amber);
    DrawSeam(c, {33, 38}, {30, 44}, 0.9f, WithAlpha(ZarvothDark, 0.8f));
    DrawSeam(c, {27, 38}, {30, 44}, 0.9f, WithAlpha(ZarvothDark, 0.8f));
    // The phaser emitter sits in the middle of the hull.
    c.Fill(Circle(30, 30, 4.6f), Radial({30, 30}, 4.6f, 4.6f, {{0, Rgb8(20, 40, 24)}, {1, Bronze}}));
    DrawLamp(c, {30, 30}, 7.5f, Disruptor);
    DrawLamp(c, {27, 54}, 3.6f, Exhaust);
    DrawLamp(c, {33, 54}, 3.6f, Exhaust);
}

void DrawShuttle(Canvas& c) {
    constexpr float axis = 17;
    for (float x : {6.0f, 28.0f}) {
        c.Fill(Capsule({x, 11}, {x, 29}, 3.2f), Metal(FedDark, x, 3.2f, 8, 32));
        c.Fill(Capsule({x, 13}, {x, 27}, 1.0f), Solid(NacelleBlue), Blend::Add);
    }
    c.Fill(RoundBox(8.5f, 5, 25.5f, 33, 5), Metal(FedHull, axis, 9, 5, 33));
    c.Fill(Polygon({{10, 29}, {24, 29}, {21.5f, 38}, {12.5f, 38}}), Metal(FedHull, axis, 8, 29, 38));
    DrawSeam(c, {9, 19}, {25, 19}, 0.9f, WithAlpha(FedDark, 0.7f));
    DrawSeam(c, {9, 23}, {25, 23}, 1.2f, WithAlpha(Rgb8(200, 60, 50), 0.8f));
    DrawSeam(c, {13.5f, 34}, {20.5f, 34}, 2.0f, WithAlpha(Rgb8(150, 210, 255), 1.0f));
    DrawLamp(c, {17, 34}, 4, WithAlpha(NacelleBlue, 0.6f));
    DrawLamp(c, {13, 5}, 3.4f, Exhaust);
    DrawLamp(c, {21, 5}, 3.4f, Exhaust);
    for (float y : {10.0f, 14.0f}) {
        DrawLamp(c, {12, y}, 1.2f, Window);
        DrawLamp(c, {22, y}, 1.2f, Window);
    }
}

void DrawDefiant(Canvas& c) {
    constexpr float axis = 27;
    for (float side : {1.0f, -1.0f}) {
        const auto x = [&](float v) { return axis + side * (v - axis); };
        c.Fill(Capsule({x(44), 8}, {x(46.5f), 34}, 4.6f), Metal(FedDark, x(45), 4.6f, 4, 38));
        c.Fill(Capsule({x(44.5f), 10}, {x(46.5f), 30}, 1.6f), Solid(NacelleBlue), Blend::Add);
        DrawLamp(c, {x(46.5f), 35}, 3.0f, Bussard);
    }
    const Path hull = Mirrored(axis, {{27, 4}, {36, 5}, {44, 11}, {48, 20}, {48, 30}, {44, 40}, {36, 49}, {30, 55}, {27, 56}});
    c.Fill(hull, Metal(FedHull, axis, 21, 4, 56));
    for (float side : {1.0f, -1.0f}) {
        const auto x = [&](float v) { return axis + side * (v - axis); };
        DrawSeam(c, {x(27), 30}, {x(42), 38}, 0.9f, WithAlpha(FedDark, 0.7f));
        DrawSeam(c, {x(30), 12}, {x(44), 22}, 0.9f, WithAlpha(FedDark, 0.7f));
        DrawSeam(c, {x(34), 46}, {x(44), 36}, 1.2f, WithAlpha(Rgb8(200, 60, 50), 0.7f));
        DrawLamp(c, {x(36), 28}, 1.2f, Window);
        DrawLamp(c, {x(33), 34}, 1.2f, Window);
    }
    c.Fill(Circle(27, 24, 4.5f), Radial({25.5f, 22.5f}, 5, 5, {{0, Rgb8(240, 244, 250)}, {1, Scaled(FedHull, 0.7f)}}));
    DrawLamp(c, {27, 49}, 4.5f, NacelleBlue);
    DrawLamp(c, {21, 6}, 3.5f, Exhaust);
    DrawLamp(c, {33, 6}, 3.5f, Exhaust);
}

void DrawAkira(Canvas& c) {
    constexpr float axis = 39;
    for (float side : {1.0f, -1.0f}) {
        const auto x = [&](float v) { return axis + side * (v - axis); };
        c.Fill(Capsule({x(8), 42}, {x(9.5f), 75}, 4.2f), Metal(FedDark, x(9), 4.2f, 38, 79));
        c.Fill(Capsule({x(8.3f), 45}, {x(9.5f), 70}, 1.5f), Solid(NacelleBlue), Blend::Add);
        DrawLamp(c, {x(9.5f), 76}, 3.2f, Bussard);
        c.Fill(Capsule({x(18), 8}, {x(20), 42}, 6.5f), Metal(FedHull, x(19), 6.5f, 2, 48));
        DrawSeam(c, {x(18), 16}, {x(20), 40}, 0.9f, WithAlpha(FedDark, 0.6f));
    }
    c.Fill(RoundBox(15, 3, 63, 16, 5), Metal(FedHull, axis, 24, 3, 16));
    for (float x : {27.0f, 39.0f, 51.0f}) {
        DrawLamp(c, {x, 9}, 2.4f, Rgb8(255, 110, 60));
    }
    c.Fill(Ellipse(axis, 54, 31, 27), Radial({33, 46}, 38, 34, {{0, Rgb8(236, 240, 248)}, {0.6f, FedHull}, {1, Scaled(FedHull, 0.62f)}}));
    c.Fill(Ring(axis, 54, 31, 27, 1.2f), Solid(WithAlpha(FedDark, 0.8f)), Blend::Atop);
    c.Fill(Ring(axis, 54, 20, 17, 0.8f), Solid(WithAlpha(FedDark, 0.6f)), Blend::Atop);
    for (int i = 0; i < 20; ++i) {
        const float a = static_cast<float>(i) / 20.0f * 6.2832f;
        DrawLamp(c, {axis + 26.5f * std::cos(a), 54 + 22.5f * std::sin(a)}, 1.1f, Window);
    }
    DrawSeam(c, {axis - 30, 54}, {axis + 30, 54}, 0.8f, WithAlpha(FedDark, 0.5f));
    c.Fill(Circle(axis, 52, 5.5f), Radial({37.5f, 50.5f}, 6, 6, {{0, Rgb8(250, 252, 255)}, {1, Scaled(FedHull, 0.75f)}}));
    DrawLamp(c, {axis, 78}, 3.5f, NacelleBlue);
    DrawLamp(c, {32, 30}, 3.2f, Exhaust);
    DrawLamp(c, {46, 30}, 3.2f, Exhaust);
}

void DrawInterpid(Canvas& c) {
    constexpr float axis = 60;
    for (float side : {1.0f, -1.0f}) {
        const auto x = [&](float v) { return axis + side * (v - axis); };
        const Path pylon = Polygon({{x(22), 48}, {x(50), 66}, {x(51), 78}, {x(24), 60}});
        c.Fill(pylon, Solid(Scaled(FedHull, side > 0 ? 0.62f : 0.8f)));
        c.Fill(Capsule({x(15), 10}, {x(20), 72}, 7.0f), Metal(FedHull, x(17), 7, 3, 79));
        c.Fill(Capsule({x(16.5f), 14}, {x(20.5f), 66}, 2.4f), Solid(NacelleBlue), Blend::Add);
        DrawLamp(c, {x(20), 72}, 5.0f, Bussard);
        DrawSeam(c, {x(11), 20}, {x(14), 64}, 0.8f, WithAlpha(FedDark, 0.6f));
    }
    const Path secondary = Mirrored(axis, {{60, 16}, {68, 22}, {72, 48}, {70, 84}, {64, 100}, {60, 102}});
    c.Fill(secondary, Metal(FedHull, axis, 12, 16, 102));
    DrawSeam(c, {54, 30}, {66, 30}, 0.9f, WithAlpha(FedDark, 0.6f));
    DrawSeam(c, {53, 46}, {67, 46}, 0.9f, WithAlpha(FedDark, 0.6f));
    for (float y : {24.0f, 36.0f, 52.0f}) {
        DrawLamp(c, {56, y}, 1.1f, Window);
        DrawLamp(c, {64, y}, 1.1f, Window);
    }
    DrawLamp(c, {60, 64}, 7.0f, NacelleBlue);
    c.Fill(Ellipse(axis, 109, 43, 39), Radial({52, 100}, 56, 52, {{0, Rgb8(238, 242, 250)}, {0.55f, FedHull}, {1, Scaled(FedHull, 0.6f)}}));
    // Saucer plating: rings and spokes.
    c.Fill(Ellipse(60, 111, 30, 26), Solid(WithAlpha(Rgb8(255, 255, 255), 0.08f)), Blend::Atop);
    c.Fill(Ring(60, 111, 30, 26, 0.9f), Solid(WithAlpha(FedDark, 0.6f)), Blend::Atop);
    for (int i = 0; i < 8; ++i) {
        const float a = static_cast<float>(i) / 8.0f * 6.2832f + 0.39f;
        DrawSeam(c, {60 + 30 * std::cos(a), 111 + 26 * std::sin(a)}, {60 + 41 * std::cos(a), 111 + 35 * std::sin(a)}, 0.8f,
             WithAlpha(FedDark, 0.55f));
    }
    for (int i = 0; i < 34; ++i) {
        const float a = static_cast<float>(i) / 34.0f * 6.2832f;
        DrawLamp(c, {60 + 37 * std::cos(a), 111 + 32 * std::sin(a)}, 1.2f, Window);
    }
    DrawSeam(c, {44, 84}, {76, 84}, 1.4f, WithAlpha(Rgb8(200, 60, 50), 0.7f));
    c.Fill(Ellipse(60, 112, 8, 7), Radial({58, 110}, 8, 7, {{0, Rgb8(252, 253, 255)}, {1, Scaled(FedHull, 0.72f)}}));
    DrawLamp(c, {60, 112}, 2.0f, Window);
    DrawLamp(c, {51, 78}, 4.0f, Exhaust);
    DrawLamp(c, {69, 78}, 4.0f, Exhaust);
    DrawLamp(c, {60, 144}, 3.0f, NacelleBlue);
}

void DrawSupply(Canvas& c) {
    constexpr float axis = 55;
    const Path fan = Mirrored(axis, {{55, 3}, {74, 4}, {92, 10}, {104, 20}, {106, 30}, {96, 36}, {80, 40}, {66, 45}, {58, 51}, {55, 52}});
    c.Fill(fan, Metal(Ochre, axis, 46, 3, 52));
    for (float side : {1.0f, -1.0f}) {
        const auto x = [&](float v) { return axis + side * (v - axis); };
        DrawSeam(c, {x(57), 40}, {x(96), 16}, 1.0f, WithAlpha(OchreDark, 0.8f));
        DrawSeam(c, {x(58), 44}, {x(100), 30}, 1.0f, WithAlpha(OchreDark, 0.8f));
        DrawSeam(c, {x(60), 34}, {x(80), 8}, 1.0f, WithAlpha(OchreDark, 0.7f));
        DrawSeam(c, {x(74), 5}, {x(104), 22}, 1.6f, WithAlpha(Rgb8(150, 70, 50), 0.8f));
        DrawLamp(c, {x(102), 27}, 2.6f, CardassianLight);
        DrawLamp(c, {x(88), 36}, 1.6f, CardassianLight);
    }
    c.Fill(Capsule({55, 28}, {55, 66}, 9), Metal(Ochre, axis, 9, 20, 72));
    c.Fill(Ellipse(55, 74, 17, 11.5f), Metal(Ochre, axis, 17, 62, 86));
    c.Fill(Ellipse(55, 79, 10, 6.5f), Radial({55, 79}, 10, 6.5f, {{0, Rgb8(255, 190, 80)}, {0.5f, Rgb8(170, 90, 40)}, {1, OchreDark}}));
    DrawLamp(c, {55, 79}, 6, WithAlpha(CardassianLight, 0.8f));
    for (float y : {34.0f, 42.0f, 50.0f, 58.0f}) {
        DrawSeam(c, {48, y}, {62, y}, 1.0f, WithAlpha(OchreDark, 0.7f));
        DrawLamp(c, {55, y + 3}, 1.3f, CardassianLight);
    }
    DrawLamp(c, {45, 6}, 4.0f, Rgb8(255, 170, 60));
    DrawLamp(c, {65, 6}, 4.0f, Rgb8(255, 170, 60));
}

// Banking: the ship narrows and tilts, the lowered side falls into shadow.
Affine BankTransform(CellSize cell, int bank) {
    const Vec2 centre{static_cast<float>(cell.Width) / 2, static_cast<float>(cell.Height) / 2};
    if (bank == 0) {
        return {};
    }
    const float shear = 0.05f * static_cast<float>(bank);
    return Affine::Scale(0.86f, 1.0f, centre).Then({1, 0, 0, shear, 1, -shear * centre.X});
}

void ShadeBank(Canvas& c, CellSize cell, int bank) {
    if (bank == 0) {
        return;
    }
    const float w = static_cast<float>(cell.Width);
    const float dark = bank < 0 ? 0.0f : w;
    c.FillAll(Linear({w / 2, 0}, {dark, 0}, {{0, Rgb8(0, 0, 0, 0)}, {1, Rgb8(0, 0, 0, 0.4f)}}), Blend::Atop);
    c.FillAll(Linear({w / 2, 0}, {w - dark, 0}, {{0, Rgb8(255, 255, 240, 0)}, {1, Rgb8(255, 255, 240, 0.12f)}}),
              Blend::Atop);
}

constexpr int Supersample = 4;

Canvas ShipFrame(ShipKind kind, int bank) {
    const CellSize cell = ShipCell(kind);
    Canvas c(cell.Width, cell.Height, Supersample);
    c.SetTransform(BankTransform(cell, bank));
    DrawShip(c, kind);
    // Hull plating: faint blocky variation in the ship's own coordinates.
    c.Fill(Box(0, 0, static_cast<float>(cell.Width), static_cast<float>(cell.Height)), [](float x, float y) {
        const float plate = ValueNoise(std::floor(x / 3.0f) * 0.9f, std::floor(y / 5.0f) * 0.9f, 61);
        return Rgba{0, 0, 0, 0.16f * plate};
    }, Blend::Atop);
    c.ResetTransform();
    ShadeBank(c, cell, bank);
    return c;
}

// The cloaked ship: only the outline and a few shimmering interference bands of the hull stay
// visible, so the stars show through the rest.
platform::RgbImage Ghost(const platform::RgbImage& ship, int phase) {
    platform::RgbImage ghost = ship;
    const auto at = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < ship.Width && y < ship.Height &&
               !IsKey(ship.Pixels[static_cast<std::size_t>(y) * ship.Width + x]);
    };
    const Rgba tint = Rgb8(150, 220, 205);
    for (int y = 0; y < ship.Height; ++y) {
        for (int x = 0; x < ship.Width; ++x) {
            std::uint32_t& out = ghost.Pixels[static_cast<std::size_t>(y) * ship.Width + x];
            if (!at(x, y)) {
                continue;
            }
            const Rgba c = Unpack(ship.Pixels[static_cast<std::size_t>(y) * ship.Width + x]);
            const float luminance = 0.3f * c.R + 0.55f * c.G + 0.15f * c.B;
            const bool edge = !at(x - 1, y) || !at(x + 1, y) || !at(x, y - 1) || !at(x, y + 1);
            const float band = std::sin(0.85f * static_cast<float>(y) + 0.35f * static_cast<float>(x) +
                                        2.1f * static_cast<float>(phase));
            if (edge) {
                out = ToColourValue(Scaled(tint, 0.35f + 0.45f * luminance));
            } else if (band > 0.8f) {
                out = ToColourValue(Scaled(tint, 0.18f + 0.35f * luminance));
            } else {
                out = KeyColour;
            }
        }
    }
    return ghost;
}

void ShieldBubble(Canvas& c, CellSize cell) {
    const float cx = static_cast<float>(cell.Width) / 2;
    const float cy = static_cast<float>(cell.Height) / 2;
    const float rx = cx - 0.6f;
    const float ry = cy - 0.6f;
    const Rgba shield = Rgb8(90, 220, 255);
    c.Fill(Superellipse(cx, cy, rx, ry, 3.0f), [=](float x, float y) {
        const float u = std::abs(x - cx) / rx;
        const float v = std::abs(y - cy) / ry;
        const float d = std::pow(u * u * u + v * v * v, 1.0f / 3.0f);
        const float rim = std::clamp((d - 0.72f) / 0.28f, 0.0f, 1.0f);
        return WithAlpha(shield, 0.75f * rim * rim);
    }, Blend::Add);
    Path rim = Superellipse(cx, cy, rx, ry, 3.0f);
    rim.push_back(Superellipse(cx, cy, rx - 1.3f, ry - 1.3f, 3.0f).front());
    c.Fill(rim, Solid(Rgb8(200, 250, 255, 0.9f)), Blend::Add);
    c.Fill(Ellipse(cx - rx * 0.45f, cy - ry * 0.62f, rx * 0.28f, ry * 0.1f),
           GlowPaint({cx - rx * 0.45f, cy - ry * 0.62f}, rx * 0.28f, Rgb8(220, 255, 255, 0.8f)), Blend::Add);
}

}  // namespace

CellSize ShipCell(ShipKind kind) {
    switch (kind) {
    case ShipKind::Heavy: return {84, 76};
    case ShipKind::Light: return {60, 60};
    case ShipKind::Shuttle: return {34, 40};
    case ShipKind::Defiant: return {54, 58};
    case ShipKind::Akira: return {78, 84};
    case ShipKind::Interpid: return {120, 150};
    case ShipKind::Supply: return {110, 90};
    }
    return {0, 0};
}

void DrawShip(Canvas& canvas, ShipKind kind) {
    switch (kind) {
    case ShipKind::Heavy: DrawHeavy(canvas); break;
    case ShipKind::Light: DrawLight(canvas); break;
    case ShipKind::Shuttle: DrawShuttle(canvas); break;
    case ShipKind::Defiant: DrawDefiant(canvas); break;
    case ShipKind::Akira: DrawAkira(canvas); break;
    case ShipKind::Interpid: DrawInterpid(canvas); break;
    case ShipKind::Supply: DrawSupply(canvas); break;
    }
}

std::vector<PictureItem> PlayerShipItems(ShipKind kind, const char* name) {
    const CellSize cell = ShipCell(kind);
    std::vector<platform::RgbImage> normal, cloaked, shielded;
    for (int bank = -1; bank <= 1; ++bank) {
        Canvas frame = ShipFrame(kind, bank);
        normal.push_back(frame.ReduceKeyed());
        cloaked.push_back(Ghost(normal.back(), bank + 1));
        ShieldBubble(frame, cell);
        shielded.push_back(frame.ReduceKeyed());
    }
    const std::string base(name);
    return {{base, Strip(normal), cell.Width, cell.Height},
            {base + "Cloaked", Strip(cloaked), cell.Width, cell.Height},
            {base + "Shields", Strip(shielded), cell.Width, cell.Height}};
}

PictureItem EnemyShipItem(ShipKind kind, const char* name) {
    const CellSize cell = ShipCell(kind);
    std::vector<platform::RgbImage> frames;
    for (int bank = -1; bank <= 1; ++bank) {
        frames.push_back(ShipFrame(kind, bank).ReduceKeyed());
    }
    return {name, Strip(frames), cell.Width, cell.Height};
}

PictureItem SupplyShipItem() {
    return {"SupplyShip", ShipFrame(ShipKind::Supply, 0).ReduceKeyed(), 0, 0};
}

}  // namespace content
