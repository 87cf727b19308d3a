// Tests of the enemy fleet: the kinds and their class references, scoring, the phaser shot's
// first taker, each kind's manoeuvres and firing timers, the cruiser's beam (range, charge,
// aim), the explosions' places and ends, leaving the screen, and the enemy torpedo.
#include <gtest/gtest.h>

#include <functional>

#include "support/GameWorld.h"

using namespace Sprites;

namespace {

class EnemiesTest : public GameWorldTest {};

}  // namespace

TEST_F(EnemiesTest, EverySpriteClassIsMadeThroughItsClassReferenceAndKnownByName) {
    const struct {
        TSpriteClass Class;
        std::string_view Name;
        int Hull;
        float Speed;
        int TorpedoDamage;
        int Image;
    } ships[] = {{SpriteClassOf<TEnemyShuttle>(), "TEnemyShuttle", 900, 40, 0, 6},
                 {SpriteClassOf<TEnemyDefiant>(), "TEnemyDefiant", 3040, 30, 50, 7},
                 {SpriteClassOf<TEnemyAkira>(), "TEnemyAkira", 5500, 28, 250, 8},
                 {SpriteClassOf<TEnemyInterpid>(), "TEnemyInterpid", 60000, 20, 0, 9}};
    for (const auto& c : ships) {
        EXPECT_EQ(c.Class.ClassName(), c.Name);
        auto* ship = dynamic_cast<TEnemy*>(c.Class.Create(&Root()));
        ASSERT_NE(ship, nullptr) << c.Name;
        EXPECT_EQ(ship->GetHull(), c.Hull);
        EXPECT_EQ(ship->Speed, c.Speed);
        EXPECT_EQ(ship->TorpedoDamage, c.TorpedoDamage);
        EXPECT_EQ(ship->Image, &GameImage(c.Image));
        EXPECT_EQ(ship->Width, GameImage(c.Image).PatternWidth);
        EXPECT_EQ(ship->Height, GameImage(c.Image).PatternHeight);
        EXPECT_EQ(ship->FrameCount, 3);
        EXPECT_EQ(ship->FramePos, 1);
        EXPECT_EQ(ship->Z(), 5);
        EXPECT_FALSE(ship->IsExploding() || ship->IsFinished());
    }
    const struct {
        TSpriteClass Class;
        std::string_view Name;
        int Z;
    } others[] = {{SpriteClassOf<TPlayer>(), "TPlayer", 0},
                  {SpriteClassOf<TBackground>(), "TBackground", 1},
                  {SpriteClassOf<TPlayerPhotonTorpedo>(), "TPlayerPhotonTorpedo", 4},
                  {SpriteClassOf<TEnemyPhotonTorpedo>(), "TEnemyPhotonTorpedo", 4},
                  {SpriteClassOf<TFriendSupplyShip>(), "TFriendSupplyShip", 5}};
    for (const auto& c : others) {
        EXPECT_EQ(c.Class.ClassName(), c.Name);
        EXPECT_EQ(c.Class.Create(&Root())->Z(), c.Z) << c.Name;
    }
    EXPECT_TRUE(SpriteClassOf<TFriendSupplyShip>().ClassNameIs("tfriendsupplyship"));
}

TEST_F(EnemiesTest, AShuttleScoresOnceAndItsExplosionDriftsDown) {
    auto& shuttle = Make<TEnemyShuttle>(100, 200);
    shuttle.TakeDamage(10000);
    shuttle.TakeDamage(10000);
    EXPECT_EQ(Main::Score, 25);
    EXPECT_EQ(shuttle.GetHull(), -10000);
    EXPECT_TRUE(shuttle.IsExploding());
    EXPECT_EQ(shuttle.Z(), 6);
    EXPECT_EQ(shuttle.Image, &GameImage(ImageExplosion));
    EXPECT_EQ(shuttle.Width, 34);
    EXPECT_EQ(Pan(EffectExplosion), -4286);
    Step(0.5f);
    EXPECT_EQ(shuttle.Y, 220);
}

