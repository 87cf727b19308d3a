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
    // Sets up again after the device lost its buffers; a looping sound that was playing starts
    // again from its beginning. Never raises, since it runs in the middle of whatever sound
    // operation found the loss: a master that cannot be rebuilt leaves the item silent until
    // the next restore (which still resumes the loop).
    void Restore(TCustomDXSound* sound, std::span<const std::uint8_t> formatRecord,
                 std::span<const std::uint8_t> samples) noexcept;
    // Releases every buffer; no longer set up.
    void Release() noexcept;
    void ReleasePlayBuffers() { FPlayBuffers.clear(); }

    // A wave without samples plays nothing, looped or not.
    void StartSound(bool looped, int maxPlayingCount, bool wait);
    // Stops every buffer. Never raises: the ends of games and the window's teardown rely on it.
    void StopSound() noexcept;
    // A looping sound was started and not stopped since (it may be silent while the device is
    // away).
    bool LoopPlaying() const { return FLoopPlaying; }

    // Applied to the master at once; play buffers take them at their next start.
    int Frequency() const { return FFrequency; }
    void SetFrequency(int value);
    int Pan() const { return FPan; }
    void SetPan(int value);
    int Volume() const { return FVolume; }
    void SetVolume(int value);
    // The mixer group whose volume the player sets; the master takes it at once, play buffers
    // at their next start.
    platform::SoundGroup Group() const { return FGroup; }
    void SetGroup(platform::SoundGroup value);

    TDirectSoundBuffer* Master() const { return FMaster.get(); }
    const std::vector<std::unique_ptr<TDirectSoundBuffer>>& PlayBuffers() const { return FPlayBuffers; }

private:
    TDirectSoundBuffer* StartLooped();
    TDirectSoundBuffer* StartOnce(int maxPlayingCount);
    TDirectSoundBuffer* ChoosePlayBuffer(int maxPlayingCount);
    template <typename Apply>
    void ApplyToMaster(Apply apply);
    void FinishOperation() noexcept;

    TCustomDXSound* FSound = nullptr;
    std::unique_ptr<TDirectSoundBuffer> FMaster;
    std::vector<std::unique_ptr<TDirectSoundBuffer>> FPlayBuffers;
    int FFrequency = 0;
    int FPan = 0;
    int FVolume = 0;
    platform::SoundGroup FGroup = platform::SoundGroup::Effects;
    bool FInitialized = false;
    bool FLoopPlaying = false;
};
