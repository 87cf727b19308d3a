// Random: a Mersenne twister, so the same seed gives the same game.
#include "game/Random.h"

#include <random>

#include "platform/Clock.h"

namespace Random {
namespace {

std::mt19937& Generator() {
    static std::mt19937 generator;
    return generator;
}

}  // namespace

void Randomize() {
    SetSeed(platform::GetTickCount());
}

void SetSeed(std::uint32_t seed) {
    Generator().seed(seed);
}

int Next(int range) {
    if (range <= 0) {
        return 0;
    }
    return std::uniform_int_distribution<int>(0, range - 1)(Generator());
}

}  // namespace Random
