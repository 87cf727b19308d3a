// Enemies: the fleet's table, the common flight, each kind's manoeuvres and weapons.
#include "game/sprites/Enemies.h"

#include <cmath>

#include "engine/images/PictureCollection.h"
#include "game/Main.h"
#include "game/Random.h"
#include "game/sprites/Effects.h"
#include "game/sprites/Player.h"
#include "game/sprites/Shared.h"

using namespace Sprites;
using Main::FrameTime;

namespace {

constexpr TEnemyKind Shuttle{ImageShuttle, 900, 40, 0, 25};
constexpr TEnemyKind Defiant{ImageDefiant, 3040, 30, 50, 50};
constexpr TEnemyKind Akira{ImageAkira, 5500, 28, 250, 100};
constexpr TEnemyKind Interpid{ImageInterpid, 60000, 20, 0, 200};

// The torpedo ships' timers grow by 5 a second while they fire; they launch at these.
constexpr float TimerPerSecond = 5;
constexpr float DefiantLaunch = 20;
constexpr float AkiraLaunch = 10;
// The cruiser's beam: range, charge needed, recovery per second.
constexpr double BeamRange = 400;
constexpr float FullCharge = 255;
constexpr float FiringCharge = 254;
constexpr double ChargePerSecond = 15;

// Banking frames.
constexpr int BankLeft = 0;
constexpr int Level = 1;
constexpr int BankRight = 2;

}  // namespace

// ---- TEnemy ----

TEnemy::TEnemy(TSprite* AParent, const TEnemyKind& Kind)
    : TImageSprite(AParent), Hull(Kind.Hull), TorpedoDamage(Kind.TorpedoDamage), Speed(Kind.Speed), FScore(Kind.Score) {
    SetZ(5);
    ShowPatternImage(*this, Kind.Image);
    FramePos = Level;
}

void TEnemy::Render() {
    if (!Exploding) {
        TImageSprite::Render();
        return;
    }
    const TRect at = ExplosionRect();
    Image->DrawRotate(Engine()->Surface(), at.Left, at.Top, at.Right - at.Left, at.Bottom - at.Top, Round(FramePos), 0,
                      0, 0);
}

void TEnemy::Advance(int MoveCount) {
    TImageSprite::Advance(MoveCount);
    if (!Exploding) {
        CheckPhaserHit();
    }
    if (Exploding && FramePos == ExplosionEndFrame) {
        Finished = true;
    }
    if (Y >= ScreenHeight || X >= ScreenWidth || !(X + Width > 0)) {
        Finished = true;
    }
    RemoveIfFinished();
}

// Damage to a ship already exploding only lowers its hull.
void TEnemy::TakeDamage(std::int32_t Amount) {
    DamageHull(*this, Hull, Exploding, Amount, FScore);
}

std::int32_t TEnemy::GetHull() const {
    return Hull;
}

bool TEnemy::IsExploding() const {
    return Exploding;
}

bool TEnemy::IsFinished() const {
    return Finished;
}

void TEnemy::CheckPhaserHit() {
    if (TakesPhaserShot(*this)) {
        TakeDamage(PhaserDamage);
    }
}

void TEnemy::RemoveIfFinished() {
    if (Finished) {
        Kill();
    }
}

void TEnemy::Descend() {
    Y += static_cast<double>(Speed) * FrameTime;
}

int TEnemy::CentreLine() const {
    return ScreenWidth / 2 - Image->Width() / 2;
}

TEnemyPhotonTorpedo& TEnemy::LaunchTorpedo() {
    PlayEffect(EffectTorpedoLaunch, static_cast<float>(X));
    auto* torpedo = new TEnemyPhotonTorpedo(Engine());
    torpedo->SetDamage(TorpedoDamage);
    return *torpedo;
}

// ---- TEnemyShuttle ----

TEnemyShuttle::TEnemyShuttle(TSprite* AParent) : TEnemy(AParent, Shuttle) {}

void TEnemyShuttle::Advance(int MoveCount) {
    TEnemy::Advance(MoveCount);
    Descend();
}

TRect TEnemyShuttle::ExplosionRect() const {
    return Bounds(Round(X - Width / 2.0), Round(Y - Height / 3.0), 2 * Width, Round(1.5 * Height));
}

// ---- TEnemyTorpedoShip ----

TEnemyTorpedoShip::TEnemyTorpedoShip(TSprite* AParent, const TEnemyKind& Kind, float LaunchAt)
    : TEnemy(AParent, Kind), FLaunchAt(LaunchAt) {}

void TEnemyTorpedoShip::Advance(int MoveCount) {
    TEnemy::Advance(MoveCount);
    Descend();
    if (Exploding) {
        return;
    }
    Manoeuvre();
    if (!PlayerCloaked) {
        Fire();
    }
}

void TEnemyTorpedoShip::Fire() {
    if (FireTimer >= FLaunchAt) {
        PlaceTorpedo(LaunchTorpedo());
        FireTimer = 0;
    }
    FireTimer = static_cast<float>(FireTimer + TimerPerSecond * static_cast<double>(FrameTime));
}

// ---- TEnemyDefiant ----

