// Player: steering, energy, the phaser, torpedoes, damage and the shared globals.
#include "game/sprites/Player.h"

#include <array>
#include <cmath>

#include "game/Main.h"
#include "game/sprites/Effects.h"
#include "game/sprites/Enemies.h"
#include "game/sprites/Shared.h"
#include "game/sprites/World.h"

using namespace Sprites;
using Main::FrameTime;

namespace {

struct TShipType {
    int Image;  // normal; cloaked and shields follow
    std::int32_t Hull;
    std::int32_t Speed;
    std::int32_t Torpedoes;
};

constexpr TShipType LightShipType{ImageLightShip, 1020, 40, 15};
constexpr TShipType HeavyShipType{ImageHeavyShip, 2040, 25, 30};
constexpr int CloakedImage = 1;
constexpr int ShieldsImage = 2;
constexpr std::int32_t ShipTorpedoDamage = 10000;
constexpr double WarpClimb = 150.0;  // pixels per second
constexpr std::int32_t BeamHitDamage = 10;

const TShipType& ShipType(bool light) {
    return light ? LightShipType : HeavyShipType;
}

// An energy outside 0..100 comes back to the nearest end.
void Clamp(float& energy) {
    if (!(energy > 0)) {
        energy = 0;
    }
    if (energy >= 100) {
        energy = 100;
    }
}

void Recharge(float& energy, double perSecond) {
    Clamp(energy);
    if (energy < 100) {
        energy = static_cast<float>(energy + perSecond * FrameTime);
    }
}

// The damage two ships exchange when they touch: each takes the other's remaining hull.
template <class TShip>
void Ram(TPlayer& player, TShip& ship) {
    const std::int32_t hull = player.Hull;
    player.TakeDamage(ship.GetHull());
    ship.TakeDamage(hull);
}

}  // namespace

TPlayer::TPlayer(TSprite* AParent) : TImageSprite(AParent) {}

std::int32_t TPlayer::FullHull() const {
    return ShipType(LightShip).Hull;
}

int TPlayer::NormalImage() const {
    return ShipType(LightShip).Image;
}

void TPlayer::HandleCollision(TSprite* Sprite, bool& /*Done*/) {
    if (auto* enemy = dynamic_cast<TEnemy*>(Sprite); enemy != nullptr && !enemy->IsExploding()) {
        Ram(*this, *enemy);
    }
    if (auto* supply = dynamic_cast<TFriendSupplyShip*>(Sprite); supply != nullptr && !supply->IsDestroyed()) {
        Ram(*this, *supply);
    }
}

// The player moves first in every move walk, so the phaser shot fired here is tested by the
// enemies and the supply ship later in the same walk.
void TPlayer::Advance(int MoveCount) {
    TImageSprite::Advance(MoveCount);
    if (!Exploding && !Warping) {
        Steer();
        RechargeEnergy();
        FirePhaser();
        ApplyBeamHits();
        Collide();
    }
    if (Warping && Height + Y >= 0) {
        Y -= WarpClimb * FrameTime;
    }
    PlayerCenterX = Round(Width / 2.0 + X);
    PlayerCenterY = Round(Height / 2.0 + Y);
    PhaserDamage = LightShip ? PhaserPower : Round(PhaserPower * 1.75);
    PlayerCloaked = Cloaked;
}

void TPlayer::MouseDown(TPoint Point) {
    AimPoint = Point;
    TMouse& mouse = Form1->DXInput1->Mouse;
    mouse.Poll();
    if (mouse.ButtonHeld(0)) {
        FireRequested = true;
    }
}

void TPlayer::MouseUp() {}

float TPlayer::GetPhaserEnergy() const {
    return PhaserEnergy;
}

float TPlayer::GetShieldEnergy() const {
    return ShieldEnergy;
}

std::int32_t TPlayer::GetHull() const {
    return Hull;
}

std::int32_t TPlayer::GetHullPercent() const {
    return Round(static_cast<double>(Hull) / FullHull() * 100.0);
}

std::int32_t TPlayer::GetTorpedoes() const {
    return Torpedoes;
}

void TPlayer::RepairHull() {
    Hull = FullHull();
}

void TPlayer::ReloadTorpedoes() {
    Torpedoes = ShipType(LightShip).Torpedoes;
}

void TPlayer::RechargeShields() {
    ShieldEnergy = 100.0f;
}

void TPlayer::SetCloak(bool On) {
    Cloaked = On;
    SetImage(On ? NormalImage() + CloakedImage : NormalImage());
}

void TPlayer::SetShields(bool On) {
    ShieldsUp = On;
    SetImage(On ? NormalImage() + ShieldsImage : NormalImage());
}

void TPlayer::SetShipType(bool Light) {
    LightShip = Light;
    const TShipType& type = ShipType(Light);
    PlaceAtStart(type.Image);
    Hull = type.Hull;
    Speed = type.Speed;
    TorpedoDamage = ShipTorpedoDamage;
    Torpedoes = type.Torpedoes;
}

