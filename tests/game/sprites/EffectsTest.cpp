// Tests of what the sprites share: the game's rounding, the random generator, the bearing a beam
// is drawn at, and the sound pan of an effect by its source's place.
#include <gtest/gtest.h>

#include <climits>

#include "support/GameWorld.h"

using namespace Sprites;

TEST(GameArithmetic, RoundHalvesToEvenAndSaturates) {
    const struct {
        double Value;
        int Rounded;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-1.5, -2}, {87.745, 88}, {1e300, INT_MAX}, {-1e300, INT_MIN}};
    for (const auto& c : cases) EXPECT_EQ(Round(c.Value), c.Rounded) << c.Value;
}

TEST(GameRandom, ASeedRepeatsItsSequenceWithinTheRange) {
    Random::SetSeed(42);
    std::vector<int> first(50);
    for (int& n : first) n = Random::Next(9);
    EXPECT_TRUE(std::ranges::all_of(first, [](int n) { return n >= 0 && n <= 8; }));
    Random::SetSeed(42);
    for (const int n : first) EXPECT_EQ(Random::Next(9), n);
    EXPECT_EQ(Random::Next(0) + Random::Next(-5), 0);
}

TEST(BeamBearing, ClockwiseFromStraightUpTowardTheTargetOnEverySide) {
    const struct {
        double ToX, ToY;
        int Angle;  // trunc(bearing / 360 x 256)
    } cases[] = {{0, -100, 0},    {100, -100, 32},   {100, 0, 64},     {100, 100, 96}, {0, 100, 128},
                 {-100, 100, 160}, {-100, 0, 192}, {-100, -100, 224}, {30, -300, 4},  {0, 0, 128}};
    for (const auto& c : cases) {
        EXPECT_EQ(TruncToInt(Bearing(0, 0, c.ToX, c.ToY) / 360.0 * 256.0), c.Angle) << c.ToX << ", " << c.ToY;
    }
}

class EffectSoundTest : public GameWorldTest {};

TEST_F(EffectSoundTest, PannedByTheSourcesPlaceWithStereoAndFromTheCentreWithoutAPlace) {
    const struct {
        float X;
        int Pan;
    } cases[] = {{100, -4286}, {400, 0}, {0, -5714}, {800, 5714}, {450, 714}};
    for (const auto& c : cases) {
        PlayEffect(EffectExplosion, c.X);
        EXPECT_EQ(Pan(EffectExplosion), c.Pan) << c.X;
    }
    PlayEffect(EffectWarp);
    EXPECT_EQ(Pan(EffectWarp), 0);
    Main::StereoOn = false;
    PlayEffect(EffectExplosion, 100);
    EXPECT_EQ(Pan(EffectExplosion), 0);
    Main::SoundOn = false;
    PlayEffect(EffectPhaser, 800);
    EXPECT_EQ(Pan(EffectPhaser), 0) << "not played: untouched";
}
