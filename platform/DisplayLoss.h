// DisplayLoss: when the connection to the X server is lost (the server ended, the session went
// away), Xlib ends the program from its I/O error handler. A hook set here runs first, once, so
// the program can keep what needs no display (the settings); then Xlib's own handler reports the
// loss and ends the program as before. Depends on Xlib.
#pragma once

#include <functional>

namespace platform {

// An empty hook leaves Xlib's handling alone.
void SetDisplayLostHook(std::function<void()> hook);

}  // namespace platform
