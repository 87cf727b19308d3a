// SdlWindow: window, renderer and presentation on SDL2.
#include "platform/SdlWindow.h"

#include <SDL.h>

#include <SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string_view>
#include <thread>

#include "platform/DesktopProbe.h"
#include "platform/FramePacer.h"
#include "platform/NearestScaler.h"

namespace platform {

namespace {

enum class Presentation : std::uint8_t { None, Renderer, WindowSurface };

// Names in GL_RENDERER of OpenGL drawn by the CPU.
constexpr std::string_view SoftwareRasterizers[] = {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"};

// What a renderer that reports acceleration really runs on: OpenGL may be drawn by the CPU
// (Mesa's llvmpipe and softpipe, the old swrast), and then the window's own surface is cheaper.
bool DrawnByGpu(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || (info.flags & SDL_RENDERER_ACCELERATED) == 0) {
        return false;
    }
    if (std::strncmp(info.name, "opengl", 6) != 0) {
        return true;
    }
    using GetString = const GLubyte*(APIENTRY*)(GLenum);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const GLubyte* name = getString != nullptr ? getString(GL_RENDERER) : nullptr;
    if (name == nullptr) {
        return true;
    }
    const std::string_view drawnBy = reinterpret_cast<const char*>(name);
    return std::none_of(std::begin(SoftwareRasterizers), std::end(SoftwareRasterizers),
                        [drawnBy](std::string_view software) { return drawnBy.find(software) != std::string_view::npos; });
}

// The frame's place in an output of the given size: as large as the aspect ratio allows, centred.
ScreenRect Letterbox(int outputWidth, int outputHeight, int frameWidth, int frameHeight) {
    const double scale = std::min(static_cast<double>(outputWidth) / frameWidth, static_cast<double>(outputHeight) / frameHeight);
    const int viewWidth = static_cast<int>(std::lround(frameWidth * scale));
    const int viewHeight = static_cast<int>(std::lround(frameHeight * scale));
    const int left = (outputWidth - viewWidth) / 2;
    const int top = (outputHeight - viewHeight) / 2;
    return ScreenRect{left, top, left + viewWidth, top + viewHeight};
}

// Surfaces of other depths take SDL's own scaled blit from a view of the frame's pixels.
bool BlitFrame(const PixelBuffer16& frame, SDL_Surface*& source, SDL_Surface* surface, const ScreenRect& view) {
    if (source == nullptr || source->pixels != frame.Pixels || source->w != frame.Width || source->h != frame.Height) {
        if (source != nullptr) {
            SDL_FreeSurface(source);
        }
        source = SDL_CreateRGBSurfaceWithFormatFrom(
            frame.Pixels, frame.Width, frame.Height, 16, frame.Pitch * 2,
            frame.Layout == PixelLayout::RGB565 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB555);
    }
    SDL_Rect place{view.Left, view.Top, view.Right - view.Left, view.Bottom - view.Top};
    return source != nullptr && SDL_BlitScaled(source, nullptr, surface, &place) == 0;
}

// The display's refresh period; 60 Hz where the display names no rate (Xvfb, for one).
FramePacer::Clock::duration RefreshPeriod(SDL_Window* window) {
    SDL_DisplayMode mode{};
    const int rate = SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0 ? mode.refresh_rate : 60;
    return std::chrono::duration_cast<FramePacer::Clock::duration>(std::chrono::seconds(1)) / rate;
}

}  // namespace

struct SdlWindow::Sdl {
    SDL_Window* Window = nullptr;
    bool VideoStarted = false;
    bool GpuPossible = true;  // the desktop may draw for the window with a graphics processor
    bool DeviceOpen = false;
    Presentation Path = Presentation::None;  // chosen at the first opening, kept for the window's life

    // The renderer on a graphics processor.
    SDL_Renderer* Renderer = nullptr;
    SDL_Texture* Frame = nullptr;     // the 16-bit frame as uploaded
    SDL_Texture* Upscaled = nullptr;  // whole-number nearest upscale, when a smooth final step is needed
    int UpscaledFactor = 0;

    // The window's own surface, drawn by the CPU.
    NearestScaler Scaler;
    SDL_Surface* PreparedSurface = nullptr;  // the surface the scaler and the black bars were made for
    ScreenRect PreparedView;
    bool WholeUpdate = true;  // the next frame is sent with the bars around it
    SDL_Surface* FrameView = nullptr;  // SDL's view of the frame, for surfaces that are not 32-bit
    FramePacer Pacer;

