// NearestScaler: the nearest-neighbour pass (see NearestScaler.h).
#include "platform/NearestScaler.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// RGB565 into the usual desktop layout (red at 16, green at 8, blue at 0), eight pixels at a
// time: each channel moved to its place and its top bits repeated below it.
std::size_t WidenToXrgb(const std::uint16_t* in, std::uint32_t* out, std::size_t count) {
    const __m128i zero = _mm_setzero_si128();
    const auto widen = [](__m128i p) {
        const auto bits = [p](int mask) { return _mm_and_si128(p, _mm_set1_epi32(mask)); };
        const __m128i red = _mm_or_si128(_mm_slli_epi32(bits(0xF800), 8), _mm_slli_epi32(bits(0xE000), 3));
        const __m128i green = _mm_or_si128(_mm_slli_epi32(bits(0x07E0), 5), _mm_srli_epi32(bits(0x0600), 1));
        const __m128i blue = _mm_or_si128(_mm_slli_epi32(bits(0x001F), 3), _mm_srli_epi32(bits(0x001C), 2));
        return _mm_or_si128(red, _mm_or_si128(green, blue));
    };
    std::size_t x = 0;
    for (; x + 8 <= count; x += 8) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), widen(_mm_unpacklo_epi16(pixels, zero)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 4), widen(_mm_unpackhi_epi16(pixels, zero)));
    }
    return x;
}
#endif

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
    std::size_t x = 0;
#if defined(__SSE2__)
    if (FTablesLayout == PixelLayout::RGB565 && FTablesFormat == PixelFormat32{16, 8, 0, 0}) {
        x = WidenToXrgb(in, out, count);
    }
#endif
    for (; x < count; ++x) {
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
