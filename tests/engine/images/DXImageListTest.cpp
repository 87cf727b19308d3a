// Image lists: the pattern grid and its tiles, colour keys, drawing through items, and the
// binding to a display that initializes, restores and finalizes the items' surfaces.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <memory>
#include <string>
#include <vector>

#include "engine/images/DXImageList.h"
#include "support/FakeVideoDevice.h"
#include "support/TempDirectory.h"

namespace {

constexpr TColor Magenta = RGB(255, 0, 255);

// A picture whose pixel (x, y) has its own colour, with the transparent colour on the diagonal.
std::vector<TColor> Gradient(int width, int height) {
    std::vector<TColor> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(x == y ? Magenta : RGB(x % 251, y % 251, (x + y) % 200));
        }
    }
    return pixels;
}

class ImageListTest : public ::testing::Test {
protected:
    ImageListTest() : Draw(&Device) {
        Draw.SetOptions(doFullScreen | doAllowReboot | doWaitVBlank | doCenter | doFlip);
        Draw.Display().SetWidth(800);
        Draw.Display().SetHeight(600);
        Draw.Display().SetBitCount(16);
    }

    TPictureCollectionItem& AddItem(int width, int height, int patternWidth = 0, int patternHeight = 0) {
        TPictureCollectionItem& item = List.Items().Add();
        item.Picture.AssignPixels(width, height, Gradient(width, height));
        item.PatternWidth = patternWidth;
        item.PatternHeight = patternHeight;
        item.TransparentColor = Magenta;
        return item;
    }

    // Binds the list and runs the display, which builds the surfaces.
    void Run() {
        List.SetDXDraw(&Draw);
        Draw.Initialize();
    }

    TDirectDrawSurface& Back() { return *Draw.Surface(); }

    FakeVideoDevice Device;
    TDXDraw Draw;
    TDXImageList List;
};

// The grid: rows outer, columns inner, skips between cells; counted the same from the picture
// alone and from the built surface (all of these fit one tile).
TEST_F(ImageListTest, PatternsFollowTheGridOfTheSheet) {
    const struct {
        int Width, Height, PatternWidth, PatternHeight, SkipWidth, Count;
        std::vector<std::pair<int, TRect>> Rects;
    } sheets[] = {
        {26, 25, 0, 0, 0, 1, {{0, {0, 0, 26, 25}}}},  // the whole picture is one pattern
        {256, 64, 64, 64, 0, 4, {{3, {192, 0, 256, 64}}}},
        {100, 40, 30, 40, 5, 3, {{0, {0, 0, 30, 40}}, {1, {35, 0, 65, 40}}, {2, {70, 0, 100, 40}}}},
        {40, 30, 20, 10, 0, 6, {{1, {20, 0, 40, 10}}, {2, {0, 10, 20, 20}}, {5, {20, 20, 40, 30}}}},
    };
    for (const auto& sheet : sheets) {
        SCOPED_TRACE(testing::Message() << sheet.Width << " x " << sheet.Height);
        TPictureCollectionItem& item = AddItem(sheet.Width, sheet.Height, sheet.PatternWidth, sheet.PatternHeight);
        item.SkipWidth = sheet.SkipWidth;
        EXPECT_EQ(item.PatternCount(), sheet.Count);
        Run();
        EXPECT_TRUE(item.Initialized());
        ASSERT_EQ(item.PatternCount(), sheet.Count);
        for (const auto& [index, rect] : sheet.Rects) {
            EXPECT_EQ(item.PatternRect(index), rect) << index;
        }
        EXPECT_EQ(item.SurfaceCount(), 1);
        Draw.Finalize();
    }
}

