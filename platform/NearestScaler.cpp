// NearestScaler: the nearest-neighbour pass (see NearestScaler.h).
#include "platform/NearestScaler.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// View position i of count shows source position (i * size) / count: whole factors repeat every
// source pixel the same number of times.
void MapPositions(std::vector<int>& map, int viewSize, int sourceSize) {
    map.resize(static_cast<std::size_t>(std::max(viewSize, 0)));
    for (std::size_t i = 0; i < map.size(); ++i) {
        map[i] = static_cast<int>(static_cast<std::int64_t>(i) * sourceSize / viewSize);
    }
}

}  // namespace

std::uint32_t WidenPixel(std::uint16_t pixel, PixelLayout layout, const PixelFormat32& format) {
    const bool wideGreen = layout == PixelLayout::RGB565;
    const std::uint32_t red = (pixel >> (wideGreen ? 11 : 10)) & 0x1F;
    const std::uint32_t green = wideGreen ? (pixel >> 5) & 0x3F : (pixel >> 5) & 0x1F;
    const std::uint32_t blue = pixel & 0x1F;
    const std::uint32_t red8 = (red << 3) | (red >> 2);
    const std::uint32_t green8 = wideGreen ? (green << 2) | (green >> 4) : (green << 3) | (green >> 2);
    const std::uint32_t blue8 = (blue << 3) | (blue >> 2);
    return (red8 << format.RedShift) | (green8 << format.GreenShift) | (blue8 << format.BlueShift) | format.Opaque;
}

void NearestScaler::Prepare(int frameWidth, int frameHeight, int viewWidth, int viewHeight) {
    MapPositions(FColumns, viewWidth, frameWidth);
    MapPositions(FRows, viewHeight, frameHeight);
    FRow.resize(static_cast<std::size_t>(std::max(frameWidth, 0)));
    FSameWidth = viewWidth == frameWidth;
}

void NearestScaler::ConvertRow(const std::uint16_t* in, std::uint32_t* out, std::size_t count) const {
    for (std::size_t x = 0; x < count; ++x) {
        out[x] = FHigh[in[x] >> 8] | FLow[in[x] & 0xFF];
    }
}

void NearestScaler::Scale(const PixelBuffer16& frame, const PixelFormat32& format, std::uint32_t* view,
                          std::ptrdiff_t pitch) {
    if (frame.Pixels == nullptr || frame.Height <= 0 || static_cast<std::size_t>(frame.Width) != FRow.size()) {
        return;
    }
    if (frame.Layout != FTablesLayout || !(format == FTablesFormat)) {
        for (std::uint16_t byte = 0; byte < 256; ++byte) {
            FHigh[byte] = WidenPixel(static_cast<std::uint16_t>(byte << 8), frame.Layout, format) & ~format.Opaque;
            FLow[byte] = WidenPixel(byte, frame.Layout, format);
        }
        FTablesLayout = frame.Layout;
        FTablesFormat = format;
    }
    const std::size_t width = FColumns.size();
    int converted = -1;
    for (std::size_t y = 0; y < FRows.size(); ++y) {
        std::uint32_t* out = view + static_cast<std::ptrdiff_t>(y) * pitch;
        const int row = std::min(FRows[y], frame.Height - 1);
        if (row == converted) {
            std::memcpy(out, out - pitch, width * sizeof(std::uint32_t));
            continue;
        }
        const std::uint16_t* in = frame.Pixels + static_cast<std::ptrdiff_t>(row) * frame.Pitch;
        if (FSameWidth) {
            ConvertRow(in, out, width);
        } else {
            ConvertRow(in, FRow.data(), FRow.size());
            for (std::size_t x = 0; x < width; ++x) {
                out[x] = FRow[static_cast<std::size_t>(FColumns[x])];
            }
        }
        converted = row;
    }
}

}  // namespace platform
