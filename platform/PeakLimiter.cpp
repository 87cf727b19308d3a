// PeakLimiter: a look-ahead peak limiter (see PeakLimiter.h). Per frame: the gain the frame
// needs to stay under the ceiling; the lowest such gain over the look-ahead window, so a peak
// is known to every frame of the window before it; that low held and released towards one;
// and the mean of the held gains over the window, a glide that reaches each peak's gain by the
// time the peak leaves the delay. Gains are fixed point, so a window of gains one sums to
// exactly one and the quiet stream passes untouched.
#include "platform/PeakLimiter.h"

#include <algorithm>
#include <cmath>

namespace platform {

PeakLimiter::PeakLimiter(std::uint32_t rate)
    : FLength(std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(LookAheadSeconds * rate)))),
      FReleaseStep(1.0 - std::exp(-1.0 / (ReleaseSeconds * rate))),
      FDelay(2 * FLength),
      FRecent(FLength),
      FWindow(FLength) {
    Reset();
}

void PeakLimiter::Reset() {
    std::fill(FDelay.begin(), FDelay.end(), 0.0f);
    std::fill(FRecent.begin(), FRecent.end(), Unity);
    FRecentSum = std::uint64_t{Unity} * FLength;
    FWindowFirst = 0;
    FWindowCount = 0;
    FFrame = 0;
    FReleased = Unity;
}

// Rounded down, so that the frame never comes out above the ceiling.
PeakLimiter::Gain PeakLimiter::LimitFor(float left, float right) const {
    const float peak = std::max(std::fabs(left), std::fabs(right));
    if (peak <= Ceiling) {
        return Unity;
    }
    return static_cast<Gain>(static_cast<double>(Ceiling) / peak * Unity);
}

// The window keeps, oldest first, only limits lower than every later one: its first entry is
// the lowest limit of the last FLength frames.
PeakLimiter::Gain PeakLimiter::WindowMinimum(Gain limit) {
    if (FWindowCount > 0 && FWindow[FWindowFirst].Frame + FLength <= FFrame) {
        FWindowFirst = FWindowFirst + 1 == FLength ? 0 : FWindowFirst + 1;
        --FWindowCount;
    }
    while (FWindowCount > 0 && FWindow[(FWindowFirst + FWindowCount - 1) % FLength].Limit >= limit) {
        --FWindowCount;
    }
    FWindow[(FWindowFirst + FWindowCount) % FLength] = {FFrame, limit};
    ++FWindowCount;
    return FWindow[FWindowFirst].Limit;
}

// Falls at once to the window's lowest limit; rises from it a share of the way to one per
// frame (at least one step, so it gets there), never above that limit.
PeakLimiter::Gain PeakLimiter::Released(Gain floor) {
    if (floor <= FReleased) {
        return floor;
    }
    const auto rise = static_cast<Gain>(std::ceil(static_cast<double>(Unity - FReleased) * FReleaseStep));
    return std::min(floor, FReleased + rise);
}

void PeakLimiter::Process(float* samples, std::size_t frames) {
    std::size_t slot = static_cast<std::size_t>(FFrame % FLength);
    for (std::size_t i = 0; i < frames; ++i, ++FFrame) {
        float* frame = samples + 2 * i;
        FReleased = Released(WindowMinimum(LimitFor(frame[0], frame[1])));
        FRecentSum = FRecentSum - FRecent[slot] + FReleased;
        FRecent[slot] = FReleased;
        FDelay[2 * slot] = frame[0];
        FDelay[2 * slot + 1] = frame[1];
        slot = slot + 1 == FLength ? 0 : slot + 1;
        // The oldest frame of the delay is now the one the gains of the whole window allow for.
        const auto gain = static_cast<Gain>(FRecentSum / FLength);
        if (gain == Unity) {
            frame[0] = FDelay[2 * slot];
            frame[1] = FDelay[2 * slot + 1];
        } else {
            const double scale = static_cast<double>(gain) / Unity;
            frame[0] = static_cast<float>(FDelay[2 * slot] * scale);
            frame[1] = static_cast<float>(FDelay[2 * slot + 1] * scale);
        }
    }
}

}  // namespace platform