TEST_F(ImageListTest, LargeSheetsAreTiledAtWholeSteps) {
    // 100-pixel steps: tiles of 600 (the first multiple reaching 512), the last cut to the edge.
    TPictureCollectionItem& item = AddItem(1250, 100, 100, 100);
    Run();
    ASSERT_EQ(item.PatternCount(), 12);
    ASSERT_EQ(item.SurfaceCount(), 3);
    EXPECT_EQ(item.Surfaces(0).Width(), 600);
    EXPECT_EQ(item.Surfaces(1).Width(), 600);
    EXPECT_EQ(item.Surfaces(2).Width(), 50);  // only the remainder, no pattern
    EXPECT_EQ(&item.PatternSurface(7), &item.Surfaces(1));
    EXPECT_EQ(item.PatternRect(7), (TRect{100, 0, 200, 100}));
    // Each pattern's pixels are the picture's pixels at its grid place.
    EXPECT_EQ(item.PatternSurface(7).Pixel(100 + 5, 9), Back().ColorToPixel(item.Picture.Pixel(705, 9)));
    EXPECT_EQ(item.Surfaces(2).Pixel(49, 99), Back().ColorToPixel(item.Picture.Pixel(1249, 99)));
}

TEST_F(ImageListTest, SystemMemoryKeepsOneSurface) {
    TPictureCollectionItem& item = AddItem(1250, 100, 100, 100);
    item.SystemMemory = true;
    Run();
    ASSERT_EQ(item.SurfaceCount(), 1);
    EXPECT_TRUE(item.Surfaces(0).SystemMemory());
    EXPECT_EQ(item.PatternRect(7), (TRect{700, 0, 800, 100}));
    EXPECT_EQ(&item.PatternSurface(11), &item.Surfaces(0));
}

TEST_F(ImageListTest, PatternCountWithoutSurfacesUsesTheRawCellSize) {
    TPictureCollectionItem& item = AddItem(100, 40, 30, 0);
    item.SkipWidth = 5;
    item.SkipHeight = 0;
    // Height 0 means the whole height only once surfaces exist; without them the raw formula
    // with a zero step counts the picture's height once.
    EXPECT_EQ(item.PatternCount(), 3);
    item.PatternWidth = 35;
    item.SkipWidth = 0;
    EXPECT_EQ(item.PatternCount(), 2);  // 100 div 35 = 2, remainder 30 is not a whole cell
    item.SkipWidth = -35;               // nonsense steps count nothing and build nothing
    EXPECT_EQ(item.PatternCount(), 0);
    Run();
    EXPECT_EQ(item.PatternCount(), 0);
    EXPECT_EQ(item.SurfaceCount(), 0);
}

TEST_F(ImageListTest, TheKeyIsTheTransparentColourInTheSurfaceFormat) {
    TPictureCollectionItem& item = AddItem(16, 16);
    item.TransparentColor = RGB(252, 2, 252);
    item.Picture.AssignPixels(1, 2, {RGB(252, 2, 252), RGB(250, 1, 249)});
    Run();
    const TDirectDrawSurface& surface = item.Surfaces(0);
    EXPECT_EQ(surface.ColorKey(), platform::PackRGB(platform::PixelLayout::RGB565, 248, 0, 248));
    EXPECT_EQ(surface.Pixel(0, 0), surface.ColorKey());
    EXPECT_EQ(surface.Pixel(0, 1), surface.ColorKey());  // same top bits: transparent too

    item.SetTransparentColor(RGB(0, 0, 255));
    EXPECT_EQ(item.Surfaces(0).ColorKey(), 0x001F);
    item.SetTransparentColor(RGB(0, 0, 255));
    EXPECT_EQ(item.Surfaces(0).ColorKey(), 0x001F);
    item.SetTransparentColor(0x8000000F);  // clBtnFace: the desktop's light grey, not RGB(15, 0, 0)
    EXPECT_EQ(item.Surfaces(0).ColorKey(), platform::PackRGB(platform::PixelLayout::RGB565, 212, 208, 200));
}

