// DirectDrawSurface: pixel storage, fill, key, lock, loss and the lazily made canvas.
#include "engine/display/DirectDrawSurface.h"

#include <algorithm>
#include <cstring>

#include "engine/display/SurfaceCanvas.h"
#include "platform/SystemColors.h"

TDirectDrawSurface::TDirectDrawSurface(int width, int height, platform::PixelLayout layout,
                                       std::shared_ptr<TSurfaceLossTracker> lossTracker)
    : FWidth(std::max(width, 0)),
      FHeight(std::max(height, 0)),
      FLayout(layout),
      FPixels(static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight)),
      FLossTracker(std::move(lossTracker)),
      FGeneration(FLossTracker ? FLossTracker->Generation : 0) {}

TDirectDrawSurface::~TDirectDrawSurface() = default;

platform::PixelBuffer16 TDirectDrawSurface::Buffer() {
    return platform::PixelBuffer16{FPixels.data(), FWidth, FHeight, FWidth, FLayout};
}

std::uint16_t TDirectDrawSurface::ColorToPixel(TColor color) const {
    const TColor rgb = platform::ColorToRGB(color);
    return platform::PackRGB(FLayout, GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

bool TDirectDrawSurface::Fill(std::uint32_t pixel) {
    if (CanvasHeld() || IsLost()) {
        return false;
    }
    // Byte-uniform values (black above all) are one memset; others fill the first row and
    // copy it down, both of which run at memory speed.
    const auto value = static_cast<std::uint16_t>(pixel);
    if ((value & 0xFF) == (value >> 8)) {
        std::memset(FPixels.data(), value & 0xFF, FPixels.size() * sizeof(std::uint16_t));
    } else if (FHeight > 0) {
        std::fill_n(Row(0), FWidth, value);
        for (int y = 1; y < FHeight; ++y) {
            std::memcpy(Row(y), Row(0), static_cast<std::size_t>(FWidth) * sizeof(std::uint16_t));
        }
    }
    return true;
}

bool TDirectDrawSurface::Lock() {
    if (IsLost() || CanvasHeld()) {
        return false;
    }
    ++FLockCount;
    return true;
}

void TDirectDrawSurface::Unlock() {
    if (FLockCount > 0) {
        --FLockCount;
    }
}

bool TDirectDrawSurface::IsLost() const {
    return FLossTracker && FLossTracker->Generation != FGeneration;
}

bool TDirectDrawSurface::Restore() {
    if (FLossTracker) {
        FGeneration = FLossTracker->Generation;
    }
    return true;
}

TDirectDrawSurfaceCanvas& TDirectDrawSurface::Canvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<TDirectDrawSurfaceCanvas>(*this);
    }
    return *FCanvas;
}

bool TDirectDrawSurface::CanvasHeld() const {
    return FCanvas && FCanvas->Held();
}
