// FramePacer: when the next frame should start, so that the input it reads and the picture it
// draws reach the screen at the display's next refresh rather than a refresh later. Waiting
// happens before a frame, not between drawing it and showing it.
//
// The refresh comes from the presents. Where the display waits for it inside the present (a
// synchronised swap), a present returns just after a refresh: the next frame is due one period
// later less a lead that covers drawing and handing over; a refresh missed although the frame
// was handed over in time lengthens the lead. Where nothing waits (the window's own surface), the
// pacer keeps the refresh clock itself, one period per frame; a frame late by half a period or
// more starts the count again rather than letting the next ones hurry. Without vertical sync no
// frame waits. Depends on nothing but the standard clock.
#pragma once

#include <chrono>
#include <optional>

namespace platform {

class FramePacer {
public:
    using Clock = std::chrono::steady_clock;

    enum class Sync : unsigned char {
        None,     // frames go as fast as they come
        Kept,     // the pacer keeps the refresh clock
        Display,  // the present waited for the display's refresh
    };

    static constexpr Clock::duration MinimumLead = std::chrono::milliseconds(2);

    void SetPeriod(Clock::duration period);
    Clock::duration Period() const { return FPeriod; }
    Clock::duration Lead() const { return FLead; }

    // A frame was handed over at `submitted`; the present returned at `returned`.
    void Presented(Clock::time_point submitted, Clock::time_point returned, Sync sync);

    // When the next frame should start; nothing when it may start at once.
    std::optional<Clock::time_point> FrameDue() const;

private:
    Clock::duration FPeriod = std::chrono::microseconds(16667);
    Clock::duration FLead = std::chrono::microseconds(16667) / 4;
    Sync FSync = Sync::None;
    std::optional<Clock::time_point> FNextRefresh;
};

}  // namespace platform
