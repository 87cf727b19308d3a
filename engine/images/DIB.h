// DIB: decoding and encoding of device-independent bitmaps — the information (40-byte) and core
// (12-byte) headers (and in BMP files the 108- and 124-byte ones), 1/4/8/16/24/32 bits, colour
// tables, bit fields, 8- and 4-bit run-length data and top-down rows — into colour values, top
// row first. Sizes are checked against the data present and against MaxPictureSide /
// MaxPicturePixels before anything is allocated.
// Depends on Classes and Stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/assets/Classes.h"
#include "engine/assets/Stream.h"

ZARVOTH_DECLARE_EXCEPTION(EInvalidGraphic, Exception);

constexpr int MaxPictureSide = 16384;
constexpr std::size_t MaxPicturePixels = std::size_t{64} * 1024 * 1024;

// Decoded pixels: 0x00BBGGRR colour values, row by row from the top.
struct TPixelImage {
    int Width = 0;
    int Height = 0;
    std::vector<TColor> Pixels;

    bool Empty() const { return Width <= 0 || Height <= 0; }
    TColor Pixel(int x, int y) const {
        return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)];
    }
};

// A DIB inside a BMP file: its pixels start at PixelOffset from the stream's start (when that
// lies past the colour table), and its header may also be one of the longer ones (108 and 124
// bytes, carrying the bit-field masks) that image tools write.
struct TBitmapFileFrame {
    std::size_t PixelOffset = 0;
};

// Raises "DIB is invalid", "Bitcount in invalid (%d)", "PixelFormat in invalid" or
// "Stream read error". No bytes left: an empty picture. Without a file frame, the bare data of
// a "TDIB" picture.
TPixelImage DecodeDIB(TMemoryStream& stream, std::optional<TBitmapFileFrame> file = std::nullopt);

// Information header, bottom-up rows; 8 bits with a 256-entry palette (first-seen colour order)
// when the picture has at most 256 colours, else 24 bits.
std::vector<std::uint8_t> EncodeDIB(const TPixelImage& image);

// Throws "DIB is invalid" unless width x height is a picture this program accepts.
void CheckPictureSize(std::int64_t width, std::int64_t height);
