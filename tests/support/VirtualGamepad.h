// A game controller for tests: SDL's virtual joystick with a controller's six axes and its
// buttons, plugged in when made (SDL's game-controller service must be running, as the SDL input
// device keeps it) and pulled out when destroyed or by hand. The window's message loop has to run
// for SDL to report it and to pick up what the test sets.
#pragma once

#include <SDL.h>

#include <gtest/gtest.h>

class VirtualGamepad {
public:
    VirtualGamepad() { PlugIn(); }
    ~VirtualGamepad() { PullOut(); }
    VirtualGamepad(const VirtualGamepad&) = delete;
    VirtualGamepad& operator=(const VirtualGamepad&) = delete;

    void PlugIn() {
        const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                    SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_GE(index, 0) << SDL_GetError();
        FJoystick = SDL_JoystickOpen(index);
        ASSERT_NE(FJoystick, nullptr) << SDL_GetError();
    }

    void PullOut() {
        if (FJoystick == nullptr) {
            return;
        }
        const SDL_JoystickID instance = SDL_JoystickInstanceID(FJoystick);
        SDL_JoystickClose(FJoystick);
        FJoystick = nullptr;
        // Device indices shift as devices come and go; the instance names this pad.
        for (int index = 0; index < SDL_NumJoysticks(); ++index) {
            if (SDL_JoystickGetDeviceInstanceID(index) == instance) {
                SDL_JoystickDetachVirtual(index);
                return;
            }
        }
    }

    // A stick, from -32768 to 32767.
    void Stick(SDL_GameControllerAxis axis, Sint16 value) { SDL_JoystickSetVirtualAxis(FJoystick, axis, value); }
    // A trigger pulled from 0 (at rest) to 1 (all the way).
    void Trigger(SDL_GameControllerAxis axis, double pulled) {
        SDL_JoystickSetVirtualAxis(FJoystick, axis, static_cast<Sint16>(-32768 + pulled * 65535));
    }
    void Button(SDL_GameControllerButton button, bool held) {
        SDL_JoystickSetVirtualButton(FJoystick, button, held ? 1 : 0);
    }

private:
    SDL_Joystick* FJoystick = nullptr;
};
