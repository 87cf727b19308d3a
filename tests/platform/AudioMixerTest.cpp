// Tests of the software mixer: buffer operations, loss and restore, and its output pulled
// directly through Render (gains, pitch, loop wraps).
#include "platform/AudioMixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "support/AllocationCounter.h"
#include "support/FakeAudioOutput.h"
#include "support/MixerScene.h"

namespace platform {
namespace {

constexpr std::uint32_t Rate = 44100;

using FakeOutput = FakeAudioOutput;

WaveFormat Pcm(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate) {
    const auto blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
    return WaveFormat{WaveFormatPCM, channels, rate, rate * blockAlign, blockAlign, bits};
}

std::vector<std::uint8_t> Words(const std::vector<std::int16_t>& samples) {
    std::vector<std::uint8_t> bytes(samples.size() * 2);
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

// periods whole cycles of a sine of the given amplitude, framesPerCycle frames each.
std::vector<std::int16_t> Sine(int framesPerCycle, int periods, double amplitude) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(framesPerCycle * periods));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double phase = 2.0 * std::numbers::pi * static_cast<double>(i) / framesPerCycle;
        samples[i] = static_cast<std::int16_t>(std::lround(amplitude * std::sin(phase)));
    }
    return samples;
}

struct Channels {
    std::vector<float> Left;
    std::vector<float> Right;
};

double Rms(const std::vector<float>& values) {
    double sum = 0;
    for (const float v : values) {
        sum += static_cast<double>(v) * v;
    }
    return std::sqrt(sum / static_cast<double>(values.size()));
}

double Decibels(double ratio) { return 20.0 * std::log10(ratio); }

int ZeroCrossings(const std::vector<float>& values) {
    int count = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        count += (values[i - 1] < 0) != (values[i] < 0) ? 1 : 0;
    }
    return count;
}

float LargestStep(const std::vector<float>& values) {
    float largest = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        largest = std::max(largest, std::fabs(values[i] - values[i - 1]));
    }
    return largest;
}

// frames of 16-bit samples, channels interleaved, from a wave of time in seconds.
template <typename Wave>
std::vector<std::uint8_t> Sound16(std::size_t frames, std::uint16_t channels, std::uint32_t rate, Wave wave) {
    std::vector<std::int16_t> samples;
    for (std::size_t i = 0; i < frames; ++i) {
        for (std::uint16_t c = 0; c < channels; ++c) {
            const double value = wave(static_cast<double>(i) / rate, c);
            samples.push_back(static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0, 32767 / 32768.0) * 32768)));
        }
    }
    return Words(samples);
}

double SineAt(double hz, double t) { return std::sin(2 * std::numbers::pi * hz * t); }
double SquareAt(double hz, double t) { return SineAt(hz, t) >= 0 ? 1.0 : -1.0; }

class MixerTest : public ::testing::Test {
protected:
    MixerTest() {
        auto output = std::make_unique<FakeOutput>();
        Output = output.get();
        Mixer = std::make_unique<AudioMixer>(std::move(output), Rate);
        EXPECT_TRUE(Mixer->Open());
    }

    std::unique_ptr<SoundBuffer> Make(const WaveFormat& format, const std::vector<std::uint8_t>& bytes) {
        SoundResult result = SoundResult::InvalidCall;
        auto buffer = Mixer->CreateBuffer(format, bytes.size(), result);
        EXPECT_EQ(result, SoundResult::Ok);
        std::span<std::uint8_t> target;
        EXPECT_EQ(buffer->Lock(target), SoundResult::Ok);
        EXPECT_EQ(target.size(), bytes.size());
        std::copy(bytes.begin(), bytes.end(), target.begin());
        EXPECT_EQ(buffer->Unlock(), SoundResult::Ok);
        return buffer;
    }

    std::unique_ptr<SoundBuffer> MakeMono16(const std::vector<std::int16_t>& samples, std::uint32_t rate = Rate) {
        return Make(Pcm(1, 16, rate), Words(samples));
    }

