// The nearest-neighbour pass: channel widening in the window's formats, and the view at whole,
// fractional and shrinking factors, each view pixel traced back to the frame pixel it shows.
#include "platform/NearestScaler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace platform {
namespace {

constexpr PixelFormat32 Xrgb{16, 8, 0, 0};
constexpr PixelFormat32 Abgr{0, 8, 16, 0xFF000000u};

TEST(NearestScaler, WidensEachChannelByRepeatingItsTopBits) {
    struct Case {
        std::uint16_t Pixel;
        PixelLayout Layout;
        PixelFormat32 Format;
        std::uint32_t Expected;
    };
    const Case cases[] = {
        {0xFFFF, PixelLayout::RGB565, Xrgb, 0x00FFFFFF}, {0x0000, PixelLayout::RGB565, Xrgb, 0x00000000},
        {0xF800, PixelLayout::RGB565, Xrgb, 0x00FF0000}, {0x07E0, PixelLayout::RGB565, Xrgb, 0x0000FF00},
        {0x001F, PixelLayout::RGB565, Xrgb, 0x000000FF}, {0x8410, PixelLayout::RGB565, Xrgb, 0x00848284},
        {0x7FFF, PixelLayout::RGB555, Xrgb, 0x00FFFFFF}, {0x03E0, PixelLayout::RGB555, Xrgb, 0x0000FF00},
        {0xF800, PixelLayout::RGB565, Abgr, 0xFF0000FF}, {0x001F, PixelLayout::RGB565, Abgr, 0xFFFF0000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WidenPixel(c.Pixel, c.Layout, c.Format), c.Expected) << std::hex << c.Pixel;
    }
}

// A frame whose pixels are all different, the view in a wider buffer with guard pixels around it.
struct Scene {
    Scene(int frameWidth, int frameHeight, int viewWidth, int viewHeight, PixelFormat32 format = Xrgb)
        : FrameWidth(frameWidth), FrameHeight(frameHeight), ViewWidth(viewWidth), ViewHeight(viewHeight), Format(format) {}

    int FrameWidth, FrameHeight, ViewWidth, ViewHeight;
    PixelFormat32 Format;
    static constexpr int Margin = 3;
    static constexpr std::uint32_t Guard = 0xDEADBEEF;

    std::vector<std::uint16_t> Frame;
    std::vector<std::uint32_t> Window;
    std::ptrdiff_t Pitch = 0;

    void Run() {
        Frame.resize(static_cast<std::size_t>(FrameWidth * FrameHeight));
        for (std::size_t i = 0; i < Frame.size(); ++i) Frame[i] = static_cast<std::uint16_t>(i * 7 + 1);
        Pitch = ViewWidth + 2 * Margin;
        Window.assign(static_cast<std::size_t>(Pitch * (ViewHeight + 2 * Margin)), Guard);
        NearestScaler scaler;
        scaler.Prepare(FrameWidth, FrameHeight, ViewWidth, ViewHeight);
        const PixelBuffer16 frame{Frame.data(), FrameWidth, FrameHeight, FrameWidth, PixelLayout::RGB565};
        scaler.Scale(frame, Format, Window.data() + Margin * Pitch + Margin, Pitch);
    }

