// Tests of the player ship: the two ship types, damage through the shields, ramming, steering
// and its limits, energy, the phaser (power, angle, where it is drawn, when it is refused),
// torpedoes, warp, the shared globals and the explosion.
#include <gtest/gtest.h>

#include "support/GameWorld.h"

using namespace Sprites;

namespace {

class PlayerTest : public GameWorldTest {
protected:
    // A ship that has flown in, at (x, y).
    TPlayer& Ship(bool light, double x = 370, double y = 400) {
        auto* ship = new TPlayer(&Root());
        ship->SetShipType(light);
        ship->X = x;
        ship->Y = y;
        return *ship;
    }

    bool Lit(int x, int y) { return Surface().Pixel(x, y) != 0; }
};

}  // namespace

TEST_F(PlayerTest, BothShipTypesAreAsTabledAndStartBelowTheScreen) {
    const struct {
        bool Light;
        int Hull, Speed, Torpedoes, Image, Width, Height;
    } cases[] = {{true, 1020, 40, 15, 3, 60, 60}, {false, 2040, 25, 30, 0, 80, 70}};
    for (const auto& c : cases) {
        TPlayer ship(&Root());
        ship.SetShipType(c.Light);
        EXPECT_EQ(ship.GetHull(), c.Hull);
        EXPECT_EQ(ship.Speed, c.Speed);
        EXPECT_EQ(ship.GetTorpedoes(), c.Torpedoes);
        EXPECT_EQ(ship.TorpedoDamage, 10000);
        EXPECT_EQ(ship.Image, &GameImage(c.Image));
        EXPECT_EQ(ship.Width, c.Width);
        EXPECT_EQ(ship.Height, c.Height);
        EXPECT_EQ(ship.FrameCount, 3);
        EXPECT_EQ(ship.X, 400 - c.Width / 2);
        EXPECT_EQ(ship.Y, c.Height + 600);
        EXPECT_EQ(ship.Z(), 5);
        EXPECT_EQ(ship.FramePos, 1);

        ship.SetCloak(true);
        EXPECT_EQ(ship.Image, &GameImage(c.Image + 1));
        ship.SetCloak(false);
        ship.SetShields(true);
        EXPECT_EQ(ship.Image, &GameImage(c.Image + 2));
        ship.SetShields(false);
        EXPECT_EQ(ship.Image, &GameImage(c.Image));

        ship.TakeDamage(500);
        ship.Torpedoes = 0;
        ship.ShieldEnergy = 3;
        ship.RepairHull();
        ship.ReloadTorpedoes();
        ship.RechargeShields();
        EXPECT_EQ(ship.GetHull(), c.Hull);
        EXPECT_EQ(ship.GetTorpedoes(), c.Torpedoes);
        EXPECT_EQ(ship.GetShieldEnergy(), 100.0f);
    }
}

TEST_F(PlayerTest, ShieldsAbsorbTwoDamagePerPointAndPassTheRestToTheHull) {
    const struct {
        bool Light;
        bool Shields;
        float ShieldEnergy;
        int Damage;
        int Hull;
        float ShieldAfter;
        int Percent;
    } cases[] = {{false, false, 100, 250, 1790, 100, 88},
                 {false, true, 100, 250, 1990, 0, 98},
                 {false, true, 100, 50, 2040, 75, 100},
                 {true, true, 10.4f, 100, 941, 0, 92}};
    for (const auto& c : cases) {
        TPlayer& ship = Ship(c.Light);
        ship.SetShields(c.Shields);
        ship.ShieldEnergy = c.ShieldEnergy;
        ship.TakeDamage(c.Damage);
        EXPECT_EQ(ship.GetHull(), c.Hull) << c.Damage;
        EXPECT_EQ(ship.GetShieldEnergy(), c.ShieldAfter) << c.Damage;
        EXPECT_EQ(ship.GetHullPercent(), c.Percent) << c.Damage;
        EXPECT_FALSE(ship.IsExploding());
    }
}

