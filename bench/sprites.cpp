// Sprite engine cost per frame: a world of 500 sprites — 450 ships drifting across the screen
// and 50 torpedoes that each run a collision walk over the whole tree from their Advance —
// moved, freed and drawn onto an 800 x 600 surface. "frame_share" is the part of a 60 Hz frame
// (16.7 ms) that one such frame takes.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "engine/DXSprite.h"

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

class DriftingSprite : public TImageSprite {
public:
    DriftingSprite(TSprite* parent, Scatter& scatter, int size, double speed) : TImageSprite(parent), FSpeed(speed) {
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
    BenchTorpedo(TSprite* parent, Scatter& scatter) : DriftingSprite(parent, scatter, 8, -0.3) { SetZ(4); }

    void Advance(int MoveCount) override {
        DriftingSprite::Advance(MoveCount);
        Hits += Collide();
    }
    void HandleCollision(TSprite* /*Sprite*/, bool& /*Done*/) override {}  // stays alive: the walk is never cut short

    int Hits = 0;
};

void MoveCollideDraw500(benchmark::State& state) {
    TDirectDrawSurface surface(800, 600, platform::PixelLayout::RGB565);
    TSpriteEngine root;
    root.SetSurface(&surface);
    Scatter scatter;
    for (int i = 0; i < Ships; ++i) {
        (new DriftingSprite(&root, scatter, 40, 0.05))->SetZ(5);
    }
    for (int i = 0; i < Torpedoes; ++i) {
        new BenchTorpedo(&root, scatter);
    }

    for (auto _ : state) {
        root.Move(16);
        root.FreeDead();
        root.Draw();
        benchmark::DoNotOptimize(root.DrawnCount());
    }
    state.counters["sprites"] = root.SpriteCount();
    state.counters["drawn"] = root.DrawnCount();
    // Seconds per frame times 60.
    state.counters["frame_share"] = benchmark::Counter(static_cast<double>(state.iterations()) / 60.0,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(MoveCollideDraw500)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
