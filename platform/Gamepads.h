// Gamepads: the game controllers plugged in, read through SDL's game-controller API. The message
// loop reports each controller's arrival and departure, so pads may come and go at any time; they
// are kept in the order they arrived, pad 0 being the first of those still plugged in.
// Depends on SDL2 (inside the .cpp).
#pragma once

#include <array>
#include <cstdint>

namespace platform {

// A gamepad's buttons, in the order of the reading's button bytes.
enum JoystickButton : std::uint8_t {
    PadA, PadB, PadX, PadY, PadBack, PadGuide, PadStart, PadLeftStick, PadRightStick,
    PadLeftShoulder, PadRightShoulder, PadUp, PadDown, PadLeft, PadRight,
};
constexpr int JoystickButtonCount = PadRight + 1;

// A gamepad as it stands: sticks from -32768 to 32767 (y grows downwards), triggers from 0 to
// 32767, and one byte per button, bit 7 set when held.
struct JoystickReading {
    std::int32_t LeftX = 0;
    std::int32_t LeftY = 0;
    std::int32_t RightX = 0;
    std::int32_t RightY = 0;
    std::int32_t LeftTrigger = 0;
    std::int32_t RightTrigger = 0;
    std::array<std::uint8_t, JoystickButtonCount> Buttons{};
    friend bool operator==(const JoystickReading&, const JoystickReading&) = default;
};

// Runs SDL's game-controller service while at least one of these exists. Controllers already
// plugged in when it starts arrive through the message loop like any other.
class GamepadService {
public:
    GamepadService();
    ~GamepadService();
    GamepadService(const GamepadService&) = delete;
    GamepadService& operator=(const GamepadService&) = delete;
};

// A controller arrived (by SDL's device index) or left (by SDL's instance id); the message loop
// calls these. A device that is no game controller, or one already open, is passed over.
void NoteGamepadAdded(int deviceIndex);
void NoteGamepadRemoved(int instanceId);
// The pads open now.
int GamepadCount();
// Reads pad `id` (in order of arrival); false, with the reading all zero, when there is none.
bool ReadGamepad(int id, JoystickReading& reading);

}  // namespace platform
