// A video device for tests: a configurable mode list, focus, resets, and a count of presented
// frames with the last vertical-sync request.
#pragma once

#include <algorithm>
#include <vector>

#include "platform/VideoDevice.h"

class FakeVideoDevice : public platform::VideoDevice {
public:
    std::vector<platform::DisplayMode> Modes{{640, 480, 16}, {800, 600, 16}, {800, 600, 32}, {1024, 768, 32}};
    bool CanOpen = true;
    bool Foreground = true;
    bool Opened = false;
    int Presented = 0;
    bool LastWaitVBlank = false;
    std::uint32_t Resets = 0;
    platform::PixelLayout PixelLayout = platform::PixelLayout::RGB565;
    platform::DisplayMode Current{1024, 768, 32};
    bool ModeSet = false;

    bool OpenDevice() override { return Opened = CanOpen; }
    void CloseDevice() override { Opened = false; }
    std::vector<platform::DisplayMode> DisplayModes() override { return Modes; }
    bool SetDisplayMode(const platform::DisplayMode& mode) override {
        if (std::find(Modes.begin(), Modes.end(), mode) == Modes.end()) return false;
        Current = mode;
        ModeSet = true;
        return true;
    }
    void RestoreDisplayMode() override {
        Current = {1024, 768, 32};
        ModeSet = false;
    }
    platform::PixelLayout Layout() const override { return PixelLayout; }
    int ClientWidth() const override { return 800; }
    int ClientHeight() const override { return 600; }
    int ScreenWidth() const override { return Current.Width; }
    int ScreenHeight() const override { return Current.Height; }
    bool IsForeground() const override { return Foreground; }
    bool Present(const platform::PixelBuffer16&, bool waitVBlank) override {
        ++Presented;
        LastWaitVBlank = waitVBlank;
        return true;
    }
    std::uint32_t ResetCount() const override { return Resets; }
};
