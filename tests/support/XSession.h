// An X server of its own (Xvfb, no window manager) and programs started on it as a player would
// start them, watched from outside: their CPU time, their orderly end on SIGTERM. Shared by the
// benchmarks and tests that measure the real program beside a bare SDL one. Depends on Xvfb.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

// An Xvfb of its own, found by -displayfd, with a black root so a first frame stands out. It does
// not reset when its last client leaves: a program or probe connecting during the reset would
// find no server.
class XServer {
public:
    XServer(int width, int height) {
        int ready[2];
        if (pipe(ready) != 0) return;
        const std::string fd = std::to_string(ready[1]);
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        const char* argv[] = {"Xvfb",   "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-br", "-noreset",
                              "-nolisten", "tcp", nullptr};
        if (posix_spawnp(&FPid, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) FPid = 0;
        close(ready[1]);
        char number[16] = {};
        const ssize_t got = read(ready[0], number, sizeof number - 1);
        close(ready[0]);
        if (FPid != 0 && got > 0) FName = ":" + std::to_string(std::atoi(number));
    }
    ~XServer() { End(); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    const std::string& Name() const { return FName; }
    pid_t Pid() const { return FPid; }

    // Ends the server now, as a lost display does to its clients.
    void End() {
        if (FPid != 0) {
            kill(FPid, SIGTERM);
            waitpid(FPid, nullptr, 0);
            FPid = 0;
        }
    }

private:
    pid_t FPid = 0;
    std::string FName;
};

// User plus system time of a process so far, in seconds.
inline double ProcessCpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14 || index == 15) ticks += std::stod(field);
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Starts a program (a path, or a name looked up in PATH) on the display, in the current folder,
// with SDL's real drivers; its process, or 0.
inline pid_t StartOnDisplay(const std::vector<std::string>& command, const std::string& display) {
    std::vector<std::string> variables{"DISPLAY=" + display};
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        if (variable.starts_with("DISPLAY=") || variable.starts_with("SDL_")) continue;
        variables.push_back(variable);
    }
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& variable : variables) envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);  // ALSA's complaints
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : 0;
}

// Asks the program to close as the desktop would; true when it ended with status 0 in time.
inline bool EndInOrder(pid_t pid) {
    using namespace std::chrono_literals;
    kill(pid, SIGTERM);
    const auto limit = std::chrono::steady_clock::now() + 5s;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > limit) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(2ms);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The value below which the given fraction of the values lie (nearest rank); 0 for none.
inline double Quantile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(fraction * static_cast<double>(values.size())) - 1;
    return values[std::min(static_cast<std::size_t>(std::max(rank, 0.0)), values.size() - 1)];
}

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}