    // The voices' sum for the next frames, before the output's limiter.
    Channels Pull(std::size_t frames) {
        std::vector<float> interleaved(2 * frames);
        Mixer->Mix(interleaved.data(), frames);
        Channels channels;
        for (std::size_t i = 0; i < frames; ++i) {
            channels.Left.push_back(interleaved[2 * i]);
            channels.Right.push_back(interleaved[2 * i + 1]);
        }
        return channels;
    }

    FakeOutput* Output = nullptr;
    std::unique_ptr<AudioMixer> Mixer;
};

TEST(AudioMixerDevice, OpenFailsWithoutAnOutputDevice) {
    auto output = std::make_unique<FakeOutput>();
    output->DeviceAvailable = false;
    AudioMixer mixer(std::move(output));
    EXPECT_FALSE(mixer.Open());
    EXPECT_FALSE(mixer.IsOpen());
    SoundResult result = SoundResult::Ok;
    EXPECT_EQ(mixer.CreateBuffer(Pcm(1, 16, Rate), 100, result), nullptr);
    EXPECT_EQ(result, SoundResult::NoDevice);

    AudioMixer without(nullptr);
    EXPECT_FALSE(without.Open());
}

TEST_F(MixerTest, RefusesFormatsItCannotPlay) {
    SoundResult result = SoundResult::Ok;
    EXPECT_EQ(Mixer->CreateBuffer(Pcm(1, 24, Rate), 300, result), nullptr);
    EXPECT_EQ(result, SoundResult::BadFormat);
    EXPECT_EQ(Mixer->CreateBuffer(Pcm(3, 16, Rate), 300, result), nullptr);
    WaveFormat compressed = Pcm(1, 16, Rate);
    compressed.FormatTag = 2;
    EXPECT_EQ(Mixer->CreateBuffer(compressed, 300, result), nullptr);
    WaveFormat badAlign = Pcm(2, 16, Rate);
    badAlign.BlockAlign = 2;
    EXPECT_EQ(Mixer->CreateBuffer(badAlign, 300, result), nullptr);
    EXPECT_EQ(Mixer->CreateBuffer(Pcm(1, 16, 50), 300, result), nullptr);
    EXPECT_EQ(Mixer->CreateBuffer(Pcm(1, 16, Rate), 0, result), nullptr);
    EXPECT_EQ(result, SoundResult::InvalidParam);
}

TEST_F(MixerTest, SilentWhenNothingPlaysAndNewBuffersAreSilent) {
    const auto idle = Pull(64);
    EXPECT_EQ(Rms(idle.Left), 0.0);
    SoundResult result = SoundResult::InvalidCall;
    auto eightBit = Mixer->CreateBuffer(Pcm(1, 8, Rate), 500, result);
    ASSERT_EQ(result, SoundResult::Ok);
    eightBit->Play(true);
    const auto quiet = Pull(256);
    EXPECT_EQ(Rms(quiet.Left), 0.0);
    EXPECT_EQ(Rms(quiet.Right), 0.0);
}

TEST_F(MixerTest, DecodesEightBitUnsignedAndStereoChannels) {
    auto eightBit = Make(Pcm(1, 8, Rate), std::vector<std::uint8_t>(100, 192));
    eightBit->Play(false);
    auto out = Pull(10);
    EXPECT_FLOAT_EQ(out.Left[3], 0.5f);
    EXPECT_FLOAT_EQ(out.Right[3], 0.5f);
    eightBit->Stop();

    std::vector<std::int16_t> stereo;
    for (int i = 0; i < 50; ++i) {
        stereo.push_back(16384);
        stereo.push_back(-8192);
    }
    auto both = Make(Pcm(2, 16, Rate), Words(stereo));
    both->Play(false);
    out = Pull(10);
    EXPECT_FLOAT_EQ(out.Left[5], 0.5f);
    EXPECT_FLOAT_EQ(out.Right[5], -0.25f);
}

