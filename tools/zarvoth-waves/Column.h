// Column: one band of 2000 distance units as its own picture — the band's ground and grid, the
// stretches without new waves before each special ship, the wave ships, the special ships,
// mission texts and sector ends ruled across with their labels beside, and the band's ship
// counts below. Depends on ChartLayout, Schedule, Marks, Ink, Labels and the game's SpriteTable.
#pragma once

#include "platform/ImageFile.h"

namespace waves {

platform::RgbImage DrawColumn(int band);

}  // namespace waves
