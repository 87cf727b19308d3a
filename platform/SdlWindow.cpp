// SdlWindow: window, renderer and presentation on SDL2.
#include "platform/SdlWindow.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

namespace platform {

struct SdlWindow::Sdl {
    SDL_Window* Window = nullptr;
    SDL_Renderer* Renderer = nullptr;
    SDL_Texture* Frame = nullptr;     // the 16-bit frame as uploaded
    SDL_Texture* Upscaled = nullptr;  // whole-number nearest upscale, when a smooth final step is needed
    int UpscaledFactor = 0;
    bool VideoStarted = false;
    bool Accelerated = false;  // the renderer runs on a graphics processor
    std::optional<DisplayMode> Mode;
};

SdlWindow::SdlWindow() : FSdl(std::make_unique<Sdl>()) {}

SdlWindow::~SdlWindow() {
    CloseDevice();
    if (FSdl->Window != nullptr) {
        SDL_SetWindowMouseRect(FSdl->Window, nullptr);
        SDL_DestroyWindow(FSdl->Window);
    }
    if (FSdl->VideoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    }
}

bool SdlWindow::Create(const std::string& caption, int clientWidth, int clientHeight, std::string& error) {
    FClientWidth = clientWidth;
    FClientHeight = clientHeight;
    if (!FSdl->VideoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            error = SDL_GetError();
            return false;
        }
        FSdl->VideoStarted = true;
    }
    FSdl->Window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, clientWidth,
                                    clientHeight, SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
    if (FSdl->Window == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_RaiseWindow(FSdl->Window);
    return true;
}

bool SdlWindow::Created() const {
    return FSdl->Window != nullptr;
}

void SdlWindow::SetCaption(const std::string& caption) {
    if (FSdl->Window != nullptr) {
        SDL_SetWindowTitle(FSdl->Window, caption.c_str());
    }
}

std::string SdlWindow::Caption() const {
    return FSdl->Window != nullptr ? SDL_GetWindowTitle(FSdl->Window) : "";
}

void SdlWindow::SetBorderless(bool borderless) {
    if (FSdl->Window != nullptr) {
        SDL_SetWindowBordered(FSdl->Window, borderless ? SDL_FALSE : SDL_TRUE);
    }
}

std::uint32_t SdlWindow::WindowId() const {
    return FSdl->Window != nullptr ? SDL_GetWindowID(FSdl->Window) : 0;
}

void SdlWindow::ShowPointer(bool show) {
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

ScreenRect SdlWindow::ViewRect() const {
    int width = FClientWidth;
    int height = FClientHeight;
    if (FSdl->Window != nullptr) {
        SDL_GetWindowSize(FSdl->Window, &width, &height);
    }
    const double scale = std::min(static_cast<double>(width) / FClientWidth, static_cast<double>(height) / FClientHeight);
    const int viewWidth = static_cast<int>(std::lround(FClientWidth * scale));
    const int viewHeight = static_cast<int>(std::lround(FClientHeight * scale));
    const int left = (width - viewWidth) / 2;
    const int top = (height - viewHeight) / 2;
    return ScreenRect{left, top, left + viewWidth, top + viewHeight};
}

// Events and the pointer go through the same two steps, so a click lands on the pixel the
// cursor is drawn at.
void SdlWindow::WindowToClient(int& x, int& y) const {
    WindowToScreen(x, y);
    ScreenToClient(x, y);
}

// The window's services speak of the screen in the game's pixels: the desktop divided by the
// scale at which the 800 x 600 client is shown, so that the client is the centred 800 x 600
// rectangle of that screen (on an 800 x 600 desktop, the whole screen).
double SdlWindow::Scale() const {
    const ScreenRect view = ViewRect();
    return std::max(static_cast<double>(view.Right - view.Left) / FClientWidth, 1e-6);
}

void SdlWindow::LogicalScreenSize(int& width, int& height) const {
    width = FClientWidth;
    height = FClientHeight;
    if (FSdl->Window != nullptr) {
        SDL_GetWindowSize(FSdl->Window, &width, &height);
    }
    const double scale = Scale();
    width = static_cast<int>(std::lround(width / scale));
    height = static_cast<int>(std::lround(height / scale));
}

void SdlWindow::WindowToScreen(int& x, int& y) const {
    const double scale = Scale();
    x = static_cast<int>(std::floor(x / scale));
    y = static_cast<int>(std::floor(y / scale));
}

void SdlWindow::PointerScreenPosition(int& x, int& y) const {
    SDL_GetMouseState(&x, &y);
    WindowToScreen(x, y);
}

void SdlWindow::ScreenToClient(int& x, int& y) const {
    int width = 0;
    int height = 0;
    LogicalScreenSize(width, height);
    x -= (width - FClientWidth) / 2;
    y -= (height - FClientHeight) / 2;
}

void SdlWindow::ClipPointer(const std::optional<ScreenRect>& rect) {
    if (FSdl->Window == nullptr) {
        return;
    }
    if (!rect) {
        SDL_SetWindowMouseRect(FSdl->Window, nullptr);
        return;
    }
    const double scale = Scale();
    const SDL_Rect area{static_cast<int>(std::lround(rect->Left * scale)), static_cast<int>(std::lround(rect->Top * scale)),
                        static_cast<int>(std::lround((rect->Right - rect->Left) * scale)),
                        static_cast<int>(std::lround((rect->Bottom - rect->Top) * scale))};
    SDL_SetWindowMouseRect(FSdl->Window, &area);
}

void SdlWindow::DropTextures() {
    if (FSdl->Upscaled != nullptr) {
        SDL_DestroyTexture(FSdl->Upscaled);
        FSdl->Upscaled = nullptr;
        FSdl->UpscaledFactor = 0;
    }
    if (FSdl->Frame != nullptr) {
        SDL_DestroyTexture(FSdl->Frame);
        FSdl->Frame = nullptr;
    }
}

void SdlWindow::NoteDeviceReset() {
    ++FResetCount;
    // The renderer's textures are gone with the device; they are made again at the next present.
    DropTextures();
}

std::string SdlWindow::RendererName() const {
    SDL_RendererInfo info{};
    if (FSdl->Renderer == nullptr || SDL_GetRendererInfo(FSdl->Renderer, &info) != 0) {
        return "none";
    }
    return info.name;
}

bool SdlWindow::OpenDevice() {
    if (FSdl->Window == nullptr) {
        return false;
    }
    if (FSdl->Renderer != nullptr) {
        return true;
    }
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "1");
    FSdl->Renderer = SDL_CreateRenderer(FSdl->Window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC |
                                                              SDL_RENDERER_TARGETTEXTURE);
    if (FSdl->Renderer == nullptr) {
        FSdl->Renderer = SDL_CreateRenderer(FSdl->Window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    }
    FVSync.reset();
    SDL_RendererInfo info{};
    FSdl->Accelerated = FSdl->Renderer != nullptr && SDL_GetRendererInfo(FSdl->Renderer, &info) == 0 &&
                        (info.flags & SDL_RENDERER_ACCELERATED) != 0;
    return FSdl->Renderer != nullptr;
}

void SdlWindow::CloseDevice() {
    DropTextures();
    if (FSdl->Renderer != nullptr) {
        SDL_DestroyRenderer(FSdl->Renderer);
        FSdl->Renderer = nullptr;
    }
}

int SdlWindow::ScreenWidth() const {
    if (FSdl->Mode) {
        return FSdl->Mode->Width;
    }
    SDL_DisplayMode desktop{};
    return SDL_GetDesktopDisplayMode(0, &desktop) == 0 ? desktop.w : FClientWidth;
}

int SdlWindow::ScreenHeight() const {
    if (FSdl->Mode) {
        return FSdl->Mode->Height;
    }
    SDL_DisplayMode desktop{};
    return SDL_GetDesktopDisplayMode(0, &desktop) == 0 ? desktop.h : FClientHeight;
}

// The screen's own modes, each also offered at 16 bits, plus the classic small modes that fit:
// every one of them is shown scaled in the desktop's resolution, so none needs a real switch.
std::vector<DisplayMode> SdlWindow::DisplayModes() {
    std::vector<DisplayMode> modes;
    const auto add = [&modes](DisplayMode mode) {
        if (std::find(modes.begin(), modes.end(), mode) == modes.end()) {
            modes.push_back(mode);
        }
    };
    SDL_DisplayMode desktop{};
    const bool haveDesktop = SDL_GetDesktopDisplayMode(0, &desktop) == 0;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, i, &mode) == 0) {
            add({mode.w, mode.h, static_cast<int>(SDL_BYTESPERPIXEL(mode.format) * 8)});
            add({mode.w, mode.h, 16});
        }
    }
    for (const auto& [width, height] : {std::pair{640, 480}, std::pair{800, 600}, std::pair{1024, 768}}) {
        if (!haveDesktop || (width <= desktop.w && height <= desktop.h)) {
            add({width, height, 16});
            add({width, height, 32});
        }
    }
    return modes;
}