TEST_F(MixerTest, VolumeAndPanGainsInHundredthsOfDecibel) {
    const auto sine = Sine(100, 441, 20000);
    auto buffer = MakeMono16(sine);
    buffer->Play(true);
    const double full = Rms(Pull(Rate).Left);
    ASSERT_GT(full, 0.3);

    struct Case {
        int Volume;
        int Pan;
        double LeftDb;
        double RightDb;
    };
    const Case cases[] = {
        {-600, 0, -6.0, -6.0},     {0, -5714, 0.0, -57.14},  {0, 3000, -30.0, 0.0},
        {-1000, -2000, -10.0, -30.0}, {-2500, 10, -25.1, -25.0},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(buffer->SetVolume(c.Volume), SoundResult::Ok);
        ASSERT_EQ(buffer->SetPan(c.Pan), SoundResult::Ok);
        const auto out = Pull(Rate);
        EXPECT_NEAR(Decibels(Rms(out.Left) / full), c.LeftDb, 0.1) << c.Volume << " " << c.Pan;
        EXPECT_NEAR(Decibels(Rms(out.Right) / full), c.RightDb, 0.1) << c.Volume << " " << c.Pan;
    }
}

TEST_F(MixerTest, FullAttenuationIsSilenceAndOutOfRangeValuesKeepTheOldOne) {
    auto buffer = MakeMono16(Sine(100, 10, 20000));
    buffer->Play(true);
    const double full = Rms(Pull(1000).Left);

    ASSERT_EQ(buffer->SetPan(SoundPanLeft), SoundResult::Ok);
    auto out = Pull(1000);
    EXPECT_NEAR(Rms(out.Left), full, 1e-4);
    EXPECT_EQ(Rms(out.Right), 0.0);

    ASSERT_EQ(buffer->SetPan(0), SoundResult::Ok);
    ASSERT_EQ(buffer->SetVolume(-1200), SoundResult::Ok);
    EXPECT_EQ(buffer->SetVolume(1), SoundResult::InvalidParam);
    EXPECT_EQ(buffer->SetVolume(-10001), SoundResult::InvalidParam);
    EXPECT_EQ(buffer->SetPan(10001), SoundResult::InvalidParam);
    EXPECT_EQ(buffer->SetPan(-10001), SoundResult::InvalidParam);
    out = Pull(1000);
    EXPECT_NEAR(Decibels(Rms(out.Left) / full), -12.0, 0.1);
    EXPECT_NEAR(Decibels(Rms(out.Right) / full), -12.0, 0.1);

    ASSERT_EQ(buffer->SetVolume(SoundVolumeMin), SoundResult::Ok);
    EXPECT_EQ(Rms(Pull(1000).Left), 0.0);
}

TEST_F(MixerTest, FrequencyChangesThePitch) {
    auto buffer = MakeMono16(Sine(100, 441, 20000));  // 441 Hz at 44100
    buffer->Play(true);
    const int original = ZeroCrossings(Pull(Rate).Left);
    EXPECT_NEAR(original, 882, 2);

    ASSERT_EQ(buffer->SetFrequency(2 * Rate), SoundResult::Ok);
    EXPECT_NEAR(ZeroCrossings(Pull(Rate).Left), 2 * original, 3);
    ASSERT_EQ(buffer->SetFrequency(Rate / 2), SoundResult::Ok);
    EXPECT_NEAR(ZeroCrossings(Pull(Rate).Left), original / 2, 2);
    ASSERT_EQ(buffer->SetFrequency(SoundFrequencyOriginal), SoundResult::Ok);
    EXPECT_NEAR(ZeroCrossings(Pull(Rate).Left), original, 2);

    EXPECT_EQ(buffer->SetFrequency(SoundFrequencyMin - 1), SoundResult::InvalidParam);
    EXPECT_EQ(buffer->SetFrequency(SoundFrequencyMax + 1), SoundResult::InvalidParam);
    EXPECT_NEAR(ZeroCrossings(Pull(Rate).Left), original, 2);
}

TEST_F(MixerTest, ResamplesOtherRatesToTheOutputRate) {
    // 441 Hz recorded at 11025 Hz: 25 frames a cycle.
    std::vector<std::uint8_t> bytes;
    std::vector<float> source;
    for (int i = 0; i < 11025; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(128 + std::lround(100 * std::sin(2 * std::numbers::pi * i / 25.0))));
        source.push_back(static_cast<float>(bytes.back() - 128) / 128.0f);
    }
    auto buffer = Make(Pcm(1, 8, 11025), bytes);
    buffer->Play(false);
    const auto out = Pull(Rate);
    EXPECT_NEAR(ZeroCrossings(out.Left), 882, 3);
    // Linear interpolation: four output frames share each source step.
    EXPECT_LE(LargestStep(out.Left), LargestStep(source) / 4 + 1e-5f);
}

