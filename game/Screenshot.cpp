// Screenshot: the picture's folder, its name and its writing (see Screenshot.h).
#include "game/Screenshot.h"

#include <cstdio>
#include <cstdlib>

#include "platform/ImageFile.h"

namespace Screenshot {
namespace {

// Tells the player why no picture was kept; the game goes on.
void Complain(const std::string& why) {
    std::fprintf(stderr, "Zarvoth Mutador: the screenshot was not saved: %s\n", why.c_str());
}

// Far more pictures than anyone takes in one second.
constexpr int MostPerSecond = 100;

}  // namespace

std::optional<std::filesystem::path> ScreenshotFolder() {
    const char* pictures = std::getenv("XDG_PICTURES_DIR");
    if (pictures != nullptr && *pictures != '\0') {
        return std::filesystem::path(pictures) / "Zarvoth Mutador";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / "Pictures" / "Zarvoth Mutador";
    }
    return std::nullopt;
}

std::string ScreenshotName(const std::tm& time, int sequence) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &time);
    const std::string suffix = sequence > 1 ? " " + std::to_string(sequence) : "";
    return "Zarvoth Mutador " + std::string(stamp) + suffix + ".png";
}

std::optional<std::filesystem::path> SaveScreenshot(const platform::PixelBuffer16& frame) {
    const std::optional<std::filesystem::path> folder = ScreenshotFolder();
    if (!folder) {
        Complain("neither XDG_PICTURES_DIR nor HOME names a folder");
        return std::nullopt;
    }
    std::error_code error;
    std::filesystem::create_directories(*folder, error);
    if (error) {
        Complain(folder->string() + ": " + error.message());
        return std::nullopt;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    for (int sequence = 1; sequence <= MostPerSecond; ++sequence) {
        const std::filesystem::path path = *folder / ScreenshotName(local, sequence);
        if (std::filesystem::exists(path, error)) {
            continue;
        }
        std::string failure;
        if (!platform::SavePng(path.string(), platform::FrameImage(frame), failure)) {
            Complain(path.string() + ": " + failure);
            return std::nullopt;
        }
        return path;
    }
    Complain(folder->string() + " already holds this second's pictures");
    return std::nullopt;
}

}  // namespace Screenshot
