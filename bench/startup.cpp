// Start-up and presentation benchmark: the real program and the bare SDL program (bench/bare)
// each started on an X server of their own screen size (Xvfb, no window manager), as a player
// would start them. Measured from outside: the time from exec to the first frame on the screen
// (a row through the middle of the screen stops being black), then the process's CPU and the
// frames reaching its window (X damage reports) over a few seconds of the start menu; then the
// orderly end (SIGTERM, exit status 0). Runs alternate between the programs and the medians are
// compared in the table form of the other benchmarks. At 800 x 600 the real program also starts a
// game from its menu by xdotool's clicks, and the longest wait between frames after "start" (the
// game's pictures load in that frame) is held against a limit. Depends on Xlib, XDamage, Xvfb and
// xdotool.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/wait.h>

#include "bench/Ratios.h"
#include "support/GameData.h"
#include "support/TempDirectory.h"
#include "support/XSession.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int Runs = 5;
constexpr auto Settle = 1s;   // the menu's first second (sounds, caches) is left out
constexpr auto Measure = 3s;  // CPU and frames are counted over this much of the menu
constexpr int GameStarts = 3;
constexpr double FirstGameFrameLimitMs = 50;  // the game's pictures load within one frame

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

struct RunResult {
    double StartupMs = 0;
    double CpuPercent = 0;        // of one core
    double ServerCpuPercent = 0;  // the X server's, while it shows the program's frames
    double FramesPerSecond = 0;
};

class Screen {
public:
    explicit Screen(const std::string& name) : FDisplay(XOpenDisplay(name.c_str())) {
        if (FDisplay == nullptr) return;
        FRoot = DefaultRootWindow(FDisplay);
        FWidth = DisplayWidth(FDisplay, DefaultScreen(FDisplay));
        FHeight = DisplayHeight(FDisplay, DefaultScreen(FDisplay));
        int error = 0;
        XDamageQueryExtension(FDisplay, &FDamageEvent, &error);
    }
    ~Screen() {
        if (FDisplay != nullptr) XCloseDisplay(FDisplay);
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    bool Open() const { return FDisplay != nullptr; }

    // Something other than black on the screen's middle row.
    bool ShowsPicture() { return FirstLitColumn() >= 0; }

    // The first column of the middle row that is not black, or -1.
    int FirstLitColumn() {
        XImage* row = XGetImage(FDisplay, FRoot, 0, FHeight / 2, static_cast<unsigned>(FWidth), 1, AllPlanes, ZPixmap);
        if (row == nullptr) return -1;
        int lit = -1;
        for (int x = 0; x < FWidth && lit < 0; ++x) lit = (XGetPixel(row, x, 0) & 0xFFFFFF) != 0 ? x : -1;
        XDestroyImage(row);
        return lit;
    }

    // The pointer to the top-left corner: the X server draws its own cursor where no window hides
    // it, and on the middle row it would pass for a frame.
    void ParkPointer() {
        XWarpPointer(FDisplay, None, FRoot, 0, 0, 0, 0, 0, 0);
        XSync(FDisplay, False);
    }

    std::vector<Window> TopLevelWindows() {
        std::vector<Window> windows;
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(FDisplay, FRoot, &rootReturn, &parent, &children, &count) != 0) {
            windows.assign(children, children + count);
            XFree(children);
        }
        return windows;
    }

    // When frames reached the top-level windows during the given time.
    std::vector<Clock::time_point> FrameTimes(Clock::duration duration) {
        std::vector<Damage> damages;
        for (const Window window : TopLevelWindows()) damages.push_back(XDamageCreate(FDisplay, window, XDamageReportNonEmpty));
        std::vector<Clock::time_point> frames;
        const Clock::time_point end = Clock::now() + duration;
        pollfd connection{ConnectionNumber(FDisplay), POLLIN, 0};
        while (Clock::now() < end) {
            while (XPending(FDisplay) > 0) {
                XEvent event;
                XNextEvent(FDisplay, &event);
                if (event.type == FDamageEvent + XDamageNotify) {
                    frames.push_back(Clock::now());
                    XDamageSubtract(FDisplay, reinterpret_cast<XDamageNotifyEvent&>(event).damage, None, None);
                }
            }
            poll(&connection, 1, 1);
        }
        for (const Damage damage : damages) XDamageDestroy(FDisplay, damage);
        XSync(FDisplay, True);
        return frames;
    }

