// ScanLines: the choice of line family for a rotated draw.
#include "engine/drawing/ScanLines.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace span {

namespace {

// Slanted lines are only worth their set-up on a drawn area this long, and this many times
// longer than it is wide.
constexpr double MinimumLength = 32.0;
constexpr double MinimumElongation = 4.0;
// The largest step of a slanted line along either axis, and what one of its lines costs to set
// up against a row or column (it is also cut to the box).
constexpr int LargestStep = 8;
constexpr double SlantedLineCost = 1.5;

struct Point {
    double X, Y;
};

// Rounding and floor for values known to lie well inside the range of int64 (plain casts,
// cheaper than the library calls).
int Rounded(double value) { return value >= 0 ? static_cast<int>(value + 0.5) : -static_cast<int>(0.5 - value); }

std::int64_t Floor(double value) {
    const auto truncated = static_cast<std::int64_t>(value);
    return static_cast<double>(truncated) > value ? truncated - 1 : truncated;
}

// The second vector of a basis for each slanted direction (A, B) with |A| <= LargestStep and
// 0 < B <= LargestStep: P, Q with A Q - B P = 1, or none when A and B share a factor (the
// direction is then also a coarser one). Made once, at compile time.
struct Completion {
    bool Coprime = false;
    int P = 0, Q = 0;
};

constexpr int Magnitude(int value) { return value < 0 ? -value : value; }

constexpr auto Completions = [] {
    std::array<std::array<Completion, LargestStep + 1>, 2 * LargestStep + 1> table{};
    for (int a = -LargestStep; a <= LargestStep; ++a) {
        for (int b = 1; b <= LargestStep; ++b) {
            for (int p = -LargestStep; p <= LargestStep; ++p) {
                for (int q = -LargestStep; q <= LargestStep; ++q) {
                    Completion& entry = table[a + LargestStep][b];
                    const bool smaller = !entry.Coprime || Magnitude(p) + Magnitude(q) < Magnitude(entry.P) + Magnitude(entry.Q);
                    if (a != 0 && a * q - b * p == 1 && smaller) {
                        entry = Completion{true, p, q};
                    }
                }
            }
        }
    }
    return table;
}();

// The lines of a slanted family that meet both the box and the drawn area (the parallelogram
// with the given corners). Line k holds the pixels with A y - B x = k. Floating-point error in
// the corners is covered by a margin of whole lines: a line too many is only cut to nothing.
bool CoverLines(LineFamily& family, const BoxMapping& mapping, const std::array<Point, 4>& corners) {
    const auto lineOf = [&](Point p) { return family.A * p.Y - family.B * p.X; };
    double lowest = lineOf(corners[0]);
    double highest = lowest;
    for (const Point& corner : corners) {
        lowest = std::min(lowest, lineOf(corner));
        highest = std::max(highest, lineOf(corner));
    }
    const std::int64_t boxLowest = std::min<std::int64_t>(0, family.A * (mapping.Height - 1)) - family.B * (mapping.Width - 1);
    const std::int64_t boxHighest = std::max<std::int64_t>(0, family.A * (mapping.Height - 1));
    const double margin = 2.0 + 1e-9 * (std::fabs(lowest) + std::fabs(highest));
    // Clamped to the box's lines first, so that the conversions stay in range (NaN fails here).
    if (!(lowest - margin <= static_cast<double>(boxHighest) && highest + margin >= static_cast<double>(boxLowest))) {
        return false;
    }
    family.First = Floor(std::max(lowest - margin, static_cast<double>(boxLowest)));
    const std::int64_t last = std::min(Floor(std::min(highest + margin, static_cast<double>(boxHighest))) + 1, boxHighest);
    family.Count = last - family.First + 1;
    return true;
}

}  // namespace

LineFamily ChooseLines(const BoxMapping& m) {
    const LineFamily rows{1, 0, 0, 1, 0, m.Height};
    const LineFamily columns{0, 1, 1, 0, 0, m.Width};
    const LineFamily axis = m.Height > m.Width ? columns : rows;
    if (static_cast<double>(axis.Count) < MinimumLength) {
        return axis;  // few lines to set up anyway (torpedoes, small ships)
    }

    // The drawn area is the parallelogram the source rectangle maps back to; its corner at the
    // rectangle's top-left and its two edges, in box pixels.
    const double det = static_cast<double>(m.Du) * static_cast<double>(m.DvRow) -
                       static_cast<double>(m.DuRow) * static_cast<double>(m.Dv);
    if (!std::isfinite(det) || det == 0) {
        return axis;
    }
    const double inverse = 1.0 / det;
    const auto fromSource = [&](double u, double v) {
        return Point{(u * static_cast<double>(m.DvRow) - v * static_cast<double>(m.DuRow)) * inverse,
                     (v * static_cast<double>(m.Du) - u * static_cast<double>(m.Dv)) * inverse};
    };
    const Point corner = fromSource(static_cast<double>(m.Left - m.U0), static_cast<double>(m.Top - m.V0));
    const Point across = fromSource(static_cast<double>(m.Right - m.Left), 0);
    const Point along = fromSource(0, static_cast<double>(m.Bottom - m.Top));
    const std::array<Point, 4> corners{corner, Point{corner.X + across.X, corner.Y + across.Y},
                                       Point{corner.X + along.X, corner.Y + along.Y},
                                       Point{corner.X + across.X + along.X, corner.Y + across.Y + along.Y}};
    const auto squared = [](Point p) { return p.X * p.X + p.Y * p.Y; };
    Point longEdge = squared(across) > squared(along) ? across : along;
    const double longSquared = squared(longEdge);
    const double shortSquared = std::min(squared(across), squared(along));
    if (!(longSquared >= MinimumLength * MinimumLength &&
          longSquared >= MinimumElongation * MinimumElongation * shortSquared)) {
        return axis;
    }

    // Lattice directions close to the long edge, from the coarsest to the finest.
    if (longEdge.Y < 0) {
        longEdge = Point{-longEdge.X, -longEdge.Y};
    }
    LineFamily best = axis;
    double bestCost = static_cast<double>(axis.Count);
    const bool steep = longEdge.Y >= std::fabs(longEdge.X);
    const double slope = steep ? longEdge.X / longEdge.Y : longEdge.Y / std::fabs(longEdge.X);
    for (int n = 1; n <= LargestStep; ++n) {
        // The nearest whole step across for n steps along (ties either way serve as well).
        LineFamily family;
        if (steep) {
            family.B = n;
            family.A = Rounded(n * slope);
        } else {
            family.A = longEdge.X > 0 ? n : -n;
            family.B = Rounded(n * slope);
        }
        if (family.B == 0 || family.A == 0) {
            continue;
        }
        const Completion& completion = Completions[family.A + LargestStep][family.B];
        if (!completion.Coprime) {
            continue;
        }
        // The lines the drawn area spans, before the box cuts them.
        const auto spanned = [&](Point edge) { return std::fabs(family.A * edge.Y - family.B * edge.X); };
        if ((spanned(across) + spanned(along)) * SlantedLineCost >= bestCost) {
            continue;
        }
        family.P = completion.P;
        family.Q = completion.Q;
        if (CoverLines(family, m, corners) && static_cast<double>(family.Count) * SlantedLineCost < bestCost) {
            best = family;
            bestCost = static_cast<double>(family.Count) * SlantedLineCost;
        }
    }
    return best;
}

}  // namespace span