TEST_F(ImageListTest, KeyFollowsTheDisplayLayout) {
    Device.PixelLayout = platform::PixelLayout::RGB555;
    TPictureCollectionItem& item = AddItem(8, 8);
    Run();
    EXPECT_EQ(item.Surfaces(0).ColorKey(), 0x7C1F);
    EXPECT_EQ(item.Surfaces(0).Pixel(3, 3), 0x7C1F);
}

TEST_F(ImageListTest, ItemsDrawTheirPatterns) {
    TPictureCollectionItem& item = AddItem(64, 32, 32, 32);
    Run();
    Back().Fill(0);
    item.Draw(&Back(), 10, 20, 1);
    EXPECT_EQ(Back().Pixel(10, 20), Back().ColorToPixel(item.Picture.Pixel(32, 0)));
    EXPECT_EQ(Back().Pixel(10 + 1, 20 + 1), Back().ColorToPixel(item.Picture.Pixel(33, 1)));
    // The diagonal of the first pattern is transparent.
    item.Draw(&Back(), 100, 100, 0);
    EXPECT_EQ(Back().Pixel(105, 105), 0);
    EXPECT_EQ(Back().Pixel(106, 105), Back().ColorToPixel(item.Picture.Pixel(6, 5)));
    item.Transparent = false;
    item.Draw(&Back(), 100, 100, 0);
    EXPECT_EQ(Back().Pixel(105, 105), Back().ColorToPixel(Magenta));

    item.StretchDraw(&Back(), TRect{200, 200, 264, 264}, 0);
    EXPECT_EQ(Back().Pixel(200, 202), Back().ColorToPixel(item.Picture.Pixel(0, 1)));
    item.DrawRotate(&Back(), 300, 300, 32, 32, 1, 0, 0, 0);
    EXPECT_EQ(Back().Pixel(301, 300), Back().ColorToPixel(item.Picture.Pixel(33, 0)));
    Back().Fill(0);
    item.DrawRotateAdd(&Back(), 300, 300, 32, 32, 1, 0, 0, 0, 255);
    EXPECT_EQ(Back().Pixel(301, 300), Back().ColorToPixel(item.Picture.Pixel(33, 0)));
}

TEST_F(ImageListTest, OutOfRangePatternsAndUnbuiltItemsDrawNothing) {
    TPictureCollectionItem& item = AddItem(64, 32, 32, 32);
    TDirectDrawSurface scratch(100, 100, platform::PixelLayout::RGB565);
    item.Draw(&scratch, 0, 0, 0);  // not initialized
    Run();
    Back().Fill(0);
    item.Draw(&Back(), 0, 0, -1);
    item.Draw(&Back(), 0, 0, item.PatternCount());
    item.StretchDraw(&Back(), TRect{0, 0, 50, 50}, 2);
    item.DrawRotate(&Back(), 50, 50, 32, 32, -1, 0.5, 0.5, 10);
    item.DrawRotateAdd(&Back(), 50, 50, 32, 32, 2, 0.5, 0.5, 10, 255);
    item.Draw(nullptr, 0, 0, 0);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            ASSERT_EQ(Back().Pixel(x, y), 0);
            ASSERT_EQ(scratch.Pixel(x, y), 0);
        }
    }
}

TEST_F(ImageListTest, ItemIndexOutOfRange) {
    AddItem(8, 8);
    EXPECT_NO_THROW(List.Items().Items(0));
    EXPECT_THAT([&] { List.Items().Items(1); }, testing::ThrowsMessage<EListError>("List index out of bounds (1)"));
    EXPECT_THROW(List.Items().Items(-1), EListError);
}

TEST_F(ImageListTest, InitializingWithAStoppedDisplayIsAnError) {
    AddItem(8, 8);
    EXPECT_THAT([&] { List.Items().Initialize(Draw); },
                testing::ThrowsMessage<EPictureCollectionError>("TPictureCollection cannot be initialized"));
    EXPECT_FALSE(List.Items().Initialized());
    EXPECT_FALSE(List.Items().Items(0).Initialized());
}

