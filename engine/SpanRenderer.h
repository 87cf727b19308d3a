// SpanRenderer: the pixel loops behind every surface draw. Each routine is a template
// specialised to the source and destination pixel layouts, the combination rule and the use of
// the colour key, so a draw picks one routine up front and its line loops carry no decisions.
// Depends only on the platform's pixel layouts.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "platform/PixelBuffer.h"

namespace span {

using platform::PixelLayout;

// Where each channel sits in a 16-bit pixel of a layout.
template <PixelLayout L>
struct Channels;

template <>
struct Channels<PixelLayout::RGB565> {
    static constexpr int RedShift = 11, RedBits = 5;
    static constexpr int GreenShift = 5, GreenBits = 6;
    static constexpr int BlueShift = 0, BlueBits = 5;
};

template <>
struct Channels<PixelLayout::RGB555> {
    static constexpr int RedShift = 10, RedBits = 5;
    static constexpr int GreenShift = 5, GreenBits = 5;
    static constexpr int BlueShift = 0, BlueBits = 5;
};

// Three channels widened to 8 bits (bits at the top of the byte, low bits zero), one per 16-bit
// lane of a 64-bit word: blue in lane 0, green in lane 1, red in lane 2. The additive rules work
// on all three lanes at once.
using Lanes = std::uint64_t;
constexpr Lanes LaneBytes = 0x000000FF00FF00FFull;
constexpr Lanes LaneCarries = 0x0000010001000100ull;

template <int Shift, int Bits, int Lane>
constexpr Lanes LaneOf(std::uint16_t pixel) {
    return static_cast<Lanes>(((static_cast<unsigned>(pixel) >> Shift) & ((1u << Bits) - 1u)) << (8 - Bits))
           << (16 * Lane);
}

// A lane narrowed back by keeping the top bits of its byte (truncation).
template <int Shift, int Bits, int Lane>
constexpr unsigned PackLane(Lanes lanes) {
    return static_cast<unsigned>(((lanes >> (16 * Lane)) & 0xFF) >> (8 - Bits)) << Shift;
}

template <PixelLayout L>
constexpr Lanes Expand(std::uint16_t pixel) {
    using C = Channels<L>;
    return LaneOf<C::BlueShift, C::BlueBits, 0>(pixel) | LaneOf<C::GreenShift, C::GreenBits, 1>(pixel) |
           LaneOf<C::RedShift, C::RedBits, 2>(pixel);
}

template <PixelLayout L>
constexpr std::uint16_t Pack(Lanes lanes) {
    using C = Channels<L>;
    return static_cast<std::uint16_t>(PackLane<C::BlueShift, C::BlueBits, 0>(lanes) |
                                      PackLane<C::GreenShift, C::GreenBits, 1>(lanes) |
                                      PackLane<C::RedShift, C::RedBits, 2>(lanes));
}

// Per-lane min(255, a + b) for lanes holding at most 255 each: a lane that carried into bit 8
// is filled with ones.
constexpr Lanes AddSaturated(Lanes a, Lanes b) {
    const Lanes sum = a + b;
    const Lanes carries = sum & LaneCarries;
    return (sum | (carries - (carries >> 8))) & LaneBytes;
}

// A source pixel in the destination's layout (unchanged when the layouts agree).
template <PixelLayout Src, PixelLayout Dst>
constexpr std::uint16_t Convert(std::uint16_t pixel) {
    if constexpr (Src == Dst) {
        return pixel;
    } else {
        return Pack<Dst>(Expand<Src>(pixel));
    }
}

// Up to eight pixels at once, one per 16-bit lane of a vector (idle lanes are ignored): the additive
// rules between equal layouts, channel by channel in the channel's own width,
// min(maximum, d + s) or min(maximum, d + (s * alpha) div 256). That gives the same result as the
// 8-bit arithmetic, since the low bits of an expanded channel are zero. Products and sums stay
// below 2^15, so a signed minimum saturates them. The compiler's vector extension keeps this
// portable; on x86-64 it is plain SSE2.
using PixelBlock = std::uint16_t __attribute__((vector_size(16)));
using SignedBlock = std::int16_t __attribute__((vector_size(16)));

template <int Shift, int Bits>
inline PixelBlock ChannelOf(PixelBlock pixels) {
    constexpr std::uint16_t Maximum = (1u << Bits) - 1u;
    if constexpr (Shift + Bits == 16) {
        return pixels >> Shift;  // nothing above it to mask off
    } else {
        return (pixels >> Shift) & Maximum;
    }
}

template <int Shift, int Bits, bool Scaled>
inline PixelBlock AddChannelBlock(PixelBlock source, PixelBlock dest, std::uint16_t alpha) {
    constexpr std::int16_t Maximum = (1 << Bits) - 1;
    PixelBlock added = ChannelOf<Shift, Bits>(source);
    if constexpr (Scaled) {
        added = (added * alpha) >> 8;
    }
    const SignedBlock sum = __builtin_convertvector(ChannelOf<Shift, Bits>(dest) + added, SignedBlock);
    return __builtin_convertvector(sum > Maximum ? Maximum : sum, PixelBlock) << Shift;
}

template <PixelLayout L, bool Scaled>
inline PixelBlock AddBlock(PixelBlock source, PixelBlock dest, std::uint16_t alpha) {
    using C = Channels<L>;
    return AddChannelBlock<C::RedShift, C::RedBits, Scaled>(source, dest, alpha) |
           AddChannelBlock<C::GreenShift, C::GreenBits, Scaled>(source, dest, alpha) |
           AddChannelBlock<C::BlueShift, C::BlueBits, Scaled>(source, dest, alpha);
}

// Combination rules: how a source pixel meets the destination pixel it lands on. A rule is made
// once per draw (with the draw's alpha). A Blocked rule combines blocks of pixels at once
// (PixelBlock, between equal layouts); the others go pixel by pixel.
template <PixelLayout Src, PixelLayout Dst>
struct CopyRule {
    static constexpr bool Blocked = false;
    explicit CopyRule(int) {}
    std::uint16_t operator()(std::uint16_t source, std::uint16_t) const { return Convert<Src, Dst>(source); }
};

// Additive at full intensity: min(255, s + d) per 8-bit channel.
template <PixelLayout Src, PixelLayout Dst>
struct AddRule {
    static constexpr bool Blocked = Src == Dst;
    explicit AddRule(int) {}
    PixelBlock operator()(PixelBlock source, PixelBlock dest) const { return AddBlock<Dst, false>(source, dest, 0); }
    std::uint16_t operator()(std::uint16_t source, std::uint16_t dest) const {
        return Pack<Dst>(AddSaturated(Expand<Dst>(dest), Expand<Src>(source)));
    }
};

// Additive with an intensity 0 < alpha < 255: min(255, d + (s * alpha) div 256) per channel.
// Pixel by pixel the three 8-bit lanes are scaled by one multiplication (the products stay
// below 2^16).
template <PixelLayout Src, PixelLayout Dst>
class AddAlphaRule {
public:
    static constexpr bool Blocked = Src == Dst;

