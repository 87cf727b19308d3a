// Tests of the enemy fleet: the kinds and their class references, scoring, the phaser shot's
// first taker, each kind's manoeuvres and firing timers, the cruiser's beam (range, charge,
// aim), the explosions' places and ends, leaving the screen, and the enemy torpedo.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <utility>

#include "support/GameWorld.h"

using namespace Sprites;

namespace {

class EnemiesTest : public GameWorldTest {
protected:
    using Maker = std::function<TEnemy&(double x, double y)>;
    template <class T>
    Maker Of() {
        return [this](double x, double y) -> TEnemy& { return Make<T>(x, y); };
    }
};

}  // namespace

TEST_F(EnemiesTest, EverySpriteClassIsMadeThroughItsClassReferenceAndKnownByName) {
    const std::pair<TSpriteClass, std::string_view> named[] = {
        {SpriteClassOf<TEnemyShuttle>(), "TEnemyShuttle"},   {SpriteClassOf<TEnemyDefiant>(), "TEnemyDefiant"},
        {SpriteClassOf<TEnemyAkira>(), "TEnemyAkira"},       {SpriteClassOf<TEnemyInterpid>(), "TEnemyInterpid"},
        {SpriteClassOf<TPlayer>(), "TPlayer"},               {SpriteClassOf<TBackground>(), "TBackground"},
        {SpriteClassOf<TEnemyPhotonTorpedo>(), "TEnemyPhotonTorpedo"},
        {SpriteClassOf<TPlayerPhotonTorpedo>(), "TPlayerPhotonTorpedo"},
        {SpriteClassOf<TFriendSupplyShip>(), "TFriendSupplyShip"}};
    for (const auto& [sprite, name] : named) {
        EXPECT_EQ(sprite.ClassName(), name);
        const TSprite* made = sprite.Create(&Root());
        EXPECT_EQ(made, Root().Items(Root().Count() - 1));
    }
    const struct {
        int Hull, Image, TorpedoDamage;
        float Speed;
    } kinds[] = {{900, 6, 0, 40}, {3040, 7, 50, 30}, {5500, 8, 250, 28}, {60000, 9, 0, 20}};
    for (int i = 0; i < 4; ++i) {
        const auto& kind = kinds[i];
        auto& ship = dynamic_cast<TEnemy&>(*Root().Items(i));
        EXPECT_EQ((std::array{ship.GetHull(), ship.TorpedoDamage, ship.Width, ship.Z()}),
                  (std::array{kind.Hull, kind.TorpedoDamage, GameImage(kind.Image).PatternWidth, 5}));
        EXPECT_EQ(ship.Speed, kind.Speed);
        EXPECT_EQ(ship.Image, &GameImage(kind.Image));
        EXPECT_EQ(ship.FramePos, 1);
    }
    EXPECT_EQ(Root().Items(3)->Y, -170) << "the cruiser places itself above the screen";
}

TEST_F(EnemiesTest, AShuttleScoresOnceAndItsExplosionDriftsDown) {
    auto& shuttle = Make<TEnemyShuttle>(100, 200);
    shuttle.TakeDamage(10000);
    shuttle.TakeDamage(10000);
    EXPECT_EQ(Main::Score, 25);
    EXPECT_EQ(shuttle.GetHull(), -10000);
    EXPECT_EQ(shuttle.Z(), 6);
    EXPECT_EQ(shuttle.Image, &GameImage(ImageExplosion));
    EXPECT_EQ(Pan(EffectExplosion), -4286);
    Step(0.5f);
    EXPECT_EQ(shuttle.Y, 220);
}

TEST_F(EnemiesTest, ThePhaserShotGoesWholeToTheFirstShipInMoveOrderThatHoldsTheAimPoint) {
    auto& player = Make<TPlayer>(0, 0);
    player.SetShipType(true);
    player.Y = 400;
    auto& first = Make<TEnemyShuttle>(100, 100);
    auto& second = Make<TEnemyShuttle>(110, 110);
    auto& supply = Make<TFriendSupplyShip>(100, 100);
    for (const TPoint aim : {TPoint{120, 120}, TPoint{200, 150}}) {
        player.FireRequested = true;
        AimPoint = aim;
        Step(0);
        EXPECT_FALSE(PhaserFired);
    }
    EXPECT_EQ(first.GetHull(), 900 - 250);
    EXPECT_EQ(second.GetHull(), 900);
    EXPECT_EQ(supply.GetHull(), 5000 - 225) << "the second shot, from 90 energy";
}