    // The frame pixel (index) each view pixel shows; -1 where it shows none of them.
    std::vector<std::vector<int>> Shown() const {
        std::map<std::uint32_t, int> source;
        for (std::size_t i = 0; i < Frame.size(); ++i) source[WidenPixel(Frame[i], PixelLayout::RGB565, Format)] = static_cast<int>(i);
        std::vector<std::vector<int>> shown(static_cast<std::size_t>(ViewHeight), std::vector<int>(static_cast<std::size_t>(ViewWidth), -1));
        for (int y = 0; y < ViewHeight; ++y) {
            for (int x = 0; x < ViewWidth; ++x) {
                const auto found = source.find(Window[static_cast<std::size_t>((y + Margin) * Pitch + x + Margin)]);
                if (found != source.end()) shown[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = found->second;
            }
        }
        return shown;
    }

    int GuardsIntact() const {
        int intact = 0;
        for (std::ptrdiff_t y = 0; y < ViewHeight + 2 * Margin; ++y) {
            for (std::ptrdiff_t x = 0; x < Pitch; ++x) {
                const bool inView = y >= Margin && y < Margin + ViewHeight && x >= Margin && x < Margin + ViewWidth;
                intact += !inView && Window[static_cast<std::size_t>(y * Pitch + x)] == Guard ? 1 : 0;
            }
        }
        return intact;
    }
};

TEST(NearestScaler, EveryViewPixelShowsTheFramePixelItFallsInAndNothingOutsideTheViewIsTouched) {
    const Scene scenes[] = {
        {20, 15, 20, 15},  // as it is
        {20, 15, 60, 45},  // whole factor 3
        {20, 15, 36, 27},  // 1.8, as 800 x 600 on a 1920 x 1080 screen
        {25, 19, 32, 24},  // 1.28, as on 1024 x 768
        {20, 15, 10, 7},   // smaller than the frame
        {25, 19, 25, 19, Abgr},  // another window format, as it is
        {25, 19, 32, 24, Abgr},  // and enlarged
    };
    for (Scene scene : scenes) {
        scene.Run();
        const auto shown = scene.Shown();
        std::vector<int> columnCount(static_cast<std::size_t>(scene.FrameWidth), 0);
        for (int y = 0; y < scene.ViewHeight; ++y) {
            for (int x = 0; x < scene.ViewWidth; ++x) {
                const int index = shown[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
                ASSERT_GE(index, 0) << scene.ViewWidth << "x" << scene.ViewHeight << " at " << x << "," << y;
                // The pixel's centre lies in the frame pixel it shows.
                const double fx = (x + 0.5) * scene.FrameWidth / scene.ViewWidth;
                const double fy = (y + 0.5) * scene.FrameHeight / scene.ViewHeight;
                EXPECT_LE(std::abs(index % scene.FrameWidth + 0.5 - fx), 0.5 + 0.5 * scene.FrameWidth / scene.ViewWidth);
                EXPECT_LE(std::abs(index / scene.FrameWidth + 0.5 - fy), 0.5 + 0.5 * scene.FrameHeight / scene.ViewHeight);
                if (y == 0) ++columnCount[static_cast<std::size_t>(index % scene.FrameWidth)];
            }
        }
        // Crisp: when enlarging, every frame column is shown, none more than one pixel wider than another.
        if (scene.ViewWidth >= scene.FrameWidth) {
            const auto [fewest, most] = std::minmax_element(columnCount.begin(), columnCount.end());
            EXPECT_GE(*fewest, 1);
            EXPECT_LE(*most - *fewest, 1) << scene.ViewWidth << "x" << scene.ViewHeight;
        }
        const int guards = static_cast<int>(scene.Pitch * (scene.ViewHeight + 2 * Scene::Margin)) - scene.ViewWidth * scene.ViewHeight;
        EXPECT_EQ(scene.GuardsIntact(), guards);
    }
}

TEST(NearestScaler, AWholeFactorRepeatsEveryPixelAsASquareBlock) {
    Scene scene{20, 15, 40, 30};
    scene.Run();
    const auto shown = scene.Shown();
    for (int y = 0; y < scene.ViewHeight; ++y) {
        for (int x = 0; x < scene.ViewWidth; ++x) {
            EXPECT_EQ(shown[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)], (y / 2) * scene.FrameWidth + x / 2);
        }
    }
}

TEST(NearestScaler, AFrameOfAnotherSizeThanPreparedForIsLeftAlone) {
    NearestScaler scaler;
    scaler.Prepare(20, 15, 40, 30);
    std::vector<std::uint16_t> pixels(10 * 10, 0xFFFF);
    std::vector<std::uint32_t> window(40 * 30, 7);
    scaler.Scale(PixelBuffer16{pixels.data(), 10, 10, 10, PixelLayout::RGB565}, Xrgb, window.data(), 40);
    scaler.Scale(PixelBuffer16{nullptr, 20, 15, 20, PixelLayout::RGB565}, Xrgb, window.data(), 40);
    EXPECT_EQ(std::count(window.begin(), window.end(), 7u), 40 * 30);
}

}  // namespace
}  // namespace platform
