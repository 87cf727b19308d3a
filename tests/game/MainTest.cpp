#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "game/Game.h"
#include "game/Main.h"
#include "game/Menu.h"
#include "game/Preferences.h"
#include "game/Settings.h"
#include "support/Fifo.h"
#include "support/GameWindow.h"
#include "support/ScopedEnvironment.h"

namespace {

TEST(FrameRate, CountsTheFramesOfTheFirstIntervalLongerThanASecond) {
    Main::ResetFrameRate();
    for (int frame = 1; frame <= 59; ++frame) {
        Main::UpdateFrameRate(static_cast<std::uint32_t>(frame * 1010 / 59));
        if (frame < 59) {
            EXPECT_EQ(Main::Fps, 0) << frame;
        }
    }
    EXPECT_EQ(Main::Fps, 59);
    Main::UpdateFrameRate(1026);
    EXPECT_EQ(Main::FrameTime, 1.026f - 1.01f);
}

TEST(FrameRate, ExactlyOneSecondIsNotYetAnUpdate) {
    Main::ResetFrameRate();
    for (int frame = 1; frame <= 50; ++frame) Main::UpdateFrameRate(static_cast<std::uint32_t>(frame * 20));
    EXPECT_EQ(Main::Fps, 0);
    Main::UpdateFrameRate(1001);
    EXPECT_EQ(Main::Fps, 51);
}

// The real window (SDL's dummy driver), display, frame timer and routing on a stepped clock;
// the frames of the menu and the game are only counted.
class MainWindowTest : public GameWindowTest {
protected:
    MainWindowTest() {
        Main::Routes()[Main::AppModeMenu].Frame = [this](int lag) { MenuLags.push_back(lag); };
        Main::Routes()[Main::AppModeGame].Frame = [this](int lag) { GameLags.push_back(lag); };
    }

    std::vector<int> MenuLags;
    std::vector<int> GameLags;
};

}  // namespace

TEST_F(MainWindowTest, RunsHundredsOfFramesRoutedByModeOnAFullScreenSurface) {
    Open();
    ASSERT_TRUE(Form->DXDraw1->Initialized());
    EXPECT_EQ(Form->DXDraw1->Surface()->Width(), 800);
    EXPECT_EQ(Form->DXDraw1->Surface()->Height(), 600);
    EXPECT_EQ(Window.Caption(), "Zarvoth Mutador 1.0");
    EXPECT_EQ(Main::AppMode, Main::AppModeMenu);

    RunFrames(300, 16);
    ASSERT_EQ(MenuLags.size(), 300u);
    EXPECT_EQ(MenuLags.front(), 16);
    EXPECT_EQ(Window.PresentedFrames(), 300u);
    // 32-bit floats of the tick count in seconds, subtracted: exact to the last bit.
    const std::uint32_t now = Clock();
    EXPECT_EQ(Main::FrameTime, static_cast<float>(now * 0.001) - static_cast<float>((now - 16) * 0.001));
    EXPECT_EQ(Main::Fps, 63) << "63 frames of 16 ms are the first span over one second";

    Main::AppMode = Main::AppModeGame;
    RunFrames(2, 40);
    EXPECT_EQ(GameLags, (std::vector<int>{40, 40}));
    Main::AppMode = Main::AppModeClosing;
    RunFrames(1, 16);
    EXPECT_EQ(MenuLags.size() + GameLags.size(), 302u);
    EXPECT_EQ(Window.PresentedFrames(), 303u) << "the closing mode still flips";
}

TEST_F(MainWindowTest, AFrameIsSkippedWhileTheDisplayCannotDraw) {
    Open();
    Form->DXDraw1->Finalize();
    RunFrames(5, 16);
    EXPECT_TRUE(MenuLags.empty());
    EXPECT_EQ(Window.PresentedFrames(), 0u);
}

