// Drawing benchmarks: the engine's surface operations against SDL's own software routines on
// the same pixel memory (an 800 x 600 RGB565 back surface), with the ratios printed at the end.
// Targets: plain, stretched copies and Fill no slower than SDL (ratio <= 1); a rotated draw no
// more than 3 times SDL's plain keyed blit of the same area.
#include <memory>
#include <vector>

#include "bench/Ratios.h"
#include "bench/SdlViews.h"

namespace {

using bench::SdlSurface;
using bench::Wrap;
using platform::PixelLayout;

constexpr std::uint16_t Key = 0xF81F;  // magenta, the usual sheet background

// A picture: a disc of varied colours on the key colour (about a fifth of the pixels keyed).
std::unique_ptr<TDirectDrawSurface> Picture(int width, int height) {
    auto picture = std::make_unique<TDirectDrawSurface>(width, height, PixelLayout::RGB565);
    picture->SetColorKey(Key);
    const double rx = width / 2.0, ry = height / 2.0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double nx = (x + 0.5 - rx) / rx, ny = (y + 0.5 - ry) / ry;
            const bool inside = width < 8 || nx * nx + ny * ny <= 1.0;
            picture->SetPixel(x, y, inside ? static_cast<std::uint16_t>((x * 2113 + y * 331) & 0xF7DE) : Key);
        }
    }
    return picture;
}

struct Scene {
    TDirectDrawSurface Back{800, 600, PixelLayout::RGB565};
    SdlSurface BackView = Wrap(Back, false);
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

// Sources live for the whole run, next to their SDL views.
struct Source {
    std::unique_ptr<TDirectDrawSurface> Surface;
    SdlSurface View;
};

Source MakeSource(int width, int height, bool keyed) {
    Source source{Picture(width, height), nullptr};
    source.View = Wrap(*source.Surface, keyed);
    return source;
}

std::vector<RatioCase> Cases() {
    Scene& scene = TheScene();
    TDirectDrawSurface& back = scene.Back;
    SDL_Surface* backView = scene.BackView.get();
    static Source pattern = MakeSource(64, 64, true);
    static Source opaquePattern = MakeSource(64, 64, false);
    static Source background = MakeSource(800, 600, false);
    static Source bar = MakeSource(200, 12, true);
    static Source torpedo = MakeSource(16, 16, true);
    static Source beam = MakeSource(4, 400, true);

    const auto sdlBlit = [backView](SDL_Surface* source, int x, int y) {
        return [=] {
            SDL_Rect at{x, y, 0, 0};
            SDL_BlitSurface(source, nullptr, backView, &at);
        };
    };
    const auto sdlScaled = [backView](SDL_Surface* source, SDL_Rect to) {
        return [=]() mutable { SDL_BlitScaled(source, nullptr, backView, &to); };
    };
    return {
        {"Draw keyed 64x64", 1.0,
         [&back] { back.Draw(300, 200, TRect{0, 0, 64, 64}, pattern.Surface.get(), true); },
         sdlBlit(pattern.View.get(), 300, 200)},
        {"Draw opaque 800x600", 1.0,
         [&back] { back.Draw(0, 0, TRect{0, 0, 800, 600}, background.Surface.get(), false); },
         sdlBlit(background.View.get(), 0, 0)},
        {"StretchDraw keyed bar 200x12 -> 137x12", 1.0,
         [&back] { back.StretchDraw(Bounds(40, 560, 137, 12), TRect{0, 0, 200, 12}, bar.Surface.get(), true); },
         sdlScaled(bar.View.get(), SDL_Rect{40, 560, 137, 12})},
        {"StretchDraw keyed 64x64 -> 96x96", 1.0,
         [&back] { back.StretchDraw(Bounds(300, 200, 96, 96), TRect{0, 0, 64, 64}, pattern.Surface.get(), true); },
         sdlScaled(pattern.View.get(), SDL_Rect{300, 200, 96, 96})},
        // Without a key SDL takes its fast same-format stretcher.
        {"StretchDraw opaque 64x64 -> 96x96", 1.0,
         [&back] {
             back.StretchDraw(Bounds(300, 200, 96, 96), TRect{0, 0, 64, 64}, opaquePattern.Surface.get(), false);
         },
         sdlScaled(opaquePattern.View.get(), SDL_Rect{300, 200, 96, 96})},
        {"DrawRotate torpedo 16x16 (vs keyed blit)", 3.0,
         [&back] {
             back.DrawRotate(400, 300, 16, 16, TRect{0, 0, 16, 16}, torpedo.Surface.get(), 0.5, 0.5, true, 37);
         },
         sdlBlit(torpedo.View.get(), 392, 292)},
        {"DrawRotate 64x64 (vs keyed blit)", 3.0,
         [&back] {
             back.DrawRotate(400, 300, 64, 64, TRect{0, 0, 64, 64}, pattern.Surface.get(), 0.5, 0.5, true, 37);
         },
         sdlBlit(pattern.View.get(), 368, 268)},
        // The beam's sampling alone, without the additive combination: what the additive cases
        // cost beyond it is the combination.
        {"DrawRotate beam 4x400 (vs keyed blit)", 3.0,
         [&back] { back.DrawRotate(400, 500, 4, 400, TRect{0, 0, 4, 400}, beam.Surface.get(), 0.5, 1.0, true, 20); },
         sdlBlit(beam.View.get(), 398, 100)},
        {"DrawRotateAdd beam 4x400 alpha 128 (vs keyed blit)", 3.0,
         [&back] {
             back.DrawRotateAdd(400, 500, 4, 400, TRect{0, 0, 4, 400}, beam.Surface.get(), 0.5, 1.0, true, 20, 128);
         },
         sdlBlit(beam.View.get(), 398, 100)},
        {"DrawRotateAdd beam 4x400 alpha 255 (vs keyed blit)", 3.0,
         [&back] {
             back.DrawRotateAdd(400, 500, 4, 400, TRect{0, 0, 4, 400}, beam.Surface.get(), 0.5, 1.0, true, 20, 255);
         },
         sdlBlit(beam.View.get(), 398, 100)},
        {"Fill(0) 800x600", 1.0, [&back] { back.Fill(0); },
         [backView] { SDL_FillRect(backView, nullptr, 0); }},
    };
}

}  // namespace

int main(int argc, char** argv) {
    return RunRatioBenchmarks(argc, argv, Cases());
}
