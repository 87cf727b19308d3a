// SpanRenderer: the pixel loops behind every surface draw. Each routine is a template
// specialised to the source and destination pixel layouts, the combination rule and the use of
// the colour key, so a draw picks one routine up front and its line loops carry no decisions.
// Depends on SpanTrace (which pixels each line draws) and the platform's pixel layouts.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/drawing/SpanTrace.h"
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

// Four positions of a span at once, one per 32-bit lane. A draw whose source is under 32768
// pixels a side (every real picture; see SourceLanes::Usable) keeps every position inside its
// spans below 2^31, so the lanes hold them exactly, and the source indices
// (v >> 16) * pitch + (u >> 16) of all four are one multiply-add of 16-bit halves: fewer
// instructions than the same sums pixel by pixel.
using Quad = std::uint32_t __attribute__((vector_size(16)));

struct SourceLanes {
    bool Usable = false;
    Quad OffsetU{}, OffsetV{};  // lane j: j steps on
    std::uint32_t StepU = 0, StepV = 0;  // four steps on
    Quad PitchPairs{};  // 1 in the low half of every lane, the pitch in the high half

    explicit SourceLanes(const SampledArea& area) {
        constexpr std::int64_t Limit = 32767;
        if (area.SourcePitch > Limit || area.Right > (Limit << 16) || area.Bottom > (Limit << 16)) {
            return;
        }
        Usable = true;
        const auto du = static_cast<std::uint32_t>(area.U.Step), dv = static_cast<std::uint32_t>(area.V.Step);
        OffsetU = Quad{0, du, 2 * du, 3 * du};
        OffsetV = Quad{0, dv, 2 * dv, 3 * dv};
        StepU = 4 * du;
        StepV = 4 * dv;
        PitchPairs = Quad{} + static_cast<std::uint32_t>((area.SourcePitch << 16) | 1);
    }
};

// The source positions of four pixels and, from them, their source indices.
class QuadPositions {
public:
    QuadPositions(const SourceLanes& lanes, std::int64_t u, std::int64_t v)
        : FU(static_cast<std::uint32_t>(u) + lanes.OffsetU), FV(static_cast<std::uint32_t>(v) + lanes.OffsetV),
          FStepU(lanes.StepU), FStepV(lanes.StepV), FPitchPairs(lanes.PitchPairs) {}

    // Lanes 0 and 1 in the first word, 2 and 3 in the second.
    void Indices(std::uint64_t (&words)[2]) const {
        const Quad at = Multiplied((FU >> 16) | (FV & 0xFFFF0000u));
        std::memcpy(words, &at, sizeof words);
    }

    void Next() {
        FU += FStepU;
        FV += FStepV;
    }

private:
    // Per lane, low half times 1 plus high half times the pitch.
    Quad Multiplied(Quad pairs) const {
#if defined(__SSE2__)
        return reinterpret_cast<Quad>(
            _mm_madd_epi16(reinterpret_cast<__m128i>(pairs), reinterpret_cast<__m128i>(FPitchPairs)));
#else
        return (pairs & 0xFFFFu) + (pairs >> 16) * (FPitchPairs >> 16);
#endif
    }

    Quad FU, FV;
    std::uint32_t FStepU, FStepV;
    Quad FPitchPairs;
};

