// Input latency benchmark: the real program and the bare SDL program ("bare_sdl follow") each
// started on an X server of its own at 800 x 600, as a player would start them. First the CPU
// the program takes in its start menu with the pointer at rest; then, through XTest, the time
// from the input to the first frame on the screen that shows it, 100 times each: the pointer
// moved onto an item, a steering key pressed, a click (LatencyProbe). Median and 95th percentile
// of each beside the bare program's, the game's held against its targets. Depends on Xlib, XTest,
// Xvfb.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/GameData.h"
#include "support/LatencyProbe.h"
#include "support/TempDirectory.h"
#include "support/XSession.h"

namespace {

using namespace std::chrono_literals;

constexpr int ScreenWidth = 800;
constexpr int ScreenHeight = 600;
constexpr int Samples = 100;
constexpr auto MenuCpuTime = 10s;
constexpr double MedianTargetMs = 10.0;
constexpr double P95TargetMs = 1000.0 / 60;
constexpr double MenuCpuRatioTarget = 0.2;  // of the bare program's, which spins a core

struct Measured {
    bool Ran = false;
    double MenuCpuPercent = 0;
    LatencySamples Samples;
};

Measured Measure(const std::vector<std::string>& command, const XServer& server, InputProbe& probe,
                 LatencySamples (*scenario)(InputProbe&, int, std::mt19937&)) {
    Measured result;
    probe.MovePointer(ScreenWidth / 2, ScreenHeight - 1);
    probe.Send();
    // The previous program's window may stay on the screen for a moment after it ended.
    if (!probe.WaitForPicture(ScreenWidth, ScreenHeight, false, 5s)) {
        std::fprintf(stderr, "bench_latency: the screen is not black before %s\n", command[0].c_str());
        return result;
    }
    const pid_t pid = StartOnDisplay(command, server.Name());
    if (pid == 0 || !probe.WaitForPicture(ScreenWidth, ScreenHeight, true, 10s)) {
        std::fprintf(stderr, "bench_latency: %s showed no frame\n", command[0].c_str());
        if (pid != 0) EndInOrder(pid);
        return result;
    }
    std::this_thread::sleep_for(1s);
    const double before = ProcessCpuSeconds(pid);
    const auto from = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(MenuCpuTime);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
    result.MenuCpuPercent = 100.0 * (ProcessCpuSeconds(pid) - before) / seconds;
    std::mt19937 random(20240624);
    result.Samples = scenario(probe, Samples, random);
    result.Ran = EndInOrder(pid);
    if (!result.Ran) std::fprintf(stderr, "bench_latency: %s did not end in order on SIGTERM\n", command[0].c_str());
    return result;
}

void PrintRow(const char* name, const std::vector<double>& engine, const std::vector<double>& bare) {
    const double median = Median(engine);
    const double p95 = Quantile(engine, 0.95);
    const bool met = engine.size() == Samples && median <= MedianTargetMs && p95 <= P95TargetMs;
    std::printf("%-32s %8.1f %6.1f %4zu %12.1f %6.1f %4zu   %s\n", name, median, p95, engine.size(), Median(bare),
                Quantile(bare, 0.95), bare.size(), met ? "ok" : "MISSED");
}

}  // namespace

int main() {
    const std::string bin = ZARVOTH_BIN_DIR;
    TempDirectory folder;
    ProvideGameData();
    XServer server(ScreenWidth, ScreenHeight);
    if (server.Name().empty()) {
        std::fprintf(stderr, "bench_latency: Xvfb did not start\n");
        return 1;
    }
    InputProbe probe(server.Name());
    if (!probe.Open()) {
        std::fprintf(stderr, "bench_latency: no connection to Xvfb\n");
        return 1;
    }
    const Measured engine = Measure({bin + "/zarvoth"}, server, probe, MeasureGame);
    const Measured bare = Measure({bin + "/bare_sdl", "follow"}, server, probe, MeasureBareProgram);

    std::printf("\n%-32s %8s %6s %4s %12s %6s %4s   target: median <= %g, p95 <= %.1f\n",
                "input to the screen, ms", "median", "p95", "n", "SDL median", "p95", "n", MedianTargetMs, P95TargetMs);
    PrintRow("pointer onto \"new game\"", engine.Samples.Pointer, bare.Samples.Pointer);
    PrintRow("steering key (ship banks)", engine.Samples.Key, bare.Samples.Key);
    PrintRow("click (first phaser pixels)", engine.Samples.Click, bare.Samples.Click);
    const double ratio = bare.MenuCpuPercent > 0 ? engine.MenuCpuPercent / bare.MenuCpuPercent : 0;
    const bool cpuMet = engine.Ran && bare.Ran && ratio <= MenuCpuRatioTarget;
    std::printf("CPU in the start menu, %% of a core: engine %.1f, SDL %.1f, ratio %.2f (target <= %g) %s\n",
                engine.MenuCpuPercent, bare.MenuCpuPercent, ratio, MenuCpuRatioTarget, cpuMet ? "ok" : "MISSED");
    return engine.Ran && bare.Ran ? 0 : 1;
}
