// Raster: scanline filling of even-odd paths on a supersampled premultiplied canvas.
#include "tools/raster/Raster.h"

#include <algorithm>
#include <cmath>

namespace content {

Rgba Mix(const Rgba& a, const Rgba& b, float t) {
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t, a.A + (b.A - a.A) * t};
}

Rgba WithAlpha(Rgba colour, float alpha) {
    colour.A = alpha;
    return colour;
}

Rgba Scaled(Rgba colour, float factor) {
    return {colour.R * factor, colour.G * factor, colour.B * factor, colour.A};
}

Affine Affine::Inverse() const {
    const float det = A * E - B * D;
    const float inv = det != 0 ? 1.0f / det : 0.0f;
    Affine r;
    r.A = E * inv;
    r.B = -B * inv;
    r.D = -D * inv;
    r.E = A * inv;
    r.C = -(r.A * C + r.B * F);
    r.F = -(r.D * C + r.E * F);
    return r;
}

Affine Affine::Scale(float sx, float sy, Vec2 about) {
    return {sx, 0, about.X - sx * about.X, 0, sy, about.Y - sy * about.Y};
}

Affine Affine::Then(const Affine& n) const {
    return {n.A * A + n.B * D, n.A * B + n.B * E, n.A * C + n.B * F + n.C,
            n.D * A + n.E * D, n.D * B + n.E * E, n.D * C + n.E * F + n.F};
}

Canvas::Canvas(int width, int height, int supersample)
    : FWidth(width), FHeight(height), FScale(supersample),
      FPixels(static_cast<std::size_t>(width) * supersample * height * supersample) {}

void Canvas::SetTransform(const Affine& transform) {
    FTransform = transform;
    FInverse = transform.Inverse();
}

void Canvas::Put(Premultiplied& pixel, const Rgba& c, Blend blend) const {
    const float a = std::clamp(c.A, 0.0f, 1.0f);
    if (a <= 0) {
        return;
    }
    switch (blend) {
    case Blend::Over:
        pixel.R = c.R * a + pixel.R * (1 - a);
        pixel.G = c.G * a + pixel.G * (1 - a);
        pixel.B = c.B * a + pixel.B * (1 - a);
        pixel.A = a + pixel.A * (1 - a);
        break;
    case Blend::Add:
        pixel.R += c.R * a;
        pixel.G += c.G * a;
        pixel.B += c.B * a;
        pixel.A = std::min(1.0f, pixel.A + std::max({c.R, c.G, c.B}) * a);
        break;
    case Blend::Atop:
        pixel.R = c.R * a * pixel.A + pixel.R * (1 - a);
        pixel.G = c.G * a * pixel.A + pixel.G * (1 - a);
        pixel.B = c.B * a * pixel.A + pixel.B * (1 - a);
        break;
    }
}