TEST_F(PlayerTest, ALostHullExplodesOnItsShipAndTheExplosionEndsEvenInAFrameOfNoTime) {
    const struct {
        float FrameTime;
        double FrameSpeed;
    } cases[] = {{0.02f, 0.02f}, {0, 1.0f / 60.0f}};
    for (const auto& c : cases) {
        TPlayer& ship = Ship(true, 100, 300);
        Main::FrameTime = c.FrameTime;
        ship.TakeDamage(1500);
        EXPECT_TRUE(ship.IsExploding());
        EXPECT_EQ(ship.GetHull(), 0);
        EXPECT_EQ(ship.Z(), 6);
        EXPECT_EQ(ship.Image, &GameImage(ImageExplosion));
        EXPECT_EQ(ship.FrameCount, 9);
        EXPECT_EQ(ship.FrameSpeed, c.FrameSpeed);
        EXPECT_EQ(ship.FramePos, 0);
        EXPECT_EQ(ship.Width, 60) << "the explosion is drawn on the ship's rectangle";
        EXPECT_EQ(Pan(EffectExplosion), -4286);

        Form->DXInput1->StateSet = {StateLeft};
        int frames = 0;
        while (ship.FramePos != 8 && frames < 1000) {
            Step(0.02f);
            ++frames;
        }
        EXPECT_EQ(ship.FramePos, 8) << "the game restarts only after the last frame";
        EXPECT_EQ(ship.X, 100) << "no steering while exploding";
        ship.Kill();
    }
}

TEST_F(PlayerTest, RammingCostsEachSideTheOthersHullAndMeetsEveryShipItTouches) {
    TPlayer& ship = Ship(true, 300, 300);
    auto* shuttle = new TEnemyShuttle(&Root());
    auto* wreck = new TEnemyShuttle(&Root());
    auto* supply = new TFriendSupplyShip(&Root());
    for (TSprite* other : {static_cast<TSprite*>(shuttle), static_cast<TSprite*>(wreck), static_cast<TSprite*>(supply)}) {
        other->X = 310;
        other->Y = 310;
    }
    wreck->TakeDamage(900);
    wreck->Hull = 77;
    Main::Score = 0;
    Step(0);
    EXPECT_TRUE(shuttle->IsExploding());
    EXPECT_EQ(Main::Score, 25);
    EXPECT_EQ(wreck->GetHull(), 77) << "an exploding ship is not rammed";
    EXPECT_EQ(supply->GetHull(), 5000 - 120) << "the player had 1020 - 900 left";
    EXPECT_TRUE(ship.IsExploding());
}

TEST_F(PlayerTest, SteeringFollowsTheDirectionStatesAndBanks) {
    const struct {
        TDXInputStates Keys;
        double Dx, Dy;
        int Frame;
    } cases[] = {{{StateUp}, 0, -20, 1},           {{StateDown}, 0, 20, 1},
                 {{StateLeft}, -20, 0, 0},         {{StateRight}, 20, 0, 2},
                 {{StateUp, StateDown}, 0, 0, 1},  {{StateLeft, StateRight}, 0, 0, 2},
                 {{StateUp, StateLeft}, -20, -20, 0}, {{}, 0, 0, 1}};
    for (const auto& c : cases) {
        TPlayer& ship = Ship(true, 400, 300);
        ship.FramePos = 0;
        Form->DXInput1->StateSet = c.Keys;
        Step(0.5f);
        EXPECT_EQ(ship.X, 400 + c.Dx);
        EXPECT_EQ(ship.Y, 300 + c.Dy);
        EXPECT_EQ(ship.FramePos, c.Frame);
        ship.Kill();
    }
}

TEST_F(PlayerTest, TheShipStaysOnTheScreenAboveThePanelAndOnlyWhileControllable) {
    const struct {
        TDXInputState Key;
        double X, Y;
        double ToX, ToY;
    } cases[] = {{StateRight, 719, 300, 720, 300},
                 {StateDown, 400, 469, 400, 470},
                 {StateLeft, 5, 300, 1, 300},
                 {StateUp, 400, 3, 400, 1}};
    for (const auto& c : cases) {
        TPlayer& ship = Ship(false, c.X, c.Y);  // 80 x 70
        Form->DXInput1->StateSet = {c.Key};
        Step(1);
        EXPECT_EQ(ship.X, c.ToX);
        EXPECT_EQ(ship.Y, c.ToY);
        ship.SetControllable(false);
        ship.X = 400;
        ship.Y = 300;
        Step(1);
        EXPECT_EQ(ship.X, 400);
        EXPECT_EQ(ship.Y, 300);
        ship.Kill();
    }
}

