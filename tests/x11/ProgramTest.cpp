// Tests on a real X display (run under xvfb-run): the full-screen window, presentation with and
// without vertical sync, and the program's orderly end on SIGTERM.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include "game/Main.h"
#include "game/Menu.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/InputDevices.h"
#include "platform/SdlAudioOutput.h"
#include "platform/SdlWindow.h"
#include "support/GameData.h"
#include "support/TempDirectory.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs the real frame loop for the given wall-clock time; returns the frames presented.
std::uint64_t RunFor(platform::SdlWindow& window, TForm1& form, std::chrono::milliseconds duration) {
    platform::Application& app = platform::Application::Instance();
    const std::uint64_t before = window.PresentedFrames();
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end && !app.Terminated()) {
        app.ProcessMessagesAndIdle(window, form.Events());
    }
    return window.PresentedFrames() - before;
}

}  // namespace

TEST(X11Window, FullScreenWindowPresentsFramesWithAndWithoutVerticalSync) {
    TempDirectory folder;
    ProvideGameData();
    platform::Application& app = platform::Application::Instance();
    app.Reset();
    platform::SdlWindow window;
    std::string error;
    ASSERT_TRUE(window.Create("Zarvoth Mutador", 800, 600, error)) << error;
    {
        const std::unique_ptr<platform::SoundDevice> sound = platform::CreateSystemSoundDevice();
        platform::SdlInputDevice input;
        TForm1 form(window, app, TFormDevices{sound.get(), &input});
        ASSERT_TRUE(form.DXDraw1->Initialized());
        int width = 0;
        int height = 0;
        window.LogicalScreenSize(width, height);
        const platform::ScreenRect view = window.ViewRect();
        EXPECT_GT(view.Right - view.Left, 0);
        EXPECT_EQ((view.Right - view.Left) * 600, (view.Bottom - view.Top) * 800) << "aspect ratio kept";
        app.SetActive(true);
        window.NoteFocus(true);

        const std::uint64_t synced = RunFor(window, form, std::chrono::milliseconds(1000));
        Menu::SetVSynch(false);
        const std::uint64_t unsynced = RunFor(window, form, std::chrono::milliseconds(1000));
        Menu::SetVSynch(true);
        std::printf("frames per second under this display (%s renderer): %llu with vertical sync, %llu without\n",
                    window.RendererName().c_str(), static_cast<unsigned long long>(synced),
                    static_cast<unsigned long long>(unsynced));
        RecordProperty("fps_vsync", static_cast<int>(synced));
        RecordProperty("fps_no_vsync", static_cast<int>(unsynced));
        EXPECT_GT(synced, 10u);
        EXPECT_GT(unsynced, 10u);
        // Xvfb names no refresh rate: vertical sync paces the frames to 60 a second.
        EXPECT_LE(synced, 62u);
        form.Close();
    }
    app.Reset();
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