TEST_F(MixerTest, LoopedSoundWrapsWithoutAClick) {
    const auto sine = Sine(100, 7, 30000);
    std::vector<float> source;
    for (const auto s : sine) {
        source.push_back(s / 32768.0f);
    }
    source.push_back(source.front());  // the step across the wrap belongs to the signal
    const float ownStep = LargestStep(source);

    auto buffer = MakeMono16(sine);
    buffer->Play(true);
    auto out = Pull(5000);  // seven wraps
    EXPECT_LE(LargestStep(out.Left), ownStep + 1e-5f);

    // At an odd rate the wraps fall between source frames.
    ASSERT_EQ(buffer->SetFrequency(31111), SoundResult::Ok);
    out = Pull(5000);
    EXPECT_LE(LargestStep(out.Left), ownStep * 31111.0f / Rate + 1e-5f);
    std::uint32_t status = 0;
    EXPECT_EQ(buffer->GetStatus(status), SoundResult::Ok);
    EXPECT_EQ(status, SoundStatusPlaying | SoundStatusLooping);
}

TEST_F(MixerTest, OneShotStopsAtItsEnd) {
    auto buffer = MakeMono16(std::vector<std::int16_t>(300, 16384));
    ASSERT_EQ(buffer->Play(false), SoundResult::Ok);
    std::uint32_t status = 0;
    buffer->GetStatus(status);
    EXPECT_EQ(status, SoundStatusPlaying);
    EXPECT_EQ(Mixer->PlayingCount(), 1u);

    const auto out = Pull(400);
    EXPECT_FLOAT_EQ(out.Left[299], 0.5f);
    EXPECT_EQ(out.Left[300], 0.0f);
    EXPECT_EQ(buffer->GetStatus(status), SoundResult::Ok);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(Mixer->PlayingCount(), 0u);
}

TEST_F(MixerTest, PositionsAreBytesAndStopKeepsThem) {
    auto buffer = Make(Pcm(2, 16, Rate), std::vector<std::uint8_t>(4000, 0));
    buffer->Play(false);
    Pull(100);
    std::uint32_t position = 0;
    EXPECT_EQ(buffer->GetCurrentPosition(position), SoundResult::Ok);
    EXPECT_EQ(position, 400u);
    buffer->Stop();
    Pull(100);
    buffer->GetCurrentPosition(position);
    EXPECT_EQ(position, 400u);

    EXPECT_EQ(buffer->SetCurrentPosition(4001), SoundResult::InvalidParam);
    EXPECT_EQ(buffer->SetCurrentPosition(0), SoundResult::Ok);
    buffer->GetCurrentPosition(position);
    EXPECT_EQ(position, 0u);
}

// The limiter must see the true sum, so the mix itself never bounds it.
TEST_F(MixerTest, SumsOverlappingVoicesWithoutBounds) {
    auto a = MakeMono16(std::vector<std::int16_t>(100, 8192));
    auto b = MakeMono16(std::vector<std::int16_t>(100, 8192));
    a->Play(false);
    b->Play(false);
    EXPECT_FLOAT_EQ(Pull(10).Left[5], 0.5f);
    auto c = MakeMono16(std::vector<std::int16_t>(100, -32768));
    c->Play(false);
    EXPECT_FLOAT_EQ(Pull(10).Left[5], -0.5f);
    auto d = MakeMono16(std::vector<std::int16_t>(100, -32768));
    d->Play(false);
    EXPECT_FLOAT_EQ(Pull(10).Left[5], -1.5f);
}

