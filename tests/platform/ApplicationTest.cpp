// Tests of the message loop, fed with synthetic SDL events on the dummy video driver: a click
// whose press and release are both read in one pass of the loop, a termination signal that
// arrives while the event queue is full, and the window's own keys.
#include "platform/Application.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "platform/InputDevices.h"
#include "platform/SdlWindow.h"

namespace {

struct ButtonCase {
    std::uint8_t SdlButton;
    platform::TShiftState Shift;
    std::size_t ReadingIndex;
};

constexpr ButtonCase Buttons[] = {
    {SDL_BUTTON_LEFT, platform::ssLeft, 0},
    {SDL_BUTTON_RIGHT, platform::ssRight, 1},
    {SDL_BUTTON_MIDDLE, platform::ssMiddle, 2},
};

class QuickClickTest : public ::testing::Test {
protected:
    QuickClickTest() {
        std::string error;
        EXPECT_TRUE(Window.Create("Zarvoth Mutador", 800, 600, error)) << error;
        App.Reset();
        platform::MouseReading drained;
        Device.ReadMouse(drained);
    }
    ~QuickClickTest() override { App.Reset(); }

    // Press and release queued back to back, then one pass of the loop reads both.
    void Click(std::uint8_t sdlButton, const platform::WindowEvents& events) {
        for (const Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            SDL_Event event{};
            event.button.type = type;
            event.button.windowID = Window.WindowId();
            event.button.button = sdlButton;
            event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            event.button.x = 300;
            event.button.y = 200;
            ASSERT_EQ(SDL_PushEvent(&event), 1);
        }
        App.ProcessMessagesAndIdle(Window, events);
    }

    platform::Application& App = platform::Application::Instance();
    platform::SdlWindow Window;
    platform::SdlInputDevice Device;
};

TEST_F(QuickClickTest, ThePressCarriesItsButtonAndTheReleaseDoesNot) {
    for (const ButtonCase& button : Buttons) {
        std::vector<platform::TShiftState> downs;
        std::vector<platform::TShiftState> ups;
        platform::WindowEvents events;
        events.OnMouseDown = [&](platform::MouseButton, platform::TShiftState shift, int, int) { downs.push_back(shift); };
        events.OnMouseUp = [&](platform::MouseButton, platform::TShiftState shift, int, int) { ups.push_back(shift); };
        Click(button.SdlButton, events);
        ASSERT_EQ(downs.size(), 1u);
        ASSERT_EQ(ups.size(), 1u);
        EXPECT_EQ(downs[0] & (platform::ssLeft | platform::ssRight | platform::ssMiddle), button.Shift);
        EXPECT_EQ(ups[0] & button.Shift, 0) << "released";
    }
}

// What the player ship does: read the mouse inside the press's handler and fire if the button
// is held. The press counts once, then the released button reads as released again.
TEST_F(QuickClickTest, APressReadsAsHeldOnceAlthoughReleasedBeforeTheReading) {
    for (const ButtonCase& button : Buttons) {
        platform::MouseReading atPress;
        platform::WindowEvents events;
        events.OnMouseDown = [&](platform::MouseButton, platform::TShiftState, int, int) { Device.ReadMouse(atPress); };
        Click(button.SdlButton, events);
        std::array<std::uint8_t, 4> expected{};
        expected[button.ReadingIndex] = 0x80;
        EXPECT_EQ(atPress.Buttons, expected);

        platform::MouseReading next;
        Device.ReadMouse(next);
        EXPECT_EQ(next.Buttons, (std::array<std::uint8_t, 4>{}));
    }
}

// A termination signal in a flood of typing: a quit event would be dropped by the full queue.
// The request reaches the window once, before the rest of the flood, and ends the loop even when
// the window's handler does not.
TEST_F(QuickClickTest, ATerminationSignalGetsThroughAFullEventQueue) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SDL_Event typed{};
        typed.text.type = SDL_TEXTINPUT;
        typed.text.windowID = Window.WindowId();
        typed.text.text[0] = '5';
        std::size_t queued = 0;
        while (SDL_PushEvent(&typed) == 1) ++queued;
        ASSERT_GT(queued, 60000u) << "the queue is full";
        std::raise(signal);
        int closeRequests = 0;
        std::size_t keys = 0;
        platform::WindowEvents events;
        events.OnCloseRequest = [&] { ++closeRequests; };
        events.OnKeyPress = [&](char) { ++keys; };
        for (int pass = 0; pass < 3 && !App.Terminated(); ++pass) App.ProcessMessagesAndIdle(Window, events);
        EXPECT_EQ(closeRequests, 1) << signal;
        EXPECT_TRUE(App.Terminated()) << signal;
        EXPECT_LT(keys, queued) << signal;
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        App.Reset();
    }
}

using WindowKeyTest = QuickClickTest;

// F11, Alt+Enter and F12 belong to the window: they reach it once per press and type nothing.
TEST_F(WindowKeyTest, TheWindowsKeysGoToTheWindowAndTypeNothing) {
    using platform::WindowKey;
    struct Case {
        SDL_Keycode Key;
        Uint16 Modifiers;
        Uint8 Repeat;
        std::vector<WindowKey> WindowKeys;
        std::string Typed;
    };
    const Case cases[] = {
        {SDLK_F11, KMOD_NONE, 0, {WindowKey::ToggleFullScreen}, ""},
        {SDLK_RETURN, KMOD_LALT, 0, {WindowKey::ToggleFullScreen}, ""},
        {SDLK_KP_ENTER, KMOD_RALT, 0, {WindowKey::ToggleFullScreen}, ""},
        {SDLK_F12, KMOD_NONE, 0, {WindowKey::Screenshot}, ""},
        {SDLK_F11, KMOD_NONE, 1, {}, ""},   // a held key switches once
        {SDLK_RETURN, KMOD_LALT, 1, {}, ""},
        {SDLK_RETURN, KMOD_NONE, 0, {}, "\r"},
        {SDLK_RETURN, KMOD_LCTRL, 0, {}, "\r"},
    };
    for (const Case& c : cases) {
        std::vector<WindowKey> windowKeys;
        std::string typed;
        platform::WindowEvents events;
        events.OnWindowKey = [&](WindowKey key) { windowKeys.push_back(key); };
        events.OnKeyPress = [&](char key) { typed += key; };
        SDL_Event event{};
        event.key.type = SDL_KEYDOWN;
        event.key.windowID = Window.WindowId();
        event.key.state = SDL_PRESSED;
        event.key.repeat = c.Repeat;
        event.key.keysym.sym = c.Key;
        event.key.keysym.mod = c.Modifiers;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
        App.ProcessMessagesAndIdle(Window, events);
        EXPECT_EQ(windowKeys, c.WindowKeys) << SDL_GetKeyName(c.Key) << " modifiers " << c.Modifiers;
        EXPECT_EQ(typed, c.Typed) << SDL_GetKeyName(c.Key) << " modifiers " << c.Modifiers;
    }
}

}  // namespace
