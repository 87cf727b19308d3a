// DirectSoundBuffer: the engine's handle on one platform sound buffer. It records the result
// of every operation, reports a lost buffer to whoever restores the sound items, and raises the
// engine's errors where a buffer cannot be made, filled or used. Depends on the platform's
// SoundDevice interface.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "engine/assets/Classes.h"
#include "platform/SoundDevice.h"

ZARVOTH_DECLARE_EXCEPTION(EDirectSoundBufferError, Exception);

// Told when a buffer operation found the device lost.
class IBufferLossListener {
public:
    virtual void BufferLost() = 0;

protected:
    ~IBufferLossListener() = default;
};

// The PCM part of a wave format record as stored in a RIFF "fmt " chunk; a record too short to
// hold it gives an all-zero format, which no device accepts.
platform::WaveFormat WaveFormatFromRecord(std::span<const std::uint8_t> record);

class TDirectSoundBuffer {
public:
    TDirectSoundBuffer(platform::SoundDevice& device, IBufferLossListener& lossListener);
    // A handle on a platform buffer made elsewhere.
    TDirectSoundBuffer(platform::SoundDevice& device, IBufferLossListener& lossListener,
                       std::unique_ptr<platform::SoundBuffer> buffer);
    TDirectSoundBuffer(const TDirectSoundBuffer&) = delete;
    TDirectSoundBuffer& operator=(const TDirectSoundBuffer&) = delete;

    // Result of the last operation.
    platform::SoundResult DXResult() const { return FDXResult; }
    bool HasBuffer() const { return FBuffer != nullptr; }
    // The platform buffer; raises "IDirectSoundBuffer not made" when there is none.
    platform::SoundBuffer& IBuffer();

    // Makes the platform buffer from a format record and copies the samples in. Raises
    // "Sound Buffer cannot be made" or "Sound Buffer cannot be locked".
    void LoadFromWave(std::span<const std::uint8_t> formatRecord, std::span<const std::uint8_t> samples);

    // A buffer sharing these samples; nullptr when there is nothing to duplicate or the platform
    // refuses.
    std::unique_ptr<TDirectSoundBuffer> Duplicate();

    // Failures are recorded, not raised.
    void Play(bool looping);
    void Stop();
    void SetPosition(std::uint32_t position);
    void SetFrequency(int frequency);
    void SetPan(int pan);
    void SetVolume(int volume);
    void SetGroup(platform::SoundGroup group);
    bool Playing();
    // Asks the platform for the buffer's status; true (and reported) when it was lost.
    bool Lost();

private:
    std::uint32_t Status();
    void Record(platform::SoundResult result);

    platform::SoundDevice& FDevice;
    IBufferLossListener& FLossListener;
    std::unique_ptr<platform::SoundBuffer> FBuffer;
    platform::SoundResult FDXResult = platform::SoundResult::Ok;
};
