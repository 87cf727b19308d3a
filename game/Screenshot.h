// Screenshot: keeps the frame on the screen as a PNG picture of 800 x 600 in the player's
// pictures folder, "${XDG_PICTURES_DIR:-~/Pictures}/Zarvoth Mutador/", named by the date and
// time. Depends on the platform's PNG writing.
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/PixelBuffer.h"

namespace Screenshot {

// The folder the pictures go to; nothing when neither XDG_PICTURES_DIR nor HOME names a place.
std::optional<std::filesystem::path> ScreenshotFolder();

// "Zarvoth Mutador 2024-05-17 21-04-09.png", with " 2", " 3", ... before the extension for the
// further pictures of the same second.
std::string ScreenshotName(const std::tm& time, int sequence);

// Writes the frame into the folder (made when missing) under the first free name for now; the
// path written, or nothing after saying on stderr why not.
std::optional<std::filesystem::path> SaveScreenshot(const platform::PixelBuffer16& frame);

}  // namespace Screenshot