void TPlayer::SetControllable(bool On) {
    Controllable = On;
}

// With shields up each point of shield energy absorbs two points of damage; what the shield
// cannot take reaches the hull.
void TPlayer::TakeDamage(std::int32_t Amount) {
    std::int32_t toHull = Amount;
    if (ShieldsUp && ShieldEnergy - Amount / 2.0 > 0) {
        ShieldEnergy = static_cast<float>(ShieldEnergy - Amount / 2.0);
        toHull = 0;
    } else if (ShieldsUp) {
        toHull = Amount - Round(ShieldEnergy * 2.0);
        ShieldEnergy = 0;
    }
    DamageHull(*this, Hull, Exploding, toHull, 0);
}

void TPlayer::FireTorpedo(float Angle) {
    if (Exploding || Cloaked || Torpedoes <= 0) {
        return;
    }
    PlayEffect(EffectTorpedoLaunch);
    auto* torpedo = new TPlayerPhotonTorpedo(Engine());
    torpedo->X = X + Width / 2;
    torpedo->Y = Y + Height / 2;
    torpedo->SetAngle(Angle);
    torpedo->SetDamage(TorpedoDamage);
    --Torpedoes;
}

void TPlayer::SetWarp(bool On, bool WithSound) {
    Warping = On;
    if (On && WithSound) {
        PlayEffect(EffectWarp);
    }
}

bool TPlayer::IsExploding() const {
    return Exploding;
}

void TPlayer::SetImage(int Index) {
    ShowPatternImage(*this, Index);
}

void TPlayer::PlaceAtStart(int Index) {
    SetImage(Index);
    X = ScreenWidth / 2 - Width / 2;
    Y = Height + ScreenHeight;
    SetZ(5);
    FramePos = 1;
}

// Opposite keys cancel each other's motion; left and right together bank right.
void TPlayer::Steer() {
    if (!Controllable) {
        return;
    }
    const float step = static_cast<float>(Speed) * FrameTime;
    const TDXInputStates& states = Form1->DXInput1->StateSet;
    if (states.Contains(StateUp)) {
        Y -= step;
        FramePos = 1;
    }
    if (states.Contains(StateDown)) {
        Y += step;
        FramePos = 1;
    }
    if (states.Contains(StateLeft)) {
        X -= step;
        FramePos = 0;
    }
    if (states.Contains(StateRight)) {
        X += step;
        FramePos = 2;
    }
    if (!states.Contains(StateLeft) && !states.Contains(StateRight)) {
        FramePos = 1;
    }
    if (Y < 1) {
        Y = 1;
    }
    if (Y > PanelTop - Height) {
        Y = PanelTop - Height;
    }
    if (X < 1) {
        X = 1;
    }
    if (X > ScreenWidth - Width) {
        X = ScreenWidth - Width;
    }
}

double TPlayer::PhaserRecharge() const {
    return ShieldsUp ? 11.0 : 35.0;
}

// Shields up slow the phaser's recharge and recharge themselves.
void TPlayer::RechargeEnergy() {
    Recharge(PhaserEnergy, PhaserRecharge());
    if (ShieldsUp) {
        Recharge(ShieldEnergy, 5.0);
    }
    PhaserPower = Round(PhaserEnergy * 2.5);
}

// One beam from the light ship's centre or two from the heavy ship's wingtips, only at a point
// ahead of them. There is no minimum energy: a weak shot is faint and does little damage.
void TPlayer::FirePhaser() {
    PhaserFired = false;
    if (FireRequested && !Cloaked) {
        struct TEmitter {
            float X;
            float Y;
        };
        std::array<TEmitter, 2> emitters{};
        int count = 0;
        if (LightShip) {
            emitters[count++] = {static_cast<float>(X + Width * 0.5), static_cast<float>(Y + Height * 0.5)};
        } else {
            const auto y = static_cast<float>(Y + Height / 2.0 - 20);
            emitters[count++] = {static_cast<float>(X + 5), y};
            emitters[count++] = {static_cast<float>(X + Width - 5), y};
        }
        if (AimPoint.Y - static_cast<double>(emitters[0].Y) < 0) {
            PlayEffect(EffectPhaser, static_cast<float>(AimPoint.X));
            for (int i = 0; i < count; ++i) {
                const TEmitter& e = emitters[static_cast<std::size_t>(i)];
                const double dx = AimPoint.X - static_cast<double>(e.X);
                const double dy = AimPoint.Y - static_cast<double>(e.Y);
                const double length = std::sqrt(dx * dx + dy * dy);
                DrawBeam(Engine()->Surface(), ImagePlayerBeam, TruncToInt(e.X), TruncToInt(e.Y), length,
                         Bearing(e.X, e.Y, AimPoint.X, AimPoint.Y), PhaserPower);
            }
            PhaserFired = true;
            PhaserEnergy -= PhaserShotCost;
        }
    }
    FireRequested = false;
}

void TPlayer::ApplyBeamHits() {
    if (BeamHit) {
        TakeDamage(BeamHitDamage);
        BeamHit = false;
    }
}
