// The start menu on a real X display (run under xvfb-run): the program's own loop on a real
// window, driven by real input — SDL mouse events through SDL's queue, and keys typed through
// the X server (xdotool) to check the characters the dialogs receive.
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "game/Main.h"
#include "game/Menu.h"
#include "platform/Application.h"
#include "platform/InputDevices.h"
#include "platform/SdlAudioOutput.h"
#include "platform/SdlWindow.h"
#include "support/X11GameWindow.h"

namespace {

class X11MenuTest : public X11GameWindowTest {
protected:
    void MoveTo(int x, int y) {
        const auto [wx, wy] = WindowPoint(x, y);
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = Window.WindowId();
        event.motion.x = wx;
        event.motion.y = wy;
        SDL_PushEvent(&event);
        Pump(std::chrono::milliseconds(100));
    }

    void ClickAt(int x, int y) {
        MoveTo(x, y);
        const auto [wx, wy] = WindowPoint(x, y);
        for (const std::uint32_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            SDL_Event event{};
            event.type = type;
            event.button.windowID = Window.WindowId();
            event.button.button = SDL_BUTTON_LEFT;
            event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            event.button.clicks = 1;
            event.button.x = wx;
            event.button.y = wy;
            SDL_PushEvent(&event);
        }
        Pump(std::chrono::milliseconds(150));
    }

};

}  // namespace

TEST_F(X11MenuTest, APlayerHoversVisitsTheOptionsSwitchesSoundOffGoesBackAndLeaves) {
    Pump(std::chrono::milliseconds(300));
    MoveTo(100, 190);
    EXPECT_EQ(Menu::MenuHover, 2) << "new game lit";
    EXPECT_TRUE(Main::CursorOverButton);
    MoveTo(400, 450);
    EXPECT_EQ(Menu::MenuHover, Menu::NoHover);
    EXPECT_FALSE(Main::CursorOverButton);

    ClickAt(230, 262);
    ASSERT_EQ(Menu::MenuScreen, Menu::ScreenOptions);
    ClickAt(180, 155);
    EXPECT_FALSE(Main::SoundOn);
    ClickAt(700, 420);
    EXPECT_TRUE(Main::ShowFps);
    ClickAt(100, 560);
    ASSERT_EQ(Menu::MenuScreen, Menu::ScreenMain);
    ClickAt(100, 347);
    EXPECT_TRUE(App.Terminated());
    EXPECT_TRUE(Form->Closed());

    std::ifstream file("Data/Data.qbx", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 40u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 15), "\x0eZarvothMutador");
    // Best score 0, then sound, music, stereo, vertical sync, frame rate.
    EXPECT_EQ(std::vector<char>(bytes.begin() + 28, bytes.begin() + 37),
              (std::vector<char>{0, 0, 0, 0, 0, 1, 1, 1, 1}));
    Main::SoundOn = true;
    Main::ShowFps = false;
}

TEST_F(X11MenuTest, TypedKeysArriveOnceAsTheCharactersTheDialogsExpect) {
    std::string typed;
    Main::Routes()[Main::AppModeGame].KeyPress = [&](char key) { typed.push_back(key); };
    Main::AppMode = Main::AppModeGame;
    Pump(std::chrono::milliseconds(300));
    // Keys go where the pointer is (no window manager); a held 7 repeats.
    const std::string keys =
        "xdotool mousemove --sync 400 300 key Return KP_Enter BackSpace Escape 5 a KP_3 type 'é€' && "
        "xdotool keydown 7 sleep 1.2 keyup 7";
    ASSERT_EQ(std::system(("(" + keys + ") &").c_str()), 0);
    Pump(std::chrono::milliseconds(2500));
    Main::AppMode = Main::AppModeMenu;

    ASSERT_GE(typed.size(), 9u) << typed;
    EXPECT_EQ(typed.substr(0, 7), std::string("\r\r\b\x1b" "5a3"));
    const std::string held = typed.substr(7);
    EXPECT_EQ(held.find_first_not_of('7'), std::string::npos) << "é and € are dropped: " << held;
    EXPECT_GE(held.size(), 2u) << "the held key repeats";
    std::printf("typed %zu characters; the held 7 gave %zu\n", typed.size(), held.size());
}
