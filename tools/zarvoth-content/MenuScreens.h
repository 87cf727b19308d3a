// MenuScreens: the picture list of the menu graphics file — the five screen backgrounds
// (810 x 600, drawn 10 pixels left of the screen, so a screen x sits at picture x + 10) with a
// captioned plate inside every click area, the five hover lamps of the main screen, the two
// check boxes and the lit slot of the options screen's volume controls. Depends on Backdrop,
// Ships, Panel, Ui and Captions.
#pragma once

#include <vector>

#include "tools/zarvoth-content/Pictures.h"

namespace content {

std::vector<PictureItem> MenuGraphics();

}  // namespace content