TEST_F(MixerTest, DuplicatesShareSamplesButNotPlayback) {
    auto master = MakeMono16(std::vector<std::int16_t>(100, 8192));
    ASSERT_EQ(master->SetVolume(-600), SoundResult::Ok);
    SoundResult result = SoundResult::InvalidCall;
    auto copy = master->Duplicate(result);
    ASSERT_EQ(result, SoundResult::Ok);
    std::uint32_t status = 1;
    copy->GetStatus(status);
    EXPECT_EQ(status, 0u);

    // Bytes written through the master reach the duplicate at Unlock, not before; the
    // duplicate keeps the master's volume.
    const double attenuated = std::pow(10.0, -0.3);
    std::span<std::uint8_t> bytes;
    ASSERT_EQ(master->Lock(bytes), SoundResult::Ok);
    const auto loud = Words(std::vector<std::int16_t>(100, 16384));
    std::copy(loud.begin(), loud.end(), bytes.begin());
    ASSERT_EQ(copy->Play(false), SoundResult::Ok);
    EXPECT_NEAR(Pull(4).Left[2], 0.25 * attenuated, 1e-6);
    ASSERT_EQ(master->Unlock(), SoundResult::Ok);
    EXPECT_NEAR(Pull(4).Left[2], 0.5 * attenuated, 1e-6);
    master->GetStatus(status);
    EXPECT_EQ(status, 0u);
}

TEST_F(MixerTest, LockAndUnlockMustPair) {
    auto buffer = MakeMono16(std::vector<std::int16_t>(10, 0));
    EXPECT_EQ(buffer->Unlock(), SoundResult::InvalidCall);
    std::span<std::uint8_t> bytes;
    ASSERT_EQ(buffer->Lock(bytes), SoundResult::Ok);
    std::span<std::uint8_t> again;
    EXPECT_EQ(buffer->Lock(again), SoundResult::InvalidCall);
    EXPECT_EQ(buffer->Unlock(), SoundResult::Ok);
}

TEST_F(MixerTest, ReleasingAPlayingBufferTakesItOutOfTheMix) {
    auto buffer = MakeMono16(std::vector<std::int16_t>(1000, 8192));
    buffer->Play(true);
    buffer.reset();
    EXPECT_EQ(Mixer->PlayingCount(), 0u);
    EXPECT_EQ(Rms(Pull(100).Left), 0.0);
}

TEST_F(MixerTest, LostDeviceSilencesBuffersUntilRestored) {
    auto buffer = MakeMono16(std::vector<std::int16_t>(1000, 8192));
    buffer->Play(true);
    Output->IsLost = true;
    Output->DeviceAvailable = false;

    std::uint32_t status = 0;
    EXPECT_EQ(buffer->GetStatus(status), SoundResult::BufferLost);
    EXPECT_EQ(status, SoundStatusLost);
    EXPECT_EQ(Rms(Pull(100).Left), 0.0);
    EXPECT_EQ(buffer->Play(false), SoundResult::BufferLost);
    EXPECT_EQ(buffer->SetPan(0), SoundResult::BufferLost);
    std::span<std::uint8_t> bytes;
    EXPECT_EQ(buffer->Lock(bytes), SoundResult::BufferLost);
    SoundResult result = SoundResult::Ok;
    EXPECT_EQ(buffer->Duplicate(result), nullptr);
    EXPECT_EQ(result, SoundResult::BufferLost);

    // Restore fails while the device cannot be reopened, then succeeds.
    EXPECT_EQ(buffer->Restore(), SoundResult::BufferLost);
    Output->DeviceAvailable = true;
    EXPECT_EQ(buffer->Restore(), SoundResult::Ok);
    EXPECT_EQ(buffer->Play(true), SoundResult::Ok);
    EXPECT_FLOAT_EQ(Pull(10).Left[5], 0.25f);
}

TEST_F(MixerTest, BuffersMadeAfterTheLossAreNotLost) {
    auto old = MakeMono16(std::vector<std::int16_t>(100, 0));
    Output->IsLost = true;
    auto fresh = MakeMono16(std::vector<std::int16_t>(100, 8192));
    EXPECT_EQ(Output->Starts, 2);
    EXPECT_EQ(fresh->Play(false), SoundResult::Ok);
    EXPECT_EQ(old->Play(false), SoundResult::BufferLost);
    EXPECT_EQ(old->Restore(), SoundResult::Ok);
    EXPECT_EQ(Output->Starts, 2);
}

