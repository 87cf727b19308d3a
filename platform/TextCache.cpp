// TextCache: a least-recently-used list of rendered lines, found by a hash of font and string.
#include "platform/TextCache.h"

#include <functional>
#include <utility>

namespace platform {

TextCoverage::TextCoverage(int width, int height, std::vector<std::uint8_t> alpha)
    : Width(width), Height(height), Alpha(std::move(alpha)), Rows(static_cast<std::size_t>(height)) {
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* line = Alpha.data() + static_cast<std::ptrdiff_t>(row) * width;
        int first = 0;
        while (first < width && line[first] == 0) ++first;
        int last = width;
        while (last > first && line[last - 1] == 0) --last;
        Rows[static_cast<std::size_t>(row)] = Span{first, last};
    }
}

TextCache::TextCache(std::size_t byteBudget, std::size_t lineBudget)
    : FByteBudget(byteBudget), FLineBudget(lineBudget) {}

std::size_t TextCache::KeyOf(const FontRequest& font, std::string_view text) {
    // Hashing views of the strings allocates nothing, so a hit stays allocation-free.
    const std::hash<std::string_view> hash;
    std::size_t key = hash(text);
    const auto mix = [&key](std::size_t value) { key ^= value + 0x9E3779B97F4A7C15ull + (key << 6) + (key >> 2); };
    mix(hash(font.Name));
    mix(static_cast<std::size_t>(font.PixelHeight));
    mix(font.Bold ? 1u : 0u);
    return key;
}

bool TextCache::Matches(const Entry& entry, const FontRequest& font, std::string_view text) {
    return entry.Text == text && entry.Font.PixelHeight == font.PixelHeight && entry.Font.Bold == font.Bold &&
           entry.Font.Name == font.Name;
}

const TextCoverage* TextCache::Find(const FontRequest& font, std::string_view text) {
    const auto found = FIndex.find(KeyOf(font, text));
    if (found == FIndex.end() || !Matches(*found->second, font, text)) {
        return nullptr;
    }
    FEntries.splice(FEntries.begin(), FEntries, found->second);
    return &found->second->Coverage;
}

const TextCoverage& TextCache::Store(const FontRequest& font, std::string_view text, TextCoverage coverage) {
    const std::size_t key = KeyOf(font, text);
    // Another line under the same key (the same line, or a hash collision) gives way.
    if (const auto taken = FIndex.find(key); taken != FIndex.end()) {
        Drop(taken->second);
    }
    FBytes += coverage.Alpha.size();
    FEntries.push_front(Entry{key, font, std::string(text), std::move(coverage)});
    FIndex.emplace(key, FEntries.begin());
    while (FEntries.size() > 1 && (FBytes > FByteBudget || FEntries.size() > FLineBudget)) {
        Drop(std::prev(FEntries.end()));
    }
    return FEntries.front().Coverage;
}

void TextCache::Drop(EntryList::iterator entry) {
    FBytes -= entry->Coverage.Alpha.size();
    FIndex.erase(entry->Key);
    FEntries.erase(entry);
}

void TextCache::Clear() {
    FEntries.clear();
    FIndex.clear();
    FBytes = 0;
}

}  // namespace platform