TEST_F(MainWindowTest, InputIsRoutedByModeAndIgnoredWhereNothingListens) {
    Open();
    std::vector<char> keys;
    std::vector<TPoint> clicks;
    Main::Routes()[Main::AppModeGame].KeyPress = [&](char key) { keys.push_back(key); };
    Main::Routes()[Main::AppModeMenu].MouseDown = [&](platform::TShiftState, TPoint p) { clicks.push_back(p); };
    Form->FormKeyPress('t');  // menu: ignored
    Form->DXDraw1MouseDown(platform::MouseButton::Left, platform::ssLeft, 50, 190);
    Main::AppMode = Main::AppModeGame;
    Form->FormKeyPress('t');
    Form->DXDraw1MouseDown(platform::MouseButton::Left, platform::ssLeft, 1, 2);
    Main::AppMode = Main::AppModeClosing;
    Form->FormKeyPress('x');
    EXPECT_EQ(keys, std::vector<char>{'t'});
    EXPECT_EQ(clicks, std::vector<TPoint>{(TPoint{50, 190})});
}

TEST_F(MainWindowTest, VSynchSwitchRebuildsTheDisplayWithoutPageFlipping) {
    Open();
    Menu::SetVSynch(false);
    EXPECT_TRUE(Form->DXDraw1->Initialized());
    EXPECT_EQ(Form->DXDraw1->EffectiveOptions() & (doFlip | doWaitVBlank), 0);
    RunFrames(3, 5);
    EXPECT_EQ(MenuLags.size(), 3u) << "the frame timer restarts with the display";
    Menu::SetVSynch(true);
    EXPECT_NE(Form->DXDraw1->EffectiveOptions() & doFlip, 0);
    EXPECT_NE(Form->DXDraw1->Options() & doRetainedMode, 0);

    // Only page flipping set: switching on changes nothing, switching off needs all three.
    Form->DXDraw1->SetOptions(static_cast<TDXDrawOptions>(Form->DXDraw1->Options() & ~(doWaitVBlank | doRetainedMode)));
    const TDXDrawOptions before = Form->DXDraw1->Options();
    Menu::SetVSynch(true);
    Menu::SetVSynch(false);
    EXPECT_EQ(Form->DXDraw1->Options(), before);
}

TEST_F(MainWindowTest, LosingActivationPausesWithACaptionOrEndsWithoutVSynch) {
    Open();
    App.SetActive(false);
    EXPECT_EQ(Window.Caption(), "Zarvoth Mutador 1.0 [Pause]");
    EXPECT_FALSE(App.Terminated());
    App.SetActive(true);
    EXPECT_EQ(Window.Caption(), "Zarvoth Mutador 1.0");

    Main::VSynchOn = false;
    Main::BestScore = 4321;
    App.SetActive(false);
    EXPECT_TRUE(App.Terminated());
    EXPECT_TRUE(Form->EndedOnVSynchError());
    EXPECT_TRUE(std::filesystem::exists("Data/Data.qbx")) << "the options and best score are kept";
    Main::VSynchOn = true;
}

TEST_F(MainWindowTest, ClosingSavesTheSettingsAndStartsTheUploaderOnlyWhenAgreed) {
    Open();
    Main::BestScore = 17;
    Main::NewBestScore = false;
    Main::QuitGame();
    EXPECT_TRUE(Form->Closed());
    EXPECT_TRUE(App.Terminated());
    EXPECT_EQ(std::filesystem::file_size("Data/Data.qbx"), 40u);
}

TEST_F(MainWindowTest, PointerIsConfinedToTheCentredGameArea) {
    Open();
    int width = 0;
    int height = 0;
    Window.LogicalScreenSize(width, height);
    EXPECT_EQ(Main::ClipRect.Left, (width - 800) / 2);
    EXPECT_EQ(Main::ClipRect.Right - Main::ClipRect.Left, 800);
    EXPECT_EQ(Main::ClipRect.Bottom - Main::ClipRect.Top, 600);
}

