// PictureCollection: the stored properties of image items and the graphics-file root; the
// items' surfaces, patterns and drawing, and the collection's binding to the display.
#include "engine/images/PictureCollection.h"

#include <algorithm>

#include "engine/display/DXDraws.h"

void TPictureCollectionItem::DefineProperties(TPropertyList& list) {
    list.String("Name", Name);
    list.Integer("PatternHeight", PatternHeight);
    list.Integer("PatternWidth", PatternWidth);
    list.Object("Picture", Picture);
    list.Integer("SkipHeight", SkipHeight).StoredWhen([this] { return SkipHeight != 0; });
    list.Integer("SkipWidth", SkipWidth).StoredWhen([this] { return SkipWidth != 0; });
    list.Boolean("SystemMemory", SystemMemory);
    list.Boolean("Transparent", Transparent);
    list.Color("TransparentColor", TransparentColor);
}

void TPictureCollection::DefineProperties(TPropertyList& list) {
    list.Binary(
        "ColorTable", [this](TMemoryStream& s) { ColorTable = s.ReadBytes(ColorTableSize); },
        [this](TMemoryStream& s) { s.WriteBytes(ColorTable); }, [this] { return !ColorTable.empty(); });
}

// ---- Surfaces, patterns and drawing ------------------------------------------------------

namespace {

// The surface pixel a colour becomes through the same conversion every picture pixel goes
// through when it is copied in, so that a picture pixel of the transparent colour is exactly
// the key.
std::uint16_t ColorKeyOf(const TDirectDrawSurface& surface, TColor color) { return surface.ColorToPixel(color); }

// Patterns along one axis of a picture without surfaces: size div (pattern + skip), plus one
// when what is left is exactly one pattern. Without a positive step the axis holds the whole
// picture once when the pattern size means "whole picture", else nothing.
int PatternsAlong(int size, int pattern, int skip) {
    const std::int64_t step = std::int64_t{pattern} + skip;
    if (step <= 0) {
        return pattern <= 0 && size > 0 ? 1 : 0;
    }
    std::int64_t count = size / step;
    if (size - count * step == pattern) {
        ++count;
    }
    return static_cast<int>(count);
}

}  // namespace

int TPictureCollectionItem::Width() const { return PatternWidth > 0 ? PatternWidth : Picture.Width(); }

int TPictureCollectionItem::Height() const { return PatternHeight > 0 ? PatternHeight : Picture.Height(); }

int TPictureCollectionItem::PatternCount() const {
    if (!FSurfaces.empty()) {
        return static_cast<int>(FPatterns.size());
    }
    return PatternsAlong(Picture.Width(), PatternWidth, SkipWidth) * PatternsAlong(Picture.Height(), PatternHeight, SkipHeight);
}

void TPictureCollectionItem::SetTransparentColor(TColor value) {
    if (value == TransparentColor) {
        return;
    }
    TransparentColor = value;
    for (const auto& surface : FSurfaces) {
        surface->SetColorKey(ColorKeyOf(*surface, value));
    }
}

const TPictureCollectionItem::TPattern* TPictureCollectionItem::FindPattern(int index) const {
    if (!FInitialized || index < 0 || index >= static_cast<int>(FPatterns.size())) {
        return nullptr;
    }
    return &FPatterns[static_cast<std::size_t>(index)];
}

void TPictureCollectionItem::Draw(TDirectDrawSurface* Dest, int X, int Y, int PatternIndex) {
    const TPattern* pattern = FindPattern(PatternIndex);
    if (Dest != nullptr && pattern != nullptr) {
        Dest->Draw(X, Y, pattern->Rect, pattern->Surface, Transparent);
    }
}

void TPictureCollectionItem::StretchDraw(TDirectDrawSurface* Dest, const TRect& DestRect, int PatternIndex) {
    const TPattern* pattern = FindPattern(PatternIndex);
    if (Dest != nullptr && pattern != nullptr) {
        Dest->StretchDraw(DestRect, pattern->Rect, pattern->Surface, Transparent);
    }
}

void TPictureCollectionItem::DrawRotate(TDirectDrawSurface* Dest, int X, int Y, int Width, int Height,
                                        int PatternIndex, double CenterX, double CenterY, int Angle) {
    const TPattern* pattern = FindPattern(PatternIndex);
    if (Dest != nullptr && pattern != nullptr) {
        Dest->DrawRotate(X, Y, Width, Height, pattern->Rect, pattern->Surface, CenterX, CenterY, Transparent, Angle);
    }
}

void TPictureCollectionItem::DrawRotateAdd(TDirectDrawSurface* Dest, int X, int Y, int Width, int Height,
                                           int PatternIndex, double CenterX, double CenterY, int Angle, int Alpha) {
    const TPattern* pattern = FindPattern(PatternIndex);
    if (Dest != nullptr && pattern != nullptr) {
        Dest->DrawRotateAdd(X, Y, Width, Height, pattern->Rect, pattern->Surface, CenterX, CenterY, Transparent, Angle,
                            Alpha);
    }
}

