// Tests of the output limiter on its own: the shape of its gain around a peak (a glide down
// within the look-ahead, a hold, a slow return to exactly one), the gain shared by both
// channels, and a stream that comes out the same however it is cut into blocks.
#include "platform/PeakLimiter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace platform {
namespace {

constexpr std::uint32_t Rate = 44100;

// Interleaved stereo: a steady level with a burst in it.
std::vector<float> Steady(std::size_t frames, float left, float right) {
    std::vector<float> samples(2 * frames);
    for (std::size_t i = 0; i < frames; ++i) {
        samples[2 * i] = left;
        samples[2 * i + 1] = right;
    }
    return samples;
}

void PutBurst(std::vector<float>& samples, std::size_t from, std::size_t frames, float left, float right) {
    for (std::size_t i = from; i < from + frames; ++i) {
        samples[2 * i] = left;
        samples[2 * i + 1] = right;
    }
}

std::vector<float> Limited(std::vector<float> samples, std::size_t block) {
    PeakLimiter limiter(Rate);
    for (std::size_t done = 0; done < samples.size() / 2; done += block) {
        limiter.Process(samples.data() + 2 * done, std::min(block, samples.size() / 2 - done));
    }
    return samples;
}

TEST(PeakLimiter, GlidesIntoAPeakHoldsItAndReturnsSlowlyToExactlyOne) {
    struct Case {
        float Left;
        float Right;
    };
    // Bursts on both channels, on one, and of opposite signs.
    const Case bursts[] = {{2.0f, 2.0f}, {2.0f, 0.25f}, {0.5f, -3.0f}};
    constexpr std::size_t BurstAt = 2000;
    constexpr std::size_t BurstFrames = 20;
    constexpr float Quiet = 0.5f;
    const std::size_t latency = PeakLimiter(Rate).LatencyFrames();
    const std::size_t length = latency + 1;
    ASSERT_NEAR(static_cast<double>(length) / Rate, PeakLimiter::LookAheadSeconds, 1.0 / Rate);

    for (const Case& burst : bursts) {
        std::vector<float> input = Steady(2 * Rate, Quiet, Quiet);
        PutBurst(input, BurstAt, BurstFrames, burst.Left, burst.Right);
        const std::vector<float> output = Limited(input, 1024);

        // The gain each output frame got, and the same on both channels.
        std::vector<double> gain(output.size() / 2, 1.0);
        for (std::size_t n = latency; n < gain.size(); ++n) {
            const std::size_t in = n - latency;
            gain[n] = output[2 * n] / static_cast<double>(input[2 * in]);
            ASSERT_NEAR(output[2 * n + 1] / static_cast<double>(input[2 * in + 1]), gain[n], 1e-6) << n;
            ASSERT_LE(std::fabs(output[2 * n]), PeakLimiter::Ceiling) << n;
            ASSERT_LE(std::fabs(output[2 * n + 1]), PeakLimiter::Ceiling) << n;
        }
        for (std::size_t n = latency; n < BurstAt; ++n) ASSERT_EQ(output[2 * n], input[2 * (n - latency)]) << n;

        const double loudest = std::max(std::fabs(burst.Left), std::fabs(burst.Right));
        const double needed = PeakLimiter::Ceiling / loudest;
        const double glideStep = (1.0 - needed) / static_cast<double>(length);
        for (std::size_t n = BurstAt; n < BurstAt + length; ++n) {
            EXPECT_LE(gain[n - 1] - gain[n], glideStep + 1e-6) << "a glide, not a step, at " << n;
            EXPECT_GE(gain[n - 1] - gain[n], glideStep - 1e-6) << n;
        }
        const std::size_t burstOut = BurstAt + latency;
        const float burstPeak = std::max(std::fabs(output[2 * burstOut]), std::fabs(output[2 * burstOut + 1]));
        EXPECT_NEAR(burstPeak, PeakLimiter::Ceiling, 1e-5) << "the peak meets the ceiling";

        const std::size_t after = burstOut + BurstFrames;
        for (std::size_t n = after; n < gain.size(); ++n) EXPECT_GE(gain[n], gain[n - 1] - 1e-9) << n;
        const std::size_t fiftyMs = Rate / 20;
        EXPECT_LT(gain[after + fiftyMs], 0.9) << "released slowly, so it does not pump";
        EXPECT_GT(gain[after + fiftyMs], needed + 0.1);
        const std::size_t oneAndHalfSeconds = Rate * 3 / 2;
        EXPECT_EQ(gain[after + oneAndHalfSeconds], 1.0) << "back to exactly one";
        EXPECT_EQ(output[output.size() - 1], Quiet);
    }
}

TEST(PeakLimiter, TheStreamComesOutTheSameInBlocksOfAnySize) {
    std::vector<float> input = Steady(Rate / 2, 0.3f, -0.3f);
    for (std::size_t at = 1000; at + 300 < Rate / 2; at += 3001) PutBurst(input, at, 1 + at % 300, 1.7f, -0.9f);
    const std::vector<float> whole = Limited(input, input.size() / 2);
    for (const std::size_t block : {1u, 7u, 131u, 132u, 1024u}) {
        EXPECT_EQ(Limited(input, block), whole) << block;
    }
}

TEST(PeakLimiter, ResetForgetsTheStream) {
    PeakLimiter limiter(Rate);
    std::vector<float> loud = Steady(1000, 4.0f, 4.0f);
    limiter.Process(loud.data(), 1000);
    limiter.Reset();
    std::vector<float> quiet = Steady(1000, 0.5f, 0.5f);
    limiter.Process(quiet.data(), 1000);
    for (std::size_t n = 0; n < 1000; ++n) {
        ASSERT_EQ(quiet[2 * n], n < limiter.LatencyFrames() ? 0.0f : 0.5f) << n;
    }
}

}  // namespace
}  // namespace platform
