// ImageFile: conversion between colour values and SDL surfaces for PNG input and output. One
// byte per channel in memory order red, green, blue (and alpha) matches the colour values'
// byte order, so both picture kinds share the copying below.
#include "platform/ImageFile.h"

#include <SDL.h>
#include <SDL_image.h>

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

template <typename Image>
bool Load(const std::string& path, Image& image, std::string& error) {
    SDL_Surface* loaded = IMG_Load(path.c_str());
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

}  // namespace

bool SavePng(const std::string& path, const RgbImage& image, std::string& error) {
    return Save(path, image, error);
}

bool SavePng(const std::string& path, const RgbaImage& image, std::string& error) {
    return Save(path, image, error);
}

RgbImage FrameImage(const PixelBuffer16& pixels) {
    const bool wideGreen = pixels.Layout == PixelLayout::RGB565;
    const int greenBits = wideGreen ? 6 : 5;
    const int redShift = wideGreen ? 11 : 10;
    const auto widen = [](int value, int bits) { return value * 255 / ((1 << bits) - 1); };
    RgbImage image{pixels.Width, pixels.Height, {}};
    image.Pixels.reserve(static_cast<std::size_t>(pixels.Width) * static_cast<std::size_t>(pixels.Height));
    for (int y = 0; y < pixels.Height; ++y) {
        const std::uint16_t* row = pixels.Pixels + static_cast<std::ptrdiff_t>(y) * pixels.Pitch;
        for (int x = 0; x < pixels.Width; ++x) {
            const int red = widen((row[x] >> redShift) & 31, 5);
            const int green = widen((row[x] >> 5) & ((1 << greenBits) - 1), greenBits);
            const int blue = widen(row[x] & 31, 5);
            image.Pixels.push_back(static_cast<std::uint32_t>(red | green << 8 | blue << 16));
        }
    }
    return image;
}

bool LoadPng(const std::string& path, RgbImage& image, std::string& error) {
    return Load(path, image, error);
}

bool LoadPng(const std::string& path, RgbaImage& image, std::string& error) {
    return Load(path, image, error);
}

}  // namespace platform
