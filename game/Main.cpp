// Main: the main window's handlers, the frame and the orderly end of the program.
#include "game/Main.h"

#include <cmath>
#include <cstdio>

#include "engine/assets/ObjectReader.h"
#include "game/Commands.h"
#include "game/FormResource.h"
#include "game/Game.h"
#include "game/Gamepad.h"
#include "game/Menu.h"
#include "game/Preferences.h"
#include "game/Screenshot.h"
#include "game/Settings.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/DisplayLoss.h"
#include "platform/SdlWindow.h"

namespace Main {
namespace {

// UpdateFrameRate's own state: all 32-bit floats, starting at 0.
float CurrentTime = 0.0f;
float PreviousTime = 0.0f;
float LastFpsUpdate = 0.0f;
float FrameCounter = 0.0f;

}  // namespace

std::function<void()> PauseGame = Game::PauseGame;
std::function<void()> StartGame = Game::StartGame;

std::array<TModeRoutes, 4> DefaultRoutes() {
    std::array<TModeRoutes, 4> routes;
    TModeRoutes& game = routes[AppModeGame];
    game.Frame = Game::GameFrame;
    game.KeyPress = Game::GameKeyPress;
    game.MouseDown = Game::GameMouseDown;
    game.MouseUp = Game::GameMouseUp;
    game.MouseMove = Game::GameMouseMove;
    TModeRoutes& menu = routes[AppModeMenu];
    menu.Frame = [](int) { Menu::MenuFrame(); };
    menu.MouseDown = [](platform::TShiftState, TPoint point) { Menu::MenuMouseDown(point); };
    menu.MouseMove = [](TPoint point) { Menu::MenuMouseMove(point); };
    menu.KeyPress = [](char key) { Menu::MenuKeyPress(key); };
    TModeRoutes& dialog = routes[AppModeBestScore];
    dialog.Frame = [](int) { BestScoreDialogFrame(); };
    dialog.KeyPress = [](char key) {
        if (BestScoreBox) BestScoreBox->KeyPress(key);
    };
    dialog.MouseDown = [](platform::TShiftState, TPoint point) {
        if (BestScoreBox) BestScoreBox->MouseDown(point);
    };
    return routes;
}

std::array<TModeRoutes, 4>& Routes() {
    static std::array<TModeRoutes, 4> routes = DefaultRoutes();
    return routes;
}

namespace {

// Calls the current mode's handler for an event, if that mode listens to it.
template <typename Handler, typename... Args>
void Route(Handler TModeRoutes::*event, Args&&... args) {
    if (AppMode >= Routes().size()) {
        return;
    }
    const Handler& handler = Routes()[AppMode].*event;
    if (handler) {
        handler(std::forward<Args>(args)...);
    }
}

}  // namespace

void ResetFrameRate() {
    CurrentTime = PreviousTime = LastFpsUpdate = FrameCounter = 0.0f;
    FrameTime = 0.0f;
    Fps = 0;
}

void UpdateFrameRate(std::uint32_t tickCount) {
    CurrentTime = static_cast<float>(static_cast<double>(tickCount) * 0.001);
    FrameTime = CurrentTime - PreviousTime;
    PreviousTime = CurrentTime;
    FrameCounter = FrameCounter + 1.0f;
    if (CurrentTime - LastFpsUpdate > 1.0f) {
        LastFpsUpdate = CurrentTime;
        Fps = static_cast<std::int32_t>(std::trunc(FrameCounter));
        FrameCounter = 0.0f;
    }
}

void QuitGame() {
    if (NewBestScore) {
        OpenBestScoreDialog();
        return;
    }
    if (Form1 != nullptr) {
        Form1->Close();
    }
}

void OpenBestScoreDialog() {
    if (Form1 == nullptr) {
        return;
    }
    // The dialog's plate and buttons are game pictures.
    TPictureCollection& images = Form1->DXImageList1->Items();
    images.Clear();
    images.LoadFromFile("Data/GGraphics.dxg");
    BestScoreBox = std::make_unique<TMessageBox>();
    TMessageBox& box = *BestScoreBox;
    box.SetBackground(31);
    Menu::PlayMenuSound(6);
    box.SetVisible(true);
    box.ShowCancel();
    box.Center();
    AddDialogTitle(box, "Best score");
    box.AddText(
        "Congratulations, you have done your best score. Do you want to send it to Quorbix online score database? "
        "If yes, press enter or OK button, otherwise click on Cancel.");
    AppMode = AppModeBestScore;
}

void BestScoreDialogFrame() {
    if (!BestScoreBox) {
        return;
    }
    if (!BestScoreBox->IsClosed()) {
        BestScoreBox->Draw();
        return;
    }
    Menu::PlayMenuSound(7);
    AppMode = AppModeClosing;
    SendScoreAtExit = BestScoreBox->IsAccepted();
    BestScoreBox.reset();
    if (Form1 != nullptr) {
        Form1->Close();
    }
}

TDirectDrawSurface* BackSurface() {
    return Form1 != nullptr ? Form1->DXDraw1->Surface() : nullptr;
}

TPictureCollection* ScreenImages() {
    return Form1 != nullptr ? &Form1->DXImageList1->Items() : nullptr;
}

void PlaySoundEffect(int index, int pan) {
    if (!SoundOn || Form1 == nullptr) {
        return;
    }
    TWaveCollectionItem& effect = Form1->DXWaveList1->Items().Items(index);
    effect.SetPan(pan);
    effect.StartSound(false);
}

void ApplyVolumes() {
    if (Form1 == nullptr) {
        return;
    }
    Form1->DXSound1->SetGroupVolume(platform::SoundGroup::Effects, Preferences::Current.EffectsVolume);
    Form1->DXSound1->SetGroupVolume(platform::SoundGroup::Music, Preferences::Current.MusicVolume);
}

}  // namespace Main

