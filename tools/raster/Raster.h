// Raster: the supersampling canvas the tools paint on (the generated artwork, the wave chart).
// Shapes are closed paths in picture pixels, filled even-odd with a paint (a colour per point)
// and a blend rule; the canvas holds premultiplied colour at a multiple of the final resolution
// and reduces to the final picture by averaging. Depends on platform/ImageFile.h only.
#pragma once

#include <functional>
#include <vector>

#include "platform/ImageFile.h"

namespace content {

// The transparent colour of every generated picture (magenta, 0x00BBGGRR).
constexpr std::uint32_t KeyColour = 0xFF00FF;

struct Vec2 {
    float X = 0;
    float Y = 0;
};

// Straight (not premultiplied) colour with coverage, channels 0..1.
struct Rgba {
    float R = 0;
    float G = 0;
    float B = 0;
    float A = 1;
};

// 8-bit channels, as the artwork is written.
constexpr Rgba Rgb8(int red, int green, int blue, float alpha = 1.0f) {
    return Rgba{static_cast<float>(red) / 255.0f, static_cast<float>(green) / 255.0f,
                static_cast<float>(blue) / 255.0f, alpha};
}
Rgba Mix(const Rgba& a, const Rgba& b, float t);
Rgba WithAlpha(Rgba colour, float alpha);
Rgba Scaled(Rgba colour, float factor);  // brightness, alpha kept

// A closed path is a list of contours; filling uses the even-odd rule, so an inner contour
// cuts a hole.
using Contour = std::vector<Vec2>;
using Path = std::vector<Contour>;

using Paint = std::function<Rgba(float x, float y)>;

enum class Blend {
    Over,  // normal painting
    Add,   // light: adds colour, coverage grows with brightness
    Atop,  // shading: paints only where something is already painted, coverage kept
};

// Row-major 2x3 affine map applied to path points (paints see the untransformed coordinates).
struct Affine {
    float A = 1, B = 0, C = 0;  // x' = A x + B y + C
    float D = 0, E = 1, F = 0;  // y' = D x + E y + F
    Vec2 Apply(Vec2 p) const { return {A * p.X + B * p.Y + C, D * p.X + E * p.Y + F}; }
    Affine Inverse() const;
    static Affine Translate(float dx, float dy) { return {1, 0, dx, 0, 1, dy}; }
    static Affine Scale(float sx, float sy, Vec2 about);
    Affine Then(const Affine& next) const;  // this first, then next
};

// A coverage mask in final pixels (text, soft shapes), placed with its top-left corner.
struct Mask {
    int Width = 0;
    int Height = 0;
    std::vector<float> Values;  // 0..1
    float At(int x, int y) const { return Values[static_cast<std::size_t>(y) * Width + x]; }
};

class Canvas {
public:
    Canvas(int width, int height, int supersample);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    void SetTransform(const Affine& transform);
    void ResetTransform() { SetTransform(Affine{}); }

    void Fill(const Path& path, const Paint& paint, Blend blend = Blend::Over);
    void FillAll(const Paint& paint, Blend blend = Blend::Over);
    // Like FillAll, but the paint is taken once per final pixel: for smooth, costly paints.
    void FillSmooth(const Paint& paint, Blend blend = Blend::Over);
    // The mask's value multiplies the paint's coverage (transform not applied).
    void FillMask(const Mask& mask, int left, int top, const Paint& paint, Blend blend = Blend::Over);

    // Opaque picture: everything composited over black.
    platform::RgbImage Reduce() const;
    // Sprite picture: pixels covered less than the threshold become KeyColour, the rest are
    // composited over black, so anti-aliased edges fade to dark, never to the key.
    platform::RgbImage ReduceKeyed(float threshold = 0.12f) const;
    // Picture with transparency (icons): straight colour and the coverage as alpha.
    platform::RgbaImage ReduceWithAlpha() const;

private:
    struct Premultiplied {
        float R = 0, G = 0, B = 0, A = 0;
    };
    void Put(Premultiplied& pixel, const Rgba& colour, Blend blend) const;
    Premultiplied Average(int x, int y) const;

    int FWidth;
    int FHeight;
    int FScale;
    Affine FTransform;
    Affine FInverse;
    std::vector<Premultiplied> FPixels;  // FWidth*FScale by FHeight*FScale
};

// Keeps a colour away from KeyColour after 16-bit conversion (RGB565 top bits): a colour whose
// 5/6/5-bit channels all lie within one step of the key's is moved off it.
std::uint32_t AvoidKey(std::uint32_t colour);

// 8-bit colour value of a straight colour composited over black.
std::uint32_t ToColourValue(const Rgba& colour);

}  // namespace content
