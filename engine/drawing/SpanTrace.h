// SpanTrace: which pixels of each line of a sampled draw are drawn. A nearest-neighbour draw
// walks a box of the destination line by line while its source position moves in 16.16 fixed
// point; on each line it draws the one run of pixels whose position lies inside the source
// rectangle. The tracer finds those runs, a batch of lines at a time, so that the pixel loops
// that follow carry nothing of it. Depends on nothing else.
#pragma once

#include <cstdint>

namespace span {

// One coordinate of the source position over a box of the destination, in 16.16 fixed point:
// at pixel i of line l it is Start + l * LineStep + i * Step. Lines are the box's rows, or its
// columns when a tall box is walked column by column.
struct Sweep {
    std::int64_t Start = 0;
    std::int64_t Step = 0;
    std::int64_t LineStep = 0;
};

// A nearest-neighbour draw over a box of the destination, walked line by line: the source
// position (u, v) follows the sweeps U and V; a pixel is drawn when it lies inside the source
// rectangle [Left, Right) x [Top, Bottom) (in 16.16), taking the source pixel (floor u, floor v).
// Every pixel is drawn at most once and on its own, so any walk that visits each pixel of the
// box once gives the same picture. Lines are rows or columns of the box (pixels 0 .. Length - 1
// from its edge), or, for long thin draws, parallel lines of another slope that follow the
// drawing: those start outside the box and are cut to it by the box's own coordinates (Box).
struct SampledArea {
    std::uint16_t* Dest = nullptr;  // the box's top-left pixel
    std::int64_t FirstLine = 0;     // from Dest to pixel 0 of the first line
    std::int64_t LineStride = 0;    // destination pixels from one line to the next
    std::int64_t PixelStride = 1;   // and from one pixel to the next along a line
    int Lines = 0;
    int Length = 0;  // pixels per line, for rows and columns
    const std::uint16_t* Source = nullptr;  // pixel (0, 0) of the source surface
    std::int64_t SourcePitch = 0;
    Sweep U, V;
    std::int64_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::uint16_t Key = 0;
    int Alpha = 0;
    struct Bounds {
        bool Active = false;  // lines of another slope than rows and columns
        Sweep X, Y;           // box-relative pixel coordinates along those lines
        std::int64_t Width = 0, Height = 0;
    } Box;
};

// Where one line's run starts: its first pixel as an offset from SampledArea::Dest, the source
// position there, and its length (0 or less when the line draws nothing).
struct SpanStart {
    std::int64_t Offset;
    std::int64_t U, V;
    std::int64_t Count;
};

// How a moving coordinate advances, followed negated when it shrinks so that it always grows:
// Step per pixel, and from one line to the next the move of its crossings (below), the same for
// every bound. Across is floor((hi - lo) / Step) for the coordinate's range [lo, hi) and Rest
// the remainder.
struct Pace {
    std::int64_t Step;
    std::int64_t PixelDelta, ValueDelta;
    std::int64_t Across, Rest;
};

// Where, along each line, a moving coordinate has passed a bound for good: the first pixel at
// which it is at or above the bound when it grows, below it when it shrinks. From one line to the
// next that pixel moves by floor(-LineStep / Step) or one more; the coordinate's excess over the
// bound there (in [0, Step)) tells which. The pixel may lie outside the box.
struct Crossing {
    std::int64_t Pixel;
    std::int64_t Excess;
};

// The runs of the lines of one draw, in order.
class SpanTracer {
public:
    static constexpr int Batch = 64;

    explicit SpanTracer(const SampledArea& area);

    // Fills spans with the runs of the next lines, at most Batch of them; returns how many
    // (0 when every line is done). Some of them may draw nothing.
    int Next(SpanStart (&spans)[Batch]);

private:
    template <class Cut>
    int Trace(SpanStart* spans, Cut cut);

    const SampledArea& FArea;
    std::int64_t FLine = 0, FEnd = 0;  // the next line and the end of the lines that can draw
    std::int64_t FOffset = 0;          // destination offset of the next line's pixel 0
    std::int64_t FU = 0, FV = 0;       // source position there
    Pace FAcross{}, FDown{};
    Crossing FEnterU{}, FEnterV{};  // where each coordinate enters its range (it leaves it Across on)
    SampledArea::Bounds FBox;  // box coordinates along slanted lines, from the next line on
};

}  // namespace span