using namespace Main;

namespace {

// A component the form cannot run without.
template <typename Component>
void Require(Component* component, const char* name) {
    if (component == nullptr) {
        throw EComponentError(Format("Component %s not found", name));
    }
}

}  // namespace

// The component classes the form description may name; each is made with the form's devices.
void TForm1::RegisterFormClasses(TFormDevices devices) {
    platform::VideoDevice* screen = devices.Video != nullptr ? devices.Video : &FWindow;
    RegisterClass("TDXDraw", [screen] { return std::make_unique<TDXDraw>(screen); });
    RegisterClass("TDXTimer", [this] {
        auto timer = std::make_unique<TDXTimer>(FApplication);
        timer->BeginLoading();
        return timer;
    });
    RegisterClass("TDXSound", [devices] { return std::make_unique<TDXSound>(devices.Sound); });
    RegisterClass("TDXInput", [devices] { return std::make_unique<TDXInput>(devices.Input); });
    RegisterClass("TDXSpriteEngine", [] { return std::make_unique<TDXSpriteEngine>(); });
    RegisterClass("TDXWaveList", [] { return std::make_unique<TDXWaveList>(); });
    RegisterClass("TDXImageList", [] { return std::make_unique<TDXImageList>(); });
}

// Resolves the references between components and hands out the event handlers.
void TForm1::BindComponents() {
    Require(DXDraw1, "DXDraw1");
    Require(DXTimer1, "DXTimer1");
    Require(DXImageList1, "DXImageList1");
    Require(DXSpriteEngine1, "DXSpriteEngine1");
    Require(DXInput1, "DXInput1");
    Require(DXWaveList1, "DXWaveList1");
    Require(DXSound1, "DXSound1");
    Require(DXImageList2, "DXImageList2");
    Require(DXWaveList2, "DXWaveList2");
    for (TDXImageList* list : {DXImageList1, DXImageList2}) {
        list->SetDXDraw(dynamic_cast<TDXDraw*>(FindComponent(list->DXDrawName())));
    }
    DXSpriteEngine1->SetDXDraw(dynamic_cast<TDXDraw*>(FindComponent(DXSpriteEngine1->DXDrawName())));
    for (TDXWaveList* list : {DXWaveList1, DXWaveList2}) {
        list->SetDXSound(dynamic_cast<TDXSound*>(FindComponent(list->DXSoundName())));
    }
    DXDraw1->OnInitialize = [this](TCustomDXDraw& sender) { DXDraw1Initialize(sender); };
    DXDraw1->OnFinalize = [this](TCustomDXDraw& sender) { DXDraw1Finalize(sender); };
    DXTimer1->OnActivate = [this](TCustomDXTimer& sender) { DXTimer1Activate(sender); };
    DXTimer1->OnDeactivate = [this](TCustomDXTimer& sender) { DXTimer1Deactivate(sender); };
    DXTimer1->OnTimer = [this](TCustomDXTimer& sender, int lag) { DXTimer1Timer(sender, lag); };
}

