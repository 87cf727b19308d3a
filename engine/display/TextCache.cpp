// TextCache: a least-recently-used list of line coverage masks, found by a hash of what they show.
#include "engine/display/TextCache.h"

#include <algorithm>
#include <functional>

#include "engine/display/DirectDrawSurface.h"
#include "platform/Text.h"

namespace {

// Room for the lines of a few dialogs, the overlay and the menu many times over.
constexpr std::size_t CanvasPixelBudget = 2'000'000;
constexpr std::size_t CanvasLineBudget = 1024;

}  // namespace

TTextCache& CanvasTextCache() {
    static TTextCache cache(CanvasPixelBudget, CanvasLineBudget);
    return cache;
}

TTextCache::TTextCache(std::size_t pixelBudget, std::size_t lineBudget)
    : FPixelBudget(pixelBudget), FLineBudget(lineBudget) {}

std::size_t TTextCache::HashOf(const TFont& font, std::string_view text) {
    // Hashing views allocates nothing, so a line found again costs no allocation.
    const std::hash<std::string_view> hash;
    std::size_t value = hash(text);
    const auto mix = [&value](std::size_t part) { value ^= part + 0x9E3779B97F4A7C15ull + (value << 6) + (value >> 2); };
    mix(hash(font.Name));
    mix(static_cast<std::size_t>(font.PixelHeight()));
    mix(static_cast<std::size_t>(font.Style));
    return value;
}

bool TTextCache::Matches(const TEntry& entry, const TFont& font, std::string_view text) {
    return entry.Text == text && entry.Font.Style == font.Style && entry.Font.PixelHeight() == font.PixelHeight() &&
           entry.Font.Name == font.Name;
}

TTextCache::TLinePicture TTextCache::Render(const TFont& font, std::string_view text) {
    platform::TextMask mask;
    if (!platform::RenderTextMask(font.Request(), text, mask)) {
        return {};
    }
    // Coverage in the draw's steps; a pixel too faint to reach one is no ink.
    const auto steps = [&mask](int x, int y) {
        const unsigned coverage =
            mask.Coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.Width) + static_cast<std::size_t>(x)];
        return static_cast<std::uint8_t>((coverage * TDirectDrawSurface::FullCoverage + 127) / 255);
    };
    int left = mask.Width, top = mask.Height, right = 0, bottom = 0;
    for (int y = 0; y < mask.Height; ++y) {
        for (int x = 0; x < mask.Width; ++x) {
            if (steps(x, y) != 0) {
                left = std::min(left, x);
                right = std::max(right, x + 1);
                top = std::min(top, y);
                bottom = std::max(bottom, y + 1);
            }
        }
    }
    if (right <= left) {
        return {};
    }
    TLinePicture picture{left, top, right - left, bottom - top, {}};
    picture.Coverage.reserve(static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height));
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            picture.Coverage.push_back(steps(x, y));
        }
    }
    return picture;
}

const TTextCache::TLinePicture* TTextCache::Line(const TFont& font, std::string_view text) {
    const std::size_t hash = HashOf(font, text);
    TEntries::iterator entry;
    if (const auto found = FIndex.find(hash); found != FIndex.end() && Matches(*found->second, font, text)) {
        entry = found->second;
        FEntries.splice(FEntries.begin(), FEntries, entry);
    } else {
        // Another line under the same hash gives way.
        if (found != FIndex.end()) {
            Drop(found->second);
        }
        FEntries.push_front(TEntry{hash, font, std::string(text), Render(font, text)});
        entry = FEntries.begin();
        FIndex.emplace(hash, entry);
        FPixels += entry->Picture.Coverage.size();
        // The line just drawn stays, even alone over the budget.
        while (FEntries.size() > 1 && (FPixels > FPixelBudget || FEntries.size() > FLineBudget)) {
            Drop(std::prev(FEntries.end()));
        }
    }
    return !entry->Picture.Coverage.empty() ? &entry->Picture : nullptr;
}

bool TTextCache::Holds(const TFont& font, std::string_view text) const {
    const auto found = FIndex.find(HashOf(font, text));
    return found != FIndex.end() && Matches(*found->second, font, text);
}

void TTextCache::Drop(TEntries::iterator entry) {
    FPixels -= entry->Picture.Coverage.size();
    FIndex.erase(entry->Hash);
    FEntries.erase(entry);
}
