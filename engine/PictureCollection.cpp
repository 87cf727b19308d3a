// PictureCollection: the stored properties of image items and the graphics-file root.
#include "engine/PictureCollection.h"

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
