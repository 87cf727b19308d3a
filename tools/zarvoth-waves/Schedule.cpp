// Schedule: counts and clear stretches by walking the tables.
#include "tools/zarvoth-waves/Schedule.h"

#include <algorithm>

#include "game/SpriteTable.h"

namespace waves {

const std::array<MissionText, 9> MissionTexts = {{
    {15, "Welcome and controls", false},
    {17015, "Sector2", false},
    {17000, "Sector1 cleared", true},
    {27700, "Game completed", true},
    {300, "Federation Shuttle", false},
    {950, "Federation Defiant", false},
    {17350, "Federation Akira", false},
    {4350, "Federation Interpid", false},
    {3850, "Cardassian supply ship", false},
}};

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