    explicit AddAlphaRule(int alpha) : FAlpha(static_cast<std::uint16_t>(alpha)) {}

    PixelBlock operator()(PixelBlock source, PixelBlock dest) const { return AddBlock<Dst, true>(source, dest, FAlpha); }

    std::uint16_t operator()(std::uint16_t source, std::uint16_t dest) const {
        const Lanes scaled = ((Expand<Src>(source) * Lanes{FAlpha}) >> 8) & LaneBytes;
        return Pack<Dst>(AddSaturated(Expand<Dst>(dest), scaled));
    }

private:
    std::uint16_t FAlpha;
};

// The stored value for one source pixel: the key leaves the destination as it was.
template <bool Keyed, class Rule>
inline std::uint16_t Blend(const Rule& rule, std::uint16_t source, std::uint16_t dest, std::uint16_t key) {
    const std::uint16_t combined = rule(source, dest);
    if constexpr (Keyed) {
        return source != key ? combined : dest;
    } else {
        return combined;
    }
}

// One row of a 1:1 copy. Opaque copies of equal layouts are a plain memory move; other rows go
// in blocks of eight, loaded before anything is stored, which the compiler turns into vector
// compares and blends.
template <PixelLayout Src, PixelLayout Dst, bool Keyed>
void CopyRow(std::uint16_t* dest, const std::uint16_t* source, int count, std::uint16_t key) {
    if constexpr (Src == Dst && !Keyed) {
        std::memmove(dest, source, static_cast<std::size_t>(count) * sizeof(std::uint16_t));
    } else {
        const CopyRule<Src, Dst> rule(0);
        int i = 0;
        for (; i + 8 <= count; i += 8) {
            std::uint16_t block[8];
            std::uint16_t under[8];
            for (int j = 0; j < 8; ++j) {
                block[j] = source[i + j];
                under[j] = dest[i + j];
            }
            for (int j = 0; j < 8; ++j) {
                dest[i + j] = Blend<Keyed>(rule, block[j], under[j], key);
            }
        }
        for (; i < count; ++i) {
            dest[i] = Blend<Keyed>(rule, source[i], dest[i], key);
        }
    }
}

// One coordinate of the source position over a box of the destination, in 16.16 fixed point:
// at pixel i of line l it is Start + l * LineStep + i * Step. Lines are the box's rows, or its
// columns when a tall box is walked column by column.
struct Sweep {
    std::int64_t Start = 0;
    std::int64_t Step = 0;
    std::int64_t LineStep = 0;
};

// How a moving coordinate advances, followed negated when it shrinks so that it always grows:
// Step per pixel, and from one line to the next the move of a crossing (below), the same for
// every bound. Quotients are estimated in floating point and corrected exactly (cheaper than a
// 64-bit division, which would cost a torpedo's draw a noticeable share).
struct Pace {
    explicit Pace(const Sweep& sweep)
        : Sign(sweep.Step > 0 ? 1 : -1), Step(Sign * sweep.Step), Inverse(1.0 / static_cast<double>(Step)) {
        const std::int64_t lineStep = Sign * sweep.LineStep;
        // shift - 1 = floor(lineStep / step)
        std::int64_t shift = static_cast<std::int64_t>(static_cast<double>(lineStep) * Inverse);
        while (shift * Step > lineStep) {
            --shift;
        }
        while ((shift + 1) * Step <= lineStep) {
            ++shift;
        }
        ++shift;
        PixelDelta = -shift;
        ValueDelta = lineStep - shift * Step;
    }