bool SdlWindow::SetDisplayMode(const DisplayMode& mode) {
    const std::vector<DisplayMode> modes = DisplayModes();
    if (std::find(modes.begin(), modes.end(), mode) == modes.end()) {
        return false;
    }
    FSdl->Mode = mode;
    return true;
}

void SdlWindow::RestoreDisplayMode() {
    FSdl->Mode.reset();
}

void SdlWindow::SetVSync(bool on) {
    if (FVSync != on) {
        SDL_RenderSetVSync(FSdl->Renderer, on ? 1 : 0);
        FVSync = on;
    }
}

bool SdlWindow::EnsureTextures(int width, int height) {
    if (FSdl->Frame == nullptr) {
        FSdl->Frame = SDL_CreateTexture(FSdl->Renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, width, height);
        if (FSdl->Frame == nullptr) {
            return false;
        }
        SDL_SetTextureScaleMode(FSdl->Frame, SDL_ScaleModeNearest);
    }
    return true;
}

bool SdlWindow::Present(const PixelBuffer16& frame, bool waitVBlank) {
    if (FSdl->Renderer == nullptr || !EnsureTextures(frame.Width, frame.Height)) {
        return false;
    }
    SetVSync(waitVBlank);
    SDL_UpdateTexture(FSdl->Frame, nullptr, frame.Pixels, frame.Pitch * 2);

    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetRendererOutputSize(FSdl->Renderer, &windowWidth, &windowHeight);
    const double scale = std::min(static_cast<double>(windowWidth) / frame.Width,
                                  static_cast<double>(windowHeight) / frame.Height);
    const int viewWidth = static_cast<int>(std::lround(frame.Width * scale));
    const int viewHeight = static_cast<int>(std::lround(frame.Height * scale));
    const SDL_Rect view{(windowWidth - viewWidth) / 2, (windowHeight - viewHeight) / 2, viewWidth, viewHeight};

    SDL_SetRenderDrawColor(FSdl->Renderer, 0, 0, 0, 255);
    SDL_RenderClear(FSdl->Renderer);
    const bool whole = scale < 1.0 || std::abs(scale - std::round(scale)) < 1e-9;
    // Without a graphics processor the smooth second step costs more than the whole frame:
    // there the picture is scaled once, nearest neighbour, which stays crisp.
    if (whole || !FSdl->Accelerated) {
        SDL_RenderCopy(FSdl->Renderer, FSdl->Frame, nullptr, &view);
    } else {
        // Sharp scaling: whole-number nearest upscale first, then one smooth step down to the view.
        const int factor = static_cast<int>(std::ceil(scale));
        if (FSdl->Upscaled == nullptr || FSdl->UpscaledFactor != factor) {
            if (FSdl->Upscaled != nullptr) {
                SDL_DestroyTexture(FSdl->Upscaled);
            }
            FSdl->Upscaled = SDL_CreateTexture(FSdl->Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET,
                                               frame.Width * factor, frame.Height * factor);
            FSdl->UpscaledFactor = factor;
            if (FSdl->Upscaled != nullptr) {
                SDL_SetTextureScaleMode(FSdl->Upscaled, SDL_ScaleModeLinear);
            }
        }
        if (FSdl->Upscaled != nullptr && SDL_SetRenderTarget(FSdl->Renderer, FSdl->Upscaled) == 0) {
            SDL_RenderCopy(FSdl->Renderer, FSdl->Frame, nullptr, nullptr);
            SDL_SetRenderTarget(FSdl->Renderer, nullptr);
            SDL_RenderCopy(FSdl->Renderer, FSdl->Upscaled, nullptr, &view);
        } else {
            SDL_RenderCopy(FSdl->Renderer, FSdl->Frame, nullptr, &view);
        }
    }
    SDL_RenderPresent(FSdl->Renderer);
    ++FPresentedFrames;
    return true;
}

}  // namespace platform
