// TextCache: the lines of text the canvases have drawn, kept as coverage masks — one per font,
// size, style and string — so that a line drawn again (an open dialog draws all its lines every
// frame) costs one pass over its ink, in whatever colour and on whatever surface. A mask covers
// the line's ink alone (its box trimmed to the ink). The least recently drawn lines go once the
// kept pixels or lines pass their budgets. Depends on the canvas's font and the platform's text
// rendering.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/display/SurfaceCanvas.h"

class TTextCache {
public:
    struct TLinePicture {
        int Left = 0;  // where the ink's box starts within the line's box
        int Top = 0;
        int Width = 0;
        int Height = 0;
        std::vector<std::uint8_t> Coverage;  // rows of Width values, 0 to TDirectDrawSurface::FullCoverage
    };

    TTextCache(std::size_t pixelBudget, std::size_t lineBudget);

    // The line in the font (its name, size and style), rendered on first use; null when no font
    // renders it or it leaves no ink.
    const TLinePicture* Line(const TFont& font, std::string_view text);

    // Whether the line is kept, without drawing it (it does not become more recent).
    bool Holds(const TFont& font, std::string_view text) const;
    std::size_t Lines() const { return FEntries.size(); }
    std::size_t Pixels() const { return FPixels; }

private:
    struct TEntry {
        std::size_t Hash;
        TFont Font;
        std::string Text;
        TLinePicture Picture;  // empty: the line has no ink
    };
    using TEntries = std::list<TEntry>;

    static std::size_t HashOf(const TFont& font, std::string_view text);
    static bool Matches(const TEntry& entry, const TFont& font, std::string_view text);
    static TLinePicture Render(const TFont& font, std::string_view text);
    void Drop(TEntries::iterator entry);

    std::size_t FPixelBudget;
    std::size_t FLineBudget;
    std::size_t FPixels = 0;
    TEntries FEntries;  // most recently drawn first
    std::unordered_map<std::size_t, TEntries::iterator> FIndex;
};

// The cache every canvas draws through.
TTextCache& CanvasTextCache();
