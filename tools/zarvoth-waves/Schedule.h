// Schedule: what the chart reads off the game's tables besides the rows themselves — the sector
// ends, the ships of a class in a stretch of distance, and the stretch without new waves before
// each special ship. Depends on the game's SpriteTable and MissionTexts.
#pragma once

#include <cstddef>

#include "engine/sprites/DXSprite.h"
#include "game/MissionTexts.h"

namespace waves {

// The sectors end where the texts that end them fall due.
static_assert(Game::MissionTexts[Game::TextSector1Cleared].EndsSector &&
              Game::MissionTexts[Game::TextGameCompleted].EndsSector);
constexpr int SectorEnd = Game::MissionTexts[Game::TextSector1Cleared].Threshold;
constexpr int GameEnd = Game::MissionTexts[Game::TextGameCompleted].Threshold;

// Wave ships of the class entering at distances from..to (to excluded).
int CountWaveShips(TSpriteClass shipClass, int from, int to);
int CountSpecialShips(TSpriteClass shipClass);

// Where the stretch before special entry `index` starts in which no new wave enters: the last
// wave before it, or the special ship before it if that comes later.
int ClearFrom(std::size_t index);

}  // namespace waves
