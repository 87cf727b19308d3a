#include <gtest/gtest.h>

#include "engine/assets/Classes.h"
#include "engine/display/DirectDrawSurface.h"

TEST(Rectangles, OverlapNeedsSharedArea) {
    const TRect a = Bounds(0, 0, 10, 10);
    EXPECT_TRUE(OverlapRect(a, Bounds(9, 9, 5, 5)));
    EXPECT_FALSE(OverlapRect(a, Bounds(10, 0, 5, 5)));  // touching edge
    EXPECT_FALSE(OverlapRect(a, Bounds(0, 10, 5, 5)));
    EXPECT_FALSE(OverlapRect(a, Bounds(2, 2, 0, 5)));   // empty
}

TEST(Rectangles, PointInsideIsHalfOpen) {
    const TRect r{10, 20, 30, 40};
    EXPECT_TRUE(PtInRect(r, {10, 20}));
    EXPECT_TRUE(PtInRect(r, {29, 39}));
    EXPECT_FALSE(PtInRect(r, {30, 39}));
    EXPECT_FALSE(PtInRect(r, {29, 40}));
}

TEST(Format, FillsTheSystemMessages) {
    EXPECT_EQ(Format("List index out of bounds (%d)", -1), "List index out of bounds (-1)");
    EXPECT_EQ(Format("%s cannot be made", "Surface"), "Surface cannot be made");
    EXPECT_THROW(RaiseListIndexError(3), EListError);
}

TEST(Surface, ColourConversionKeepsTopBits) {
    TDirectDrawSurface s565(1, 1, platform::PixelLayout::RGB565);
    TDirectDrawSurface s555(1, 1, platform::PixelLayout::RGB555);
    EXPECT_EQ(s565.ColorToPixel(RGB(252, 2, 252)), 0xF81F);
    EXPECT_EQ(s565.ColorToPixel(RGB(255, 255, 255)), 0xFFFF);
    EXPECT_EQ(s555.ColorToPixel(RGB(255, 255, 255)), 0x7FFF);
    EXPECT_EQ(s565.ColorToPixel(RGB(80, 0, 0)), 10 << 11);
}

TEST(Surface, LossFollowsTheDeviceUntilRestored) {
    auto tracker = std::make_shared<TSurfaceLossTracker>();
    TDirectDrawSurface s(4, 4, platform::PixelLayout::RGB565, tracker);
    EXPECT_TRUE(s.Fill(0x1234));
    EXPECT_EQ(s.Pixel(3, 3), 0x1234);
    ++tracker->Generation;
    EXPECT_TRUE(s.IsLost());
    EXPECT_FALSE(s.Fill(0));
    EXPECT_FALSE(s.Lock());
    EXPECT_TRUE(s.Restore());
    EXPECT_FALSE(s.IsLost());
    EXPECT_TRUE(s.Lock());
    s.Unlock();
}
