// Captions: white text drawn on black 16-bit pixels gives its coverage in the green channel.
#include "tools/raster/Captions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/Text.h"
#include "tools/raster/Shapes.h"

namespace content {
namespace {
platform::FontRequest Request(const Font& font) {
    return platform::FontRequest{font.Family, font.Size, font.Bold};
}
}  // namespace

int TextWidth(const Font& font, std::string_view text) {
    int width = 0;
    int height = 0;
    platform::MeasureText(Request(font), text, width, height);
    return width;
}

std::vector<std::string> WrapText(const Font& font, std::string_view text, int maxWidth) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find(' ', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string word(text.substr(pos, end - pos));
        const std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && TextWidth(font, candidate) > maxWidth) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
        pos = end + 1;
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

Font FitFont(Font font, std::string_view text, int maxWidth) {
    while (font.Size > 6 && TextWidth(font, text) > maxWidth) {
        --font.Size;
    }
    return font;
}

Mask TextMask(const Font& font, std::string_view text) {
    int width = 0;
    int height = 0;
    if (!platform::MeasureText(Request(font), text, width, height) || width <= 0 || height <= 0) {
        return {};
    }
    std::vector<std::uint16_t> pixels(static_cast<std::size_t>(width) * height, 0);
    const platform::PixelBuffer16 buffer{pixels.data(), width, height, width, platform::PixelLayout::RGB565};
    platform::DrawText(buffer, Request(font), 0xFFFFFF, 0, 0, text);
    Mask mask{width, height, std::vector<float>(pixels.size())};
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        mask.Values[i] = static_cast<float>((pixels[i] >> 5) & 0x3F) / 63.0f;
    }
    return mask;
}

namespace {
// Box blur of `count` values `stride` apart, in place.
void BoxBlurLine(float* values, int count, int stride, int radius) {
    std::vector<float> line(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        line[static_cast<std::size_t>(i)] = values[static_cast<std::ptrdiff_t>(i) * stride];
    }
    for (int i = 0; i < count; ++i) {
        float sum = 0;
        for (int k = std::max(0, i - radius); k <= std::min(count - 1, i + radius); ++k) {
            sum += line[static_cast<std::size_t>(k)];
        }
        values[static_cast<std::ptrdiff_t>(i) * stride] = sum / static_cast<float>(2 * radius + 1);
    }
}
}  // namespace

Mask Blurred(const Mask& mask, int radius) {
    Mask out{mask.Width + 2 * radius, mask.Height + 2 * radius, {}};
    out.Values.assign(static_cast<std::size_t>(out.Width) * out.Height, 0.0f);
    for (int y = 0; y < mask.Height; ++y) {
        for (int x = 0; x < mask.Width; ++x) {
            out.Values[static_cast<std::size_t>(y + radius) * out.Width + x + radius] = mask.At(x, y);
        }
    }
    // Two box passes in each direction approximate a soft Gaussian halo.
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < out.Height; ++y) {
            BoxBlurLine(&out.Values[static_cast<std::size_t>(y) * out.Width], out.Width, 1, radius);
        }
        for (int x = 0; x < out.Width; ++x) {
            BoxBlurLine(&out.Values[static_cast<std::size_t>(x)], out.Height, out.Width, radius);
        }
    }
    return out;
}

void DrawCaption(Canvas& canvas, const Font& font, std::string_view text, float x, float y, Align align,
                 const CaptionStyle& style) {
    const Mask mask = TextMask(font, text);
    if (mask.Width == 0) {
        return;
    }
    float left = x;
    if (align == Align::Centre) {
        left -= static_cast<float>(mask.Width) / 2;
    } else if (align == Align::Right) {
        left -= static_cast<float>(mask.Width);
    }
    const int ix = static_cast<int>(std::lround(left));
    const int iy = static_cast<int>(std::lround(y));
    if (style.Glow.A > 0) {
        const int radius = std::max(1, static_cast<int>(style.GlowRadius));
        Mask halo = Blurred(mask, radius);
        for (float& v : halo.Values) {
            v = std::min(1.0f, v * 2.2f);
        }
        canvas.FillMask(halo, ix - radius, iy - radius, Solid(style.Glow), Blend::Add);
    }
    if (style.Shadow.A > 0) {
        canvas.FillMask(mask, ix + 1, iy + 1, Solid(style.Shadow));
    }
    const auto top = static_cast<float>(iy);
    const auto bottom = static_cast<float>(iy + mask.Height);
    canvas.FillMask(mask, ix, iy, Linear({0, top + 0.2f * (bottom - top)}, {0, bottom - 0.15f * (bottom - top)},
                                         {{0, style.Top}, {1, style.Bottom}}));
}

void DrawCaptionIn(Canvas& canvas, const Font& font, std::string_view text, float left, float top, float right,
                   float bottom, const CaptionStyle& style) {
    int width = 0;
    int height = 0;
    platform::MeasureText(Request(font), text, width, height);
    DrawCaption(canvas, font, text, (left + right) / 2, (top + bottom) / 2 - static_cast<float>(height) / 2,
                Align::Centre, style);
}

}  // namespace content
