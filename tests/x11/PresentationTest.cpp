// Presentation on a real X server (run under xvfb-run at 1024 x 768), without and with a window
// manager (openbox): what the desktop probe learns, the window covering the whole screen, and
// the frame scaled for that window, read back from the X server's own pixels.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

#include "platform/DesktopProbe.h"
#include "platform/SdlWindow.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

extern char** environ;

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using XDisplay = std::unique_ptr<Display, DisplayCloser>;

void SetWindowProperty(Display* display, Window on, Atom property, Window value) {
    XChangeProperty(display, on, property, XA_WINDOW, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&value), 1);
}

TEST(X11Desktop, TheProbeFindsAWindowManagerOnlyWhileOneAnswersAndNoGpuOnXvfb) {
    XDisplay display(XOpenDisplay(nullptr));
    ASSERT_TRUE(display);
    const platform::DesktopFacts bare = platform::ProbeX11Desktop();
    EXPECT_FALSE(bare.WindowManager);
    EXPECT_FALSE(bare.GpuRendering) << "Xvfb offers neither DRI nor NVIDIA's GLX";

    // A window manager names its check window on the root, and the window names itself.
    Display* x = display.get();
    const Window root = DefaultRootWindow(x);
    const Atom check = XInternAtom(x, "_NET_SUPPORTING_WM_CHECK", False);
    const Window manager = XCreateSimpleWindow(x, root, 0, 0, 1, 1, 0, 0, 0);
    SetWindowProperty(x, root, check, manager);
    SetWindowProperty(x, manager, check, manager);
    XSync(x, False);
    EXPECT_TRUE(platform::ProbeX11Desktop().WindowManager);

    // A manager that ended leaves the root's property naming a window that is gone.
    XDestroyWindow(x, manager);
    XSync(x, False);
    EXPECT_FALSE(platform::ProbeX11Desktop().WindowManager);
    XDeleteProperty(x, root, check);
    XSync(x, False);
}

// A frame of four coloured quarters with a white column at x = 400.
std::vector<std::uint16_t> QuarterFrame() {
    std::vector<std::uint16_t> frame(800 * 600);
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const std::uint16_t quarter = y < 300 ? (x < 400 ? 0xF800 : 0x07E0) : (x < 400 ? 0x001F : 0xFFE0);
            frame[static_cast<std::size_t>(y * 800 + x)] = x == 400 ? 0xFFFF : quarter;
        }
    }
    return frame;
}

// Where a window sits on the screen, found by its name.
struct Placement {
    bool Found = false;
    int X = 0, Y = 0, Width = 0, Height = 0;
};

Placement PlacementOf(Display* x, Window window, const char* name) {
    char* title = nullptr;
    const bool named = XFetchName(x, window, &title) != 0 && title != nullptr && std::string(title) == name;
    if (title != nullptr) XFree(title);
    if (named) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(x, window, &attributes);
        Placement placement{true, 0, 0, attributes.width, attributes.height};
        Window child = 0;
        XTranslateCoordinates(x, window, DefaultRootWindow(x), 0, 0, &placement.X, &placement.Y, &child);
        return placement;
    }
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Placement found;
    if (XQueryTree(x, window, &rootReturn, &parent, &children, &count) != 0) {
        for (unsigned i = 0; i < count && !found.Found; ++i) found = PlacementOf(x, children[i], name);
        XFree(children);
    }
    return found;
}

unsigned long ScreenPixel(Display* x, int px, int py) {
    XImage* image = XGetImage(x, DefaultRootWindow(x), px, py, 1, 1, AllPlanes, ZPixmap);
    const unsigned long value = image != nullptr ? XGetPixel(image, 0, 0) & 0xFFFFFF : 0;
    if (image != nullptr) XDestroyImage(image);
    return value;
}

