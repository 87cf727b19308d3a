// Presentation on a real X server without a window manager (run under xvfb-run at 1024 x 768):
// what the desktop probe learns, the window covering the whole screen, and the frame scaled for
// that window, read back from the X server's own pixels.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/DesktopProbe.h"
#include "platform/SdlWindow.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

TEST(X11Presentation, TheWindowCoversTheScreenAndTheFrameIsScaledForIt) {
    XDisplay display(XOpenDisplay(nullptr));
    ASSERT_TRUE(display);
    Display* x = display.get();
    const int screenWidth = DisplayWidth(x, DefaultScreen(x));
    const int screenHeight = DisplayHeight(x, DefaultScreen(x));
    if (screenWidth != 1024 || screenHeight != 768) {
        GTEST_SKIP() << "made for a 1024 x 768 screen";
    }
    platform::SdlWindow window;
    std::string error;
    ASSERT_TRUE(window.Create("Zarvoth Mutador", 800, 600, error)) << error;
    ASSERT_TRUE(window.OpenDevice());
    EXPECT_EQ(window.RendererName(), "window surface") << "no graphics processor draws on Xvfb";
    std::vector<std::uint16_t> pixels = QuarterFrame();
    const platform::PixelBuffer16 frame{pixels.data(), 800, 600, 800, platform::PixelLayout::RGB565};

    // The frame reaches the X server once the window is mapped; read the screen until it shows.
    const Window root = DefaultRootWindow(x);
    const auto pixelAt = [&](int px, int py) {
        XImage* image = XGetImage(x, root, px, py, 1, 1, AllPlanes, ZPixmap);
        const unsigned long value = image != nullptr ? XGetPixel(image, 0, 0) & 0xFFFFFF : 0;
        if (image != nullptr) XDestroyImage(image);
        return value;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    do {
        ASSERT_TRUE(window.Present(frame, false));
        XSync(x, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (pixelAt(1014, 10) != 0x00FF00 && std::chrono::steady_clock::now() < deadline);

    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    ASSERT_NE(XQueryTree(x, root, &rootReturn, &parent, &children, &count), 0);
    ASSERT_EQ(count, 1u);
    XWindowAttributes attributes{};
    XGetWindowAttributes(x, children[0], &attributes);
    XFree(children);
    EXPECT_EQ(attributes.x, 0);
    EXPECT_EQ(attributes.y, 0);
    EXPECT_EQ(attributes.width, 1024);
    EXPECT_EQ(attributes.height, 768);

    // 800 x 600 fills 1024 x 768 at 1.28: every corner shows its quarter, nothing is cut off.
    struct Sample {
        int X, Y;
        unsigned long Colour;
    };
    const Sample samples[] = {{0, 0, 0xFF0000},     {1023, 0, 0x00FF00}, {0, 767, 0x0000FF}, {1023, 767, 0xFFFF00},
                              {511, 300, 0xFF0000}, {512, 300, 0xFFFFFF}, {513, 300, 0xFFFFFF}, {514, 300, 0x00FF00}};
    for (const Sample& sample : samples) {
        EXPECT_EQ(pixelAt(sample.X, sample.Y), sample.Colour) << "at " << sample.X << "," << sample.Y;
    }
}

}  // namespace
