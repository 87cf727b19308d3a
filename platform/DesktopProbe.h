// DesktopProbe: what the desktop offers before the game's window is made. Whether a window
// manager runs: without one a window asks in vain to be made full screen (and SDL waits for an
// answer that never comes), while a borderless window the size of the screen already covers it.
// Whether a graphics processor can draw for the window at all: an X server without DRI or
// NVIDIA's GLX offers only software OpenGL, so the game need not load OpenGL to learn that.
// Asked of the X server named by DISPLAY over a short connection of its own (Xlib); a desktop
// that cannot be asked is taken to offer both.
#pragma once

namespace platform {

struct DesktopFacts {
    bool WindowManager = true;
    bool GpuRendering = true;
};

DesktopFacts ProbeX11Desktop();

}  // namespace platform
