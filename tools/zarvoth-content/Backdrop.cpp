// Backdrop: smooth paints are taken once per pixel; stars are drawn as small lamps.
#include "tools/zarvoth-content/Backdrop.h"

#include <algorithm>
#include <cmath>

#include "tools/zarvoth-content/Noise.h"
#include "tools/raster/Shapes.h"

namespace content {

void DrawSpaceBackdrop(Canvas& c, std::uint32_t seed) {
    const auto h = static_cast<float>(c.Height());
    c.FillSmooth([=](float x, float y) {
        const float cloud = Fractal(x * 0.0045f, y * 0.0045f, 5, seed);
        const float hue = Fractal(x * 0.002f + 5, y * 0.002f, 3, seed + 9);
        const float density = std::clamp((cloud - 0.42f) * 2.4f, 0.0f, 1.0f);
        const float wisps = std::pow(Fractal(x * 0.012f, y * 0.012f, 4, seed + 3), 2.0f);
        const Rgba nebula = Mix(Rgb8(96, 34, 120), Rgb8(20, 96, 118), std::clamp((hue - 0.35f) * 2.5f, 0.0f, 1.0f));
        const Rgba deep = Mix(Rgb8(4, 5, 14), Rgb8(12, 8, 22), y / h);
        return Mix(deep, nebula, density * (0.45f + 0.6f * wisps));
    });
    Random random(seed);
    for (int i = 0; i < 900; ++i) {
        const Vec2 p{random.Range(0, static_cast<float>(c.Width())), random.Range(0, h)};
        const float size = random.Uniform();
        const Rgba tint = Mix(Rgb8(170, 190, 255), Rgb8(255, 230, 200), random.Uniform());
        if (size > 0.97f) {
            DrawLamp(c, p, 3.5f, tint);
        } else {
            const float r = 0.5f + 1.1f * size;
            c.Fill(Circle(p.X, p.Y, r), GlowPaint(p, r, Scaled(tint, 0.35f + 0.65f * size), 1.0f), Blend::Add);
        }
    }
}

void DrawPlanet(Canvas& c, Vec2 centre, float radius, Rgba surface, Rgba atmosphere) {
    c.Fill(Circle(centre.X, centre.Y, radius * 1.08f), GlowPaint(centre, radius * 1.08f, WithAlpha(atmosphere, 0.5f), 0.6f),
           Blend::Add);
    c.Fill(Circle(centre.X, centre.Y, radius), [=](float x, float y) {
        const float u = (x - centre.X) / radius;
        const float v = (y - centre.Y) / radius;
        const float z = std::sqrt(std::max(0.0f, 1.0f - u * u - v * v));
        const float light = std::clamp(-0.6f * u - 0.5f * v + 0.62f * z, 0.0f, 1.0f);
        const float bands = Fractal(u * 3.0f, v * 9.0f + u * 0.8f, 4, 71);
        const Rgba base = Mix(Scaled(surface, 0.6f), surface, bands);
        const float rim = std::pow(1.0f - z, 3.0f) * light;
        return Mix(Scaled(base, 0.04f + 1.1f * light), atmosphere, std::clamp(rim * 1.5f, 0.0f, 1.0f));
    });
}

}  // namespace content
