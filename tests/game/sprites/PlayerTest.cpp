// Tests of the player ship: the two ship types, damage through the shields, ramming, steering
// and its limits, energy, the phaser (power, where it is drawn, when it is refused), torpedoes,
// warp, the shared globals and the explosion.
#include <gtest/gtest.h>

#include <array>

#include "support/GameWorld.h"

using namespace Sprites;

namespace {

class PlayerTest : public GameWorldTest {
protected:
    // A ship that has flown in, at (x, y).
    TPlayer& Ship(bool light, double x = 370, double y = 400) {
        auto& ship = Make<TPlayer>(0, 0);
        ship.SetShipType(light);
        ship.X = x;
        ship.Y = y;
        return ship;
    }
};

}  // namespace

TEST_F(PlayerTest, BothShipTypesAreAsTabledAndStartBelowTheScreen) {
    const struct {
        bool Light;
        int Hull, Speed, Torpedoes, Image, Width, Height;
    } cases[] = {{true, 1020, 40, 15, 3, 60, 60}, {false, 2040, 25, 30, 0, 80, 70}};
    for (const auto& c : cases) {
        TPlayer& ship = Make<TPlayer>(0, 0);
        ship.SetShipType(c.Light);
        EXPECT_EQ((std::array{ship.Speed, ship.TorpedoDamage, ship.Width, ship.Height, ship.Z()}),
                  (std::array{c.Speed, 10000, c.Width, c.Height, 5}));
        EXPECT_EQ(ship.X, 400 - c.Width / 2);
        EXPECT_EQ(ship.Y, c.Height + 600);
        ship.SetCloak(true);
        EXPECT_EQ(ship.Image, &GameImage(c.Image + 1));
        ship.SetShields(true);
        EXPECT_EQ(ship.Image, &GameImage(c.Image + 2));
        ship.SetShields(false);
        EXPECT_EQ(ship.Image, &GameImage(c.Image));
        ship.TakeDamage(500);
        ship.Torpedoes = 0;
        ship.RepairHull();
        ship.ReloadTorpedoes();
        EXPECT_EQ((std::array{ship.GetHull(), ship.GetTorpedoes()}), (std::array{c.Hull, c.Torpedoes}));
    }
}

TEST_F(PlayerTest, ShieldsAbsorbTwoDamagePerPointAndPassTheRestToTheHull) {
    const struct {
        bool Light, Shields;
        float ShieldEnergy;
        int Damage, Hull;
        float ShieldAfter;
        int Percent;
    } cases[] = {{false, false, 100, 250, 1790, 100, 88},
                 {false, true, 100, 250, 1990, 0, 98},
                 {false, true, 100, 50, 2040, 75, 100},
                 {true, true, 10.4f, 100, 941, 0, 92}};  // round(20.8) points absorbed
    for (const auto& c : cases) {
        TPlayer& ship = Ship(c.Light);
        ship.SetShields(c.Shields);
        ship.ShieldEnergy = c.ShieldEnergy;
        ship.TakeDamage(c.Damage);
        EXPECT_EQ(ship.GetHull(), c.Hull) << c.Damage;
        EXPECT_EQ(ship.GetShieldEnergy(), c.ShieldAfter) << c.Damage;
        EXPECT_EQ(ship.GetHullPercent(), c.Percent) << c.Damage;
    }
    Root().Clear();
    TPlayer& ship = Ship(true);
    BeamHit = true;  // the cruiser's beam: 10 in the next step
    Step(0);
    EXPECT_EQ(ship.GetHull(), 1010);
    EXPECT_FALSE(BeamHit);
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
        EXPECT_EQ((std::array{ship.GetHull(), ship.Z(), ship.Width}), (std::array{0, 6, 60}));
        EXPECT_EQ(ship.Image, &GameImage(ImageExplosion));
        EXPECT_EQ(ship.FrameSpeed, c.FrameSpeed);
        EXPECT_EQ(Pan(EffectExplosion), -4286);
        Form->DXInput1->StateSet = {StateLeft};
        for (int frame = 0; frame < 1000 && ship.FramePos != 8; ++frame) {
            Step(0.02f);
        }
        EXPECT_EQ(ship.FramePos, 8) << "the game restarts only after the last frame";
        EXPECT_EQ(ship.X, 100) << "no steering while exploding";
        ship.Kill();
    }
}