// The form keeps the joystick switched off; the program plays with a gamepad as well. With no pad
// plugged in it reads nothing.
void TForm1::EnableGamepad() {
    DXInput1->Joystick.Enabled = true;
    DXInput1->Joystick.Open();
    Gamepad::ResetGamepad();
}

TForm1::TForm1(platform::SdlWindow& window, platform::Application& application, TFormDevices devices)
    : FWindow(window), FApplication(application) {
    Form1 = this;
    try {
        RegisterFormClasses(devices);
        const std::span<const std::uint8_t> resource = FormResource();
        TMemoryStream stream(std::vector<std::uint8_t>(resource.begin(), resource.end()));
        ReadComponentResource(stream, *this);
        BindComponents();
        EnableGamepad();
        FormCreate();
        DXDraw1->FormShown();
        // Losing the display ends the program at once; the player's choices need no display to
        // be kept, but the window can no longer be asked its size.
        platform::SetDisplayLostHook([this] {
            if (!FClosed) {
                SavePlayersChoices();
            }
        });
    } catch (...) {
        // A window that failed to start is no main window: nothing may reach it through Form1.
        Form1 = nullptr;
        throw;
    }
}

TForm1::~TForm1() {
    platform::SetDisplayLostHook(nullptr);
    // The game's dialog and buttons draw with this window's pictures and its ships live in this
    // window's sprite engine: a game cannot outlive the window.
    if (Game::GameRunning()) {
        Game::EndGame();
    }
    // Finalizing the display disables the timer through its event, so no frame runs against a
    // display being torn down; the components themselves go with the form's children.
    DXDraw1->Finalize();
    // The dialog draws with this window's pictures; it cannot outlive them.
    BestScoreBox.reset();
    if (Form1 == this) {
        Form1 = nullptr;
    }
}

TComponent& TForm1::InsertComponent(std::unique_ptr<TComponent> child) {
    TComponent& inserted = TComponent::InsertComponent(std::move(child));
    if (inserted.Name == "DXDraw1") DXDraw1 = dynamic_cast<TDXDraw*>(&inserted);
    if (inserted.Name == "DXTimer1") DXTimer1 = dynamic_cast<TDXTimer*>(&inserted);
    if (inserted.Name == "DXImageList1") DXImageList1 = dynamic_cast<TDXImageList*>(&inserted);
    if (inserted.Name == "DXSpriteEngine1") DXSpriteEngine1 = dynamic_cast<TDXSpriteEngine*>(&inserted);
    if (inserted.Name == "DXInput1") DXInput1 = dynamic_cast<TDXInput*>(&inserted);
    if (inserted.Name == "DXImageList2") DXImageList2 = dynamic_cast<TDXImageList*>(&inserted);
    if (inserted.Name == "DXWaveList1") DXWaveList1 = dynamic_cast<TDXWaveList*>(&inserted);
    if (inserted.Name == "DXSound1") DXSound1 = dynamic_cast<TDXSound*>(&inserted);
    if (inserted.Name == "DXWaveList2") DXWaveList2 = dynamic_cast<TDXWaveList*>(&inserted);
    return inserted;
}