// Makes the game's window on this 1024 x 768 screen, shows the quarter frame and checks that the
// window covers the screen and the frame fills it at 1.28, nothing cut off.
void ExpectTheFrameCoversTheScreen(Display* x) {
    platform::SdlWindow window;
    std::string error;
    ASSERT_TRUE(window.Create("Zarvoth Mutador", 800, 600, error)) << error;
    ASSERT_TRUE(window.OpenDevice());
    EXPECT_EQ(window.RendererName(), "window surface") << "no graphics processor draws on Xvfb";
    std::vector<std::uint16_t> pixels = QuarterFrame();
    const platform::PixelBuffer16 frame{pixels.data(), 800, 600, 800, platform::PixelLayout::RGB565};
    // The frame reaches the screen once the window is mapped (and, with a window manager, made
    // full screen); present until it shows.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    do {
        ASSERT_TRUE(window.Present(frame, false));
        XSync(x, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while ((ScreenPixel(x, 1023, 0) != 0x00FF00 || ScreenPixel(x, 0, 767) != 0x0000FF) &&
             std::chrono::steady_clock::now() < deadline);

    const Placement placement = PlacementOf(x, DefaultRootWindow(x), "Zarvoth Mutador");
    ASSERT_TRUE(placement.Found);
    EXPECT_EQ(placement.X, 0);
    EXPECT_EQ(placement.Y, 0);
    EXPECT_EQ(placement.Width, 1024);
    EXPECT_EQ(placement.Height, 768);
    struct Sample {
        int X, Y;
        unsigned long Colour;
    };
    const Sample samples[] = {{0, 0, 0xFF0000},     {1023, 0, 0x00FF00}, {0, 767, 0x0000FF}, {1023, 767, 0xFFFF00},
                              {511, 300, 0xFF0000}, {512, 300, 0xFFFFFF}, {513, 300, 0xFFFFFF}, {514, 300, 0x00FF00}};
    for (const Sample& sample : samples) {
        EXPECT_EQ(ScreenPixel(x, sample.X, sample.Y), sample.Colour) << "at " << sample.X << "," << sample.Y;
    }
}

XDisplay OpenScreenOf1024x768() {
    XDisplay display(XOpenDisplay(nullptr));
    if (display && (DisplayWidth(display.get(), 0) != 1024 || DisplayHeight(display.get(), 0) != 768)) display.reset();
    return display;
}

TEST(X11Presentation, WithoutAWindowManagerTheWindowCoversTheScreenAndTheFrameIsScaledForIt) {
    const XDisplay display = OpenScreenOf1024x768();
    if (!display) GTEST_SKIP() << "made for a 1024 x 768 X screen";
    ExpectTheFrameCoversTheScreen(display.get());
}

TEST(X11Presentation, UnderAWindowManagerTheWindowIsMadeFullScreen) {
    const XDisplay display = OpenScreenOf1024x768();
    if (!display) GTEST_SKIP() << "made for a 1024 x 768 X screen";
    pid_t manager = 0;
    const char* argv[] = {"openbox", "--sm-disable", nullptr};
    ASSERT_EQ(posix_spawnp(&manager, "openbox", nullptr, nullptr, const_cast<char**>(argv), environ), 0);
    // The manager names itself before it manages windows: it is ready once it has framed one. A
    // map that reaches the server while the manager is still taking over may go unseen, so the
    // probe is mapped again every second; a loaded machine may take several.
    Display* x = display.get();
    const Window probe = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(x, probe);
    const auto start = std::chrono::steady_clock::now();
    auto remap = start + std::chrono::seconds(1);
    bool framed = false;
    while (!framed && std::chrono::steady_clock::now() < start + std::chrono::seconds(30)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        framed = XQueryTree(x, probe, &rootReturn, &parent, &children, &count) != 0 && parent != DefaultRootWindow(x);
        if (children != nullptr) XFree(children);
        if (!framed && std::chrono::steady_clock::now() > remap) {
            XUnmapWindow(x, probe);
            XMapWindow(x, probe);
            remap += std::chrono::seconds(1);
        }
    }
    XDestroyWindow(x, probe);
    XSync(x, False);
    if (framed) {
        EXPECT_TRUE(platform::ProbeX11Desktop().WindowManager);
        ExpectTheFrameCoversTheScreen(x);
    }
    const bool managerRan = waitpid(manager, nullptr, WNOHANG) == 0;
    kill(manager, SIGTERM);
    waitpid(manager, nullptr, 0);
    ASSERT_TRUE(framed) << "openbox did not start managing windows within 30 s"
                        << (managerRan ? "" : " (it had ended)");
}

}  // namespace
