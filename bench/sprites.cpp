// Sprite engine cost per frame: a world of 500 sprites — 450 ships (40 x 40, three frames)
// drifting across the screen and 50 torpedoes (8 x 8) that each run a collision walk over the
// whole tree from their Advance — moved, freed and drawn with their colour-keyed images onto the
// 800 x 600 back surface of a display on a stand-in video device. "frame_share" is the part of
// a 60 Hz frame (16.7 ms) that one such frame takes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "engine/images/DXImageList.h"
#include "engine/sprites/DXSprite.h"
#include "tests/support/FakeVideoDevice.h"

namespace {

constexpr int Ships = 450;
constexpr int Torpedoes = 50;

// Deterministic scatter over the play area.
class Scatter {
public:
    double Next(int range) {
        FState = FState * 1664525u + 1013904223u;
        return static_cast<double>(FState % static_cast<std::uint32_t>(range));
    }

private:
    std::uint32_t FState = 12345;
};

// A picture of frames side by side: a filled disc on the transparent colour.
void AddImage(TDXImageList& images, int size, int frames) {
    constexpr TColor Key = RGB(255, 0, 255);
    std::vector<TColor> pixels;
    const int radius = size / 2;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size * frames; ++x) {
            const int dx = x % size - radius;
            const int dy = y - radius;
            pixels.push_back(dx * dx + dy * dy < radius * radius ? RGB(40 * (x / size), 200, 90) : Key);
        }
    }
    TPictureCollectionItem& item = images.Items().Add();
    item.Picture.AssignPixels(size * frames, size, pixels);
    item.PatternWidth = size;
    item.PatternHeight = size;
    item.TransparentColor = Key;
}

class DriftingSprite : public TImageSprite {
public:
    DriftingSprite(TSprite* parent, Scatter& scatter, TPictureCollectionItem& image, double speed)
        : TImageSprite(parent), FSpeed(speed) {
        Image = &image;
        const int size = image.Width();
        Width = size;
        Height = size;
        X = scatter.Next(800 - size);
        Y = scatter.Next(600);
        FrameCount = 3;
        FrameSpeed = 0.01;
        FrameLooped = true;
    }

    void Advance(int MoveCount) override {
        TImageSprite::Advance(MoveCount);
        Y += FSpeed * MoveCount;
        if (Y > 600) {
            Y = -Height;
        } else if (Y < -Height) {
            Y = 600;
        }
    }

private:
    double FSpeed;
};

class BenchTorpedo : public DriftingSprite {
public:
    BenchTorpedo(TSprite* parent, Scatter& scatter, TPictureCollectionItem& image)
        : DriftingSprite(parent, scatter, image, -0.3) {
        SetZ(4);
    }

    void Advance(int MoveCount) override {
        DriftingSprite::Advance(MoveCount);
        Hits += Collide();
    }
    void HandleCollision(TSprite* /*Sprite*/, bool& /*Done*/) override {}  // stays alive: the walk is never cut short

    int Hits = 0;
};

void MoveCollideDraw500(benchmark::State& state) {
    FakeVideoDevice device;
    TDXDraw display(&device);
    TDXImageList images;
    AddImage(images, 40, 3);
    AddImage(images, 8, 1);
    TDXSpriteEngine component;
    images.SetDXDraw(&display);
    component.SetDXDraw(&display);
    display.Initialize();
    TSpriteEngine& root = component.Engine();
    Scatter scatter;
    for (int i = 0; i < Ships; ++i) {
        (new DriftingSprite(&root, scatter, images.Items().Items(0), 0.05))->SetZ(5);
    }
    for (int i = 0; i < Torpedoes; ++i) {
        new BenchTorpedo(&root, scatter, images.Items().Items(1));
    }

    for (auto _ : state) {
        component.Move(16);
        component.FreeDead();
        component.Draw();
        benchmark::DoNotOptimize(root.DrawnCount());
    }
    state.counters["sprites"] = root.SpriteCount();
    state.counters["drawn"] = root.DrawnCount();
    state.counters["ship_frames_built"] = images.Items().Items(0).Initialized() ? images.Items().Items(0).PatternCount() : 0;
    // Wall seconds per frame times 60.
    state.counters["frame_share"] = benchmark::Counter(static_cast<double>(state.iterations()) / 60.0,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(MoveCollideDraw500)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
