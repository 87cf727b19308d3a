// TextCache: the lines of text the canvases have drawn, kept as keyed pictures in a display
// pixel format — one per font, size, style, colour and string — so that a line drawn again (an
// open dialog draws all its lines every frame) costs one transparent copy. A picture holds the
// line's ink alone (its box trimmed to the ink); every other pixel is the key. The least
// recently drawn lines go once the kept pixels or lines pass their budgets. Depends on the
// surface and the platform's text rendering.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/display/DirectDrawSurface.h"
#include "engine/display/SurfaceCanvas.h"

class TTextCache {
public:
    struct TLinePicture {
        std::unique_ptr<TDirectDrawSurface> Surface;
        int Left = 0;  // where the ink's box starts within the line's box
        int Top = 0;
    };

    TTextCache(std::size_t pixelBudget, std::size_t lineBudget);

    // The line in the font (its name, size, style and colour) for a surface of this layout,
    // rendered on first use; null when no font renders it or it leaves no ink.
    const TLinePicture* Line(const TFont& font, platform::PixelLayout layout, std::string_view text);

    // Whether the line is kept, without drawing it (it does not become more recent).
    bool Holds(const TFont& font, platform::PixelLayout layout, std::string_view text) const;
    std::size_t Lines() const { return FEntries.size(); }
    std::size_t Pixels() const { return FPixels; }

private:
    struct TEntry {
        std::size_t Hash;
        TFont Font;
        platform::PixelLayout Layout;
        std::string Text;
        TLinePicture Picture;  // no surface: the line has no ink
    };
    using TEntries = std::list<TEntry>;

    static std::size_t HashOf(const TFont& font, platform::PixelLayout layout, std::string_view text);
    static bool Matches(const TEntry& entry, const TFont& font, platform::PixelLayout layout, std::string_view text);
    static TLinePicture Render(const TFont& font, platform::PixelLayout layout, std::string_view text);
    static std::size_t PixelsOf(const TEntry& entry);
    void Drop(TEntries::iterator entry);

    std::size_t FPixelBudget;
    std::size_t FLineBudget;
    std::size_t FPixels = 0;
    TEntries FEntries;  // most recently drawn first
    std::unordered_map<std::size_t, TEntries::iterator> FIndex;
};

// The cache every canvas draws through.
TTextCache& CanvasTextCache();