    // The screen's middle row, to tell one screen of the program from another.
    std::vector<unsigned long> MiddleRow() {
        std::vector<unsigned long> pixels;
        XImage* row = XGetImage(FDisplay, FRoot, 0, FHeight / 2, static_cast<unsigned>(FWidth), 1, AllPlanes, ZPixmap);
        if (row == nullptr) return pixels;
        for (int x = 0; x < FWidth; ++x) pixels.push_back(XGetPixel(row, x, 0) & 0xFFFFFF);
        XDestroyImage(row);
        return pixels;
    }

private:
    Display* FDisplay;
    Window FRoot = 0;
    int FWidth = 0;
    int FHeight = 0;
    int FDamageEvent = 0;
};

// Starts the program once the screen is black again and waits for its first frame; the program's
// process, or 0 (said on stderr) when the screen did not clear or no frame came.
pid_t StartShown(const std::vector<std::string>& command, const std::string& display, Screen& screen,
                 Clock::duration& startup) {
    if (screen.Open()) screen.ParkPointer();
    // The previous program's window may still be on the screen for a moment after it ended.
    const Clock::time_point cleared = Clock::now() + 5s;
    while (screen.Open() && screen.ShowsPicture() && Clock::now() < cleared) std::this_thread::sleep_for(5ms);
    if (!screen.Open() || screen.ShowsPicture()) {
        std::fprintf(stderr, "bench_startup: the screen is not black before %s (%zu windows on it, lit from x = %d)\n",
                     command.back().c_str(), screen.Open() ? screen.TopLevelWindows().size() : 0,
                     screen.Open() ? screen.FirstLitColumn() : -1);
        return 0;
    }
    const Clock::time_point started = Clock::now();
    const pid_t pid = StartOnDisplay(command, display);
    if (pid == 0) return 0;
    bool shown = false;
    while (!(shown = screen.ShowsPicture()) && Clock::now() - started < 10s && waitpid(pid, nullptr, WNOHANG) == 0) {
        std::this_thread::sleep_for(1ms);
    }
    startup = Clock::now() - started;
    if (!shown) {
        std::fprintf(stderr, "bench_startup: %s showed no frame\n", command[0].c_str());
        EndInOrder(pid);
        return 0;
    }
    return pid;
}

bool EndReported(const std::vector<std::string>& command, pid_t pid) {
    if (EndInOrder(pid)) return true;
    std::fprintf(stderr, "bench_startup: %s did not end in order on SIGTERM\n", command[0].c_str());
    return false;
}

std::optional<RunResult> RunOnce(const std::vector<std::string>& command, const XServer& server) {
    Screen screen(server.Name());
    Clock::duration startup{};
    const pid_t pid = StartShown(command, server.Name(), screen, startup);
    if (pid == 0) return std::nullopt;
    RunResult result;
    result.StartupMs = Milliseconds(startup);
    std::this_thread::sleep_for(Settle);
    const double cpuBefore = ProcessCpuSeconds(pid);
    const double serverBefore = ProcessCpuSeconds(server.Pid());
    const Clock::time_point from = Clock::now();
    const auto frames = static_cast<double>(screen.FrameTimes(Measure).size());
    const double seconds = std::chrono::duration<double>(Clock::now() - from).count();
    result.CpuPercent = 100.0 * (ProcessCpuSeconds(pid) - cpuBefore) / seconds;
    result.ServerCpuPercent = 100.0 * (ProcessCpuSeconds(server.Pid()) - serverBefore) / seconds;
    result.FramesPerSecond = frames / seconds;
    if (!EndReported(command, pid)) return std::nullopt;
    return result;
}

// A player's click at a point of the screen (800 x 600, where the picture is not scaled); returns
// the clicking tool's process, or 0.
pid_t Click(const std::string& display, int x, int y) {
    return StartOnDisplay({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "click", "1"}, display);
}

void WaitFor(pid_t pid) {
    if (pid != 0) waitpid(pid, nullptr, 0);
}