TEST_F(EnemiesTest, ThePhaserShotGoesWholeToTheFirstShipInMoveOrderThatHoldsTheAimPoint) {
    auto* player = new TPlayer(&Root());
    player->SetShipType(true);
    player->Y = 400;
    auto& first = Make<TEnemyShuttle>(100, 100);
    auto& second = Make<TEnemyShuttle>(110, 110);
    auto& supply = Make<TFriendSupplyShip>(100, 100);
    supply.Y = 100;
    player->FireRequested = true;
    AimPoint = {120, 120};
    Step(0);
    EXPECT_EQ(first.GetHull(), 900 - 250);
    EXPECT_EQ(second.GetHull(), 900);
    EXPECT_EQ(supply.GetHull(), 5000);
    EXPECT_FALSE(PhaserFired);

    player->FireRequested = true;
    AimPoint = {200, 150};  // only the supply ship
    Step(0);
    EXPECT_EQ(supply.GetHull(), 5000 - 225) << "the second shot, from 90 energy";
}

TEST_F(EnemiesTest, ADefiantDriftsAwayFromTheCentreLineUnlessExactlyOnIt) {
    const struct {
        double X;
        double ToX;
        int Frame;
    } cases[] = {{373, 373, 1}, {372, 362, 0}, {374, 384, 2}, {372.5, 362.5, 0}};  // centre 400 - 54 div 2
    for (const auto& c : cases) {
        auto& defiant = Make<TEnemyDefiant>(c.X, 100);
        Step(1);
        EXPECT_EQ(defiant.X, c.ToX) << c.X;
        EXPECT_EQ(defiant.Y, 130);
        EXPECT_EQ(defiant.FramePos, c.Frame) << c.X;
        defiant.Kill();
    }
}

TEST_F(EnemiesTest, AnAkiraMovesOutToTheQuarterLineOnItsSideAndHolds) {
    const struct {
        double X;
        double ToX;
        int Frame;
    } cases[] = {{150, 150, 1}, {161, 161, 1}, {200, 190, 0}, {361, 361, 1},  // 78 wide: quarter 161, centre 361
                 {500, 510, 2}, {561, 561, 1}, {570, 570, 1}};
    for (const auto& c : cases) {
        auto& akira = Make<TEnemyAkira>(c.X, 100);
        Step(1);
        EXPECT_EQ(akira.X, c.ToX) << c.X;
        EXPECT_EQ(akira.Y, 128);
        EXPECT_EQ(akira.FramePos, c.Frame) << c.X;
        akira.Kill();
    }
}

TEST_F(EnemiesTest, TorpedoShipsFireOnTimersThatRunOnlyWhileThePlayerIsVisible) {
    const struct {
        std::function<TEnemy&()> Make;
        int FirstShot;  // firing frames of one second before the launch
        double TorpedoX, TorpedoY;  // the ship has moved for every frame, cloaked or not
        int Damage;
    } cases[] = {
        {[this]() -> TEnemy& { return Make<TEnemyDefiant>(100.5, 50); }, 4, 100.5 - 80 + 27 - 7, 50 + 240 + 29 - 7, 50},
        {[this]() -> TEnemy& { return Make<TEnemyAkira>(100, 50); }, 2, 100 + 39 - 7, 50 + 168 + 56 - 7, 250},
    };
    for (const auto& c : cases) {
        TEnemy& ship = c.Make();
        PlayerCloaked = true;
        for (int i = 0; i < 3; ++i) Step(1);
        PlayerCloaked = false;
        for (int i = 0; i < c.FirstShot; ++i) Step(1);
        ASSERT_EQ(Root().Count(), 1) << "nothing fired yet";
        Step(1);
        ASSERT_EQ(Root().Count(), 2);
        auto* torpedo = dynamic_cast<TEnemyPhotonTorpedo*>(Root().Items(1));
        ASSERT_NE(torpedo, nullptr);
        EXPECT_EQ(torpedo->X, c.TorpedoX);
        EXPECT_EQ(torpedo->Y, c.TorpedoY);
        EXPECT_EQ(torpedo->Damage, c.Damage);
        EXPECT_EQ(Pan(EffectTorpedoLaunch), EffectPan(static_cast<float>(ship.X)));
        Root().Clear();
    }
}

