// DisplayLoss: an Xlib I/O error handler in front of the one that was there.
#include "platform/DisplayLoss.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace platform {
namespace {

std::function<void()>& Hook() {
    static std::function<void()> hook;
    return hook;
}

XIOErrorHandler Previous = nullptr;

int DisplayLost(Display* display) {
    // Once only: the hook itself may meet the lost connection again.
    static bool running = false;
    if (!running && Hook()) {
        running = true;
        Hook()();
    }
    if (Previous != nullptr) {
        return Previous(display);
    }
    std::exit(1);
}

}  // namespace

void SetDisplayLostHook(std::function<void()> hook) {
    Hook() = std::move(hook);
    if (Hook() && Previous == nullptr) {
        Previous = XSetIOErrorHandler(DisplayLost);
    } else if (!Hook() && Previous != nullptr) {
        XSetIOErrorHandler(Previous);
        Previous = nullptr;
    }
}

}  // namespace platform
