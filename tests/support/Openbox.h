// A window manager for the X11 tests: openbox started on the display, ready once it frames a
// window of its own making, and ended with the object. Include it after every non-X header:
// Xlib's macros (None, Bool, Status) would clash with them.
#pragma once

#include <chrono>
#include <csignal>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>

#include <X11/Xlib.h>

extern char** environ;

class Openbox {
public:
    explicit Openbox(Display* x) {
        const char* argv[] = {"openbox", "--sm-disable", nullptr};
        if (posix_spawnp(&FPid, "openbox", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
            FPid = 0;
            return;
        }
        // The manager names itself before it manages windows: it is ready once it has framed one.
        // A map that reaches the server while the manager is still taking over may go unseen, so
        // the probe is mapped again every second; a loaded machine may take several.
        const Window probe = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 10, 10, 0, 0, 0);
        XMapWindow(x, probe);
        const auto start = std::chrono::steady_clock::now();
        auto remap = start + std::chrono::seconds(1);
        while (!FFraming && std::chrono::steady_clock::now() < start + std::chrono::seconds(30)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            Window rootReturn = 0;
            Window parent = 0;
            Window* children = nullptr;
            unsigned count = 0;
            FFraming = XQueryTree(x, probe, &rootReturn, &parent, &children, &count) != 0 &&
                       parent != DefaultRootWindow(x);
            if (children != nullptr) XFree(children);
            if (!FFraming && std::chrono::steady_clock::now() > remap) {
                XUnmapWindow(x, probe);
                XMapWindow(x, probe);
                remap += std::chrono::seconds(1);
            }
        }
        XDestroyWindow(x, probe);
        XSync(x, False);
    }
    ~Openbox() {
        if (FPid != 0) {
            kill(FPid, SIGTERM);
            waitpid(FPid, nullptr, 0);
        }
    }
    Openbox(const Openbox&) = delete;
    Openbox& operator=(const Openbox&) = delete;

    bool Framing() const { return FFraming; }
    // Still running (not ended on its own).
    bool Running() const { return FPid != 0 && waitpid(FPid, nullptr, WNOHANG) == 0; }

private:
    pid_t FPid = 0;
    bool FFraming = false;
};
