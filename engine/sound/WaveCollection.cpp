// WaveCollection: the stored properties of sound items and the sound-file root; playback of
// the items through their buffers.
#include "engine/sound/WaveCollection.h"

#include <span>

void TWaveCollectionItem::DefineProperties(TPropertyList& list) {
    list.String("Name", Name);
    list.Boolean("Looped", [this] { return FLooped; }, [this](bool v) { SetLooped(v); });
    list.Integer("MaxPlayingCount", [this] { return FMaxPlayingCount; }, [this](int v) { SetMaxPlayingCount(v); });
    list.Object("Wave", Wave);
}

// ---- Playback ----

void TWaveCollectionItem::SetLooped(bool looped) {
    if (looped != FLooped) {
        StopSound();
        FLooped = looped;
    }
}

void TWaveCollectionItem::SetMaxPlayingCount(int count) {
    const int value = count < 0 ? 0 : count;
    if (value != FMaxPlayingCount && Initialized()) {
        FPlayback.ReleasePlayBuffers();
    }
    FMaxPlayingCount = value;
}

void TWaveCollectionItem::StartSound(bool wait) { FPlayback.StartSound(FLooped, FMaxPlayingCount, wait); }

void TWaveCollectionItem::StopSound() { FPlayback.StopSound(); }

namespace {

std::span<const std::uint8_t> SamplesOf(const TWave& wave) {
    return {wave.Data(), static_cast<std::size_t>(wave.Size())};
}

}  // namespace

void TWaveCollectionItem::Setup(TCustomDXSound* sound) { FPlayback.Setup(sound, Wave.Format(), SamplesOf(Wave)); }

void TWaveCollectionItem::Restore(TCustomDXSound* sound) noexcept {
    FPlayback.Restore(sound, Wave.Format(), SamplesOf(Wave));
}

void TWaveCollection::Initialize(TCustomDXSound* sound) {
    FDXSound = sound;
    for (int i = 0; i < Count(); ++i) {
        Items(i).SetGroup(FGroup);
        Items(i).Setup(sound);
    }
}

void TWaveCollection::SetGroup(platform::SoundGroup group) {
    FGroup = group;
    for (int i = 0; i < Count(); ++i) {
        Items(i).SetGroup(group);
    }
}

void TWaveCollection::Restore() noexcept {
    for (int i = 0; i < Count(); ++i) {
        Items(i).Restore(FDXSound);
    }
}

void TWaveCollection::Finalize() {
    for (int i = 0; i < Count(); ++i) {
        Items(i).Finalize();
    }
}

void TWaveCollection::LoadSoundFile(const std::string& fileName) {
    LoadFromFile(fileName);
    Initialize(FDXSound);
}
