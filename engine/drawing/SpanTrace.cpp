// SpanTrace: the runs of pixels each line of a sampled draw covers.
#include "engine/drawing/SpanTrace.h"

#include <algorithm>
#include <climits>

namespace span {

namespace {

// Stands for "before every pixel" and "after every pixel" of a line; far from overflow when a
// line's length or start is added.
constexpr std::int64_t Never = INT64_MAX / 4;

// Floor and ceiling of a / b for b > 0.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a >= 0 ? a / b : -((b - 1 - a) / b); }
constexpr std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

// floor(a / b) for b > 0, estimated in floating point and corrected exactly (cheaper than a
// 64-bit division, which would cost a torpedo's draw a noticeable share).
std::int64_t FloorQuotient(std::int64_t a, std::int64_t b, double inverse) {
    auto quotient = static_cast<std::int64_t>(static_cast<double>(a) * inverse);
    while (quotient * b > a) {
        --quotient;
    }
    while ((quotient + 1) * b <= a) {
        ++quotient;
    }
    return quotient;
}

// A coordinate that does not move along the lines covers the whole of every line it is allowed
// on (which lines those are is settled up front, LinesInside): it enters before every pixel and
// leaves after every pixel, and neither moves.
constexpr Pace Still{1, 0, 0, 2 * Never, 0};
constexpr Crossing NeverPassed{-Never, 0};

// How a coordinate moves over its range [lo, hi), and where it enters that range on the line
// the sweep starts: at lo when it grows, below hi when it shrinks. A shrinking coordinate is
// followed negated, so that "passed" always reads value >= bound (-p >= 1 - hi  <=>  p < hi).
struct Followed {
    Pace Moves;
    Crossing Enter;
};

Followed Follow(const Sweep& sweep, std::int64_t lo, std::int64_t hi) {
    if (sweep.Step == 0) {
        return {Still, NeverPassed};
    }
    const std::int64_t sign = sweep.Step > 0 ? 1 : -1;
    const std::int64_t step = sign * sweep.Step;
    const double inverse = 1.0 / static_cast<double>(step);
    const std::int64_t lineStep = sign * sweep.LineStep;
    const std::int64_t shift = FloorQuotient(lineStep, step, inverse) + 1;
    const std::int64_t across = FloorQuotient(hi - lo, step, inverse);
    const std::int64_t start = sign * sweep.Start;
    const std::int64_t passed = sign > 0 ? lo : 1 - hi;
    // The first pixel at or beyond: ceil((passed - start) / step).
    const std::int64_t pixel = -FloorQuotient(start - passed, step, inverse);
    return {Pace{step, -shift, lineStep - shift * step, across, hi - lo - across * step},
            Crossing{pixel, start + pixel * step - passed}};
}

// Where it leaves the range: the far bound lies Across steps and Rest beyond the near one, so
// the coordinate passes it Across pixels after entering, or one more when its excess over the
// near bound falls short of Rest.
inline std::int64_t LeavePixel(const Crossing& enter, const Pace& pace) {
    return enter.Pixel + pace.Across + (enter.Excess < pace.Rest ? 1 : 0);
}

// The lines [first, end) on which a coordinate that does not move along them lies in [lo, hi);
// every line for one that moves.
void LinesInside(const Sweep& sweep, std::int64_t lo, std::int64_t hi, std::int64_t& first, std::int64_t& end) {
    if (sweep.Step != 0) {
        return;
    }
    const std::int64_t start = sweep.Start;
    const std::int64_t step = sweep.LineStep;
    if (step > 0) {
        first = std::max(first, CeilDiv(lo - start, step));
        end = std::min(end, CeilDiv(hi - start, step));
    } else if (step < 0) {
        first = std::max(first, FloorDiv(start - hi, -step) + 1);
        end = std::min(end, FloorDiv(start - lo, -step) + 1);
    } else if (start < lo || start >= hi) {
        end = first;
    }
}

inline void NextLine(Crossing& crossing, const Pace& pace) {
    // The candidate one short of the shortest possible move; one pixel on when it falls short.
    crossing.Pixel += pace.PixelDelta;
    crossing.Excess += pace.ValueDelta;
    const std::int64_t behind = crossing.Excess >> 63;  // all ones when negative
    crossing.Pixel -= behind;
    crossing.Excess += pace.Step & behind;
}

// The part of each line inside the box. Rows and columns: pixels 0 .. Length - 1.
struct EdgeRun {
    std::int64_t Length;

    // The run's start stays within the line even when it is empty, so that the position there
    // can be worked out without overflow.
    void Cut(std::int64_t& first, std::int64_t& last) const {
        first = std::clamp<std::int64_t>(first, 0, Length);
        last = std::min(last, Length);
    }
    // Where a run starts in the destination: on the line even when it is empty.
    static std::int64_t Place(std::int64_t line, std::int64_t first, std::int64_t, std::int64_t stride) {
        return line + first * stride;
    }
    void NextLine() {}
};

// Slanted lines, cut by the box's own coordinates along them. The drawn area meets the box's
// edges only near its corners, so most runs lie wholly inside and are only checked at their
// two ends; the others are cut exactly.
class BoxRun {
public:
    explicit BoxRun(SampledArea::Bounds& box) : FBox(box) {}

