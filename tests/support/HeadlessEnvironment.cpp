// Unit tests run headless: SDL's dummy video and audio drivers, so no window or message box appears.
#include <cstdlib>

namespace {
const bool HeadlessDrivers = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return true;
}();
}  // namespace
