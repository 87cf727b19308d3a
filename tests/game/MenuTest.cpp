#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/Menu.h"
#include "game/Preferences.h"
#include "game/Texts.h"
#include "support/AllocationCounter.h"
#include "support/GameWindow.h"

namespace {

using namespace Menu;

class MenuTest : public GameWindowTest {
protected:
    void SetUp() override {
        Open();
        PlayedEffects();
    }
    void TearDown() override { Preferences::Current = {}; }

    // The pixel of picture `index` at (x, y) of the picture, as the surface stores it.
    std::uint16_t PicturePixel(int index, int x, int y) {
        return Surface().ColorToPixel(Form->DXImageList1->Items().Items(index).Picture.Pixel(x, y));
    }

    // True when every opaque pixel of picture `index` drawn at `at` is on the surface.
    bool Shows(int index, TPoint at) {
        const TPictureCollectionItem& item = Form->DXImageList1->Items().Items(index);
        for (int y = 0; y < item.Height(); ++y) {
            for (int x = 0; x < item.Width(); ++x) {
                const bool opaque = !item.Transparent || item.Picture.Pixel(x, y) != item.TransparentColor;
                if (opaque && Surface().Pixel(at.X + x, at.Y + y) != PicturePixel(index, x, y)) {
                    return false;
                }
            }
        }
        return true;
    }
};

}  // namespace

TEST_F(MenuTest, StartMenuOpensTheMainScreenOnTheMenuGraphics) {
    MenuScreen = ScreenOptions;
    MenuHover = 3;
    Main::AppMode = Main::AppModeGame;
    StartMenu();
    EXPECT_EQ(Main::AppMode, Main::AppModeMenu);
    EXPECT_EQ(MenuScreen, ScreenMain);
    EXPECT_EQ(MenuHover, NoHover);
    EXPECT_EQ(Form->DXImageList1->Items().Count(), 13);
}

TEST_F(MenuTest, ClicksActOnTheFirstAreaHoldingThePointAfterItsSound) {
    bool* const none = nullptr;
    const struct {
        std::uint8_t Screen;
        TPoint Point;
        std::uint8_t Then;
        int Sound;  // -1: none
        bool* Toggled;
    } cases[] = {
        {ScreenMain, {50, 180}, ScreenNewGame, 7, none},
        {ScreenMain, {179, 204}, ScreenNewGame, 7, none},
        {ScreenMain, {180, 190}, ScreenMain, -1, none},
        {ScreenMain, {50, 205}, ScreenMain, -1, none},
        {ScreenMain, {739, 199}, ScreenBestScore, 7, none},
        {ScreenMain, {185, 250}, ScreenOptions, 7, none},
        {ScreenMain, {625, 325}, ScreenPicture, 7, none},
        {ScreenMain, {720, 330}, ScreenMain, -1, none},
        {ScreenNewGame, {30, 535}, ScreenMain, 7, none},
        {ScreenNewGame, {365, 142}, ScreenNewGame, 4, &Main::ShipChoice},
        {ScreenNewGame, {640, 328}, ScreenNewGame, 4, &Main::ShipChoice},
        {ScreenNewGame, {398, 175}, ScreenNewGame, -1, none},
        {ScreenNewGame, {50, 190}, ScreenNewGame, -1, none},
        {ScreenBestScore, {308, 570}, ScreenMain, 7, none},
        {ScreenBestScore, {309, 570}, ScreenBestScore, -1, none},
        {ScreenOptions, {37, 550}, ScreenMain, 7, none},
        {ScreenOptions, {170, 180}, ScreenOptions, 4, &Main::MusicOn},
        {ScreenOptions, {170, 210}, ScreenOptions, 4, &Main::StereoOn},
        {ScreenOptions, {700, 410}, ScreenOptions, 4, &Main::ShowFps},
        {ScreenOptions, {198, 141}, ScreenOptions, -1, none},
        {ScreenPicture, {321, 577}, ScreenMain, 7, none},
        {ScreenPicture, {322, 577}, ScreenPicture, -1, none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "screen " << int(c.Screen) << " at " << c.Point.X << "," << c.Point.Y);
        MenuScreen = c.Screen;
        const bool before = c.Toggled != nullptr ? *c.Toggled : false;
        MenuMouseDown(c.Point);
        EXPECT_EQ(MenuScreen, c.Then);
        EXPECT_EQ(PlayedEffects(), c.Sound < 0 ? std::vector<int>{} : std::vector<int>{c.Sound});
        if (c.Toggled != nullptr) {
            EXPECT_NE(*c.Toggled, before);
            *c.Toggled = before;
        }
    }
}