// A window (the choice kept in the preferences) holds the pointer only while a game is played,
// full screen always; switching remembers the choice and closing writes it.
TEST_F(MainWindowTest, AWindowHoldsThePointerOnlyInPlayAndTheChoiceIsKept) {
    std::ofstream(Preferences::PreferencesPath) << "Display=Window\n";
    Open();
    ASSERT_FALSE(Window.FullScreen());
    EXPECT_EQ(Window.WindowedSize(), (platform::Size{800, 600})) << "the multiple that fits 1024 x 768";
    struct Step {
        std::uint8_t Mode;
        std::uint8_t State;
        bool Clipped;
    };
    const Step steps[] = {{Main::AppModeMenu, Game::StatePlaying, false},
                          {Main::AppModeGame, Game::StatePlaying, true},
                          {Main::AppModeGame, Game::StateDialog, false},
                          {Main::AppModeGame, Game::StateMenu, false},
                          {Main::AppModeBestScore, Game::StatePlaying, false}};
    for (const Step& step : steps) {
        Main::AppMode = step.Mode;
        Game::GameState = step.State;
        RunFrames(1, 16);
        EXPECT_EQ(Window.PointerClipped(), step.Clipped) << int{step.Mode} << " " << int{step.State};
    }
    Main::AppMode = Main::AppModeMenu;
    Game::GameState = Game::StatePlaying;

    Form->FormWindowKey(platform::WindowKey::ToggleFullScreen);
    EXPECT_TRUE(Window.FullScreen());
    EXPECT_TRUE(Preferences::Current.FullScreen);
    EXPECT_TRUE(Window.PointerClipped()) << "full screen holds it in the menu too";
    Form->FormWindowKey(platform::WindowKey::ToggleFullScreen);
    EXPECT_FALSE(Window.PointerClipped());
    Form->Close();
    std::ifstream saved(Preferences::PreferencesPath);
    const std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_EQ(Preferences::ParsePreferences(text), Preferences::TPreferences{false});
}

// The volumes kept in the preferences are in force from the start, and a change is written back.
TEST_F(MainWindowTest, TheKeptVolumesAreInForceFromTheStartAndWrittenBackAtClose) {
    std::ofstream(Preferences::PreferencesPath) << "EffectsVolume=50\nMusicVolume=20\n";
    Open();
    const float half = PhaserPeak();
    Preferences::Current.EffectsVolume = 100;
    Main::ApplyVolumes();
    const float full = PhaserPeak();
    EXPECT_GT(full, 0.01f);
    EXPECT_NEAR(half, full / 4, full / 1000) << "50 % is a quarter of the amplitude";
    Form->Close();
    std::ifstream saved(Preferences::PreferencesPath);
    const std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    const Preferences::TPreferences kept = Preferences::ParsePreferences(text);
    EXPECT_EQ(kept.EffectsVolume, 100);
    EXPECT_EQ(kept.MusicVolume, 20);
}

// F12 keeps the frame on the screen, cursor and all, with the toggle sound; a failure is silent.
TEST_F(MainWindowTest, F12KeepsTheFrameOnTheScreenWithTheToggleSound) {
    const ScopedEnvironment pictures("XDG_PICTURES_DIR", (Folder.Path / "Pictures").c_str());
    Open();
    Main::Routes()[Main::AppModeMenu].Frame = [this](int) { Surface().Fill(Surface().ColorToPixel(RGB(0, 0, 255))); };
    RunFrames(2, 16);
    PlayedEffects();
    Form->FormWindowKey(platform::WindowKey::Screenshot);
    EXPECT_EQ(PlayedEffects(), std::vector<int>{4});
    const std::filesystem::path folder = Folder.Path / "Pictures" / "Zarvoth Mutador";
    ASSERT_TRUE(std::filesystem::exists(folder));
    const std::filesystem::directory_entry picture = *std::filesystem::directory_iterator(folder);
    platform::RgbImage saved;
    std::string error;
    ASSERT_TRUE(platform::LoadPng(picture.path().string(), saved, error)) << error;
    EXPECT_EQ(saved.Pixels, platform::FrameImage(Surface().Buffer()).Pixels) << "the frame as shown";

    std::filesystem::remove_all(folder);
    std::ofstream(folder) << "in the way";
    testing::internal::CaptureStderr();
    Form->FormWindowKey(platform::WindowKey::Screenshot);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not saved"), std::string::npos);
    EXPECT_TRUE(PlayedEffects().empty());
    const std::uint64_t shown = Window.PresentedFrames();
    RunFrames(1, 16);
    EXPECT_EQ(Window.PresentedFrames(), shown + 1) << "the game goes on";
}

