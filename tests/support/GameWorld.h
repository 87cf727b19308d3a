// A game world for tests of the game's sprites: the real main window on SDL's dummy driver with
// a stepped clock and a scripted input device, the shared sprite globals cleared, nine silent
// sound effects (their pans can be read back) and plain game images of known sizes. Frames are
// stepped by hand with a chosen frame time.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/images/PictureCollection.h"
#include "engine/sound/WaveCollection.h"
#include "game/Main.h"
#include "game/Random.h"
#include "game/Sprites.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/SdlAudioOutput.h"
#include "platform/SdlWindow.h"
#include "support/FakeInputDevice.h"
#include "support/GameData.h"
#include "support/TempDirectory.h"

class GameWorldTest : public ::testing::Test {
protected:
    GameWorldTest() {
        ProvideGameData();
        platform::SetClockSource(std::ref(Clock));
        App.Reset();
        App.SetActive(true);
        std::string error;
        EXPECT_TRUE(Window.Create("Zarvoth Mutador", 800, 600, error)) << error;
        Form = std::make_unique<TForm1>(Window, App, TFormDevices{Sound.get(), &Input});
        TWaveCollection& effects = Form->DXWaveList1->Items();
        effects.Clear();
        for (int i = 0; i < 9; ++i) {
            effects.Add();
        }
        Main::SoundOn = true;
        Main::StereoOn = true;
        Main::Score = 0;
        Main::FrameTime = 0;
        Sprites::AimPoint = {};
        Sprites::PlayerCenterX = Sprites::PlayerCenterY = Sprites::PhaserDamage = 0;
        Sprites::PhaserFired = Sprites::BeamHit = Sprites::PlayerCloaked = false;
        Random::SetSeed(1);
        LoadPlainImages();
    }
    ~GameWorldTest() override {
        Root().Clear();
        Form.reset();
        platform::SetClockSource(nullptr);
        App.Reset();
    }

    // Plain pictures of known sizes in place of the game graphics: ships of three frames (the
    // heavy ship 80 x 70, the light one 60 x 60), stars of three, the explosion of nine.
    void LoadPlainImages() {
        static constexpr int Sizes[][3] = {{80, 70, 3}, {80, 70, 3}, {80, 70, 3}, {60, 60, 3},   {60, 60, 3},
                                           {60, 60, 3}, {34, 40, 3}, {54, 58, 3}, {78, 84, 3},   {120, 150, 3},
                                           {110, 90, 1}, {4, 64, 1}, {4, 64, 1},  {12, 26, 1},  {14, 14, 1},
                                           {7, 7, 3},   {96, 96, 9}};
        TPictureCollection& images = Form->DXImageList1->Items();
        images.Clear();
        for (const auto& [width, height, frames] : Sizes) {
            TPictureCollectionItem& item = images.Add();
            item.Picture.AssignPixels(width * frames, height,
                                      std::vector<TColor>(static_cast<std::size_t>(width * frames * height), RGB(200, 200, 200)));
            item.PatternWidth = frames > 1 ? width : 0;
            item.PatternHeight = frames > 1 ? height : 0;
        }
        images.Restore();
    }

    // One frame of the game's move walk: the frame time and the lag count the frame timer
    // would give, then the dead are freed.
    void Step(float frameTime, int lag = 16) {
        Main::FrameTime = frameTime;
        Form->DXSpriteEngine1->Move(lag);
        Form->DXSpriteEngine1->FreeDead();
    }

    // A sprite of class T under the root at (x, y).
    template <class T>
    T& Make(double x, double y) {
        auto* sprite = new T(&Root());
        sprite->X = x;
        sprite->Y = y;
        return *sprite;
    }

    // Still in the world (not yet freed).
    bool Alive(const TSprite* sprite) {
        for (int i = 0; i < Root().Count(); ++i) {
            if (Root().Items(i) == sprite) return true;
        }
        return false;
    }

    // The smallest rectangle holding every pixel of the surface that is not black.
    TRect DrawnArea() {
        TRect area{800, 600, 0, 0};
        for (int y = 0; y < 600; ++y) {
            for (int x = 0; x < 800; ++x) {
                if (Surface().Pixel(x, y) != 0) {
                    area = {std::min(area.Left, x), std::min(area.Top, y), std::max(area.Right, x + 1),
                            std::max(area.Bottom, y + 1)};
                }
            }
        }
        return area;
    }

    TSpriteEngine& Root() { return Form->DXSpriteEngine1->Engine(); }
    TDirectDrawSurface& Surface() { return *Form->DXDraw1->Surface(); }
    int Pan(int effect) { return Form->DXWaveList1->Items().Items(effect).Pan(); }

    TempDirectory Folder;
    platform::SteppedClock Clock{100000};
    platform::Application& App = platform::Application::Instance();
    platform::SdlWindow Window;
    std::unique_ptr<platform::SoundDevice> Sound = platform::CreateSystemSoundDevice();
    FakeInputDevice Input;
    std::unique_ptr<TForm1> Form;
};
