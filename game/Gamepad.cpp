// Gamepad: the pad's pointer, clicks and keys, delivered through the main window's handlers.
#include "game/Gamepad.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <string_view>

#include "engine/input/DXInput.h"
#include "game/Commands.h"
#include "game/DigitEntry.h"
#include "game/Game.h"
#include "game/Main.h"
#include "platform/InputDevices.h"
#include "platform/SdlWindow.h"

namespace Gamepad {
namespace {

using DigitEntry::TDigitStep;

constexpr char Escape = 27;
constexpr char Enter = 13;
// A frame longer than this (the first one, a stall) moves the pointer and the repeat no further.
constexpr float LongestStep = 0.1f;

// Buttons that type a command key, as the keyboard would.
struct TTypedButton {
    int Button;
    char Key;
};
constexpr TTypedButton TypedButtons[] = {
    {JoystickLeftTrigger, 'h'}, {platform::PadX, 'c'},      {platform::PadY, 't'},
    {platform::PadRightShoulder, 'r'}, {platform::PadStart, Escape},
};

// Buttons that edit the number in a dialog's input field.
struct TFieldButton {
    int Button;
    TDigitStep Step;
};
constexpr TFieldButton FieldButtons[] = {
    {platform::PadUp, TDigitStep::Up},     {platform::PadDown, TDigitStep::Down}, {platform::PadRight, TDigitStep::Add},
    {platform::PadLeft, TDigitStep::Delete}, {platform::PadB, TDigitStep::Delete},
};

TDXInputStates Previous;
// The pointer to a fraction of a pixel, and the points the pad last sent it to: a report of the
// pointer at one of those is the pad's own move arriving (a window system may take a frame or
// two), anything else is the mouse's, which the pad then carries on from.
bool PointerKnown = false;
double PointerX = 0;
double PointerY = 0;
TPoint LastSeen;
std::array<TPoint, 4> Targets{};
std::size_t NextTarget = 0;
// Seconds until a held trigger clicks again.
float FireWait = 0;

TDXInputState StateOf(int button) {
    return static_cast<TDXInputState>(StateButton1 + button);
}

void Type(std::string_view keys) {
    for (const char key : keys) {
        Form1->FormKeyPress(key);
    }
}

// A quick left click as the message loop delivers one: the press is latched for the mouse's next
// reading before the handlers run, so the ship sees its button held.
void Click(TPoint point) {
    platform::LatchMouseButtonPress(static_cast<int>(platform::MouseButton::Left));
    Form1->DXDraw1MouseDown(platform::MouseButton::Left, platform::ssLeft, point.X, point.Y);
    Form1->DXDraw1MouseUp(platform::MouseButton::Left, 0, point.X, point.Y);
}

bool Playing() {
    return Main::AppMode == Main::AppModeGame && Game::GameRunning();
}

bool InInputField() {
    return Playing() && Game::GameState == Game::StateDialog && Game::GameBox && Game::GameBox->HasEditLine();
}

bool AimingPhaser(TPoint point) {
    return Playing() && Game::GameState == Game::StatePlaying && Game::IsPhaserClick(point);
}

// A held trigger clicks as often as the phaser gains back the energy of one shot, so that every
// shot of a long burst is at the strength of the first.
float FireInterval() {
    return static_cast<float>(TPlayer::PhaserShotCost / Game::Player->PhaserRecharge());
}

TPoint MovePointer(const TJoystick& pad, float seconds) {
    platform::SdlWindow& window = Form1->Window();
    const TPoint seen = Form1->PointerPosition();
    const bool ours = std::find(Targets.begin(), Targets.end(), seen) != Targets.end();
    if (!PointerKnown || (seen != LastSeen && !ours)) {
        PointerX = seen.X;
        PointerY = seen.Y;
        PointerKnown = true;
    }
    LastSeen = seen;
    const double x = pad.Axes().RX / static_cast<double>(std::max(pad.RangeX, 1));
    const double y = pad.Axes().RY / static_cast<double>(std::max(pad.RangeY, 1));
    const double push = std::hypot(x, y);
    if (push > 0) {
        const double distance = std::min(push, 1.0) * std::min(push, 1.0) * PointerTopSpeed * seconds;
        PointerX = std::clamp(PointerX + x / push * distance, 0.0, window.ClientWidth() - 1.0);
        PointerY = std::clamp(PointerY + y / push * distance, 0.0, window.ClientHeight() - 1.0);
    }
    const TPoint target{static_cast<int>(std::lround(PointerX)), static_cast<int>(std::lround(PointerY))};
    if (target != seen) {
        window.MovePointer(target.X, target.Y);
        Targets[NextTarget] = target;
        NextTarget = (NextTarget + 1) % Targets.size();
    }
    return target;
}

void Trigger(bool pressed, bool held, TPoint pointer, float seconds) {
    if (pressed) {
        Click(pointer);
        FireWait = AimingPhaser(pointer) ? FireInterval() : 0.0f;
        return;
    }
    if (!held || !AimingPhaser(pointer)) {
        return;
    }
    FireWait -= seconds;
    if (FireWait <= 0) {
        Click(pointer);
        FireWait += FireInterval();
    }
}

}  // namespace

void ResetGamepad() {
    Previous = {};
    PointerKnown = false;
    Targets = {};
    NextTarget = 0;
    FireWait = 0;
}

void GamepadStep() {
    if (Form1 == nullptr) {
        return;
    }
    TJoystick& pad = Form1->DXInput1->Joystick;
    pad.Poll();
    const TDXInputStates held = pad.StateSet();
    const TDXInputStates pressed = held.Without(Previous);
    Previous = held;
    if (!pad.Present()) {
        return;
    }
    const auto wasPressed = [&](int button) { return pressed.Contains(StateOf(button)); };
    const float seconds = std::clamp(Main::FrameTime, 0.0f, LongestStep);
    const TPoint pointer = MovePointer(pad, seconds);
    if (InInputField()) {
        for (const TFieldButton& field : FieldButtons) {
            if (wasPressed(field.Button)) {
                Type(DigitEntry::DigitKeys(Game::GameBox->EditLine().Text, field.Step));
            }
        }
        if (wasPressed(platform::PadA)) {
            Type(std::string_view(&Enter, 1));
        }
    } else if (wasPressed(platform::PadA)) {
        Click(pointer);
    }
    for (const TTypedButton& typed : TypedButtons) {
        if (wasPressed(typed.Button)) {
            Type(std::string_view(&typed.Key, 1));
        }
    }
    Trigger(wasPressed(JoystickRightTrigger), held.Contains(StateOf(JoystickRightTrigger)), pointer, seconds);
}

}  // namespace Gamepad