// The nine components, in their order and bound, with the settings of the embedded description.
TEST_F(MainWindowTest, ComponentsComeFromTheEmbeddedDesignTimeDescription) {
    Open();
    const char* names[] = {"DXDraw1",  "DXTimer1",    "DXImageList1", "DXSpriteEngine1", "DXInput1",
                           "DXWaveList1", "DXSound1", "DXImageList2", "DXWaveList2"};
    ASSERT_EQ(Form->ComponentCount(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(Form->Components(i).Name, names[i]);
    }
    EXPECT_EQ(Form->DXImageList1->DXDraw(), Form->DXDraw1);
    EXPECT_EQ(Form->DXImageList2->DXDraw(), Form->DXDraw1);
    EXPECT_EQ(Form->DXSpriteEngine1->DXDraw(), Form->DXDraw1);
    EXPECT_EQ(Form->DXInput1->Keyboard.Assigns(), DefaultKeyAssigns());
    EXPECT_EQ(Form->DXWaveList1->DXSound(), Form->DXSound1);
    EXPECT_EQ(Form->DXWaveList2->DXSound(), Form->DXSound1);
    constexpr TDXDrawOptions design = doAllowReboot | doWaitVBlank | doAllowPalette256 | doCenter | doFlip |
                                      doDirectX7Mode | doRetainedMode | doHardware | doSelectDriver;
    EXPECT_EQ(Form->DXDraw1->Options(), design | doFullScreen);
    EXPECT_EQ(Form->DXDraw1->Display().Width(), 800);
    EXPECT_EQ(Form->DXDraw1->Display().BitCount(), 16);
    EXPECT_TRUE(Form->DXDraw1->Display().FixedRatio);
    EXPECT_EQ(Form->DXTimer1->Interval(), 0);
    EXPECT_TRUE(Form->DXTimer1->ActiveOnly());
    EXPECT_TRUE(Form->DXTimer1->Enabled());
}

TEST_F(MainWindowTest, AMissingSoundFileEndsTheStartWithTheLoadersMessage) {
    std::filesystem::remove("Data/Sound.dxw");
    EXPECT_THAT([&] { Open(); }, testing::ThrowsMessage<Exception>("Cannot open file Data/Sound.dxw"));
}

// A FIFO in a file's place would hold the start until someone wrote to it.
TEST_F(MainWindowTest, AFifoInPlaceOfAFileIsRefusedAtOnce) {
    struct Case {
        const char* Path;
        const char* Error;  // empty: the program starts (with the default settings)
    };
    for (const Case& c : {Case{"Data/Music.dxw", "Cannot open file Data/Music.dxw"}, Case{Main::SettingsPath, ""}}) {
        std::filesystem::remove(c.Path);
        MakeFifo(c.Path);
        std::string error;
        EXPECT_TRUE(FinishesWithoutWaitingOn(c.Path, [&] {
            try {
                Open();
            } catch (const Exception& failure) {
                error = failure.what();
            }
        })) << c.Path;
        EXPECT_EQ(error, c.Error);
        Form.reset();
        std::filesystem::remove(c.Path);
        ProvideGameData();
    }
}

TEST_F(MainWindowTest, TheTwoCursorsAreEightBitPicturesWithTheirOwnTransparentColours) {
    Open();
    TPictureCollection& cursors = Form->DXImageList2->Items();
    ASSERT_EQ(cursors.Count(), 2);
    const TColor keys[] = {RGB(252, 2, 252), RGB(252, 2, 244)};
    const char* names[] = {"Cursor", "Cursor_Red"};
    for (int i = 0; i < 2; ++i) {
        TPictureCollectionItem& item = cursors.Items(i);
        EXPECT_EQ(item.Name, names[i]);
        EXPECT_EQ(item.Picture.Width(), 26);
        EXPECT_EQ(item.Picture.Height(), 25);
        EXPECT_TRUE(item.Transparent);
        EXPECT_EQ(item.TransparentColor, keys[i]);
        EXPECT_EQ(item.Picture.Pixel(0, 0), keys[i]) << "the corners are transparent";
        EXPECT_NE(item.Picture.Pixel(16, 16), keys[i]) << "the hot spot is drawn";
        TMemoryStream data;
        item.Picture.SaveToData(data);
        const std::vector<std::uint8_t>& bytes = data.Data();
        ASSERT_GT(bytes.size(), 21u);
        EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 5), "TDIB");
        EXPECT_EQ(bytes[5 + 14], 8) << "8 bits per pixel";
    }
}

