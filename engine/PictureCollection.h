// PictureCollection: the image items of an image list and their file form — TPictureCollection
// (owned TPictureCollectionItems, the 256-entry "ColorTable"), loading it from and saving it to
// an asset file through the root class TPictureCollectionComponent.
// Depends on engine/AssetCollection.h and engine/Graphics.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/AssetCollection.h"
#include "engine/Graphics.h"

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

protected:
    void ClearExtras() override { ColorTable.clear(); }
};

// The root object of a graphics file.
class TPictureCollectionComponent : public TCollectionComponent {
public:
    explicit TPictureCollectionComponent(TCollectionBase& list) : TCollectionComponent("TPictureCollectionComponent", list) {}
};
