// A gamepad on a real X display (run under xvfb-run): SDL's virtual controller plugged in, pulled
// out and plugged in again in the middle of a game, its trigger firing the phaser through the
// mouse device, its right stick moving the X pointer and A clicking in the menu.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "game/Game.h"
#include "game/Menu.h"
#include "game/Sprites.h"
#include "platform/Gamepads.h"
#include "support/VirtualGamepad.h"
#include "support/X11GameWindow.h"

namespace {

using namespace std::chrono_literals;

class X11GamepadTest : public X11GameWindowTest {
protected:
    X11GamepadTest() {
        // With no window manager the keyboard focus follows the pointer into the window.
        PointAt(400, 300);
    }

    void PointAt(int x, int y) {
        Window.MovePointer(x, y);
        Pump(200ms);
    }

    // Runs the loop until the condition holds or the time is up; true if it held.
    template <class Condition>
    bool PumpUntil(Condition done, std::chrono::milliseconds limit = 5000ms) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done() && std::chrono::steady_clock::now() < end) {
            App.ProcessMessagesAndIdle(Window, Form->Events());
        }
        return done();
    }
};

TEST_F(X11GamepadTest, APadPluggedInPulledOutAndPluggedInAgainMidGameSteersAndFires) {
    Game::StartGame();
    ASSERT_TRUE(PumpUntil([] { return Game::GameState == Game::StateDialog; })) << "the welcome text";
    Form->FormKeyPress('\r');
    Pump(100ms);
    int shots = 0;
    const auto frame = Main::Routes()[Main::AppModeGame].Frame;
    Main::Routes()[Main::AppModeGame].Frame = [&shots, frame](int lag) {
        frame(lag);
        shots += Sprites::PhaserFired ? 1 : 0;
    };

    VirtualGamepad pad;
    ASSERT_TRUE(PumpUntil([] { return platform::GamepadCount() == 1; }));
    const double start = Game::Player->X;
    pad.Stick(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    Pump(500ms);
    EXPECT_LT(Game::Player->X, start - 5) << "steered left";
    // The pointer ahead of the ship: the held trigger fires the phaser, the first shot at once.
    PointAt(400, 150);
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 1.0);
    Pump(1000ms);
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0.0);
    EXPECT_GE(shots, 3);
    EXPECT_LE(shots, 5) << "about 3.5 shots a second";

    pad.PullOut();
    ASSERT_TRUE(PumpUntil([] { return platform::GamepadCount() == 0; }));
    Pump(100ms);
    const double x = Game::Player->X;
    Pump(300ms);
    EXPECT_EQ(Game::Player->X, x) << "no pad, no steering";
    EXPECT_TRUE(Form->DXInput1->StateSet.IsEmpty());

    pad.PlugIn();
    ASSERT_TRUE(PumpUntil([] { return platform::GamepadCount() == 1; }));
    pad.Stick(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    Pump(500ms);
    EXPECT_GT(Game::Player->X, x + 5) << "steered right with the pad plugged in again";
    EXPECT_EQ(Game::GameState, Game::StatePlaying);
}

TEST_F(X11GamepadTest, TheRightStickMovesTheXPointerSteadilyAndAClicksTheItemUnderIt) {
    VirtualGamepad pad;
    ASSERT_TRUE(PumpUntil([] { return platform::GamepadCount() == 1; }));
    PointAt(300, 192);
    EXPECT_EQ(Menu::MenuHover, Menu::NoHover);
    // The X server reports each move a little later; the pointer must not step back meanwhile.
    std::vector<int> xs;
    pad.Stick(SDL_CONTROLLER_AXIS_RIGHTX, -32768);
    const auto began = std::chrono::steady_clock::now();
    ASSERT_TRUE(PumpUntil([&] {
        if (xs.empty() || xs.back() != Main::CursorPos.X) xs.push_back(Main::CursorPos.X);
        return Main::CursorPos.X <= 150;
    }));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    pad.Stick(SDL_CONTROLLER_AXIS_RIGHTX, 0);
    Pump(200ms);
    for (std::size_t i = 1; i < xs.size(); ++i) {
        EXPECT_LT(xs[i], xs[i - 1]) << "step " << i;
    }
    EXPECT_GE(xs.size(), 5u) << "a glide, not a jump";
    EXPECT_GT(seconds, 0.1) << "150 pixels take about a sixth of a second";
    EXPECT_EQ(Main::CursorPos.Y, 192);
    EXPECT_EQ(Menu::MenuHover, 2) << "new game lit";

    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    Pump(100ms);
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    Pump(100ms);
    EXPECT_EQ(Menu::MenuScreen, Menu::ScreenNewGame);
}

}  // namespace