// Index j of the four that QuadPositions::Indices wrote.
inline std::uint32_t Lane(const std::uint64_t (&words)[2], int j) {
    return static_cast<std::uint32_t>(words[j / 2] >> (32 * (j % 2)));
}

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
// Blocked rules go eight pixels at a time, their source indices worked out pixel by pixel (the
// vector units are busy combining). The others go pixel by pixel, their source indices worked
// out four at a time where the lanes allow it.
template <bool Keyed, class Rule>
[[gnu::always_inline]] inline void SampleSpan(const Rule rule, const SourceLanes& lanes, std::uint16_t* dest,
                                              std::int64_t stride, const std::uint16_t* source, std::int64_t pitch,
                                              std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv,
                                              std::uint16_t key, std::int64_t count) {
    if constexpr (Rule::Blocked) {
        for (; count >= 8; count -= 8) {
            dest = CombineBlock<Keyed>(rule, dest, stride, source, pitch, u, v, du, dv, key, 8);
        }
        if (count > 0) {
            CombineBlock<Keyed>(rule, dest, stride, source, pitch, u, v, du, dv, key, static_cast<int>(count));
        }
        return;
    }
    std::int64_t done = 0;
    if (lanes.Usable) {
        QuadPositions positions(lanes, u, v);
        for (; done + 4 <= count; done += 4, dest += 4 * stride) {
            std::uint64_t words[2];
            positions.Indices(words);
            positions.Next();
#pragma GCC unroll 4
            for (int j = 0; j < 4; ++j) {
                dest[j * stride] = Blend<Keyed>(rule, source[Lane(words, j)], dest[j * stride], key);
            }
        }
        // The last pixels, fewer than four, without a branch on how many: lanes past the end
        // read the source's first pixel and write to a scratch pixel.
        const std::int64_t rest = count - done;
        std::uint64_t words[2];
        positions.Indices(words);
        std::uint16_t scratch[3] = {};
#pragma GCC unroll 3
        for (int j = 0; j < 3; ++j) {
            const bool inside = j < rest;
            std::uint16_t* const at = inside ? dest + j * stride : &scratch[j];
            *at = Blend<Keyed>(rule, source[inside ? Lane(words, j) : 0], *at, key);
        }
        return;
    }
    // Counted, not compared against an end pointer: the trip count would need a division by
    // the stride.
#pragma GCC unroll 4
    for (; done < count; ++done, u += du, v += dv, dest += stride) {
        *dest = Blend<Keyed>(rule, source[(v >> 16) * pitch + (u >> 16)], *dest, key);
    }
}

// Stretches, and draws turned by a multiple of a quarter turn whose lines run along the picture's
// rows: along a line only u moves, and from one line to the next only v, so every line samples
// the same source columns. Those are worked out once per draw, for lines up to this long, and
// each line only reads through them.
constexpr int RepeatedColumnsLimit = 1024;

inline bool ColumnsRepeat(const SampledArea& area) {
    return area.V.Step == 0 && area.U.LineStep == 0 && !area.Box.Active && area.Length <= RepeatedColumnsLimit;
}

// One line read through the columns. Lines are rows except in quarter-turned draws walked by
// columns, and a stride known to be 1 makes a tighter loop.
template <bool Keyed, bool Row, class Rule>
inline void ReadColumns(const Rule rule, std::uint16_t* dest, std::int64_t stride, const std::uint16_t* source,
                        const std::uint32_t* columns, std::int64_t width, std::uint16_t key) {
    const std::int64_t step = Row ? 1 : stride;
#pragma GCC unroll 4
    for (std::int64_t i = 0; i < width; ++i) {
        dest[i * step] = Blend<Keyed>(rule, source[columns[i]], dest[i * step], key);
    }
}

template <bool Keyed, class Rule>
void SampleRepeatedColumns(const Rule rule, const SampledArea& area, SpanTracer& tracer) {
    std::uint32_t columns[RepeatedColumnsLimit];
    std::int64_t width = 0;
    std::int64_t firstU = 0;
    const std::int64_t stride = area.PixelStride;
    SpanStart spans[SpanTracer::Batch];
    while (const int count = tracer.Next(spans)) {
        for (const SpanStart& span : std::span(spans, static_cast<std::size_t>(count))) {
            if (span.Count <= 0) {
                continue;
            }
            // Every line starts at the same pixel with the same u, as no crossing moves from line
            // to line; the check keeps the columns right should that ever change.
            if (span.Count != width || span.U != firstU) {
                width = span.Count;
                firstU = span.U;
                std::int64_t u = span.U;
                for (std::int64_t i = 0; i < width; ++i, u += area.U.Step) {
                    columns[i] = static_cast<std::uint32_t>(u >> 16);
                }
            }
            const std::uint16_t* const source = area.Source + (span.V >> 16) * area.SourcePitch;
            std::uint16_t* const dest = area.Dest + span.Offset;
            if (stride == 1) {
                ReadColumns<Keyed, true>(rule, dest, stride, source, columns, width, area.Key);
            } else {
                ReadColumns<Keyed, false>(rule, dest, stride, source, columns, width, area.Key);
            }
        }
    }
}

