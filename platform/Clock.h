// Clock: the millisecond clocks the frame timer and the frame-rate count read. Both wrap modulo
// 2^32. Tests replace the source with a stepped clock so frames get exact times.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

// The multimedia clock: milliseconds, 32-bit, wrapping.
std::uint32_t TimeGetTime();
// The system tick count: milliseconds, 32-bit, wrapping.
std::uint32_t GetTickCount();

// Replaces the source of both clocks; an empty function restores the system clock.
void SetClockSource(std::function<std::uint32_t()> source);

// A clock that only moves when told to; install it with SetClockSource(std::ref(clock)).
class SteppedClock {
public:
    explicit SteppedClock(std::uint32_t start = 0) : FNow(start) {}
    std::uint32_t operator()() const { return FNow; }
    void Advance(std::uint32_t milliseconds) { FNow += milliseconds; }
    void Set(std::uint32_t now) { FNow = now; }

private:
    std::uint32_t FNow;
};

}  // namespace platform
