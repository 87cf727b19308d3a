// SoftwareRenderer: geometry of the rotated draws, set up for the span routines.
#include "engine/drawing/SoftwareRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>

#include "engine/display/DirectDrawSurface.h"
#include "engine/drawing/ScanLines.h"

namespace {

// Positions are kept in 16.16 fixed point in 64 bits. Positions beyond 2^24 pixels and steps
// beyond 2^14 pixels per pixel (no real picture has them) are refused, which keeps every sum of
// the row arithmetic far inside 64 bits.
constexpr double PositionLimit = 1099511627776.0;  // 2^40 in fixed point
constexpr double StepLimit = 1073741824.0;         // 2^30 in fixed point

// The conversion truncates towards zero, as trunc would, without a library call.
inline std::optional<std::int64_t> ToFixed(double value, double limit) {
    const double fixed = value * 65536.0;
    if (!(std::fabs(fixed) < limit)) {  // also catches NaN
        return std::nullopt;
    }
    return static_cast<std::int64_t>(fixed);
}

// trunc for values known to lie well inside 64 bits.
inline double Truncated(double value) { return static_cast<double>(static_cast<std::int64_t>(value)); }

struct Box {
    std::int64_t Left, Top, Right, Bottom;
};

}  // namespace

TSoftwareRenderer& TSoftwareRenderer::Instance() {
    static TSoftwareRenderer renderer;
    return renderer;
}

TSoftwareRenderer::TSoftwareRenderer() {
    for (std::size_t i = 0; i < FCosine.size(); ++i) {
        FCosine[i] = std::cos(static_cast<double>(i) * 2.0 * std::numbers::pi / 256.0);
    }
}

void TSoftwareRenderer::DrawRotated(TDirectDrawSurface& dest, const TRotatedDraw& draw, span::Combination rule,
                                    int alpha) const {
    const TDirectDrawSurface& source = *draw.Source;
    const TRect& src = draw.SrcRect;
    if (dest.Width() == 0 || dest.Height() == 0 || source.Width() == 0 || source.Height() == 0 || draw.Width == 0 ||
        draw.Height == 0) {
        return;
    }
    if (src.Left < 0 || src.Top < 0 || src.Right > source.Width() || src.Bottom > source.Height() || src.IsEmpty()) {
        return;
    }
    const double c = Cos(draw.Angle);
    const double s = Sin(draw.Angle);
    const double pivotX = draw.Width * draw.CenterX;
    const double pivotY = draw.Height * draw.CenterY;
    if (!(std::fabs(pivotX) < PositionLimit && std::fabs(pivotY) < PositionLimit)) {
        return;
    }

    // The bounding box of the four mapped corners, clipped to the destination.
    Box box{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
    for (const auto& [cornerX, cornerY] : {std::pair{0, 0}, {draw.Width, 0}, {0, draw.Height}, {draw.Width, draw.Height}}) {
        const double x = Truncated(cornerX - pivotX);
        const double y = Truncated(cornerY - pivotY);
        const std::int64_t mappedX = draw.X + static_cast<std::int64_t>(x * c - y * s);
        const std::int64_t mappedY = draw.Y + static_cast<std::int64_t>(x * s + y * c);
        box = Box{std::min(box.Left, mappedX), std::min(box.Top, mappedY), std::max(box.Right, mappedX),
                  std::max(box.Bottom, mappedY)};
    }
    box = Box{std::max<std::int64_t>(box.Left, 0), std::max<std::int64_t>(box.Top, 0),
              std::min<std::int64_t>(box.Right, dest.Width()), std::min<std::int64_t>(box.Bottom, dest.Height())};
    if (box.Left >= box.Right || box.Top >= box.Bottom) {
        return;
    }

    // Source position at the box's top-left pixel and its steps per pixel and per row.
    const double sw = src.Width();
    const double sh = src.Height();
    const auto dx = static_cast<double>(box.Left - draw.X);
    const auto dy = static_cast<double>(box.Top - draw.Y);
    const auto u0 = ToFixed(src.Left + draw.CenterX * sw + (dx * c + dy * s) * sw / draw.Width, PositionLimit);
    const auto v0 = ToFixed(src.Top + draw.CenterY * sh + (-dx * s + dy * c) * sh / draw.Height, PositionLimit);
    const auto du = ToFixed(c * sw / draw.Width, StepLimit);
    const auto dv = ToFixed(-s * sh / draw.Height, StepLimit);
    const auto duRow = ToFixed(s * sw / draw.Width, StepLimit);
    const auto dvRow = ToFixed(c * sh / draw.Height, StepLimit);
    if (!u0 || !v0 || !du || !dv || !duRow || !dvRow) {
        return;
    }

    const span::BoxMapping mapping{box.Right - box.Left, box.Bottom - box.Top, *u0, *v0, *du, *dv, *duRow, *dvRow,
                                   src.Left * std::int64_t{65536}, src.Top * std::int64_t{65536},
                                   src.Right * std::int64_t{65536}, src.Bottom * std::int64_t{65536}};
    const span::LineFamily lines = span::ChooseLines(mapping);
    if (lines.Count <= 0) {
        return;
    }
    // Line k, pixel t is the box pixel k (P, Q) + t (A, B): a quantity that grows by gx per
    // pixel right and gy per pixel down grows by A gx + B gy along a line and by P gx + Q gy from
    // one line to the next.
    const auto sweep = [&lines](std::int64_t start, std::int64_t gx, std::int64_t gy) {
        const std::int64_t lineStep = lines.P * gx + lines.Q * gy;
        return span::Sweep{start + lines.First * lineStep, lines.A * gx + lines.B * gy, lineStep};
    };
    const std::int64_t pitch = dest.Width();
    const span::Sweep offsets = sweep(0, 1, pitch);
    span::SampledArea area;
    area.Dest = dest.Row(static_cast<int>(box.Top)) + box.Left;
    area.FirstLine = offsets.Start;
    area.LineStride = offsets.LineStep;
    area.PixelStride = offsets.Step;
    area.Lines = static_cast<int>(lines.Count);
    area.Length = static_cast<int>(lines.A != 0 ? mapping.Width : mapping.Height);
    area.U = sweep(*u0, *du, *duRow);
    area.V = sweep(*v0, *dv, *dvRow);
    if (lines.Slanted()) {
        area.Box = span::SampledArea::Bounds{true, sweep(0, 1, 0), sweep(0, 0, 1), mapping.Width, mapping.Height};
    }
    area.Source = source.Row(0);
    area.SourcePitch = source.Width();
    area.Left = mapping.Left;
    area.Top = mapping.Top;
    area.Right = mapping.Right;
    area.Bottom = mapping.Bottom;
    area.Key = source.ColorKey();
    area.Alpha = alpha;
    span::SelectSampleArea(source.Layout(), dest.Layout(), rule, draw.Transparent)(area);
}
