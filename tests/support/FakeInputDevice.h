// An input device for tests: held keys by scan code, a mouse reading and one gamepad set by the
// test, the window's focus, and a device that cannot be read.
#pragma once

#include <cstdint>

#include "platform/InputDevices.h"

class FakeInputDevice : public platform::InputDevice {
public:
    bool ReadKeyboard(platform::ScanCodeState& state) override {
        state = Fails ? platform::ScanCodeState{} : Keys;
        return !Fails;
    }
    bool ReadMouse(platform::MouseReading& reading) override {
        reading = Fails ? platform::MouseReading{} : Mouse;
        return !Fails;
    }
    bool IsForeground() const override { return Foreground; }
    bool ReadJoystick(int id, platform::JoystickReading& reading) override {
        const bool read = PadPlugged && id == 0 && !Fails;
        reading = read ? Pad : platform::JoystickReading{};
        return read;
    }

    void Press(std::uint8_t scanCode) { Keys[scanCode] = 0x80; }
    void Release(std::uint8_t scanCode) { Keys[scanCode] = 0; }

    platform::ScanCodeState Keys{};
    platform::MouseReading Mouse;
    platform::JoystickReading Pad;
    bool PadPlugged = false;
    bool Foreground = true;
    bool Fails = false;
};
