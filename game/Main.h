// Main: the main window TForm1. It owns the engine components, starts the program
// (FormCreate), runs the frame (DXTimer1Timer), routes key and mouse events by AppMode to the
// menu, the game or the best-score dialog, draws the cursor, and closes the program in order
// (FormClose: settings and preferences saved, pointer released, the uploader started when
// agreed). It also switches between full screen and a window (F11, Alt+Enter), keeps the frame
// on the screen as a picture (F12) and hands the preferences' volumes to the sound output.
// Depends on the engine components, Preferences, Screenshot and the platform's window services.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "engine/assets/Classes.h"
#include "engine/timer/DXClass.h"
#include "engine/display/DXDraws.h"
#include "engine/images/DXImageList.h"
#include "engine/input/DXInput.h"
#include "engine/sound/DXSounds.h"
#include "engine/sprites/DXSprite.h"
#include "engine/assets/Persistent.h"
#include "game/Globals.h"
#include "game/Texts.h"
#include "platform/Application.h"

namespace platform {
class SdlWindow;
class VideoDevice;
class SoundDevice;
class InputDevice;
}

namespace Main {

// What one AppMode does with the frame and the window's input. An empty entry ignores the event.
struct TModeRoutes {
    std::function<void(int LagCount)> Frame;
    std::function<void(char Key)> KeyPress;
    std::function<void(platform::TShiftState Shift, TPoint Point)> MouseDown;
    std::function<void()> MouseUp;
    std::function<void(TPoint Point)> MouseMove;
};

// The routing table by AppMode (0 game, 1 menu, 2 best-score dialog, 3 closing). It starts as
// DefaultRoutes(); tests may replace rows.
std::array<TModeRoutes, 4>& Routes();
// The rows of the game (mode 0), the menu (mode 1) and the best-score dialog (mode 2).
std::array<TModeRoutes, 4> DefaultRoutes();

// The game's own reaction to losing activation (the game session's PauseGame).
extern std::function<void()> PauseGame;
// Starts a game from the menu (the game session's StartGame).
extern std::function<void()> StartGame;

// The best-score dialog while it is open (AppMode 2).
inline std::unique_ptr<TMessageBox> BestScoreBox;

// Leaves the program: through the best-score dialog after a new best score, else closes the window.
void QuitGame();
// Loads the game graphics (the dialog's pictures), opens BestScoreBox and enters AppMode 2.
void OpenBestScoreDialog();
// Mode 2's frame: draws the box until it is answered, then keeps the answer in SendScoreAtExit
// and closes the window.
void BestScoreDialogFrame();

// The back surface of the main window's display and the image list of the current screen
// (DXImageList1); null while there is no main window.
TDirectDrawSurface* BackSurface();
TPictureCollection* ScreenImages();

// Plays effect `index` of the effects list (DXWaveList1) at `pan` (hundredths of a decibel,
// negative to the left, 0 centred) without waiting; nothing when SoundOn is off. The game's
// positional effects and the menu's sounds both go through here.
void PlaySoundEffect(int index, int pan);

// Tells the sound output the volumes of effects and music in force (the preferences' EffectsVolume
// and MusicVolume).
void ApplyVolumes();

// The frame-rate arithmetic, in 32-bit floats, fed with the tick count.
void UpdateFrameRate(std::uint32_t tickCount);
void ResetFrameRate();

}  // namespace Main

// The devices the components stand on besides the window; sound and input may be absent (a
// silent game, a keyboard that reports nothing), and the display shows its frames on the window
// unless given another screen (a test's, which keeps no picture).
struct TFormDevices {
    platform::SoundDevice* Sound = nullptr;
    platform::InputDevice* Input = nullptr;
    platform::VideoDevice* Video = nullptr;
};

// The main window. Its components are created from its embedded design-time description
// (game/FormResource.h) and owned as its children; the members below name them.
class TForm1 : public TComponent {
public:
    // The window and the devices outlive the form.
    TForm1(platform::SdlWindow& window, platform::Application& application, TFormDevices devices);
    ~TForm1() override;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    std::string ClassName() const override { return "TForm1"; }
    TComponent& InsertComponent(std::unique_ptr<TComponent> child) override;

    // Components, in creation order.
    TDXDraw* DXDraw1 = nullptr;
    TDXTimer* DXTimer1 = nullptr;
    TDXImageList* DXImageList1 = nullptr;
    TDXSpriteEngine* DXSpriteEngine1 = nullptr;
    TDXInput* DXInput1 = nullptr;
    TDXWaveList* DXWaveList1 = nullptr;
    TDXSound* DXSound1 = nullptr;
    TDXImageList* DXImageList2 = nullptr;
    TDXWaveList* DXWaveList2 = nullptr;

    void FormCreate();
    void DXDraw1Initialize(TCustomDXDraw& Sender);
    void DXDraw1Finalize(TCustomDXDraw& Sender);
    void DXTimer1Activate(TCustomDXTimer& Sender);
    void DXTimer1Deactivate(TCustomDXTimer& Sender);
    void DXTimer1Timer(TCustomDXTimer& Sender, int LagCount);
    void FormKeyPress(char Key);
    void DXDraw1MouseDown(platform::MouseButton Button, platform::TShiftState Shift, int X, int Y);
    void DXDraw1MouseUp(platform::MouseButton Button, platform::TShiftState Shift, int X, int Y);
    void DXDraw1MouseMove(platform::TShiftState Shift, int X, int Y);
    void FormWindowKey(platform::WindowKey Key);
    void FormClose();

    // Switches between full screen and a window (nothing without a window manager).
    void ToggleFullScreen();
    // Saves the frame on the screen as a picture, with the toggle sound.
    void TakeScreenshot();

    // Closes the window the orderly way (FormClose, then the message loop ends).
    void Close();
    bool Closed() const { return FClosed; }
    // True when the program ended on the vertical-sync error instead of closing.
    bool EndedOnVSynchError() const { return FEndedOnVSynchError; }

    void DrawCursor();
    // Where the pointer is, in client coordinates.
    TPoint PointerPosition() const;
    platform::WindowEvents Events();
    platform::SdlWindow& Window() { return FWindow; }

private:
    void RegisterFormClasses(TFormDevices devices);
    void BindComponents();
    void EnableGamepad();
    // A window holds the pointer only while a game is played; full screen holds it always.
    void UpdatePointerConfinement();
    // The preferences' window size: the window's, unless it is the one the screen would give anyway.
    void RememberWindowSize();
    // Writes the settings record and the preferences as they stand.
    void SavePlayersChoices();

    platform::SdlWindow& FWindow;
    platform::Application& FApplication;
    bool FClosed = false;
    bool FEndedOnVSynchError = false;
};

// The one main window while it exists.
inline TForm1* Form1 = nullptr;
