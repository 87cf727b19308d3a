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
#include "platform/SdlWindow.h"
#include "support/TempDirectory.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Copies the generated data files (when the build made them) into the current folder's Data/.
void ProvideData() {
    fs::create_directory("Data");
    const fs::path generated = fs::path(ZARVOTH_BIN_DIR) / ".." / "run" / "Data";
    if (!fs::exists(generated)) return;
    for (const auto& entry : fs::directory_iterator(generated)) {
        if (entry.path().extension() == ".dxg" || entry.path().extension() == ".dxw") {
            fs::copy_file(entry.path(), fs::path("Data") / entry.path().filename(), fs::copy_options::overwrite_existing);
        }
    }
}

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
    ProvideData();
    platform::Application& app = platform::Application::Instance();
    app.Reset();
    platform::SdlWindow window;
    std::string error;
    ASSERT_TRUE(window.Create("Zarvoth Mutador", 800, 600, error)) << error;
    {
        TForm1 form(window, app);
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
        form.Close();
    }
    app.Reset();
}

TEST(X11Program, ClosesInOrderOnSigterm) {
    TempDirectory folder;
    ProvideData();
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
