// Panel: the in-game console pictures — rails, the score plate, the top-right pod with the
// house emblem, the bottom console, the gauge frames and their fills, the in-game menu panel
// and both dialog plates. Their sizes follow the places the game draws them at. Depends on Ui.
#pragma once

#include "tools/zarvoth-content/Pictures.h"

namespace content {

PictureItem LeftRailItem();      // at (0, 0)
PictureItem ScorePlateItem();    // at (9, 0), behind the score lines
PictureItem TopPodItem();        // at (680, 0), holds the menu button and the emblem
PictureItem RightRailItem();     // at (791, 138)
PictureItem ConsoleItem();       // at (0, 535)
PictureItem BarFrameItem(const char* name);  // inner area 203 x 9 at (3, 3)
PictureItem HullFrameItem();     // inner area 9 x 371 at (4, 4)
PictureItem PhaserFillItem();
PictureItem ShieldFillItem();
PictureItem HullFillItem();
PictureItem EmblemItem();        // at (712, 10)
PictureItem GameMenuPanelItem(); // at (200, 88)
PictureItem SmallDialogItem();
PictureItem LargeDialogItem();

// The small dialog's size: centred, its 10-point prompts "Type angle (in degrees):" and
// "Type distance:" fall on the lines of the input fields at (470, 309) and (390, 349) and end
// a few pixels before them.
constexpr int SmallDialogWidth = 292;
constexpr int SmallDialogHeight = 252;
// The large dialog's size: the welcome text ends above its OK button.
constexpr int LargeDialogWidth = 500;
constexpr int LargeDialogHeight = 380;

// The house emblem, also used on the menu screens.
void DrawEmblem(Canvas& canvas, float left, float top, float scale);

}  // namespace content
