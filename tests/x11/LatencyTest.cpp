// Input on the screen within a frame: the program on an X server of its own at 800 x 600, driven
// from outside through XTest as in the latency benchmark, with fewer samples. The bound on the
// median is loose enough for a busy machine and still below what a loop that reads the input a
// frame before it draws gives (about a frame and a half).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>

#include "support/GameData.h"
#include "support/LatencyProbe.h"
#include "support/TempDirectory.h"
#include "support/XSession.h"

namespace {

using namespace std::chrono_literals;

constexpr int Samples = 30;
constexpr double BoundMs = 1.2 * 1000.0 / 60;  // a frame and a fifth

}  // namespace

TEST(X11Latency, PointerKeyAndClickShowInTheNextFrame) {
    TempDirectory folder;
    ProvideGameData();
    XServer server(800, 600);
    ASSERT_FALSE(server.Name().empty()) << "Xvfb did not start";
    InputProbe probe(server.Name());
    ASSERT_TRUE(probe.Open());
    probe.MovePointer(400, 599);
    probe.Send();
    const pid_t pid = StartOnDisplay({std::string(ZARVOTH_BIN_DIR) + "/zarvoth"}, server.Name());
    ASSERT_NE(pid, 0);
    ASSERT_TRUE(probe.WaitForPicture(800, 600, true, 10s)) << "no frame";
    std::this_thread::sleep_for(1s);
    std::mt19937 random(20240624);
    const LatencySamples samples = MeasureGame(probe, Samples, random);
    EXPECT_TRUE(EndInOrder(pid));

    const struct {
        const char* Input;
        const std::vector<double>& Milliseconds;
    } kinds[] = {{"pointer", samples.Pointer}, {"key", samples.Key}, {"click", samples.Click}};
    for (const auto& kind : kinds) {
        std::printf("%-8s median %5.1f ms, 95th percentile %5.1f ms, %zu samples\n", kind.Input,
                    Median(kind.Milliseconds), Quantile(kind.Milliseconds, 0.95), kind.Milliseconds.size());
        EXPECT_GE(kind.Milliseconds.size(), Samples * 9u / 10) << kind.Input << ": inputs that showed nothing";
        EXPECT_LE(Median(kind.Milliseconds), BoundMs) << kind.Input;
    }
}