TEST(GroupVolume, IsTheSquareOfTheFractionWithinZeroToAHundred) {
    const std::pair<int, float> cases[] = {{0, 0.0f}, {10, 0.01f}, {50, 0.25f}, {70, 0.49f},
                                           {100, 1.0f}, {-10, 0.0f}, {150, 1.0f}};
    for (const auto& [percent, gain] : cases) {
        EXPECT_FLOAT_EQ(GroupVolumeGain(percent), gain) << percent;
    }
}

// One voice in each group with its own volume and pan: the group's gain scales each voice's
// own result exactly, playing or not, and a duplicate stays in its original's group.
TEST_F(MixerTest, GroupVolumesScaleEachVoiceAfterItsOwnVolumeAndPan) {
    auto effect = MakeMono16(std::vector<std::int16_t>(4000, 16384));
    ASSERT_EQ(effect->SetPan(3000), SoundResult::Ok);
    auto original = MakeMono16(std::vector<std::int16_t>(4000, -8192));
    ASSERT_EQ(original->SetVolume(-600), SoundResult::Ok);
    ASSERT_EQ(original->SetGroup(SoundGroup::Music), SoundResult::Ok);
    SoundResult result = SoundResult::InvalidCall;
    auto music = original->Duplicate(result);
    ASSERT_EQ(result, SoundResult::Ok);
    const float effectLeft = 0.5f * static_cast<float>(AttenuationGain(-3000));
    const float musicBoth = -0.25f * static_cast<float>(AttenuationGain(-600));

    struct Case {
        int Effects, Music;
        float EffectsGain, MusicGain;
    };
    const Case cases[] = {{100, 100, 1, 1}, {50, 100, 0.25f, 1}, {100, 50, 1, 0.25f},
                          {0, 50, 0, 0.25f}, {50, 0, 0.25f, 0}, {0, 0, 0, 0}};
    effect->Play(true);
    music->Play(true);
    for (const Case& c : cases) {
        Mixer->SetGroupVolume(SoundGroup::Effects, c.Effects);
        Mixer->SetGroupVolume(SoundGroup::Music, c.Music);
        const auto out = Pull(8);
        EXPECT_FLOAT_EQ(out.Left[7], effectLeft * c.EffectsGain + musicBoth * c.MusicGain) << c.Effects << " " << c.Music;
        EXPECT_FLOAT_EQ(out.Right[7], 0.5f * c.EffectsGain + musicBoth * c.MusicGain) << c.Effects << " " << c.Music;
    }
}

}  // namespace
}  // namespace platform