TEST_F(MainWindowTest, TheCursorIsDrawnLastWithItsHotSpotOnThePointer) {
    Open();
    Main::Routes()[Main::AppModeMenu].Frame = [this](int) {
        Form->DXDraw1->Surface()->Fill(Form->DXDraw1->Surface()->ColorToPixel(RGB(0, 0, 255)));
    };
    RunFrames(1, 16);
    // Headless, the pointer rests at (0, 0): only the bottom-right of the picture is on the surface.
    TDirectDrawSurface& surface = *Form->DXDraw1->Surface();
    const int cursorX = Main::CursorPos.X;
    const int cursorY = Main::CursorPos.Y;
    ASSERT_GE(cursorX, 0);
    ASSERT_GE(cursorY, 0);
    const std::uint16_t blue = surface.ColorToPixel(RGB(0, 0, 255));
    const TColor centre = Form->DXImageList2->Items().Items(0).Picture.Pixel(16, 16);
    EXPECT_EQ(surface.Pixel(cursorX, cursorY), surface.ColorToPixel(centre));
    EXPECT_EQ(surface.Pixel(cursorX + 12, cursorY + 12), blue) << "transparent around the reticle";

    Main::CursorOverButton = true;
    RunFrames(1, 16);
    const TColor red = Form->DXImageList2->Items().Items(1).Picture.Pixel(16, 16);
    EXPECT_EQ(surface.Pixel(cursorX, cursorY), surface.ColorToPixel(red));
    Main::CursorOverButton = false;
}

TEST_F(MainWindowTest, AWindowThatFailedToStartLeavesNoMainWindowBehind) {
    std::filesystem::remove("Data/Music.dxw");
    EXPECT_THROW(Open(), Exception);
    EXPECT_EQ(Form1, nullptr);
    Main::LoadSettings();  // reaches the display switch, which must find no window
}

