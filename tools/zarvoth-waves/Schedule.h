// Schedule: what the chart reads off the game's two tables besides the rows themselves — the
// mission texts and their thresholds, the sector ends, the ships of a class in a stretch of
// distance, and the stretch without new waves before each special ship. Depends on the game's
// SpriteTable.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "engine/sprites/DXSprite.h"

namespace waves {

constexpr int SectorEnd = 17000;
constexpr int GameEnd = 27700;

struct MissionText {
    int Threshold;
    std::string_view Title;
    bool EndsSector;  // warp enabled, distance held
};

// In the order the game tests them.
extern const std::array<MissionText, 9> MissionTexts;

// Wave ships of the class entering at distances from..to (to excluded).
int CountWaveShips(TSpriteClass shipClass, int from, int to);
int CountSpecialShips(TSpriteClass shipClass);

// Where the stretch before special entry `index` starts in which no new wave enters: the last
// wave before it, or the special ship before it if that comes later.
int ClearFrom(std::size_t index);

}  // namespace waves
