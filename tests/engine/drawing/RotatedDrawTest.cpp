// Rotated and additive drawing: a slow reference model of the rotation arithmetic, one pixel at a
// time, compared with the span renderer over many random draws, plus the fixed cases of the
// angle table, the pivot and the additive combination.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "SurfaceFixtures.h"
#include "engine/display/DirectDrawSurface.h"
#include "platform/PixelBuffer.h"

using platform::PixelLayout;

namespace {

struct Rotation {
    int X = 0, Y = 0, Width = 0, Height = 0;
    TRect SrcRect;
    double CenterX = 0, CenterY = 0;
    bool Transparent = false;
    int Angle = 0;
    int Alpha = 0;  // additive draws only
};

struct Channels8 {
    int Red, Green, Blue;
};

Channels8 Expand(std::uint16_t p, PixelLayout layout) {
    if (layout == PixelLayout::RGB565) {
        return {(p >> 11) * 8, ((p >> 5) & 63) * 4, (p & 31) * 8};
    }
    return {((p >> 10) & 31) * 8, ((p >> 5) & 31) * 8, (p & 31) * 8};
}

// The reference: every step written out directly, one destination pixel at a time.
class RotationModel {
public:
    RotationModel() {
        for (int i = 0; i < 256; ++i) {
            cosTable[i] = std::cos(i * 2 * std::numbers::pi / 256);
        }
    }

