// Shapes: outlines as polygons fine enough to look smooth after supersampling.
#include "tools/raster/Shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace content {
namespace {
constexpr float Pi = std::numbers::pi_v<float>;

int SegmentsFor(float rx, float ry) {
    return std::clamp(static_cast<int>(std::max(rx, ry) * 2.0f), 24, 256);
}
}  // namespace

Path Ellipse(float cx, float cy, float rx, float ry) {
    return Superellipse(cx, cy, rx, ry, 2.0f);
}

Path Circle(float cx, float cy, float r) {
    return Ellipse(cx, cy, r, r);
}

Path Box(float left, float top, float right, float bottom) {
    return {{{left, top}, {right, top}, {right, bottom}, {left, bottom}}};
}

Path RoundBox(float left, float top, float right, float bottom, float radius) {
    radius = std::min({radius, (right - left) / 2, (bottom - top) / 2});
    if (radius <= 0) {
        return Box(left, top, right, bottom);
    }
    Contour c;
    const Vec2 centres[4] = {{right - radius, top + radius},
                             {right - radius, bottom - radius},
                             {left + radius, bottom - radius},
                             {left + radius, top + radius}};
    constexpr int steps = 8;
    for (int corner = 0; corner < 4; ++corner) {
        for (int i = 0; i <= steps; ++i) {
            const float a = (static_cast<float>(corner) - 1 + static_cast<float>(i) / steps) * Pi / 2;
            c.push_back({centres[corner].X + radius * std::cos(a), centres[corner].Y + radius * std::sin(a)});
        }
    }
    return {c};
}

Path Superellipse(float cx, float cy, float rx, float ry, float exponent) {
    Contour c;
    const int n = SegmentsFor(rx, ry);
    for (int i = 0; i < n; ++i) {
        const float a = 2 * Pi * static_cast<float>(i) / static_cast<float>(n);
        const float ca = std::cos(a);
        const float sa = std::sin(a);
        const float px = std::copysign(std::pow(std::abs(ca), 2.0f / exponent), ca);
        const float py = std::copysign(std::pow(std::abs(sa), 2.0f / exponent), sa);
        c.push_back({cx + rx * px, cy + ry * py});
    }
    return {c};
}

Path Polygon(std::initializer_list<Vec2> points) {
    return {Contour(points)};
}

Path Mirrored(float axis, std::initializer_list<Vec2> rightHalf) {
    Contour c(rightHalf);
    for (auto it = std::rbegin(rightHalf); it != std::rend(rightHalf); ++it) {
        if (it->X != axis) {
            c.push_back({2 * axis - it->X, it->Y});
        }
    }
    return {c};
}

Path MirrorPath(const Path& path, float axis) {
    Path mirrored = path;
    for (Contour& c : mirrored) {
        for (Vec2& p : c) {
            p.X = 2 * axis - p.X;
        }
    }
    return mirrored;
}

Path Capsule(Vec2 from, Vec2 to, float radius) {
    const float angle = std::atan2(to.Y - from.Y, to.X - from.X);
    Contour c;
    constexpr int steps = 12;
    for (int i = 0; i <= steps; ++i) {
        const float a = angle + Pi / 2 + Pi * static_cast<float>(i) / steps;
        c.push_back({from.X + radius * std::cos(a), from.Y + radius * std::sin(a)});
    }
    for (int i = 0; i <= steps; ++i) {
        const float a = angle - Pi / 2 + Pi * static_cast<float>(i) / steps;
        c.push_back({to.X + radius * std::cos(a), to.Y + radius * std::sin(a)});
    }
    return {c};
}

Path Ring(float cx, float cy, float rx, float ry, float thickness) {
    Path outer = Ellipse(cx, cy, rx, ry);
    Path inner = Ellipse(cx, cy, rx - thickness, ry - thickness);
    outer.push_back(inner.front());
    return outer;
}

Path Join(std::initializer_list<Path> parts) {
    Path joined;
    for (const Path& p : parts) {
        joined.insert(joined.end(), p.begin(), p.end());
    }
    return joined;
}

Rgba Sample(const std::vector<Stop>& stops, float t) {
    if (t <= stops.front().At) {
        return stops.front().Colour;
    }
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].At) {
            const float span = stops[i].At - stops[i - 1].At;
            return Mix(stops[i - 1].Colour, stops[i].Colour, span > 0 ? (t - stops[i - 1].At) / span : 1.0f);
        }
    }
    return stops.back().Colour;
}

Paint Solid(Rgba colour) {
    return [colour](float, float) { return colour; };
}

Paint Linear(Vec2 from, Vec2 to, std::vector<Stop> stops) {
    const float dx = to.X - from.X;
    const float dy = to.Y - from.Y;
    const float length2 = std::max(1e-6f, dx * dx + dy * dy);
    return [=, stops = std::move(stops)](float x, float y) {
        return Sample(stops, ((x - from.X) * dx + (y - from.Y) * dy) / length2);
    };
}

Paint Radial(Vec2 centre, float rx, float ry, std::vector<Stop> stops) {
    return [=, stops = std::move(stops)](float x, float y) {
        const float u = (x - centre.X) / rx;
        const float v = (y - centre.Y) / ry;
        return Sample(stops, std::sqrt(u * u + v * v));
    };
}

Paint GlowPaint(Vec2 centre, float radius, Rgba colour, float falloff) {
    return [=](float x, float y) {
        const float d = std::hypot(x - centre.X, y - centre.Y) / radius;
        const float t = std::max(0.0f, 1.0f - d);
        return WithAlpha(colour, colour.A * std::pow(t, falloff));
    };
}

void DrawLamp(Canvas& canvas, Vec2 at, float radius, Rgba colour) {
    canvas.Fill(Circle(at.X, at.Y, radius), GlowPaint(at, radius, colour, 1.6f), Blend::Add);
    canvas.Fill(Circle(at.X, at.Y, std::max(0.6f, radius * 0.22f)), Solid(Mix(colour, Rgba{1, 1, 1, 1}, 0.7f)),
                Blend::Add);
}

void DrawSeam(Canvas& canvas, Vec2 from, Vec2 to, float width, Rgba colour) {
    canvas.Fill(Capsule(from, to, width / 2), Solid(colour), Blend::Atop);
}

}  // namespace content
