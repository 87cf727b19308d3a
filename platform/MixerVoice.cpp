// MixerVoice: resampling and gain of one playing buffer (see MixerVoice.h).
#include "platform/MixerVoice.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform {
namespace {

constexpr int FractionBits = 32;
constexpr std::uint64_t FractionMask = (std::uint64_t{1} << FractionBits) - 1;
constexpr float FractionScale = 1.0f / 4294967296.0f;

// Sample readers: one channel value scaled to -1..1.
struct UnsignedByteSample {
    static constexpr std::size_t Size = 1;
    static float Read(const std::uint8_t* bytes) { return static_cast<float>(bytes[0] - 128) * (1.0f / 128.0f); }
};
struct SignedWordSample {
    static constexpr std::size_t Size = 2;
    static float Read(const std::uint8_t* bytes) {
        const auto word = static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
        return static_cast<float>(word) * (1.0f / 32768.0f);
    }
};

// Stores value when it lies in low..high; false (field unchanged) otherwise.
template <typename Value>
bool StoreInRange(Value& field, Value value, Value low, Value high) {
    if (value < low || value > high) {
        return false;
    }
    field = value;
    return true;
}

}  // namespace

bool IsPlayableFormat(const WaveFormat& format) {
    const bool knownLayout = (format.BitsPerSample == 8 || format.BitsPerSample == 16) &&
                             (format.Channels == 1 || format.Channels == 2);
    return format.FormatTag == WaveFormatPCM && knownLayout &&
           format.BlockAlign == format.Channels * format.BitsPerSample / 8 &&
           format.SamplesPerSec >= SoundFrequencyMin && format.SamplesPerSec <= SoundFrequencyMax;
}

double AttenuationGain(int hundredthsOfDecibel) {
    if (hundredthsOfDecibel <= SoundVolumeMin) {
        return 0.0;
    }
    return std::pow(10.0, hundredthsOfDecibel / 2000.0);
}

float GroupVolumeGain(int percent) {
    const float fraction = static_cast<float>(std::clamp(percent, 0, SoundGroupVolumeMax)) / SoundGroupVolumeMax;
    return fraction * fraction;
}

MixerVoice::MixerVoice(std::shared_ptr<SampleStore> samples, std::uint32_t outputRate)
    : FSamples(std::move(samples)), FOutputRate(outputRate) {
    UpdateStep();
}

void MixerVoice::Start(bool looping) {
    FPlaying = true;
    FLooping = looping;
}

std::uint32_t MixerVoice::BytePosition() const {
    const std::uint64_t frame = FPosition >> FractionBits;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(frame, FSamples->FrameCount())) *
           FSamples->Format.BlockAlign;
}

bool MixerVoice::SetBytePosition(std::uint32_t position) {
    if (position > FSamples->Bytes.size()) {
        return false;
    }
    FPosition = std::uint64_t{position / FSamples->Format.BlockAlign} << FractionBits;
    return true;
}

bool MixerVoice::SetFrequency(std::uint32_t frequency) {
    if (frequency == SoundFrequencyOriginal) {
        FFrequency = frequency;
    } else if (!StoreInRange(FFrequency, frequency, SoundFrequencyMin, SoundFrequencyMax)) {
        return false;
    }
    UpdateStep();
    return true;
}

bool MixerVoice::SetPan(int pan) { return StoreInRange(FPan, pan, SoundPanLeft, SoundPanRight) && UpdateGains(); }

bool MixerVoice::SetVolume(int volume) {
    return StoreInRange(FVolume, volume, SoundVolumeMin, SoundVolumeMax) && UpdateGains();
}

void MixerVoice::UpdateStep() {
    const std::uint64_t rate = FFrequency == SoundFrequencyOriginal ? FSamples->Format.SamplesPerSec : FFrequency;
    FStep = (rate << FractionBits) / FOutputRate;
}

// A negative pan lowers the right channel by its amount and leaves the left whole; a positive
// pan the reverse.
bool MixerVoice::UpdateGains() {
    const double volume = AttenuationGain(FVolume);
    FGainLeft = static_cast<float>(volume * (FPan > 0 ? AttenuationGain(-FPan) : 1.0));
    FGainRight = static_cast<float>(volume * (FPan < 0 ? AttenuationGain(FPan) : 1.0));
    return true;
}

void MixerVoice::MixInto(float* out, std::size_t frames, float groupGain) {
    if (!FPlaying) {
        return;
    }
    const float left = FGainLeft * groupGain;
    const float right = FGainRight * groupGain;
    const WaveFormat& format = FSamples->Format;
    if (format.BitsPerSample == 8) {
        format.Channels == 1 ? MixFrames<UnsignedByteSample, 1>(out, frames, left, right)
                             : MixFrames<UnsignedByteSample, 2>(out, frames, left, right);
    } else {
        format.Channels == 1 ? MixFrames<SignedWordSample, 1>(out, frames, left, right)
                             : MixFrames<SignedWordSample, 2>(out, frames, left, right);
    }
}

// Linear interpolation between neighbouring frames. A looping voice interpolates from its last
// frame into its first, so the wrap adds no step the signal itself does not have; a one-shot
// voice holds its last frame.
template <typename Sample, int Channels>
void MixerVoice::MixFrames(float* out, std::size_t frames, float gainLeft, float gainRight) {
    const std::uint8_t* bytes = FSamples->Bytes.data();
    const std::uint32_t frameCount = FSamples->FrameCount();
    const std::uint64_t end = std::uint64_t{frameCount} << FractionBits;
    constexpr std::size_t BlockAlign = Sample::Size * Channels;

    for (std::size_t i = 0; i < frames; ++i) {
        if (FPosition >= end) {
            if (!FLooping || frameCount == 0) {
                FPlaying = false;
                return;
            }
            FPosition %= end;
        }
        const auto index = static_cast<std::uint32_t>(FPosition >> FractionBits);
        std::uint32_t next = index + 1;
        if (next == frameCount) {
            next = FLooping ? 0 : index;
        }
        const float fraction = static_cast<float>(FPosition & FractionMask) * FractionScale;
        const std::uint8_t* here = bytes + index * BlockAlign;
        const std::uint8_t* there = bytes + next * BlockAlign;

        const float leftHere = Sample::Read(here);
        const float leftThere = Sample::Read(there);
        const float left = leftHere + (leftThere - leftHere) * fraction;
        float right = left;
        if constexpr (Channels == 2) {
            const float rightHere = Sample::Read(here + Sample::Size);
            const float rightThere = Sample::Read(there + Sample::Size);
            right = rightHere + (rightThere - rightHere) * fraction;
        }
        out[2 * i] += left * gainLeft;
        out[2 * i + 1] += right * gainRight;
        FPosition += FStep;
    }
}

}  // namespace platform
