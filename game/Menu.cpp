// Menu: the start menu's screens, their areas and the display switch.
#include "game/Menu.h"

#include <algorithm>
#include <charconv>

#include "engine/display/DXDraws.h"
#include "engine/display/SurfaceCanvas.h"
#include "game/Main.h"
#include "game/Preferences.h"
#include "platform/SoundDevice.h"

namespace Menu {
namespace {

constexpr int ClickSound = 7;
constexpr int ToggleSound = 4;
constexpr int UncheckedBox = 5;
constexpr int CheckedBox = 6;
constexpr int ScreenCount = 5;
// Background pictures by screen: main, options, picture screen, new game, best score.
constexpr int Backgrounds[ScreenCount] = {7, 8, 10, 11, 9};
constexpr TPoint BackgroundAt{-10, 0};

constexpr TDXDrawOptions VSynchOptions[] = {doWaitVBlank, doRetainedMode, doFlip};

void Invert(bool& flag) {
    flag = !flag;
}

// What a main-screen item shows under the pointer: its hover number and its highlight picture.
struct THighlight {
    std::uint8_t Hover = NoHover;
    int Picture = 0;
    TPoint At{};
};

// The volumes step by ten percent within 0..100; a value off the steps (from an edited file)
// goes to the neighbouring step.
constexpr int VolumeStep = 10;

void StepVolume(int& percent, int direction) {
    const int stepped = direction < 0 ? (percent - 1) / VolumeStep * VolumeStep : (percent / VolumeStep + 1) * VolumeStep;
    percent = std::clamp(stepped, 0, platform::SoundGroupVolumeMax);
    Main::ApplyVolumes();
}

// A clickable area of a screen: its sound plays before its action.
struct TArea {
    std::uint8_t Screen;
    TRect Rect;
    int Sound;
    void (*Action)();
    THighlight Highlight{};  // main-screen items only
};

// The first five areas are the main screen's items, in the order clicks and hovers test them.
constexpr TArea Areas[] = {
    {ScreenMain, {50, 180, 180, 205}, ClickSound, [] { MenuScreen = ScreenNewGame; }, {2, 0, {251, 182}}},
    {ScreenMain, {590, 175, 740, 200}, ClickSound, [] { MenuScreen = ScreenBestScore; }, {3, 1, {459, 177}}},
    {ScreenMain, {185, 250, 290, 275}, ClickSound, [] { MenuScreen = ScreenOptions; }, {0, 2, {369, 252}}},
    {ScreenMain, {40, 335, 170, 360}, ClickSound, [] { Main::QuitGame(); }, {4, 3, {225, 336}}},
    {ScreenMain, {625, 325, 720, 350}, ClickSound, [] { MenuScreen = ScreenPicture; }, {1, 4, {537, 329}}},
    {ScreenNewGame, {30, 535, 322, 561}, ClickSound, [] { MenuScreen = ScreenMain; }},
    {ScreenNewGame, {550, 535, 738, 561}, ClickSound,
     [] {
         if (TDirectDrawSurface* surface = Main::BackSurface()) surface->Fill(0);
         if (Main::StartGame) Main::StartGame();
     }},
    {ScreenNewGame, {365, 142, 398, 175}, ToggleSound, [] { Invert(Main::ShipChoice); }},
    {ScreenNewGame, {608, 296, 641, 329}, ToggleSound, [] { Invert(Main::ShipChoice); }},
    {ScreenBestScore, {20, 547, 309, 571}, ClickSound, [] { MenuScreen = ScreenMain; }},
    {ScreenBestScore, {230, 265, 505, 300}, ClickSound,
     [] {
         Main::SendScoreAtExit = true;
         Main::QuitGame();
     }},
    {ScreenOptions, {37, 550, 333, 577}, ClickSound, [] { MenuScreen = ScreenMain; }},
    {ScreenOptions, {165, 141, 198, 170}, ToggleSound, [] { Invert(Main::SoundOn); }},
    {ScreenOptions, {165, 173, 198, 202}, ToggleSound, [] { Invert(Main::MusicOn); }},
    {ScreenOptions, {165, 206, 198, 235}, ToggleSound, [] { Invert(Main::StereoOn); }},
    {ScreenOptions, {690, 373, 723, 402}, ToggleSound,
     [] {
         Invert(Main::VSynchOn);
         SetVSynch(Main::VSynchOn);
     }},
    {ScreenOptions, {690, 407, 723, 436}, ToggleSound, [] { Invert(Main::ShowFps); }},
    {ScreenPicture, {30, 554, 322, 578}, ClickSound, [] { MenuScreen = ScreenMain; }},
    {ScreenOptions, {292, 143, 316, 168}, ToggleSound, [] { StepVolume(Preferences::Current.EffectsVolume, -1); }},
    {ScreenOptions, {426, 143, 450, 168}, ToggleSound, [] { StepVolume(Preferences::Current.EffectsVolume, +1); }},
    {ScreenOptions, {292, 175, 316, 200}, ToggleSound, [] { StepVolume(Preferences::Current.MusicVolume, -1); }},
    {ScreenOptions, {426, 175, 450, 200}, ToggleSound, [] { StepVolume(Preferences::Current.MusicVolume, +1); }},
};

// A box of the options or new-game screen and the flag it shows.
struct TCheckBox {
    TPoint At;
    const bool* Checked;
};

const TCheckBox OptionBoxes[] = {{{165, 141}, &Main::SoundOn},
                                 {{165, 173}, &Main::MusicOn},
                                 {{165, 206}, &Main::StereoOn},
                                 {{690, 373}, &Main::VSynchOn},
                                 {{690, 407}, &Main::ShowFps}};

// The volume controls beside the Sound and Music boxes: a "-" and a "+" area (above) with ten
// slots between them, one lit per ten percent. The keys act on the row the pointer is in.
constexpr int VolumeLevel = 12;  // the picture of a lit slot
constexpr int VolumeSlotsLeft = 322;
constexpr int VolumeSlotPitch = 10;

struct TVolumeControl {
    int Top;  // of the row, level with its check box
    int* Percent;
};

const TVolumeControl VolumeControls[] = {{141, &Preferences::Current.EffectsVolume}, {173, &Preferences::Current.MusicVolume}};

bool InVolumeRow(const TVolumeControl& control, TPoint point) {
    return PtInRect({130, control.Top, 470, control.Top + 30}, point);
}

// Where the menu last saw the pointer; nowhere until it moves.
TPoint Pointer{-1, -1};

const TArea* AreaAt(std::uint8_t screen, TPoint point) {
    for (const TArea& area : Areas) {
        if (area.Screen == screen && PtInRect(area.Rect, point)) {
            return &area;
        }
    }
    return nullptr;
}

void DrawPicture(TDirectDrawSurface& surface, int index, TPoint at) {
    Main::ScreenImages()->Items(index).Draw(&surface, at.X, at.Y, 0);
}

void DrawCheckBox(TDirectDrawSurface& surface, TPoint at, bool checked) {
    DrawPicture(surface, checked ? CheckedBox : UncheckedBox, at);
}

// Menu graphics without the lit slot (from before the volumes) show the controls unlit.
void DrawVolumes(TDirectDrawSurface& surface) {
    if (Main::ScreenImages()->Count() <= VolumeLevel) {
        return;
    }
    for (const TVolumeControl& control : VolumeControls) {
        for (int slot = 0; slot < *control.Percent / VolumeStep; ++slot) {
            DrawPicture(surface, VolumeLevel, {VolumeSlotsLeft + slot * VolumeSlotPitch, control.Top + 5});
        }
    }
}

void DrawBestScore(TDirectDrawSurface& surface) {
    char digits[16];
    const auto written = std::to_chars(digits, digits + sizeof digits, Main::BestScore);
    TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "Verdana";
    canvas.Font.Size = 25;
    canvas.Font.Style = TFontStyle::Regular;
    canvas.Font.Color = 4281649;  // RGB(49, 85, 65)
    canvas.TextOut(245, 213, std::string_view(digits, static_cast<std::size_t>(written.ptr - digits)));
    canvas.Release();
}

}  // namespace

void StartMenu() {
    Main::AppMode = Main::AppModeMenu;
    MenuScreen = ScreenMain;
    MenuHover = NoHover;
    if (TPictureCollection* images = Main::ScreenImages()) {
        images->Clear();
        images->LoadFromFile("Data/MGraphics.dxg");
    }
}

void MenuFrame() {
    TDirectDrawSurface* surface = Main::BackSurface();
    if (surface == nullptr || MenuScreen >= ScreenCount) {
        return;
    }
    DrawPicture(*surface, Backgrounds[MenuScreen], BackgroundAt);
    switch (MenuScreen) {
        case ScreenMain:
            for (const TArea& item : Areas) {
                if (item.Screen == ScreenMain && item.Highlight.Hover == MenuHover) {
                    DrawPicture(*surface, item.Highlight.Picture, item.Highlight.At);
                }
            }
            break;
        case ScreenOptions:
            for (const TCheckBox& box : OptionBoxes) {
                DrawCheckBox(*surface, box.At, *box.Checked);
            }
            DrawVolumes(*surface);
            break;
        case ScreenNewGame:
            DrawCheckBox(*surface, {365, 142}, Main::ShipChoice);
            DrawCheckBox(*surface, {608, 296}, !Main::ShipChoice);
            break;
        case ScreenBestScore:
            DrawBestScore(*surface);
            break;
        default:
            break;
    }
}

void MenuMouseDown(TPoint Point) {
    if (const TArea* area = AreaAt(MenuScreen, Point)) {
        PlayMenuSound(area->Sound);
        area->Action();
    }
}

void MenuMouseMove(TPoint Point) {
    Pointer = Point;
    const TArea* area = AreaAt(MenuScreen, Point);
    Main::CursorOverButton = area != nullptr;
    if (MenuScreen == ScreenMain) {
        MenuHover = area != nullptr ? area->Highlight.Hover : NoHover;
    }
}

void MenuKeyPress(char Key) {
    const int direction = Key == '-' ? -1 : Key == '+' || Key == '=' ? 1 : 0;
    if (MenuScreen != ScreenOptions || direction == 0) {
        return;
    }
    const bool onARow = std::any_of(std::begin(VolumeControls), std::end(VolumeControls),
                                    [](const TVolumeControl& control) { return InVolumeRow(control, Pointer); });
    PlayMenuSound(ToggleSound);
    for (const TVolumeControl& control : VolumeControls) {
        if (!onARow || InVolumeRow(control, Pointer)) {
            StepVolume(*control.Percent, direction);
        }
    }
}

void SetVSynch(bool on) {
    if (Form1 == nullptr) {
        return;
    }
    TDXDraw& display = *Form1->DXDraw1;
    int present = 0;
    for (const TDXDrawOptions option : VSynchOptions) {
        if ((display.Options() & option) != 0) ++present;
    }
    if (on ? present > 0 : present < 3) {
        return;
    }
    display.Finalize();
    for (const TDXDrawOptions option : VSynchOptions) {
        const TDXDrawOptions changed = on ? static_cast<TDXDrawOptions>(display.Options() | option)
                                          : static_cast<TDXDrawOptions>(display.Options() & ~option);
        display.SetOptions(changed);
    }
    display.Initialize();
}

void PlayMenuSound(int index) {
    Main::PlaySoundEffect(index, 0);
}

}  // namespace Menu
