// Clock: CLOCK_MONOTONIC in milliseconds, kept to 32 bits: the frame timer and the frame-rate
// count work in 32-bit milliseconds that wrap, and their arithmetic relies on that.
#include "platform/Clock.h"

#include <time.h>

#include <utility>

namespace platform {
namespace {

std::function<std::uint32_t()>& Source() {
    static std::function<std::uint32_t()> source;
    return source;
}

std::uint32_t MonotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                              static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(milliseconds);
}

}  // namespace

std::uint32_t TimeGetTime() {
    return Source() ? Source()() : MonotonicMilliseconds();
}

std::uint32_t GetTickCount() {
    return TimeGetTime();
}

void SetClockSource(std::function<std::uint32_t()> source) {
    Source() = std::move(source);
}

}  // namespace platform
