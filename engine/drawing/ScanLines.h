// ScanLines: how a rotated draw's box is cut into the lines the span routines walk. Rows or
// columns serve most draws; a long thin draw at a slant (a phaser beam) is walked along lines
// of nearly its own slope instead, so that it is a few long lines rather than hundreds of
// short ones, each with its own set-up.
#pragma once

#include <cstdint>

namespace span {

// A family of parallel lines over a box: line k, for First <= k < First + Count, holds the
// box-relative pixels k (P, Q) + t (A, B) for every integer t. With A Q - B P = +-1 every pixel
// lies on exactly one line of the family. Rows and columns start at the box's edge (t = 0 is the
// first pixel inside it); slanted lines are cut to the box by the walker.
struct LineFamily {
    int A = 1, B = 0, P = 0, Q = 1;
    std::int64_t First = 0, Count = 0;

    bool Slanted() const { return A != 0 && B != 0; }
};

// The source position over a box of Width x Height pixels: at box pixel (x, y) it is
// (U0 + x Du + y DuRow, V0 + x Dv + y DvRow), in 16.16, and a pixel is drawn when that lies in
// [Left, Right) x [Top, Bottom).
struct BoxMapping {
    std::int64_t Width = 0, Height = 0;
    std::int64_t U0 = 0, V0 = 0, Du = 0, Dv = 0, DuRow = 0, DvRow = 0;
    std::int64_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The family with the fewest lines to set up: rows for a wide box, columns for a tall one, or
// slanted lines when the drawn area is long, thin and crosses many rows and columns. Slanted
// lines cover only the part of the box the drawn area can reach.
LineFamily ChooseLines(const BoxMapping& mapping);

}  // namespace span
