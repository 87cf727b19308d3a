// Effects: beams are drawn pixel by pixel (they are only 4 pixels wide); the rest on canvases.
#include "tools/zarvoth-content/Effects.h"

#include <algorithm>
#include <cmath>

#include "tools/zarvoth-content/Noise.h"
#include "tools/raster/Shapes.h"

namespace content {
namespace {

// A strip 4 wide: soft coloured edges, white-hot core, a dimmer tip at the top and a flare at
// the emitter end (bottom).
PictureItem BeamStrip(const char* name, Rgba edge, Rgba core) {
    constexpr int width = 4;
    constexpr int height = 64;
    platform::RgbImage strip{width, height, std::vector<std::uint32_t>(width * height)};
    constexpr float across[width] = {0.5f, 1.0f, 1.0f, 0.5f};
    for (int y = 0; y < height; ++y) {
        const float fromTip = static_cast<float>(y) / 10.0f;
        const float along = std::min(1.0f, 0.35f + 0.65f * fromTip) * (y >= height - 4 ? 1.15f : 1.0f);
        for (int x = 0; x < width; ++x) {
            const Rgba c = across[x] < 1.0f ? edge : core;
            strip.Pixels[static_cast<std::size_t>(y) * width + x] = ToColourValue(Scaled(c, along * across[x]));
        }
    }
    return {name, strip, 0, 0};
}

}  // namespace

PictureItem PlayerBeamItem() {
    return BeamStrip("Disruptor", Rgb8(60, 230, 110), Rgb8(210, 255, 220));
}

PictureItem CruiserBeamItem() {
    return BeamStrip("Phaser", Rgb8(255, 130, 30), Rgb8(255, 240, 190));
}

PictureItem PlayerTorpedoItem() {
    Canvas c(12, 26, 4);
    c.Fill(Polygon({{6, 3}, {9.5f, 10}, {6, 25}, {2.5f, 10}}),
           Linear({6, 6}, {6, 25}, {{0, Rgb8(120, 255, 160, 0.9f)}, {1, Rgb8(20, 120, 40, 0.0f)}}), Blend::Add);
    c.Fill(Circle(6, 8, 6), GlowPaint({6, 8}, 6, Rgb8(90, 255, 130)), Blend::Add);
    c.Fill(Circle(6, 8, 3.2f), GlowPaint({6, 8}, 3.2f, Rgb8(230, 255, 235), 0.8f), Blend::Add);
    return {"PlayerTorpedo", c.ReduceKeyed(0.1f), 0, 0};
}

PictureItem EnemyTorpedoItem() {
    Canvas c(14, 14, 4);
    c.Fill(Circle(7, 7, 7), GlowPaint({7, 7}, 7, Rgb8(255, 90, 40)), Blend::Add);
    c.Fill(Capsule({1, 7}, {13, 7}, 0.7f), GlowPaint({7, 7}, 6, Rgb8(255, 200, 150)), Blend::Add);
    c.Fill(Capsule({7, 1}, {7, 13}, 0.7f), GlowPaint({7, 7}, 6, Rgb8(255, 200, 150)), Blend::Add);
    c.Fill(Circle(7, 7, 3), GlowPaint({7, 7}, 3, Rgb8(255, 250, 220), 0.7f), Blend::Add);
    return {"EnemyTorpedo", c.ReduceKeyed(0.1f), 0, 0};
}

PictureItem StarsItem() {
    constexpr int cell = 7;
    std::vector<platform::RgbImage> frames;
    const Rgba tints[3] = {Rgb8(120, 125, 150), Rgb8(200, 210, 235), Rgb8(255, 255, 255)};
    const float radii[3] = {1.2f, 2.2f, 3.5f};
    for (int kind = 0; kind < 3; ++kind) {
        Canvas c(cell, cell, 4);
        const Vec2 centre{3.5f, 3.5f};
        c.Fill(Circle(centre.X, centre.Y, radii[kind]), GlowPaint(centre, radii[kind], tints[kind], 1.5f), Blend::Add);
        if (kind == 2) {
            c.Fill(Capsule({0, 3.5f}, {7, 3.5f}, 0.5f), GlowPaint(centre, 3.5f, Rgb8(190, 215, 255), 1.0f), Blend::Add);
            c.Fill(Capsule({3.5f, 0}, {3.5f, 7}, 0.5f), GlowPaint(centre, 3.5f, Rgb8(190, 215, 255), 1.0f), Blend::Add);
        }
        frames.push_back(c.ReduceKeyed(0.06f));
    }
    return {"Stars", Strip(frames), cell, cell};
}

PictureItem ExplosionItem() {
    constexpr int size = 96;
    constexpr float centre = size / 2.0f;
    const std::vector<Stop> heatRamp = {{0.0f, Rgb8(58, 50, 46)},   {0.25f, Rgb8(120, 40, 16)},
                                        {0.45f, Rgb8(220, 90, 24)}, {0.65f, Rgb8(255, 160, 50)},
                                        {0.85f, Rgb8(255, 228, 140)}, {1.0f, Rgb8(255, 255, 240)}};
    std::vector<platform::RgbImage> frames;
    for (int f = 0; f < ExplosionFrames; ++f) {
        const float t = static_cast<float>(f) / (ExplosionFrames - 1);
        const float radius = 12.0f + 32.0f * std::sqrt(t);
        Canvas c(size, size, 2);
        c.FillAll([&](float x, float y) {
            const float dx = (x - centre) / radius;
            const float dy = (y - centre) / radius;
            const float r = std::sqrt(dx * dx + dy * dy);
            // Billows: noise that grows with the ball, so the shapes expand rather than slide.
            const float billow = Fractal(dx * 2.6f + 11, dy * 2.6f + 7, 4, 17);
            const float edge = r / (0.72f + 0.5f * billow);
            const float fire = std::clamp(1.0f - edge, 0.0f, 1.0f);
            const float turbulence = Fractal(dx * 5.0f - 4, dy * 5.0f + 9 - t * 2, 3, 41);
            const float heat = std::clamp((fire * 1.9f * std::pow(1.0f - t, 1.1f) + (f == 0 ? 0.5f : 0.0f) * fire) *
                                              (0.6f + 0.8f * turbulence),
                                          0.0f, 1.0f);
            const float smokeNoise = Fractal(dx * 2.2f + 3, dy * 2.2f - 5 + t, 5, 29);
            const float smoke = std::clamp((1.0f - edge) * 1.7f, 0.0f, 1.0f) * std::clamp(0.2f + 1.4f * t, 0.0f, 1.0f) *
                                std::clamp(0.15f + 1.1f * smokeNoise - 0.35f * t * t, 0.0f, 1.0f);
            Rgba colour = Sample(heatRamp, heat);
            const float fireAlpha = std::clamp(heat * 2.5f, 0.0f, 1.0f);
            const Rgba smokeColour = Mix(Rgb8(96, 86, 80), Rgb8(150, 80, 40), std::clamp(fire * (1.0f - t) * 1.5f, 0.0f, 1.0f));
            colour = Mix(WithAlpha(Scaled(smokeColour, 0.55f + 0.7f * smokeNoise), smoke), WithAlpha(colour, 1), fireAlpha);
            colour.A = std::max(smoke, fireAlpha);
            return colour;
        });
        // Embers flung outwards, fading as they fly.
        Random random(1234);
        for (int i = 0; i < 28; ++i) {
            const float angle = random.Range(0, 6.2832f);
            const float speed = random.Range(0.5f, 1.0f);
            const float d = (8.0f + 40.0f * speed) * std::sqrt(t) + 4;
            const float brightness = (1.0f - t) * random.Range(0.5f, 1.0f);
            if (f > 0 && brightness > 0.05f) {
                const Vec2 p{centre + d * std::cos(angle), centre + d * std::sin(angle)};
                c.Fill(Circle(p.X, p.Y, 1.6f), GlowPaint(p, 1.6f, Rgb8(255, 200, 90, brightness), 1.0f), Blend::Add);
            }
        }
        if (f <= 1) {
            const float flash = f == 0 ? 1.0f : 0.45f;
            c.Fill(Circle(centre, centre, 22), GlowPaint({centre, centre}, 22, Rgb8(255, 250, 220, flash), 1.4f),
                   Blend::Add);
            c.Fill(Capsule({centre - 30, centre}, {centre + 30, centre}, 1.0f),
                   GlowPaint({centre, centre}, 30, Rgb8(255, 240, 200, flash)), Blend::Add);
            c.Fill(Capsule({centre, centre - 24}, {centre, centre + 24}, 1.0f),
                   GlowPaint({centre, centre}, 24, Rgb8(255, 240, 200, flash)), Blend::Add);
        }
        frames.push_back(c.ReduceKeyed(0.14f));
    }
    return {"Explosion", Strip(frames), size, size};
}

}  // namespace content