TEST_F(MenuTest, TheToggleSoundPlaysBeforeSoundIsSwitchedSoOnlySwitchingOffClicks) {
    MenuScreen = ScreenOptions;
    Main::SoundOn = true;
    MenuMouseDown({165, 141});
    EXPECT_FALSE(Main::SoundOn);
    EXPECT_EQ(PlayedEffects(), std::vector<int>{4});
    MenuMouseDown({197, 169});
    EXPECT_TRUE(Main::SoundOn);
    EXPECT_TRUE(PlayedEffects().empty());
}

TEST_F(MenuTest, TheVolumePlatesAndKeysStepTheVolumesByTenWithinZeroToAHundred) {
    constexpr TPoint Nowhere{600, 500}, SoundRow{200, 150}, MusicRow{460, 195};
    const struct {
        std::uint8_t Screen;
        TPoint Pointer;  // clicked when Key is 0
        char Key;
        int Effects, Music;  // before
        int EffectsThen, MusicThen;
        int Sound;  // -1: none
    } cases[] = {
        {ScreenOptions, {292, 143}, 0, 100, 100, 90, 100, 4},  {ScreenOptions, {315, 167}, 0, 0, 50, 0, 50, 4},
        {ScreenOptions, {426, 143}, 0, 95, 100, 100, 100, 4},  {ScreenOptions, {449, 167}, 0, 100, 0, 100, 0, 4},
        {ScreenOptions, {292, 175}, 0, 100, 55, 100, 50, 4},   {ScreenOptions, {449, 199}, 0, 100, 0, 100, 10, 4},
        {ScreenOptions, {316, 143}, 0, 50, 50, 50, 50, -1},    {ScreenOptions, {426, 200}, 0, 50, 50, 50, 50, -1},
        {ScreenOptions, SoundRow, '-', 50, 50, 40, 50, 4},     {ScreenOptions, MusicRow, '+', 50, 50, 50, 60, 4},
        {ScreenOptions, Nowhere, '=', 50, 90, 60, 100, 4},     {ScreenOptions, Nowhere, '-', 0, 10, 0, 0, 4},
        {ScreenOptions, SoundRow, 'x', 50, 50, 50, 50, -1},    {ScreenMain, Nowhere, '-', 50, 50, 50, 50, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "screen " << int(c.Screen) << " at " << c.Pointer.X << "," << c.Pointer.Y
                                        << " key " << (c.Key != 0 ? c.Key : ' '));
        MenuScreen = c.Screen;
        Preferences::Current.EffectsVolume = c.Effects;
        Preferences::Current.MusicVolume = c.Music;
        Move(c.Pointer.X, c.Pointer.Y);
        if (c.Key != 0) {
            Type(std::string(1, c.Key));
        } else {
            MenuMouseDown(c.Pointer);
        }
        EXPECT_EQ(Preferences::Current.EffectsVolume, c.EffectsThen);
        EXPECT_EQ(Preferences::Current.MusicVolume, c.MusicThen);
        EXPECT_EQ(PlayedEffects(), c.Sound < 0 ? std::vector<int>{} : std::vector<int>{c.Sound});
        EXPECT_EQ(Main::CursorOverButton, c.Key == 0 && c.Sound >= 0) << "red over the plates only";
    }
}

