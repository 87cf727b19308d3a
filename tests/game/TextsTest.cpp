#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/display/SurfaceCanvas.h"
#include "game/Texts.h"
#include "support/GameWindow.h"

namespace {

class MessageBoxTest : public GameWindowTest {
protected:
    void SetUp() override {
        Open();
        Form->DXImageList1->Items().LoadFromFile("Data/GGraphics.dxg");
    }

    // A picture of the given width added to the image list; its index.
    int PictureOfWidth(int width) {
        TPictureCollection& images = Form->DXImageList1->Items();
        images.Add().Picture.AssignPixels(width, 4, std::vector<TColor>(static_cast<std::size_t>(width) * 4, 0));
        return images.Count() - 1;
    }

    std::vector<std::string> Wrapped(int backgroundWidth, int size, const std::string& text) {
        TMessageBox box;
        if (backgroundWidth > 0) {
            box.SetBackground(PictureOfWidth(backgroundWidth));
        }
        box.SetFontSize(size);
        box.AddText(text);
        std::vector<std::string> lines;
        for (const TLine& line : box.Lines()) lines.push_back(line.Text);
        return lines;
    }

    // Rows of the surface in the rectangle that differ from the fill.
    std::vector<int> InkRows(TRect area, std::uint16_t fill) {
        std::vector<int> rows;
        for (int y = area.Top; y < area.Bottom; ++y) {
            for (int x = area.Left; x < area.Right; ++x) {
                if (Surface().Pixel(x, y) != fill) {
                    rows.push_back(y);
                    break;
                }
            }
        }
        return rows;
    }

    static TPoint Centre(const TGButton& button) {
        return {button.X() + button.Width() / 2, button.Y() + button.Height() / 2};
    }
};

std::string Repeat(char c, int count) {
    return std::string(static_cast<std::size_t>(count), c);
}

}  // namespace

TEST_F(MessageBoxTest, StartsWithItsDefaultsAndPlacesTheButtonsFromTheBackground) {
    TMessageBox box;
    EXPECT_TRUE(box.Visible());
    EXPECT_FALSE(box.IsClosed());
    EXPECT_FALSE(box.OkButton().Visible());
    EXPECT_FALSE(box.CancelButton().Visible());
    EXPECT_EQ(box.OkButton().Width(), Form->DXImageList1->Items().Items(29).Width());
    EXPECT_EQ(box.CancelButton().Width(), Form->DXImageList1->Items().Items(30).Width());
    box.AddText("x");
    EXPECT_EQ(box.Lines()[0].Size, 10);
    EXPECT_EQ(box.Lines()[0].Color, 65280u);
    EXPECT_FALSE(box.Lines()[0].Bold);

    box.SetPosition(10, 20);
    box.SetBackground(31);
    const int w = box.Width();
    const int h = box.Height();
    EXPECT_EQ(w, Form->DXImageList1->Items().Items(31).Width());
    EXPECT_EQ(box.OkButton().X(), 10 + w - 85);
    EXPECT_EQ(box.OkButton().Y(), 20 + h - 40);
    EXPECT_TRUE(box.OkButton().Visible());
    EXPECT_EQ(box.CancelButton().X(), 10 + w - 150);
    EXPECT_FALSE(box.CancelButton().Visible()) << "placed, not shown";

    box.Center();
    EXPECT_EQ(box.X(), 400 - w / 2);
    EXPECT_EQ(box.Y(), 300 - h / 2);
    EXPECT_EQ(box.OkButton().X(), box.X() + w - 85);
    box.SetPosition(0, 0);
    EXPECT_EQ(box.OkButton().X(), 400 - w / 2 + w - 85) << "the buttons wait for SetBackground or Center";
}

