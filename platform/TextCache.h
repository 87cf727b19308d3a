// TextCache: the coverage of lines of text already rendered, kept by font and string so that a
// line drawn again (every open dialog draws its lines every frame) costs only its blend onto
// the surface. Bounded: once the kept coverage passes its budget, the lines drawn least
// recently go first. Depends on the standard library and Text's font request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Text.h"

namespace platform {

// Glyph coverage of one line, 0 (none) to 255 (solid), row by row.
struct TextCoverage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Alpha;
    // Per row, the columns [First, Last) outside which the coverage is 0.
    struct Span {
        int First = 0;
        int Last = 0;
    };
    std::vector<Span> Rows;

    // Takes the coverage and works out the spans.
    TextCoverage(int width, int height, std::vector<std::uint8_t> alpha);
    TextCoverage() = default;
};

class TextCache {
public:
    // At most this many coverage bytes (pixels) are kept, and at most this many lines.
    TextCache(std::size_t byteBudget, std::size_t lineBudget);

    // The kept coverage of the line, or null; a found line becomes the most recent.
    const TextCoverage* Find(const FontRequest& font, std::string_view text);
    // Keeps a rendered line as the most recent and drops the oldest ones beyond the budgets.
    // A line larger than the whole budget is still kept, alone.
    const TextCoverage& Store(const FontRequest& font, std::string_view text, TextCoverage coverage);
    void Clear();

    std::size_t Lines() const { return FEntries.size(); }
    std::size_t Bytes() const { return FBytes; }

private:
    struct Entry {
        std::size_t Key;
        FontRequest Font;
        std::string Text;
        TextCoverage Coverage;
    };
    using EntryList = std::list<Entry>;

    static std::size_t KeyOf(const FontRequest& font, std::string_view text);
    static bool Matches(const Entry& entry, const FontRequest& font, std::string_view text);
    void Drop(EntryList::iterator entry);

    std::size_t FByteBudget;
    std::size_t FLineBudget;
    std::size_t FBytes = 0;
    EntryList FEntries;  // most recent first
    std::unordered_map<std::size_t, EntryList::iterator> FIndex;
};

}  // namespace platform
