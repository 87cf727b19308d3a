// Pictures: frame strips and pasting for the sprite sheets.
#include "tools/zarvoth-content/Pictures.h"

namespace content {

bool IsKey(std::uint32_t colour) {
    return colour == KeyColour;
}

Rgba Unpack(std::uint32_t colour) {
    return Rgb8(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

platform::RgbImage Strip(const std::vector<platform::RgbImage>& frames) {
    const int w = frames.front().Width;
    const int h = frames.front().Height;
    platform::RgbImage sheet{w * static_cast<int>(frames.size()), h, {}};
    sheet.Pixels.assign(static_cast<std::size_t>(sheet.Width) * h, KeyColour);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        Paste(sheet, frames[i], static_cast<int>(i) * w, 0);
    }
    return sheet;
}

void Paste(platform::RgbImage& target, const platform::RgbImage& source, int x, int y) {
    for (int sy = 0; sy < source.Height; ++sy) {
        const int ty = y + sy;
        if (ty < 0 || ty >= target.Height) {
            continue;
        }
        for (int sx = 0; sx < source.Width; ++sx) {
            const int tx = x + sx;
            const std::uint32_t c = source.Pixels[static_cast<std::size_t>(sy) * source.Width + sx];
            if (tx >= 0 && tx < target.Width && !IsKey(c)) {
                target.Pixels[static_cast<std::size_t>(ty) * target.Width + tx] = c;
            }
        }
    }
}

}  // namespace content
