// GButton: TGButton, a picture of the current image list that can be clicked. It draws its
// picture and records where it did, so only a button drawn while visible can be hit. Used by the
// message box (OK, Cancel) and the game screen's command buttons. Depends on Main (the image
// list and the back surface) and the image items.
#pragma once

#include "engine/assets/Classes.h"

class TPictureCollectionItem;

class TGButton {
public:
    TGButton();
    virtual ~TGButton() = default;
    TGButton(const TGButton&) = delete;
    TGButton& operator=(const TGButton&) = delete;

    // The hit rectangle follows at the next Draw.
    virtual void SetPosition(int X, int Y);
    virtual void SetVisible(bool Value);
    // Takes item Index of the current image list and its size; called again to swap pictures.
    virtual void SetImage(int Index);
    // Visible and the point inside the rectangle of the last visible Draw (right and bottom
    // edges outside).
    virtual bool IsHit(TPoint Point) const;
    // While visible: records the rectangle and draws pattern 0 of the picture at (X, Y).
    virtual void Draw();

    int X() const { return FX; }
    int Y() const { return FY; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Visible() const { return FVisible; }
    const TRect& Bounds() const { return FBounds; }
    bool HasImage() const { return FHasImage; }
    TPictureCollectionItem* Image() const { return FImage; }

private:
    int FX = 0;
    int FY = 0;
    int FWidth = 0;
    int FHeight = 0;
    bool FVisible = true;
    TRect FBounds;
    bool FHasImage = false;
    TPictureCollectionItem* FImage = nullptr;  // not owned
};
