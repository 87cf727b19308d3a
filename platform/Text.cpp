// Text: fontconfig finds the font file for a family name, SDL_ttf rasterises the line, and the
// glyph coverage is blended onto the 16-bit pixels (transparent background).
#include "platform/Text.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <mutex>
#include <tuple>

namespace platform {
namespace {

struct FontCloser {
    void operator()(TTF_Font* font) const { TTF_CloseFont(font); }
};

class FontCache {
public:
    ~FontCache() {
        FFonts.clear();
        if (FTtfReady) {
            TTF_Quit();
        }
    }

    // Smoothed glyphs take light hinting; unsmoothed ones the hinting made for whole pixels.
    TTF_Font* Open(const FontRequest& request) {
        const auto key = std::make_tuple(request.Name, request.PixelHeight, request.Bold, request.Smooth);
        if (auto found = FFonts.find(key); found != FFonts.end()) {
            return found->second.get();
        }
        if (!FTtfReady) {
            if (TTF_Init() != 0) {
                return nullptr;
            }
            FTtfReady = true;
        }
        const std::string file = ResolveFontFile(request.Name, request.Bold);
        TTF_Font* font = file.empty() ? nullptr : TTF_OpenFont(file.c_str(), request.PixelHeight > 0 ? request.PixelHeight : 1);
        if (font != nullptr) {
            // The em height is the requested size; SDL_ttf's point size at 72 dpi is that height.
            TTF_SetFontHinting(font, request.Smooth ? TTF_HINTING_LIGHT : TTF_HINTING_MONO);
        }
        FFonts.emplace(key, std::unique_ptr<TTF_Font, FontCloser>(font));
        return font;
    }

private:
    bool FTtfReady = false;
    std::map<std::tuple<std::string, int, bool, bool>, std::unique_ptr<TTF_Font, FontCloser>> FFonts;
};

FontCache& Fonts() {
    static FontCache cache;
    return cache;
}

std::uint16_t Blend(PixelLayout layout, std::uint16_t under, int red, int green, int blue, int coverage) {
    int r0, g0, b0;
    if (layout == PixelLayout::RGB565) {
        r0 = (under >> 11) << 3;
        g0 = ((under >> 5) & 0x3F) << 2;
        b0 = (under & 0x1F) << 3;
    } else {
        r0 = ((under >> 10) & 0x1F) << 3;
        g0 = ((under >> 5) & 0x1F) << 3;
        b0 = (under & 0x1F) << 3;
    }
    const auto mix = [coverage](int from, int to) { return from + (to - from) * coverage / 255; };
    return PackRGB(layout, mix(r0, red), mix(g0, green), mix(b0, blue));
}

}  // namespace

std::string ResolveFontFile(const std::string& family, bool bold) {
    static std::mutex lock;
    const std::scoped_lock guard(lock);
    if (FcInit() == FcFalse) {
        return {};
    }
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
    if (pattern == nullptr) {
        return {};
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddString(pattern, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>("TrueType"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    if (match != nullptr) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr) {
            file = reinterpret_cast<const char*>(path);
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

bool MeasureText(const FontRequest& request, std::string_view text, int& width, int& height) {
    width = 0;
    height = 0;
    TTF_Font* font = Fonts().Open(request);
    if (font == nullptr) {
        return false;
    }
    const std::string line(text);
    if (TTF_SizeUTF8(font, line.c_str(), &width, &height) != 0) {
        return false;
    }
    return true;
}

namespace {

// The line in white: smoothed as 32-bit pixels with coverage in alpha, otherwise as 8 bits where
// index 0 is the background and any other index ink. Null when it cannot be rendered.
SDL_Surface* RenderGlyphs(const FontRequest& request, std::string_view text) {
    TTF_Font* font = Fonts().Open(request);
    if (font == nullptr || text.empty()) {
        return nullptr;
    }
    const std::string line(text);
    const SDL_Color white{255, 255, 255, 255};
    return request.Smooth ? TTF_RenderUTF8_Blended(font, line.c_str(), white)
                          : TTF_RenderUTF8_Solid(font, line.c_str(), white);
}

}  // namespace

bool RenderTextMask(const FontRequest& request, std::string_view text, TextMask& mask) {
    mask = TextMask{};
    FontRequest whole = request;
    whole.Smooth = false;
    SDL_Surface* glyphs = RenderGlyphs(whole, text);
    if (glyphs == nullptr) {
        return false;
    }
    mask.Width = glyphs->w;
    mask.Height = glyphs->h;
    mask.Ink.resize(static_cast<std::size_t>(glyphs->w) * static_cast<std::size_t>(glyphs->h));
    for (int row = 0; row < glyphs->h; ++row) {
        const auto* source = static_cast<const std::uint8_t*>(glyphs->pixels) + static_cast<std::ptrdiff_t>(row) * glyphs->pitch;
        for (int col = 0; col < glyphs->w; ++col) {
            mask.Ink[static_cast<std::size_t>(row) * static_cast<std::size_t>(glyphs->w) + static_cast<std::size_t>(col)] =
                source[col] != 0 ? 1 : 0;
        }
    }
    SDL_FreeSurface(glyphs);
    return true;
}

bool DrawText(const PixelBuffer16& target, const FontRequest& request, unsigned color, int x, int y,
              std::string_view text) {
    if (text.empty()) {
        return true;
    }
    FontRequest smooth = request;
    smooth.Smooth = true;
    SDL_Surface* glyphs = RenderGlyphs(smooth, text);
    if (glyphs == nullptr) {
        return false;
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(glyphs, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(glyphs);
    if (argb == nullptr) {
        return false;
    }
    const int red = static_cast<int>(color & 0xFF);
    const int green = static_cast<int>((color >> 8) & 0xFF);
    const int blue = static_cast<int>((color >> 16) & 0xFF);
    for (int row = 0; row < argb->h; ++row) {
        const int ty = y + row;
        if (ty < 0 || ty >= target.Height) {
            continue;
        }
        const auto* source = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(argb->pixels) +
                                                                    static_cast<std::ptrdiff_t>(row) * argb->pitch);
        std::uint16_t* dest = target.Pixels + static_cast<std::ptrdiff_t>(ty) * target.Pitch;
        for (int col = 0; col < argb->w; ++col) {
            const int tx = x + col;
            const int coverage = static_cast<int>(source[col] >> 24);
            if (tx < 0 || tx >= target.Width || coverage == 0) {
                continue;
            }
            dest[tx] = Blend(target.Layout, dest[tx], red, green, blue, coverage);
        }
    }
    SDL_FreeSurface(argb);
    return true;
}

}  // namespace platform
