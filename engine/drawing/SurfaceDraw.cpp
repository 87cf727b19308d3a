// SurfaceDraw: the drawing operations of a surface — plain copy, ink through a coverage mask,
// stretched copy, rotated copy and rotated additive copy — all done in software on locked
// surfaces through the span routines. Depends on the surface, SpanRenderer and SoftwareRenderer.
#include <algorithm>
#include <cstdint>

#include "engine/display/DirectDrawSurface.h"
#include "engine/drawing/SoftwareRenderer.h"
#include "engine/drawing/SpanRenderer.h"

namespace {

// Holds the locks of a draw's destination and source; a draw goes ahead only when both hold
// (neither lost nor held by its text canvas).
class TDrawLocks {
public:
    TDrawLocks(TDirectDrawSurface& dest, TDirectDrawSurface& source) : FDest(dest), FSource(source) {
        if (FDest.Lock()) {
            if (FSource.Lock()) {
                FHeld = true;
            } else {
                FDest.Unlock();
            }
        }
    }
    ~TDrawLocks() {
        if (FHeld) {
            FSource.Unlock();
            FDest.Unlock();
        }
    }
    TDrawLocks(const TDrawLocks&) = delete;
    TDrawLocks& operator=(const TDrawLocks&) = delete;

    bool Held() const { return FHeld; }

private:
    TDirectDrawSurface& FDest;
    TDirectDrawSurface& FSource;
    bool FHeld = false;
};

// Rectangle arithmetic of the plain copy, in 64 bits so far-off positions cannot overflow.
struct WideRect {
    std::int64_t Left, Top, Right, Bottom;
};

bool WithinSurface(const TRect& rect, const TDirectDrawSurface& surface) {
    return rect.Left >= 0 && rect.Top >= 0 && rect.Right <= surface.Width() && rect.Bottom <= surface.Height();
}

}  // namespace

void TDirectDrawSurface::Draw(int X, int Y, const TRect& SrcRect, TDirectDrawSurface* Source, bool Transparent) {
    if (Source == nullptr || X > Width() || Y > Height()) {
        return;
    }
    WideRect src{SrcRect.Left, SrcRect.Top, SrcRect.Right, SrcRect.Bottom};
    WideRect dst{X, Y, X + (src.Right - src.Left), Y + (src.Bottom - src.Top)};
    // Clip in a fixed order, moving the other rectangle's matching edge by the same amount:
    // destination left/top, source left/top, destination right/bottom, source right/bottom.
    if (dst.Left < 0) { src.Left -= dst.Left; dst.Left = 0; }
    if (dst.Top < 0) { src.Top -= dst.Top; dst.Top = 0; }
    if (src.Left < 0) { dst.Left -= src.Left; src.Left = 0; }
    if (src.Top < 0) { dst.Top -= src.Top; src.Top = 0; }
    if (dst.Right > Width()) { src.Right -= dst.Right - Width(); dst.Right = Width(); }
    if (dst.Bottom > Height()) { src.Bottom -= dst.Bottom - Height(); dst.Bottom = Height(); }
    if (src.Right > Source->Width()) { dst.Right -= src.Right - Source->Width(); src.Right = Source->Width(); }
    if (src.Bottom > Source->Height()) { dst.Bottom -= src.Bottom - Source->Height(); src.Bottom = Source->Height(); }
    if (src.Left >= src.Right || src.Top >= src.Bottom) {
        return;
    }
    const TDrawLocks locks(*this, *Source);
    if (!locks.Held()) {
        return;
    }
    const span::CopyRowRoutine copy = span::SelectCopyRow(Source->Layout(), Layout(), Transparent);
    const auto count = static_cast<int>(src.Right - src.Left);
    const std::uint16_t key = Source->ColorKey();
    for (std::int64_t row = 0; row < src.Bottom - src.Top; ++row) {
        copy(Row(static_cast<int>(dst.Top + row)) + dst.Left, Source->Row(static_cast<int>(src.Top + row)) + src.Left,
             count, key);
    }
}

static_assert(TDirectDrawSurface::FullCoverage == span::FullCoverage);

