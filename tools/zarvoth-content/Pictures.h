// Pictures: the generated picture list entries and small operations on finished pictures
// (frame strips, pasting, per-pixel recolouring). Depends on Raster.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/raster/Raster.h"

namespace content {

// One image item as it goes into a graphics file.
struct PictureItem {
    std::string Name;
    platform::RgbImage Picture;
    int PatternWidth = 0;   // 0: the whole picture
    int PatternHeight = 0;
};

// Frames of equal size side by side, left to right.
platform::RgbImage Strip(const std::vector<platform::RgbImage>& frames);
// Copies source onto target with its top-left corner at (x, y); key pixels are skipped.
void Paste(platform::RgbImage& target, const platform::RgbImage& source, int x, int y);
bool IsKey(std::uint32_t colour);
// Red, green, blue of a colour value, 0..1.
Rgba Unpack(std::uint32_t colour);

}  // namespace content
