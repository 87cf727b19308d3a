// A fixture that runs the real main window headless (SDL's dummy drivers) in a temporary folder
// with the generated data files, on a stepped clock, with a scripted input device (held keys and
// mouse buttons set by the test) and a mixer nobody pulls from: tests open it, step frames and
// send the window's events through the same handlers the message loop calls.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "game/Main.h"
#include "platform/Application.h"
#include "platform/AudioMixer.h"
#include "platform/Clock.h"
#include "platform/ImageFile.h"
#include "platform/SdlWindow.h"
#include "support/FakeAudioOutput.h"
#include "support/FakeInputDevice.h"
#include "support/FakeVideoDevice.h"
#include "support/GameData.h"
#include "support/TempDirectory.h"

class GameWindowTest : public ::testing::Test {
protected:
    GameWindowTest() {
        ProvideGameData();
        platform::SetClockSource(std::ref(Clock));
        App.Reset();
        App.SetActive(true);
        std::string error;
        EXPECT_TRUE(Window.Create("Zarvoth Mutador", 800, 600, error)) << error;
        Main::ResetFrameRate();
    }
    ~GameWindowTest() override {
        Form.reset();
        Main::Routes() = Main::DefaultRoutes();
        platform::SetClockSource(nullptr);
        App.Reset();
    }

    void Open() { Form = std::make_unique<TForm1>(Window, App, TFormDevices{Sound.get(), &Input, Screen}); }

    // Passes of the message loop, each after the clock moved on by the given time.
    void RunFrames(int count, std::uint32_t milliseconds) {
        for (int i = 0; i < count; ++i) {
            Clock.Advance(milliseconds);
            App.ProcessMessagesAndIdle(Window, Form->Events());
        }
    }

    // A quick left click as the window reports it: the button is down at the event and at the
    // input device's next reading, and up again after the release.
    void Click(int x, int y) {
        Input.Mouse.Buttons[0] = 0x80;
        Form->DXDraw1MouseDown(platform::MouseButton::Left, platform::ssLeft, x, y);
        Form->DXDraw1MouseUp(platform::MouseButton::Left, platform::ssLeft, x, y);
        Input.Mouse.Buttons[0] = 0;
    }
    void Move(int x, int y) { Form->DXDraw1MouseMove(0, x, y); }
    void Type(std::string_view keys) {
        for (const char key : keys) {
            Form->FormKeyPress(key);
        }
    }

    TDirectDrawSurface& Surface() { return *Form->DXDraw1->Surface(); }

    // Writes the back surface as build/pictures/NAME.png, for people to look at.
    void SavePicture(const std::string& name) {
        const platform::RgbImage image = platform::FrameImage(Surface().Buffer());
        const std::filesystem::path folder = std::filesystem::path(ZARVOTH_BIN_DIR) / ".." / "pictures";
        std::filesystem::create_directories(folder);
        std::string error;
        EXPECT_TRUE(platform::SavePng((folder / (name + ".png")).string(), image, error)) << error;
    }

    // The effects started since the last call, by index; they are stopped again.
    std::vector<int> PlayedEffects() {
        std::vector<int> played;
        TWaveCollection& effects = Form->DXWaveList1->Items();
        for (int index = 0; index < effects.Count(); ++index) {
            bool playing = false;
            for (const auto& buffer : effects.Items(index).Playback().PlayBuffers()) {
                playing = playing || buffer->Playing();
            }
            if (playing) {
                played.push_back(index);
                effects.Items(index).StopSound();
            }
        }
        return played;
    }

    // The world's sprites of class T, in the order they move.
    template <class T>
    std::vector<T*> SpritesOf() {
        std::vector<T*> found;
        for (int i = 0; i < Root().Count(); ++i) {
            if (auto* sprite = dynamic_cast<T*>(Root().Items(i))) found.push_back(sprite);
        }
        return found;
    }
    TSpriteEngine& Root() { return Form->DXSpriteEngine1->Engine(); }

    // The loudest sample of the phaser (effect 0) played alone from its start, panned left: the
    // effects started before are stopped, and what the mixer's limiter still holds is played out.
    float PhaserPeak() {
        auto& mixer = dynamic_cast<platform::AudioMixer&>(*Sound);
        std::vector<float> out(2 * 2048);
        const auto peak = [&] {
            mixer.Render(out.data(), 2048);
            float loudest = 0;
            for (const float sample : out) loudest = std::max(loudest, std::abs(sample));
            return loudest;
        };
        PlayedEffects();
        peak();
        Main::PlaySoundEffect(0, -3000);
        const float loudest = peak();
        PlayedEffects();
        return loudest;
    }

    TempDirectory Folder;
    platform::SteppedClock Clock{100000};
    platform::Application& App = platform::Application::Instance();
    platform::SdlWindow Window;
    // An effect once started stays playing, so tests can see it.
    std::unique_ptr<platform::SoundDevice> Sound =
        std::make_unique<platform::AudioMixer>(std::make_unique<FakeAudioOutput>());
    FakeInputDevice Input;
    // A screen that keeps no picture and never waits for a vertical blank, for tests that play
    // long; the display shows its frames there when a test points Screen at it before Open.
    FakeVideoDevice QuietScreen;
    platform::VideoDevice* Screen = &Window;
    std::unique_ptr<TForm1> Form;
};
