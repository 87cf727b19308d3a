// A fixture that runs the real main window on a real X display (the X11 tests, under xvfb-run)
// in a temporary folder with the generated data files, the system's sound and input devices,
// and the program's own loop run for wall-clock time.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "game/Main.h"
#include "platform/Application.h"
#include "platform/InputDevices.h"
#include "platform/SdlAudioOutput.h"
#include "platform/SdlWindow.h"
#include "support/GameData.h"
#include "support/TempDirectory.h"

class X11GameWindowTest : public ::testing::Test {
protected:
    X11GameWindowTest() {
        ProvideGameData();
        App.Reset();
        std::string error;
        EXPECT_TRUE(Window.Create("Zarvoth Mutador", 800, 600, error)) << error;
        Form = std::make_unique<TForm1>(Window, App, TFormDevices{Sound.get(), &Input});
        App.SetActive(true);
        Window.NoteFocus(true);
    }
    ~X11GameWindowTest() override {
        Form.reset();
        Main::Routes() = Main::DefaultRoutes();
        App.Reset();
    }

    // Runs the loop for a while, as the program's own loop does, until it is told to end;
    // returns the frames presented meanwhile.
    std::uint64_t Pump(std::chrono::milliseconds duration) {
        const std::uint64_t before = Window.PresentedFrames();
        const auto end = std::chrono::steady_clock::now() + duration;
        while (std::chrono::steady_clock::now() < end && !App.Terminated()) {
            App.ProcessMessagesAndIdle(Window, Form->Events());
        }
        return Window.PresentedFrames() - before;
    }

    // The window pixel that the window maps to a client point.
    std::array<int, 2> WindowPoint(int x, int y) {
        int width = 0;
        int height = 0;
        Window.LogicalScreenSize(width, height);
        const double scale = Window.Scale();
        int wx = static_cast<int>(std::ceil((x + (width - 800) / 2) * scale));
        int wy = static_cast<int>(std::ceil((y + (height - 600) / 2) * scale));
        int cx = wx;
        int cy = wy;
        Window.WindowToClient(cx, cy);
        EXPECT_EQ(cx, x);
        EXPECT_EQ(cy, y);
        return {wx, wy};
    }

    TempDirectory Folder;
    platform::Application& App = platform::Application::Instance();
    platform::SdlWindow Window;
    std::unique_ptr<platform::SoundDevice> Sound = platform::CreateSystemSoundDevice();
    platform::SdlInputDevice Input;
    std::unique_ptr<TForm1> Form;
};