TEST_F(PlayerTest, EnergyRechargesBySecondsAndShieldsOnlyWhileUp) {
    const struct {
        bool Shields;
        float Phaser, Shield, FrameTime;
        float PhaserAfter, ShieldAfter;
        int Power;
    } cases[] = {{false, 50, 50, 1, 85, 50, 212},  {true, 50, 50, 1, 61, 55, 152},
                 {false, 100, 0, 1, 100, 0, 250},  {false, 99, 100, 1, 134, 100, 335},
                 {false, -6, 100, 0, 0, 100, 0},   {true, 120, 140, 0, 100, 100, 250}};
    for (const auto& c : cases) {
        TPlayer& ship = Ship(true);
        ship.SetShields(c.Shields);
        ship.PhaserEnergy = c.Phaser;
        ship.ShieldEnergy = c.Shield;
        Step(c.FrameTime);
        EXPECT_EQ(ship.GetPhaserEnergy(), c.PhaserAfter) << c.Phaser;
        EXPECT_EQ(ship.GetShieldEnergy(), c.ShieldAfter) << c.Shield;
        EXPECT_EQ(ship.PhaserPower, c.Power) << c.Phaser;
        ship.Kill();
    }
}

TEST_F(PlayerTest, ALowEnergyShotIsWeakAndTheEnergyComesBackToZero) {
    TPlayer& ship = Ship(false, 360, 400);
    ship.PhaserEnergy = 4;
    ship.FireRequested = true;
    AimPoint = {400, 100};
    Step(0);
    EXPECT_EQ(ship.PhaserPower, 10);
    EXPECT_EQ(PhaserDamage, 18) << "the heavy ship's beams: round(17.5)";
    EXPECT_TRUE(PhaserFired);
    EXPECT_EQ(ship.GetPhaserEnergy(), -6.0f);
    EXPECT_EQ(Pan(EffectPhaser), 0) << "panned by the aim point's x";
    Step(0);
    EXPECT_EQ(ship.GetPhaserEnergy(), 0.0f);
    EXPECT_FALSE(PhaserFired) << "a shot lasts one frame";
}

TEST_F(PlayerTest, NoShotAtOrBelowTheEmittersWhileCloakedOrTwiceForOneFrame) {
    const struct {
        bool Cloaked;
        TPoint Aim;
        int Clicks;
        bool Fired;
    } cases[] = {{false, {400, 430}, 1, false},  // level with the light ship's emitter
                 {false, {400, 500}, 1, false},
                 {true, {400, 100}, 1, false},
                 {false, {400, 100}, 2, true}};
    Input.Mouse.Buttons[0] = 0x80;
    for (const auto& c : cases) {
        TPlayer& ship = Ship(true, 370, 400);
        ship.SetCloak(c.Cloaked);
        Form->DXWaveList1->Items().Items(EffectPhaser).SetPan(1234);
        for (int click = 0; click < c.Clicks; ++click) {
            ship.MouseDown(c.Aim);
        }
        Step(0);
        EXPECT_EQ(PhaserFired, c.Fired);
        EXPECT_EQ(ship.GetPhaserEnergy(), c.Fired ? 90.0f : 100.0f) << "one shot, one cost";
        EXPECT_EQ(Pan(EffectPhaser), c.Fired ? 0 : 1234);
        EXPECT_FALSE(ship.FireRequested);
        ship.Kill();
    }
}

TEST_F(PlayerTest, AClickAimsAndAsksForAShotOnlyWhileTheLeftButtonIsHeld) {
    TPlayer& ship = Ship(true);
    ship.MouseDown({120, 80});
    EXPECT_EQ(AimPoint, (TPoint{120, 80}));
    EXPECT_FALSE(ship.FireRequested);
    Input.Mouse.Buttons[0] = 0x80;
    ship.MouseDown({130, 90});
    ship.MouseUp();
    EXPECT_EQ(AimPoint, (TPoint{130, 90}));
    EXPECT_TRUE(ship.FireRequested);
}

TEST_F(PlayerTest, BeamsRunFromTheEmittersToTheAimPoint) {
    const struct {
        bool Light;
        TPoint Aim;
        std::vector<TPoint> OnBeam;
        std::vector<TPoint> OffBeam;
    } cases[] = {
        {true, {400, 130}, {{400, 140}, {400, 280}, {400, 425}}, {{400, 120}, {400, 440}, {380, 280}}},
        {true, {200, 230}, {{300, 330}, {210, 240}}, {{300, 230}, {500, 530}}},
        {false, {400, 200}, {{382, 307}, {418, 307}, {367, 405}, {433, 405}}, {{365, 307}, {435, 307}, {400, 307}}},
    };
    for (const auto& c : cases) {
        Surface().Fill(0);
        TPlayer& ship = Ship(c.Light, c.Light ? 370 : 360, 400);  // emitters (400, 430) or (365, 415), (435, 415)
        ship.FireRequested = true;
        AimPoint = c.Aim;
        Step(0);
        for (const TPoint p : c.OnBeam) EXPECT_TRUE(Lit(p.X, p.Y)) << p.X << ", " << p.Y;
        for (const TPoint p : c.OffBeam) EXPECT_FALSE(Lit(p.X, p.Y)) << p.X << ", " << p.Y;
        ship.Kill();
    }
}

