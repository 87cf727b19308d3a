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

// The colours of 16-bit pixels, each channel widened to the full 0..255 (white stays white).
RgbImage FrameImage(const PixelBuffer16& pixels);

// Reads any PNG SDL2_image understands; into an RgbImage alpha is dropped, into an RgbaImage
// pictures without alpha read as opaque.
bool LoadPng(const std::string& path, RgbImage& image, std::string& error);
bool LoadPng(const std::string& path, RgbaImage& image, std::string& error);

}  // namespace platform
