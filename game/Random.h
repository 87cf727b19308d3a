// Random: the game's one random generator (star field, where cruisers and supply ships
// appear). The game seeds it from the clock; a test seeds it with a number to repeat a run.
// Depends on the platform's clock.
#pragma once

#include <cstdint>

namespace Random {

// Seeds from the system tick count.
void Randomize();
void SetSeed(std::uint32_t seed);
// An integer in [0, range - 1]; 0 when range is 0 or less.
int Next(int range);

}  // namespace Random
