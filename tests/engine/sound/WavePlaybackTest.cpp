// Tests of a sound item's playback: the pool of duplicates, the limit on overlapping plays,
// looped restarts, when pan takes effect, items without samples, and the restore after the
// device was lost. The sound device is the real mixer on an output the test drives itself.
#include "engine/sound/WavePlayback.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "engine/sound/DXSounds.h"
#include "tests/engine/assets/AssetBytes.h"
#include "tests/engine/sound/FakeAudioMixer.h"

namespace {

constexpr std::uint32_t Rate = 22050;

// The format record as a sound item gets it: PCM with an empty extra size.
std::vector<std::uint8_t> PcmFormatRecord(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate) {
    return PcmFormat(rate, bits, channels).U16(0).Data;
}

std::uint32_t Position(TDirectSoundBuffer& buffer) {
    std::uint32_t position = 0;
    EXPECT_EQ(buffer.IBuffer().GetCurrentPosition(position), platform::SoundResult::Ok);
    return position;
}

class WavePlaybackTest : public ::testing::Test {
protected:
    WavePlaybackTest() {
        Sound = std::make_unique<TDXSound>(Mixer);
        Sound->Loaded();
        EXPECT_TRUE(Sound->Initialized());
    }

    // 8-bit mono at the output rate: one output frame per sample byte.
    void SetUpWith(std::size_t frames, std::uint8_t level = 192) {
        Samples.assign(frames, level);
        Item.Setup(Sound.get(), Format, Samples);
    }

    std::pair<float, float> Render(std::size_t frames) { return Device.Render(frames); }

