// Helpers shared by the drawing tests: surfaces filled with recognisable pixels and whole-surface
// comparisons.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "engine/display/DirectDrawSurface.h"

namespace fixtures {

// Pixel (x, y) holds a value unique within 256 x 256 surfaces, never 0.
inline std::uint16_t Marker(int x, int y) { return static_cast<std::uint16_t>(((y & 0xFF) << 8 | (x & 0xFF)) | 0x8000); }

inline void FillWithMarkers(TDirectDrawSurface& surface) {
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            surface.SetPixel(x, y, Marker(x, y));
        }
    }
}

// Random pixels valid in the surface's layout (5-5-5 leaves the top bit clear).
inline void FillRandom(TDirectDrawSurface& surface, std::mt19937& random) {
    std::uniform_int_distribution<int> value(0, surface.Layout() == platform::PixelLayout::RGB565 ? 0xFFFF : 0x7FFF);
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            surface.SetPixel(x, y, static_cast<std::uint16_t>(value(random)));
        }
    }
}

inline std::vector<std::uint16_t> Pixels(const TDirectDrawSurface& surface) {
    std::vector<std::uint16_t> pixels;
    for (int y = 0; y < surface.Height(); ++y) {
        pixels.insert(pixels.end(), surface.Row(y), surface.Row(y) + surface.Width());
    }
    return pixels;
}

// Number of pixels that differ between two surfaces of the same size.
inline int CountDifferences(const TDirectDrawSurface& a, const TDirectDrawSurface& b) {
    int differences = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            differences += a.Pixel(x, y) != b.Pixel(x, y) ? 1 : 0;
        }
    }
    return differences;
}

}  // namespace fixtures
