// Column: one band of 2000 distance units as its own picture — the band's ground and grid, the
// stretches without new waves before each special ship, the wave ships, the special ships,
// mission texts and sector ends ruled across with their labels beside, and the band's ship
// counts below; over them, where honest games hit and lost their ships. Depends on ChartLayout,
// Schedule, Marks, Ink, Labels, Events and the game's SpriteTable.
#pragma once

#include <vector>

#include "platform/ImageFile.h"
#include "tools/zarvoth-waves/Events.h"

namespace waves {

platform::RgbImage DrawColumn(int band, const std::vector<HonestEvent>& honest);

}  // namespace waves
