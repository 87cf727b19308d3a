// Noise: deterministic randomness for the artwork and the sounds — a seeded generator and
// smooth 2-D value noise with fractal sums. No state is taken from the environment.
#pragma once

#include <cstdint>

namespace content {

// SplitMix64: small, fast, and the same numbers on every machine.
class Random {
public:
    explicit Random(std::uint64_t seed) : FState(seed) {}
    std::uint64_t Next();
    float Uniform();                      // [0, 1)
    float Range(float low, float high);   // [low, high)
    float Bipolar() { return Uniform() * 2.0f - 1.0f; }

private:
    std::uint64_t FState;
};

// Smooth value noise in [0, 1], period-free, lattice hashed from the seed.
float ValueNoise(float x, float y, std::uint32_t seed);
// Sum of octaves of value noise, normalised to [0, 1].
float Fractal(float x, float y, int octaves, std::uint32_t seed);

}  // namespace content