TEST_F(PlayerTest, RammingCostsEachSideTheOthersHullAndMeetsEveryShipItTouches) {
    TPlayer& ship = Ship(true, 300, 300);
    auto& shuttle = Make<TEnemyShuttle>(310, 310);
    auto& wreck = Make<TEnemyShuttle>(310, 310);
    auto& supply = Make<TFriendSupplyShip>(310, 310);
    wreck.TakeDamage(900);
    wreck.Hull = 77;
    Step(0);
    EXPECT_TRUE(shuttle.IsExploding());
    EXPECT_EQ(Main::Score, 50);
    EXPECT_EQ(wreck.GetHull(), 77) << "an exploding ship is not rammed";
    EXPECT_EQ(supply.GetHull(), 5000 - 120) << "the player had 1020 - 900 left";
    EXPECT_TRUE(ship.IsExploding());
}

TEST_F(PlayerTest, SteeringFollowsTheDirectionStatesBanksAndStaysAboveThePanel) {
    const struct {
        bool Light;
        double X, Y;
        TDXInputStates Keys;
        double ToX, ToY;
        int Frame;
    } cases[] = {{true, 400, 300, {StateUp}, 400, 280, 1},        {true, 400, 300, {StateDown}, 400, 320, 1},
                 {true, 400, 300, {StateLeft}, 380, 300, 0},      {true, 400, 300, {StateRight}, 420, 300, 2},
                 {true, 400, 300, {StateUp, StateDown}, 400, 300, 1}, {true, 400, 300, {StateLeft, StateRight}, 400, 300, 2},
                 {true, 400, 300, {StateUp, StateLeft}, 380, 280, 0}, {true, 400, 300, {}, 400, 300, 1},
                 {false, 719, 300, {StateRight}, 720, 300, 2},    {false, 400, 469, {StateDown}, 400, 470, 1},
                 {false, 5, 300, {StateLeft}, 1, 300, 0},         {false, 400, 3, {StateUp}, 400, 1, 1}};
    for (const auto& c : cases) {
        TPlayer& ship = Ship(c.Light, c.X, c.Y);
        Form->DXInput1->StateSet = c.Keys;
        Step(0.5f);
        EXPECT_EQ(ship.X, c.ToX);
        EXPECT_EQ(ship.Y, c.ToY);
        EXPECT_EQ(ship.FramePos, c.Frame);
        ship.SetControllable(false);
        Step(0.5f);
        EXPECT_EQ(ship.X, c.ToX) << "no steering while not controllable";
        ship.Kill();
    }
}

