// Tests of the wave list on a sound device: loading a sound file sets the items up, items
// without a device or without samples stay silent, Looped and MaxPlayingCount as the game
// assigns them, and the restore of every list after the device was lost or away for a while.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "engine/sound/DXSounds.h"
#include "platform/Clock.h"
#include "support/TempDirectory.h"
#include "tests/engine/assets/AssetBytes.h"
#include "tests/engine/sound/FakeAudioMixer.h"

namespace {

constexpr std::uint32_t Rate = 11025;

// 8-bit mono samples at the mixer's rate.
Bytes FormatChunk() { return Chunk("fmt ", PcmFormat(Rate, 8, 1)); }

Bytes Samples(std::size_t count, std::uint8_t level) { return Bytes().Raw(std::vector<std::uint8_t>(count, level)); }

class WaveListTest : public ::testing::Test {
protected:
    WaveListTest() {
        platform::SetClockSource(std::ref(Clock));
        Sound = std::make_unique<TDXSound>(Mixer);
        Effects.SetDXSound(Sound.get());
        Music.SetDXSound(Sound.get());

        Bytes plain;
        plain.Str("Name", "Plain").Binary("Wave.WAVE", Riff(Bytes().Raw(FormatChunk()).Raw(Chunk("data", Samples(1000, 192)))));
        Bytes extra;
        extra.Str("Name", "Extra").Int8("MaxPlayingCount", 2).Binary(
            "Wave.WAVE", Riff(Bytes().Raw(FormatChunk()).Raw(Chunk("LIST", Samples(7, 0))).Raw(Chunk("data", Samples(500, 64)))));
        Bytes noData;
        noData.Str("Name", "NoData").Binary("Wave.WAVE", Riff(Bytes().Raw(FormatChunk())));
        Bytes looped;
        looped.Str("Name", "Music").Bool("Looped", true).Binary(
            "Wave.WAVE", Riff(Bytes().Raw(FormatChunk()).Raw(Chunk("data", Samples(300, 160)))));
        WriteBytes("Sound.dxw", SoundFile({plain, extra, noData}));
        WriteBytes("Music.dxw", SoundFile({looped}));
    }

    ~WaveListTest() override { platform::SetClockSource(nullptr); }

    float RenderLeft(std::size_t frames) { return Device.Render(frames).first; }

