// A game world for tests of the game's sprites: the headless main window of GameWindowTest,
// opened, with the shared sprite globals cleared, nine silent sound effects (their pans can be
// read back) and plain game images of known sizes. Frames are stepped by hand with a chosen
// frame time.
#pragma once

#include <algorithm>
#include <vector>

#include "engine/images/PictureCollection.h"
#include "engine/sound/WaveCollection.h"
#include "game/Random.h"
#include "game/Sprites.h"
#include "support/GameWindow.h"

class GameWorldTest : public GameWindowTest {
protected:
    GameWorldTest() {
        Open();
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
    ~GameWorldTest() override { Root().Clear(); }

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

    int Pan(int effect) { return Form->DXWaveList1->Items().Items(effect).Pan(); }
};
