// DirectDrawSurface: the engine's surface — 16-bit pixels in the display's format, a source
// colour key, a lock counter for software drawing, a text canvas, and loss and restore as the
// display device reports them. The four drawing operations of the image list and the canvas's
// coverage draw live in SurfaceDraw.cpp. Depends on Classes and the platform's pixel-buffer view
// and system colours.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "engine/assets/Classes.h"
#include "platform/PixelBuffer.h"

class TDirectDrawSurfaceCanvas;

ZARVOTH_DECLARE_EXCEPTION(EDirectDrawSurfaceError, Exception);

// Shared by a display device and the surfaces it made: bumping Generation marks every
// surface made before as lost until it is restored.
struct TSurfaceLossTracker {
    std::uint32_t Generation = 0;
};

class TDirectDrawSurface {
public:
    TDirectDrawSurface(int width, int height, platform::PixelLayout layout,
                       std::shared_ptr<TSurfaceLossTracker> lossTracker = nullptr);
    ~TDirectDrawSurface();
    TDirectDrawSurface(const TDirectDrawSurface&) = delete;
    TDirectDrawSurface& operator=(const TDirectDrawSurface&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TRect ClientRect() const { return TRect{0, 0, FWidth, FHeight}; }
    platform::PixelLayout Layout() const { return FLayout; }
    platform::PixelBuffer16 Buffer();

    std::uint16_t* Row(int y) { return FPixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth); }
    const std::uint16_t* Row(int y) const { return FPixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth); }
    std::uint16_t Pixel(int x, int y) const { return Row(y)[x]; }
    void SetPixel(int x, int y, std::uint16_t value) { Row(y)[x] = value; }

    // The platform's conversion of a colour value (a system colour too) to this surface's pixel format.
    std::uint16_t ColorToPixel(TColor color) const;

    // Fills the whole surface with a raw pixel value; refused while the canvas holds the surface.
    bool Fill(std::uint32_t pixel);

    // Source colour key used by transparent draws.
    void SetColorKey(std::uint16_t key) { FColorKey = key; }
    std::uint16_t ColorKey() const { return FColorKey; }

    // Software drawing brackets its pixel access with Lock/Unlock; a lost surface cannot be locked.
    bool Lock();
    void Unlock();
    int LockCount() const { return FLockCount; }

    bool IsLost() const;
    bool Restore();

    bool SystemMemory() const { return FSystemMemory; }
    void SetSystemMemory(bool value) { FSystemMemory = value; }

    // The text canvas, created on first use. While it holds the surface (text output not yet
    // released) the surface cannot be filled, drawn onto or presented.
    TDirectDrawSurfaceCanvas& Canvas();
    bool CanvasHeld() const;

    // Lays ink of one pixel value over the surface through a coverage mask (rows of Width values,
    // 0 to FullCoverage) with its top-left corner at (X, Y), clipped to the surface; refused, as
    // every draw, while the surface is lost or held by its canvas.
    static constexpr std::uint8_t FullCoverage = 32;
    void DrawCoverage(int X, int Y, int Width, std::span<const std::uint8_t> Coverage, std::uint16_t Ink);

    // Drawing operations (plain, stretched, rotated, rotated additive) of the image list.
    void Draw(int X, int Y, const TRect& SrcRect, TDirectDrawSurface* Source, bool Transparent);
    void StretchDraw(const TRect& DestRect, const TRect& SrcRect, TDirectDrawSurface* Source, bool Transparent);
    void DrawRotate(int X, int Y, int Width, int Height, const TRect& SrcRect, TDirectDrawSurface* Source,
                    double CenterX, double CenterY, bool Transparent, int Angle);
    void DrawRotateAdd(int X, int Y, int Width, int Height, const TRect& SrcRect, TDirectDrawSurface* Source,
                       double CenterX, double CenterY, bool Transparent, int Angle, int Alpha);

private:
    int FWidth;
    int FHeight;
    platform::PixelLayout FLayout;
    std::vector<std::uint16_t> FPixels;
    std::uint16_t FColorKey = 0;
    int FLockCount = 0;
    bool FSystemMemory = false;
    std::shared_ptr<TSurfaceLossTracker> FLossTracker;
    std::uint32_t FGeneration = 0;
    std::unique_ptr<TDirectDrawSurfaceCanvas> FCanvas;
};
