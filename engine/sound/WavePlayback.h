// WavePlayback: the playing half of a sound item — its master buffer holding the wave's samples,
// its pool of duplicates so that the sound can overlap itself, and the frequency, pan and volume
// it plays with. Depends on DirectSoundBuffer and on the sound device component (DXSounds) for
// the device and the restore after a lost buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engine/sound/DirectSoundBuffer.h"

class TCustomDXSound;

class TWavePlayback {
public:
    // Attached to an initialised device.
    bool Initialized() const { return FInitialized; }

    // Releases every buffer, then, when sound is initialised, counts as set up and builds the
    // master buffer from the wave (none when the wave has no samples) with the item's frequency,
    // pan and volume.
    void Setup(TCustomDXSound* sound, std::span<const std::uint8_t> formatRecord,
               std::span<const std::uint8_t> samples);
    // Releases every buffer; no longer set up.
    void Release();
    void ReleasePlayBuffers() { FPlayBuffers.clear(); }

    void StartSound(bool looped, int maxPlayingCount, bool wait);
    // Raises "IDirectSoundBuffer not made" when set up without samples.
    void StopSound();

    // Applied to the master at once; play buffers take them at their next start.
    int Frequency() const { return FFrequency; }
    void SetFrequency(int value);
    int Pan() const { return FPan; }
    void SetPan(int value);
    int Volume() const { return FVolume; }
    void SetVolume(int value);

    TDirectSoundBuffer* Master() const { return FMaster.get(); }
    const std::vector<std::unique_ptr<TDirectSoundBuffer>>& PlayBuffers() const { return FPlayBuffers; }

private:
    TDirectSoundBuffer* ChoosePlayBuffer(int maxPlayingCount);
    template <typename Apply>
    void ApplyToMaster(Apply apply);
    void FinishOperation();

    TCustomDXSound* FSound = nullptr;
    std::unique_ptr<TDirectSoundBuffer> FMaster;
    std::vector<std::unique_ptr<TDirectSoundBuffer>> FPlayBuffers;
    int FFrequency = 0;
    int FPan = 0;
    int FVolume = 0;
    bool FInitialized = false;
};
