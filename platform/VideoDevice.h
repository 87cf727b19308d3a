// VideoDevice: what the display component needs from the screen — the list of display modes,
// choosing one, presenting a finished 16-bit frame, whether the game's window is the active one,
// and a count of device resets (each reset takes every surface away). Implemented on SDL2 by
// SdlWindow; tests hand the display a fake.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/PixelBuffer.h"

namespace platform {

struct DisplayMode {
    int Width = 0;
    int Height = 0;
    int BitCount = 0;
    friend bool operator==(const DisplayMode&, const DisplayMode&) = default;
};

class VideoDevice {
public:
    virtual ~VideoDevice() = default;

    // Opens the device for drawing; false when no display can be had.
    virtual bool OpenDevice() = 0;
    virtual void CloseDevice() = 0;

    // The modes the screen offers (any order).
    virtual std::vector<DisplayMode> DisplayModes() = 0;
    // Switches to a mode from the list (or any mode the device accepts); false when refused.
    virtual bool SetDisplayMode(const DisplayMode& mode) = 0;
    virtual void RestoreDisplayMode() = 0;

    virtual PixelLayout Layout() const = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;

    // True while the game's window has the focus.
    virtual bool IsForeground() const = 0;

    // Shows a frame. With waitVBlank the call waits for the vertical blank (vertical sync).
    virtual bool Present(const PixelBuffer16& frame, bool waitVBlank) = 0;

    // Grows by one each time the device loses its surfaces.
    virtual std::uint32_t ResetCount() const = 0;
};

}  // namespace platform