TEST_F(MainWindowTest, AfterTheDeviceLostItsSurfacesTheNextFrameRestoresAndRedraws) {
    struct RestoreCounter : IDXDrawSubscriber {
        void DXDrawNotify(TCustomDXDraw&, TDXDrawNotifyType type) override {
            if (type == TDXDrawNotifyType::dxntRestore) ++Restores;
        }
        int Restores = 0;
    } counter;
    Open();
    RunFrames(1, 16);
    TDirectDrawSurface& surface = *Form->DXDraw1->Surface();
    const std::uint16_t cursorPixel = surface.Pixel(Main::CursorPos.X, Main::CursorPos.Y);
    Form->DXDraw1->Subscribe(&counter);
    counter.Restores = 0;

    Window.NoteDeviceReset();
    RunFrames(1, 16);
    EXPECT_EQ(counter.Restores, 1) << "the loss was noticed and the image lists told to re-upload";
    EXPECT_EQ(MenuLags.size(), 2u) << "the frame after the loss runs on restored surfaces";
    EXPECT_FALSE(surface.IsLost());
    EXPECT_EQ(surface.Pixel(Main::CursorPos.X, Main::CursorPos.Y), cursorPixel) << "the cursor picture was re-uploaded";
    EXPECT_EQ(Window.PresentedFrames(), 2u);
    Form->DXDraw1->Unsubscribe(&counter);
}

namespace {

using BestScoreDialogTest = GameWindowTest;

// A stand-in uploader: leaves a file behind when it runs.
void ProvideUploader() {
    std::ofstream script("Data/Transfer.exe");
    script << "#!/bin/sh\ntouch uploaded\n";
    script.close();
    std::filesystem::permissions("Data/Transfer.exe", std::filesystem::perms::owner_all);
}

bool UploaderRan() {
    for (int wait = 0; wait < 50 && !std::filesystem::exists("uploaded"); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::filesystem::exists("uploaded");
}

std::int32_t StoredBestScore() {
    std::ifstream file("Data/Data.qbx", std::ios::binary);
    std::array<unsigned char, 40> bytes{};
    file.read(reinterpret_cast<char*>(bytes.data()), bytes.size());
    return static_cast<std::int32_t>(bytes[28] | (bytes[29] << 8) | (bytes[30] << 16) | (bytes[31] << 24));
}

}  // namespace

TEST_F(BestScoreDialogTest, ANewBestScoreAsksBeforeLeavingAndOnlyAnAcceptedAnswerStartsTheUploader) {
    enum Answer { Enter, OkButton, CancelButton };
    const struct {
        Answer Given;
        bool Send;
    } cases[] = {{Enter, true}, {OkButton, true}, {CancelButton, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Given);
        std::filesystem::remove("uploaded");
        ProvideUploader();
        Form.reset();
        App.Reset();
        Open();
        PlayedEffects();
        Main::BestScore = 4711;
        Main::NewBestScore = true;
        Main::QuitGame();
        ASSERT_EQ(Main::AppMode, Main::AppModeBestScore);
        ASSERT_NE(Main::BestScoreBox, nullptr);
        EXPECT_EQ(Form->DXImageList1->Items().Items(31).Name, "SmallDialog") << "the game graphics";
        EXPECT_EQ(PlayedEffects(), std::vector<int>{6});
        EXPECT_EQ(Main::BestScoreBox->Lines().front().Text, "Best score");
        EXPECT_FALSE(Form->Closed());

        RunFrames(2, 16);  // the box is drawn: its buttons can be hit
        Form->FormKeyPress('x');
        EXPECT_FALSE(Main::BestScoreBox->IsClosed());
        const TGButton& button =
            c.Given == CancelButton ? Main::BestScoreBox->CancelButton() : Main::BestScoreBox->OkButton();
        if (c.Given == Enter) {
            Form->FormKeyPress('\r');
        } else {
            Form->DXDraw1MouseDown(platform::MouseButton::Left, platform::ssLeft, button.X() + 3, button.Y() + 3);
        }
        RunFrames(1, 16);
        EXPECT_EQ(Main::AppMode, Main::AppModeClosing);
        EXPECT_EQ(Main::BestScoreBox, nullptr);
        EXPECT_EQ(PlayedEffects(), std::vector<int>{7});
        EXPECT_TRUE(Form->Closed());
        EXPECT_EQ(Main::SendScoreAtExit, c.Send);
        EXPECT_EQ(StoredBestScore(), 4711);
        EXPECT_EQ(UploaderRan(), c.Send);
    }
}

namespace {

// The main window on a mixer whose output the test can take away and give back.
class GameSoundTest : public GameWindowTest {
protected:
    GameSoundTest() {
        Screen = &QuietScreen;
        auto output = std::make_unique<FakeAudioOutput>();
        Output = output.get();
        auto mixer = std::make_unique<platform::AudioMixer>(std::move(output));
        Mixer = mixer.get();
        Sound = std::move(mixer);
    }
    void Reopen() {
        Form.reset();
        App.Reset();
        Open();
    }