void Canvas::Fill(const Path& path, const Paint& paint, Blend blend) {
    struct Edge {
        float X0, Y0, X1, Y1;
    };
    std::vector<Edge> edges;
    float top = 1e30f;
    float bottom = -1e30f;
    const auto scale = static_cast<float>(FScale);
    for (const Contour& contour : path) {
        for (std::size_t i = 0; i < contour.size(); ++i) {
            Vec2 a = FTransform.Apply(contour[i]);
            Vec2 b = FTransform.Apply(contour[(i + 1) % contour.size()]);
            a = {a.X * scale, a.Y * scale};
            b = {b.X * scale, b.Y * scale};
            if (a.Y == b.Y) {
                continue;
            }
            edges.push_back({a.X, a.Y, b.X, b.Y});
            top = std::min({top, a.Y, b.Y});
            bottom = std::max({bottom, a.Y, b.Y});
        }
    }
    if (edges.empty()) {
        return;
    }
    const int rows = FHeight * FScale;
    const int columns = FWidth * FScale;
    const int firstRow = std::max(0, static_cast<int>(std::floor(top)));
    const int lastRow = std::min(rows - 1, static_cast<int>(std::ceil(bottom)));
    std::vector<float> crossings;
    for (int row = firstRow; row <= lastRow; ++row) {
        const float y = static_cast<float>(row) + 0.5f;
        crossings.clear();
        for (const Edge& e : edges) {
            if ((e.Y0 <= y && y < e.Y1) || (e.Y1 <= y && y < e.Y0)) {
                crossings.push_back(e.X0 + (y - e.Y0) * (e.X1 - e.X0) / (e.Y1 - e.Y0));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            const int from = std::max(0, static_cast<int>(std::ceil(crossings[k] - 0.5f)));
            const int to = std::min(columns, static_cast<int>(std::ceil(crossings[k + 1] - 0.5f)));
            Premultiplied* line = &FPixels[static_cast<std::size_t>(row) * columns];
            for (int column = from; column < to; ++column) {
                const Vec2 local = FInverse.Apply({(static_cast<float>(column) + 0.5f) / scale, y / scale});
                Put(line[column], paint(local.X, local.Y), blend);
            }
        }
    }
}

void Canvas::FillAll(const Paint& paint, Blend blend) {
    const float w = static_cast<float>(FWidth);
    const float h = static_cast<float>(FHeight);
    const Affine saved = FTransform;
    ResetTransform();
    Fill({{{0, 0}, {w, 0}, {w, h}, {0, h}}}, paint, blend);
    SetTransform(saved);
}

void Canvas::FillSmooth(const Paint& paint, Blend blend) {
    const int columns = FWidth * FScale;
    for (int y = 0; y < FHeight; ++y) {
        for (int x = 0; x < FWidth; ++x) {
            const Rgba c = paint(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            for (int sy = 0; sy < FScale; ++sy) {
                Premultiplied* line = &FPixels[static_cast<std::size_t>(y * FScale + sy) * columns + x * FScale];
                for (int sx = 0; sx < FScale; ++sx) {
                    Put(line[sx], c, blend);
                }
            }
        }
    }
}

void Canvas::FillMask(const Mask& mask, int left, int top, const Paint& paint, Blend blend) {
    const int columns = FWidth * FScale;
    const auto scale = static_cast<float>(FScale);
    for (int my = 0; my < mask.Height; ++my) {
        const int y = top + my;
        if (y < 0 || y >= FHeight) {
            continue;
        }
        for (int mx = 0; mx < mask.Width; ++mx) {
            const int x = left + mx;
            const float m = mask.At(mx, my);
            if (x < 0 || x >= FWidth || m <= 0) {
                continue;
            }
            for (int sy = 0; sy < FScale; ++sy) {
                const int row = y * FScale + sy;
                for (int sx = 0; sx < FScale; ++sx) {
                    const int column = x * FScale + sx;
                    Rgba c = paint((static_cast<float>(column) + 0.5f) / scale, (static_cast<float>(row) + 0.5f) / scale);
                    c.A *= m;
                    Put(FPixels[static_cast<std::size_t>(row) * columns + column], c, blend);
                }
            }
        }
    }
}

Canvas::Premultiplied Canvas::Average(int x, int y) const {
    Premultiplied sum;
    const int columns = FWidth * FScale;
    for (int sy = 0; sy < FScale; ++sy) {
        const Premultiplied* line = &FPixels[static_cast<std::size_t>(y * FScale + sy) * columns + x * FScale];
        for (int sx = 0; sx < FScale; ++sx) {
            sum.R += line[sx].R;
            sum.G += line[sx].G;
            sum.B += line[sx].B;
            sum.A += std::min(1.0f, line[sx].A);
        }
    }
    const auto n = static_cast<float>(FScale * FScale);
    return {sum.R / n, sum.G / n, sum.B / n, sum.A / n};
}

namespace {
int Channel(float value) {
    return static_cast<int>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}
}  // namespace

std::uint32_t ToColourValue(const Rgba& c) {
    return AvoidKey(static_cast<std::uint32_t>(Channel(c.R * c.A) | (Channel(c.G * c.A) << 8) |
                                               (Channel(c.B * c.A) << 16)));
}

platform::RgbImage Canvas::Reduce() const {
    platform::RgbImage image{FWidth, FHeight, std::vector<std::uint32_t>(static_cast<std::size_t>(FWidth) * FHeight)};
    for (int y = 0; y < FHeight; ++y) {
        for (int x = 0; x < FWidth; ++x) {
            const Premultiplied p = Average(x, y);
            image.Pixels[static_cast<std::size_t>(y) * FWidth + x] = ToColourValue({p.R, p.G, p.B, 1});
        }
    }
    return image;
}

platform::RgbImage Canvas::ReduceKeyed(float threshold) const {
    platform::RgbImage image = Reduce();
    for (int y = 0; y < FHeight; ++y) {
        for (int x = 0; x < FWidth; ++x) {
            if (Average(x, y).A < threshold) {
                image.Pixels[static_cast<std::size_t>(y) * FWidth + x] = KeyColour;
            }
        }
    }
    return image;
}

platform::RgbaImage Canvas::ReduceWithAlpha() const {
    platform::RgbaImage image{FWidth, FHeight, std::vector<std::uint32_t>(static_cast<std::size_t>(FWidth) * FHeight)};
    for (int y = 0; y < FHeight; ++y) {
        for (int x = 0; x < FWidth; ++x) {
            const Premultiplied p = Average(x, y);
            const float unmultiply = p.A > 0 ? 1.0f / p.A : 0.0f;
            image.Pixels[static_cast<std::size_t>(y) * FWidth + x] =
                static_cast<std::uint32_t>(Channel(p.R * unmultiply) | (Channel(p.G * unmultiply) << 8) |
                                           (Channel(p.B * unmultiply) << 16)) |
                (static_cast<std::uint32_t>(Channel(p.A)) << 24);
        }
    }
    return image;
}

std::uint32_t AvoidKey(std::uint32_t colour) {
    const auto bits565 = [](std::uint32_t c, int& r, int& g, int& b) {
        r = static_cast<int>(c & 0xFF) >> 3;
        g = static_cast<int>((c >> 8) & 0xFF) >> 2;
        b = static_cast<int>((c >> 16) & 0xFF) >> 3;
    };
    int r, g, b, kr, kg, kb;
    bits565(colour, r, g, b);
    bits565(KeyColour, kr, kg, kb);
    if (std::abs(r - kr) > 1 || std::abs(g - kg) > 1 || std::abs(b - kb) > 1) {
        return colour;
    }
    const int green = kg < 32 ? kg + 2 : kg - 2;
    return (colour & 0xFF00FFu) | (static_cast<std::uint32_t>(green << 2) << 8);
}

}  // namespace content