    std::int64_t Sign, Step;
    double Inverse;
    std::int64_t PixelDelta, ValueDelta;
};

// Where, along each line, a moving coordinate has passed a bound for good: the first pixel at
// which it is at or above the bound when it grows, below it when it shrinks. From one line to the
// next that pixel moves by floor(-LineStep / Step) or one more, so one comparison per line keeps
// it exact. The pixel may lie outside the box. A shrinking coordinate is followed negated, so that
// "passed" always reads value >= bound.
class Crossing {
public:
    Crossing(const Sweep& sweep, const Pace& pace, std::int64_t bound)
        : FStep(pace.Step), FBound(pace.Sign > 0 ? bound : 1 - bound),  // -p >= 1 - bound  <=>  p < bound
          FPixelDelta(pace.PixelDelta), FValueDelta(pace.ValueDelta) {
        const std::int64_t start = pace.Sign * sweep.Start;
        FPixel = static_cast<std::int64_t>(static_cast<double>(FBound - start) * pace.Inverse);
        while (start + (FPixel - 1) * FStep >= FBound) {
            --FPixel;
        }
        while (start + FPixel * FStep < FBound) {
            ++FPixel;
        }
        FValue = start + FPixel * FStep;
    }

    std::int64_t Pixel() const { return FPixel; }

    void NextLine() {
        // The candidate one short of the shortest possible move; one step on when it is behind.
        FPixel += FPixelDelta;
        FValue += FValueDelta;
        const bool behind = FValue < FBound;
        FPixel += behind ? 1 : 0;
        FValue += behind ? FStep : 0;
    }

private:
    std::int64_t FStep, FBound;
    std::int64_t FPixel = 0, FValue = 0;  // the crossing pixel and the coordinate there
    std::int64_t FPixelDelta, FValueDelta;
};

// The pixels of each line at which one coordinate lies within [lo, hi): from where it enters to
// where it leaves. A coordinate that grows enters at lo and leaves at hi; one that shrinks
// enters below hi and leaves below lo; one that does not move along the line covers the whole
// line (from -Never to Never) or none of it.
class CoordinateRun {
public:
    static constexpr std::int64_t Never = INT64_MAX / 4;

    CoordinateRun(const Sweep& sweep, std::int64_t lo, std::int64_t hi)
        : CoordinateRun(sweep, Pace(sweep.Step != 0 ? sweep : Still), lo, hi) {}

