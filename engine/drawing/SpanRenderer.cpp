// SpanRenderer: the tables that pick one specialised row routine per draw.
#include "engine/drawing/SpanRenderer.h"

namespace span {

namespace {

constexpr int LayoutIndex(PixelLayout layout) { return layout == PixelLayout::RGB565 ? 0 : 1; }
constexpr PixelLayout LayoutAt(int index) { return index == 0 ? PixelLayout::RGB565 : PixelLayout::RGB555; }

template <int Src, int Dst, int Keyed>
constexpr CopyRowRoutine CopyAt() {
    return &CopyRow<LayoutAt(Src), LayoutAt(Dst), Keyed != 0>;
}

template <template <PixelLayout, PixelLayout> class Rule, int Src, int Dst, int Keyed>
constexpr SampleAreaRoutine SampleAt() {
    return &SampleArea<LayoutAt(Src), LayoutAt(Dst), Rule, Keyed != 0>;
}

// [source][destination][keyed]
constexpr CopyRowRoutine CopyRoutines[2][2][2] = {
    {{CopyAt<0, 0, 0>(), CopyAt<0, 0, 1>()}, {CopyAt<0, 1, 0>(), CopyAt<0, 1, 1>()}},
    {{CopyAt<1, 0, 0>(), CopyAt<1, 0, 1>()}, {CopyAt<1, 1, 0>(), CopyAt<1, 1, 1>()}},
};

template <template <PixelLayout, PixelLayout> class Rule>
constexpr SampleAreaRoutine SampleRoutines[2][2][2] = {
    {{SampleAt<Rule, 0, 0, 0>(), SampleAt<Rule, 0, 0, 1>()}, {SampleAt<Rule, 0, 1, 0>(), SampleAt<Rule, 0, 1, 1>()}},
    {{SampleAt<Rule, 1, 0, 0>(), SampleAt<Rule, 1, 0, 1>()}, {SampleAt<Rule, 1, 1, 0>(), SampleAt<Rule, 1, 1, 1>()}},
};

}  // namespace

InkRowRoutine SelectInkRow(PixelLayout dest) {
    return dest == PixelLayout::RGB565 ? &InkRow<PixelLayout::RGB565> : &InkRow<PixelLayout::RGB555>;
}

CopyRowRoutine SelectCopyRow(PixelLayout source, PixelLayout dest, bool keyed) {
    return CopyRoutines[LayoutIndex(source)][LayoutIndex(dest)][keyed ? 1 : 0];
}

SampleAreaRoutine SelectSampleArea(PixelLayout source, PixelLayout dest, Combination rule, bool keyed) {
    const int s = LayoutIndex(source);
    const int d = LayoutIndex(dest);
    const int k = keyed ? 1 : 0;
    switch (rule) {
        case Combination::Add:
            return SampleRoutines<AddRule>[s][d][k];
        case Combination::AddAlpha:
            return SampleRoutines<AddAlphaRule>[s][d][k];
        case Combination::Copy:
            break;
    }
    return SampleRoutines<CopyRule>[s][d][k];
}

}  // namespace span
