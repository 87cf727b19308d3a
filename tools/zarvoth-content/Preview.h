// Preview: pictures for looking at the artwork (the tool's --preview mode): contact sheets
// with every item enlarged and key pixels shown as a dark checkerboard, and a mock-up of the
// game screen with the panel, buttons, ships and a dialog where the game puts them.
// Depends on Pictures and Captions.
#pragma once

#include <vector>

#include "tools/zarvoth-content/Pictures.h"

namespace content {

platform::RgbImage ContactSheet(const std::vector<PictureItem>& items, int scale, int sheetWidth);
// The game graphics (by index) laid out as one game frame.
platform::RgbImage GameScreenMockup(const std::vector<PictureItem>& game);

}  // namespace content