// A Defiant drifts away from the centre line unless exactly on it; an Akira moves out to the
// quarter line on its side and holds there.
TEST_F(EnemiesTest, TorpedoShipsMoveSidewaysByTheirKindsRule) {
    const Maker defiant = Of<TEnemyDefiant>();  // centre line 373
    const Maker akira = Of<TEnemyAkira>();      // quarter line 161, centre line 361
    const struct {
        const Maker& Make;
        double X, ToX, ToY;
        int Frame;
    } cases[] = {{defiant, 373, 373, 130, 1}, {defiant, 372, 362, 130, 0}, {defiant, 374, 384, 130, 2},
                 {defiant, 372.5, 362.5, 130, 0}, {akira, 150, 150, 128, 1}, {akira, 161, 161, 128, 1},
                 {akira, 200, 190, 128, 0},       {akira, 361, 361, 128, 1}, {akira, 500, 510, 128, 2},
                 {akira, 561, 561, 128, 1},       {akira, 570, 570, 128, 1}};
    for (const auto& c : cases) {
        TEnemy& ship = c.Make(c.X, 100);
        Step(1);
        EXPECT_EQ(ship.X, c.ToX) << c.X;
        EXPECT_EQ(ship.Y, c.ToY);
        EXPECT_EQ(ship.FramePos, c.Frame) << c.X;
        ship.Kill();
    }
}

TEST_F(EnemiesTest, TorpedoShipsFireOnTimersThatRunOnlyWhileThePlayerIsVisible) {
    const struct {
        Maker Make;
        int FirstShot;              // firing frames of a second before the launch
        double TorpedoX, TorpedoY;  // the ship has moved in every frame, cloaked or not
        int Damage;
    } cases[] = {{Of<TEnemyDefiant>(), 4, 100.5 - 80 + 27 - 7, 50 + 240 + 29 - 7, 50},
                 {Of<TEnemyAkira>(), 2, 100 + 39 - 7, 50 + 168 + 56 - 7, 250}};
    for (const auto& c : cases) {
        TEnemy& ship = c.Make(c.Damage == 50 ? 100.5 : 100, 50);
        PlayerCloaked = true;
        for (int i = 0; i < 3; ++i) Step(1);
        PlayerCloaked = false;
        for (int i = 0; i < c.FirstShot; ++i) Step(1);
        ASSERT_EQ(Root().Count(), 1) << "nothing fired yet";
        Step(1);
        auto* torpedo = dynamic_cast<TEnemyPhotonTorpedo*>(Root().Items(Root().Count() - 1));
        ASSERT_NE(torpedo, nullptr);
        EXPECT_EQ(torpedo->X, c.TorpedoX);
        EXPECT_EQ(torpedo->Y, c.TorpedoY);
        EXPECT_EQ(torpedo->Damage, c.Damage);
        EXPECT_EQ(Pan(EffectTorpedoLaunch), EffectPan(static_cast<float>(ship.X)));
        Root().Clear();
    }
}

TEST_F(EnemiesTest, TheCruiserFiresWithinRangeBelowItsLineAndOtherwiseClosesInSideways) {
    const struct {
        double Y;
        TPoint Player;
        bool Fires;
        double ToX, ToY;
        int Frame;
    } cases[] = {{25, {670, 460}, false, 360, 25, 2}, {25, {130, 460}, false, 320, 25, 0},  // 450 px away
                 {25, {400, 499}, true, 340, 25, 1}, {10, {400, 409}, false, 340, 30, 1}};  // 399 px; above its line
    for (const auto& c : cases) {
        auto& cruiser = Make<TEnemyInterpid>(340, c.Y);  // centre x 400
        PlayerCenterX = c.Player.X;
        PlayerCenterY = c.Player.Y;
        BeamHit = false;
        Step(1);
        EXPECT_EQ(BeamHit, c.Fires) << c.Player.X;
        EXPECT_EQ(cruiser.X, c.ToX);
        EXPECT_EQ(cruiser.Y, c.ToY);
        EXPECT_EQ(cruiser.FramePos, c.Frame);
        EXPECT_EQ(cruiser.BeamCharge, c.Fires ? 254.0f : 255.0f);
        Root().Clear();
    }
}

TEST_F(EnemiesTest, AShotLandingTheChargeOnExactly253CostsFiftyMoreAndNoneFireAtACloakedShip) {
    auto& cruiser = Make<TEnemyInterpid>(340, 25);
    PlayerCenterX = 400;
    PlayerCenterY = 300;
    Step(0);
    EXPECT_EQ(cruiser.BeamCharge, 254.0f);
    Step(0);
    EXPECT_EQ(cruiser.BeamCharge, 203.0f);
    BeamHit = false;
    Step(1);
    EXPECT_FALSE(BeamHit);
    EXPECT_EQ(cruiser.BeamCharge, 218.0f);

    cruiser.BeamCharge = 255;
    auto& defiant = Make<TEnemyDefiant>(100, 100);
    defiant.FireTimer = 20;
    PlayerCloaked = true;
    Step(1);
    EXPECT_FALSE(BeamHit);
    EXPECT_EQ(defiant.FireTimer, 20.0f);
}

