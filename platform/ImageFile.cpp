// ImageFile: conversion between colour values and SDL surfaces for PNG input and output. One
// byte per channel in memory order red, green, blue (and alpha) matches the colour values'
// byte order, so both picture kinds share the copying below.
#include "platform/ImageFile.h"

#include <SDL.h>
#include <SDL_image.h>

#include <climits>
#include <cstring>
#include "platform/NearestScaler.h"

namespace platform {
namespace {

template <typename Image>
constexpr int Channels = 3;
template <>
constexpr int Channels<RgbaImage> = 4;

template <typename Image>
constexpr Uint32 SurfaceFormat = Channels<Image> == 4 ? SDL_PIXELFORMAT_RGBA32 : SDL_PIXELFORMAT_RGB24;

std::uint8_t* Row(SDL_Surface* surface, int y) {
    return static_cast<std::uint8_t*>(surface->pixels) + static_cast<std::ptrdiff_t>(y) * surface->pitch;
}

std::size_t Index(int width, int x, int y) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
}

template <typename Image>
bool Save(const std::string& path, const Image& image, std::string& error) {
    if (image.Width <= 0 || image.Height <= 0 ||
        image.Pixels.size() != static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height)) {
        error = "image has no pixels";
        return false;
    }
    constexpr int channels = Channels<Image>;
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, image.Width, image.Height, 8 * channels, SurfaceFormat<Image>);
    if (surface == nullptr) {
        error = SDL_GetError();
        return false;
    }
    for (int y = 0; y < image.Height; ++y) {
        std::uint8_t* row = Row(surface, y);
        for (int x = 0; x < image.Width; ++x) {
            const std::uint32_t c = image.Pixels[Index(image.Width, x, y)];
            for (int channel = 0; channel < channels; ++channel) {
                row[channels * x + channel] = static_cast<std::uint8_t>((c >> (8 * channel)) & 0xFF);
            }
        }
    }
    const bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
    if (!saved) {
        error = IMG_GetError();
    }
    SDL_FreeSurface(surface);
    return saved;
}

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// The signature and the IHDR chunk that must open every PNG: its first 24 bytes give the size.
bool CheckPngHeader(SDL_RWops* source, std::string& error) {
    constexpr std::uint8_t Signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::uint8_t header[24] = {};
    if (SDL_RWread(source, header, 1, sizeof header) != sizeof header ||
        std::memcmp(header, Signature, sizeof Signature) != 0 || std::memcmp(header + 12, "IHDR", 4) != 0) {
        error = "not a PNG file";
        return false;
    }
    const std::uint32_t width = BigEndian32(header + 16);
    const std::uint32_t height = BigEndian32(header + 20);
    if (width == 0 || height == 0 || width > MaxPngSide || height > MaxPngSide) {
        error = "PNG of " + std::to_string(width) + " x " + std::to_string(height) + " pixels; each side must be 1 to " +
                std::to_string(MaxPngSide);
        return false;
    }
    if (SDL_RWseek(source, 0, RW_SEEK_SET) != 0) {
        error = SDL_GetError();
        return false;
    }
    return true;
}

}  // namespace

RgbImage FrameImage(const PixelBuffer16& frame) {
    if (frame.Pixels == nullptr || frame.Width <= 0 || frame.Height <= 0) {
        return RgbImage{};
    }
    RgbImage image{frame.Width, frame.Height, {}};
    image.Pixels.reserve(static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height));
    constexpr PixelFormat32 ColourValue{0, 8, 16, 0};  // red in the low byte
    for (int y = 0; y < image.Height; ++y) {
        const std::uint16_t* row = frame.Pixels + static_cast<std::ptrdiff_t>(y) * frame.Pitch;
        for (int x = 0; x < image.Width; ++x) {
            image.Pixels.push_back(WidenPixel(row[x], frame.Layout, ColourValue));
        }
    }
    return image;
}

namespace {

// Takes the source and closes it.
template <typename Image>
bool Load(SDL_RWops* source, Image& image, std::string& error) {
    if (source == nullptr) {
        error = SDL_GetError();
        return false;
    }
    if (!CheckPngHeader(source, error)) {
        SDL_RWclose(source);
        return false;
    }
    SDL_Surface* loaded = IMG_LoadTyped_RW(source, 1, "PNG");
    if (loaded == nullptr) {
        error = IMG_GetError();
        return false;
    }
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SurfaceFormat<Image>, 0);
    SDL_FreeSurface(loaded);
    if (converted == nullptr) {
        error = SDL_GetError();
        return false;
    }
    constexpr int channels = Channels<Image>;
    image.Width = converted->w;
    image.Height = converted->h;
    image.Pixels.assign(static_cast<std::size_t>(converted->w) * static_cast<std::size_t>(converted->h), 0);
    for (int y = 0; y < converted->h; ++y) {
        const std::uint8_t* row = Row(converted, y);
        for (int x = 0; x < converted->w; ++x) {
            std::uint32_t c = 0;
            for (int channel = 0; channel < channels; ++channel) {
                c |= static_cast<std::uint32_t>(row[channels * x + channel]) << (8 * channel);
            }
            image.Pixels[Index(converted->w, x, y)] = c;
        }
    }
    SDL_FreeSurface(converted);
    return true;
}

template <typename Image>
bool LoadBytes(const std::vector<std::uint8_t>& bytes, Image& image, std::string& error) {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        error = "PNG data too large";
        return false;
    }
    return Load(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), image, error);
}

}  // namespace

bool SavePng(const std::string& path, const RgbImage& image, std::string& error) {
    return Save(path, image, error);
}

bool SavePng(const std::string& path, const RgbaImage& image, std::string& error) {
    return Save(path, image, error);
}

bool LoadPng(const std::string& path, RgbImage& image, std::string& error) {
    return Load(SDL_RWFromFile(path.c_str(), "rb"), image, error);
}

bool LoadPng(const std::string& path, RgbaImage& image, std::string& error) {
    return Load(SDL_RWFromFile(path.c_str(), "rb"), image, error);
}

bool LoadPng(const std::vector<std::uint8_t>& bytes, RgbImage& image, std::string& error) {
    return LoadBytes(bytes, image, error);
}

bool LoadPng(const std::vector<std::uint8_t>& bytes, RgbaImage& image, std::string& error) {
    return LoadBytes(bytes, image, error);
}

}  // namespace platform