TEST_F(MenuTest, TheEffectsVolumeReachesTheMixerAfterTheEffectsOwnPan) {
    MenuScreen = ScreenOptions;
    Move(200, 150);
    const auto phaser = [&](const char* keys) {
        Type(keys);
        return PhaserPeak();
    };
    const float half = phaser("-----");  // 50 %: a quarter of the amplitude
    const float full = phaser("+++++");
    EXPECT_GT(full, 0.01f);
    EXPECT_NEAR(half, full / 4, full / 1000);
    EXPECT_EQ(phaser("----------"), 0.0f);
}

TEST_F(MenuTest, TheVolumeSlotsLightOnePerTenPercent) {
    MenuScreen = ScreenOptions;
    const int levels[][2] = {{100, 0}, {30, 70}, {55, 100}};
    for (const auto& [effects, music] : levels) {
        SCOPED_TRACE(testing::Message() << effects << " " << music);
        Preferences::Current.EffectsVolume = effects;
        Preferences::Current.MusicVolume = music;
        RunFrames(1, 16);
        for (int slot = 0; slot < 10; ++slot) {
            EXPECT_EQ(Shows(12, {322 + 10 * slot, 146}), slot < effects / 10) << slot;
            EXPECT_EQ(Shows(12, {322 + 10 * slot, 178}), slot < music / 10) << slot;
        }
    }
}

TEST_F(MenuTest, TheVSynchBoxSwitchesTheDisplayOptionsAndTwoClicksRestoreThem) {
    MenuScreen = ScreenOptions;
    const TDXDrawOptions before = Form->DXDraw1->Options();
    MenuMouseDown({690, 373});
    EXPECT_FALSE(Main::VSynchOn);
    EXPECT_EQ(Form->DXDraw1->Options() & (doWaitVBlank | doRetainedMode | doFlip), 0);
    EXPECT_TRUE(Form->DXDraw1->Initialized());
    MenuMouseDown({722, 401});
    EXPECT_TRUE(Main::VSynchOn);
    EXPECT_EQ(Form->DXDraw1->Options(), before);
}

TEST_F(MenuTest, StartPlaysItsClickClearsTheScreenAndStartsAGame) {
    MenuScreen = ScreenNewGame;
    Surface().Fill(0xFFFF);
    MenuMouseDown({737, 560});
    EXPECT_EQ(Main::AppMode, Main::AppModeGame);
    EXPECT_TRUE(Game::GameRunning());
    EXPECT_EQ(PlayedEffects(), std::vector<int>{7});
    EXPECT_EQ(Surface().Pixel(400, 300), 0);
}

TEST_F(MenuTest, ExitAndSendLeaveTheProgramSendOnlyAgreeingToUpload) {
    const struct {
        std::uint8_t Screen;
        TPoint Point;
        bool Send;
    } cases[] = {{ScreenMain, {40, 335}, false}, {ScreenBestScore, {504, 299}, true}};
    for (const auto& c : cases) {
        Form.reset();
        Open();
        MenuScreen = c.Screen;
        MenuMouseDown(c.Point);
        EXPECT_TRUE(Form->Closed());
        EXPECT_EQ(Main::SendScoreAtExit, c.Send);
        EXPECT_EQ(PlayedEffects(), std::vector<int>{7});
        App.Reset();
    }
}

TEST_F(MenuTest, HoverLightsTheMainItemUnderThePointerAndRedsTheCursorOverAnyArea) {
    const struct {
        std::uint8_t Screen;
        TPoint Point;
        std::uint8_t Hover;
        bool Red;
    } cases[] = {
        {ScreenMain, {100, 190}, 2, true},      {ScreenMain, {600, 180}, 3, true},
        {ScreenMain, {200, 260}, 0, true},      {ScreenMain, {169, 359}, 4, true},
        {ScreenMain, {630, 330}, 1, true},      {ScreenMain, {180, 190}, NoHover, false},
        {ScreenOptions, {690, 407}, NoHover, true}, {ScreenOptions, {100, 190}, NoHover, false},
        {ScreenNewGame, {550, 535}, NoHover, true}, {ScreenPicture, {100, 190}, NoHover, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "screen " << int(c.Screen) << " at " << c.Point.X << "," << c.Point.Y);
        MenuScreen = c.Screen;
        MenuHover = NoHover;
        MenuMouseMove(c.Point);
        EXPECT_EQ(MenuHover, c.Hover);
        EXPECT_EQ(Main::CursorOverButton, c.Red);
    }
    MenuScreen = ScreenMain;
    MenuMouseMove({100, 190});
    MenuScreen = ScreenOptions;
    MenuMouseMove({0, 0});
    EXPECT_EQ(MenuHover, 2) << "other screens leave the main screen's highlight alone";
}

