// Tests of the star field (its scatter, fall and re-entry), the player's torpedo (flight by
// angle, drawing along its flight, one hit, the screen's edge) and the supply ship (descent,
// waiting, leaving, its destruction and penalty).
#include <gtest/gtest.h>

#include "support/GameWorld.h"

using namespace Sprites;

namespace {

class WorldTest : public GameWorldTest {};

}  // namespace

TEST_F(WorldTest, TheStarFieldIsScatteredInItsFirstTwoStepsInThreeLayers) {
    auto& field = Make<TBackground>(0, 0);
    EXPECT_EQ(field.Z(), 1);
    Step(0);
    Step(0);
    const float firstX = field.Stars[0].X;
    Step(0);
    EXPECT_EQ(field.InitPasses, 2);
    EXPECT_EQ(field.Stars[0].X, firstX) << "scattered twice, then left alone";
    int kinds[3] = {};
    for (const TBackground::TStar& star : field.Stars) {
        EXPECT_TRUE(star.Y >= -150 && star.Y <= 449 && star.X >= -7 && star.X <= 792) << star.X << ", " << star.Y;
        ASSERT_TRUE(star.Kind >= 0 && star.Kind <= 2);
        EXPECT_EQ(star.SpeedFactor, static_cast<float>(star.Kind + 1));
        ++kinds[star.Kind];
    }
    EXPECT_TRUE(kinds[0] > 220 && kinds[0] < 315 && kinds[1] > 35 && kinds[2] > 35) << "two thirds of kind 0";
}

TEST_F(WorldTest, StarsFallByTheirLayerAndReenterAboveOnceTheyReachTheBottom) {
    auto& field = Make<TBackground>(0, 0);
    Step(0);
    Step(0);
    const struct {
        float Y, Speed, ToY;
    } cases[] = {{0, 3, 75}, {575, 1, -150}, {574.5f, 1, 599.5f}, {560, 2, -150}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        field.Stars[i].Y = cases[i].Y;
        field.Stars[i].SpeedFactor = cases[i].Speed;
    }
    Step(1);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const TBackground::TStar& star = field.Stars[i];
        EXPECT_EQ(star.Y, cases[i].ToY) << i;
        if (star.Y < 0) {
            EXPECT_TRUE(star.X >= 0 && star.X < 793) << star.X;
            EXPECT_EQ(star.SpeedFactor, static_cast<float>(star.Kind + 1));
        }
    }
    field.SetSpeed(50);
    EXPECT_EQ(field.GetSpeed(), 50.0f);
    field.Stars[0].Y = 0;
    Step(1);
    EXPECT_EQ(field.Stars[0].Y, 150);
}

TEST_F(WorldTest, ATorpedoFliesStraightAtItsAngleFromTheLeftThroughTheTopUntilItLeavesTheScreen) {
    const struct {
        float Angle;
        double Dx, Dy;
    } cases[] = {{0, -120, 0}, {90, 0, -120}, {180, 120, 0}, {270, 0, 120}, {45, -84.8528137423857, -84.8528137423857}};
    for (const auto& c : cases) {
        auto& torpedo = Make<TPlayerPhotonTorpedo>(400, 300);
        torpedo.SetAngle(c.Angle);
        Step(1);
        EXPECT_NEAR(torpedo.X, 400 + c.Dx, 1e-9) << c.Angle;
        EXPECT_NEAR(torpedo.Y, 300 + c.Dy, 1e-9) << c.Angle;
        torpedo.Kill();
    }
    auto& torpedo = Make<TPlayerPhotonTorpedo>(400, 530);
    torpedo.SetAngle(90);
    int steps = 0;
    for (; Alive(&torpedo) && steps < 100; ++steps) {
        Step(1);
    }
    EXPECT_EQ(steps, 5) << "530, 410, 290, 170, 50, then -70";
}

