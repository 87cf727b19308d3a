// PictureCollection: the image items of an image list and their file form — TPictureCollection
// (owned TPictureCollectionItems, the 256-entry "ColorTable"), loading it from and saving it to
// an asset file through the root class TPictureCollectionComponent. While bound to a running
// display, every item keeps its picture in display surfaces cut into patterns and draws them.
// Depends on AssetCollection, Graphics and DirectDrawSurface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/assets/AssetCollection.h"
#include "engine/display/DirectDrawSurface.h"
#include "engine/images/Graphics.h"

class TCustomDXDraw;
class TPictureCollection;

ZARVOTH_DECLARE_EXCEPTION(EPictureCollectionError, Exception);

// One named picture, cut into patterns. Stored properties, in their written order: Name,
// PatternHeight, PatternWidth, Picture.Data, SkipHeight and SkipWidth (only when not 0),
// SystemMemory, Transparent, TransparentColor.
class TPictureCollectionItem : public TPersistent {
public:
    std::string Name;
    int PatternWidth = 0;
    int PatternHeight = 0;
    int SkipWidth = 0;
    int SkipHeight = 0;
    bool SystemMemory = false;
    bool Transparent = true;
    TColor TransparentColor = 0;
    TPicture Picture;

    std::string ClassName() const override { return "TPictureCollectionItem"; }
    void DefineProperties(TPropertyList& list) override;

    // ---- Surfaces, patterns and drawing --------------------------------------------------
    // Pattern cell size: PatternWidth/PatternHeight when > 0, else the picture's size.
    int Width() const;
    int Height() const;
    // Patterns built while the item has surfaces; otherwise counted from the picture size.
    int PatternCount() const;
    bool Initialized() const { return FInitialized; }
    // The built pieces, for inspection: surfaces (whole picture or tiles) and, per pattern, its
    // rectangle on its surface.
    int SurfaceCount() const { return static_cast<int>(FSurfaces.size()); }
    TDirectDrawSurface& Surfaces(int index) const { return *FSurfaces.at(static_cast<std::size_t>(index)); }
    TRect PatternRect(int index) const { return FPatterns.at(static_cast<std::size_t>(index)).Rect; }
    TDirectDrawSurface& PatternSurface(int index) const { return *FPatterns.at(static_cast<std::size_t>(index)).Surface; }

    // Changes the transparent colour and re-keys every surface; the current value changes nothing.
    void SetTransparentColor(TColor value);

    // Nothing is drawn while uninitialized or for a pattern index outside the built patterns.
    void Draw(TDirectDrawSurface* Dest, int X, int Y, int PatternIndex);
    void StretchDraw(TDirectDrawSurface* Dest, const TRect& DestRect, int PatternIndex);
    void DrawRotate(TDirectDrawSurface* Dest, int X, int Y, int Width, int Height, int PatternIndex, double CenterX,
                    double CenterY, int Angle);
    void DrawRotateAdd(TDirectDrawSurface* Dest, int X, int Y, int Width, int Height, int PatternIndex, double CenterX,
                       double CenterY, int Angle, int Alpha);

    // Driven by the collection: become initialized (no surfaces yet), drop everything, rebuild
    // the surfaces and patterns from the picture on the collection's display.
    void Initialize();
    void Finalize();
    void Restore(TPictureCollection& owner);

private:
    struct TPattern {
        TRect Rect;
        TDirectDrawSurface* Surface;
    };

    const TPattern* FindPattern(int index) const;
    TDirectDrawSurface& AddPiece(TCustomDXDraw& display, const TRect& piece);
    void BuildGrid(TCustomDXDraw& display);

    bool FInitialized = false;
    std::vector<std::unique_ptr<TDirectDrawSurface>> FSurfaces;
    std::vector<TPattern> FPatterns;
};

class TPictureCollectionComponent;

class TPictureCollection : public TAssetCollection<TPictureCollectionItem, TPictureCollectionComponent> {
public:
    static constexpr std::size_t ColorTableSize = 1024;

    // 256 entries of blue, green, red, reserved; empty when the file carried none.
    std::vector<std::uint8_t> ColorTable;

    std::string ClassName() const override { return "TPictureCollection"; }
    // The extra binary "ColorTable" (read: exactly 1024 bytes are taken from the payload).
    void DefineProperties(TPropertyList& list) override;

    // ---- Display binding ----------------------------------------------------------------
    // Loading (LoadFromFile, LoadFromStream) replaces all items; while the bound display runs,
    // the new items are then initialized and built at once.

    // Finalize, bind to the display and initialize every item; raises "%s cannot be initialized"
    // with "TPictureCollection" when the display is not initialized (it stays bound).
    void Initialize(TCustomDXDraw& display);
    // Every item drops its surfaces and becomes uninitialized; the display is unbound.
    void Finalize();
    // Every item rebuilds its surfaces and patterns from its picture.
    void Restore();
    TCustomDXDraw* DXDraw() const { return FDXDraw; }
    // Bound to a display that is initialized.
    bool Initialized() const;

private:
    TCustomDXDraw* FDXDraw = nullptr;

protected:
    void ClearExtras() override { ColorTable.clear(); }
    void AfterLoad() override;
};

// The root object of a graphics file.
class TPictureCollectionComponent : public TCollectionComponent {
public:
    explicit TPictureCollectionComponent(TCollectionBase& list) : TCollectionComponent("TPictureCollectionComponent", list) {}
};
