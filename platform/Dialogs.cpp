// Dialogs: SDL's message box, and posix_spawn for starting a program.
#include "platform/Dialogs.h"

#include <SDL.h>
#include <spawn.h>

#include <cstdio>
#include <string>

extern char** environ;

namespace platform {

void ShowMessageBox(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool headless = driver == nullptr || std::string(driver) == "dummy";
    if (!headless) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
    }
}

void RunProgram(const std::string& path) {
    pid_t child = 0;
    char* const argv[] = {const_cast<char*>(path.c_str()), nullptr};
    // The result is ignored on purpose: the uploader is optional.
    (void)posix_spawn(&child, path.c_str(), nullptr, nullptr, argv, environ);
}

}  // namespace platform
