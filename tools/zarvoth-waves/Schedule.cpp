// Schedule: counts and clear stretches by walking the tables.
#include "tools/zarvoth-waves/Schedule.h"

#include <algorithm>

#include "game/SpriteTable.h"

namespace waves {

int CountWaveShips(TSpriteClass shipClass, int from, int to) {
    return static_cast<int>(std::count_if(SpriteTable::WaveTable.begin(), SpriteTable::WaveTable.end(), [&](const auto& e) {
        return e.Class == shipClass && e.Distance >= from && e.Distance < to;
    }));
}

int CountSpecialShips(TSpriteClass shipClass) {
    return static_cast<int>(std::count_if(SpriteTable::SpecialTable.begin(), SpriteTable::SpecialTable.end(),
                                          [&](const auto& e) { return e.Class == shipClass; }));
}

int ClearFrom(std::size_t index) {
    const int at = SpriteTable::SpecialTable.at(index).Distance;
    int from = index > 0 ? SpriteTable::SpecialTable[index - 1].Distance : 0;
    for (const auto& e : SpriteTable::WaveTable) {
        if (e.Distance < at) {
            from = std::max(from, e.Distance);
        }
    }
    return from;
}

}  // namespace waves
