// Presentation benchmarks: the nearest-neighbour pass that shows the 800 x 600 RGB565 frame in
// the window's 32-bit surface, against SDL's own blit into the same surface (SDL_BlitSurface at
// 1:1, SDL_BlitScaled otherwise), at the views of an 800 x 600, a 1024 x 768 and a 1920 x 1080
// screen. Target: no slower than SDL (ratio <= 1).
#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/Ratios.h"
#include "bench/SdlViews.h"
#include "platform/NearestScaler.h"

namespace {

using bench::SdlSurface;

// The frame: the menu's kind of picture, every pixel different from its neighbours.
struct Frame {
    std::vector<std::uint16_t> Pixels = [] {
        std::vector<std::uint16_t> pixels(800 * 600);
        for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint16_t>(i * 2654435761u >> 16);
        return pixels;
    }();
    SdlSurface View{SDL_CreateRGBSurfaceWithFormatFrom(Pixels.data(), 800, 600, 16, 1600, SDL_PIXELFORMAT_RGB565)};
    platform::PixelBuffer16 Buffer{Pixels.data(), 800, 600, 800, platform::PixelLayout::RGB565};
};

struct View {
    View(int width, int height) : Target(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888)) {
        Scaler.Prepare(800, 600, width, height);
    }
    SdlSurface Target;
    platform::NearestScaler Scaler;
};

std::vector<RatioCase> Cases() {
    static Frame frame;
    static View views[] = {{800, 600}, {1024, 768}, {1440, 1080}};
    std::vector<RatioCase> cases;
    for (View& view : views) {
        SDL_Surface* target = view.Target.get();
        const std::string name = "present 800x600 -> " + std::to_string(target->w) + "x" + std::to_string(target->h);
        cases.push_back({name, 1.0,
                         [&view, target] {
                             view.Scaler.Scale(frame.Buffer, platform::PixelFormat32{16, 8, 0, 0},
                                               static_cast<std::uint32_t*>(target->pixels), target->pitch / 4);
                         },
                         [target] {
                             if (target->w == 800) {
                                 SDL_BlitSurface(frame.View.get(), nullptr, target, nullptr);
                             } else {
                                 SDL_BlitScaled(frame.View.get(), nullptr, target, nullptr);
                             }
                         }});
    }
    return cases;
}

}  // namespace

int main(int argc, char** argv) {
    return RunRatioBenchmarks(argc, argv, Cases());
}
