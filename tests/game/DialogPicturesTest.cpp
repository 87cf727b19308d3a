// The game's dialogs as the game opens them, drawn off-screen with the real fonts and the
// generated plates: the small box (picture 31) with the torpedo and transport questions, the
// best-score question and the ship notes, and the large box (picture 32) with the welcome and the
// other mission texts. Each picture is saved as a PNG in the build folder (pictures/) to be
// looked at, as is the game's overlay, and checked: every line inside its plate and above the
// buttons, no line's ink running into the next line's, and the prompts ending just before their
// input fields.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/display/SurfaceCanvas.h"
#include "game/Game.h"
#include "game/MissionTexts.h"
#include "game/Texts.h"
#include "support/GameWindow.h"

namespace {

using Pixel = std::pair<int, int>;  // x, y

// A bold prompt and the place of the input field it precedes.
struct Prompt {
    std::string Text;
    TPoint Field;
};

class DialogPicturesTest : public GameWindowTest {
protected:
    void SetUp() override {
        Screen = &QuietScreen;
        Open();
    }

    // The surface's canvas set up for a line of a box, in white on a transparent background.
    static TDirectDrawSurfaceCanvas& LineCanvas(TDirectDrawSurface& surface, const TLine& line) {
        TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Font.Name = "Courier New";
        canvas.Font.Size = line.Size;
        canvas.Font.Style = line.Bold ? TFontStyle::Bold : TFontStyle::Regular;
        canvas.Font.Color = RGB(255, 255, 255);
        return canvas;
    }

    int TextWidth(const TLine& line) {
        TDirectDrawSurfaceCanvas& canvas = LineCanvas(Surface(), line);
        // A line broken at a blank ends with it; the blank leaves no ink.
        const std::string ink = line.Text.substr(0, line.Text.find_last_not_of(' ') + 1);
        return canvas.TextWidth(ink);
    }

    // Checks the box's lines against its plate and prompts, then draws it over a dark screen with
    // the caret showing (a quarter second into its blink) and saves the picture.
    void CheckAndSave(const std::string& name, TMessageBox& box, const std::vector<Prompt>& prompts = {}) {
        SCOPED_TRACE(name);
        const int plateRight = box.X() + box.Width() - 8;  // inside the bronze rim
        const int buttonsTop = box.Y() + box.Height() - 40;
        int y = box.Y() + 20;
        std::size_t promptsFound = 0;
        for (const TLine& line : box.Lines()) {
            y += box.LineSpacing();
            const int right = box.X() + 20 + TextWidth(line);
            EXPECT_LE(right, plateRight) << '"' << line.Text << '"';
            EXPECT_LE(y + line.Size, buttonsTop) << '"' << line.Text << '"';
            for (const Prompt& prompt : prompts) {
                if (line.Text == prompt.Text) {
                    ++promptsFound;
                    EXPECT_EQ(y, prompt.Field.Y) << "the prompt shares the field's line";
                    EXPECT_LE(right, prompt.Field.X) << "the prompt ends before its field";
                    EXPECT_GE(right, prompt.Field.X - 12) << "and just before it";
                }
            }
            y += line.Size;
        }
        EXPECT_EQ(promptsFound, prompts.size());
        const std::set<int> meet = RowsWhereLinesMeet(box);
        EXPECT_TRUE(meet.empty()) << meet.size() << " rows where lines run into each other, the first at y = "
                                  << *meet.begin();
        for (const Prompt& prompt : prompts) {
            EXPECT_EQ((TPoint{box.EditLine().X, box.EditLine().Y}), prompt.Field) << "the field the game placed";
        }
        Surface().Fill(Surface().ColorToPixel(RGB(8, 10, 24)));
        Main::FrameTime = 0.25f;
        box.Draw();
        SavePicture("dialog-" + name);
    }