TEST_F(EnemiesTest, TheCruiserComesDownAtARandomPlaceAndStopsBelowItsLine) {
    Random::SetSeed(7);
    const int expectedX = Random::Next(800 - 120);
    Random::SetSeed(7);
    auto* cruiser = new TEnemyInterpid(&Root());
    EXPECT_EQ(cruiser->X, expectedX);
    EXPECT_EQ(cruiser->Y, -170);
    EXPECT_EQ(cruiser->BeamCharge, 255.0f);
    PlayerCenterX = static_cast<int>(cruiser->X) + 60;
    PlayerCenterY = 300;
    int frames = 0;
    while (cruiser->Y <= 20 && frames < 100) {
        Step(1);
        ++frames;
    }
    EXPECT_EQ(cruiser->Y, 30);
    EXPECT_FALSE(BeamHit) << "no beam while descending";
    Step(1);
    EXPECT_EQ(cruiser->Y, 30);
    EXPECT_TRUE(BeamHit);
}

TEST_F(EnemiesTest, TheCruiserFiresWithinRangeAndOtherwiseClosesInSideways) {
    const struct {
        TPoint Player;
        bool Fires;
        double ToX;
        int Frame;
    } cases[] = {{{670, 460}, false, 360, 2}, {{130, 460}, false, 320, 0}, {{400, 499}, true, 340, 1}};
    for (const auto& c : cases) {
        auto& cruiser = Make<TEnemyInterpid>(340, 25);  // centre (400, 100)
        PlayerCenterX = c.Player.X;
        PlayerCenterY = c.Player.Y;
        BeamHit = false;
        Step(1);
        EXPECT_EQ(BeamHit, c.Fires) << c.Player.X;
        EXPECT_EQ(cruiser.X, c.ToX);
        EXPECT_EQ(cruiser.FramePos, c.Frame);
        EXPECT_EQ(cruiser.BeamCharge, c.Fires ? 254.0f : 255.0f);
        cruiser.Kill();
    }
}

TEST_F(EnemiesTest, AShotLandingTheChargeOnExactly253CostsFiftyMore) {
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
    PlayerCloaked = true;
    Step(0);
    EXPECT_FALSE(BeamHit) << "no beam at a cloaked ship";
}

TEST_F(EnemiesTest, TheCruiserBeamIsDrawnTowardThePlayerOnEverySide) {
    const struct {
        TPoint Player;
        TPoint OnBeam;
        TPoint OffBeam;
    } cases[] = {{{450, 30}, {425, 65}, {425, 135}},   // above the cruiser's centre, to the right
                 {{400, 30}, {400, 60}, {400, 140}},   // straight above
                 {{300, 40}, {350, 70}, {350, 130}},   // above, to the left
                 {{450, 300}, {425, 200}, {425, 0}},   // below
                 {{250, 100}, {300, 100}, {500, 100}}};  // level
    for (const auto& c : cases) {
        Surface().Fill(0);
        auto& cruiser = Make<TEnemyInterpid>(340, 25);  // centre (400, 100)
        PlayerCenterX = c.Player.X;
        PlayerCenterY = c.Player.Y;
        Step(0);
        EXPECT_NE(Surface().Pixel(c.OnBeam.X, c.OnBeam.Y), 0) << c.Player.X << ", " << c.Player.Y;
        EXPECT_EQ(Surface().Pixel(c.OffBeam.X, c.OffBeam.Y), 0) << c.Player.X << ", " << c.Player.Y;
        cruiser.Kill();
        Step(0);
    }
}

