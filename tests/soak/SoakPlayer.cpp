// zarvoth_soak_player SECONDS SEED [--no-quit]: plays the program on $DISPLAY with the random
// player for that long, through the XTest extension, as a user's mouse and keyboard would. The
// game's 800 x 600 points are mapped to the screen as the program scales its picture (centred,
// aspect kept). It prints how many moves it made.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "RandomPlayer.h"

namespace {

using Clock = std::chrono::steady_clock;

struct TScreenMap {
    double Scale = 1;
    double Left = 0;
    double Top = 0;
};

TScreenMap MapOf(Display* display) {
    const int width = DisplayWidth(display, DefaultScreen(display));
    const int height = DisplayHeight(display, DefaultScreen(display));
    TScreenMap map;
    map.Scale = std::min(width / 800.0, height / 600.0);
    map.Left = (width - 800 * map.Scale) / 2;
    map.Top = (height - 600 * map.Scale) / 2;
    return map;
}

void Perform(Display* display, const TScreenMap& map, const TSoakInput& input, Clock::time_point end) {
    switch (input.Kind) {
        case TSoakInput::MoveTo:
            XTestFakeMotionEvent(display, DefaultScreen(display), static_cast<int>(map.Left + input.X * map.Scale),
                                 static_cast<int>(map.Top + input.Y * map.Scale), CurrentTime);
            break;
        case TSoakInput::ButtonDown:
        case TSoakInput::ButtonUp:
            XTestFakeButtonEvent(display, static_cast<unsigned>(input.Button), input.Kind == TSoakInput::ButtonDown,
                                 CurrentTime);
            break;
        case TSoakInput::KeyDown:
        case TSoakInput::KeyUp:
            if (const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(input.Key.c_str())); code != 0) {
                XTestFakeKeyEvent(display, code, input.Kind == TSoakInput::KeyDown, CurrentTime);
            }
            break;
        case TSoakInput::Wait:
            XFlush(display);
            std::this_thread::sleep_until(std::min(end, Clock::now() + std::chrono::milliseconds(input.Milliseconds)));
            break;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4 || (argc == 4 && std::string(argv[3]) != "--no-quit")) {
        std::fprintf(stderr, "usage: zarvoth_soak_player SECONDS SEED [--no-quit]\n");
        return 1;
    }
    Display* display = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (display == nullptr || !XTestQueryExtension(display, &event, &error, &major, &minor)) {
        std::fprintf(stderr, "zarvoth_soak_player: no X display with the XTest extension\n");
        return 1;
    }
    const TScreenMap map = MapOf(display);
    TRandomPlayer player(static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)), argc == 3);
    const Clock::time_point end = Clock::now() + std::chrono::seconds(std::strtol(argv[1], nullptr, 10));
    long moves = 0;
    // A move is finished even past the end, so that nothing stays pressed.
    while (Clock::now() < end) {
        for (const TSoakInput& input : player.NextMove()) {
            Perform(display, map, input, end);
        }
        ++moves;
    }
    XFlush(display);
    XCloseDisplay(display);
    std::printf("random player: %ld moves\n", moves);
    return 0;
}
