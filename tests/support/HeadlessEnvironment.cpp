// Unit tests run headless: SDL's dummy video and audio drivers, no message boxes.
#include <cstdlib>

namespace {
const bool HeadlessDrivers = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("ZARVOTH_NO_MESSAGE_BOX", "1", 0);
    return true;
}();
}  // namespace