    // The pixels a line inks (at least half covered) where the box draws it, drawn alone.
    static std::set<Pixel> InkOf(const TLine& line, TPoint at) {
        TDirectDrawSurface scratch(800, 600, platform::PixelLayout::RGB565);
        scratch.Fill(0);
        TDirectDrawSurfaceCanvas& canvas = LineCanvas(scratch, line);
        canvas.TextOut(at.X, at.Y, line.Text);
        canvas.Release();
        std::set<Pixel> ink;
        for (int y = std::max(at.Y - line.Size, 0); y < std::min(at.Y + 3 * line.Size, scratch.Height()); ++y) {
            for (int x = 0; x < scratch.Width(); ++x) {
                if (((scratch.Pixel(x, y) >> 5) & 0x3F) >= 32) ink.insert(Pixel{x, y});
            }
        }
        return ink;
    }

    // The rows in which the ink of a line of the box meets the ink of the line above it: both
    // ink one pixel, so that one has run into the other.
    static std::set<int> RowsWhereLinesMeet(const TMessageBox& box) {
        std::set<int> rows;
        std::set<Pixel> above;
        int y = box.Y() + 20;
        for (const TLine& line : box.Lines()) {
            y += box.LineSpacing();
            std::set<Pixel> ink = InkOf(line, {box.X() + 20, y});
            for (const Pixel& pixel : ink) {
                if (above.count(pixel) != 0) rows.insert(pixel.second);
            }
            above = std::move(ink);
            y += line.Size;
        }
        return rows;
    }

    void Frames(int count) { RunFrames(count, 16); }
};

}  // namespace

TEST_F(DialogPicturesTest, LinesStayOnTheirPlatesAndPromptsEndBeforeTheirFields) {
    Frames(1);
    Game::StartGame();
    while (Game::GameState != Game::StateDialog) Frames(1);
    ASSERT_TRUE(Game::GameBox);
    CheckAndSave("welcome", *Game::GameBox);
    Type("\r");
    Main::ShowFps = true;
    Frames(1);
    SavePicture("game-overlay");

    Type("t135");
    ASSERT_TRUE(Game::GameBox);
    CheckAndSave("torpedo", *Game::GameBox, {{"Type angle (in degrees):", {470, 309}}});
    Type("\r");
    Frames(1);

    Game::SpawnSpecial(SpriteClassOf<TFriendSupplyShip>());
    while (!Game::SupplyShip->IsInPosition()) Frames(1);
    Type("r11");
    ASSERT_TRUE(Game::GameBox);
    CheckAndSave("transport", *Game::GameBox, {{"Type distance:", {390, 349}}});
    Type("\r");
    Frames(1);

    Main::NewBestScore = true;
    Main::QuitGame();
    ASSERT_NE(Main::BestScoreBox, nullptr);
    CheckAndSave("best-score", *Main::BestScoreBox);
}

TEST_F(DialogPicturesTest, EveryMissionTextStaysOnItsPlateWithoutLinesRunningTogether) {
    Frames(1);
    Game::StartGame();
    for (const Game::TMissionText& text : Game::MissionTexts) {
        text.Show();
        ASSERT_TRUE(Game::GameBox);
        CheckAndSave("mission-" + std::to_string(&text - Game::MissionTexts.data() + 1), *Game::GameBox);
        Type("\r");
        Frames(1);
    }
}

TEST_F(DialogPicturesTest, TheBestScoreDialogIsDrawnEachFrameUntilItIsAnswered) {
    Main::NewBestScore = true;
    Main::QuitGame();
    RunFrames(1, 16);
    const TGButton& ok = Main::BestScoreBox->OkButton();
    const TPictureCollectionItem& picture = Form->DXImageList1->Items().Items(29);
    const int x = picture.Width() / 2;
    const int y = picture.Height() / 2;
    EXPECT_EQ(Surface().Pixel(ok.X() + x, ok.Y() + y), Surface().ColorToPixel(picture.Picture.Pixel(x, y)));
    EXPECT_EQ(Surface().Pixel(5, 590), 0) << "over a black screen";
    SavePicture("dialog-best-score-frame");
}
