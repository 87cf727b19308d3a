// Tests of the sound device component: initialisation and its errors, silence without an audio
// device, the notifications to the wave lists, and the once-only restore after a lost buffer.
#include "engine/sound/DXSounds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "engine/sound/WavePlayback.h"
#include "platform/SdlAudioOutput.h"
#include "tests/engine/sound/FakeAudioMixer.h"

namespace {

class RecordingSubscriber final : public IDXSoundSubscriber {
public:
    void DXSoundNotify(TCustomDXSound& Sender, TDXSoundNotifyType type) override {
        Received.push_back(type);
        if (type == TDXSoundNotifyType::dsntRestore && LoseDuringRestore) {
            Sender.BufferLost();
        }
    }
    std::vector<TDXSoundNotifyType> Received;
    bool LoseDuringRestore = false;
};

using enum TDXSoundNotifyType;

TEST(DXSound, InitialisationTellsTheListsInOrderAndFinalisationClosesTheDevice) {
    FakeAudioMixer device;
    TDXSound sound(device.Mixer.get());
    RecordingSubscriber list;
    sound.Subscribe(&list);
    EXPECT_THROW(sound.DSound(), EDirectSoundError);

    sound.Loaded();
    EXPECT_TRUE(sound.Initialized());
    EXPECT_TRUE(device.Mixer->IsOpen());
    EXPECT_EQ(&sound.DSound(), device.Mixer.get());
    EXPECT_EQ(list.Received, (std::vector{dsntInitializing, dsntInitialize, dsntRestore}));

    list.Received.clear();
    sound.Finalize();
    EXPECT_FALSE(sound.Initialized());
    EXPECT_FALSE(device.Mixer->IsOpen());
    EXPECT_EQ(list.Received, std::vector{dsntFinalize});
    sound.Unsubscribe(&list);
}

TEST(DXSound, NoAudioDeviceMeansSilenceWhenInitialisedAutomatically) {
    FakeAudioMixer device;
    device.Output->DeviceAvailable = false;
    TDXSound sound(device.Mixer.get());
    sound.Loaded();
    EXPECT_FALSE(sound.Initialized());

    EXPECT_THAT([&] { sound.Initialize(); },
                testing::ThrowsMessage<EDirectSoundError>("DirectSound cannot be initialized"));

    // Items attached to it are never set up and play nothing.
    TWavePlayback item;
    const std::vector<std::uint8_t> samples(100, 200);
    item.Setup(&sound, {}, samples);
    item.StartSound(false, 0, false);
    EXPECT_FALSE(item.Initialized());
}

TEST(DXSound, WithoutAFormInitialisationFails) {
    TDXSound sound(nullptr);
    EXPECT_THAT([&] { sound.Loaded(); }, testing::ThrowsMessage<EDXSoundError>("Form not found"));
}

TEST(DXSound, AutoInitializeOffLeavesItToTheProgram) {
    FakeAudioMixer device;
    TDXSound sound(device.Mixer.get());
    sound.AutoInitialize = false;
    sound.Loaded();
    EXPECT_FALSE(sound.Initialized());
    sound.Initialize();
    EXPECT_TRUE(sound.Initialized());
}

TEST(DXSound, LostBufferRestoresOnceAndIgnoresALossDuringTheRestore) {
    FakeAudioMixer device;
    TDXSound sound(device.Mixer.get());
    RecordingSubscriber list;
    sound.Subscribe(&list);
    sound.Loaded();
    list.Received.clear();
    list.LoseDuringRestore = true;

    sound.RestorePendingLoss();
    EXPECT_TRUE(list.Received.empty());
    sound.BufferLost();
    sound.BufferLost();
    sound.RestorePendingLoss();
    EXPECT_EQ(list.Received, std::vector{dsntRestore});
    sound.RestorePendingLoss();
    EXPECT_EQ(list.Received, std::vector{dsntRestore});
    sound.Unsubscribe(&list);
}

TEST(DXSound, DestructionTellsTheLists) {
    FakeAudioMixer device;
    RecordingSubscriber list;
    {
        TDXSound sound(device.Mixer.get());
        sound.Subscribe(&list);
        sound.Loaded();
        list.Received.clear();
    }
    EXPECT_EQ(list.Received, (std::vector{dsntDestroying, dsntFinalize}));
}

// On SDL's dummy driver: a waiting play returns once the sound has run out on the audio thread.
TEST(DXSound, WaitingPlayReturnsWhenTheSoundHasEnded) {
    auto device = platform::CreateSystemSoundDevice();
    TDXSound sound(device.get());
    sound.Loaded();
    ASSERT_TRUE(sound.Initialized());
    const std::vector<std::uint8_t> format{1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x22, 0x56, 0, 0, 1, 0, 8, 0};
    const std::vector<std::uint8_t> samples(4410, 200);  // 200 ms at 22050
    TWavePlayback item;
    item.Setup(&sound, format, samples);
    item.StartSound(false, 0, false);
    ASSERT_EQ(item.PlayBuffers().size(), 1u);
    EXPECT_TRUE(item.PlayBuffers()[0]->Playing());
    item.StartSound(false, 0, true);
    ASSERT_EQ(item.PlayBuffers().size(), 2u);
    EXPECT_FALSE(item.PlayBuffers()[1]->Playing());
    item.Release();
}

}  // namespace
