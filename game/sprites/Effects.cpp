// Effects: sound pan, hull damage and the explosion, beam aim and drawing.
#include "game/sprites/Effects.h"

#include <cmath>
#include <numbers>

#include "engine/images/PictureCollection.h"
#include "game/Main.h"
#include "game/sprites/Shared.h"

namespace Sprites {
namespace {

constexpr float SixtyHertzFrame = 1.0f / 60.0f;
constexpr int BeamWidth = 4;

}  // namespace

int EffectPan(float x) {
    if (!Main::StereoOn) {
        return 0;
    }
    return Round((static_cast<double>(x) - 400.0) / 7.0 * 100.0);
}

void PlayEffect(int index, float x) {
    Main::PlaySoundEffect(index, EffectPan(x));
}

void PlayEffect(int index) {
    Main::PlaySoundEffect(index, 0);
}

void DamageHull(TImageSprite& ship, std::int32_t& hull, bool& exploding, std::int32_t amount, std::int32_t points) {
    hull -= amount;
    if (hull > 0 || exploding) {
        return;
    }
    Main::Score += points;
    exploding = true;
    hull = 0;
    PlayEffect(EffectExplosion, static_cast<float>(ship.X));
    ship.SetZ(ship.Z() + 1);
    ship.Image = &GameImage(ImageExplosion);
    ship.FrameCount = ship.Image->PatternCount();
    ship.FrameLooped = false;
    ship.FrameSpeed = Main::FrameTime > 0 ? Main::FrameTime : SixtyHertzFrame;
    ship.FramePos = 0;
}

double Bearing(double fromX, double fromY, double toX, double toY) {
    const double dx = std::abs(toX - fromX);
    const double dy = std::abs(toY - fromY);
    if (toX == fromX) {
        return toY < fromY ? 0.0 : 180.0;
    }
    const double a = std::atan(dy / dx) * (180.0 / std::numbers::pi);
    if (toY < fromY) {
        return toX < fromX ? a + 270.0 : 90.0 - a;
    }
    return toX > fromX ? a + 90.0 : 270.0 - a;
}

void DrawBeam(TDirectDrawSurface* surface, int image, int x, int y, double length, double bearing, int alpha) {
    GameImage(image).DrawRotateAdd(surface, x, y, BeamWidth, TruncToInt(length), 0, 0.5, 1.0,
                                   TruncToInt(bearing / 360.0 * 256.0), alpha);
}

}  // namespace Sprites