TEnemyDefiant::TEnemyDefiant(TSprite* AParent) : TEnemyTorpedoShip(AParent, Defiant, DefiantLaunch) {}

void TEnemyDefiant::Manoeuvre() {
    const int centre = CentreLine();
    const double drift = Speed / 3.0 * FrameTime;
    if (X < centre) {
        X -= drift;
        FramePos = BankLeft;
    } else if (X > centre) {
        X += drift;
        FramePos = BankRight;
    } else {
        FramePos = Level;
    }
}

void TEnemyDefiant::PlaceTorpedo(TEnemyPhotonTorpedo& Torpedo) {
    Torpedo.X = X + Width / 2 - Torpedo.Width / 2;
    Torpedo.Y = Y + Height / 2 - Torpedo.Height / 2;
}

TRect TEnemyDefiant::ExplosionRect() const {
    return Bounds(Round(X - 0.1 * Width), Round(Y), Round(1.2 * Width), Height);
}

// ---- TEnemyAkira ----

TEnemyAkira::TEnemyAkira(TSprite* AParent) : TEnemyTorpedoShip(AParent, Akira, AkiraLaunch) {}

void TEnemyAkira::Manoeuvre() {
    const int centre = CentreLine();
    const int halfImage = Image->Width() / 2;
    const double drift = Speed / 2.8 * FrameTime;
    FramePos = Level;
    if (X < centre) {
        if (X > 200 - halfImage) {
            X -= drift;
            FramePos = BankLeft;
        }
    } else if (X > centre) {
        if (X < 600 - halfImage) {
            X += drift;
            FramePos = BankRight;
        }
    }
}

// Two thirds down the ship, placed in floating point.
void TEnemyAkira::PlaceTorpedo(TEnemyPhotonTorpedo& Torpedo) {
    Torpedo.X = X + Width / 2.0 - Torpedo.Width / 2.0;
    Torpedo.Y = Y + Height / 1.5 - Torpedo.Height / 2.0;
}

TRect TEnemyAkira::ExplosionRect() const {
    return Bounds(Round(X - 0.2 * Width), Round(Y), Round(1.5 * Width), Height);
}

// ---- TEnemyInterpid ----

TEnemyInterpid::TEnemyInterpid(TSprite* AParent) : TEnemy(AParent, Interpid) {
    X = Random::Next(ScreenWidth - Width);
    Y = -20 - Height;
}

void TEnemyInterpid::Advance(int MoveCount) {
    TEnemy::Advance(MoveCount);
    if (!(BeamCharge > 0)) {
        BeamCharge = 0;
    }
    if (BeamCharge >= FullCharge) {
        BeamCharge = FullCharge;
    }
    if (BeamCharge < FullCharge) {
        BeamCharge = static_cast<float>(BeamCharge + ChargePerSecond * FrameTime);
    }
    if (!Exploding) {
        FramePos = Level;
    }
    if (Y > StopY) {
        if (!Exploding && !PlayerCloaked && BeamCharge >= FiringCharge) {
            Fire();
        }
    } else {
        Descend();
    }
}

void TEnemyInterpid::RemoveIfFinished() {}

// The beam is drawn from the cruiser's centre toward the player wherever the player is. A shot
// that leaves the charge at exactly 253 costs 50 more, a pause of some three seconds.
void TEnemyInterpid::Fire() {
    const double centreX = X + Width / 2.0;
    const double centreY = Y + Height / 2.0;
    const double dx = PlayerCenterX - centreX;
    const double dy = PlayerCenterY - centreY;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length < BeamRange) {
        DrawBeam(Engine()->Surface(), ImageCruiserBeam, Round(centreX), Round(centreY), length,
                 Bearing(centreX, centreY, PlayerCenterX, PlayerCenterY), Round(BeamCharge));
        BeamHit = true;
        BeamCharge -= 1;
        if (BeamCharge == 253) {
            BeamCharge -= 50;
        }
    } else if (dx > 0) {
        X += static_cast<double>(Speed) * FrameTime;
        FramePos = BankRight;
    } else if (dx < 0) {
        X -= static_cast<double>(Speed) * FrameTime;
        FramePos = BankLeft;
    }
}

TRect TEnemyInterpid::ExplosionRect() const {
    return Bounds(Round(X - Width / 2.0), Round(Y), 2 * Width, Height);
}

// ---- TEnemyPhotonTorpedo ----

TEnemyPhotonTorpedo::TEnemyPhotonTorpedo(TSprite* AParent) : TImageSprite(AParent) {
    ShowPicture(*this, ImageEnemyTorpedo);
    SetZ(4);
}

void TEnemyPhotonTorpedo::HandleCollision(TSprite* Sprite, bool& /*Done*/) {
    if (auto* player = dynamic_cast<TPlayer*>(Sprite); player != nullptr && !player->IsExploding()) {
        player->TakeDamage(Damage);
        Kill();
    }
}

void TEnemyPhotonTorpedo::Advance(int MoveCount) {
    TImageSprite::Advance(MoveCount);
    Y += static_cast<double>(Speed) * FrameTime;
    Collide();
    if (LeftTheScreen(*this)) {
        Kill();
    }
}

void TEnemyPhotonTorpedo::SetDamage(std::int32_t Amount) {
    Damage = Amount;
}
