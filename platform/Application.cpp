// Application: the SDL event loop with the idle hook, and the translation of SDL's events into
// the main window's messages; every mouse press is latched for the mouse device's next reading,
// and gamepads are opened and closed as they are plugged in and pulled out. A pass of the loop
// waits until the window wants its next frame, then reads the events and runs the idle hook, so
// a frame shows the input of the moment it is drawn. Depends on SDL2, the window, the input
// devices and the gamepads.
#include "platform/Application.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/Gamepads.h"
#include "platform/InputDevices.h"
#include "platform/SdlWindow.h"

namespace platform {
namespace {

TShiftState ModifierState() {
    const SDL_Keymod mod = SDL_GetModState();
    TShiftState state = 0;
    if ((mod & KMOD_SHIFT) != 0) state |= ssShift;
    if ((mod & KMOD_ALT) != 0) state |= ssAlt;
    if ((mod & KMOD_CTRL) != 0) state |= ssCtrl;
    return state;
}

TShiftState ButtonState(std::uint32_t buttons) {
    TShiftState state = 0;
    if ((buttons & SDL_BUTTON_LMASK) != 0) state |= ssLeft;
    if ((buttons & SDL_BUTTON_RMASK) != 0) state |= ssRight;
    if ((buttons & SDL_BUTTON_MMASK) != 0) state |= ssMiddle;
    return state;
}

TShiftState ShiftOf(MouseButton button) {
    switch (button) {
        case MouseButton::Left: return ssLeft;
        case MouseButton::Right: return ssRight;
        case MouseButton::Middle: return ssMiddle;
    }
    return 0;
}

// The buttons at a press or release: the other buttons as they are now, the event's own button
// as the event says. By the time the event is read a quick click may already be released (or a
// release be followed by the next press), so the current state alone could lose it.
TShiftState ButtonStateAt(bool pressed, MouseButton button) {
    const TShiftState others = static_cast<TShiftState>(ButtonState(SDL_GetMouseState(nullptr, nullptr)) & ~ShiftOf(button));
    return static_cast<TShiftState>(pressed ? others | ShiftOf(button) : others);
}

bool ToButton(std::uint8_t sdlButton, MouseButton& button) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: button = MouseButton::Left; return true;
        case SDL_BUTTON_RIGHT: button = MouseButton::Right; return true;
        case SDL_BUTTON_MIDDLE: button = MouseButton::Middle; return true;
        default: return false;
    }
}

// Keys that type a control character rather than text.
bool ControlCharacter(SDL_Keycode key, char& character) {
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER: character = '\r'; return true;
        case SDLK_ESCAPE: character = 27; return true;
        case SDLK_BACKSPACE: character = 8; return true;
        case SDLK_TAB: character = 9; return true;
        default: return false;
    }
}

}  // namespace

Application& Application::Instance() {
    static Application application;
    return application;
}

int Application::AddActivationHook(ActivationHook hook) {
    const int id = FNextHookId++;
    FActivationHooks.emplace_back(id, std::move(hook));
    return id;
}

void Application::RemoveActivationHook(int id) {
    std::erase_if(FActivationHooks, [id](const auto& entry) { return entry.first == id; });
}

void Application::SetActive(bool active) {
    if (active == FActive) {
        return;
    }
    FActive = active;
    // A hook may remove itself; walk a copy.
    const auto hooks = FActivationHooks;
    for (const auto& [id, hook] : hooks) {
        hook(active);
    }
}