// The runs of the lines are traced a batch at a time; the pixel loop over each is the
// specialised span.
template <PixelLayout Src, PixelLayout Dst, template <PixelLayout, PixelLayout> class Rule, bool Keyed>
void SampleArea(const SampledArea& area) {
    const Rule<Src, Dst> rule(area.Alpha);
    SpanTracer tracer(area);
    if constexpr (!Rule<Src, Dst>::Blocked) {
        if (ColumnsRepeat(area)) {
            SampleRepeatedColumns<Keyed>(rule, area, tracer);
            return;
        }
    }
    const SourceLanes lanes(area);
    SpanStart spans[SpanTracer::Batch];
    while (const int count = tracer.Next(spans)) {
        for (const SpanStart& span : std::span(spans, static_cast<std::size_t>(count))) {
            SampleSpan<Keyed>(rule, lanes, area.Dest + span.Offset, area.PixelStride, area.Source, area.SourcePitch,
                              span.U, span.V, area.U.Step, area.V.Step, area.Key, span.Count);
        }
    }
}

// Coverage runs from 0 (the destination stays) to 1 << CoverageBits (the ink replaces it).
constexpr int CoverageBits = 5;
constexpr std::uint16_t FullCoverage = 1u << CoverageBits;

// Eight coverage values, one byte each.
using CoverageBlock = std::uint8_t __attribute__((vector_size(8)));

// Eight pixels moved towards the ink by their coverage, channel by channel:
// d + ((i - d) * a) >> CoverageBits, flooring, which leaves d at 0 and gives i at full coverage.
// The products stay within 2^12 in signed 16-bit lanes.
template <int Shift, int Bits>
inline PixelBlock InkChannelBlock(PixelBlock dest, std::uint16_t ink, SignedBlock alpha) {
    const auto under = reinterpret_cast<SignedBlock>(ChannelOf<Shift, Bits>(dest));
    const SignedBlock inked = SignedBlock{} + static_cast<std::int16_t>((ink >> Shift) & ((1u << Bits) - 1u));
    return reinterpret_cast<PixelBlock>(under + (((inked - under) * alpha) >> CoverageBits)) << Shift;
}

template <PixelLayout L>
inline PixelBlock InkBlock(PixelBlock dest, std::uint16_t ink, CoverageBlock coverage) {
    using C = Channels<L>;
    const SignedBlock alpha = __builtin_convertvector(coverage, SignedBlock);
    return InkChannelBlock<C::RedShift, C::RedBits>(dest, ink, alpha) |
           InkChannelBlock<C::GreenShift, C::GreenBits>(dest, ink, alpha) |
           InkChannelBlock<C::BlueShift, C::BlueBits>(dest, ink, alpha);
}

// One row of ink laid over the destination through its coverage, eight pixels at a time. Most
// of a line's box is bare background: blocks without coverage are passed over, and fully covered
// ones take the ink as it is. The last pixels, fewer than eight, go through a padded block.
template <PixelLayout L>
void InkRow(std::uint16_t* dest, const std::uint8_t* coverage, int count, std::uint16_t ink) {
    constexpr std::uint64_t Bare = 0;
    constexpr std::uint64_t Covered = 0x0101010101010101ull * FullCoverage;
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, coverage + i, sizeof bytes);
        if (bytes == Bare) {
            continue;
        }
        PixelBlock block;
        if (bytes == Covered) {
            block = PixelBlock{} + ink;
        } else {
            std::memcpy(&block, dest + i, sizeof block);
            block = InkBlock<L>(block, ink, std::bit_cast<CoverageBlock>(bytes));
        }
        std::memcpy(dest + i, &block, sizeof block);
    }
    if (const int rest = count - i; rest > 0) {
        PixelBlock block{};
        CoverageBlock alpha{};
        for (int j = 0; j < rest; ++j) {
            block[j] = dest[i + j];
            alpha[j] = coverage[i + j];
        }
        block = InkBlock<L>(block, ink, alpha);
        for (int j = 0; j < rest; ++j) {
            dest[i + j] = block[j];
        }
    }
}

using InkRowRoutine = void (*)(std::uint16_t*, const std::uint8_t*, int, std::uint16_t);
InkRowRoutine SelectInkRow(PixelLayout dest);

using CopyRowRoutine = void (*)(std::uint16_t*, const std::uint16_t*, int, std::uint16_t);
using SampleAreaRoutine = void (*)(const SampledArea&);

enum class Combination { Copy, Add, AddAlpha };

// Picks the routine for one draw.
CopyRowRoutine SelectCopyRow(PixelLayout source, PixelLayout dest, bool keyed);
SampleAreaRoutine SelectSampleArea(PixelLayout source, PixelLayout dest, Combination rule, bool keyed);

}  // namespace span
