// GameGraphics: the picture list of the game graphics file, in the index order the game
// addresses it by (ships, beams, torpedoes, stars, explosion, buttons, panel, menus).
// Depends on Ships, Effects, Panel and Ui.
#pragma once

#include <vector>

#include "tools/zarvoth-content/Pictures.h"

namespace content {

std::vector<PictureItem> GameGraphics();

}  // namespace content
