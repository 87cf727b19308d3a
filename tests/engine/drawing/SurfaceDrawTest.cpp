// Plain and stretched copies between surfaces: the clipping order, the colour key, layout
// conversion, refusal on surfaces that cannot be locked, and the text canvas holding the surface;
// and ink laid through a coverage mask.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <tuple>
#include <vector>

#include "SurfaceFixtures.h"
#include "engine/display/DirectDrawSurface.h"
#include "engine/display/SurfaceCanvas.h"
#include "platform/Text.h"

using fixtures::Marker;
using platform::PixelLayout;

namespace {

constexpr std::uint16_t Background = 0x0841;

using PixelAt = std::tuple<int, int, std::uint16_t>;

const TRect Whole{0, 0, 32, 32};  // the whole pattern

// What a draw should leave: these pixels, and this many pixels off the background.
struct Drawn {
    std::vector<PixelAt> Pixels;
    int Covered = 0;
};

class PlainCopy : public ::testing::Test {
protected:
    PlainCopy() : pattern(32, 32, PixelLayout::RGB565), dest(100, 80, PixelLayout::RGB565) {
        fixtures::FillWithMarkers(pattern);
        dest.Fill(Background);
    }
    // How many destination pixels are not the background.
    int Covered() const {
        int covered = 0;
        for (int y = 0; y < dest.Height(); ++y) {
            for (int x = 0; x < dest.Width(); ++x) {
                covered += dest.Pixel(x, y) != Background ? 1 : 0;
            }
        }
        return covered;
    }
    // Draws on a fresh background, then checks the pixels given and how many were covered.
    void ExpectDrawn(const std::function<void()>& draw, const Drawn& expected) {
        dest.Fill(Background);
        draw();
        for (const auto& [x, y, pixel] : expected.Pixels) {
            EXPECT_EQ(dest.Pixel(x, y), pixel) << x << "," << y;
        }
        EXPECT_EQ(Covered(), expected.Covered);
    }
    TDirectDrawSurface pattern;
    TDirectDrawSurface dest;
};

// Clipping: a copy off any edge keeps its visible part, a source rectangle past its surface is
// cut to it (moving the destination with its left edge), and empty or absent sources draw
// nothing.
TEST_F(PlainCopy, KeepsTheVisiblePartAtThePosition) {
    const struct {
        TPoint At;
        TRect From;
        Drawn Then;
    } cases[] = {
        {{10, 20}, Whole, {{{10, 20, Marker(0, 0)}, {41, 51, Marker(31, 31)}, {42, 51, Background}}, 32 * 32}},
        // Source columns 10..31 and rows 5..31 land in the corner.
        {{-10, -5}, Whole, {{{0, 0, Marker(10, 5)}, {21, 26, Marker(31, 31)}, {22, 0, Background}, {0, 27, Background}},
                            22 * 27}},
        {{90, 70}, Whole, {{{99, 79, Marker(9, 9)}}, 10 * 10}},
        {{10, 10}, {-4, 0, 40, 2}, {{{13, 10, Background}, {14, 10, Marker(0, 0)}, {45, 11, Marker(31, 1)}}, 32 * 2}},
        {{100, 0}, Whole, {}}, {{101, 0}, Whole, {}}, {{0, 80}, Whole, {}}, {{-32, 0}, Whole, {}},
        {{INT32_MIN, INT32_MIN}, Whole, {}}, {{10, 10}, {32, 0, 40, 2}, {}}, {{10, 10}, {5, 5, 5, 9}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        ExpectDrawn([&] { dest.Draw(c.At.X, c.At.Y, c.From, &pattern, false); }, c.Then);
    }
    ExpectDrawn([&] { dest.Draw(10, 10, TRect{0, 0, 8, 8}, nullptr, false); }, {});
}

TEST_F(PlainCopy, KeyPixelsAreSkippedOnlyWhenTransparent) {
    pattern.SetColorKey(Marker(1, 0));
    dest.Draw(0, 0, TRect{0, 0, 32, 1}, &pattern, true);
    EXPECT_EQ(dest.Pixel(0, 0), Marker(0, 0));
    EXPECT_EQ(dest.Pixel(1, 0), Background);
    EXPECT_EQ(dest.Pixel(2, 0), Marker(2, 0));
    EXPECT_EQ(dest.Pixel(31, 0), Marker(31, 0));  // past the blocks of eight
    dest.Draw(0, 0, TRect{0, 0, 32, 1}, &pattern, false);
    EXPECT_EQ(dest.Pixel(1, 0), Marker(1, 0));
}

TEST_F(PlainCopy, ConvertsBetweenLayouts) {
    TDirectDrawSurface source555(2, 1, PixelLayout::RGB555);
    source555.SetPixel(0, 0, source555.ColorToPixel(RGB(248, 120, 16)));
    source555.SetPixel(1, 0, source555.ColorToPixel(RGB(255, 255, 255)));
    dest.Draw(0, 0, TRect{0, 0, 2, 1}, &source555, false);
    EXPECT_EQ(dest.Pixel(0, 0), dest.ColorToPixel(RGB(248, 120, 16)));
    EXPECT_EQ(dest.Pixel(1, 0), dest.ColorToPixel(RGB(248, 248, 248)));  // 5 bits of green widen to 248
}

TEST_F(PlainCopy, RefusedOnLostSurfaces) {
    auto tracker = std::make_shared<TSurfaceLossTracker>();
    TDirectDrawSurface lostSource(32, 32, PixelLayout::RGB565, tracker);
    lostSource.Fill(0xFFFF);
    tracker->Generation++;
    dest.Draw(0, 0, TRect{0, 0, 32, 32}, &lostSource, false);
    dest.StretchDraw(TRect{0, 0, 64, 64}, TRect{0, 0, 32, 32}, &lostSource, false);
    EXPECT_EQ(Covered(), 0);
    EXPECT_EQ(dest.LockCount(), 0);
    lostSource.Restore();
    dest.Draw(0, 0, TRect{0, 0, 32, 32}, &lostSource, false);
    EXPECT_EQ(Covered(), 32 * 32);
}

TEST_F(PlainCopy, TextCanvasHoldsTheSurfaceUntilReleased) {
    if (platform::ResolveFontFile("DejaVu Sans", false).empty()) {
        GTEST_SKIP() << "no font installed";
    }
    TDirectDrawSurfaceCanvas& canvas = dest.Canvas();
    canvas.Font.Name = "DejaVu Sans";
    canvas.Font.Size = 12;
    canvas.Font.Color = RGB(255, 255, 255);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextOut(2, 2, "Zarvoth");
    const int textPixels = Covered();
    EXPECT_GT(textPixels, 20);  // the text went onto this surface's pixels

    // While held, nothing else may draw on or fill the surface.
    dest.Draw(50, 40, TRect{0, 0, 32, 32}, &pattern, false);
    dest.StretchDraw(TRect{50, 40, 60, 50}, TRect{0, 0, 32, 32}, &pattern, false);
    dest.DrawRotate(60, 60, 32, 32, TRect{0, 0, 32, 32}, &pattern, 0.5, 0.5, false, 10);
    dest.DrawRotateAdd(60, 60, 32, 32, TRect{0, 0, 32, 32}, &pattern, 0.5, 0.5, false, 10, 255);
    EXPECT_FALSE(dest.Fill(Background));
    EXPECT_EQ(Covered(), textPixels);
    // Nor can it be the source of a draw.
    TDirectDrawSurface other(40, 40, PixelLayout::RGB565);
    other.Draw(0, 0, TRect{0, 0, 40, 40}, &dest, false);
    EXPECT_EQ(other.Pixel(20, 20), 0);

    canvas.Release();
    dest.Draw(50, 40, TRect{0, 0, 32, 32}, &pattern, false);
    EXPECT_EQ(Covered(), textPixels + 32 * 32);
    EXPECT_TRUE(dest.Fill(Background));
}

TEST(Fill, WritesTheRawValueEverywhere) {
    TDirectDrawSurface surface(13, 7, PixelLayout::RGB565);
    for (const std::uint16_t value : {std::uint16_t{0}, std::uint16_t{0x1234}, std::uint16_t{0xFFFF}}) {
        ASSERT_TRUE(surface.Fill(value));
        for (const std::uint16_t pixel : fixtures::Pixels(surface)) {
            ASSERT_EQ(pixel, value);
        }
    }
}

class StretchedCopy : public PlainCopy {};

TEST_F(StretchedCopy, SameSizeEqualsThePlainCopy) {
    TDirectDrawSurface plain(100, 80, PixelLayout::RGB565);
    plain.Fill(Background);
    pattern.SetColorKey(Marker(5, 5));
    plain.Draw(-3, 60, TRect{2, 1, 30, 31}, &pattern, true);
    dest.StretchDraw(Bounds(-3, 60, 28, 30), TRect{2, 1, 30, 31}, &pattern, true);
    EXPECT_EQ(fixtures::Pixels(dest), fixtures::Pixels(plain));
}

// Nearest neighbour in both directions, clipped to the destination; empty or invalid rectangles
// draw nothing, and a rectangle far beyond every edge covers everything.
TEST_F(StretchedCopy, ScalesTheVisiblePart) {
    const struct {
        TRect To, From;
        bool Transparent;
        Drawn Then;
    } cases[] = {
        {{0, 0, 64, 16}, Whole, false,
         {{{0, 0, Marker(0, 1)}, {1, 0, Marker(0, 1)}, {2, 0, Marker(1, 1)}, {63, 15, Marker(31, 31)}}, 64 * 16}},
        {{-32, -32, 32, 32}, Whole, false, {{{0, 0, Marker(16, 16)}, {31, 31, Marker(31, 31)}}, 32 * 32}},
        {{90, 70, 190, 170}, Whole, false, {{}, 10 * 10}},
        {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, Whole, true, {{}, 100 * 80}},
        {{10, 10, 10, 20}, Whole, false, {}},          {{10, 20, 30, 10}, Whole, false, {}},
        {{10, 10, 20, 20}, {5, 0, 5, 32}, false, {}},  {{10, 10, 20, 20}, {0, 0, 33, 32}, false, {}},
        {{10, 10, 20, 20}, {-1, 0, 32, 32}, false, {}}, {{200, 10, 220, 20}, Whole, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        ExpectDrawn([&] { dest.StretchDraw(c.To, c.From, &pattern, c.Transparent); }, c.Then);
    }
    ExpectDrawn([&] { dest.StretchDraw(TRect{10, 10, 20, 20}, Whole, nullptr, false); }, {});
}

TEST_F(StretchedCopy, ABarShrinksToItsValue) {
    TDirectDrawSurface bar(100, 4, PixelLayout::RGB565);
    fixtures::FillWithMarkers(bar);
    ExpectDrawn([&] { dest.StretchDraw(TRect{10, 10, 47, 14}, TRect{0, 0, 100, 4}, &bar, false); },
                {{{10, 10, Marker(1, 0)}, {46, 13, Marker(98, 3)}}, 37 * 4});
}

// Every row of a stretch samples the same source columns: they are worked out once per draw for
// rows up to 1024 pixels and position by position beyond. Rows on both sides of that, clipped on
// the left, keyed and not, against the nearest-neighbour rule: pixel i samples the source at
// (i + 1/2) x source / destination, in 16.16 with the step truncated.
TEST_F(StretchedCopy, RowsOfEveryLengthSampleTheSameColumns) {
    const std::uint16_t key = Marker(7, 1);
    pattern.SetColorKey(key);
    const TRect from{3, 1, 29, 4};
    for (const int width : {1000, 1064, 1065, 1500}) {  // rows of 960, 1024, 1025 and 1100 pixels
        for (const bool keyed : {false, true}) {
            TDirectDrawSurface wide(1100, 3, PixelLayout::RGB565);
            wide.Fill(Background);
            const TRect to{-40, 0, width - 40, 3};
            wide.StretchDraw(to, from, &pattern, keyed);
            const std::int64_t du = (std::int64_t{from.Width()} << 16) / to.Width();
            const std::int64_t dv = (std::int64_t{from.Height()} << 16) / to.Height();
            for (int y = 0; y < wide.Height(); ++y) {
                for (int x = 0; x < wide.Width(); ++x) {
                    const std::int64_t i = x - to.Left;
                    std::uint16_t expected = Background;
                    if (i < to.Width()) {
                        const auto sx = static_cast<int>(from.Left + ((du / 2 + i * du) >> 16));
                        const auto sy = static_cast<int>(from.Top + ((dv / 2 + y * dv) >> 16));
                        const std::uint16_t sample = pattern.Pixel(sx, sy);
                        expected = keyed && sample == key ? Background : sample;
                    }
                    ASSERT_EQ(wide.Pixel(x, y), expected) << "width " << width << " keyed " << keyed << " at " << x
                                                          << "," << y;
                }
            }
        }
    }
}

// Ink through coverage: every channel moves from the pixel under it towards the ink by the
// coverage in 32nds, within one step of the exact quotient, exactly the pixel at 0 and the ink
// at full coverage; all values of one channel against all of it, the others fixed.
TEST(CoverageDraw, MovesEachChannelTowardsTheInkInBothLayouts) {
    std::vector<std::uint8_t> coverage(TDirectDrawSurface::FullCoverage + 1);
    for (std::size_t a = 0; a < coverage.size(); ++a) coverage[a] = static_cast<std::uint8_t>(a);
    for (const PixelLayout layout : {PixelLayout::RGB565, PixelLayout::RGB555}) {
        const int greenBits = layout == PixelLayout::RGB565 ? 6 : 5;
        const struct {
            int Shift, Bits;
        } channels[] = {{greenBits + 5, 5}, {5, greenBits}, {0, 5}};
        const auto value = [](std::uint16_t pixel, int shift, int bits) { return (pixel >> shift) & ((1 << bits) - 1); };
        for (const auto& moved : channels) {
            SCOPED_TRACE(testing::Message() << "layout " << static_cast<int>(layout) << " shift " << moved.Shift);
            const auto withChannel = [&](int v) {
                std::uint16_t pixel = 0;
                for (const auto& c : channels) pixel |= static_cast<std::uint16_t>(((&c == &moved) ? v : 11) << c.Shift);
                return pixel;
            };
            TDirectDrawSurface row(static_cast<int>(coverage.size()), 1, layout);
            for (int ink = 0; ink < 1 << moved.Bits; ++ink) {
                for (int under = 0; under < 1 << moved.Bits; ++under) {
                    row.Fill(withChannel(under));
                    row.DrawCoverage(0, 0, row.Width(), coverage, withChannel(ink));
                    for (int a = 0; a < row.Width(); ++a) {
                        for (const auto& c : channels) {
                            const int from = value(withChannel(under), c.Shift, c.Bits);
                            const int to = value(withChannel(ink), c.Shift, c.Bits);
                            const int got = value(row.Pixel(a, 0), c.Shift, c.Bits);
                            const int exact = from + (to - from) * a / TDirectDrawSurface::FullCoverage;
                            ASSERT_LE(std::abs(got - exact), a == 0 || a == row.Width() - 1 ? 0 : 1)
                                << "ink " << ink << " under " << under << " coverage " << a;
                        }
                    }
                }
            }
        }
    }
}

TEST(CoverageDraw, KeepsTheVisiblePartAndIsRefusedWhileTheSurfaceCannotBeLocked) {
    const std::vector<std::uint8_t> mask(4 * 3, TDirectDrawSurface::FullCoverage);  // 4 x 3, all ink
    constexpr std::uint16_t Ink = 0xFFFF;
    auto tracker = std::make_shared<TSurfaceLossTracker>();
    TDirectDrawSurface dest(100, 80, PixelLayout::RGB565, tracker);
    const auto covered = [&] {
        const std::vector<std::uint16_t> pixels = fixtures::Pixels(dest);
        return std::count(pixels.begin(), pixels.end(), Ink);
    };
    const struct {
        TPoint At;
        int Width;
        long Covered;
        TPoint Inked;  // one pixel the ink reaches, when any
    } cases[] = {{{2, 2}, 4, 12, {5, 4}},         {{-2, -1}, 4, 4, {0, 0}},    {{98, 78}, 4, 4, {99, 79}},
                 {{0, 0}, 6, 12, {5, 1}},         {{100, 0}, 4, 0, {}},        {{-4, 0}, 4, 0, {}},
                 {{INT32_MIN, INT32_MIN}, 4, 0, {}}, {{INT32_MAX, INT32_MAX}, 4, 0, {}}, {{2, 2}, 0, 0, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        dest.Fill(Background);
        dest.DrawCoverage(c.At.X, c.At.Y, c.Width, mask, Ink);  // 6 wide: two rows of 6 from 12 values
        EXPECT_EQ(covered(), c.Covered);
        if (c.Covered > 0) {
            EXPECT_EQ(dest.Pixel(c.Inked.X, c.Inked.Y), Ink);
        }
    }

    dest.Fill(Background);
    TDirectDrawSurfaceCanvas& canvas = dest.Canvas();
    canvas.TextOut(0, 0, "");  // the canvas holds the surface
    dest.DrawCoverage(2, 2, 4, mask, Ink);
    canvas.Release();
    tracker->Generation++;
    dest.DrawCoverage(2, 2, 4, mask, Ink);
    EXPECT_EQ(covered(), 0);
    EXPECT_EQ(dest.LockCount(), 0);
}

}  // namespace
