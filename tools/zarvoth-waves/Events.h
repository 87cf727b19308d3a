// Events: where honest games hit and lost their ships, as the honest player's play-through writes
// them (build/honest-player/*.txt): one event a line, "hit DISTANCE X DAMAGE" when the hull fell
// or "died DISTANCE X" when the ship was lost, x being the middle of the ship; blank lines and
// lines starting with # are skipped. Depends on the chart's layout for the distances it covers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace waves {

struct HonestEvent {
    bool Died = false;
    int Distance = 0;
    int X = 0;
    int Damage = 0;  // hull lost; 0 for a death (its last hit is a hit of its own)
};

// Adds the file's events; false with an error naming the file and line for a line it cannot
// read or a place off the chart.
bool ReadEvents(const std::string& path, std::vector<HonestEvent>& events, std::string& error);

constexpr int PlaceLength = 100;  // distance units the hardest places are counted in

struct Place {
    int From;  // first distance of the stretch
    int Hits;
    std::int64_t Damage;
    int Deaths;
};

// The stretches of PlaceLength that have events, in the order of their distances.
std::vector<Place> Places(const std::vector<HonestEvent>& events);
// The stretches with the most deaths, then the most damage, hardest first; at most `count`.
std::vector<Place> HardestPlaces(const std::vector<HonestEvent>& events, std::size_t count);

}  // namespace waves