    FakeAudioMixer Device{Rate};
    FakeAudioOutput* Output = Device.Output;
    platform::AudioMixer* Mixer = Device.Mixer.get();
    std::unique_ptr<TDXSound> Sound;
    std::vector<std::uint8_t> Format = PcmFormatRecord(1, 8, Rate);
    std::vector<std::uint8_t> Samples;
    TWavePlayback Item;
};

TEST_F(WavePlaybackTest, OverlappingPlaysGetADuplicateEachAndFinishedOnesAreReused) {
    SetUpWith(1000);
    ASSERT_TRUE(Item.Initialized());
    for (int i = 0; i < 3; ++i) {
        Item.StartSound(false, 0, false);
        Render(10);
    }
    ASSERT_EQ(Item.PlayBuffers().size(), 3u);
    for (const auto& buffer : Item.PlayBuffers()) {
        EXPECT_TRUE(buffer->Playing());
    }
    EXPECT_FALSE(Item.Master()->Playing());
    EXPECT_EQ(Mixer->PlayingCount(), 3u);

    Render(1000);
    TDirectSoundBuffer* first = Item.PlayBuffers()[0].get();
    Item.StartSound(false, 0, false);
    ASSERT_EQ(Item.PlayBuffers().size(), 3u);
    EXPECT_EQ(Item.PlayBuffers()[0].get(), first);
    EXPECT_TRUE(first->Playing());
    EXPECT_FALSE(Item.PlayBuffers()[1]->Playing());
    EXPECT_FALSE(Item.PlayBuffers()[2]->Playing());
}

TEST_F(WavePlaybackTest, AtTheLimitTheOldestRestartsAndMovesToTheEnd) {
    SetUpWith(1000);
    Item.StartSound(false, 2, false);
    Render(300);
    Item.StartSound(false, 2, false);
    Render(100);
    ASSERT_EQ(Item.PlayBuffers().size(), 2u);
    TDirectSoundBuffer* older = Item.PlayBuffers()[0].get();
    TDirectSoundBuffer* younger = Item.PlayBuffers()[1].get();
    EXPECT_EQ(Position(*older), 400u);

    Item.StartSound(false, 2, false);
    ASSERT_EQ(Item.PlayBuffers().size(), 2u);
    EXPECT_EQ(Item.PlayBuffers()[0].get(), younger);
    EXPECT_EQ(Item.PlayBuffers()[1].get(), older);
    EXPECT_EQ(Position(*older), 0u);
    EXPECT_EQ(Position(*younger), 100u);
    EXPECT_TRUE(older->Playing());
    EXPECT_EQ(Mixer->PlayingCount(), 2u);
}

TEST_F(WavePlaybackTest, LoopedItemRestartsItsMasterFromTheStart) {
    SetUpWith(1000);
    Item.StartSound(true, 0, false);
    Render(2500);
    EXPECT_EQ(Position(*Item.Master()), 500u);
    Item.StartSound(true, 0, false);
    EXPECT_EQ(Position(*Item.Master()), 0u);
    EXPECT_TRUE(Item.Master()->Playing());
    EXPECT_TRUE(Item.PlayBuffers().empty());
    EXPECT_EQ(Mixer->PlayingCount(), 1u);

    Item.StopSound();
    EXPECT_FALSE(Item.Master()->Playing());
    EXPECT_EQ(Mixer->PlayingCount(), 0u);
}

TEST_F(WavePlaybackTest, PanReachesAPlayingDuplicateOnlyAtItsNextStart) {
    SetUpWith(1000);
    Item.StartSound(false, 1, false);
    const auto [left, right] = Render(10);
    EXPECT_FLOAT_EQ(left, 0.5f);
    EXPECT_FLOAT_EQ(right, 0.5f);

    Item.SetPan(platform::SoundPanLeft);
    EXPECT_EQ(Item.Pan(), platform::SoundPanLeft);
    const auto [stillLeft, stillRight] = Render(10);
    EXPECT_FLOAT_EQ(stillLeft, 0.5f);
    EXPECT_FLOAT_EQ(stillRight, 0.5f);

    Item.StartSound(false, 1, false);
    const auto [nextLeft, nextRight] = Render(10);
    EXPECT_FLOAT_EQ(nextLeft, 0.5f);
    EXPECT_EQ(nextRight, 0.0f);
}

TEST_F(WavePlaybackTest, VolumeAndFrequencyTakeEffectAtStartAndOutOfRangeIsIgnored) {
    SetUpWith(1000);
    Item.SetVolume(-600);
    Item.SetFrequency(2 * Rate);
    Item.StartSound(false, 0, false);
    EXPECT_NEAR(Render(10).first, 0.5 * std::pow(10.0, -0.3), 1e-6);
    EXPECT_EQ(Position(*Item.PlayBuffers()[0]), 20u);

    // The platform refuses the value; the result is recorded, nothing is raised, the old
    // volume stays in force on the master.
    Item.SetVolume(1);
    EXPECT_EQ(Item.Master()->DXResult(), platform::SoundResult::InvalidParam);
    Item.SetFrequency(-5);
    EXPECT_EQ(Item.Master()->DXResult(), platform::SoundResult::InvalidParam);
    // The looped master joins the still playing duplicate, both at -6 dB.
    Item.StartSound(true, 0, false);
    EXPECT_NEAR(Render(10).first, 2 * 0.5 * std::pow(10.0, -0.3), 1e-6);
}

// A wave without samples has no master buffer: it simply does not play, looped or not, and
// stopping it (as every game end does with the music) is quiet.
TEST_F(WavePlaybackTest, ItemWithoutSamplesPlaysNothingLoopedOrNotAndStopsQuietly) {
    SetUpWith(0);
    ASSERT_TRUE(Item.Initialized());
    EXPECT_FALSE(Item.Master()->HasBuffer());
    for (const bool looped : {false, true}) {
        EXPECT_NO_THROW(Item.StartSound(looped, 0, false)) << looped;
        EXPECT_NO_THROW(Item.StopSound()) << looped;
    }
    EXPECT_TRUE(Item.PlayBuffers().empty());
    EXPECT_EQ(Mixer->PlayingCount(), 0u);
    Item.SetPan(100);  // stored only
    EXPECT_EQ(Item.Pan(), 100);
}

TEST_F(WavePlaybackTest, NothingHappensWithoutAnInitialisedDevice) {
    Sound->Finalize();
    SetUpWith(1000);
    EXPECT_FALSE(Item.Initialized());
    EXPECT_EQ(Item.Master(), nullptr);
    Item.StartSound(false, 0, false);
    Item.StartSound(true, 0, false);
    Item.StopSound();
    Item.SetPan(-300);
    EXPECT_EQ(Item.Pan(), -300);
    EXPECT_EQ(Mixer->PlayingCount(), 0u);
}

TEST_F(WavePlaybackTest, FormatsTheDeviceCannotPlayCannotBeMade) {
    Samples.assign(100, 0);
    EXPECT_THAT([&] { Item.Setup(Sound.get(), PcmFormatRecord(1, 24, Rate), Samples); },
                testing::ThrowsMessage<EDirectSoundBufferError>("Sound Buffer cannot be made"));
    const std::vector<std::uint8_t> truncated(Format.begin(), Format.begin() + 12);
    EXPECT_THROW(Item.Setup(Sound.get(), truncated, Samples), EDirectSoundBufferError);
}

// The device goes away between making the master buffer and filling it.
TEST_F(WavePlaybackTest, MasterThatCannotBeFilledCannotBeLocked) {
    Output->Flapping = true;
    Samples.assign(100, 128);
    EXPECT_THAT([&] { Item.Setup(Sound.get(), Format, Samples); },
                testing::ThrowsMessage<EDirectSoundBufferError>("Sound Buffer cannot be locked"));
    EXPECT_EQ(Item.Master()->DXResult(), platform::SoundResult::BufferLost);
}

// What the wave list does on the device's restore notification.
class RestoringSubscriber final : public IDXSoundSubscriber {
public:
    explicit RestoringSubscriber(std::function<void()> restore) : FRestore(std::move(restore)) {}
    void DXSoundNotify(TCustomDXSound&, TDXSoundNotifyType type) override {
        if (type == TDXSoundNotifyType::dsntRestore) {
            ++Restores;
            FRestore();
        }
    }
    int Restores = 0;

private:
    std::function<void()> FRestore;
};

TEST_F(WavePlaybackTest, LostDeviceRebuildsTheMasterAndDropsTheDuplicates) {
    SetUpWith(1000);
    RestoringSubscriber list([this] { Item.Setup(Sound.get(), Format, Samples); });
    Sound->Subscribe(&list);
    Item.StartSound(false, 0, false);
    Item.StartSound(false, 0, false);
    ASSERT_EQ(Item.PlayBuffers().size(), 2u);

    Output->IsLost = true;
    Item.StartSound(false, 0, false);
    EXPECT_EQ(list.Restores, 1);
    EXPECT_EQ(Output->Starts, 2);  // reopened for the new master
    EXPECT_TRUE(Item.PlayBuffers().empty());
    ASSERT_TRUE(Item.Master()->HasBuffer());
    EXPECT_EQ(Mixer->PlayingCount(), 0u);

    Item.StartSound(false, 0, false);
    EXPECT_FLOAT_EQ(Render(10).first, 0.5f);
    EXPECT_EQ(list.Restores, 1);
    Sound->Unsubscribe(&list);
}

}  // namespace
