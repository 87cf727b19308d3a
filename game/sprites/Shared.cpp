// Shared: image access through the main window, rounding, the screen and phaser tests.
#include "game/sprites/Shared.h"

#include <climits>
#include <cmath>

#include "engine/images/PictureCollection.h"
#include "game/Main.h"

namespace Sprites {
namespace {

constexpr int ScreenWidth = 800;
constexpr int ScreenHeight = 600;

int SaturatingInt(double whole) {
    if (!(whole > static_cast<double>(INT_MIN))) {
        return INT_MIN;
    }
    if (whole >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    return static_cast<int>(whole);
}

}  // namespace

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
    return SaturatingInt(std::nearbyint(value));
}

int Trunc(double value) {
    return SaturatingInt(std::trunc(value));
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