void TPictureCollectionItem::Initialize() {
    Finalize();
    FInitialized = true;
}

void TPictureCollectionItem::Finalize() {
    FPatterns.clear();
    FSurfaces.clear();
    FInitialized = false;
}

void TPictureCollectionItem::Restore(TPictureCollection& owner) {
    if (Picture.Empty()) {
        return;
    }
    if (!FInitialized) {
        if (!owner.Initialized()) {
            return;
        }
        Initialize();
    }
    TCustomDXDraw* display = owner.DXDraw();
    if (display == nullptr) {
        return;
    }
    FPatterns.clear();
    FSurfaces.clear();
    const TRect whole{0, 0, Picture.Width(), Picture.Height()};
    if (Width() == whole.Right && Height() == whole.Bottom) {
        FPatterns.push_back(TPattern{whole, &AddPiece(*display, whole)});
        return;
    }
    BuildGrid(*display);
}

// Cuts the picture into the pattern grid. In video memory the picture is split into tiles of
// whole steps, about 512 pixels, so that large sheets fit; a pattern never straddles two tiles.
void TPictureCollectionItem::BuildGrid(TCustomDXDraw& display) {
    const std::int64_t pictureWidth = Picture.Width();
    const std::int64_t pictureHeight = Picture.Height();
    const std::int64_t stepX = std::int64_t{Width()} + SkipWidth;
    const std::int64_t stepY = std::int64_t{Height()} + SkipHeight;
    if (stepX <= 0 || stepY <= 0) {
        return;
    }
    const std::int64_t columns = (pictureWidth + SkipWidth) / stepX;
    const std::int64_t rows = (pictureHeight + SkipHeight) / stepY;
    if (columns <= 0 || rows <= 0) {
        return;
    }
    const std::int64_t tileWidth = SystemMemory ? pictureWidth : std::min(stepX * (1 + 511 / stepX), stepX * columns);
    const std::int64_t tileHeight = SystemMemory ? pictureHeight : std::min(stepY * (1 + 511 / stepY), stepY * rows);
    const std::int64_t tileColumns = (pictureWidth + tileWidth - 1) / tileWidth;
    for (std::int64_t top = 0; top < pictureHeight; top += tileHeight) {
        for (std::int64_t left = 0; left < pictureWidth; left += tileWidth) {
            AddPiece(display, TRect{static_cast<int>(left), static_cast<int>(top),
                                    static_cast<int>(std::min(left + tileWidth, pictureWidth)),
                                    static_cast<int>(std::min(top + tileHeight, pictureHeight))});
        }
    }
    for (std::int64_t r = 0; r < rows; ++r) {
        for (std::int64_t c = 0; c < columns; ++c) {
            const std::int64_t x = c * stepX;
            const std::int64_t y = r * stepY;
            const std::int64_t tileColumn = x / tileWidth;
            const std::int64_t tileRow = y / tileHeight;
            TDirectDrawSurface* tile = FSurfaces[static_cast<std::size_t>(tileRow * tileColumns + tileColumn)].get();
            FPatterns.push_back(TPattern{Bounds(static_cast<int>(x - tileColumn * tileWidth),
                                                static_cast<int>(y - tileRow * tileHeight), Width(), Height()),
                                         tile});
        }
    }
}

// A surface holding one piece of the picture, unscaled, keyed with the transparent colour.
TDirectDrawSurface& TPictureCollectionItem::AddPiece(TCustomDXDraw& display, const TRect& piece) {
    std::unique_ptr<TDirectDrawSurface> surface = display.CreateSurface(piece.Width(), piece.Height(), SystemMemory);
    for (int y = 0; y < piece.Height(); ++y) {
        std::uint16_t* row = surface->Row(y);
        for (int x = 0; x < piece.Width(); ++x) {
            row[x] = surface->ColorToPixel(Picture.Pixel(piece.Left + x, piece.Top + y));
        }
    }
    surface->SetColorKey(ColorKeyOf(*surface, TransparentColor));
    FSurfaces.push_back(std::move(surface));
    return *FSurfaces.back();
}

void TPictureCollection::AfterLoad() {
    if (Initialized()) {
        Initialize(*FDXDraw);
        Restore();
    }
}

void TPictureCollection::Initialize(TCustomDXDraw& display) {
    Finalize();
    FDXDraw = &display;
    if (!display.Initialized()) {
        throw EPictureCollectionError(Format("%s cannot be initialized", "TPictureCollection"));
    }
    for (int i = 0; i < Count(); ++i) {
        Items(i).Initialize();
    }
}

void TPictureCollection::Finalize() {
    for (int i = 0; i < Count(); ++i) {
        Items(i).Finalize();
    }
    FDXDraw = nullptr;
}

void TPictureCollection::Restore() {
    for (int i = 0; i < Count(); ++i) {
        Items(i).Restore(*this);
    }
}

bool TPictureCollection::Initialized() const { return FDXDraw != nullptr && FDXDraw->Initialized(); }