TEST_F(WorldTest, ATorpedoIsDrawnAlongItsFlightCentredOnItsPosition) {
    // A torpedo picture whose nose (the upper half) is white and whose tail is dark red.
    std::vector<TColor> pixels(12 * 26, RGB(255, 255, 255));
    std::fill(pixels.begin() + 12 * 13, pixels.end(), RGB(8, 0, 0));
    GameImage(ImagePlayerTorpedo).Picture.AssignPixels(12, 26, pixels);
    Form->DXImageList1->Items().Restore();
    const std::uint16_t nose = Surface().ColorToPixel(RGB(255, 255, 255));
    const struct {
        float Angle;
        TRect Area;
        TPoint Nose, Tail;
    } cases[] = {{90, {394, 287, 406, 313}, {400, 290}, {400, 310}},
                 {180, {387, 294, 413, 306}, {410, 300}, {390, 300}},
                 {0, {387, 294, 413, 306}, {390, 300}, {410, 300}},
                 {270, {394, 287, 406, 313}, {400, 310}, {400, 290}}};
    for (const auto& c : cases) {
        auto& torpedo = Make<TPlayerPhotonTorpedo>(400, 300);
        torpedo.SetAngle(c.Angle);
        Surface().Fill(0);
        Form->DXSpriteEngine1->Draw();
        const TRect area = DrawnArea();  // to a pixel: the turned picture's edges fall between pixels
        EXPECT_NEAR(area.Left, c.Area.Left, 1) << c.Angle;
        EXPECT_NEAR(area.Top, c.Area.Top, 1) << c.Angle;
        EXPECT_NEAR(area.Right, c.Area.Right, 1) << c.Angle;
        EXPECT_NEAR(area.Bottom, c.Area.Bottom, 1) << c.Angle;
        EXPECT_EQ(Surface().Pixel(c.Nose.X, c.Nose.Y), nose) << c.Angle;
        EXPECT_NE(Surface().Pixel(c.Tail.X, c.Tail.Y), nose) << c.Angle;
        Root().Clear();
    }
}

TEST_F(WorldTest, ATorpedoHitsOnlyTheFirstShipItMeetsPassingWrecksAndThePlayer) {
    auto& player = Make<TPlayer>(0, 0);
    player.SetShipType(true);
    player.X = player.Y = 290;
    player.SetWarp(true, false);  // it would ram the ships itself
    auto& wreck = Make<TEnemyShuttle>(300, 300);
    wreck.TakeDamage(900);
    auto& first = Make<TEnemyAkira>(300, 300);
    auto& second = Make<TEnemyShuttle>(300, 300);
    auto& torpedo = Make<TPlayerPhotonTorpedo>(310, 310);
    torpedo.SetDamage(10000);
    Main::Score = 0;
    Step(0);
    EXPECT_TRUE(first.IsExploding());
    EXPECT_EQ(Main::Score, 100);
    EXPECT_FALSE(second.IsExploding());
    EXPECT_EQ(player.GetHull(), 1020);
    EXPECT_FALSE(Alive(&torpedo));
}

TEST_F(WorldTest, TheSupplyShipDescendsWaitsAMinuteAndLeavesThroughTheTop) {
    Random::SetSeed(3);
    const int expectedX = Random::Next(800 - 110);
    Random::SetSeed(3);
    auto& supply = *new TFriendSupplyShip(&Root());
    EXPECT_EQ(supply.X, expectedX);
    EXPECT_EQ(supply.Y, -110);
    EXPECT_EQ(supply.Z(), 5);
    for (int second = 1; second <= 67; ++second) {
        Step(1);
        EXPECT_EQ(supply.IsInPosition(), second >= 8 && second <= 60) << second;
        EXPECT_EQ(supply.IsFinished(), second == 67) << second;
    }
    auto& visited = Make<TFriendSupplyShip>(300, 30);
    Step(1);
    visited.Leave();
    Step(1);
    EXPECT_FALSE(visited.IsInPosition());
    EXPECT_EQ(visited.Y, 10);
}

TEST_F(WorldTest, ADestroyedSupplyShipCostsFiveHundredAndBurnsOutWhereItWas) {
    for (float frameTime : {0.02f, 0.0f}) {
        auto& supply = Make<TFriendSupplyShip>(300, 10);
        Main::Score = 0;
        Main::FrameTime = frameTime;
        supply.TakeDamage(10000);
        EXPECT_TRUE(supply.IsDestroyed());
        EXPECT_EQ(supply.GetHull(), 0);
        EXPECT_EQ(Main::Score, -500);
        EXPECT_EQ(supply.Z(), 6);
        for (int frame = 0; frame < 1000 && !supply.IsFinished(); ++frame) {
            Step(0.02f);
        }
        EXPECT_EQ(supply.FramePos, 8) << frameTime;
        EXPECT_EQ(supply.Y, 10);
        Root().Clear();
    }
}
