// The platform's gamepads on SDL's virtual controllers, headless: opened as the message loop
// reports them, read in the order they arrived, closed when pulled out; a joystick that is no
// game controller, or a pad reported twice, opens nothing more.
#include "platform/Gamepads.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/Application.h"
#include "platform/SdlWindow.h"
#include "support/VirtualGamepad.h"

namespace {

class GamepadsTest : public ::testing::Test {
protected:
    GamepadsTest() {
        std::string error;
        EXPECT_TRUE(Window.Create("Zarvoth Mutador", 800, 600, error)) << error;
    }

    void Pump() { App.ProcessMessagesAndIdle(Window, platform::WindowEvents{}); }

    platform::SdlWindow Window;
    platform::GamepadService Service;
    platform::Application& App = platform::Application::Instance();
};

TEST_F(GamepadsTest, PadsAreReadInTheOrderTheyArrivedUntilTheyArePulledOut) {
    VirtualGamepad first;
    std::optional<VirtualGamepad> second(std::in_place);
    Pump();
    ASSERT_EQ(platform::GamepadCount(), 2);
    first.Stick(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    first.Button(SDL_CONTROLLER_BUTTON_A, true);
    second->Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 1.0);
    second->Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    Pump();

    platform::JoystickReading firstPad;
    firstPad.LeftX = -32768;
    firstPad.Buttons[platform::PadA] = 0x80;
    platform::JoystickReading secondPad;
    secondPad.RightTrigger = 32767;
    secondPad.Buttons[platform::PadDown] = 0x80;
    platform::JoystickReading reading;
    EXPECT_TRUE(platform::ReadGamepad(0, reading));
    EXPECT_EQ(reading, firstPad);
    EXPECT_TRUE(platform::ReadGamepad(1, reading));
    EXPECT_EQ(reading, secondPad);
    for (const int missing : {2, -1}) {
        EXPECT_FALSE(platform::ReadGamepad(missing, reading)) << missing;
        EXPECT_EQ(reading, platform::JoystickReading{}) << missing;
    }

    // Reported again, the open pad stays one; a flight stick is no game controller.
    const int stick = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 3, 4, 1);
    Pump();
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        platform::NoteGamepadAdded(index);
    }
    EXPECT_EQ(platform::GamepadCount(), 2);
    SDL_JoystickDetachVirtual(stick);

    first.PullOut();
    Pump();
    ASSERT_EQ(platform::GamepadCount(), 1);
    EXPECT_TRUE(platform::ReadGamepad(0, reading));
    EXPECT_EQ(reading, secondPad) << "the second pad is now the first";
    second.reset();
    Pump();
    EXPECT_EQ(platform::GamepadCount(), 0);
    EXPECT_FALSE(platform::ReadGamepad(0, reading));
}

}  // namespace
