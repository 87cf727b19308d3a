// Icon: the game's application icon — the house emblem on a round deep-space badge with a
// bronze rim, transparent around the badge — at any size the desktop asks for.
// Depends on Raster, Shapes and Panel (the emblem).
#pragma once

#include <string>
#include <string_view>

#include "platform/ImageFile.h"

namespace content {

constexpr int SmallestIcon = 16;
constexpr int LargestIcon = 512;

platform::RgbaImage IconPicture(int size);
// Writes the square icon of the given size (a whole number from SmallestIcon to LargestIcon)
// as a PNG. Returns false and an error text for a bad size or a failed write.
bool WriteIcon(std::string_view size, const std::string& path, std::string& error);

}  // namespace content
