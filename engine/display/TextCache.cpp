// TextCache: a least-recently-used list of line pictures, found by a hash of what they show.
#include "engine/display/TextCache.h"

#include <algorithm>
#include <functional>

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

std::size_t TTextCache::HashOf(const TFont& font, platform::PixelLayout layout, std::string_view text) {
    // Hashing views allocates nothing, so a line found again costs no allocation.
    const std::hash<std::string_view> hash;
    std::size_t value = hash(text);
    const auto mix = [&value](std::size_t part) { value ^= part + 0x9E3779B97F4A7C15ull + (value << 6) + (value >> 2); };
    mix(hash(font.Name));
    mix(static_cast<std::size_t>(font.PixelHeight()));
    mix(static_cast<std::size_t>(font.Style));
    mix(font.Color);
    mix(static_cast<std::size_t>(layout));
    return value;
}

bool TTextCache::Matches(const TEntry& entry, const TFont& font, platform::PixelLayout layout,
                         std::string_view text) {
    return entry.Text == text && entry.Layout == layout && entry.Font.Color == font.Color &&
           entry.Font.Style == font.Style && entry.Font.PixelHeight() == font.PixelHeight() &&
           entry.Font.Name == font.Name;
}

TTextCache::TLinePicture TTextCache::Render(const TFont& font, platform::PixelLayout layout, std::string_view text) {
    platform::TextMask mask;
    const platform::FontRequest request{font.Name, font.PixelHeight(), font.Style == TFontStyle::Bold, false};
    if (!platform::RenderTextMask(request, text, mask)) {
        return {};
    }
    // The box of the ink.
    int left = mask.Width, top = mask.Height, right = 0, bottom = 0;
    for (int y = 0; y < mask.Height; ++y) {
        for (int x = 0; x < mask.Width; ++x) {
            if (mask.Ink[static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.Width) + static_cast<std::size_t>(x)]) {
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
    auto surface = std::make_unique<TDirectDrawSurface>(right - left, bottom - top, layout);
    const std::uint16_t ink = surface->ColorToPixel(font.Color);
    const auto key = static_cast<std::uint16_t>(ink ^ 1u);  // any value but the ink's
    surface->SetColorKey(key);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const bool inked =
                mask.Ink[static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.Width) + static_cast<std::size_t>(x)];
            surface->SetPixel(x - left, y - top, inked ? ink : key);
        }
    }
    return TLinePicture{std::move(surface), left, top};
}

std::size_t TTextCache::PixelsOf(const TEntry& entry) {
    const TDirectDrawSurface* surface = entry.Picture.Surface.get();
    return surface != nullptr ? static_cast<std::size_t>(surface->Width()) * static_cast<std::size_t>(surface->Height())
                              : 0;
}

const TTextCache::TLinePicture* TTextCache::Line(const TFont& font, platform::PixelLayout layout,
                                                 std::string_view text) {
    const std::size_t hash = HashOf(font, layout, text);
    TEntries::iterator entry;
    if (const auto found = FIndex.find(hash); found != FIndex.end() && Matches(*found->second, font, layout, text)) {
        entry = found->second;
        FEntries.splice(FEntries.begin(), FEntries, entry);
    } else {
        // Another line under the same hash gives way.
        if (found != FIndex.end()) {
            Drop(found->second);
        }
        FEntries.push_front(TEntry{hash, font, layout, std::string(text), Render(font, layout, text)});
        entry = FEntries.begin();
        FIndex.emplace(hash, entry);
        FPixels += PixelsOf(*entry);
        // The line just drawn stays, even alone over the budget.
        while (FEntries.size() > 1 && (FPixels > FPixelBudget || FEntries.size() > FLineBudget)) {
            Drop(std::prev(FEntries.end()));
        }
    }
    return entry->Picture.Surface != nullptr ? &entry->Picture : nullptr;
}

bool TTextCache::Holds(const TFont& font, platform::PixelLayout layout, std::string_view text) const {
    const auto found = FIndex.find(HashOf(font, layout, text));
    return found != FIndex.end() && Matches(*found->second, font, layout, text);
}

void TTextCache::Drop(TEntries::iterator entry) {
    FPixels -= PixelsOf(*entry);
    FIndex.erase(entry->Hash);
    FEntries.erase(entry);
}