namespace platform {
namespace {

// What "unchanged" means: the output is the voices' sum LatencyFrames later, to the bit, and
// silence before it.
TEST(AudioMixerOutput, ALoneVoiceBelowTheCeilingPassesUnchanged) {
    const std::size_t latency = AudioMixer(nullptr, Rate).LatencyFrames();
    const float justBelow = PeakLimiter::Ceiling - 0.001f;
    struct Case {
        const char* Name;
        SceneVoice Voice;
    };
    const Case cases[] = {
        {"a sine just below the ceiling",
         {Pcm(1, 16, Rate), Sound16(Rate / 2, 1, Rate, [&](double t, int) { return justBelow * SineAt(441, t); })}},
        {"stereo at another rate, panned and attenuated",
         {Pcm(2, 16, 22050), Sound16(11025, 2, 22050, [](double t, int c) { return SquareAt(c == 0 ? 100 : 150, t); }),
          -3000, -300, 700}},
        {"a loop that wraps",
         {Pcm(1, 16, Rate), Sound16(1000, 1, Rate, [](double t, int) { return 0.8 * SineAt(441, t); }), 1200, 0, 0,
          true}},
    };
    for (const Case& c : cases) {
        const std::size_t frames = Rate;
        const auto mixed = PlayScene({c.Voice}, frames, false);
        const auto heard = PlayScene({c.Voice}, frames, true);
        ASSERT_GT(ScenePeak(mixed), 0.7f) << c.Name;
        ASSERT_LT(ScenePeak(mixed), PeakLimiter::Ceiling) << c.Name;
        EXPECT_EQ(ScenePeak(std::vector<float>(heard.begin(), heard.begin() + 2 * latency)), 0.0f) << c.Name;
        EXPECT_TRUE(std::equal(mixed.begin(), mixed.end() - 2 * latency, heard.begin() + 2 * latency)) << c.Name;
    }
}

// The output's thread must never wait for the allocator, also while the limiter works.
TEST_F(MixerTest, RenderingAllocatesNothing) {
    auto a = MakeMono16(std::vector<std::int16_t>(1000, -32768));
    auto b = Make(Pcm(2, 8, 11025), std::vector<std::uint8_t>(1000, 0));
    a->Play(true);
    b->Play(true);
    std::vector<float> out(2 * 1024);
    StartCountingAllocations();
    for (int block = 0; block < 20; ++block) Mixer->Render(out.data(), out.size() / 2);
    EXPECT_EQ(StopCountingAllocations(), 0u);
    EXPECT_GT(ScenePeak(out), 0.8f);
}

TEST_F(MixerTest, ReopenedItStartsFromSilence) {
    auto buffer = MakeMono16(std::vector<std::int16_t>(1000, -32768));
    buffer->Play(true);
    std::vector<float> out(2 * 1000);
    Mixer->Render(out.data(), 1000);
    ASSERT_GT(ScenePeak(out), 0.5f);
    Mixer->Close();
    ASSERT_TRUE(Mixer->Open());
    Mixer->Render(out.data(), 1000);
    EXPECT_EQ(ScenePeak(out), 0.0f);
}

// Sixteen voices at full scale over the music: explosions of noise, phaser-like square waves,
// deep booms and 8-bit blips, all at once, each at its loudest.
TEST(AudioMixerOutput, ADenseFightNeverReachesFullScaleAndTheMusicAfterItIsUntouched) {
    std::vector<SceneVoice> fight;
    fight.push_back({Pcm(2, 16, Rate), Sound16(Rate, 2, Rate, [](double t, int c) {
                         return 0.5 * SineAt(c == 0 ? 110 : 165, t) + 0.2 * SineAt(880, t);
                     }),
                     0, 0, 0, true});
    std::uint32_t noise = 1;
    std::vector<std::uint8_t> blips(11025);
    for (std::size_t i = 0; i < blips.size(); ++i) blips[i] = (i / 20) % 2 ? 255 : 0;
    const SceneVoice kinds[] = {
        {Pcm(1, 16, Rate), Sound16(Rate / 2, 1, Rate, [&](double, int) {
             noise = noise * 1664525u + 1013904223u;
             return static_cast<double>(noise) / 2147483648.0 - 1.0;
         })},
        {Pcm(1, 16, Rate), Sound16(Rate / 3, 1, Rate, [](double t, int) { return SquareAt(300, t); })},
        {Pcm(1, 16, Rate), Sound16(Rate, 1, Rate, [](double t, int) { return SineAt(35, t); })},
        {Pcm(1, 8, 11025), blips},
    };
    for (int v = 0; v < 16; ++v) {
        SceneVoice voice = kinds[v % 4];
        voice.Pan = (v % 5 - 2) * 4000;
        voice.Start = static_cast<std::size_t>(v) * 2500;
        fight.push_back(voice);
    }
    const std::size_t frames = 4 * Rate;
    const auto mixed = PlayScene(fight, frames, false);
    const auto heard = PlayScene(fight, frames, true);
    ASSERT_GT(ScenePeak(mixed), 6.0f) << "the fight adds up far beyond full scale";

    const auto atFullScale = std::count_if(heard.begin(), heard.end(), [](float s) { return std::fabs(s) >= 1.0f; });
    EXPECT_EQ(atFullScale, 0);
    EXPECT_LT(20 * std::log10(ScenePeak(heard)), -0.3);
    EXPECT_GT(ScenePeak(heard), PeakLimiter::Ceiling * 0.99f) << "held at the ceiling, not far below it";

    // The last effect ends after 1.85 s; the music alone is heard as it is once the gain has
    // come back, well within two seconds.
    const std::size_t latency = AudioMixer(nullptr, Rate).LatencyFrames();
    const std::size_t quietFrom = 3 * Rate + Rate / 2;
    EXPECT_TRUE(std::equal(mixed.begin() + 2 * quietFrom, mixed.end() - 2 * latency,
                           heard.begin() + 2 * (quietFrom + latency)));
}

}  // namespace
}  // namespace platform
