// PixelBuffer: a view of 16-bit pixels in memory, the form in which the engine's surfaces
// reach the platform (presentation, text output). No SDL here.
#pragma once

#include <cstdint>

namespace platform {

// The two 16-bit layouts a display can report.
enum class PixelLayout : std::uint8_t { RGB565, RGB555 };

struct PixelBuffer16 {
    std::uint16_t* Pixels = nullptr;
    int Width = 0;
    int Height = 0;
    int Pitch = 0;  // pixels from one row to the next
    PixelLayout Layout = PixelLayout::RGB565;
};

// The platform's colour conversion: keeps the top bits of each 8-bit channel.
constexpr std::uint16_t PackRGB(PixelLayout layout, int red, int green, int blue) {
    if (layout == PixelLayout::RGB565) {
        return static_cast<std::uint16_t>(((red & 0xF8) << 8) | ((green & 0xFC) << 3) | ((blue & 0xF8) >> 3));
    }
    return static_cast<std::uint16_t>(((red & 0xF8) << 7) | ((green & 0xF8) << 2) | ((blue & 0xF8) >> 3));
}

}  // namespace platform
