// Presentation on a real X server (run under xvfb-run at 1024 x 768), without and with a window
// manager (openbox): what the desktop probe learns, the window covering the whole screen, and
// the frame scaled for that window, read back from the X server's own pixels; and the main
// window switched between full screen and a window by its keys.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "game/Globals.h"
#include "game/Preferences.h"
#include "platform/DesktopProbe.h"
#include "platform/SdlWindow.h"
#include "support/X11GameWindow.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "support/Openbox.h"

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

// The quarter frame shown in the given rectangle of the screen: its four corners, the white
// column where the scale puts it (screen pixel p shows frame column p / scale), and black bars
// around it where the window is larger.
void ExpectTheQuarterFrameAt(Display* x, const Placement& picture, const Placement& window = {}) {
    const double scale = picture.Width / 800.0;
    const int firstWhite = picture.X + static_cast<int>(std::ceil(400 * scale));
    const int lastWhite = picture.X + static_cast<int>(std::ceil(401 * scale)) - 1;
    const int right = picture.X + picture.Width - 1;
    const int bottom = picture.Y + picture.Height - 1;
    struct Sample {
        int X, Y;
        unsigned long Colour;
    };
    std::vector<Sample> samples = {{picture.X, picture.Y, 0xFF0000},  {right, picture.Y, 0x00FF00},
                                   {picture.X, bottom, 0x0000FF},     {right, bottom, 0xFFFF00},
                                   {firstWhite - 1, picture.Y, 0xFF0000}, {firstWhite, picture.Y, 0xFFFFFF},
                                   {lastWhite, bottom, 0xFFFFFF},     {lastWhite + 1, bottom, 0xFFFF00}};
    if (window.Found) {
        if (picture.X > window.X) samples.push_back({picture.X - 1, picture.Y, 0});
        if (right < window.X + window.Width - 1) samples.push_back({right + 1, bottom, 0});
        if (picture.Y > window.Y) samples.push_back({picture.X, picture.Y - 1, 0});
        if (bottom < window.Y + window.Height - 1) samples.push_back({right, bottom + 1, 0});
    }
    for (const Sample& sample : samples) {
        EXPECT_EQ(ScreenPixel(x, sample.X, sample.Y), sample.Colour) << "at " << sample.X << "," << sample.Y;
    }
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
    ExpectTheQuarterFrameAt(x, Placement{true, 0, 0, 1024, 768});
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
    const Openbox manager(display.get());
    ASSERT_TRUE(manager.Framing()) << "openbox did not start managing windows within 30 s"
                                   << (manager.Running() ? "" : " (it had ended)");
    EXPECT_TRUE(platform::ProbeX11Desktop().WindowManager);
    ExpectTheFrameCoversTheScreen(display.get());
}

// The main window on this screen, its menu drawing the quarter frame; keys come through the X
// server (xdotool) as a player's would.
class X11WindowKeys : public X11GameWindowTest {
protected:
    static void SetUpTestSuite() { Screen = OpenScreenOf1024x768(); }
    static void TearDownTestSuite() { Screen.reset(); }

    void SetUp() override {
        if (!Screen) GTEST_SKIP() << "made for a 1024 x 768 X screen";
        Main::Routes()[Main::AppModeMenu].Frame = [this](int) {
            TDirectDrawSurface& surface = *Form->DXDraw1->Surface();
            for (int y = 0; y < 600; ++y) std::copy_n(&Quarters[static_cast<std::size_t>(y * 800)], 800, surface.Row(y));
        };
        // The drawn cursor stays clear of every sample.
        Xdotool("mousemove 200 200");
    }

    static void Xdotool(const std::string& arguments) {
        ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
    }

    Placement GameWindow() { return PlacementOf(Screen.get(), DefaultRootWindow(Screen.get()), "Zarvoth Mutador 1.0"); }

    // Runs the loop until the game's window has this size and shows its picture (at most 5 s).
    Placement PumpUntilSized(int width, int height) {
        Placement placement;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        do {
            Pump(std::chrono::milliseconds(50));
            XSync(Screen.get(), False);
            placement = GameWindow();
        } while ((placement.Width != width || placement.Height != height ||
                  ScreenPixel(Screen.get(), placement.X + width / 2, placement.Y + height / 2) == 0) &&
                 std::chrono::steady_clock::now() < deadline);
        EXPECT_EQ(placement.Width, width);
        EXPECT_EQ(placement.Height, height);
        Pump(std::chrono::milliseconds(100));
        return placement;
    }

    static inline XDisplay Screen;
    const std::vector<std::uint16_t> Quarters = QuarterFrame();
};

using X11WindowKeysWithoutManager = X11WindowKeys;

