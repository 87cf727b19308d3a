// The choice of lines for a rotated draw: rows and columns for ordinary draws, slanted lines
// that cover every pixel once for long thin ones.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <set>
#include <utility>

#include "engine/drawing/ScanLines.h"

namespace {

constexpr std::int64_t One = 65536;

// The mapping of an unscaled width x length strip turned by angle (in 256ths of a turn) whose
// box is exactly its bounding box, as the renderer would set it up.
span::BoxMapping Strip(int width, int length, int angle) {
    const double a = angle * 2 * std::numbers::pi / 256;
    const double c = std::cos(a), s = std::sin(a);
    span::BoxMapping m;
    m.Width = static_cast<std::int64_t>(std::ceil(std::fabs(width * c) + std::fabs(length * s)));
    m.Height = static_cast<std::int64_t>(std::ceil(std::fabs(width * s) + std::fabs(length * c)));
    m.Du = static_cast<std::int64_t>(c * One);
    m.Dv = static_cast<std::int64_t>(-s * One);
    m.DuRow = static_cast<std::int64_t>(s * One);
    m.DvRow = static_cast<std::int64_t>(c * One);
    // The strip's centre at the box's centre.
    const double cx = static_cast<double>(m.Width) / 2, cy = static_cast<double>(m.Height) / 2;
    m.U0 = static_cast<std::int64_t>((width / 2.0 - cx * c - cy * s) * One);
    m.V0 = static_cast<std::int64_t>((length / 2.0 + cx * s - cy * c) * One);
    m.Right = width * One;
    m.Bottom = length * One;
    return m;
}

TEST(ScanLines, OrdinaryDrawsWalkRowsOrColumns) {
    const span::LineFamily square = span::ChooseLines(Strip(64, 64, 37));
    EXPECT_FALSE(square.Slanted());
    const span::LineFamily wide = span::ChooseLines(Strip(400, 4, 0));  // lying flat: rows
    EXPECT_EQ(wide.A, 1);
    EXPECT_EQ(wide.B, 0);
    EXPECT_EQ(wide.Count, 4);
    const span::LineFamily upright = span::ChooseLines(Strip(4, 400, 0));  // standing: columns
    EXPECT_EQ(upright.A, 0);
    EXPECT_EQ(upright.Count, 4);
    const span::LineFamily torpedo = span::ChooseLines(Strip(16, 16, 20));
    EXPECT_FALSE(torpedo.Slanted());

    span::BoxMapping degenerate = Strip(4, 400, 20);
    degenerate.Du = degenerate.Dv = 0;  // no way back from the box to the source
    EXPECT_FALSE(span::ChooseLines(degenerate).Slanted());
}

// Near an axis rows or columns stay cheaper; elsewhere the beam's few hundred rows or columns
// become under half as many slanted lines.
TEST(ScanLines, ASlantedBeamIsAFewLinesAlongIt) {
    for (const int angle : {10, 20, 45, 80, 100, 150, 200, 240}) {
        const span::BoxMapping beam = Strip(4, 400, angle);
        const span::LineFamily lines = span::ChooseLines(beam);
        SCOPED_TRACE(angle);
        ASSERT_TRUE(lines.Slanted());
        EXPECT_EQ(lines.A * lines.Q - lines.B * lines.P, 1);
        EXPECT_LT(lines.Count * 2, std::min(beam.Width, beam.Height));
    }
}

// Every pixel of the box lies on exactly one line of the family; lines outside First ..
// First + Count - 1 hold no pixel whose source position falls inside the rectangle.
TEST(ScanLines, SlantedLinesCoverEveryDrawnPixelOnce) {
    for (const int angle : {13, 20, 90, 171}) {
        const span::BoxMapping m = Strip(4, 300, angle);
        const span::LineFamily lines = span::ChooseLines(m);
        ASSERT_TRUE(lines.Slanted());
        std::set<std::pair<std::int64_t, std::int64_t>> seen;
        for (std::int64_t y = 0; y < m.Height; ++y) {
            for (std::int64_t x = 0; x < m.Width; ++x) {
                const std::int64_t u = m.U0 + x * m.Du + y * m.DuRow;
                const std::int64_t v = m.V0 + x * m.Dv + y * m.DvRow;
                if (u < m.Left || u >= m.Right || v < m.Top || v >= m.Bottom) {
                    continue;
                }
                // Line k and position t with (x, y) = k (P, Q) + t (A, B).
                const std::int64_t k = lines.A * y - lines.B * x;
                const std::int64_t t = lines.Q * x - lines.P * y;
                ASSERT_EQ(k * lines.P + t * lines.A, x);
                ASSERT_EQ(k * lines.Q + t * lines.B, y);
                ASSERT_GE(k, lines.First) << "angle " << angle;
                ASSERT_LT(k, lines.First + lines.Count) << "angle " << angle;
                EXPECT_TRUE(seen.insert({k, t}).second);
            }
        }
        EXPECT_GT(seen.size(), 1000u);
    }
}

}  // namespace
