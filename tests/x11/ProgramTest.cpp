// Tests on a real X display (run under xvfb-run): the full-screen window, presentation with and
// without vertical sync, a quick click sent by xdotool; the program run as a process: its orderly
// end on termination signals, its end when its X server goes away (on an Xvfb of the test's
// own), its start-up error box, and its error messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "game/Menu.h"
#include "game/Sprites.h"
#include "platform/MessageText.h"
#include "support/GameData.h"
#include "support/TempDirectory.h"
#include "support/XSession.h"
#include "support/X11GameWindow.h"
#include "tests/engine/assets/AssetBytes.h"
// Last: Xlib's macros (Bool, KeyPress) would clash with the headers above.
#include <X11/Xlib.h>

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

namespace {

// The program run as a process of its own in the current folder, on the given X display. It
// never outlives the test: whatever still runs at the end is killed.
class ProgramProcess {
public:
    explicit ProgramProcess(const std::string& display)
        : Pid(StartOnDisplay({std::string(ZARVOTH_BIN_DIR) + "/zarvoth"}, display)) {
        EXPECT_GT(Pid, 0) << "the program started";
    }
    ~ProgramProcess() {
        if (Running()) {
            kill(Pid, SIGKILL);
            waitpid(Pid, &WaitStatus, 0);
        }
    }
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool Running() {
        // No process (it did not start) is never waited on or signalled: 0 means the whole group.
        if (Ended || Pid <= 0) return false;
        Ended = waitpid(Pid, &WaitStatus, WNOHANG) == Pid;
        return !Ended;
    }
    void Signal(int signal) const {
        if (Pid > 0) kill(Pid, signal);
    }
    // The exit status, or -1 when it did not exit (it was killed, or still runs).
    int ExitStatus() { return !Running() && WIFEXITED(WaitStatus) ? WEXITSTATUS(WaitStatus) : -1; }

private:
    pid_t Pid = 0;
    int WaitStatus = 0;
    bool Ended = false;
};

// The program run headless (SDL's dummy drivers) to its end: what it wrote to its output and
// error streams, and its exit status.
std::pair<std::string, int> RunHeadless() {
    const std::string command =
        "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " + std::string(ZARVOTH_BIN_DIR) + "/zarvoth 2>&1";
    FILE* output = popen(command.c_str(), "r");
    if (output == nullptr) return {"", -1};
    std::string text;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, output) != nullptr) text += buffer;
    return {text, WEXITSTATUS(pclose(output))};
}

bool WithinSeconds(int seconds, const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// The mapped top-level windows of an X server (of that name, when one is given); -1 when the
// server cannot be reached.
int MappedWindows(const std::string& server, const std::string& name = "") {
    Display* display = XOpenDisplay(server.c_str());
    if (display == nullptr) return -1;
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    int named = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        char* title = nullptr;
        if (XGetWindowAttributes(display, children[i], &attributes) == 0 || attributes.map_state != IsViewable) {
            continue;
        }
        if (name.empty()) {
            ++named;
        } else if (XFetchName(display, children[i], &title) != 0) {
            named += name == title ? 1 : 0;
            XFree(title);
        }
    }
    if (children != nullptr) XFree(children);
    XCloseDisplay(display);
    return named;
}

}  // namespace

// SIGHUP comes when the terminal or the session that started the game goes away.
TEST(X11Program, ClosesInOrderOnEveryTerminationSignal) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        TempDirectory folder;
        ProvideGameData();
        ProgramProcess program(std::getenv("DISPLAY"));
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        ASSERT_TRUE(program.Running()) << "the program ended on its own; exit status " << program.ExitStatus();
        program.Signal(signal);
        EXPECT_TRUE(WithinSeconds(30, [&] { return !program.Running(); })) << "signal " << signal;
        EXPECT_EQ(program.ExitStatus(), 0) << "signal " << signal;
        EXPECT_TRUE(fs::exists("Data/Data.qbx") && fs::file_size("Data/Data.qbx") == 40u)
            << "settings saved on the orderly close after signal " << signal;
    }
}