TEST_F(PlayerTest, TorpedoesLeaveFromTheCentreUntilTheBayIsEmpty) {
    TPlayer& ship = Ship(true, 371, 401);
    ship.FireTorpedo(135);
    ASSERT_EQ(Root().Count(), 2);
    auto* torpedo = dynamic_cast<TPlayerPhotonTorpedo*>(Root().Items(1));
    ASSERT_NE(torpedo, nullptr);
    EXPECT_EQ(torpedo->X, 401);
    EXPECT_EQ(torpedo->Y, 431);
    EXPECT_EQ(torpedo->Angle, 135.0f);
    EXPECT_EQ(torpedo->Damage, 10000);
    EXPECT_EQ(ship.GetTorpedoes(), 14);

    const auto refused = [&](auto setUp) {
        TPlayer& other = Ship(true);
        setUp(other);
        const int before = Root().Count();
        other.FireTorpedo(90);
        return Root().Count() == before;
    };
    EXPECT_TRUE(refused([](TPlayer& p) { p.SetCloak(true); }));
    EXPECT_TRUE(refused([](TPlayer& p) { p.Torpedoes = 0; }));
    EXPECT_TRUE(refused([](TPlayer& p) { p.TakeDamage(5000); }));
}

TEST_F(PlayerTest, TheWarpAndTheShipsOwnLaunchSoundFromTheCentre) {
    TPlayer& ship = Ship(true, 0, 400);
    for (int effect : {EffectTorpedoLaunch, EffectWarp}) {
        Form->DXWaveList1->Items().Items(effect).SetPan(1234);
    }
    ship.SetWarp(true, false);
    EXPECT_EQ(Pan(EffectWarp), 1234) << "the fly-in is silent";
    ship.SetWarp(true, true);
    EXPECT_EQ(Pan(EffectWarp), 0);
    ship.SetWarp(false, false);
    ship.FireTorpedo(90);
    EXPECT_EQ(Pan(EffectTorpedoLaunch), 0);
}

TEST_F(PlayerTest, AWarpingShipRisesUntilItHasLeftTheTopWithoutSteeringOrFiring) {
    TPlayer& ship = Ship(true, 370, 660);
    ship.SetWarp(true, false);
    Form->DXInput1->StateSet = {StateLeft};
    ship.FireRequested = true;
    AimPoint = {100, 100};
    Step(0.5f);
    EXPECT_EQ(ship.Y, 585);
    EXPECT_EQ(ship.X, 370);
    EXPECT_FALSE(PhaserFired);
    ship.Y = -59;  // one pixel row still on the screen
    Step(0.5f);
    EXPECT_EQ(ship.Y, -134);
    Step(0.5f);
    EXPECT_EQ(ship.Y, -134);
}

TEST_F(PlayerTest, EveryFrameTheShipPublishesItsCentreDamageAndCloak) {
    const struct {
        bool Light;
        double X, Y;
        bool Cloaked;
        int CentreX, CentreY, Damage;
    } cases[] = {{true, 370.5, 401.5, false, 400, 432, 250}, {false, 359.5, 400.5, true, 400, 436, 438}};
    for (const auto& c : cases) {
        TPlayer& ship = Ship(c.Light, c.X, c.Y);
        ship.SetCloak(c.Cloaked);
        Step(0);
        EXPECT_EQ(PlayerCenterX, c.CentreX);
        EXPECT_EQ(PlayerCenterY, c.CentreY);
        EXPECT_EQ(PhaserDamage, c.Damage);
        EXPECT_EQ(PlayerCloaked, c.Cloaked);
        ship.Kill();
        Step(0);
    }
}

TEST_F(PlayerTest, ACruiserBeamHitTakesTenInTheNextStep) {
    TPlayer& ship = Ship(true);
    BeamHit = true;
    Step(0);
    EXPECT_EQ(ship.GetHull(), 1010);
    EXPECT_FALSE(BeamHit);
    Step(0);
    EXPECT_EQ(ship.GetHull(), 1010);
}