TEST_F(EnemiesTest, TheCruiserBeamIsDrawnTowardThePlayerOnEverySide) {
    const struct {
        TPoint Player, On, Off;
    } cases[] = {{{450, 30}, {425, 65}, {425, 135}},     // above the cruiser's centre, to the right
                 {{400, 30}, {400, 60}, {400, 140}},     // straight above
                 {{300, 40}, {350, 70}, {350, 130}},     // above, to the left
                 {{450, 300}, {425, 200}, {425, 0}},     // below
                 {{250, 100}, {300, 100}, {500, 100}}};  // level
    for (const auto& c : cases) {
        Surface().Fill(0);
        auto& cruiser = Make<TEnemyInterpid>(340, 25);  // centre (400, 100)
        PlayerCenterX = c.Player.X;
        PlayerCenterY = c.Player.Y;
        Step(0);
        EXPECT_NE(Surface().Pixel(c.On.X, c.On.Y), 0) << c.Player.X << ", " << c.Player.Y;
        EXPECT_EQ(Surface().Pixel(c.Off.X, c.Off.Y), 0) << c.Player.X << ", " << c.Player.Y;
        cruiser.Kill();
    }
}

TEST_F(EnemiesTest, EachKindExplodesOverItsOwnRectangle) {
    const struct {
        Maker Make;
        TRect Area;
    } cases[] = {{Of<TEnemyShuttle>(), {183, 187, 251, 247}},
                 {Of<TEnemyDefiant>(), {195, 200, 260, 258}},
                 {Of<TEnemyAkira>(), {184, 200, 301, 284}},
                 {Of<TEnemyInterpid>(), {140, 200, 380, 350}}};
    for (const auto& c : cases) {
        TEnemy& ship = c.Make(200, 200);
        ship.TakeDamage(100000);
        ship.FramePos = 3.4;
        Surface().Fill(0);
        Form->DXSpriteEngine1->Draw();
        EXPECT_EQ(DrawnArea(), c.Area);
        ship.Kill();
        Step(0);
    }
}

TEST_F(EnemiesTest, AShipOffTheScreenOrBurntOutRemovesItselfButTheCruiserWaitsForTheSession) {
    const struct {
        Maker Make;
        double X, Y;
        bool Removed;
    } cases[] = {{Of<TEnemyShuttle>(), 100, 600, true},  {Of<TEnemyDefiant>(), 800, 100, true},
                 {Of<TEnemyAkira>(), -78, 100, true},    {Of<TEnemyAkira>(), -77.5, 100, false},
                 {Of<TEnemyInterpid>(), 100, 600, false}};
    for (const auto& c : cases) {
        TEnemy& ship = c.Make(c.X, c.Y);
        Step(0);
        ASSERT_EQ(!Alive(&ship), c.Removed) << c.X;
        if (!c.Removed) {
            EXPECT_EQ(ship.IsFinished(), c.Y == 600) << c.X;
        }
        Root().Clear();
    }
    // An explosion started in a frame of no time still ends.
    for (float frameTime : {0.02f, 0.0f}) {
        auto& shuttle = Make<TEnemyShuttle>(100, 100);
        auto& cruiser = Make<TEnemyInterpid>(300, 100);
        Main::FrameTime = frameTime;
        shuttle.TakeDamage(900);
        cruiser.TakeDamage(60000);
        shuttle.Speed = 0;  // it would otherwise also end by leaving the screen
        for (int frame = 0; frame < 1000 && Alive(&shuttle); ++frame) {
            Step(0.02f);
        }
        EXPECT_FALSE(Alive(&shuttle)) << frameTime;
        EXPECT_TRUE(cruiser.IsFinished() && cruiser.FramePos == 8) << frameTime;
        Root().Clear();
    }
}

TEST_F(EnemiesTest, AnEnemyTorpedoFallsHitsOnlyThePlayerAndEndsOffTheScreen) {
    const struct {
        double X, Y;
        float FrameTime;
        bool Removed;
    } cases[] = {{100, 0, 0, true},      {0, 100, 0.1f, true},    {100, -10, 0.05f, true},
                 {100, 590, 0.1f, true}, {799, 100, 0.1f, false}, {100, 100, 0.1f, false}};
    for (const auto& c : cases) {
        auto& torpedo = Make<TEnemyPhotonTorpedo>(c.X, c.Y);
        Step(c.FrameTime);
        ASSERT_EQ(!Alive(&torpedo), c.Removed) << c.X << ", " << c.Y;
        if (!c.Removed) {
            EXPECT_EQ(torpedo.Y, c.Y + 120.0 * c.FrameTime);
        }
        Root().Clear();
    }

    auto& player = Make<TPlayer>(0, 0);
    player.SetShipType(true);
    player.X = player.Y = 300;
    auto& wreck = Make<TEnemyShuttle>(300, 300);
    wreck.Speed = 0;
    wreck.TakeDamage(900);  // exploding: the player does not ram it
    auto& torpedo = Make<TEnemyPhotonTorpedo>(310, 310);
    torpedo.SetDamage(250);
    Step(0);
    EXPECT_EQ(player.GetHull(), 770);
    EXPECT_FALSE(Alive(&torpedo));
    EXPECT_EQ(wreck.GetHull(), 0);
}