    std::int64_t Enter() const {
        if (FSweep.Step == 0) {
            return FLo <= FSweep.Start && FSweep.Start < FHi ? -Never : Never;
        }
        return FEnter.Pixel();
    }
    std::int64_t Leave() const { return FSweep.Step == 0 ? Never : FLeave.Pixel(); }
    std::int64_t LineStart() const { return FSweep.Start; }

    void NextLine() {
        FSweep.Start += FSweep.LineStep;
        if (FSweep.Step != 0) {
            FEnter.NextLine();
            FLeave.NextLine();
        }
    }

private:
    CoordinateRun(const Sweep& sweep, const Pace& pace, std::int64_t lo, std::int64_t hi)
        : FSweep(sweep), FLo(lo), FHi(hi),
          FEnter(sweep.Step != 0 ? Crossing(sweep, pace, sweep.Step > 0 ? lo : hi) : Crossing(Still, pace, 0)),
          FLeave(sweep.Step != 0 ? Crossing(sweep, pace, sweep.Step > 0 ? hi : lo) : Crossing(Still, pace, 0)) {}

    static constexpr Sweep Still{0, 1, 0};  // stands in for the crossings of a coordinate that does not move

    Sweep FSweep;
    std::int64_t FLo, FHi;
    Crossing FEnter, FLeave;
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

// Floor and ceiling of a / b for b > 0.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a >= 0 ? a / b : -((b - 1 - a) / b); }
constexpr std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

// The part of each line inside the box. Rows and columns: pixels 0 .. Length - 1.
struct EdgeRun {
    std::int64_t Length;

    void Cut(std::int64_t& first, std::int64_t& last) const {
        first = std::max<std::int64_t>(first, 0);
        last = std::min(last, Length);
    }
    void NextLine() {}
};

// Slanted lines, cut by the box's own coordinates along them. The drawn area meets the box's
// edges only near its corners, so most spans lie wholly inside and are only checked at their
// two ends; the others are cut exactly.
class BoxRun {
public:
    explicit BoxRun(const SampledArea::Bounds& box) : FX(box.X), FY(box.Y), FWidth(box.Width), FHeight(box.Height) {}

    void Cut(std::int64_t& first, std::int64_t& last) const {
        constexpr std::int64_t Never = CoordinateRun::Never;
        if (first > -Never && last < Never && Inside(first) && Inside(last - 1)) {
            return;
        }
        CutTo(FX, FWidth, first, last);
        CutTo(FY, FHeight, first, last);
    }

