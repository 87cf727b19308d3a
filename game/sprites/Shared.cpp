// Shared: image access through the main window, rounding, the screen and phaser tests.
#include "game/sprites/Shared.h"

#include <cmath>

#include "engine/images/PictureCollection.h"
#include "game/Main.h"

namespace Sprites {

TPictureCollectionItem& GameImage(int index) {
    return Form1->DXImageList1->Items().Items(index);
}

void ShowPatternImage(TImageSprite& sprite, int index) {
    TPictureCollectionItem& image = GameImage(index);
    sprite.Image = &image;
    sprite.Width = image.PatternWidth;
    sprite.Height = image.PatternHeight;
    sprite.FrameCount = image.PatternCount();
}

void ShowPicture(TImageSprite& sprite, int index) {
    TPictureCollectionItem& image = GameImage(index);
    sprite.Image = &image;
    sprite.Width = image.Width();
    sprite.Height = image.Height();
}

int Round(double value) {
    return TruncToInt(std::nearbyint(value));
}

bool LeftTheScreen(const TSprite& sprite) {
    return sprite.X >= ScreenWidth || !(sprite.X > 0) || sprite.Y >= ScreenHeight || !(sprite.Y > 0);
}

bool TakesPhaserShot(TSprite& sprite) {
    if (!PhaserFired || !PtInRect(sprite.GetBounds(), AimPoint)) {
        return false;
    }
    PhaserFired = false;
    return true;
}

}  // namespace Sprites
