// The game's dialogs drawn off-screen with the real fonts and the generated plates: the small
// box (picture 31) with the torpedo and transport questions and the best-score question, and
// the large box (picture 32) with the welcome text. Each picture is saved as a PNG in the build
// folder (pictures/) to be looked at, and checked: every line inside its plate and above the
// buttons, and the prompts ending just before their input fields.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/display/SurfaceCanvas.h"
#include "game/Texts.h"
#include "platform/ImageFile.h"
#include "support/GameWindow.h"

namespace {

constexpr TColor TitleColor = RGB(0, 51, 51);

struct Prompt {
    std::string Text;
    TPoint Field;
};

struct Dialog {
    std::string Name;
    int Background;
    std::function<void(TMessageBox&)> Fill;
    std::string Typed;           // typed into the input field, if the box has one
    std::vector<Prompt> Prompts;  // the bold prompts that precede an input field
};

void Title(TMessageBox& box, const char* title) {
    box.SetFontSize(10);
    box.SetBold(true);
    box.SetFontColor(TitleColor);
    box.AddText(title);
    box.AddSpace(15);
    box.SetBold(false);
}

const std::vector<Dialog>& Dialogs() {
    static const std::vector<Dialog> dialogs = {
        {"torpedo", 31,
         [](TMessageBox& box) {
             Title(box, "Fire photon torpedo:");
             box.AddText("Photon torpedo is a mighty gun, which is especially effective against big ships.");
             box.AddSpace(15);
             box.AddText("You have to input angle, in which will be photon torpedo fired.");
             box.AddSpace(15);
             box.SetBold(true);
             box.AddText("Type angle (in degrees):");
             box.SetBold(false);
             box.AddEditLine(470, 309, 1);
         },
         "135", {{"Type angle (in degrees):", {470, 309}}}},
        {"transport", 31,
         [](TMessageBox& box) {
             Title(box, "Supplies transport:");
             box.AddText("Supply ship can provide you with new ammo and equipment for repair your ship.");
             box.AddSpace(15);
             box.AddText("You have to calculate approximate direct distance, between your ship and friendly supply "
                         "ship, for transport requied supplies.");
             box.AddSpace(15);
             box.SetBold(true);
             box.AddText("Your position: [9;12]");
             box.AddText("Supply ship position: [9;1]");
             box.AddText("Type distance:");
             box.AddEditLine(390, 349, 1);
         },
         "11", {{"Type distance:", {390, 349}}}},
        {"best-score", 31,
         [](TMessageBox& box) {
             box.ShowCancel();
             Title(box, "Best score");
             box.AddText("Congratulations, you have done your best score. Do you want to send it to Quorbix online "
                         "score database? If yes, press enter or OK button, otherwise click on Cancel.");
         },
         "", {}},
        {"welcome", 32,
         [](TMessageBox& box) {
             Title(box, "Welcome to the game: Zarvoth Mutador...");
             box.AddText(
                 "You are a captain of a one ship from the zarvoth fleet. Your house guiled the federation and other "
                 "zarvoths. You are the only survival from squadron, which was sended to ambush the federation fleet. "
                 "Now you must face against superiority of federation ships. Cardassians, whose are in this area, have "
                 "promised us to help you with resupply, so do not shoot on them! Use your shields for protection, "
                 "cloak for sneak attack and weapons to destroy as much enemy ships as is possible, the victory of "
                 "your house depends on you...");
             box.AddText("Win or die with honor!!!");
             box.AddSpace(50);
             box.SetBold(true);
             box.AddText("Controls:");
             box.AddSpace(15);
             for (const char* line : {"Player move    ...... arrows (A,S,D,W)", "Fire phaser    ...... left mouse",
                                      "Fire torpedo   ...... T", "Cloak ship     ...... C",
                                      "Enable shields ...... right mouse (H)", "Transport      ...... R",
                                      "Game menu      ...... ESC (M)"}) {
                 box.AddText(line);
             }
         },
         "", {}},
    };
    return dialogs;
}

class DialogPicturesTest : public GameWindowTest {
protected:
    void SetUp() override {
        Open();
        Form->DXImageList1->Items().LoadFromFile("Data/GGraphics.dxg");
    }

    // Opens the box as the game does: background, shown, centred, then its text.
    std::unique_ptr<TMessageBox> Build(const Dialog& dialog) {
        auto box = std::make_unique<TMessageBox>();
        box->SetBackground(dialog.Background);
        box->SetVisible(true);
        box->Center();
        dialog.Fill(*box);
        for (const char key : dialog.Typed) {
            box->KeyPress(key);
        }
        return box;
    }

    int TextWidth(const TLine& line) {
        TDirectDrawSurfaceCanvas& canvas = Surface().Canvas();
        canvas.Font.Name = "Courier New";
        canvas.Font.Size = line.Size;
        canvas.Font.Style = line.Bold ? TFontStyle::Bold : TFontStyle::Regular;
        // A line broken at a blank ends with it; the blank leaves no ink.
        const std::string ink = line.Text.substr(0, line.Text.find_last_not_of(' ') + 1);
        return canvas.TextWidth(ink);
    }
};

}  // namespace

TEST_F(DialogPicturesTest, LinesStayOnTheirPlatesAndPromptsEndBeforeTheirFields) {
    for (const Dialog& dialog : Dialogs()) {
        SCOPED_TRACE(dialog.Name);
        const std::unique_ptr<TMessageBox> box = Build(dialog);
        const int plateRight = box->X() + box->Width() - 8;  // inside the bronze rim
        const int buttonsTop = box->Y() + box->Height() - 40;
        int y = box->Y() + 20;
        for (const TLine& line : box->Lines()) {
            y += box->LineSpacing();
            const int right = box->X() + 20 + TextWidth(line);
            EXPECT_LE(right, plateRight) << '"' << line.Text << '"';
            EXPECT_LE(y + line.Size, buttonsTop) << '"' << line.Text << '"';
            for (const Prompt& prompt : dialog.Prompts) {
                if (line.Text == prompt.Text) {
                    EXPECT_EQ(y, prompt.Field.Y) << "the prompt shares the field's line";
                    EXPECT_LE(right, prompt.Field.X) << "the prompt ends before its field";
                    EXPECT_GE(right, prompt.Field.X - 12) << "and just before it";
                }
            }
            y += line.Size;
        }

        // Drawn over a dark screen with the caret showing (a quarter second into its blink).
        Surface().Fill(Surface().ColorToPixel(RGB(8, 10, 24)));
        Main::FrameTime = 0.25f;
        box->Draw();
        SavePicture("dialog-" + dialog.Name);
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
