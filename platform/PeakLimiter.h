// PeakLimiter: the last stage of the mixer's output. It keeps the summed stereo stream below a
// ceiling under full scale, however many voices add up, so the sound never clips. It looks a
// few milliseconds ahead (the stream leaves it delayed by that much): a peak is met by a gain
// that has already glided down to it, held while the peak lasts and released slowly, and both
// channels share the gain, so the stereo picture does not move. While the stream stays below
// the ceiling the gain is exactly one and every sample leaves it unchanged, to the bit. All
// memory is taken when it is made; Process allocates nothing. No SDL, no locking: one thread
// (the output's) runs it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

class PeakLimiter {
public:
    // -1 dBFS: room for the sound server's resampling, whose curves may overshoot the samples.
    static constexpr float Ceiling = 0.89125094f;
    static constexpr double LookAheadSeconds = 0.003;
    // Time constant of the gain's return to one after a peak.
    static constexpr double ReleaseSeconds = 0.1;

    explicit PeakLimiter(std::uint32_t rate);

    // Frames between a frame going in and coming out.
    std::size_t LatencyFrames() const { return FLength - 1; }

    // Forgets the stream so far: silence in the delay, gain one.
    void Reset();

    // Limits frames of interleaved stereo in place.
    void Process(float* samples, std::size_t frames);

private:
    using Gain = std::uint32_t;  // fixed point, Unity is one
    static constexpr Gain Unity = Gain{1} << 30;

    struct WindowEntry {
        std::uint64_t Frame;
        Gain Limit;
    };

    Gain LimitFor(float left, float right) const;
    Gain WindowMinimum(Gain limit);
    Gain Released(Gain floor);

    const std::size_t FLength;  // look-ahead window in frames
    const double FReleaseStep;  // share of the way back to one covered per frame
    std::vector<float> FDelay;  // the last FLength frames, stereo
    std::vector<Gain> FRecent;  // the released gains of the last FLength frames
    std::vector<WindowEntry> FWindow;  // ring: rising gain limits of the look-ahead window
    std::size_t FWindowFirst = 0;
    std::size_t FWindowCount = 0;
    std::uint64_t FFrame = 0;
    std::uint64_t FRecentSum = 0;
    Gain FReleased = Unity;
};

}  // namespace platform