    TWaveCollectionItem& Music() { return Form->DXWaveList2->Items().Items(0); }

    FakeAudioOutput* Output = nullptr;
    platform::AudioMixer* Mixer = nullptr;
};

// Rewrites Data/Music.dxw with the first chunk `id` of its wave renamed to `newId`, or, without
// one, given the length `newLength`.
void DamageMusicWave(const std::string& id, const char* newId, std::uint32_t newLength) {
    std::ifstream in("Data/Music.dxw", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    const std::size_t at = bytes.find(id, bytes.find("RIFF"));
    ASSERT_NE(at, std::string::npos) << id;
    if (newId != nullptr) {
        bytes.replace(at, 4, newId);
    } else {
        for (std::size_t i = 0; i < 4; ++i) bytes[at + 4 + i] = static_cast<char>(newLength >> (8 * i));
    }
    std::ofstream("Data/Music.dxw", std::ios::binary) << bytes;
}

}  // namespace

// A music wave whose samples are lost simply does not play: a game starts from the menu, ends
// (the settings are saved on the way out) and is torn down with the window while running.
TEST_F(GameSoundTest, AMusicWaveWithoutSamplesLeavesTheGamesStartAndEndsSilentButWhole) {
    const struct {
        const char* Name;
        const char* Chunk;
        const char* NewId;
        std::uint32_t NewLength;
    } cases[] = {{"no data chunk", "data", "junk", 0}, {"empty format", "fmt ", nullptr, 0},
                 {"two-byte format", "fmt ", nullptr, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        ProvideGameData();
        std::filesystem::remove("Data/Data.qbx");
        DamageMusicWave(c.Chunk, c.NewId, c.NewLength);
        Reopen();
        ASSERT_TRUE(Form->DXSound1->Initialized());
        ASSERT_EQ(Music().Wave.Size(), 0);
        Click(100, 190);  // new game
        Click(600, 548);  // start
        ASSERT_EQ(Main::AppMode, Main::AppModeGame);
        RunFrames(10, 16);
        Game::QuitFromGame();
        EXPECT_TRUE(Form->Closed());
        EXPECT_EQ(std::filesystem::file_size("Data/Data.qbx"), 40u);

        Reopen();
        Game::StartGame();
        RunFrames(10, 16);
        EXPECT_EQ(Mixer->PlayingCount(), 0u);
        Form.reset();
    }
}

// The sound server goes away while the in-game menu is open and comes back two seconds later:
// with no sound played meanwhile, the frames alone find the output again and the music plays.
TEST_F(GameSoundTest, FramesAloneBringTheOutputAndTheGamesMusicBack) {
    Open();
    Game::StartGame();
    Game::ToggleGameMenu();
    RunFrames(1, 16);
    PlayedEffects();
    ASSERT_EQ(Mixer->PlayingCount(), 1u);

    Output->IsLost = true;
    Output->DeviceAvailable = false;
    RunFrames(125, 16);
    EXPECT_EQ(Mixer->PlayingCount(), 0u);
    Output->DeviceAvailable = true;
    RunFrames(20, 16);
    EXPECT_FALSE(Output->IsLost);
    EXPECT_TRUE(Music().Playback().Master()->Playing());
    EXPECT_EQ(Mixer->PlayingCount(), 1u);
    EXPECT_EQ(Game::GameState, Game::StateMenu);
}