void TForm1::FormCreate() {
    DXDraw1->Finalize();
    FWindow.SetBorderless(true);
    FWindow.ShowPointer(false);
    DXDraw1->SetOptions(static_cast<TDXDrawOptions>(DXDraw1->Options() | doFullScreen));
    DXDraw1->Display().SetWidth(800);
    DXDraw1->Display().SetHeight(600);
    DXDraw1->Display().SetBitCount(16);

    DXWaveList1->Items().Clear();
    DXWaveList2->Items().Clear();
    DXWaveList2->Items().SetGroup(platform::SoundGroup::Music);
    DXWaveList1->Items().LoadSoundFile("Data/Sound.dxw");
    DXWaveList2->Items().LoadSoundFile("Data/Music.dxw");

    LoadSettings();
    Preferences::LoadPreferences();
    if (!Preferences::Current.FullScreen) {
        FWindow.SetWindowed({Preferences::Current.WindowWidth, Preferences::Current.WindowHeight});
    }
    ApplyVolumes();

    FApplication.Title = "Zarvoth Mutador 1.0";
    FWindow.SetCaption(FApplication.Title);
    AppMode = AppModeMenu;
    ShipChoice = false;
    CursorOverButton = false;
    NewBestScore = false;
    SendScoreAtExit = false;
    Score = 0;

    int screenWidth = 0;
    int screenHeight = 0;
    FWindow.LogicalScreenSize(screenWidth, screenHeight);
    ClipRect.Left = (screenWidth - 800) / 2;
    ClipRect.Top = (screenHeight - 600) / 2;
    ClipRect.Right = ClipRect.Left + 800;
    ClipRect.Bottom = ClipRect.Top + 600;
    FWindow.ClipPointer(platform::ScreenRect{ClipRect.Left, ClipRect.Top, ClipRect.Right, ClipRect.Bottom});

    UpdatePointerConfinement();

    // AppMode is 1 here: the program always opens on the start menu.
    Menu::StartMenu();
    DXDraw1->Initialize();
}

void TForm1::DXDraw1Initialize(TCustomDXDraw&) {
    DXTimer1->SetEnabled(true);
}

void TForm1::DXDraw1Finalize(TCustomDXDraw&) {
    DXTimer1->SetEnabled(false);
}

void TForm1::DXTimer1Activate(TCustomDXTimer&) {
    FWindow.SetCaption(FApplication.Title);
}

void TForm1::DXTimer1Deactivate(TCustomDXTimer&) {
    if (!VSynchOn) {
        platform::ShowMessageBox("Cannot minimalize, if \"VSynch\" is disabled!!!", "Zarvoth Mutador: Error");
        // The program ends here without its closing steps, but the options and the best score
        // are kept: losing them to a focus change would be a plain loss of the player's data.
        RememberWindowSize();
        SavePlayersChoices();
        FEndedOnVSynchError = true;
        FApplication.Terminate();
        return;
    }
    if (AppMode == AppModeGame && PauseGame) {
        PauseGame();
    }
    UpdatePointerConfinement();
    FWindow.SetCaption(FApplication.Title + " [Pause]");
}

void TForm1::DXTimer1Timer(TCustomDXTimer&, int LagCount) {
    // Sound lost with its server comes back, looping music and all, even in frames that play
    // nothing and frames the display skips.
    DXSound1->CheckOutput();
    if (!DXDraw1->CanDraw()) {
        return;
    }
    DXDraw1->Surface()->Fill(0);
    UpdateFrameRate(platform::GetTickCount());
    Gamepad::GamepadStep();
    Route(&TModeRoutes::Frame, LagCount);
    UpdatePointerConfinement();
    DrawCursor();
    DXDraw1->Flip();
}

TPoint TForm1::PointerPosition() const {
    int x = 0;
    int y = 0;
    FWindow.PointerScreenPosition(x, y);
    FWindow.ScreenToClient(x, y);
    return TPoint{x, y};
}

