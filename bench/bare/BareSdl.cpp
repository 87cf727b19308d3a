// BareSdl: the plain SDL2 program the start-up benchmark holds the game against. It reads the
// game's four data files, opens a full-screen window and a renderer the way SDL's examples do,
// and presents an 800 x 600 RGB565 streaming texture every frame through the default renderer
// with vertical sync, letterboxed, until it is asked to quit (SIGTERM arrives as SDL_QUIT).
// "bare_sdl opengl" asks for an OpenGL window from the start, so the renderer need not make the
// window again. "bare_sdl follow" also draws a block under the pointer, white; each key press
// takes its green away or gives it back, each mouse press its red: the plainest program that
// shows a player's input, for the latency benchmark. Depends on SDL2 only.
#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int FrameWidth = 800;
constexpr int FrameHeight = 600;
constexpr int BlockSize = 40;

std::size_t ReadDataFiles() {
    std::size_t total = 0;
    for (const char* path : {"Data/Sound.dxw", "Data/Music.dxw", "Data/MGraphics.dxg", "Data/GGraphics.dxg"}) {
        std::ifstream file(path, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        total += bytes.size();
    }
    return total;
}

// A frame that is never black anywhere, so its arrival on the screen is plain to see.
std::vector<std::uint16_t> Picture() {
    std::vector<std::uint16_t> pixels(FrameWidth * FrameHeight);
    for (int y = 0; y < FrameHeight; ++y) {
        for (int x = 0; x < FrameWidth; ++x) {
            const auto red = static_cast<unsigned>(8 + x * 23 / FrameWidth);
            const auto green = static_cast<unsigned>(16 + y * 47 / FrameHeight);
            pixels[static_cast<std::size_t>(y * FrameWidth + x)] = static_cast<std::uint16_t>(red << 11 | green << 5 | 12u);
        }
    }
    return pixels;
}

// The block under the pointer: its colour shows how many keys and buttons were pressed so far.
struct Block {
    bool Shown = false;
    int X = 0;
    int Y = 0;
    bool KeyToggled = false;
    bool ButtonToggled = false;

    void Take(const SDL_Event& event) {
        if (event.type == SDL_MOUSEMOTION) {
            X = event.motion.x;
            Y = event.motion.y;
        }
        KeyToggled = KeyToggled != (event.type == SDL_KEYDOWN && event.key.repeat == 0);
        ButtonToggled = ButtonToggled != (event.type == SDL_MOUSEBUTTONDOWN);
    }

    void Draw(SDL_Renderer* renderer) const {
        SDL_SetRenderDrawColor(renderer, ButtonToggled ? 0 : 255, KeyToggled ? 0 : 255, 255, 255);
        const SDL_Rect place{X - BlockSize / 2, Y - BlockSize / 2, BlockSize, BlockSize};
        SDL_RenderFillRect(renderer, &place);
    }
};

}  // namespace

int main(int argc, char** argv) {
    const bool openglWindow = argc > 1 && std::strcmp(argv[1], "opengl") == 0;
    Block block;
    block.Shown = argc > 1 && std::strcmp(argv[1], "follow") == 0;
    if (ReadDataFiles() == 0) {
        std::fprintf(stderr, "bare_sdl: no data files in Data/\n");
        return 1;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "bare_sdl: %s\n", SDL_GetError());
        return 1;
    }
    const Uint32 flags = SDL_WINDOW_FULLSCREEN_DESKTOP | (openglWindow ? Uint32{SDL_WINDOW_OPENGL} : Uint32{0});
    SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, FrameWidth,
                                          FrameHeight, flags);
    SDL_Renderer* renderer = window != nullptr ? SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC) : nullptr;
    SDL_Texture* texture = renderer != nullptr ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565,
                                                                   SDL_TEXTUREACCESS_STREAMING, FrameWidth, FrameHeight)
                                               : nullptr;
    if (texture == nullptr) {
        std::fprintf(stderr, "bare_sdl: %s\n", SDL_GetError());
        return 1;
    }
    const std::vector<std::uint16_t> picture = Picture();
    for (bool running = true; running;) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            running = running && event.type != SDL_QUIT;
            block.Take(event);
        }
        int width = 0;
        int height = 0;
        SDL_GetRendererOutputSize(renderer, &width, &height);
        const double scale = std::min(static_cast<double>(width) / FrameWidth, static_cast<double>(height) / FrameHeight);
        const int viewWidth = static_cast<int>(FrameWidth * scale);
        const int viewHeight = static_cast<int>(FrameHeight * scale);
        const SDL_Rect view{(width - viewWidth) / 2, (height - viewHeight) / 2, viewWidth, viewHeight};
        SDL_UpdateTexture(texture, nullptr, picture.data(), FrameWidth * 2);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, &view);
        if (block.Shown) block.Draw(renderer);
        SDL_RenderPresent(renderer);
    }
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
