// InputDevices: the keyboard, the mouse and the gamepads as the engine's input component reads
// them — a 256-byte table of held keys by PC scan code, a 16-byte relative mouse reading, a
// gamepad's sticks, triggers and buttons, and whether the game's window has the input focus.
// SdlInputDevice reads them from SDL; tests use fakes. Depends on Gamepads (SDL stays inside the
// .cpp files).
#pragma once

#include <array>
#include <cstdint>

#include "platform/Gamepads.h"

namespace platform {

// Held keys by set-1 scan code, extended keys at 0x80 + code (keypad Enter 156, Up 200);
// bit 7 set means held.
using ScanCodeState = std::array<std::uint8_t, 256>;

// Motion since the previous reading; buttons left, right, middle, fourth, bit 7 set means held.
struct MouseReading {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Z = 0;
    std::array<std::uint8_t, 4> Buttons{};
};
static_assert(sizeof(MouseReading) == 16);

class InputDevice {
public:
    virtual ~InputDevice() = default;
    // False when the keyboard cannot be read; the state is then all zero.
    virtual bool ReadKeyboard(ScanCodeState& state) = 0;
    // False when the mouse cannot be read; the reading is then all zero.
    virtual bool ReadMouse(MouseReading& reading) = 0;
    // True while the game's window has the input focus.
    virtual bool IsForeground() const = 0;
    // Gamepad `id` (0 the first of those plugged in); false when there is no such pad, and the
    // reading is then all zero. A device without gamepads has none.
    virtual bool ReadJoystick(int id, JoystickReading& reading) {
        static_cast<void>(id);
        reading = JoystickReading{};
        return false;
    }
};

// SDL's keyboard state and relative mouse motion, which need SDL's video subsystem to be running,
// and SDL's game controllers, whose service runs as long as the device exists. A mouse button
// counts as held at a reading when it is held then or was pressed since the previous reading (see
// LatchMouseButtonPress).
class SdlInputDevice final : public InputDevice {
public:
    bool ReadKeyboard(ScanCodeState& state) override;
    bool ReadMouse(MouseReading& reading) override;
    bool IsForeground() const override;
    bool ReadJoystick(int id, JoystickReading& reading) override;

private:
    GamepadService FGamepads;
};

// Remembers a press of mouse button `index` (0 left, 1 right, 2 middle, 3 fourth) until the next
// mouse reading. A click released before the mouse is read (a tap, a click shorter than a frame)
// then still reads as held once, so whoever reacts to the press sees its button. The message loop
// calls it for every press before the press's handler runs.
void LatchMouseButtonPress(int index);

// Turns SDL's key state (one byte per SDL scancode, non-zero = held) into the scan-code state.
// Keys without a PC scan code are left out.
void TranslateKeyState(const std::uint8_t* sdlKeyState, int sdlKeyCount, ScanCodeState& state);

}  // namespace platform