// On this screen the largest whole multiple that fits with openbox's frame is the picture itself.
class X11WindowKeysUnderOpenbox : public X11WindowKeys {
protected:
    static void SetUpTestSuite() {
        X11WindowKeys::SetUpTestSuite();
        if (Screen) Manager = std::make_unique<Openbox>(Screen.get());
    }
    static void TearDownTestSuite() {
        Manager.reset();
        X11WindowKeys::TearDownTestSuite();
    }
    void SetUp() override {
        X11WindowKeys::SetUp();
        if (!IsSkipped()) {
            ASSERT_TRUE(Manager->Framing()) << "openbox did not start managing windows within 30 s";
        }
    }
    static inline std::unique_ptr<Openbox> Manager;
};

TEST_F(X11WindowKeysWithoutManager, TheGameStaysFullScreen) {
    PumpUntilSized(1024, 768);
    Xdotool("key F11");
    const Placement placement = PumpUntilSized(1024, 768);
    EXPECT_TRUE(Window.FullScreen());
    EXPECT_TRUE(Preferences::Current.FullScreen);
    ExpectTheQuarterFrameAt(Screen.get(), placement);
}

TEST_F(X11WindowKeysUnderOpenbox, F11MakesAWindowThatResizesCrisplyAndAltEnterFullScreenAgain) {
    PumpUntilSized(1024, 768);
    EXPECT_TRUE(Window.PointerClipped()) << "full screen holds the pointer";

    Xdotool("key F11");
    Placement window = PumpUntilSized(800, 600);
    EXPECT_FALSE(Window.FullScreen());
    EXPECT_FALSE(Preferences::Current.FullScreen);
    EXPECT_TRUE(window.X >= 0 && window.Y >= 0 && window.X + 800 <= 1024 && window.Y + 600 <= 768) << "on the screen";
    ExpectTheQuarterFrameAt(Screen.get(), window, window);
    EXPECT_FALSE(Window.PointerClipped()) << "a window lets the pointer go in the menu";
    EXPECT_TRUE(App.Active()) << "the switch costs no focus";

    // Larger than the picture: the picture at a whole multiple between bars; smaller: shrunk whole.
    struct Resize {
        int Width, Height;
        int PictureWidth, PictureHeight;
    };
    for (const Resize& resize : {Resize{1000, 700, 800, 600}, Resize{600, 450, 600, 450}}) {
        Xdotool("search --name '^Zarvoth Mutador 1.0$' windowsize %@ " + std::to_string(resize.Width) + " " +
                std::to_string(resize.Height));
        window = PumpUntilSized(resize.Width, resize.Height);
        const Placement picture{true, window.X + (resize.Width - resize.PictureWidth) / 2,
                                window.Y + (resize.Height - resize.PictureHeight) / 2, resize.PictureWidth,
                                resize.PictureHeight};
        SCOPED_TRACE(std::to_string(resize.Width) + " x " + std::to_string(resize.Height));
        ExpectTheQuarterFrameAt(Screen.get(), picture, window);
        // The pointer put on a client point is read back there, bars or no bars (a point the
        // shrunk picture shows: shrinking skips some client columns and rows).
        Window.MovePointer(120, 456);
        Pump(std::chrono::milliseconds(100));
        EXPECT_EQ(Main::CursorPos, (TPoint{120, 456}));
    }

    // Another window taking the focus pauses the game's window as it does full screen.
    const ::Window other = XCreateSimpleWindow(Screen.get(), DefaultRootWindow(Screen.get()), 0, 0, 50, 50, 0, 0, 0);
    XStoreName(Screen.get(), other, "other");
    XMapWindow(Screen.get(), other);
    XSync(Screen.get(), False);
    Xdotool("search --sync --name '^other$' windowactivate --sync");
    Pump(std::chrono::milliseconds(300));
    EXPECT_FALSE(App.Active());
    EXPECT_EQ(Window.Caption(), "Zarvoth Mutador 1.0 [Pause]");
    XDestroyWindow(Screen.get(), other);
    XSync(Screen.get(), False);
    Xdotool("search --name '^Zarvoth Mutador 1.0 \\[Pause\\]$' windowactivate --sync");
    Pump(std::chrono::milliseconds(300));
    EXPECT_TRUE(App.Active());

    Xdotool("key alt+Return");
    const Placement screen = PumpUntilSized(1024, 768);
    EXPECT_TRUE(Window.FullScreen());
    EXPECT_TRUE(Preferences::Current.FullScreen);
    EXPECT_EQ(screen.X, 0);
    EXPECT_EQ(screen.Y, 0);
    ExpectTheQuarterFrameAt(Screen.get(), screen);
    EXPECT_TRUE(Window.PointerClipped());
}

}  // namespace
