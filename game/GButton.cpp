// GButton: the image button.
#include "game/GButton.h"

#include "game/Main.h"

TGButton::TGButton() = default;

void TGButton::SetPosition(int X, int Y) {
    FX = X;
    FY = Y;
}

void TGButton::SetVisible(bool Value) {
    FVisible = Value;
}

void TGButton::SetImage(int Index) {
    TPictureCollection* images = Main::ScreenImages();
    if (images == nullptr) {
        return;
    }
    FImage = &images->Items(Index);
    FWidth = FImage->Width();
    FHeight = FImage->Height();
    FHasImage = true;
}

bool TGButton::IsHit(TPoint Point) const {
    return FVisible && PtInRect(FBounds, Point);
}

void TGButton::Draw() {
    if (!FVisible) {
        return;
    }
    FBounds = ::Bounds(FX, FY, FWidth, FHeight);
    TDirectDrawSurface* surface = Main::BackSurface();
    if (FHasImage && surface != nullptr) {
        FImage->Draw(surface, FX, FY, 0);
    }
}
