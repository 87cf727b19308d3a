#include <gtest/gtest.h>

#include "game/GButton.h"
#include "support/GameWindow.h"

namespace {

class GButtonTest : public GameWindowTest {
protected:
    void SetUp() override {
        Open();
        Form->DXImageList1->Items().LoadFromFile("Data/GGraphics.dxg");
    }
};

}  // namespace

TEST_F(GButtonTest, OnlyAVisibleDrawRecordsTheRectangleThatClicksHit) {
    TGButton button;
    button.SetImage(29);
    const int w = button.Width();
    const int h = button.Height();
    ASSERT_GT(w, 0);
    button.SetPosition(100, 50);
    EXPECT_FALSE(button.IsHit({100, 50})) << "never drawn";
    button.Draw();
    EXPECT_EQ(button.Bounds(), (TRect{100, 50, 100 + w, 50 + h}));
    const struct {
        TPoint Point;
        bool Hit;
    } edges[] = {{{100, 50}, true},      {{99 + w, 49 + h}, true}, {{100 + w, 50}, false},
                 {{100, 50 + h}, false}, {{99, 50}, false},        {{100, 49}, false}};
    for (const auto& edge : edges) {
        EXPECT_EQ(button.IsHit(edge.Point), edge.Hit) << edge.Point.X << "," << edge.Point.Y;
    }

    button.SetPosition(300, 300);
    EXPECT_TRUE(button.IsHit({100, 50})) << "moved, not yet drawn";
    EXPECT_FALSE(button.IsHit({300, 300}));
    button.SetVisible(false);
    button.Draw();
    EXPECT_FALSE(button.IsHit({100, 50})) << "hidden";
    button.SetVisible(true);
    EXPECT_TRUE(button.IsHit({100, 50})) << "a hidden draw kept the old rectangle";
}

TEST_F(GButtonTest, DrawsPatternZeroOfItsCurrentPictureAtItsCorner) {
    TGButton button;
    button.SetPosition(200, 100);
    for (const int image : {21, 17}) {
        button.SetImage(image);
        const TPictureCollectionItem& item = Form->DXImageList1->Items().Items(image);
        EXPECT_EQ(button.Width(), item.Width());
        EXPECT_EQ(button.Height(), item.Height());
        Surface().Fill(0);
        button.Draw();
        const int x = item.Width() / 2;
        const int y = item.Height() / 2;
        EXPECT_EQ(Surface().Pixel(200 + x, 100 + y), Surface().ColorToPixel(item.Picture.Pixel(x, y))) << image;
    }
}