bool Application::DispatchPending(SdlWindow& window, const WindowEvents& events) {
    bool any = false;
    SDL_Event event;
    while (!FTerminated && SDL_PollEvent(&event) != 0) {
        any = true;
        switch (event.type) {
            case SDL_QUIT:
                if (events.OnCloseRequest) events.OnCloseRequest();
                break;
            case SDL_RENDER_TARGETS_RESET:
            case SDL_RENDER_DEVICE_RESET:
                window.NoteDeviceReset();
                break;
            case SDL_WINDOWEVENT:
                switch (event.window.event) {
                    case SDL_WINDOWEVENT_FOCUS_GAINED:
                    case SDL_WINDOWEVENT_RESTORED:
                        window.NoteFocus(true);
                        SetActive(true);
                        break;
                    case SDL_WINDOWEVENT_FOCUS_LOST:
                    case SDL_WINDOWEVENT_MINIMIZED:
                        window.NoteFocus(false);
                        SetActive(false);
                        break;
                    case SDL_WINDOWEVENT_EXPOSED:
                        window.NoteExposed();
                        if (events.OnRepaint) events.OnRepaint();
                        break;
                    case SDL_WINDOWEVENT_CLOSE:
                        if (events.OnCloseRequest) events.OnCloseRequest();
                        break;
                    default:
                        break;
                }
                break;
            case SDL_TEXTINPUT:
                if (events.OnKeyPress) {
                    for (const char* c = event.text.text; *c != '\0'; ++c) {
                        if (static_cast<unsigned char>(*c) < 0x80) events.OnKeyPress(*c);
                    }
                }
                break;
            case SDL_KEYDOWN: {
                char character = 0;
                if (events.OnKeyPress && ControlCharacter(event.key.keysym.sym, character)) {
                    events.OnKeyPress(character);
                }
                break;
            }
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                MouseButton button{};
                if (!ToButton(event.button.button, button)) break;
                int x = event.button.x;
                int y = event.button.y;
                window.WindowToClient(x, y);
                const bool pressed = event.type == SDL_MOUSEBUTTONDOWN;
                const TShiftState shift = static_cast<TShiftState>(ModifierState() | ButtonStateAt(pressed, button));
                if (pressed) {
                    LatchMouseButtonPress(static_cast<int>(button));
                }
                const auto& handler = pressed ? events.OnMouseDown : events.OnMouseUp;
                if (handler) handler(button, shift, x, y);
                break;
            }
            case SDL_MOUSEMOTION: {
                int x = event.motion.x;
                int y = event.motion.y;
                window.WindowToClient(x, y);
                if (events.OnMouseMove) {
                    events.OnMouseMove(static_cast<TShiftState>(ModifierState() | ButtonState(event.motion.state)), x, y);
                }
                break;
            }
            case SDL_CONTROLLERDEVICEADDED:
                NoteGamepadAdded(event.cdevice.which);
                break;
            case SDL_CONTROLLERDEVICEREMOVED:
                NoteGamepadRemoved(event.cdevice.which);
                break;
            default:
                break;
        }
    }
    return any;
}

bool Application::Idle() {
    bool done = true;
    if (FIdleHook) {
        // Copy: the hook may replace or clear itself.
        const IdleHook hook = FIdleHook;
        hook(done);
    }
    return done;
}

// Events that arrive meanwhile are handled at once; the last whole millisecond is slept
// through, since waiting for events only counts whole ones.
void Application::WaitForFrame(SdlWindow& window, const WindowEvents& events) {
    const auto due = window.FrameDue();
    if (!due || !FIdleHook) {
        return;
    }
    using std::chrono::milliseconds;
    while (!FTerminated) {
        const auto left = std::chrono::duration_cast<milliseconds>(*due - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            std::this_thread::sleep_until(*due);
            return;
        }
        if (SDL_WaitEventTimeout(nullptr, static_cast<int>(left.count())) != 0) {
            DispatchPending(window, events);
        }
    }
}

bool Application::ProcessMessagesAndIdle(SdlWindow& window, const WindowEvents& events) {
    WaitForFrame(window, events);
    DispatchPending(window, events);
    return FTerminated || Idle();
}

void Application::Run(SdlWindow& window, const WindowEvents& events) {
    SDL_StartTextInput();
    while (!FTerminated) {
        const bool done = ProcessMessagesAndIdle(window, events);
        if (done && !FTerminated) {
            // Nothing to do until the next event.
            SDL_WaitEventTimeout(nullptr, 100);
        }
    }
}

}  // namespace platform