TEST_F(ImageListTest, FollowsTheDisplaysLifecycle) {
    TPictureCollectionItem& item = AddItem(64, 32, 32, 32);
    List.SetDXDraw(&Draw);
    EXPECT_FALSE(item.Initialized());
    Draw.Initialize();  // initialize, then restore: surfaces built
    EXPECT_EQ(item.SurfaceCount(), 1);

    // Surfaces lost and restored: rebuilt from the picture.
    item.Surfaces(0).SetPixel(1, 0, 0x1234);
    Device.Resets++;
    EXPECT_TRUE(Draw.CanDraw());
    ASSERT_EQ(item.SurfaceCount(), 1);
    EXPECT_FALSE(item.Surfaces(0).IsLost());
    EXPECT_EQ(item.Surfaces(0).Pixel(1, 0), Back().ColorToPixel(item.Picture.Pixel(1, 0)));

    Draw.Finalize();
    EXPECT_FALSE(item.Initialized());
    EXPECT_EQ(item.SurfaceCount(), 0);
    EXPECT_EQ(item.PatternCount(), 2);  // counted from the picture again
    EXPECT_EQ(List.Items().DXDraw(), nullptr);
}

TEST_F(ImageListTest, BindingToARunningDisplayBuildsAtOnceAndUnbindingDrops) {
    TPictureCollectionItem& item = AddItem(16, 16);
    Draw.Initialize();
    List.SetDXDraw(&Draw);
    EXPECT_EQ(item.SurfaceCount(), 1);
    List.SetDXDraw(nullptr);
    EXPECT_EQ(item.SurfaceCount(), 0);
    EXPECT_FALSE(item.Initialized());
}

TEST(ImageListBinding, ClearedWhenTheDisplayIsDestroyed) {
    FakeVideoDevice device;
    TDXImageList list;
    {
        TDXDraw draw(&device);
        list.SetDXDraw(&draw);
        EXPECT_EQ(list.DXDraw(), &draw);
    }
    EXPECT_EQ(list.DXDraw(), nullptr);
}

TEST_F(ImageListTest, LoadingAFileOrAStreamReplacesEveryItemAndBuildsThemWhileRunning) {
    TempDirectory folder;
    {
        TPictureCollection file;
        for (int i = 0; i < 3; ++i) {
            TPictureCollectionItem& item = file.Add();
            item.Name = "Item" + std::to_string(i);
            item.Picture.AssignPixels(32, 16, Gradient(32, 16));
            item.PatternWidth = 16;
        }
        file.SaveToFile("Graphics.dxg");
    }
    AddItem(8, 8);
    List.Items().LoadFromFile("Graphics.dxg");  // display not running: nothing built
    ASSERT_EQ(List.Items().Count(), 3);
    EXPECT_FALSE(List.Items().Items(0).Initialized());

    Run();
    const std::function<void()> loads[] = {
        [this] { List.Items().LoadFromFile("Graphics.dxg"); },
        [this] {
            TMemoryStream stream(LoadFileBytes("Graphics.dxg"));
            List.Items().LoadFromStream(stream);
        },
    };
    for (const auto& load : loads) {
        AddItem(8, 8);
        load();
        ASSERT_EQ(List.Items().Count(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(List.Items().Items(i).Name, "Item" + std::to_string(i));
            EXPECT_TRUE(List.Items().Items(i).Initialized());
            EXPECT_EQ(List.Items().Items(i).PatternCount(), 2);
            EXPECT_EQ(List.Items().Items(i).SurfaceCount(), 1);
        }
    }
}

TEST_F(ImageListTest, EmptyPicturesBuildNothing) {
    TPictureCollectionItem& item = List.Items().Add();
    Run();
    EXPECT_TRUE(item.Initialized());
    EXPECT_EQ(item.SurfaceCount(), 0);
    item.Draw(&Back(), 0, 0, 0);  // nothing to draw, no error
}

}  // namespace
