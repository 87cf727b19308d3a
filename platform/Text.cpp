// Text: fontconfig finds the font file for a family name (or a face of like proportions standing
// in for it), SDL_ttf rasterises the line, and the glyph coverage is blended onto the 16-bit
// pixels (transparent background).
#include "platform/Text.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <set>
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

    TTF_Font* Open(const FontRequest& request) {
        const auto key = std::make_tuple(request.Name, request.PixelHeight, request.Bold, request.Hinted);
        if (auto found = FFonts.find(key); found != FFonts.end()) {
            return found->second.get();
        }
        if (!FTtfReady) {
            if (TTF_Init() != 0) {
                WarnOnce(request.Name, TTF_GetError());
                return nullptr;
            }
            FTtfReady = true;
        }
        const std::string file = ResolveFontFile(request.Name, request.Bold);
        TTF_Font* font = file.empty() ? nullptr : TTF_OpenFont(file.c_str(), request.PixelHeight > 0 ? request.PixelHeight : 1);
        if (font != nullptr) {
            // The em height is the requested size; SDL_ttf's point size at 72 dpi is that height.
            TTF_SetFontHinting(font, request.Hinted ? TTF_HINTING_LIGHT : TTF_HINTING_NONE);
        } else {
            WarnOnce(request.Name, file.empty() ? "no installed font matches it" : TTF_GetError());
        }
        FFonts.emplace(key, std::unique_ptr<TTF_Font, FontCloser>(font));
        return font;
    }

private:
    // Blank text would leave a player guessing, so the face is named; once, as every frame asks.
    void WarnOnce(const std::string& face, const std::string& reason) {
        if (FWarned.insert(face).second) {
            std::fprintf(stderr, "%s: the font \"%s\" cannot be opened (%s); its text is not drawn\n",
                         program_invocation_short_name, face.c_str(), reason.c_str());
        }
    }

    bool FTtfReady = false;
    std::map<std::tuple<std::string, int, bool, bool>, std::unique_ptr<TTF_Font, FontCloser>> FFonts;
    std::set<std::string> FWarned;
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

// Faces the game names that desktops seldom have, each with an installed face of the same
// proportions. The dialogs set 13-pixel lines 10 pixels apart: only Courier's short capitals
// and descenders keep the ink of one line clear of the next.
struct StandIn {
    const char* Family;
    const char* Face;
};
constexpr StandIn StandIns[] = {{"Courier New", "Nimbus Mono PS"}};

const FcChar8* FcText(const char* text) {
    return reinterpret_cast<const FcChar8*>(text);
}

// SDL_ttf takes TrueType and OpenType (CFF) outlines; a Type 1 copy of a face is passed over.
bool Usable(FcPattern* font) {
    FcChar8* format = nullptr;
    return FcPatternGetString(font, FC_FONTFORMAT, 0, &format) == FcResultMatch &&
           (FcStrCmp(format, FcText("TrueType")) == 0 || FcStrCmp(format, FcText("CFF")) == 0);
}

bool OfFamily(FcPattern* font, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(name, FcText(family)) == 0) {
            return true;
        }
    }
    return false;
}

// The file of the usable font fontconfig ranks first for the family; with exact set, only when
// that font is of the family itself rather than a substitute.
std::string BestFile(const char* family, bool bold, bool exact) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) {
        return {};
    }
    FcPatternAddString(pattern, FC_FAMILY, FcText(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* ranked = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
    FcPatternDestroy(pattern);
    std::string file;
    for (int i = 0; ranked != nullptr && i < ranked->nfont; ++i) {
        FcPattern* font = ranked->fonts[i];
        if (!Usable(font)) {
            continue;
        }
        FcChar8* path = nullptr;
        if ((!exact || OfFamily(font, family)) && FcPatternGetString(font, FC_FILE, 0, &path) == FcResultMatch) {
            file = reinterpret_cast<const char*>(path);
        }
        break;
    }
    if (ranked != nullptr) {
        FcFontSetDestroy(ranked);
    }
    return file;
}

}  // namespace

std::string ResolveFontFile(const std::string& family, bool bold) {
    static std::mutex lock;
    const std::scoped_lock guard(lock);
    if (FcInit() == FcFalse) {
        return {};
    }
    std::string file = BestFile(family.c_str(), bold, true);
    for (const StandIn& standIn : StandIns) {
        if (file.empty() && FcStrCmpIgnoreCase(FcText(family.c_str()), FcText(standIn.Family)) == 0) {
            file = BestFile(standIn.Face, bold, true);
        }
    }
    return file.empty() ? BestFile(family.c_str(), bold, false) : file;
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

bool RenderTextMask(const FontRequest& request, std::string_view text, TextMask& mask) {
    mask = TextMask{};
    TTF_Font* font = Fonts().Open(request);
    if (font == nullptr || text.empty()) {
        return false;
    }
    // Rendered in white, with the coverage in alpha.
    const std::string line(text);
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, line.c_str(), SDL_Color{255, 255, 255, 255});
    SDL_Surface* argb = rendered != nullptr ? SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0) : nullptr;
    SDL_FreeSurface(rendered);
    if (argb == nullptr) {
        return false;
    }
    mask.Width = argb->w;
    mask.Height = argb->h;
    mask.Coverage.reserve(static_cast<std::size_t>(argb->w) * static_cast<std::size_t>(argb->h));
    for (int y = 0; y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(argb->pixels) +
                                                                 static_cast<std::ptrdiff_t>(y) * argb->pitch);
        for (int x = 0; x < argb->w; ++x) {
            mask.Coverage.push_back(static_cast<std::uint8_t>(row[x] >> 24));
        }
    }
    SDL_FreeSurface(argb);
    return true;
}

bool DrawText(const PixelBuffer16& target, const FontRequest& request, unsigned color, int x, int y,
              std::string_view text) {
    if (text.empty()) {
        return true;
    }
    TextMask mask;
    if (!RenderTextMask(request, text, mask)) {
        return false;
    }
    const int red = static_cast<int>(color & 0xFF);
    const int green = static_cast<int>((color >> 8) & 0xFF);
    const int blue = static_cast<int>((color >> 16) & 0xFF);
    for (int row = 0; row < mask.Height; ++row) {
        const int ty = y + row;
        if (ty < 0 || ty >= target.Height) {
            continue;
        }
        const std::uint8_t* source = mask.Coverage.data() + static_cast<std::ptrdiff_t>(row) * mask.Width;
        std::uint16_t* dest = target.Pixels + static_cast<std::ptrdiff_t>(ty) * target.Pitch;
        for (int col = 0; col < mask.Width; ++col) {
            const int tx = x + col;
            const int coverage = source[col];
            if (tx < 0 || tx >= target.Width || coverage == 0) {
                continue;
            }
            dest[tx] = Blend(target.Layout, dest[tx], red, green, blue, coverage);
        }
    }
    return true;
}

}  // namespace platform