TEST_F(MessageBoxTest, WrapsByEstimatedWidthAtTheLastSpaceOrCutsLongWords) {
    const std::string a40 = Repeat('a', 40);
    const struct {
        int Width;
        int Size;
        std::string Text;
        std::vector<std::string> Lines;
    } cases[] = {
        // 400 pixels: 44 characters a line at size 10, 36 at size 12.
        {400, 10, Repeat('a', 44), {Repeat('a', 44)}},
        {400, 10, a40 + " " + Repeat('b', 10), {a40 + " ", Repeat('b', 10)}},
        {400, 10, Repeat('a', 44) + " bbbbb", {Repeat('a', 44) + " ", "bbbbb"}},
        {400, 10, " " + Repeat('a', 50), {" ", Repeat('a', 46), "aaaa"}},
        {400, 10, Repeat('x', 100), {Repeat('x', 46), Repeat('x', 46), Repeat('x', 8)}},
        {400, 10, Repeat('x', 45), {Repeat('x', 45), ""}},
        {400, 12, Repeat('y', 36), {Repeat('y', 36)}},
        {400, 12, Repeat('a', 30) + " " + Repeat('b', 10), {Repeat('a', 30) + " ", Repeat('b', 10)}},
        {400, 10, "", {""}},
        // No room for one character: no background yet, a background narrower than the margins,
        // a size of 0 or below. The text stays one line.
        {0, 10, Repeat('z', 100), {Repeat('z', 100)}},
        {30, 10, "a b c d e f", {"a b c d e f"}},
        {45, 10, "a b c d e f", {"a b c d e f"}},
        {400, 0, "a b c d e f", {"a b c d e f"}},
        {400, -3, "a b c d e f", {"a b c d e f"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Wrapped(c.Width, c.Size, c.Text), c.Lines) << c.Width << " px, size " << c.Size << ": " << c.Text;
    }
}

TEST_F(MessageBoxTest, LinesTakeTheStyleInForceWhenTheyAreAdded) {
    TMessageBox box;
    box.SetBackground(PictureOfWidth(400));
    AddDialogTitle(box, "Title");
    box.SetFontSize(12);
    box.AddText(Repeat('w', 40));
    const std::vector<TLine>& lines = box.Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(lines[0].Bold);
    EXPECT_EQ(lines[0].Size, DialogFontSize);
    EXPECT_EQ(lines[0].Color, RGB(0, 51, 51));
    EXPECT_EQ(lines[1].Size, 15);
    EXPECT_EQ(lines[1].Text, "");
    for (const std::size_t i : {2u, 3u}) {
        EXPECT_FALSE(lines[i].Bold);
        EXPECT_EQ(lines[i].Size, 12);
        EXPECT_EQ(lines[i].Color, RGB(0, 51, 51));
    }
    box.ClearText();
    EXPECT_TRUE(box.Lines().empty());
}

TEST_F(MessageBoxTest, KeysFollowTheFieldsModeAndLimit) {
    const struct {
        bool Field;
        std::uint8_t Mode;
        std::string Keys;
        std::string Text;
        bool Closed;
        bool Accepted;
        std::string Input;
    } cases[] = {
        {true, 1, "1234567", "123456", false, false, ""},
        {true, 1, "1234567\b8", "123458", false, false, ""},
        {true, 1, "\b\b12.5-3 +", "1253", false, false, ""},
        {true, 0, "aZ b9c.z\x1b", "abcz", false, false, ""},
        {true, 1, "42\r", "42", true, false, "42"},
        {true, 1, "\r", "", true, false, ""},
        {true, 7, "az09\r", "", true, false, ""},
        {false, 0, "x1\x1b\b", "", false, false, ""},
        {false, 0, "\r", "", true, true, ""},
    };
    for (const auto& c : cases) {
        TMessageBox box;
        if (c.Field) box.AddEditLine(10, 10, c.Mode);
        for (const char key : c.Keys) box.KeyPress(key);
        SCOPED_TRACE(c.Keys);
        EXPECT_EQ(box.EditLine().Text, c.Text);
        EXPECT_EQ(box.EditLine().Count, static_cast<int>(c.Text.size()));
        EXPECT_EQ(box.IsClosed(), c.Closed);
        EXPECT_EQ(box.Visible(), !c.Closed);
        EXPECT_EQ(box.IsAccepted(), c.Accepted);
        EXPECT_EQ(box.GetInput(), c.Input);
    }
}

TEST_F(MessageBoxTest, ClicksCountOnlyOnDrawnButtonsThatTheBoxOffers) {
    enum Target { OkPlace, CancelPlace, Elsewhere };
    const struct {
        bool Field;
        bool Cancel;
        Target Click;
        bool Closed;
        bool Accepted;
        std::string Input;
    } cases[] = {
        {true, false, OkPlace, true, true, "77"},    {true, false, CancelPlace, true, false, ""},
        {true, false, Elsewhere, false, false, ""},  {false, true, OkPlace, true, true, ""},
        {false, true, CancelPlace, true, false, ""}, {false, false, CancelPlace, false, false, ""},
        {false, false, OkPlace, true, true, ""},
    };
    for (const auto& c : cases) {
        TMessageBox box;
        box.SetBackground(31);
        box.Center();
        if (c.Cancel) box.ShowCancel();
        if (c.Field) box.AddEditLine(470, 309, 1);
        box.KeyPress('7');
        box.KeyPress('7');
        const TPoint point = c.Click == OkPlace       ? Centre(box.OkButton())
                             : c.Click == CancelPlace ? Centre(box.CancelButton())
                                                      : TPoint{box.X() + 5, box.Y() + 5};
        box.MouseDown(point);
        EXPECT_FALSE(box.IsClosed()) << "a click before the first Draw finds no button";
        box.Draw();
        box.MouseDown(point);
        SCOPED_TRACE(testing::Message() << "field " << c.Field << ", cancel " << c.Cancel << ", target " << c.Click);
        EXPECT_EQ(box.IsClosed(), c.Closed);
        EXPECT_EQ(box.IsAccepted(), c.Accepted);
        EXPECT_EQ(box.GetInput(), c.Input);
    }
}

TEST_F(MessageBoxTest, AHiddenBoxIgnoresClicksAndDrawsNothingButTakesKeys) {
    TMessageBox box;
    box.SetBackground(31);
    box.Center();
    box.AddText("Hidden");
    box.Draw();
    box.SetVisible(false);
    box.MouseDown(Centre(box.OkButton()));
    EXPECT_FALSE(box.IsClosed());
    Surface().Fill(0);
    box.Draw();
    EXPECT_TRUE(InkRows(Surface().ClientRect(), 0).empty());
    box.KeyPress('\r');
    EXPECT_TRUE(box.IsClosed());
    EXPECT_TRUE(box.IsAccepted());
}

TEST_F(MessageBoxTest, EachLineMovesDownByItsSizePlusTheSpacing) {
    for (const int spacing : {0, 3}) {
        TMessageBox box;
        box.SetPosition(100, 100);
        box.SetLineSpacing(spacing);
        box.AddText("X");
        box.AddSpace(15);
        box.AddText("X");
        Surface().Fill(0);
        box.Draw();
        const std::vector<int> rows = InkRows({120, 100, 140, 200}, 0);
        ASSERT_FALSE(rows.empty());
        // The second X starts where the ink resumes after a gap.
        const auto gap = std::adjacent_find(rows.begin(), rows.end(), [](int a, int b) { return b != a + 1; });
        ASSERT_NE(gap, rows.end());
        EXPECT_EQ(*(gap + 1) - rows.front(), 10 + 15 + 2 * spacing) << "spacing " << spacing;
    }
}

TEST_F(MessageBoxTest, TheCaretIsHiddenForTenFiftiethsOfASecondThenShownForTen) {
    TMessageBox box;
    box.AddEditLine(300, 300, 1);
    box.KeyPress('1');
    box.KeyPress('2');
    TDirectDrawSurfaceCanvas& canvas = Surface().Canvas();
    canvas.Font.Name = "Courier New";
    canvas.Font.Size = 10;
    const TRect caretPlace{300 + canvas.TextWidth("12"), 295, 300 + canvas.TextWidth("12|"), 320};
    // A tenth of a second a frame: the phase runs 5, 10, 15, 20 (back to 0), 5, ...
    Main::FrameTime = 0.1f;
    const bool shown[] = {false, true, true, true, false, true};
    for (std::size_t frame = 0; frame < std::size(shown); ++frame) {
        Surface().Fill(0);
        box.Draw();
        EXPECT_EQ(!InkRows(caretPlace, 0).empty(), shown[frame]) << "frame " << frame;
        EXPECT_FALSE(InkRows({300, 295, caretPlace.Left - 1, 320}, 0).empty()) << "the digits are always drawn";
    }
}