TEST_F(EnemiesTest, EachKindExplodesOverItsOwnRectangle) {
    const struct {
        std::function<TEnemy&()> Make;
        TRect Area;
    } cases[] = {{[this]() -> TEnemy& { return Make<TEnemyShuttle>(200, 200); }, {183, 187, 251, 247}},
                 {[this]() -> TEnemy& { return Make<TEnemyDefiant>(200, 200); }, {195, 200, 260, 258}},
                 {[this]() -> TEnemy& { return Make<TEnemyAkira>(200, 200); }, {184, 200, 301, 284}},
                 {[this]() -> TEnemy& { return Make<TEnemyInterpid>(200, 200); }, {140, 200, 380, 350}}};
    for (const auto& c : cases) {
        TEnemy& ship = c.Make();
        ship.TakeDamage(100000);
        ship.FramePos = 3.4;
        Surface().Fill(0);
        Form->DXSpriteEngine1->Draw();
        EXPECT_EQ(DrawnArea(), c.Area);
        ship.Kill();
        Step(0);
    }
}

TEST_F(EnemiesTest, AFinishedShipRemovesItselfButTheCruiserWaitsForTheSession) {
    const struct {
        std::function<TEnemy&()> Make;
        bool Removed;
    } cases[] = {{[this]() -> TEnemy& { return Make<TEnemyShuttle>(100, 600); }, true},
                 {[this]() -> TEnemy& { return Make<TEnemyDefiant>(800, 100); }, true},
                 {[this]() -> TEnemy& { return Make<TEnemyAkira>(-78, 100); }, true},
                 {[this]() -> TEnemy& { return Make<TEnemyAkira>(-77.5, 100); }, false},
                 {[this]() -> TEnemy& { return Make<TEnemyInterpid>(100, 600); }, false}};
    for (const auto& c : cases) {
        TEnemy& ship = c.Make();
        Step(0);
        EXPECT_EQ(!Alive(&ship), c.Removed);
        if (!c.Removed) {
            ship.Kill();
            Step(0);
        }
    }
}

TEST_F(EnemiesTest, AnExplosionEndsOnItsLastFrameEvenWhenItStartedInAFrameOfNoTime) {
    for (float frameTime : {0.02f, 0.0f}) {
        auto& shuttle = Make<TEnemyShuttle>(100, 100);
        auto& cruiser = Make<TEnemyInterpid>(300, 100);
        Main::FrameTime = frameTime;
        shuttle.TakeDamage(900);
        cruiser.TakeDamage(60000);
        shuttle.Speed = 0;  // it would otherwise also finish by leaving the screen
        int frames = 0;
        while (Alive(&shuttle) && frames < 1000) {
            Step(0.02f);
            ++frames;
        }
        EXPECT_FALSE(Alive(&shuttle)) << frameTime;
        EXPECT_TRUE(cruiser.IsFinished()) << frameTime;
        EXPECT_EQ(cruiser.FramePos, 8);
        cruiser.Kill();
        Step(0);
    }
}

TEST_F(EnemiesTest, AnEnemyTorpedoFallsHitsOnlyThePlayerAndEndsOffTheScreen) {
    const struct {
        double X, Y;
        float FrameTime;
        bool Removed;
    } cases[] = {{100, 0, 0, true},     {0, 100, 0.1f, true},  {100, -10, 0.05f, true},
                 {100, 590, 0.1f, true}, {799, 100, 0.1f, false}, {100, 100, 0.1f, false}};
    for (const auto& c : cases) {
        auto& torpedo = Make<TEnemyPhotonTorpedo>(c.X, c.Y);
        Step(c.FrameTime);
        EXPECT_EQ(!Alive(&torpedo), c.Removed) << c.X << ", " << c.Y;
        if (!c.Removed) {
            EXPECT_EQ(torpedo.Y, c.Y + 120.0 * c.FrameTime);
            torpedo.Kill();
            Step(0);
        }
    }

    auto* player = new TPlayer(&Root());
    player->SetShipType(true);
    player->X = 300;
    player->Y = 300;
    auto& shuttle = Make<TEnemyShuttle>(300, 300);
    shuttle.Speed = 0;
    shuttle.TakeDamage(900);  // exploding: the player does not ram it
    auto& torpedo = Make<TEnemyPhotonTorpedo>(310, 310);
    torpedo.SetDamage(250);
    Step(0);
    EXPECT_EQ(player->GetHull(), 770);
    EXPECT_FALSE(Alive(&torpedo));
    EXPECT_EQ(shuttle.GetHull(), 0);
}
