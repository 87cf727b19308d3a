// SdlWindow: the main window on SDL2 — a borderless full-screen window on the desktop's own
// resolution, presenting the program's 800 x 600 16-bit frame scaled to fill the screen as far
// as the aspect ratio allows, letterboxed. Where a window manager runs it can also be a framed,
// resizable window, in which the frame is shown at whole multiples (WindowGeometry). The window
// is made hidden and appears with its first frame, in whichever of the two it was set to. A
// graphics processor scales through SDL's renderer (whole-number nearest scaling, then a smooth
// final step only where the factor is not whole); without one the frame goes into the window's
// own surface in one nearest-neighbour pass (NearestScaler). With vertical sync the window says
// when the next frame is due (FramePacer): shortly before the refresh that will show it, so the
// loop reads the input then and not a frame earlier. It is the video device of the display
// component and provides the pointer, caption and event services of the main window. Depends on
// SDL2, DesktopProbe, WindowGeometry and FramePacer.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/VideoDevice.h"
#include "platform/WindowGeometry.h"

namespace platform {

class SdlWindow final : public VideoDevice {
public:
    SdlWindow();
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    // Creates the window, full screen and hidden, with the given client (logical) size; false with
    // an error text on failure.
    bool Create(const std::string& caption, int clientWidth, int clientHeight, std::string& error);
    bool Created() const;
    // Puts the window on the desktop; the first presented frame does it too.
    void Show();

    // Full screen or a window. Only a desktop with a window manager has windows to switch to.
    bool CanBeWindowed() const;
    bool FullScreen() const;
    void SetFullScreen();
    // A framed, resizable window of the given client size; a size that is empty or does not fit
    // the work area gives the window AutomaticWindowSize(). False (and still full screen) where
    // no window manager runs.
    bool SetWindowed(Size clientSize);
    // The largest whole multiple of the client that fits the work area with the window's frame.
    Size AutomaticWindowSize() const;
    // The window's client size now, or when it was last a window; empty if it never was.
    Size WindowedSize() const;

    void SetCaption(const std::string& caption);
    std::string Caption() const;
    void SetBorderless(bool borderless);

    void ShowPointer(bool show);
    // Confines the pointer to a rectangle of screen coordinates; nullopt releases it. The
    // rectangle stays on the picture when the window changes size or mode.
    void ClipPointer(const std::optional<ScreenRect>& rect);
    // Holds the confinement off without forgetting it (a window lets the pointer go in menus).
    void SuspendPointerClip(bool suspended);
    bool PointerClipped() const;
    // The screen as the window services see it: the desktop in the client's pixels (the desktop
    // size divided by the presentation scale), with the client the centred rectangle in it.
    void LogicalScreenSize(int& width, int& height) const;
    // Pointer position in those screen coordinates, and the conversion to client coordinates.
    void PointerScreenPosition(int& x, int& y) const;
    void ScreenToClient(int& x, int& y) const;
    // Puts the pointer on a client point; the window reports the motion as it does the mouse's.
    void MovePointer(int x, int y);

    // Converts window pixels (events) to client coordinates.
    void WindowToClient(int& x, int& y) const;

    // The device lost its surfaces (render targets reset); also used by tests.
    void NoteDeviceReset();
    void NoteFocus(bool focused) { FFocused = focused; }
    // The desktop asked the window to show itself again: the next frame is sent whole, bars too.
    void NoteExposed();
    // The window changed size: the picture, its bars and the confinement are placed anew.
    void NoteResized();
    std::uint32_t WindowId() const;

    // The renderer SDL chose (for diagnostics).
    std::string RendererName() const;

    // The number of frames presented so far.
    std::uint64_t PresentedFrames() const { return FPresentedFrames; }

    // When the next frame should start to be shown at the next refresh; nothing when it may
    // start at once (no vertical sync, or nothing presented yet).
    std::optional<std::chrono::steady_clock::time_point> FrameDue() const;

    // VideoDevice
    bool OpenDevice() override;
    void CloseDevice() override;
    std::vector<DisplayMode> DisplayModes() override;
    bool SetDisplayMode(const DisplayMode& mode) override;
    void RestoreDisplayMode() override;
    PixelLayout Layout() const override { return PixelLayout::RGB565; }
    int ClientWidth() const override { return FClientWidth; }
    int ClientHeight() const override { return FClientHeight; }
    int ScreenWidth() const override;
    int ScreenHeight() const override;
    bool IsForeground() const override { return FFocused; }
    bool Present(const PixelBuffer16& frame, bool waitVBlank) override;
    std::uint32_t ResetCount() const override { return FResetCount; }

    // Where the client area lands on the screen (letterboxed), in window pixels.
    ScreenRect ViewRect() const;
    double Scale() const;

private:
    struct Sdl;
    void WindowToScreen(int& x, int& y) const;
    // Where the client's (0, 0) lies in the screen coordinates of the window services.
    void ClientOrigin(int& x, int& y) const;
    void ApplyPointerClip();
    FrameBorders Borders() const;
    bool EnsureTextures(int width, int height);
    bool PresentWithRenderer(const PixelBuffer16& frame, bool waitVBlank);
    bool PresentOnWindowSurface(const PixelBuffer16& frame, bool waitVBlank);
    void DropTextures();
    void SetVSync(bool on);

    std::unique_ptr<Sdl> FSdl;
    int FClientWidth = 800;
    int FClientHeight = 600;
    std::uint32_t FResetCount = 0;
    bool FFocused = true;
    std::uint64_t FPresentedFrames = 0;
    std::optional<bool> FVSync;
};

}  // namespace platform
