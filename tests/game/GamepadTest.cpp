// The gamepad through the real main window: the pointer under the right stick, the buttons as the
// window's clicks and keys by game state, digits typed with the direction pad and the held
// trigger's rate. (Hot-plug and the menu run on a real display, tests/x11/GamepadTest.cpp.)
#include <gtest/gtest.h>

#include <functional>

#include "engine/input/DXInput.h"
#include "game/Game.h"
#include "support/AllocationCounter.h"
#include "support/GameWindow.h"

namespace {

using namespace Game;

class GamepadTest : public GameWindowTest {
protected:
    GamepadTest() {
        Screen = &QuietScreen;
        Input.PadPlugged = true;
        Open();
        // Counts the clicks that reach the game.
        const auto down = Main::Routes()[Main::AppModeGame].MouseDown;
        Main::Routes()[Main::AppModeGame].MouseDown = [this, down](platform::TShiftState shift, TPoint point) {
            ++Clicks;
            down(shift, point);
        };
        // A first frame, so that the next frame's time is a frame's.
        Frames(1);
        PointAt({400, 300});
    }

    void Frames(int count) { RunFrames(count, 16); }

    // A mouse move, which the pad carries on from.
    void PointAt(TPoint point) {
        Form->Window().MovePointer(point.X, point.Y);
        Frames(1);
    }
    TPoint Pointer() { return Form->PointerPosition(); }

    // A button, or a trigger (JoystickLeftTrigger, JoystickRightTrigger) pulled all the way.
    void Hold(int control, bool held) {
        const std::int32_t pulled = held ? 32767 : 0;
        if (control == JoystickLeftTrigger) {
            Input.Pad.LeftTrigger = pulled;
        } else if (control == JoystickRightTrigger) {
            Input.Pad.RightTrigger = pulled;
        } else {
            Input.Pad.Buttons[static_cast<std::size_t>(control)] = held ? 0x80 : 0;
        }
    }
    // Down for a frame, up for the next.
    void Press(int control) {
        Hold(control, true);
        Frames(1);
        Hold(control, false);
        Frames(1);
    }

    // The ship flown in and the welcome text closed.
    void FlyIn() {
        StartGame();
        while (!Arrived) Frames(1);
        while (GameState != StateDialog) Frames(1);
        Type("\r");
        Frames(1);
    }

    int Clicks = 0;
};

TEST_F(GamepadTest, TheRightStickMovesThePointerFasterTheFurtherItIsPushed) {
    const struct {
        std::int32_t X, Y;
        int Frames;
        TPoint From, To;
    } cases[] = {
        {32767, 0, 10, {400, 300}, {544, 300}},     // 0.16 s at 900 px/s
        {16384, 0, 10, {400, 300}, {432, 300}},     // 474 of 1000 pushed: 22 % of the speed
        {0, -32768, 10, {400, 300}, {400, 156}},
        {32767, 32767, 10, {400, 300}, {502, 402}},  // no faster on the diagonal
        {1500, -1500, 10, {400, 300}, {400, 300}},   // the dead zone
        {-32768, 32767, 60, {100, 500}, {0, 599}},   // the edges hold it
    };
    for (const auto& c : cases) {
        PointAt(c.From);
        Input.Pad.RightX = c.X;
        Input.Pad.RightY = c.Y;
        Frames(c.Frames);
        Input.Pad.RightX = Input.Pad.RightY = 0;
        Frames(1);
        EXPECT_EQ(Pointer(), c.To) << c.X << "," << c.Y;
        EXPECT_EQ(Main::CursorPos, c.To) << "the cursor is drawn there";
    }
}

TEST_F(GamepadTest, ButtonsTypeTheCommandKeysAndTheDirectionPadTypesDigits) {
    FlyIn();
    const struct {
        int Control;
        bool Cloak, Shields;
        std::uint8_t State;
    } commands[] = {
        {platform::PadX, true, false, StatePlaying},     {JoystickLeftTrigger, false, true, StatePlaying},
        {JoystickLeftTrigger, false, false, StatePlaying}, {platform::PadStart, false, false, StateMenu},
        {platform::PadX, false, false, StateMenu},         {platform::PadStart, false, false, StatePlaying},
    };
    for (const auto& c : commands) {
        Press(c.Control);
        EXPECT_EQ(CloakOn, c.Cloak) << c.Control;
        EXPECT_EQ(ShieldsOn, c.Shields) << c.Control;
        EXPECT_EQ(GameState, c.State) << c.Control;
    }

    // No supply ship: the transport dialog has no input field, and A clicks its OK.
    Press(platform::PadRightShoulder);
    ASSERT_EQ(DialogKind, DialogTransport);
    const TRect ok = GameBox->OkButton().Bounds();
    PointAt({ok.Left + 5, ok.Top + 5});
    Press(platform::PadA);
    EXPECT_EQ(GameState, StatePlaying);

    Press(platform::PadY);
    ASSERT_EQ(DialogKind, DialogTorpedo);
    ASSERT_TRUE(GameBox->HasEditLine());
    const struct {
        int Control;
        const char* Text;
    } digits[] = {{platform::PadUp, "1"},   {platform::PadUp, "2"},      {platform::PadRight, "20"},
                  {platform::PadDown, "29"}, {platform::PadLeft, "2"},   {platform::PadB, ""},
                  {platform::PadDown, "9"},  {platform::PadRight, "90"}, {platform::PadX, "90"}};
    for (const auto& d : digits) {
        Press(d.Control);
        EXPECT_EQ(GameBox->EditLine().Text, d.Text) << d.Control;
    }
    const int torpedoes = Player->GetTorpedoes();
    Press(platform::PadA);
    EXPECT_EQ(GameState, StatePlaying);
    EXPECT_EQ(DialogAnswer, "90");
    EXPECT_EQ(Player->GetTorpedoes(), torpedoes - 1);
}

TEST_F(GamepadTest, AHeldTriggerClicksAtThePhasersRateOnlyWhereAClickFires) {
    FlyIn();
    const struct {
        bool Shields;
        TPoint At;
        int Clicks;
    } cases[] = {
        {false, {400, 200}, 7},  // 1.9 s: the press and one every 10/35 s
        {true, {400, 200}, 3},   // shields up: one every 10/11 s
        {false, {100, 570}, 1},  // the panel: the press alone
        {false, {780, 20}, 1},   // the menu button's corner
    };
    for (const auto& c : cases) {
        if (ShieldsOn != c.Shields) Type("h");
        PointAt(c.At);
        const int before = Clicks;
        Hold(JoystickRightTrigger, true);
        StartCountingAllocations();
        Frames(120);
        EXPECT_EQ(StopCountingAllocations(), 0u);
        Hold(JoystickRightTrigger, false);
        Frames(1);
        EXPECT_EQ(Clicks - before, c.Clicks) << c.At.X << "," << c.At.Y << (c.Shields ? " shields" : "");
        EXPECT_EQ(GameState, StatePlaying);
    }
}

}  // namespace