    TempDirectory Folder;
    platform::SteppedClock Clock{5000};
    FakeAudioMixer Device{Rate};
    FakeAudioOutput* Output = Device.Output;
    platform::AudioMixer* Mixer = Device.Mixer.get();
    std::unique_ptr<TDXSound> Sound;
    TDXWaveList Effects;
    TDXWaveList Music;
};

TEST_F(WaveListTest, LoadingOnAnInitialisedDeviceSetsEveryItemUp) {
    Sound->Loaded();
    Effects.Items().LoadSoundFile("Sound.dxw");
    TWaveCollection& items = Effects.Items();
    ASSERT_EQ(items.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(items.Items(i).Initialized()) << i;
    }
    EXPECT_EQ(items.DXSound(), Sound.get());
    EXPECT_TRUE(items.Items(0).Playback().Master()->HasBuffer());

    // An extra chunk before "data" changes nothing: its samples play.
    items.Items(1).StartSound(false);
    EXPECT_FLOAT_EQ(RenderLeft(10), -0.5f);
    EXPECT_EQ(RenderLeft(500), 0.0f);

    // Without a "data" chunk the item is empty and silent.
    EXPECT_EQ(items.Items(2).Wave.Size(), 0);
    EXPECT_FALSE(items.Items(2).Playback().Master()->HasBuffer());
    items.Items(2).StartSound(false);
    EXPECT_EQ(Mixer->PlayingCount(), 0u);

    EXPECT_THAT([&] { items.Items(3); }, testing::ThrowsMessage<EListError>("List index out of bounds (3)"));
}

TEST_F(WaveListTest, ItemsLoadedBeforeTheDeviceAreSetUpWhenItInitialises) {
    Effects.Items().LoadSoundFile("Sound.dxw");
    TWaveCollectionItem& item = Effects.Items().Items(0);
    EXPECT_FALSE(item.Initialized());
    item.StartSound(false);
    item.StopSound();
    EXPECT_EQ(Mixer->PlayingCount(), 0u);

    Sound->Loaded();
    EXPECT_TRUE(item.Initialized());
    item.StartSound(false);
    EXPECT_FLOAT_EQ(RenderLeft(10), 0.5f);

    Sound->Finalize();
    EXPECT_FALSE(item.Initialized());
    EXPECT_EQ(item.Playback().Master(), nullptr);
    EXPECT_EQ(Mixer->PlayingCount(), 0u);
}

TEST_F(WaveListTest, BindingAListToAnInitialisedDeviceSetsItUpAndUnbindingReleasesIt) {
    Sound->Loaded();
    TDXWaveList late;
    late.Items().LoadSoundFile("Sound.dxw");
    EXPECT_FALSE(late.Items().Items(0).Initialized());
    late.SetDXSound(Sound.get());
    EXPECT_TRUE(late.Items().Items(0).Initialized());
    late.SetDXSound(nullptr);
    EXPECT_FALSE(late.Items().Items(0).Initialized());
    EXPECT_EQ(late.Items().DXSound(), nullptr);
}

TEST_F(WaveListTest, ReloadingReplacesTheItemsAndSilencesTheOldOnes) {
    Sound->Loaded();
    Effects.Items().LoadSoundFile("Sound.dxw");
    Effects.Items().Items(0).StartSound(false);
    EXPECT_EQ(Mixer->PlayingCount(), 1u);
    Effects.Items().LoadSoundFile("Music.dxw");
    EXPECT_EQ(Effects.Items().Count(), 1);
    EXPECT_EQ(Mixer->PlayingCount(), 0u);
    EXPECT_TRUE(Effects.Items().Items(0).Initialized());
}

TEST_F(WaveListTest, AListsGroupReachesTheItemsItLoadsAndTheDeviceScalesEachGroup) {
    Music.Items().SetGroup(platform::SoundGroup::Music);
    Sound->Loaded();
    Music.Items().LoadSoundFile("Music.dxw");
    Effects.Items().LoadSoundFile("Sound.dxw");
    EXPECT_EQ(Music.Items().Items(0).Group(), platform::SoundGroup::Music);
    EXPECT_EQ(Effects.Items().Items(0).Group(), platform::SoundGroup::Effects);

    Sound->SetGroupVolume(platform::SoundGroup::Music, 0);
    Music.Items().Items(0).StartSound(false);    // looped: its master plays
    Effects.Items().Items(0).StartSound(false);  // a duplicate plays
    EXPECT_FLOAT_EQ(RenderLeft(10), 0.5f);
    Sound->SetGroupVolume(platform::SoundGroup::Music, 100);
    Sound->SetGroupVolume(platform::SoundGroup::Effects, 50);
    EXPECT_FLOAT_EQ(RenderLeft(10), 0.25f + 0.5f * 0.25f);
}

TEST_F(WaveListTest, LoopedChangesStopTheSoundButTheSameValueDoesNot) {
    Sound->Loaded();
    Music.Items().LoadSoundFile("Music.dxw");
    TWaveCollectionItem& music = Music.Items().Items(0);
    ASSERT_TRUE(music.Looped());
    music.StartSound(false);
    RenderLeft(1000);  // wraps: still sounding
    EXPECT_TRUE(music.Playback().Master()->Playing());

    music.SetLooped(true);
    EXPECT_TRUE(music.Playback().Master()->Playing());
    music.SetLooped(false);
    EXPECT_FALSE(music.Looped());
    EXPECT_FALSE(music.Playback().Master()->Playing());
    EXPECT_EQ(Mixer->PlayingCount(), 0u);

    // Now a one-shot: it plays from a duplicate and ends.
    music.StartSound(false);
    EXPECT_EQ(music.Playback().PlayBuffers().size(), 1u);
    RenderLeft(400);
    EXPECT_EQ(Mixer->PlayingCount(), 0u);
}

TEST_F(WaveListTest, ChangingMaxPlayingCountReleasesThePlayBuffers) {
    Sound->Loaded();
    Effects.Items().LoadSoundFile("Sound.dxw");
    TWaveCollectionItem& item = Effects.Items().Items(1);
    EXPECT_EQ(item.MaxPlayingCount(), 2);
    item.StartSound(false);
    item.StartSound(false);
    item.StartSound(false);
    EXPECT_EQ(item.Playback().PlayBuffers().size(), 2u);

    item.SetMaxPlayingCount(2);
    EXPECT_EQ(item.Playback().PlayBuffers().size(), 2u);
    item.SetMaxPlayingCount(-4);
    EXPECT_EQ(item.MaxPlayingCount(), 0);
    EXPECT_TRUE(item.Playback().PlayBuffers().empty());
    EXPECT_EQ(Mixer->PlayingCount(), 0u);
}

TEST_F(WaveListTest, LostDeviceRestoresEveryListOnce) {
    Sound->Loaded();
    Effects.Items().LoadSoundFile("Sound.dxw");
    Music.Items().LoadSoundFile("Music.dxw");
    Effects.Items().Items(0).StartSound(false);
    Music.Items().Items(0).StartSound(false);
    ASSERT_EQ(Output->Starts, 1);

    Output->IsLost = true;
    Effects.Items().Items(0).SetPan(-2000);  // finds the loss
    EXPECT_EQ(Output->Starts, 2);
    EXPECT_TRUE(Effects.Items().Items(0).Playback().PlayBuffers().empty());
    EXPECT_EQ(Effects.Items().Items(0).Pan(), -2000);

    // Every item has a fresh master; the looping music that was playing plays again by itself.
    EXPECT_EQ(Mixer->PlayingCount(), 1u);
    EXPECT_TRUE(Music.Items().Items(0).Playback().Master()->Playing());
    EXPECT_FLOAT_EQ(RenderLeft(10), 0.25f);
    EXPECT_EQ(Output->Starts, 2);
}

// Counts the restores the device asks of its lists.
class RestoreCounter final : public IDXSoundSubscriber {
public:
    void DXSoundNotify(TCustomDXSound&, TDXSoundNotifyType type) override {
        Restores += type == TDXSoundNotifyType::dsntRestore ? 1 : 0;
    }
    int Restores = 0;
};

// The sound server restarts: the output is lost, cannot be reopened for two seconds of frames
// that each play an effect, then is back.
TEST_F(WaveListTest, SoundComesBackAfterTheDeviceWasAwayAndSilencePilesUpNoBuffers) {
    Sound->Loaded();
    Effects.Items().LoadSoundFile("Sound.dxw");
    TWaveCollectionItem& effect = Effects.Items().Items(0);
    ASSERT_EQ(effect.MaxPlayingCount(), 0);
    RestoreCounter restores;
    Sound->Subscribe(&restores);

    Output->IsLost = true;
    Output->DeviceAvailable = false;
    for (int frame = 0; frame < 125; ++frame) {
        Clock.Advance(16);
        effect.StartSound(false);
    }
    EXPECT_LE(effect.Playback().PlayBuffers().size(), 1u) << "an effect cannot end on a silent device";
    EXPECT_EQ(Mixer->PlayingCount(), 0u);
    EXPECT_GE(Output->Starts, 1 + 4) << "tried again while away";
    EXPECT_LE(Output->Starts, 1 + 10) << "but at most a few times a second";

    Output->DeviceAvailable = true;
    const int restoresBefore = restores.Restores;
    float loudest = 0.0f;
    for (int frame = 0; frame < 30; ++frame) {
        Clock.Advance(16);
        effect.StartSound(false);
        loudest = std::max(loudest, RenderLeft(10));
        RenderLeft(1000);  // to its end
    }
    EXPECT_EQ(restores.Restores, restoresBefore + 1) << "restored once when it came back";
    EXPECT_FLOAT_EQ(loudest, 0.5f) << "and heard again";
    Sound->Unsubscribe(&restores);
}

// The frame loop's check of the output, with no sound played: nothing is restored while the
// output is fine; one lost and away for two seconds is tried again at most four times a
// second; once back, every list is restored and only the looping music that was playing plays.
TEST_F(WaveListTest, FrameChecksBringTheOutputBackAndRestartOnlyTheMusicThatWasPlaying) {
    Sound->Loaded();
    RestoreCounter restores;
    Sound->Subscribe(&restores);
    const auto frames = [this](int count) {
        for (int frame = 0; frame < count; ++frame) {
            Clock.Advance(16);
            Sound->CheckOutput();
        }
    };
    const struct {
        const char* Name;
        bool Start;
        bool Stop;
    } cases[] = {{"playing", true, false}, {"stopped", true, true}, {"never started", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Music.Items().LoadSoundFile("Music.dxw");
        TWaveCollectionItem& music = Music.Items().Items(0);
        if (c.Start) music.StartSound(false);
        if (c.Stop) music.StopSound();
        restores.Restores = 0;
        frames(60);
        EXPECT_EQ(restores.Restores, 0) << "nothing to restore on a working output";

        const int starts = Output->Starts;
        Output->IsLost = true;
        Output->DeviceAvailable = false;
        frames(125);
        EXPECT_EQ(Mixer->PlayingCount(), 0u);
        EXPECT_GE(Output->Starts - starts, 6);
        EXPECT_LE(Output->Starts - starts, 9);

        Output->DeviceAvailable = true;
        frames(16);
        EXPECT_EQ(restores.Restores, 2) << "once when lost, once when back";
        EXPECT_EQ(music.Playback().Master()->Playing(), c.Start && !c.Stop);
        EXPECT_EQ(RenderLeft(10), c.Start && !c.Stop ? 0.25f : 0.0f);
    }
    Sound->Unsubscribe(&restores);
}

// A sound server that dies again while the sounds are being rebuilt on it: the game's sound
// operations raise nothing, and once it holds, the sounds are rebuilt and heard.
TEST_F(WaveListTest, ALossWhileRestoringRaisesNothingAndALaterRestoreBringsTheSoundBack) {
    Sound->Loaded();
    Effects.Items().LoadSoundFile("Sound.dxw");
    Music.Items().LoadSoundFile("Music.dxw");
    TWaveCollectionItem& effect = Effects.Items().Items(0);
    TWaveCollectionItem& music = Music.Items().Items(0);

    Output->Flapping = true;
    EXPECT_NO_THROW(effect.StartSound(false));
    EXPECT_NO_THROW(effect.SetPan(-2000));
    EXPECT_NO_THROW(music.StartSound(false));
    EXPECT_NO_THROW(music.SetVolume(-100));
    EXPECT_NO_THROW(music.StopSound());
    EXPECT_NO_THROW(music.SetLooped(false));
    EXPECT_EQ(Mixer->PlayingCount(), 0u);

    Output->Flapping = false;
    effect.StartSound(false);  // finds the last loss and restores
    effect.StartSound(false);
    EXPECT_FLOAT_EQ(RenderLeft(10), 0.5f);
}

TEST_F(WaveListTest, DestroyingTheDeviceUnbindsItsLists) {
    Sound->Loaded();
    Effects.Items().LoadSoundFile("Sound.dxw");
    Sound.reset();
    EXPECT_EQ(Effects.DXSound(), nullptr);
    EXPECT_FALSE(Effects.Items().Items(0).Initialized());
    Effects.Items().Items(0).StartSound(false);
    EXPECT_EQ(Mixer->PlayingCount(), 0u);
}

}  // namespace
