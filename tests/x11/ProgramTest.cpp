// Tests on a real X display (run under xvfb-run): the full-screen window, presentation with and
// without vertical sync, a quick click sent by xdotool, and the program's orderly end on SIGTERM.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include "game/Menu.h"
#include "game/Sprites.h"
#include "support/GameData.h"
#include "support/TempDirectory.h"
#include "support/X11GameWindow.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs an xdotool command on this display; the loop reads nothing meanwhile, so every event it
// sends waits for the next pass.
void Xdotool(const std::string& arguments) {
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
}

using X11Window = X11GameWindowTest;

}  // namespace

TEST_F(X11Window, FullScreenWindowPresentsFramesWithAndWithoutVerticalSync) {
    ASSERT_TRUE(Form->DXDraw1->Initialized());
    const platform::ScreenRect view = Window.ViewRect();
    EXPECT_GT(view.Right - view.Left, 0);
    EXPECT_EQ((view.Right - view.Left) * 600, (view.Bottom - view.Top) * 800) << "aspect ratio kept";

    const std::uint64_t synced = Pump(std::chrono::milliseconds(1000));
    Menu::SetVSynch(false);
    const std::uint64_t unsynced = Pump(std::chrono::milliseconds(1000));
    Menu::SetVSynch(true);
    std::printf("frames per second under this display (%s renderer): %llu with vertical sync, %llu without\n",
                Window.RendererName().c_str(), static_cast<unsigned long long>(synced),
                static_cast<unsigned long long>(unsynced));
    RecordProperty("fps_vsync", static_cast<int>(synced));
    RecordProperty("fps_no_vsync", static_cast<int>(unsynced));
    EXPECT_GT(synced, 10u);
    EXPECT_GT(unsynced, 10u);
    // Xvfb names no refresh rate: vertical sync paces the frames to 60 a second.
    EXPECT_LE(synced, 62u);
}

// The player ship reads the mouse inside the press's handler: a click whose release is read in
// the same pass as its press must still carry the left button and make the ship fire.
TEST_F(X11Window, AQuickClickReachesTheWindowWithItsButtonAndTheShipFires) {
    TMouse& mouse = Form->DXInput1->Mouse;
    TPlayer& ship = *new TPlayer(&Form->DXSpriteEngine1->Engine());
    std::vector<platform::TShiftState> shifts;
    std::vector<TPoint> clicks;
    // What the game's click handler does with a click in the play area.
    Main::Routes()[Main::AppModeMenu].MouseDown = [&](platform::TShiftState shift, TPoint point) {
        shifts.push_back(shift);
        clicks.push_back(point);
        ship.MouseDown(point);
    };
    Pump(std::chrono::milliseconds(300));
    Xdotool("mousemove 512 384 click 1");
    Pump(std::chrono::milliseconds(300));
    ASSERT_EQ(shifts.size(), 1u);
    EXPECT_NE(shifts[0] & platform::ssLeft, 0) << "the press carries its button";
    EXPECT_TRUE(ship.FireRequested) << "the ship fires";
    EXPECT_EQ(Sprites::AimPoint, clicks[0]) << "at the clicked point";
    mouse.Poll();
    EXPECT_FALSE(mouse.ButtonHeld(0)) << "the press counted once";

    // Held over several frames, the button reads as held until it is released.
    Xdotool("mousedown 1");
    Pump(std::chrono::milliseconds(200));
    mouse.Poll();
    EXPECT_TRUE(mouse.ButtonHeld(0));
    Xdotool("mouseup 1");
    Pump(std::chrono::milliseconds(200));
    mouse.Poll();
    EXPECT_FALSE(mouse.ButtonHeld(0));
}

TEST(X11Program, ClosesInOrderOnSigterm) {
    TempDirectory folder;
    ProvideGameData();
    const std::string program = std::string(ZARVOTH_BIN_DIR) + "/zarvoth";
    pid_t child = 0;
    char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
    ASSERT_EQ(posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, environ), 0);

    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, WNOHANG), 0) << "the program ended on its own; exit status "
                                                   << (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    kill(child, SIGTERM);
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(fs::file_size("Data/Data.qbx"), 40u) << "settings saved on the orderly close";
}

TEST(X11Program, WithoutDataItEndsAtOnceWithTheLoadersMessageAndStatusOne) {
    TempDirectory folder;
    const std::string command = "SDL_VIDEODRIVER=dummy " + std::string(ZARVOTH_BIN_DIR) + "/zarvoth 2>&1";
    FILE* output = popen(command.c_str(), "r");
    ASSERT_NE(output, nullptr);
    std::string text;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, output) != nullptr) text += buffer;
    const int status = pclose(output);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(text.find("Cannot open file Data/Sound.dxw"), std::string::npos) << text;
}