void TForm1::DrawCursor() {
    CursorPos = PointerPosition();
    TPictureCollectionItem& cursor = DXImageList2->Items().Items(CursorOverButton ? 1 : 0);
    cursor.Draw(DXDraw1->Surface(), CursorPos.X - 16, CursorPos.Y - 16, 0);
}

void TForm1::FormKeyPress(char Key) {
    Route(&TModeRoutes::KeyPress, Key);
}

void TForm1::DXDraw1MouseDown(platform::MouseButton, platform::TShiftState Shift, int X, int Y) {
    Route(&TModeRoutes::MouseDown, Shift, TPoint{X, Y});
}

void TForm1::DXDraw1MouseUp(platform::MouseButton, platform::TShiftState, int, int) {
    Route(&TModeRoutes::MouseUp);
}

void TForm1::DXDraw1MouseMove(platform::TShiftState, int X, int Y) {
    Route(&TModeRoutes::MouseMove, TPoint{X, Y});
}

void TForm1::FormWindowKey(platform::WindowKey Key) {
    switch (Key) {
        case platform::WindowKey::ToggleFullScreen: ToggleFullScreen(); break;
        case platform::WindowKey::Screenshot: TakeScreenshot(); break;
    }
}

void TForm1::ToggleFullScreen() {
    if (FWindow.FullScreen()) {
        if (!FWindow.SetWindowed({Preferences::Current.WindowWidth, Preferences::Current.WindowHeight})) {
            return;
        }
    } else {
        RememberWindowSize();
        FWindow.SetFullScreen();
    }
    Preferences::Current.FullScreen = FWindow.FullScreen();
    UpdatePointerConfinement();
}

void TForm1::SavePlayersChoices() {
    SaveSettings();
    Preferences::SavePreferences();
}

void TForm1::RememberWindowSize() {
    const platform::Size size = FWindow.WindowedSize();
    if (size.Width <= 0 || size.Height <= 0) {
        return;
    }
    const bool automatic = size == FWindow.AutomaticWindowSize();
    Preferences::Current.WindowWidth = automatic ? 0 : size.Width;
    Preferences::Current.WindowHeight = automatic ? 0 : size.Height;
}

void TForm1::UpdatePointerConfinement() {
    const bool playing = AppMode == AppModeGame && Game::GameState == Game::StatePlaying;
    FWindow.SuspendPointerClip(!FWindow.FullScreen() && !playing);
}

// Between frames the back surface still holds the frame on the screen, cursor and all.
void TForm1::TakeScreenshot() {
    TDirectDrawSurface* surface = DXDraw1->Surface();
    if (!DXDraw1->Initialized() || surface == nullptr) {
        std::fprintf(stderr, "Zarvoth Mutador: the screenshot was not saved: nothing is shown yet\n");
        return;
    }
    if (Screenshot::SaveScreenshot(surface->Buffer())) {
        Menu::PlayMenuSound(4);
    }
}

void TForm1::FormClose() {
    RememberWindowSize();
    SavePlayersChoices();
    FWindow.ClipPointer(std::nullopt);
    if (SendScoreAtExit) {
        platform::RunProgram("Data/Transfer.exe");
    }
}

void TForm1::Close() {
    if (FClosed) {
        return;
    }
    FClosed = true;
    FormClose();
    FApplication.Terminate();
}

platform::WindowEvents TForm1::Events() {
    platform::WindowEvents events;
    events.OnKeyPress = [this](char key) { FormKeyPress(key); };
    events.OnMouseDown = [this](platform::MouseButton b, platform::TShiftState s, int x, int y) { DXDraw1MouseDown(b, s, x, y); };
    events.OnMouseUp = [this](platform::MouseButton b, platform::TShiftState s, int x, int y) { DXDraw1MouseUp(b, s, x, y); };
    events.OnMouseMove = [this](platform::TShiftState s, int x, int y) { DXDraw1MouseMove(s, x, y); };
    events.OnCloseRequest = [this] { Close(); };
    events.OnRepaint = [this] { DXDraw1->Repaint(); };
    events.OnWindowKey = [this](platform::WindowKey key) { FormWindowKey(key); };
    return events;
}