    std::optional<DisplayMode> Mode;
};

SdlWindow::SdlWindow() : FSdl(std::make_unique<Sdl>()) {}

SdlWindow::~SdlWindow() {
    CloseDevice();
    if (FSdl->FrameView != nullptr) {
        SDL_FreeSurface(FSdl->FrameView);
    }
    if (FSdl->Window != nullptr) {
        SDL_SetWindowMouseRect(FSdl->Window, nullptr);
        SDL_DestroyWindow(FSdl->Window);
    }
    if (FSdl->VideoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    }
}

// A window manager makes the window full screen; SDL waits for it to change the window, so the
// window starts at the client's size. Without one the request would go unanswered (SDL waits a
// tenth of a second and the window keeps its first size): there the window is made at the
// desktop's own position and size, which covers the screen. Where a graphics processor may draw
// it is an OpenGL window from the start, so that making the renderer does not make it again.
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
    const char* driver = SDL_GetCurrentVideoDriver();
    const DesktopFacts desktop = driver != nullptr && std::strcmp(driver, "x11") == 0 ? ProbeX11Desktop() : DesktopFacts{};
    FSdl->GpuPossible = desktop.GpuRendering;
    SDL_Rect screen{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, clientWidth, clientHeight};
    Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (!desktop.WindowManager) {
        SDL_GetDisplayBounds(0, &screen);
        flags = SDL_WINDOW_BORDERLESS;
    }
    if (FSdl->GpuPossible) {
        FSdl->Window = SDL_CreateWindow(caption.c_str(), screen.x, screen.y, screen.w, screen.h, flags | SDL_WINDOW_OPENGL);
        // A video driver without OpenGL (the headless one) draws on the window's surface.
        FSdl->GpuPossible = FSdl->Window != nullptr;
    }
    if (FSdl->Window == nullptr) {
        FSdl->Window = SDL_CreateWindow(caption.c_str(), screen.x, screen.y, screen.w, screen.h, flags);
    }
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
    return Letterbox(width, height, FClientWidth, FClientHeight);
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

void SdlWindow::MovePointer(int x, int y) {
    if (FSdl->Window == nullptr) {
        return;
    }
    int width = 0;
    int height = 0;
    LogicalScreenSize(width, height);
    // The first window pixel that WindowToClient takes back to the point.
    const double scale = Scale();
    const int windowX = static_cast<int>(std::ceil((x + (width - FClientWidth) / 2) * scale));
    const int windowY = static_cast<int>(std::ceil((y + (height - FClientHeight) / 2) * scale));
    // On X11 SDL does not move a pointer held by a confinement; the point lies inside it, so the
    // confinement is lifted for the move and set again.
    const SDL_Rect* confined = SDL_GetWindowMouseRect(FSdl->Window);
    if (confined == nullptr) {
        SDL_WarpMouseInWindow(FSdl->Window, windowX, windowY);
        return;
    }
    const SDL_Rect area = *confined;
    SDL_SetWindowMouseRect(FSdl->Window, nullptr);
    SDL_WarpMouseInWindow(FSdl->Window, windowX, windowY);
    SDL_SetWindowMouseRect(FSdl->Window, &area);
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

void SdlWindow::NoteExposed() {
    FSdl->WholeUpdate = true;
}

void SdlWindow::NoteDeviceReset() {
    ++FResetCount;
    // The renderer's textures are gone with the device; they are made again at the next present.
    DropTextures();
}

std::string SdlWindow::RendererName() const {
    SDL_RendererInfo info{};
    if (FSdl->Path == Presentation::WindowSurface) {
        return "window surface";
    }
    if (FSdl->Renderer == nullptr || SDL_GetRendererInfo(FSdl->Renderer, &info) != 0) {
        return "none";
    }
    return info.name;
}

// A graphics processor draws through SDL's renderer; without one the frame goes straight into
// the window's own surface in one nearest-neighbour pass, which costs the CPU less than any of
// SDL's software paths (a renderer on software OpenGL among them).
bool SdlWindow::OpenDevice() {
    if (FSdl->Window == nullptr) {
        return false;
    }
    if (FSdl->Path != Presentation::WindowSurface && FSdl->GpuPossible && FSdl->Renderer == nullptr) {
        SDL_SetHint(SDL_HINT_RENDER_VSYNC, "1");
        FSdl->Renderer = SDL_CreateRenderer(FSdl->Window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC |
                                                                  SDL_RENDERER_TARGETTEXTURE);
        FVSync.reset();
        if (FSdl->Renderer != nullptr && !DrawnByGpu(FSdl->Renderer)) {
            SDL_DestroyRenderer(FSdl->Renderer);
            FSdl->Renderer = nullptr;
        }
        FSdl->Path = FSdl->Renderer != nullptr ? Presentation::Renderer : Presentation::WindowSurface;
    }
    if (FSdl->Path != Presentation::Renderer) {
        // SDL would otherwise put a renderer behind the window surface.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        FSdl->Path = Presentation::WindowSurface;
        FSdl->PreparedSurface = nullptr;
        FSdl->DeviceOpen = SDL_GetWindowSurface(FSdl->Window) != nullptr;
    } else {
        FSdl->DeviceOpen = FSdl->Renderer != nullptr;
    }
    return FSdl->DeviceOpen;
}

void SdlWindow::CloseDevice() {
    DropTextures();
    if (FSdl->Renderer != nullptr) {
        SDL_DestroyRenderer(FSdl->Renderer);
        FSdl->Renderer = nullptr;
    }
    FSdl->DeviceOpen = false;
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

std::optional<std::chrono::steady_clock::time_point> SdlWindow::FrameDue() const {
    return FSdl->Pacer.FrameDue();
}

bool SdlWindow::Present(const PixelBuffer16& frame, bool waitVBlank) {
    if (!FSdl->DeviceOpen || frame.Pixels == nullptr || frame.Width <= 0 || frame.Height <= 0) {
        return false;
    }
    const bool shown = FSdl->Path == Presentation::Renderer ? PresentWithRenderer(frame, waitVBlank)
                                                            : PresentOnWindowSurface(frame, waitVBlank);
    if (shown) {
        ++FPresentedFrames;
    }
    return shown;
}

bool SdlWindow::PresentWithRenderer(const PixelBuffer16& frame, bool waitVBlank) {
    if (!EnsureTextures(frame.Width, frame.Height)) {
        return false;
    }
    SetVSync(waitVBlank);
    SDL_UpdateTexture(FSdl->Frame, nullptr, frame.Pixels, frame.Pitch * 2);

    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetRendererOutputSize(FSdl->Renderer, &windowWidth, &windowHeight);
    const ScreenRect place = Letterbox(windowWidth, windowHeight, frame.Width, frame.Height);
    const SDL_Rect view{place.Left, place.Top, place.Right - place.Left, place.Bottom - place.Top};
    const double scale = static_cast<double>(view.w) / frame.Width;

    SDL_SetRenderDrawColor(FSdl->Renderer, 0, 0, 0, 255);
    SDL_RenderClear(FSdl->Renderer);
    const bool whole = scale < 1.0 || std::abs(scale - std::round(scale)) < 1e-9;
    if (whole) {
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
    const auto submitted = FramePacer::Clock::now();
    SDL_RenderPresent(FSdl->Renderer);
    FSdl->Pacer.SetPeriod(RefreshPeriod(FSdl->Window));
    FSdl->Pacer.Presented(submitted, FramePacer::Clock::now(),
                          waitVBlank ? FramePacer::Sync::Display : FramePacer::Sync::None);
    return true;
}

// One nearest-neighbour pass into the window's surface, the bars around it black. With vertical
// sync the frames keep to the refresh clock: the loop starts each one when it is due, and one
// presented before that waits for it, as a flip would.
bool SdlWindow::PresentOnWindowSurface(const PixelBuffer16& frame, bool waitVBlank) {
    SDL_Surface* surface = SDL_GetWindowSurface(FSdl->Window);
    if (surface == nullptr) {
        return false;
    }
    const ScreenRect view = Letterbox(surface->w, surface->h, frame.Width, frame.Height);
    const int viewWidth = view.Right - view.Left;
    const int viewHeight = view.Bottom - view.Top;
    if (surface != FSdl->PreparedSurface || view.Left != FSdl->PreparedView.Left || view.Top != FSdl->PreparedView.Top ||
        viewWidth != FSdl->Scaler.ViewWidth() || viewHeight != FSdl->Scaler.ViewHeight()) {
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        FSdl->Scaler.Prepare(frame.Width, frame.Height, viewWidth, viewHeight);
        FSdl->PreparedSurface = surface;
        FSdl->PreparedView = view;
        FSdl->WholeUpdate = true;
    }
    const SDL_PixelFormat& format = *surface->format;
    const bool wholeChannels = format.BytesPerPixel == 4 && format.Rloss == 0 && format.Gloss == 0 && format.Bloss == 0;
    if (wholeChannels && SDL_LockSurface(surface) == 0) {
        const std::ptrdiff_t pitch = surface->pitch / 4;
        auto* pixels = static_cast<std::uint32_t*>(surface->pixels) + view.Top * pitch + view.Left;
        FSdl->Scaler.Scale(frame, PixelFormat32{format.Rshift, format.Gshift, format.Bshift, format.Amask}, pixels, pitch);
        SDL_UnlockSurface(surface);
    } else if (!BlitFrame(frame, FSdl->FrameView, surface, view)) {
        return false;
    }
    FramePacer& pacer = FSdl->Pacer;
    if (waitVBlank) {
        pacer.SetPeriod(RefreshPeriod(FSdl->Window));
        if (const auto due = pacer.FrameDue(); due && FramePacer::Clock::now() < *due) {
            std::this_thread::sleep_until(*due);
        }
    }
    // The black bars stay on the screen until the desktop loses them: only the view is sent.
    const SDL_Rect changed{view.Left, view.Top, viewWidth, viewHeight};
    const auto submitted = FramePacer::Clock::now();
    const bool sent = FSdl->WholeUpdate ? SDL_UpdateWindowSurface(FSdl->Window) == 0
                                        : SDL_UpdateWindowSurfaceRects(FSdl->Window, &changed, 1) == 0;
    pacer.Presented(submitted, FramePacer::Clock::now(), waitVBlank ? FramePacer::Sync::Kept : FramePacer::Sync::None);
    FSdl->WholeUpdate = FSdl->WholeUpdate && !sent;
    return sent;
}

}  // namespace platform