TEST_F(MenuTest, EachScreenDrawsItsBackgroundTenPixelsLeftAndItsOwnPieces) {
    Main::ShipChoice = true;
    Main::ShowFps = false;
    MenuHover = 4;  // exit: picture 3 at (225, 336)
    const struct {
        std::uint8_t Screen;
        int Background;
        std::vector<std::pair<int, TPoint>> Pieces;
    } cases[] = {
        {ScreenMain, 7, {{3, {225, 336}}}},
        {ScreenOptions, 8, {{6, {165, 141}}, {6, {165, 173}}, {6, {165, 206}}, {6, {690, 373}}, {5, {690, 407}}}},
        {ScreenPicture, 10, {}},
        {ScreenNewGame, 11, {{6, {365, 142}}, {5, {608, 296}}}},
        {ScreenBestScore, 9, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Screen));
        MenuScreen = c.Screen;
        RunFrames(1, 16);
        EXPECT_EQ(Surface().Pixel(790, 590), PicturePixel(c.Background, 800, 590));
        EXPECT_EQ(Surface().Pixel(400, 5), PicturePixel(c.Background, 410, 5));
        for (const auto& [picture, at] : c.Pieces) {
            EXPECT_TRUE(Shows(picture, at)) << "picture " << picture << " at " << at.X << "," << at.Y;
        }
    }
}

TEST_F(MenuTest, TheBestScoreIsWrittenInItsOwnColour) {
    MenuScreen = ScreenBestScore;
    const std::uint16_t ink = Surface().ColorToPixel(RGB(49, 85, 65));
    const auto inked = [&] {
        int count = 0;
        for (int y = 213; y < 250; ++y) {
            for (int x = 245; x < 420; ++x) count += Surface().Pixel(x, y) == ink;
        }
        return count;
    };
    Main::BestScore = 0;
    RunFrames(1, 16);
    const int zero = inked();
    Main::BestScore = -2147483647 - 1;
    RunFrames(1, 16);
    EXPECT_GT(zero, 20);
    EXPECT_GT(inked(), 4 * zero) << "eleven characters against one";
}

TEST_F(MenuTest, NeitherTheMenuNorAnOpenBoxAllocatesPerFrameOnceTheirLinesAreKept) {
    Main::BestScore = 123456;
    Form->DXImageList1->Items().LoadFromFile("Data/GGraphics.dxg");
    TMessageBox box;
    box.SetBackground(31);
    box.Center();
    box.AddText("Type angle (in degrees): and a line long enough to be wrapped onto the next one");
    box.AddEditLine(470, 309, 1);
    box.KeyPress('4');
    Main::FrameTime = 0.05f;
    for (int frame = 0; frame < 10; ++frame) box.Draw();  // the caret shown and hidden once each
    StartCountingAllocations();
    for (int frame = 0; frame < 10; ++frame) box.Draw();
    EXPECT_EQ(StopCountingAllocations(), 0u);

    StartMenu();
    RunFrames(1, 16);
    for (const std::uint8_t screen : {ScreenMain, ScreenOptions, ScreenPicture, ScreenNewGame, ScreenBestScore}) {
        MenuScreen = screen;
        MenuFrame();
        StartCountingAllocations();
        MenuFrame();
        EXPECT_EQ(StopCountingAllocations(), 0u) << int(screen);
    }
}