TEST_F(PlayerTest, EnergyRechargesBySecondsAndShieldsOnlyWhileUp) {
    const struct {
        bool Shields;
        float Phaser, Shield, FrameTime, PhaserAfter, ShieldAfter;
        int Power;
    } cases[] = {{false, 50, 50, 1, 85, 50, 212}, {true, 50, 50, 1, 61, 55, 152}, {false, 99, 100, 1, 134, 100, 335},
                 {true, 120, 140, 0, 100, 100, 250}};
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

TEST_F(PlayerTest, AClickFiresOnceOnlyAheadOfTheEmittersWithTheButtonHeldAndUncloaked) {
    const struct {
        bool Cloaked, Held;
        TPoint Aim;
        int Clicks;
        bool Fired;
    } cases[] = {{false, true, {400, 100}, 2, true},  {false, true, {400, 430}, 1, false},  // level with the emitter
                 {false, true, {400, 500}, 1, false}, {true, true, {400, 100}, 1, false},
                 {false, false, {400, 100}, 1, false}};
    for (const auto& c : cases) {
        TPlayer& ship = Ship(true, 370, 400);
        ship.SetCloak(c.Cloaked);
        Input.Mouse.Buttons[0] = c.Held ? 0x80 : 0;
        Form->DXWaveList1->Items().Items(EffectPhaser).SetPan(1234);
        for (int click = 0; click < c.Clicks; ++click) {
            ship.MouseDown(c.Aim);
            ship.MouseUp();
        }
        EXPECT_EQ(AimPoint, c.Aim);
        Step(0);
        EXPECT_EQ(PhaserFired, c.Fired);
        EXPECT_EQ(ship.GetPhaserEnergy(), c.Fired ? 90.0f : 100.0f) << "one shot, one cost";
        EXPECT_EQ(Pan(EffectPhaser), c.Fired ? 0 : 1234);
        ship.Kill();
    }
}

TEST_F(PlayerTest, BeamsRunFromTheEmittersToTheAimPoint) {
    const struct {
        bool Light;
        TPoint Aim;
        std::vector<TPoint> On, Off;
    } cases[] = {  // emitters at (400, 430), or at (365, 415) and (435, 415)
        {true, {200, 230}, {{300, 330}, {210, 240}, {395, 425}}, {{300, 230}, {190, 220}, {405, 435}}},
        {false, {400, 200}, {{382, 307}, {418, 307}, {367, 405}, {433, 405}}, {{365, 307}, {435, 307}, {400, 307}}}};
    for (const auto& c : cases) {
        Surface().Fill(0);
        TPlayer& ship = Ship(c.Light, c.Light ? 370 : 360, 400);
        ship.FireRequested = true;
        AimPoint = c.Aim;
        Step(0);
        for (const TPoint p : c.On) EXPECT_NE(Surface().Pixel(p.X, p.Y), 0) << p.X << ", " << p.Y;
        for (const TPoint p : c.Off) EXPECT_EQ(Surface().Pixel(p.X, p.Y), 0) << p.X << ", " << p.Y;
        ship.Kill();
    }
}

TEST_F(PlayerTest, TorpedoesLeaveFromTheCentreWithTheirLaunchSoundingFromTheMiddle) {
    TPlayer& ship = Ship(true, 1, 401);
    ship.FireTorpedo(135);
    auto* torpedo = dynamic_cast<TPlayerPhotonTorpedo*>(Root().Items(Root().Count() - 1));
    ASSERT_NE(torpedo, nullptr);
    EXPECT_EQ(torpedo->X, 31);
    EXPECT_EQ(torpedo->Y, 431);
    EXPECT_EQ(torpedo->Angle, 135.0f);
    EXPECT_EQ(torpedo->Damage, 10000);
    EXPECT_EQ(ship.GetTorpedoes(), 14);
    EXPECT_EQ(Pan(EffectTorpedoLaunch), 0);

    for (const auto& refuse : {+[](TPlayer& p) { p.SetCloak(true); }, +[](TPlayer& p) { p.Torpedoes = 0; },
                               +[](TPlayer& p) { p.TakeDamage(5000); }}) {
        TPlayer& other = Ship(true);
        refuse(other);
        const int before = Root().Count();
        other.FireTorpedo(90);
        EXPECT_EQ(Root().Count(), before);
    }
}

TEST_F(PlayerTest, AWarpingShipRisesUntilItHasLeftTheTopWithoutSteeringOrFiringAndPublishesItsCentre) {
    TPlayer& ship = Ship(true, 370, 660);
    Form->DXWaveList1->Items().Items(EffectWarp).SetPan(1234);
    ship.SetWarp(true, false);
    EXPECT_EQ(Pan(EffectWarp), 1234) << "the fly-in is silent";
    ship.SetWarp(true, true);
    EXPECT_EQ(Pan(EffectWarp), 0) << "the warp sounds from the middle";
    Form->DXInput1->StateSet = {StateLeft};
    ship.FireRequested = true;
    AimPoint = {100, 100};
    ship.X = 370.5;
    Step(0.5f);
    EXPECT_EQ(ship.Y, 585);
    EXPECT_EQ(ship.X, 370.5);
    EXPECT_FALSE(PhaserFired);
    EXPECT_EQ((std::array{PlayerCenterX, PlayerCenterY, PhaserDamage}), (std::array{400, 615, 0})) << "halves to even";
    ship.SetCloak(true);
    ship.Y = -59;  // one pixel row still on the screen
    Step(0.5f);
    EXPECT_EQ(ship.Y, -134);
    EXPECT_TRUE(PlayerCloaked);
    Step(0.5f);
    EXPECT_EQ(ship.Y, -134);
}