TEST(X11Program, ALostDisplayStillSavesTheSettingsAndThePreferences) {
    TempDirectory folder;
    ProvideGameData();
    XServer server(1024, 768);
    ASSERT_FALSE(server.Name().empty()) << "Xvfb started";
    ProgramProcess program(server.Name());
    ASSERT_TRUE(WithinSeconds(60, [&] { return MappedWindows(server.Name(), "Zarvoth Mutador 1.0") == 1; }))
        << "the game started on " << server.Name();
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    server.End();
    EXPECT_TRUE(WithinSeconds(10, [&] { return !program.Running(); })) << "the program ends without its display";
    EXPECT_EQ(program.ExitStatus(), 1);
    EXPECT_TRUE(fs::exists("Data/Data.qbx") && fs::file_size("Data/Data.qbx") == 40u) << "settings saved";
    EXPECT_TRUE(fs::exists("Data/Preferences.ini")) << "preferences saved";
}

// Without its data the game shows the loader's error in a message box; its own window, which
// appears with its first frame, never shows.
TEST(X11Program, TheStartUpErrorBoxClosesOnSigtermAndNothingOfItOutlivesTheGame) {
    for (const int signal : {SIGTERM, SIGKILL}) {
        TempDirectory folder;
        XServer server(1024, 768);
        ASSERT_FALSE(server.Name().empty()) << "Xvfb started";
        ProgramProcess program(server.Name());
        ASSERT_TRUE(WithinSeconds(60, [&] { return MappedWindows(server.Name(), "Zarvoth Mutador") == 1; }))
            << "the box is up on " << server.Name();
        EXPECT_EQ(MappedWindows(server.Name()), 1) << "the box alone";
        program.Signal(signal);
        EXPECT_TRUE(WithinSeconds(5, [&] { return !program.Running(); })) << "signal " << signal;
        if (signal == SIGTERM) {
            EXPECT_EQ(program.ExitStatus(), 1);
        }
        EXPECT_TRUE(WithinSeconds(5, [&] { return MappedWindows(server.Name()) == 0; }))
            << "no box left on the screen after signal " << signal;
    }
}

// The damaged file's own bytes in the engine's message (here a component name with terminal
// escapes and a line break) must not reach the screen or the terminal raw, and the file is named.
TEST(X11Program, AMessageAboutADamagedDataFileNamesItAndIsPrintableAndWrapped) {
    TempDirectory folder;
    ProvideGameData();
    const std::string name = "\x1B]0;owned\x07\x1B[2J\nline two" + std::string(200, 'Z');
    Bytes body;
    body.Text("TPF0").Short("TWaveCollectionComponent").Short(name).U8(0).U8(0);
    WriteBytes("Data/Sound.dxw", ResourceFile(body, "SOUND"));
    const auto [text, status] = RunHeadless();
    EXPECT_EQ(status, 1);
    const std::string caption = "Zarvoth Mutador: ";
    const std::size_t start = text.find(caption + "Data/Sound.dxw: ''");
    ASSERT_NE(start, std::string::npos) << text;
    const std::string message = text.substr(start);
    std::string unwrapped = message;
    std::replace(unwrapped.begin(), unwrapped.end(), '\n', ' ');
    EXPECT_NE(unwrapped.find("'' is not a valid component name"), std::string::npos) << message;
    std::size_t unprintable = 0;
    std::size_t longestLine = 0;
    std::size_t line = 0;
    for (const char c : message) {
        unprintable += c != '\n' && (c < 0x20 || c > 0x7E) ? 1 : 0;
        line = c == '\n' ? 0 : line + 1;
        longestLine = std::max(longestLine, line);
    }
    EXPECT_EQ(unprintable, 0u) << message;
    EXPECT_LE(longestLine, caption.size() + platform::MessageColumns) << message;
}

TEST(X11Program, WithoutDataItEndsAtOnceWithTheLoadersMessageAndStatusOne) {
    TempDirectory folder;
    const auto [text, status] = RunHeadless();
    EXPECT_EQ(status, 1);
    EXPECT_NE(text.find("Cannot open file Data/Sound.dxw"), std::string::npos) << text;
}