// Starts a game from the menu as a player would and returns the longest wait between two frames
// from the click on "start" until the game has run for a while: the frame after the click carries
// the loading of the game's pictures. Nothing when the game did not come on the screen.
std::optional<double> GameStartGapMs(const std::vector<std::string>& command, const XServer& server) {
    Screen screen(server.Name());
    Clock::duration startup{};
    const pid_t pid = StartShown(command, server.Name(), screen, startup);
    if (pid == 0) return std::nullopt;
    std::this_thread::sleep_for(Settle);
    WaitFor(Click(server.Name(), 100, 190));  // "new game"
    std::this_thread::sleep_for(300ms);
    const std::vector<unsigned long> newGameScreen = screen.MiddleRow();
    const pid_t tool = Click(server.Name(), 640, 548);  // "start"
    const std::vector<Clock::time_point> frames = screen.FrameTimes(1500ms);
    WaitFor(tool);
    const bool gameShown = screen.MiddleRow() != newGameScreen;
    double longest = 0;
    for (std::size_t i = 1; i < frames.size(); ++i) longest = std::max(longest, Milliseconds(frames[i] - frames[i - 1]));
    const bool ended = EndReported(command, pid);
    if (!gameShown || frames.size() < 2) {
        std::fprintf(stderr, "bench_startup: the game did not come on the screen after the click on start\n");
        return std::nullopt;
    }
    return ended ? std::optional<double>(longest) : std::nullopt;
}

struct Program {
    std::string Name;
    std::vector<std::string> Command;
    std::vector<RunResult> Results;

    double MedianOf(double RunResult::*field) const {
        std::vector<double> values;
        for (const RunResult& result : Results) values.push_back(result.*field);
        return Median(values);
    }
};

}  // namespace

int main() {
    const std::string bin = ZARVOTH_BIN_DIR;
    TempDirectory folder;
    ProvideGameData();
    bool allRan = true;
    std::vector<RatioRow> rows;
    std::vector<double> gameStartGaps;
    for (const auto& [width, height] : {std::pair{800, 600}, std::pair{1920, 1080}}) {
        XServer server(width, height);
        if (server.Name().empty()) {
            std::fprintf(stderr, "bench_startup: Xvfb did not start\n");
            return 1;
        }
        std::vector<Program> programs{{"engine", {bin + "/zarvoth"}, {}},
                                      {"SDL", {bin + "/bare_sdl"}, {}},
                                      {"SDL, OpenGL window", {bin + "/bare_sdl", "opengl"}, {}}};
        for (int run = 0; run < Runs; ++run) {
            for (Program& program : programs) {
                const std::optional<RunResult> result = RunOnce(program.Command, server);
                allRan = allRan && result.has_value();
                if (result) program.Results.push_back(*result);
            }
        }
        for (int run = 0; width == 800 && run < GameStarts; ++run) {
            const std::optional<double> gap = GameStartGapMs(programs[0].Command, server);
            allRan = allRan && gap.has_value();
            if (gap) gameStartGaps.push_back(*gap);
        }
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        const Program& engine = programs[0];
        const Program& bare = programs[1];
        const Program& openglBare = programs[2];
        for (const Program& program : programs) {
            std::printf("%-9s %-18s start-up %7.1f ms  CPU %6.1f %%  X server %6.1f %%  %6.1f frames/s  (median of %zu)\n",
                        size.c_str(), program.Name.c_str(), program.MedianOf(&RunResult::StartupMs),
                        program.MedianOf(&RunResult::CpuPercent), program.MedianOf(&RunResult::ServerCpuPercent),
                        program.MedianOf(&RunResult::FramesPerSecond), program.Results.size());
        }
        rows.push_back({"start-up to first frame, ms, " + size, engine.MedianOf(&RunResult::StartupMs),
                        bare.MedianOf(&RunResult::StartupMs), 0.6});
        rows.push_back({"start-up against an OpenGL window from the start, " + size,
                        engine.MedianOf(&RunResult::StartupMs), openglBare.MedianOf(&RunResult::StartupMs), 0});
        rows.push_back({"CPU in the start menu, % of a core, " + size, engine.MedianOf(&RunResult::CpuPercent),
                        bare.MedianOf(&RunResult::CpuPercent), 1.0});
        rows.push_back({"X server CPU meanwhile, % of a core, " + size, engine.MedianOf(&RunResult::ServerCpuPercent),
                        bare.MedianOf(&RunResult::ServerCpuPercent), 0});
        rows.push_back({"frames per second in the start menu, " + size, engine.MedianOf(&RunResult::FramesPerSecond),
                        bare.MedianOf(&RunResult::FramesPerSecond), 0});
    }
    PrintRatioRows(rows);
    const double gameStart = Median(gameStartGaps);
    std::printf("%-55s %12.1f %12s %8s %6s%g %s   (median of %zu)\n", "first game frame after start, longest frame gap, ms",
                gameStart, "-", "-", "<", FirstGameFrameLimitMs, gameStart < FirstGameFrameLimitMs ? "ok" : "MISSED",
                gameStartGaps.size());
    return allRan ? 0 : 1;
}
