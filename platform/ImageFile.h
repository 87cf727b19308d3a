// ImageFile: PNG files for the tools (export, import, contact sheets, icons), through SDL2_image.
// Pixels are 0x00BBGGRR colour values (red in the low byte), rows top to bottom; pictures with
// transparency carry straight (not premultiplied) alpha in the top byte, 0xAABBGGRR.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PixelBuffer.h"

namespace platform {

struct RgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;  // Width * Height colour values
};

struct RgbaImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;  // Width * Height colour values with alpha
};

// Writes a 24-bit PNG, or a 32-bit one with its alpha channel. Returns false (and leaves an
// error text) on failure.
bool SavePng(const std::string& path, const RgbImage& image, std::string& error);
bool SavePng(const std::string& path, const RgbaImage& image, std::string& error);

// The longest side a PNG may declare: its header is read first, so a huge picture is refused
// before anything is decoded.
constexpr std::uint32_t MaxPngSide = 16384;

// A 16-bit frame as colour values, each channel widened to 8 bits (white stays white).
RgbImage FrameImage(const PixelBuffer16& frame);

// Reads a PNG file, or PNG bytes in memory; into an RgbImage alpha is dropped, into an RgbaImage
// pictures without alpha read as opaque. Anything that is not a PNG, or whose header declares a
// side of 0 or above MaxPngSide, is refused with an error text.
bool LoadPng(const std::string& path, RgbImage& image, std::string& error);
bool LoadPng(const std::string& path, RgbaImage& image, std::string& error);
bool LoadPng(const std::vector<std::uint8_t>& bytes, RgbImage& image, std::string& error);
bool LoadPng(const std::vector<std::uint8_t>& bytes, RgbaImage& image, std::string& error);

}  // namespace platform
