// World: the star field, the player's torpedo and the supply ship.
#include "game/sprites/World.h"

#include <cmath>
#include <numbers>

#include "engine/images/PictureCollection.h"
#include "game/Main.h"
#include "game/Random.h"
#include "game/sprites/Effects.h"
#include "game/sprites/Enemies.h"
#include "game/sprites/Shared.h"

using namespace Sprites;
using Main::FrameTime;

namespace {

constexpr float StarReentry = -150;
constexpr std::int32_t SupplyShipPenalty = 500;
constexpr float SupplyShipStay = 60;  // seconds

}  // namespace

// ---- TBackground ----

TBackground::TBackground(TSprite* AParent) : TImageSprite(AParent) {
    SetZ(1);
    ShowPatternImage(*this, ImageStars);
}

void TBackground::DrawKind(TStar& star) {
    const int r = Random::Next(9);
    star.Kind = r >= 6 ? Random::Next(2) + 1 : 0;
    star.SpeedFactor = static_cast<float>(star.Kind + 1);
}

void TBackground::Advance(int /*MoveCount*/) {
    if (InitPasses <= 1) {
        Random::Randomize();
        for (TStar& star : Stars) {
            star.Y = static_cast<float>(Random::Next(ScreenHeight) - 150);
            star.X = static_cast<float>(Random::Next(ScreenWidth) - Width);
            DrawKind(star);
        }
        ++InitPasses;
    }
    for (TStar& star : Stars) {
        star.Y = static_cast<float>(star.Y + static_cast<double>(star.SpeedFactor) * FrameTime * ScrollSpeed);
        if (star.Y >= ScreenHeight) {
            star.Y = StarReentry;
            star.X = static_cast<float>(Random::Next(ScreenWidth - Width));
            DrawKind(star);
        }
    }
}

void TBackground::Render() {
    for (const TStar& star : Stars) {
        Image->Draw(Engine()->Surface(), TruncToInt(star.X), TruncToInt(star.Y), star.Kind);
    }
}

void TBackground::SetSpeed(float Value) {
    ScrollSpeed = Value;
}

float TBackground::GetSpeed() const {
    return ScrollSpeed;
}

// ---- TPlayerPhotonTorpedo ----

TPlayerPhotonTorpedo::TPlayerPhotonTorpedo(TSprite* AParent) : TImageSprite(AParent) {
    ShowPicture(*this, ImagePlayerTorpedo);
    SetZ(4);
}

void TPlayerPhotonTorpedo::HandleCollision(TSprite* Sprite, bool& /*Done*/) {
    HitLiveShip(Sprite, [this](auto& ship) {
        ship.TakeDamage(Damage);
        Kill();
    });
}

// The picture points straight up unturned; it is turned to the flight about its centre, which
// sits on the torpedo's position.
void TPlayerPhotonTorpedo::Render() {
    Image->DrawRotate(Engine()->Surface(), TruncToInt(X), TruncToInt(Y), Width, Height, 0, 0.5, 0.5,
                      Round((Angle - 90.0) / 360.0 * 256.0));
}

// Angles turn from the left through the top, and y grows downwards: the flight is
// (-cos Angle, -sin Angle).
void TPlayerPhotonTorpedo::Advance(int MoveCount) {
    TImageSprite::Advance(MoveCount);
    const double step = static_cast<double>(Speed) * FrameTime;
    const double heading = (Angle - 180.0) * (std::numbers::pi / 180.0);
    X += std::cos(heading) * step;
    Y += std::sin(heading) * step;
    Collide();
    if (LeftTheScreen(*this)) {
        Kill();
    }
}

void TPlayerPhotonTorpedo::SetDamage(std::int32_t Amount) {
    Damage = Amount;
}

void TPlayerPhotonTorpedo::SetAngle(float Degrees) {
    Angle = Degrees;
}

// ---- TFriendSupplyShip ----

TFriendSupplyShip::TFriendSupplyShip(TSprite* AParent) : TImageSprite(AParent) {
    ShowPicture(*this, ImageSupplyShip);
    X = Random::Next(ScreenWidth - Width);
    Y = -20 - Height;
    SetZ(5);
}

// Descends until below StopY and waits there; leaves upwards after a transport or once it has
// been on its way for 60 seconds. A destroyed ship burns out where it was.
void TFriendSupplyShip::Advance(int MoveCount) {
    TImageSprite::Advance(MoveCount);
    if (!Destroyed) {
        CheckPhaserHit();
        const double step = static_cast<double>(Speed) * FrameTime;
        if (StayTimer >= SupplyShipStay || Transported) {
            Y -= step;
            InPosition = false;
            if (Height + Y < 0) {
                Finished = true;
            }
        } else {
            if (Y > StopY) {
                InPosition = true;
            } else {
                Y += step;
                InPosition = false;
            }
            StayTimer += FrameTime;
        }
    }
    if (Destroyed && FramePos == ExplosionEndFrame) {
        Finished = true;
    }
}

void TFriendSupplyShip::TakeDamage(std::int32_t Amount) {
    DamageHull(*this, Hull, Destroyed, Amount, -SupplyShipPenalty);
}

void TFriendSupplyShip::CheckPhaserHit() {
    if (TakesPhaserShot(*this)) {
        TakeDamage(PhaserDamage);
    }
}

void TFriendSupplyShip::Leave() {
    Transported = true;
}

std::int32_t TFriendSupplyShip::GetHull() const {
    return Hull;
}

bool TFriendSupplyShip::IsDestroyed() const {
    return Destroyed;
}

bool TFriendSupplyShip::IsFinished() const {
    return Finished;
}

bool TFriendSupplyShip::IsInPosition() const {
    return InPosition;
}
