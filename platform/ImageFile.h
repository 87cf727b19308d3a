// ImageFile: PNG files for the tools (export, import, contact sheets), through SDL2_image.
// Pixels are 0x00BBGGRR colour values (red in the low byte), rows top to bottom.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct RgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;  // Width * Height colour values
};

// Writes a 24-bit PNG. Returns false (and leaves an error text) on failure.
bool SavePng(const std::string& path, const RgbImage& image, std::string& error);

// Reads any PNG SDL2_image understands; alpha is dropped.
bool LoadPng(const std::string& path, RgbImage& image, std::string& error);

}  // namespace platform
