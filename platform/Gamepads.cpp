// Gamepads: SDL's game controllers opened as they arrive, closed as they leave, and read by
// button and axis. Depends on SDL2.
#include "platform/Gamepads.h"

#include <SDL.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace platform {
namespace {

int ServiceUsers = 0;
bool ServiceRunning = false;
// In order of arrival.
std::vector<SDL_GameController*> Pads;

// SDL's buttons in the reading's order.
constexpr SDL_GameControllerButton ReadingButtons[JoystickButtonCount] = {
    SDL_CONTROLLER_BUTTON_A,          SDL_CONTROLLER_BUTTON_B,           SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,          SDL_CONTROLLER_BUTTON_BACK,        SDL_CONTROLLER_BUTTON_GUIDE,
    SDL_CONTROLLER_BUTTON_START,      SDL_CONTROLLER_BUTTON_LEFTSTICK,   SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDL_CONTROLLER_BUTTON_DPAD_UP,
    SDL_CONTROLLER_BUTTON_DPAD_DOWN,  SDL_CONTROLLER_BUTTON_DPAD_LEFT,   SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
};

SDL_JoystickID InstanceOf(SDL_GameController* pad) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
}

}  // namespace

GamepadService::GamepadService() {
    if (ServiceUsers++ == 0) {
        // The input component decides whether the window's focus matters; SDL keeps every pad's
        // state current, so nothing reads stale when the focus comes back.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ServiceRunning = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    }
}

GamepadService::~GamepadService() {
    if (--ServiceUsers > 0) {
        return;
    }
    for (SDL_GameController* pad : Pads) {
        SDL_GameControllerClose(pad);
    }
    Pads.clear();
    if (ServiceRunning) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        ServiceRunning = false;
    }
}

void NoteGamepadAdded(int deviceIndex) {
    if (!ServiceRunning || SDL_IsGameController(deviceIndex) == SDL_FALSE) {
        return;
    }
    const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (std::any_of(Pads.begin(), Pads.end(), [instance](SDL_GameController* pad) { return InstanceOf(pad) == instance; })) {
        return;
    }
    if (SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex)) {
        Pads.push_back(pad);
    }
}

void NoteGamepadRemoved(int instanceId) {
    std::erase_if(Pads, [instanceId](SDL_GameController* pad) {
        if (InstanceOf(pad) != instanceId) {
            return false;
        }
        SDL_GameControllerClose(pad);
        return true;
    });
}

int GamepadCount() {
    return static_cast<int>(Pads.size());
}

bool ReadGamepad(int id, JoystickReading& reading) {
    reading = JoystickReading{};
    if (id < 0 || id >= GamepadCount()) {
        return false;
    }
    SDL_GameController* pad = Pads[static_cast<std::size_t>(id)];
    if (SDL_GameControllerGetAttached(pad) == SDL_FALSE) {
        return false;
    }
    reading.LeftX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    reading.LeftY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    reading.RightX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX);
    reading.RightY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY);
    reading.LeftTrigger = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    reading.RightTrigger = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    for (std::size_t button = 0; button < reading.Buttons.size(); ++button) {
        reading.Buttons[button] = SDL_GameControllerGetButton(pad, ReadingButtons[button]) != 0 ? 0x80 : 0;
    }
    return true;
}

}  // namespace platform
