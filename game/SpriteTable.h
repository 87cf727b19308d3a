// SpriteTable: the game's two schedules, read by the session as the distance grows. WaveTable
// says at which distance each enemy of a wave enters and where (x is the ship's horizontal
// centre); SpecialTable says at which distance a cruiser or a supply ship arrives. Both are
// sorted by distance, ties in table order. Depends on the sprite classes they name.
#pragma once

#include <array>
#include <cstdint>

#include "engine/sprites/DXSprite.h"

namespace SpriteTable {

struct TSpriteTableEntry {
    std::int32_t Distance;
    TSpriteClass Class;
    std::int32_t X;
    std::int32_t Y;
};

// Sector 1 is entries 0 to 416 (distances 300 to 16590), sector 2 entries 417 to 775 (17350 to
// 27100).
extern const std::array<TSpriteTableEntry, 776> WaveTable;
// X and Y are 0: the cruiser and the supply ship place themselves.
extern const std::array<TSpriteTableEntry, 16> SpecialTable;

}  // namespace SpriteTable
