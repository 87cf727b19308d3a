// ImageFile: conversion between colour values and SDL surfaces for PNG input and output.
#include "platform/ImageFile.h"

#include <SDL.h>
#include <SDL_image.h>

namespace platform {

bool SavePng(const std::string& path, const RgbImage& image, std::string& error) {
    if (image.Width <= 0 || image.Height <= 0 ||
        image.Pixels.size() != static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height)) {
        error = "image has no pixels";
        return false;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, image.Width, image.Height, 24, SDL_PIXELFORMAT_RGB24);
    if (surface == nullptr) {
        error = SDL_GetError();
        return false;
    }
    for (int y = 0; y < image.Height; ++y) {
        auto* row = static_cast<std::uint8_t*>(surface->pixels) + static_cast<std::ptrdiff_t>(y) * surface->pitch;
        for (int x = 0; x < image.Width; ++x) {
            const std::uint32_t c = image.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.Width) +
                                                 static_cast<std::size_t>(x)];
            row[3 * x + 0] = static_cast<std::uint8_t>(c & 0xFF);
            row[3 * x + 1] = static_cast<std::uint8_t>((c >> 8) & 0xFF);
            row[3 * x + 2] = static_cast<std::uint8_t>((c >> 16) & 0xFF);
        }
    }
    const bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
    if (!saved) {
        error = IMG_GetError();
    }
    SDL_FreeSurface(surface);
    return saved;
}

bool LoadPng(const std::string& path, RgbImage& image, std::string& error) {
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (loaded == nullptr) {
        error = IMG_GetError();
        return false;
    }
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(loaded);
    if (rgb == nullptr) {
        error = SDL_GetError();
        return false;
    }
    image.Width = rgb->w;
    image.Height = rgb->h;
    image.Pixels.assign(static_cast<std::size_t>(rgb->w) * static_cast<std::size_t>(rgb->h), 0);
    for (int y = 0; y < rgb->h; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(rgb->pixels) + static_cast<std::ptrdiff_t>(y) * rgb->pitch;
        for (int x = 0; x < rgb->w; ++x) {
            image.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(rgb->w) + static_cast<std::size_t>(x)] =
                static_cast<std::uint32_t>(row[3 * x]) | (static_cast<std::uint32_t>(row[3 * x + 1]) << 8) |
                (static_cast<std::uint32_t>(row[3 * x + 2]) << 16);
        }
    }
    SDL_FreeSurface(rgb);
    return true;
}

}  // namespace platform
