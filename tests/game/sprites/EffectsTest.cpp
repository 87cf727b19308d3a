// Tests of what the sprites share: the game's rounding, the random generator, the sound pan of
// an effect by its source's place, and the bearing a beam is drawn at.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "support/GameWorld.h"

using namespace Sprites;

TEST(GameArithmetic, RoundHalvesToEvenAndTruncTowardZeroBothSaturating) {
    const struct {
        double Value;
        int Rounded;
        int Truncated;
    } cases[] = {{0.5, 0, 0},   {1.5, 2, 1},     {2.5, 2, 2},       {-0.5, 0, 0},
                 {-1.5, -2, -1}, {-1.7, -2, -1}, {87.745, 88, 87}, {1e300, INT_MAX, INT_MAX},
                 {-1e300, INT_MIN, INT_MIN},     {std::numeric_limits<double>::quiet_NaN(), INT_MIN, INT_MIN}};
    for (const auto& c : cases) {
        EXPECT_EQ(Round(c.Value), c.Rounded) << c.Value;
        EXPECT_EQ(Trunc(c.Value), c.Truncated) << c.Value;
    }
}

TEST(GameRandom, ASeedRepeatsItsSequenceWithinTheRange) {
    Random::SetSeed(42);
    std::vector<int> first;
    for (int i = 0; i < 50; ++i) {
        first.push_back(Random::Next(9));
        EXPECT_GE(first.back(), 0);
        EXPECT_LE(first.back(), 8);
    }
    Random::SetSeed(42);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(Random::Next(9), first[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(Random::Next(1), 0);
    EXPECT_EQ(Random::Next(0), 0);
    EXPECT_EQ(Random::Next(-5), 0);
}

TEST(BeamBearing, ClockwiseFromStraightUpTowardTheTargetOnEverySide) {
    const struct {
        double ToX, ToY;
        int Angle;  // trunc(bearing / 360 x 256)
    } cases[] = {{0, -100, 0},   {100, -100, 32}, {100, 0, 64},   {100, 100, 96},  {0, 100, 128},
                 {-100, 100, 160}, {-100, 0, 192}, {-100, -100, 224}, {30, -300, 4}, {0, 0, 128}};
    for (const auto& c : cases) {
        EXPECT_EQ(Trunc(Bearing(0, 0, c.ToX, c.ToY) / 360.0 * 256.0), c.Angle) << c.ToX << ", " << c.ToY;
    }
}

class EffectSoundTest : public GameWorldTest {};

TEST_F(EffectSoundTest, PannedByTheSourcesPlaceOnlyWithStereo) {
    const struct {
        float X;
        int Pan;
    } cases[] = {{100, -4286}, {400, 0}, {0, -5714}, {800, 5714}, {450, 714}};
    for (const auto& c : cases) {
        PlayEffect(EffectExplosion, c.X);
        EXPECT_EQ(Pan(EffectExplosion), c.Pan) << c.X;
    }
    Main::StereoOn = false;
    PlayEffect(EffectExplosion, 100);
    EXPECT_EQ(Pan(EffectExplosion), 0);
}

TEST_F(EffectSoundTest, EffectsWithoutAPlaceSoundFromTheCentreAndNothingPlaysWithSoundOff) {
    PlayEffect(EffectWarp, 0);
    EXPECT_EQ(Pan(EffectWarp), -5714) << "a source at the left edge";
    PlayEffect(EffectWarp);
    EXPECT_EQ(Pan(EffectWarp), 0);

    Main::SoundOn = false;
    PlayEffect(EffectPhaser, 800);
    EXPECT_EQ(Pan(EffectPhaser), 0) << "untouched";
}
