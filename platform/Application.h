// Application: the message loop of the one main window. Window events are dispatched first;
// whenever none is waiting the idle hook runs (the frame timer lives there), at the moment the
// window wants its next frame. Focus changes are the activation messages. Closing the window
// through the desktop, SIGTERM or SIGINT arrive as a close request so the program can close in
// its orderly way.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

enum class MouseButton : std::uint8_t { Left, Right, Middle };

// Modifier and button state of a mouse event.
enum ShiftState : std::uint8_t {
    ssShift = 1 << 0,
    ssAlt = 1 << 1,
    ssCtrl = 1 << 2,
    ssLeft = 1 << 3,
    ssRight = 1 << 4,
    ssMiddle = 1 << 5,
};
using TShiftState = std::uint8_t;

struct WindowEvents {
    std::function<void(char)> OnKeyPress;  // typed characters, with Enter as '\r', Escape 27, Backspace 8
    std::function<void(MouseButton, TShiftState, int x, int y)> OnMouseDown;
    std::function<void(MouseButton, TShiftState, int x, int y)> OnMouseUp;
    std::function<void(TShiftState, int x, int y)> OnMouseMove;
    std::function<void()> OnCloseRequest;
    std::function<void()> OnRepaint;
};

class SdlWindow;

class Application {
public:
    // The idle hook sets done to false when it wants to be called again at once.
    using IdleHook = std::function<void(bool& done)>;
    using ActivationHook = std::function<void(bool active)>;

    static Application& Instance();

    std::string Title;

    void SetIdleHook(IdleHook hook) { FIdleHook = std::move(hook); }
    void ClearIdleHook() { FIdleHook = nullptr; }
    bool HasIdleHook() const { return static_cast<bool>(FIdleHook); }

    // Activation listeners are called in the order they were added; the id removes one again.
    int AddActivationHook(ActivationHook hook);
    void RemoveActivationHook(int id);
    bool Active() const { return FActive; }
    // Raises the activation message (the window does this on focus changes; tests call it).
    void SetActive(bool active);

    // Runs the loop until Terminate. Events go to the window's handlers.
    void Run(SdlWindow& window, const WindowEvents& events);
    // One pass: wait (handling events) until the window wants its next frame, then all pending
    // events, then the idle hook once; true when the hook is done. Tests step the loop with it.
    bool ProcessMessagesAndIdle(SdlWindow& window, const WindowEvents& events);
    // Runs the idle hook once (what the loop does when no event waits); false when it is done.
    bool Idle();
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    void Reset() { FTerminated = false; }

private:
    bool DispatchPending(SdlWindow& window, const WindowEvents& events);
    void WaitForFrame(SdlWindow& window, const WindowEvents& events);

    IdleHook FIdleHook;
    std::vector<std::pair<int, ActivationHook>> FActivationHooks;
    int FNextHookId = 1;
    bool FActive = true;
    bool FTerminated = false;
};

}  // namespace platform
