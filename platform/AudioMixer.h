// AudioMixer: the software mixer behind the sound components. It implements SoundDevice with
// buffers whose samples live in memory and are mixed, resampled to the output rate and scaled by
// their group's volume, into one stereo stream, which a peak limiter keeps below full scale.
// The output (an audio device, on its own thread) pulls that stream through Render; tests call
// Render themselves. The game's thread only changes shared state under a short lock and never
// waits for the output. A lost output is reopened by the buffer operations that follow, a few
// times a second at most; while it is away, sounds end as they start.
// Depends on SoundDevice.h, MixerVoice, PeakLimiter and the Clock; no SDL.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/MixerVoice.h"
#include "platform/PeakLimiter.h"
#include "platform/SoundDevice.h"

namespace platform {

class AudioMixer;

// Where the mixed stream goes: an audio device that calls AudioMixer::Render from its own thread.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    // Starts pulling stereo frames at mixer.OutputRate(); false when no device can be had.
    virtual bool Start(AudioMixer& mixer) = 0;
    // After Stop returns, Render is no longer called.
    virtual void Stop() = 0;
    // True when the device went away after a successful Start.
    virtual bool Lost() = 0;
};

class AudioMixer final : public SoundDevice {
public:
    static constexpr std::uint32_t DefaultOutputRate = 44100;

    explicit AudioMixer(std::unique_ptr<AudioOutput> output, std::uint32_t outputRate = DefaultOutputRate);
    // Buffers made by the mixer must be released before it.
    ~AudioMixer() override;
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;

    bool Open() override;
    void Close() override;
    bool IsOpen() const override { return FOpen; }
    std::unique_ptr<SoundBuffer> CreateBuffer(const WaveFormat& format, std::size_t byteCount,
                                              SoundResult& result) override;
    void SetGroupVolume(SoundGroup group, int percent) override;

    std::uint32_t OutputRate() const { return FOutputRate; }

    // What the output plays: frames of interleaved stereo samples, Mix's sum passed through the
    // limiter, so never at full scale and LatencyFrames late. A gain on the sum as a whole (a
    // volume per group of voices) belongs between the two. Called on the output's thread;
    // allocates nothing.
    void Render(float* out, std::size_t frames);
    std::size_t LatencyFrames() const { return FLimiter.LatencyFrames(); }

    // The mixing core: writes frames of interleaved stereo samples, the sum of every playing
    // buffer at its own volume and pan, unbounded. Render's first stage.
    void Mix(float* out, std::size_t frames);

    // Number of buffers sounding right now.
    std::size_t PlayingCount();

private:
    friend class MixerBuffer;

    // Called by the buffers, on the game's thread.
    void NoticeLoss();
    bool IsLost(std::uint32_t generation) const { return generation != FLossGeneration; }
    std::uint32_t LossGeneration() const { return FLossGeneration; }
    // Reopens a lost output now; RetryOutput does so at most a few times a second.
    bool RegainOutput();
    void RetryOutput();
    void Activate(MixerVoice* voice);
    void Deactivate(MixerVoice* voice);

    std::unique_ptr<AudioOutput> FOutput;
    const std::uint32_t FOutputRate;
    bool FOpen = false;
    bool FOutputDown = false;
    bool FRetryDue = false;
    std::uint32_t FLastAttempt = 0;  // tick count of the last attempt to reopen the output
    std::uint32_t FLossGeneration = 0;

    std::mutex FLock;                  // guards every voice and FActive against Render
    std::vector<MixerVoice*> FActive;  // the voices Render mixes
    PeakLimiter FLimiter;              // only Render uses it, while the output runs
    std::array<float, SoundGroupCount> FGroupGains{1.0f, 1.0f};  // by SoundGroup, under FLock
};

}  // namespace platform
