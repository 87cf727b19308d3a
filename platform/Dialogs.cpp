// Dialogs: the message box (the platform's own on X11, else SDL's), and posix_spawn for starting
// a program.
#include "platform/Dialogs.h"

#include <SDL.h>
#include <spawn.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/MessageText.h"
#include "platform/X11MessageBox.h"

extern char** environ;

namespace platform {

void ShowMessageBox(const std::string& text, const std::string& caption) {
    const std::vector<std::string> lines = MessageLines(text);
    std::string shown;
    for (const std::string& line : lines) {
        shown += (shown.empty() ? "" : "\n") + line;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), shown.c_str());
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "dummy") == 0) {
        return;  // headless: the error stream is all there is
    }
    // SDL's box on X11 runs in a forked helper that ignores signals and outlives a killed game.
    if (std::strcmp(driver, "x11") == 0 && ShowX11MessageBox(lines, caption)) {
        return;
    }
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), shown.c_str(), nullptr);
}

void RunProgram(const std::string& path) {
    pid_t child = 0;
    char* const argv[] = {const_cast<char*>(path.c_str()), nullptr};
    // The result is ignored on purpose: the uploader is optional.
    (void)posix_spawn(&child, path.c_str(), nullptr, nullptr, argv, environ);
}

}  // namespace platform
