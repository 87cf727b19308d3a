// Noise: integer hashing keeps every value reproducible.
#include "tools/zarvoth-content/Noise.h"

#include <cmath>

namespace content {

std::uint64_t Random::Next() {
    FState += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = FState;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float Random::Uniform() {
    return static_cast<float>(Next() >> 40) / static_cast<float>(1ull << 24);
}

float Random::Range(float low, float high) {
    return low + (high - low) * Uniform();
}

namespace {
float Lattice(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343u ^ static_cast<std::uint32_t>(y) * 0xD8163841u ^
                      seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float Smooth(float t) {
    return t * t * (3 - 2 * t);
}
}  // namespace

float ValueNoise(float x, float y, std::uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = Smooth(x - fx);
    const float ty = Smooth(y - fy);
    const float a = Lattice(ix, iy, seed);
    const float b = Lattice(ix + 1, iy, seed);
    const float c = Lattice(ix, iy + 1, seed);
    const float d = Lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fractal(float x, float y, int octaves, std::uint32_t seed) {
    float sum = 0;
    float weight = 0;
    float amplitude = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * ValueNoise(x, y, seed + static_cast<std::uint32_t>(i) * 101u);
        weight += amplitude;
        amplitude *= 0.5f;
        x *= 2.03f;
        y *= 2.03f;
    }
    return sum / weight;
}

}  // namespace content
