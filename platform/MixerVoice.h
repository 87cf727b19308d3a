// MixerVoice: the playback state of one mixer buffer — its samples (shared with its
// duplicates), play position, step through the samples, frequency, pan and volume — and the
// resampling loop that adds the voice into the mixer's stereo output. Depends on the wave
// format of SoundDevice.h only; the mixer serialises every access under its lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/SoundDevice.h"

namespace platform {

// The bytes a buffer and all its duplicates play.
struct SampleStore {
    WaveFormat Format;
    std::vector<std::uint8_t> Bytes;

    std::uint32_t FrameCount() const { return static_cast<std::uint32_t>(Bytes.size() / Format.BlockAlign); }
};

// True for PCM of 8 or 16 bits, mono or stereo, at a rate the mixer accepts.
bool IsPlayableFormat(const WaveFormat& format);

// Amplitude factor of an attenuation in hundredths of a decibel; -10000 and below is silence.
double AttenuationGain(int hundredthsOfDecibel);

// Amplitude factor of a group volume in percent: its square, so that 50 % (-12 dB) sounds about
// half as loud and the ten steps are heard over the whole range. Clamped to 0..100 %.
float GroupVolumeGain(int percent);

class MixerVoice {
public:
    MixerVoice(std::shared_ptr<SampleStore> samples, std::uint32_t outputRate);

    const std::shared_ptr<SampleStore>& Samples() const { return FSamples; }

    bool Playing() const { return FPlaying; }
    bool Looping() const { return FLooping; }
    void Start(bool looping);
    void Halt() { FPlaying = false; }

    std::uint32_t BytePosition() const;
    // False (position unchanged) when the offset lies beyond the samples.
    bool SetBytePosition(std::uint32_t position);

    // Each setter refuses a value out of range and keeps the old one.
    bool SetFrequency(std::uint32_t frequency);
    bool SetPan(int pan);
    bool SetVolume(int volume);
    std::uint32_t Frequency() const { return FFrequency; }
    int Pan() const { return FPan; }
    int Volume() const { return FVolume; }
    SoundGroup Group() const { return FGroup; }
    void SetGroup(SoundGroup group) { FGroup = group; }

    // Adds the next frames of this voice, scaled by groupGain after its own volume and pan, into
    // out (interleaved stereo). A one-shot voice that runs out stops itself and leaves the rest
    // of out untouched.
    void MixInto(float* out, std::size_t frames, float groupGain);

private:
    template <typename Sample, int Channels>
    void MixFrames(float* out, std::size_t frames, float gainLeft, float gainRight);
    void UpdateStep();
    bool UpdateGains();  // always true, to chain after a setter

    std::shared_ptr<SampleStore> FSamples;
    std::uint32_t FOutputRate;
    std::uint64_t FPosition = 0;  // in frames, 32.32 fixed point
    std::uint64_t FStep = 0;      // frames per output frame, 32.32 fixed point
    std::uint32_t FFrequency = SoundFrequencyOriginal;
    int FPan = 0;
    int FVolume = 0;
    float FGainLeft = 1.0f;
    float FGainRight = 1.0f;
    SoundGroup FGroup = SoundGroup::Effects;
    bool FPlaying = false;
    bool FLooping = false;
};

}  // namespace platform
