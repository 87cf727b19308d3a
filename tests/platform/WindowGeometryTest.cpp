// The picture's place in full screen and in a window, and the size a window opens at.
#include "platform/WindowGeometry.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

constexpr Size Picture{800, 600};
constexpr FrameBorders OpenboxFrame{1, 20, 1, 5};

TEST(WindowGeometry, PictureRectFillsTheScreenButKeepsWholeMultiplesInAWindow) {
    struct Case {
        Size Output;
        bool Windowed;
        ScreenRect Expected;
    };
    const Case cases[] = {
        {{1024, 768}, false, {0, 0, 1024, 768}},        // full screen: 1.28, no bars
        {{1920, 1080}, false, {240, 0, 1680, 1080}},    // full screen: bars left and right
        {{800, 600}, false, {0, 0, 800, 600}},
        {{1600, 1200}, true, {0, 0, 1600, 1200}},       // exactly twice
        {{1700, 1250}, true, {50, 25, 1650, 1225}},     // twice, centred between bars
        {{1599, 1300}, true, {399, 350, 1199, 950}},    // just short of twice: once
        {{1024, 768}, true, {112, 84, 912, 684}},
        {{600, 600}, true, {0, 75, 600, 525}},          // smaller than the picture: shrunk to fit
        {{0, 600}, true, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PictureRect(c.Output, Picture, c.Windowed), c.Expected)
            << c.Output.Width << " x " << c.Output.Height << (c.Windowed ? " window" : " full screen");
    }
}

TEST(WindowGeometry, AWindowOpensAtTheLargestWholeMultipleThatFitsWithItsFrame) {
    struct Case {
        Size WorkArea;
        FrameBorders Borders;
        Size Expected;
    };
    const Case cases[] = {
        {{1920, 1280}, OpenboxFrame, {1600, 1200}},
        {{1920, 1225}, OpenboxFrame, {1600, 1200}},  // the frame just fits
        {{1920, 1224}, OpenboxFrame, {800, 600}},    // one pixel short for the frame
        {{1920, 1200}, {}, {1600, 1200}},
        {{3840, 2160}, {0, 30, 0, 0}, {2400, 1800}},
        {{1024, 768}, OpenboxFrame, {800, 600}},
        {{800, 600}, OpenboxFrame, {767, 575}},      // not even once: the aspect kept, shrunk
        {{0, 0}, OpenboxFrame, {800, 600}},          // no work area known
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowSizeFor(Picture, c.WorkArea, c.Borders), c.Expected)
            << c.WorkArea.Width << " x " << c.WorkArea.Height;
    }
}

TEST(WindowGeometry, AWindowFitsOnlyWithItsFrameInsideTheWorkArea) {
    EXPECT_TRUE(WindowFits({1600, 1200}, {1920, 1225}, OpenboxFrame));
    EXPECT_FALSE(WindowFits({1600, 1200}, {1920, 1224}, OpenboxFrame));
    EXPECT_FALSE(WindowFits({1919, 600}, {1920, 1225}, OpenboxFrame));
    EXPECT_FALSE(WindowFits({0, 0}, {1920, 1225}, OpenboxFrame));
}

}  // namespace
}  // namespace platform