    void NextLine() {
        FX.Start += FX.LineStep;
        FY.Start += FY.LineStep;
    }

private:
    bool Inside(std::int64_t t) const {
        const std::int64_t x = FX.Start + t * FX.Step;
        const std::int64_t y = FY.Start + t * FY.Step;
        return static_cast<std::uint64_t>(x) < static_cast<std::uint64_t>(FWidth) &&
               static_cast<std::uint64_t>(y) < static_cast<std::uint64_t>(FHeight);
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

    Sweep FX, FY;
    std::int64_t FWidth, FHeight;
};

// Up to eight pixels of a span combined at once: source and destination pixels gathered into
// vector lanes, combined as one vector, stored back lane by lane. Returns the destination past
// them and moves the source position on.
template <bool Keyed, class Rule>
inline std::uint16_t* CombineBlock(const Rule rule, std::uint16_t* dest, std::int64_t stride,
                                   const std::uint16_t* source, std::int64_t pitch, std::int64_t& u,
                                   std::int64_t& v, std::int64_t du, std::int64_t dv, std::uint16_t key, int count) {
    PixelBlock sourceBlock{};
    PixelBlock underBlock{};
#pragma GCC unroll 8
    for (int j = 0; j < count; ++j, u += du, v += dv) {
        sourceBlock[j] = source[(v >> 16) * pitch + (u >> 16)];
        underBlock[j] = dest[j * stride];
    }
    PixelBlock combined = rule(sourceBlock, underBlock);
    if constexpr (Keyed) {
        combined = sourceBlock == key ? underBlock : combined;
    }
    // Stored from two 64-bit words, four pixels each, shifted out one by one: fewer instructions
    // than extracting the lanes one at a time.
    std::uint64_t words[2];
    std::memcpy(words, &combined, sizeof words);
#pragma GCC unroll 8
    for (int j = 0; j < count; ++j, dest += stride) {
        *dest = static_cast<std::uint16_t>(words[j / 4] >> (16 * (j % 4)));
    }
    return dest;
}

// The count pixels of one span from dest on, the source position starting at (u, v). Rules are
// taken by value: a reference would have the alpha read again after every store through dest.
template <bool Keyed, class Rule>
inline void SampleSpan(const Rule rule, std::uint16_t* dest, std::int64_t stride, const std::uint16_t* source,
                       std::int64_t pitch, std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv,
                       std::uint16_t key, std::int64_t count) {
    if constexpr (Rule::Blocked) {
        for (; count >= 8; count -= 8) {
            dest = CombineBlock<Keyed>(rule, dest, stride, source, pitch, u, v, du, dv, key, 8);
        }
        if (count > 0) {
            CombineBlock<Keyed>(rule, dest, stride, source, pitch, u, v, du, dv, key, static_cast<int>(count));
        }
    } else if (dv == 0) {
        // One source row for the whole span (stretching, unrotated scaling).
        const std::uint16_t* sourceRow = source + (v >> 16) * pitch;
#pragma GCC unroll 4
        for (std::int64_t i = 0; i < count; ++i, u += du, dest += stride) {
            *dest = Blend<Keyed>(rule, sourceRow[u >> 16], *dest, key);
        }
    } else {
        // Counted, not compared against an end pointer: the trip count would need a division by
        // the stride.
#pragma GCC unroll 4
        for (std::int64_t i = 0; i < count; ++i, u += du, v += dv, dest += stride) {
            *dest = Blend<Keyed>(rule, source[(v >> 16) * pitch + (u >> 16)], *dest, key);
        }
    }
}

// Only the line set-up (the run of pixels inside the source) happens per line; the pixel loop
// below it is the specialised span. Everything the loops read is held in locals, so the line
// set-up does not go back to memory.
template <PixelLayout Src, PixelLayout Dst, template <PixelLayout, PixelLayout> class Rule, bool Keyed, class Run>
void SampleLines(const SampledArea& area, Run box) {
    const Rule<Src, Dst> rule(area.Alpha);
    const std::uint16_t key = area.Key;
    const std::int64_t du = area.U.Step;
    const std::int64_t dv = area.V.Step;
    const std::int64_t stride = area.PixelStride;
    const std::int64_t lineStride = area.LineStride;
    const std::uint16_t* const source = area.Source;
    const std::int64_t pitch = area.SourcePitch;
    CoordinateRun across(area.U, area.Left, area.Right);
    CoordinateRun down(area.V, area.Top, area.Bottom);
    std::int64_t line = area.FirstLine;
    for (int l = area.Lines; l > 0; --l, across.NextLine(), down.NextLine(), box.NextLine(), line += lineStride) {
        std::int64_t first = std::max(across.Enter(), down.Enter());
        std::int64_t last = std::min(across.Leave(), down.Leave());
        if (first >= last) {
            continue;
        }
        box.Cut(first, last);
        if (first >= last) {
            continue;
        }
        SampleSpan<Keyed>(rule, area.Dest + (line + first * stride), stride, source, pitch,
                          across.LineStart() + first * du, down.LineStart() + first * dv, du, dv, key, last - first);
    }
}

template <PixelLayout Src, PixelLayout Dst, template <PixelLayout, PixelLayout> class Rule, bool Keyed>
void SampleArea(const SampledArea& area) {
    if (area.Box.Active) {
        SampleLines<Src, Dst, Rule, Keyed>(area, BoxRun(area.Box));
    } else {
        SampleLines<Src, Dst, Rule, Keyed>(area, EdgeRun{area.Length});
    }
}

using CopyRowRoutine = void (*)(std::uint16_t*, const std::uint16_t*, int, std::uint16_t);
using SampleAreaRoutine = void (*)(const SampledArea&);

enum class Combination { Copy, Add, AddAlpha };

// Picks the routine for one draw.
CopyRowRoutine SelectCopyRow(PixelLayout source, PixelLayout dest, bool keyed);
SampleAreaRoutine SelectSampleArea(PixelLayout source, PixelLayout dest, Combination rule, bool keyed);

}  // namespace span