    // An empty run is left at pixel 0, so that the position there can be worked out without
    // overflow.
    void Cut(std::int64_t& first, std::int64_t& last) const {
        if (first < last && !(first > -Never && last < Never && Inside(first) && Inside(last - 1))) {
            CutTo(FBox.X, FBox.Width, first, last);
            CutTo(FBox.Y, FBox.Height, first, last);
        }
        if (first >= last) {
            first = last = 0;
        }
    }

    // Where a run starts in the destination. Slanted lines begin outside the box, so an empty run
    // is placed at the box's corner instead, to stay on the surface.
    static std::int64_t Place(std::int64_t line, std::int64_t first, std::int64_t last, std::int64_t stride) {
        return first < last ? line + first * stride : 0;
    }

    void NextLine() {
        FBox.X.Start += FBox.X.LineStep;
        FBox.Y.Start += FBox.Y.LineStep;
    }

private:
    bool Inside(std::int64_t t) const {
        const std::int64_t x = FBox.X.Start + t * FBox.X.Step;
        const std::int64_t y = FBox.Y.Start + t * FBox.Y.Step;
        return static_cast<std::uint64_t>(x) < static_cast<std::uint64_t>(FBox.Width) &&
               static_cast<std::uint64_t>(y) < static_cast<std::uint64_t>(FBox.Height);
    }

    // Keeps the pixels t with 0 <= Start + t Step < size (Step is never 0 on a slanted line).
    static void CutTo(const Sweep& coordinate, std::int64_t size, std::int64_t& first, std::int64_t& last) {
        if (coordinate.Step > 0) {
            first = std::max(first, CeilDiv(-coordinate.Start, coordinate.Step));
            last = std::min(last, CeilDiv(size - coordinate.Start, coordinate.Step));
        } else {
            const std::int64_t step = -coordinate.Step;
            first = std::max(first, FloorDiv(coordinate.Start - size, step) + 1);
            last = std::min(last, FloorDiv(coordinate.Start, step) + 1);
        }
    }

    SampledArea::Bounds& FBox;
};

Sweep Advanced(Sweep sweep, std::int64_t lines) {
    sweep.Start += lines * sweep.LineStep;
    return sweep;
}

}  // namespace

SpanTracer::SpanTracer(const SampledArea& area) : FArea(area), FEnd(area.Lines), FBox(area.Box) {
    LinesInside(area.U, area.Left, area.Right, FLine, FEnd);
    LinesInside(area.V, area.Top, area.Bottom, FLine, FEnd);
    if (FLine >= FEnd) {
        return;
    }
    const Sweep u = Advanced(area.U, FLine);
    const Sweep v = Advanced(area.V, FLine);
    FOffset = area.FirstLine + FLine * area.LineStride;
    FU = u.Start;
    FV = v.Start;
    const Followed across = Follow(u, area.Left, area.Right);
    const Followed down = Follow(v, area.Top, area.Bottom);
    FAcross = across.Moves;
    FEnterU = across.Enter;
    FDown = down.Moves;
    FEnterV = down.Enter;
    FBox.X = Advanced(FBox.X, FLine);
    FBox.Y = Advanced(FBox.Y, FLine);
}

int SpanTracer::Next(SpanStart (&spans)[Batch]) {
    if (FLine >= FEnd) {
        return 0;
    }
    return FArea.Box.Active ? Trace(spans, BoxRun(FBox)) : Trace(spans, EdgeRun{FArea.Length});
}

// Every line's run is written, empty or not: the span loops pass over an empty one at no cost,
// which is cheaper than a branch on the (often alternating) empty lines at a draw's corners.
template <class Cut>
int SpanTracer::Trace(SpanStart* spans, Cut cut) {
    const std::int64_t stride = FArea.PixelStride, lineStride = FArea.LineStride;
    const std::int64_t du = FArea.U.Step, dv = FArea.V.Step;
    const std::int64_t duLine = FArea.U.LineStep, dvLine = FArea.V.LineStep;
    const Pace across = FAcross, down = FDown;
    Crossing enterU = FEnterU, enterV = FEnterV;
    std::int64_t offset = FOffset, u = FU, v = FV;
    const std::int64_t lines = std::min<std::int64_t>(FEnd - FLine, Batch);
    SpanStart* out = spans;
    for (std::int64_t l = 0; l < lines; ++l) {
        std::int64_t first = std::max(enterU.Pixel, enterV.Pixel);
        std::int64_t last = std::min(LeavePixel(enterU, across), LeavePixel(enterV, down));
        cut.Cut(first, last);
        *out++ = SpanStart{cut.Place(offset, first, last, stride), u + first * du, v + first * dv, last - first};
        offset += lineStride;
        u += duLine;
        v += dvLine;
        NextLine(enterU, across);
        NextLine(enterV, down);
        cut.NextLine();
    }
    FEnterU = enterU;
    FEnterV = enterV;
    FOffset = offset;
    FU = u;
    FV = v;
    FLine += lines;
    return static_cast<int>(out - spans);
}

}  // namespace span