void TDirectDrawSurface::DrawCoverage(int X, int Y, int Width, std::span<const std::uint8_t> Coverage,
                                      std::uint16_t Ink) {
    if (Width <= 0) {
        return;
    }
    const std::int64_t height = static_cast<std::int64_t>(Coverage.size()) / Width;
    const std::int64_t left = std::max<std::int64_t>(X, 0);
    const std::int64_t top = std::max<std::int64_t>(Y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{X} + Width, this->Width());
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{Y} + height, Height());
    if (left >= right || top >= bottom || !Lock()) {
        return;
    }
    const span::InkRowRoutine ink = span::SelectInkRow(Layout());
    for (std::int64_t y = top; y < bottom; ++y) {
        ink(Row(static_cast<int>(y)) + left, Coverage.data() + (y - Y) * Width + (left - X), static_cast<int>(right - left),
            Ink);
    }
    Unlock();
}

void TDirectDrawSurface::StretchDraw(const TRect& DestRect, const TRect& SrcRect, TDirectDrawSurface* Source,
                                     bool Transparent) {
    // A source rectangle reaching outside its surface is refused, as the blitter refuses it.
    if (Source == nullptr || DestRect.IsEmpty() || SrcRect.IsEmpty() || !WithinSurface(SrcRect, *Source)) {
        return;
    }
    const TRect clipped{std::max(DestRect.Left, 0), std::max(DestRect.Top, 0), std::min(DestRect.Right, Width()),
                        std::min(DestRect.Bottom, Height())};
    if (clipped.IsEmpty()) {
        return;
    }
    const TDrawLocks locks(*this, *Source);
    if (!locks.Held()) {
        return;
    }
    // Nearest neighbour: destination pixel i samples the source at (i + 1/2) x source/dest size.
    const std::int64_t destWidth = std::int64_t{DestRect.Right} - DestRect.Left;
    const std::int64_t destHeight = std::int64_t{DestRect.Bottom} - DestRect.Top;
    const std::int64_t du = (std::int64_t{SrcRect.Width()} << 16) / destWidth;
    const std::int64_t dv = (std::int64_t{SrcRect.Height()} << 16) / destHeight;
    span::SampledArea area;
    area.Dest = Row(clipped.Top) + clipped.Left;
    area.LineStride = Width();
    area.Lines = clipped.Height();
    area.Length = clipped.Width();
    area.Source = Source->Row(0);
    area.SourcePitch = Source->Width();
    area.U = span::Sweep{(std::int64_t{SrcRect.Left} << 16) + du / 2 + (clipped.Left - std::int64_t{DestRect.Left}) * du,
                         du, 0};
    area.V = span::Sweep{(std::int64_t{SrcRect.Top} << 16) + dv / 2 + (clipped.Top - std::int64_t{DestRect.Top}) * dv, 0,
                         dv};
    area.Left = std::int64_t{SrcRect.Left} << 16;
    area.Top = std::int64_t{SrcRect.Top} << 16;
    area.Right = std::int64_t{SrcRect.Right} << 16;
    area.Bottom = std::int64_t{SrcRect.Bottom} << 16;
    area.Key = Source->ColorKey();
    span::SelectSampleArea(Source->Layout(), Layout(), span::Combination::Copy, Transparent)(area);
}

void TDirectDrawSurface::DrawRotate(int X, int Y, int Width, int Height, const TRect& SrcRect,
                                    TDirectDrawSurface* Source, double CenterX, double CenterY, bool Transparent,
                                    int Angle) {
    if (Source == nullptr) {
        return;
    }
    const TDrawLocks locks(*this, *Source);
    if (locks.Held()) {
        TSoftwareRenderer::Instance().DrawRotated(
            *this, TRotatedDraw{X, Y, Width, Height, SrcRect, Source, CenterX, CenterY, Transparent, Angle},
            span::Combination::Copy, 0);
    }
}

void TDirectDrawSurface::DrawRotateAdd(int X, int Y, int Width, int Height, const TRect& SrcRect,
                                       TDirectDrawSurface* Source, double CenterX, double CenterY, bool Transparent,
                                       int Angle, int Alpha) {
    if (Source == nullptr || Alpha <= 0) {
        return;
    }
    const TDrawLocks locks(*this, *Source);
    if (locks.Held()) {
        TSoftwareRenderer::Instance().DrawRotated(
            *this, TRotatedDraw{X, Y, Width, Height, SrcRect, Source, CenterX, CenterY, Transparent, Angle},
            Alpha >= 255 ? span::Combination::Add : span::Combination::AddAlpha, Alpha);
    }
}