    void Draw(TDirectDrawSurface& dest, const TDirectDrawSurface& source, const Rotation& r, bool additive) const {
        if (dest.Width() == 0 || dest.Height() == 0 || source.Width() == 0 || source.Height() == 0 || r.Width == 0 ||
            r.Height == 0 || (additive && r.Alpha <= 0)) {
            return;
        }
        const TRect& s = r.SrcRect;
        if (s.Left < 0 || s.Top < 0 || s.Right > source.Width() || s.Bottom > source.Height() || s.Right <= s.Left ||
            s.Bottom <= s.Top) {
            return;
        }
        const double cosA = cosTable[r.Angle & 255];
        const double sinA = cosTable[(r.Angle + 192) & 255];

        long long minX = LLONG_MAX, minY = LLONG_MAX, maxX = LLONG_MIN, maxY = LLONG_MIN;
        const int cornersX[4] = {0, r.Width, 0, r.Width};
        const int cornersY[4] = {0, 0, r.Height, r.Height};
        for (int i = 0; i < 4; ++i) {
            const double xp = std::trunc(cornersX[i] - r.Width * r.CenterX);
            const double yp = std::trunc(cornersY[i] - r.Height * r.CenterY);
            const long long x = r.X + static_cast<long long>(std::trunc(xp * cosA - yp * sinA));
            const long long y = r.Y + static_cast<long long>(std::trunc(xp * sinA + yp * cosA));
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
        minX = std::max(minX, 0LL);
        minY = std::max(minY, 0LL);
        maxX = std::min<long long>(maxX, dest.Width());
        maxY = std::min<long long>(maxY, dest.Height());
        if (minX >= maxX || minY >= maxY) {
            return;
        }

        const double sw = s.Right - s.Left;
        const double sh = s.Bottom - s.Top;
        const double x0 = static_cast<double>(minX - r.X);
        const double y0 = static_cast<double>(minY - r.Y);
        const auto fixed = [](double value) { return static_cast<long long>(std::trunc(value * 65536)); };
        const long long u0 = fixed(s.Left + r.CenterX * sw + (x0 * cosA + y0 * sinA) * sw / r.Width);
        const long long v0 = fixed(s.Top + r.CenterY * sh + (-x0 * sinA + y0 * cosA) * sh / r.Height);
        const long long du = fixed(cosA * sw / r.Width);
        const long long dv = fixed(-sinA * sh / r.Height);
        const long long duRow = fixed(sinA * sw / r.Width);
        const long long dvRow = fixed(cosA * sh / r.Height);
        const long long left = s.Left * 65536LL, right = s.Right * 65536LL;
        const long long top = s.Top * 65536LL, bottom = s.Bottom * 65536LL;

        for (long long y = minY; y < maxY; ++y) {
            long long u = u0 + (y - minY) * duRow;
            long long v = v0 + (y - minY) * dvRow;
            // A coordinate that does not move along the row must lie inside for the row to count.
            if ((du == 0 && !(left <= u && u < right)) || (dv == 0 && !(top <= v && v < bottom))) {
                continue;
            }
            // Start: growing coordinates have reached their near edge, shrinking ones are below
            // their far edge (and, so that nothing outside the rectangle is read, the start pixel
            // lies inside on the other side as well).
            long long x = minX;
            const auto started = [&] {
                return (du > 0 ? u >= left : u < right) && (dv > 0 ? v >= top : v < bottom);
            };
            while (x < maxX && !started()) {
                ++x;
                u += du;
                v += dv;
            }
            const auto inside = [&] { return left <= u && u < right && top <= v && v < bottom; };
            // Continue while the next step keeps growing coordinates below their far edge and
            // shrinking ones at or above their near edge.
            while (x < maxX && inside()) {
                Plot(dest, source, static_cast<int>(x), static_cast<int>(y), static_cast<int>(u >> 16),
                     static_cast<int>(v >> 16), r, additive);
                ++x;
                u += du;
                v += dv;
            }
        }
    }

private:
    static void Plot(TDirectDrawSurface& dest, const TDirectDrawSurface& source, int x, int y, int sx, int sy,
                     const Rotation& r, bool additive) {
        const std::uint16_t p = source.Pixel(sx, sy);
        if (r.Transparent && p == source.ColorKey()) {
            return;
        }
        const Channels8 s = Expand(p, source.Layout());
        Channels8 out = s;
        if (additive) {
            const Channels8 d = Expand(dest.Pixel(x, y), dest.Layout());
            const auto add = [&](int sc, int dc) {
                return r.Alpha >= 255 ? std::min(255, sc + dc) : std::min(255, dc + sc * r.Alpha / 256);
            };
            out = {add(s.Red, d.Red), add(s.Green, d.Green), add(s.Blue, d.Blue)};
        }
        dest.SetPixel(x, y, platform::PackRGB(dest.Layout(), out.Red, out.Green, out.Blue));
    }

    std::array<double, 256> cosTable{};
};

void Render(TDirectDrawSurface& dest, TDirectDrawSurface& source, const Rotation& r, bool additive) {
    if (additive) {
        dest.DrawRotateAdd(r.X, r.Y, r.Width, r.Height, r.SrcRect, &source, r.CenterX, r.CenterY, r.Transparent,
                           r.Angle, r.Alpha);
    } else {
        dest.DrawRotate(r.X, r.Y, r.Width, r.Height, r.SrcRect, &source, r.CenterX, r.CenterY, r.Transparent, r.Angle);
    }
}

// One draw made by the model and by the renderer, each over its own copy of dest: the pixels
// before, the model's and the renderer's.
struct Pictures {
    std::vector<std::uint16_t> Before, Expected, Actual;
};

Pictures DrawBoth(const RotationModel& model, const TDirectDrawSurface& dest, TDirectDrawSurface& source,
                  const Rotation& r, bool additive) {
    TDirectDrawSurface expected(dest.Width(), dest.Height(), dest.Layout());
    TDirectDrawSurface actual(dest.Width(), dest.Height(), dest.Layout());
    for (int y = 0; y < dest.Height(); ++y) {
        std::copy_n(dest.Row(y), dest.Width(), expected.Row(y));
        std::copy_n(dest.Row(y), dest.Width(), actual.Row(y));
    }
    model.Draw(expected, source, r, additive);
    Render(actual, source, r, additive);
    return {fixtures::Pixels(dest), fixtures::Pixels(expected), fixtures::Pixels(actual)};
}

std::string Describe(const Rotation& r, bool additive, PixelLayout s, PixelLayout d) {
    return Format("X=%d Y=%d W=%d H=%d src=(%d,%d,%d,%d) centre=(%.17g,%.17g) angle=%d alpha=%d key=%d add=%d "
                  "layouts=%d/%d",
                  r.X, r.Y, r.Width, r.Height, r.SrcRect.Left, r.SrcRect.Top, r.SrcRect.Right, r.SrcRect.Bottom,
                  r.CenterX, r.CenterY, r.Angle, r.Alpha, r.Transparent, additive, static_cast<int>(s),
                  static_cast<int>(d));
}

TEST(RotatedDraw, MatchesThePixelByPixelModelOverRandomDraws) {
    std::mt19937 random(20261207);
    const RotationModel model;
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    const PixelLayout layouts[2] = {PixelLayout::RGB565, PixelLayout::RGB555};
    int drawsThatChangedPixels = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        const PixelLayout sourceLayout = layouts[pick(0, 1)];
        const PixelLayout destLayout = pick(0, 3) == 0 ? layouts[pick(0, 1)] : sourceLayout;
        TDirectDrawSurface source(pick(1, 48), pick(1, 48), sourceLayout);
        fixtures::FillRandom(source, random);
        // A few key pixels so the key is exercised.
        source.SetColorKey(source.Pixel(pick(0, source.Width() - 1), pick(0, source.Height() - 1)));
        TDirectDrawSurface dest(pick(1, 9) == 1 ? pick(1, 3) : pick(8, 70), pick(8, 70), destLayout);
        fixtures::FillRandom(dest, random);

        Rotation r;
        const int left = pick(0, source.Width() - 1);
        const int top = pick(0, source.Height() - 1);
        r.SrcRect = TRect{left, top, pick(left + 1, source.Width()), pick(top + 1, source.Height())};
        r.Width = pick(0, 9) == 0 ? -pick(1, 60) : pick(1, 90);
        r.Height = pick(0, 9) == 0 ? -pick(1, 60) : pick(1, 90);
        r.X = pick(-30, dest.Width() + 30);
        r.Y = pick(-30, dest.Height() + 30);
        const double centres[] = {0.0, 0.5, 1.0, real(-1.5, 2.5)};
        r.CenterX = centres[pick(0, 3)];
        r.CenterY = centres[pick(0, 3)];
        r.Angle = pick(0, 4) == 0 ? 64 * pick(-4, 4) : pick(-1000, 1000);
        r.Transparent = pick(0, 1) == 1;
        const bool additive = pick(0, 1) == 1;
        const int alphas[] = {0, 1, 128, 254, 255, 300, pick(-5, 260)};
        r.Alpha = alphas[pick(0, 6)];

        const Pictures pictures = DrawBoth(model, dest, source, r, additive);
        ASSERT_EQ(pictures.Actual, pictures.Expected) << Describe(r, additive, sourceLayout, destLayout);
        drawsThatChangedPixels += pictures.Expected != pictures.Before ? 1 : 0;
    }
    EXPECT_GT(drawsThatChangedPixels, 900);  // many random draws land off the surface or add nothing
}

// A pattern sitting at the right and bottom edge of its sheet must never pull in pixels of the
// column or row beyond its rectangle (the neighbouring pattern, or memory past the sheet).
TEST(RotatedDraw, NeverSamplesOutsideTheSourceRectangle) {
    std::mt19937 random(7);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    constexpr std::uint16_t Outside = 0xF800;
    constexpr std::uint16_t Inside = 0x001F;
    TDirectDrawSurface sheet(24, 24, PixelLayout::RGB565);
    sheet.Fill(Outside);
    const TRect pattern{8, 8, 16, 16};
    for (int y = pattern.Top; y < pattern.Bottom; ++y) {
        for (int x = pattern.Left; x < pattern.Right; ++x) {
            sheet.SetPixel(x, y, Inside);
        }
    }
    TDirectDrawSurface dest(64, 64, PixelLayout::RGB565);
    for (int trial = 0; trial < 4000; ++trial) {
        dest.Fill(0);
        const int size = pick(1, 40);
        dest.DrawRotate(32, 32, size, pick(0, 1) ? size : pick(1, 40), pattern, &sheet, 0.5 * pick(-2, 4),
                        0.5 * pick(-2, 4), false, pick(0, 3) ? pick(-64, 64) : 0);
        for (int y = 0; y < dest.Height(); ++y) {
            for (int x = 0; x < dest.Width(); ++x) {
                ASSERT_NE(dest.Pixel(x, y), Outside) << "trial " << trial;
            }
        }
    }
}

class RotatedCases : public ::testing::Test {
protected:
    RotatedCases() : source(16, 16, PixelLayout::RGB565), dest(40, 40, PixelLayout::RGB565) {
        fixtures::FillWithMarkers(source);
        source.SetColorKey(fixtures::Marker(3, 3));
        dest.Fill(0x1234);
    }
    std::vector<std::uint16_t> Rotated(int angle, double centreX = 0.5, double centreY = 0.5) {
        TDirectDrawSurface out(40, 40, PixelLayout::RGB565);
        out.Fill(0x1234);
        out.DrawRotate(20, 20, 16, 16, TRect{0, 0, 16, 16}, &source, centreX, centreY, true, angle);
        return fixtures::Pixels(out);
    }
    TDirectDrawSurface source;
    TDirectDrawSurface dest;
};

TEST_F(RotatedCases, AngleZeroAtOriginIsAPlainKeyedCopy) {
    TDirectDrawSurface plain(40, 40, PixelLayout::RGB565);
    plain.Fill(0x1234);
    plain.Draw(5, 7, TRect{0, 0, 16, 16}, &source, true);
    dest.DrawRotate(5, 7, 16, 16, TRect{0, 0, 16, 16}, &source, 0, 0, true, 0);
    EXPECT_EQ(fixtures::Pixels(dest), fixtures::Pixels(plain));
    EXPECT_EQ(dest.Pixel(5 + 3, 7 + 3), 0x1234);  // key pixel skipped
    EXPECT_EQ(dest.Pixel(5 + 15, 7 + 15), fixtures::Marker(15, 15));
}

TEST_F(RotatedCases, AnglesWrapEveryFullTurn) {
    EXPECT_EQ(Rotated(256), Rotated(0));
    EXPECT_EQ(Rotated(-64), Rotated(192));
    EXPECT_EQ(Rotated(64 + 3 * 256), Rotated(64));
    EXPECT_NE(Rotated(64), Rotated(0));
}

TEST_F(RotatedCases, QuarterTurnClockwiseTurnsUpIntoRight) {
    // A 1 x 8 bar pointing up from its bottom pivot points right after angle 64.
    TDirectDrawSurface bar(1, 8, PixelLayout::RGB565);
    bar.Fill(0xFFFF);
    dest.Fill(0);
    dest.DrawRotate(20, 20, 1, 8, TRect{0, 0, 1, 8}, &bar, 0.0, 1.0, false, 64);
    int right = 0, up = 0;
    for (int d = 1; d < 8; ++d) {
        right += dest.Pixel(20 + d, 19) == 0xFFFF || dest.Pixel(20 + d, 20) == 0xFFFF ? 1 : 0;
        up += dest.Pixel(20, 20 - d) == 0xFFFF ? 1 : 0;
    }
    EXPECT_GE(right, 6);
    EXPECT_EQ(up, 0);
}

TEST_F(RotatedCases, ScalesToTheRequestedSize) {
    dest.Fill(0);
    dest.DrawRotate(0, 0, 32, 32, TRect{0, 0, 16, 16}, &source, 0, 0, false, 0);
    EXPECT_EQ(dest.Pixel(0, 0), fixtures::Marker(0, 0));
    EXPECT_EQ(dest.Pixel(1, 1), fixtures::Marker(0, 0));
    EXPECT_EQ(dest.Pixel(2, 3), fixtures::Marker(1, 1));
    EXPECT_EQ(dest.Pixel(31, 31), fixtures::Marker(15, 15));
    EXPECT_EQ(dest.Pixel(32, 32), 0);
}

TEST_F(RotatedCases, DegenerateDrawsLeaveTheDestinationAlone) {
    const auto before = fixtures::Pixels(dest);
    dest.DrawRotate(20, 20, 0, 16, TRect{0, 0, 16, 16}, &source, 0.5, 0.5, false, 10);
    dest.DrawRotate(20, 20, 16, 0, TRect{0, 0, 16, 16}, &source, 0.5, 0.5, false, 10);
    dest.DrawRotate(20, 20, 16, 16, TRect{0, 0, 17, 16}, &source, 0.5, 0.5, false, 10);  // past the source
    dest.DrawRotate(20, 20, 16, 16, TRect{-1, 0, 16, 16}, &source, 0.5, 0.5, false, 10);
    dest.DrawRotate(20, 20, 16, 16, TRect{4, 4, 4, 8}, &source, 0.5, 0.5, false, 10);  // empty
    dest.DrawRotate(20, 20, 16, 16, TRect{0, 0, 16, 16}, nullptr, 0.5, 0.5, false, 10);
    dest.DrawRotate(20, 20, 16, 16, TRect{0, 0, 16, 16}, &source, std::nan(""), 0.5, false, 10);
    dest.DrawRotate(20, 20, 16, 16, TRect{0, 0, 16, 16}, &source, 1e300, 0.5, false, 10);
    dest.DrawRotate(INT32_MAX, INT32_MIN, 16, 16, TRect{0, 0, 16, 16}, &source, 0.5, 0.5, false, 10);
    dest.DrawRotateAdd(20, 20, 16, 16, TRect{0, 0, 16, 16}, &source, 0.5, 0.5, false, 10, 0);
    dest.DrawRotateAdd(20, 20, 16, 16, TRect{0, 0, 16, 16}, &source, 0.5, 0.5, false, 10, -3);
    EXPECT_EQ(fixtures::Pixels(dest), before);
}

TEST_F(RotatedCases, RefusedWhileTheDestinationOrSourceCannotBeLocked) {
    auto tracker = std::make_shared<TSurfaceLossTracker>();
    TDirectDrawSurface lost(40, 40, PixelLayout::RGB565, tracker);
    tracker->Generation++;
    const auto before = fixtures::Pixels(lost);
    lost.DrawRotate(20, 20, 16, 16, TRect{0, 0, 16, 16}, &source, 0.5, 0.5, false, 10);
    EXPECT_EQ(fixtures::Pixels(lost), before);
    TDirectDrawSurface lostSource(16, 16, PixelLayout::RGB565, tracker);
    tracker->Generation++;
    const auto destBefore = fixtures::Pixels(dest);
    dest.DrawRotateAdd(20, 20, 16, 16, TRect{0, 0, 16, 16}, &lostSource, 0.5, 0.5, false, 10, 255);
    EXPECT_EQ(fixtures::Pixels(dest), destBefore);
    EXPECT_EQ(dest.LockCount(), 0);
}

// Additive combination on one pixel: expand to 8 bits, add, keep the top bits.
std::uint16_t AddOnePixel(PixelLayout layout, TColor destColour, TColor sourceColour, int alpha) {
    TDirectDrawSurface source(1, 1, layout);
    source.SetPixel(0, 0, source.ColorToPixel(sourceColour));
    TDirectDrawSurface dest(1, 1, layout);
    dest.SetPixel(0, 0, dest.ColorToPixel(destColour));
    dest.DrawRotateAdd(0, 0, 1, 1, TRect{0, 0, 1, 1}, &source, 0, 0, false, 0, alpha);
    return dest.Pixel(0, 0);
}

TEST(AdditiveDraw, AddsTheScaledSourceAndSaturatesInBothLayouts) {
    const struct {
        TColor Dest, Source;
        int Alpha;
        TColor Expected;
    } cases[] = {
        {RGB(80, 0, 0), RGB(160, 0, 0), 128, RGB(160, 0, 0)},  // 80 + 160 * 128 div 256: red 10 + 10 of 31
        {RGB(40, 90, 200), RGB(255, 255, 255), 255, RGB(255, 255, 255)},
        {RGB(40, 90, 200), RGB(0, 0, 0), 255, RGB(40, 90, 200)},            // black adds nothing
        {RGB(40, 90, 200), RGB(255, 255, 255), 1000, RGB(255, 255, 255)},  // above 255 counts as 255
        {RGB(200, 8, 8), RGB(100, 8, 16), 255, RGB(255, 16, 24)},
        {RGB(0, 16, 8), RGB(0, 252, 64), 10, RGB(0, 25, 10)},  // 16 + 252 * 10 div 256 = 25; 8 + 2
        {RGB(0, 16, 8), RGB(255, 255, 255), 0, RGB(0, 16, 8)},  // alpha 0 changes nothing
    };
    for (const PixelLayout layout : {PixelLayout::RGB565, PixelLayout::RGB555}) {
        for (const auto& c : cases) {
            EXPECT_EQ(AddOnePixel(layout, c.Dest, c.Source, c.Alpha),
                      platform::PackRGB(layout, GetRValue(c.Expected), GetGValue(c.Expected), GetBValue(c.Expected)))
                << static_cast<int>(layout) << " alpha " << c.Alpha << " onto " << std::hex << c.Dest;
        }
    }
    // The low-intensity sum truncated to 5-6-5 by hand: green 6, blue 1.
    EXPECT_EQ(AddOnePixel(PixelLayout::RGB565, RGB(0, 16, 8), RGB(0, 252, 64), 10), (6 << 5) | 1);
}

TEST(AdditiveDraw, KeyPixelsAreSkippedOnlyWhenTransparent) {
    // The key of a fresh surface is 0, the black source pixel here; make it count by using white.
    TDirectDrawSurface source(1, 1, PixelLayout::RGB565);
    source.Fill(0xFFFF);
    source.SetColorKey(0xFFFF);
    TDirectDrawSurface dest(1, 1, PixelLayout::RGB565);
    dest.Fill(0);
    dest.DrawRotateAdd(0, 0, 1, 1, TRect{0, 0, 1, 1}, &source, 0, 0, true, 0, 255);
    EXPECT_EQ(dest.Pixel(0, 0), 0);
    dest.DrawRotateAdd(0, 0, 1, 1, TRect{0, 0, 1, 1}, &source, 0, 0, false, 0, 255);
    EXPECT_EQ(dest.Pixel(0, 0), 0xFFFF);
}

// Spans go in blocks (eight pixels for additive draws between equal layouts, four for the
// others) and the rest one by one: every span length around the block sizes, key pixels in every
// lane, copy and additive, equal and different layouts, and the alphas at the rules' edges.
TEST(RotatedDraw, SpansOfEveryLengthMatchTheModel) {
    std::mt19937 random(4);
    const RotationModel model;
    for (const PixelLayout layout : {PixelLayout::RGB565, PixelLayout::RGB555}) {
        for (const PixelLayout destLayout : {layout, layout == PixelLayout::RGB565 ? PixelLayout::RGB555 : layout}) {
            for (const int alpha : {0, 1, 128, 254, 255}) {
                for (int size = 1; size <= 14; ++size) {
                    for (const int angle : {10, 37, 200}) {
                        TDirectDrawSurface source(size, size, layout);
                        fixtures::FillRandom(source, random);
                        constexpr std::uint16_t Key = 0x7BEF;  // not black, which would add nothing anyway
                        source.SetColorKey(Key);
                        for (int y = 0; y < size; ++y) {
                            source.SetPixel(y, y, Key);  // on a diagonal: lanes of every position meet it
                        }
                        TDirectDrawSurface dest(40, 40, destLayout);
                        fixtures::FillRandom(dest, random);
                        const Rotation r{.X = 20, .Y = 20, .Width = 2 * size, .Height = 2 * size + 1,
                                         .SrcRect = {0, 0, size, size}, .CenterX = 0.5, .CenterY = 0.5,
                                         .Transparent = true, .Angle = angle, .Alpha = alpha};
                        const bool additive = alpha > 0;  // alpha 0 stands for a plain copy here
                        const Pictures pictures = DrawBoth(model, dest, source, r, additive);
                        ASSERT_EQ(pictures.Actual, pictures.Expected)
                            << Describe(r, additive, layout, destLayout);
                    }
                }
            }
        }
    }
}

// Source positions are worked out in 32-bit lanes only for sources under 32768 pixels a side;
// wider or taller sheets go pixel by pixel. Patterns at the far edge of sheets on either side
// of that limit, turned and scaled, copy and additive.
TEST(RotatedDraw, SheetsAtAndBeyondTheLaneLimitMatchTheModel) {
    std::mt19937 random(32768);
    const RotationModel model;
    for (const int side : {32767, 32768, 40000}) {
        for (const bool wide : {true, false}) {
            TDirectDrawSurface sheet(wide ? side : 3, wide ? 3 : side, PixelLayout::RGB565);
            const TRect pattern = wide ? TRect{side - 12, 0, side, 3} : TRect{0, side - 12, 3, side};
            for (int y = pattern.Top; y < pattern.Bottom; ++y) {
                for (int x = pattern.Left; x < pattern.Right; ++x) {
                    sheet.SetPixel(x, y, static_cast<std::uint16_t>(random()));
                }
            }
            for (const int angle : {0, 23, 64, 101, 192}) {
                for (const bool additive : {false, true}) {
                    TDirectDrawSurface dest(48, 48, PixelLayout::RGB565);
                    fixtures::FillRandom(dest, random);
                    const Rotation r{.X = 24, .Y = 24, .Width = 2 * pattern.Width(), .Height = 5 * pattern.Height(),
                                     .SrcRect = pattern, .CenterX = 0.5, .CenterY = 0.5, .Angle = angle, .Alpha = 200};
                    const Pictures pictures = DrawBoth(model, dest, sheet, r, additive);
                    ASSERT_EQ(pictures.Actual, pictures.Expected)
                        << "side " << side << " " << Describe(r, additive, PixelLayout::RGB565, PixelLayout::RGB565);
                }
            }
        }
    }
}

// Long thin draws (phaser beams) are walked along slanted lines rather than rows or columns:
// every angle, beams reaching off the surface, scaled strips, both layouts, copy and additive,
// all pixel for pixel against the model.
TEST(RotatedDraw, LongThinDrawsMatchTheModelAtEveryAngle) {
    std::mt19937 random(28);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const RotationModel model;
    for (const PixelLayout layout : {PixelLayout::RGB565, PixelLayout::RGB555}) {
        TDirectDrawSurface beam(4, 300, layout);
        fixtures::FillRandom(beam, random);
        beam.SetColorKey(beam.Pixel(1, 7));
        for (int angle = 0; angle < 256; ++angle) {
            TDirectDrawSurface dest(160, 120, layout);
            fixtures::FillRandom(dest, random);
            Rotation r;
            r.X = pick(-20, 180);
            r.Y = pick(-20, 140);
            r.Width = pick(1, 3) == 1 ? pick(2, 9) : 4;
            r.Height = pick(40, 400);
            const int top = pick(0, 100);
            r.SrcRect = TRect{0, top, pick(1, 4), pick(top + 1, 300)};
            r.CenterX = 0.5;
            r.CenterY = pick(0, 3) == 0 ? 0.5 : 1.0;
            r.Transparent = pick(0, 1) == 1;
            r.Angle = angle + 256 * pick(-1, 1);
            r.Alpha = pick(0, 2) == 0 ? 255 : pick(1, 254);
            const bool additive = angle % 2 == 1;
            const Pictures pictures = DrawBoth(model, dest, beam, r, additive);
            ASSERT_EQ(pictures.Actual, pictures.Expected) << Describe(r, additive, layout, layout);
        }
    }
}

}  // namespace
