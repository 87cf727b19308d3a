// LatencyProbe: how long a program takes to show a player's input, measured from outside on an
// X server of its own: XTest moves the pointer, presses a key or clicks, and a probe reads a
// rectangle of the screen with XGetImage until enough of its pixels differ from how they looked
// just before. Each input comes after a random pause, so it lands at any moment of a frame as a
// player's hand does. The scenarios are the game's (the "new game" highlight in the menu, the
// ship banking on a steering key, the first phaser pixels after a click) and the bare SDL
// program's (a block under the pointer that changes colour on key and mouse presses). Depends on
// Xlib and XTest.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

struct ScreenRegion {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

// Milliseconds from each input to the first frame on the screen that shows it.
struct LatencySamples {
    std::vector<double> Pointer;
    std::vector<double> Key;
    std::vector<double> Click;
};

class InputProbe {
public:
    using Clock = std::chrono::steady_clock;
    using Picture = std::vector<unsigned long>;

    explicit InputProbe(const std::string& display) : FDisplay(XOpenDisplay(display.c_str())) {}
    ~InputProbe() {
        if (FDisplay != nullptr) XCloseDisplay(FDisplay);
    }
    InputProbe(const InputProbe&) = delete;
    InputProbe& operator=(const InputProbe&) = delete;

    bool Open() const { return FDisplay != nullptr; }

    Picture Capture(const ScreenRegion& region) {
        Picture pixels;
        XImage* image = XGetImage(FDisplay, DefaultRootWindow(FDisplay), region.X, region.Y,
                                  static_cast<unsigned>(region.Width), static_cast<unsigned>(region.Height), AllPlanes,
                                  ZPixmap);
        if (image == nullptr) return pixels;
        pixels.reserve(static_cast<std::size_t>(region.Width * region.Height));
        for (int y = 0; y < region.Height; ++y) {
            for (int x = 0; x < region.Width; ++x) pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
        }
        XDestroyImage(image);
        return pixels;
    }

    static int Differences(const Picture& a, const Picture& b) {
        if (a.size() != b.size()) return static_cast<int>(std::max(a.size(), b.size()));
        int count = 0;
        for (std::size_t i = 0; i < a.size(); ++i) count += a[i] != b[i] ? 1 : 0;
        return count;
    }

