// WaveCollection: the sound items of a wave list and their file form — TWaveCollection (owned
// TWaveCollectionItems), loading it from and saving it to an asset file through the root class
// TWaveCollectionComponent. Depends on AssetCollection and Wave; playback
// on WavePlayback and the sound device component.
#pragma once

#include <string>

#include "engine/assets/AssetCollection.h"
#include "engine/sound/Wave.h"
#include "engine/sound/WavePlayback.h"

class TCustomDXSound;

// One sound. Stored properties, in their written order: Name, Looped, MaxPlayingCount,
// Wave.WAVE (only when the wave has samples and a format).
class TWaveCollectionItem : public TPersistent {
public:
    std::string Name;
    TWave Wave;

    std::string ClassName() const override { return "TWaveCollectionItem"; }
    void DefineProperties(TPropertyList& list) override;

    bool Looped() const { return FLooped; }
    int MaxPlayingCount() const { return FMaxPlayingCount; }
    // Setters that the reader goes through too. A change of Looped stops the sound first.
    void SetLooped(bool looped);
    // A negative count becomes 0 (no limit). A change releases the play buffers.
    void SetMaxPlayingCount(int count);

    // ---- Playback ----
    // Without an initialised sound device both do nothing.
    void StartSound(bool wait);
    void StopSound();
    // Frequency (0 = the wave's own rate), Pan (-10000 left to 10000 right) and Volume (-10000
    // to 0, hundredths of a decibel) are not stored in files; they reach the master buffer at
    // once and a play buffer at its next start.
    int Frequency() const { return FPlayback.Frequency(); }
    void SetFrequency(int value) { FPlayback.SetFrequency(value); }
    int Pan() const { return FPlayback.Pan(); }
    void SetPan(int value) { FPlayback.SetPan(value); }
    int Volume() const { return FPlayback.Volume(); }
    void SetVolume(int value) { FPlayback.SetVolume(value); }
    platform::SoundGroup Group() const { return FPlayback.Group(); }
    void SetGroup(platform::SoundGroup value) { FPlayback.SetGroup(value); }
    // Set up on an initialised sound device.
    bool Initialized() const { return FPlayback.Initialized(); }
    const TWavePlayback& Playback() const { return FPlayback; }

    // Releases the buffers and, when sound is initialised, builds the master from Wave.
    void Setup(TCustomDXSound* sound);
    // Setup after the device lost its buffers: raises nothing, resumes a looping sound.
    void Restore(TCustomDXSound* sound) noexcept;
    void Finalize() { FPlayback.Release(); }

private:
    bool FLooped = false;
    int FMaxPlayingCount = 0;
    TWavePlayback FPlayback;
};

class TWaveCollectionComponent;

class TWaveCollection : public TAssetCollection<TWaveCollectionItem, TWaveCollectionComponent> {
public:
    std::string ClassName() const override { return "TWaveCollection"; }

    // ---- Playback ----
    // The sound device the list is attached to, if any.
    TCustomDXSound* DXSound() const { return FDXSound; }
    // Attaches the list (nullptr detaches it) and sets every item up.
    void Initialize(TCustomDXSound* sound);
    // Sets every item up again after the device lost its buffers, resuming the looping sounds
    // that were playing; raises nothing.
    void Restore() noexcept;
    void Finalize();
    // Replaces the items with those of the file and sets them up when sound is initialised.
    void LoadSoundFile(const std::string& fileName);
    // The mixer group of every item, those loaded later too (effects unless set).
    platform::SoundGroup Group() const { return FGroup; }
    void SetGroup(platform::SoundGroup group);

private:
    TCustomDXSound* FDXSound = nullptr;
    platform::SoundGroup FGroup = platform::SoundGroup::Effects;
};

// The root object of a sound file.
class TWaveCollectionComponent : public TCollectionComponent {
public:
    explicit TWaveCollectionComponent(TCollectionBase& list) : TCollectionComponent("TWaveCollectionComponent", list) {}
};