    // Waits until at least `pixels` pixels of the region differ from `before`; the time it
    // happened, or nothing when the limit passed first.
    std::optional<Clock::time_point> WaitForChange(const ScreenRegion& region, const Picture& before, int pixels,
                                                   Clock::duration limit) {
        const Clock::time_point end = Clock::now() + limit;
        while (Clock::now() < end) {
            if (Differences(Capture(region), before) >= pixels) return Clock::now();
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        return std::nullopt;
    }

    void MovePointer(int x, int y) { XTestFakeMotionEvent(FDisplay, DefaultScreen(FDisplay), x, y, CurrentTime); }
    void Key(KeySym key, bool down) {
        XTestFakeKeyEvent(FDisplay, XKeysymToKeycode(FDisplay, key), down ? True : False, CurrentTime);
    }
    void Click() {
        XTestFakeButtonEvent(FDisplay, 1, True, CurrentTime);
        XTestFakeButtonEvent(FDisplay, 1, False, CurrentTime);
    }
    void Send() { XFlush(FDisplay); }

    // Waits up to the limit until the screen's middle row shows a picture (something other than
    // black), or until it is black again; true when it came to that.
    bool WaitForPicture(int screenWidth, int screenHeight, bool shown, Clock::duration limit) {
        const ScreenRegion row{0, screenHeight / 2, screenWidth, 1};
        const Picture black(static_cast<std::size_t>(screenWidth), 0);
        const Clock::time_point end = Clock::now() + limit;
        for (; Clock::now() < end; std::this_thread::sleep_for(std::chrono::milliseconds(1))) {
            if ((Capture(row) != black) == shown) return true;
        }
        return false;
    }

private:
    Display* FDisplay;
};

// One kind of input, sampled again and again: what is watched, how many of its pixels must
// change, the input that is timed and what puts things back afterwards.
struct Gesture {
    ScreenRegion Watched;
    int Pixels = 1;
    std::function<void(InputProbe&, int sample)> Act;
    std::function<void(InputProbe&, int sample)> Undo;
    std::chrono::milliseconds RestFrom{0};  // the random pause before each input
    std::chrono::milliseconds RestTo{34};   // (two frames at 60 Hz: any phase of a frame)
    std::function<void(InputProbe&)> Recover;  // after an input nothing showed
};

inline std::vector<double> MeasureGesture(InputProbe& probe, const Gesture& gesture, int count, std::mt19937& random) {
    using namespace std::chrono_literals;
    constexpr auto Limit = 300ms;
    std::vector<double> samples;
    std::uniform_int_distribution<int> rest(static_cast<int>(gesture.RestFrom.count() * 1000),
                                            static_cast<int>(gesture.RestTo.count() * 1000));
    for (int attempt = 0; static_cast<int>(samples.size()) < count && attempt < 2 * count; ++attempt) {
        std::this_thread::sleep_for(std::chrono::microseconds(rest(random)));
        const InputProbe::Picture before = probe.Capture(gesture.Watched);
        const auto sent = InputProbe::Clock::now();
        gesture.Act(probe, attempt);
        probe.Send();
        const auto shown = probe.WaitForChange(gesture.Watched, before, gesture.Pixels, Limit);
        if (shown) {
            samples.push_back(std::chrono::duration<double, std::milli>(*shown - sent).count());
        } else if (gesture.Recover) {
            gesture.Recover(probe);
            probe.Send();
            std::this_thread::sleep_for(200ms);
        }
        if (gesture.Undo) {
            const InputProbe::Picture acted = probe.Capture(gesture.Watched);
            gesture.Undo(probe, attempt);
            probe.Send();
            probe.WaitForChange(gesture.Watched, acted, gesture.Pixels, Limit);
        }
    }
    return samples;
}

// The game at 800 x 600 (no window manager: its window is the screen, unscaled). The pointer
// goes onto "new game" and the menu lights its picture; in a game the steering keys bank the
// ship, and a click ahead of it fires the phaser, whose beam starts at the ship's centre: the
// light ship waits at (400, 505), the pointer is left at (50, 480) and the beam runs nearly level
// to the left, below a mission text.
inline LatencySamples MeasureGame(InputProbe& probe, int count, std::mt19937& random) {
    using namespace std::chrono_literals;
    LatencySamples samples;
    Gesture pointer;
    pointer.Watched = {251, 180, 32, 24};  // the "new game" highlight
    pointer.Pixels = 20;
    pointer.Act = [](InputProbe& p, int) { p.MovePointer(100, 190); };
    pointer.Undo = [](InputProbe& p, int) { p.MovePointer(400, 450); };
    probe.MovePointer(400, 450);
    probe.Send();
    std::this_thread::sleep_for(100ms);
    samples.Pointer = MeasureGesture(probe, pointer, count, random);

    // New game, then start with the ship chosen; the welcome text opens once the ship has flown
    // in, and Enter closes it.
    for (const auto& [x, y] : {std::pair{100, 190}, std::pair{640, 548}}) {
        probe.MovePointer(x, y);
        probe.Click();
        probe.Send();
        std::this_thread::sleep_for(500ms);
    }
    const auto closeText = [](InputProbe& p) {
        p.Key(XK_Return, true);
        p.Key(XK_Return, false);
    };
    std::this_thread::sleep_for(4s);
    closeText(probe);
    probe.MovePointer(50, 480);
    probe.Send();
    std::this_thread::sleep_for(500ms);

    Gesture steer;
    steer.Watched = {350, 492, 100, 40};  // the ship below a mission text, with room for its small moves
    steer.Pixels = 200;  // the stars behind it change a few dozen pixels meanwhile
    steer.Act = [](InputProbe& p, int sample) { p.Key(sample % 2 == 0 ? XK_Left : XK_Right, true); };
    steer.Undo = [](InputProbe& p, int sample) { p.Key(sample % 2 == 0 ? XK_Left : XK_Right, false); };
    steer.Recover = closeText;
    samples.Key = MeasureGesture(probe, steer, count, random);

    Gesture fire;
    fire.Watched = {300, 490, 40, 20};  // the beam's first stretch towards the aim point
    fire.Pixels = 60;
    fire.Act = [](InputProbe& p, int) { p.Click(); };
    fire.RestFrom = 250ms;  // the phaser recharges a shot's energy meanwhile
    fire.RestTo = 350ms;
    fire.Recover = closeText;
    samples.Click = MeasureGesture(probe, fire, count, random);
    return samples;
}

// The bare SDL program ("bare_sdl follow") on the same screen: its block follows the pointer and
// changes colour at each key or mouse press.
inline LatencySamples MeasureBareProgram(InputProbe& probe, int count, std::mt19937& random) {
    LatencySamples samples;
    Gesture pointer;
    pointer.Watched = {590, 290, 20, 20};
    pointer.Pixels = 20;
    pointer.Act = [](InputProbe& p, int) { p.MovePointer(600, 300); };
    pointer.Undo = [](InputProbe& p, int) { p.MovePointer(200, 300); };
    samples.Pointer = MeasureGesture(probe, pointer, count, random);

    Gesture key = pointer;
    key.Act = [](InputProbe& p, int) {
        p.Key(XK_Left, true);
        p.Key(XK_Left, false);
    };
    key.Undo = nullptr;
    Gesture click = key;
    click.Act = [](InputProbe& p, int) { p.Click(); };
    probe.MovePointer(600, 300);
    probe.Send();
    samples.Key = MeasureGesture(probe, key, count, random);
    samples.Click = MeasureGesture(probe, click, count, random);
    return samples;
}
