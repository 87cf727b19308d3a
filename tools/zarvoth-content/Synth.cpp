// Synth: classic digital building blocks, written for clarity rather than for cleverness.
#include "tools/zarvoth-content/Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace content {
namespace {
constexpr float Pi = std::numbers::pi_v<float>;

float Blep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}
}  // namespace

float NoteFrequency(float midiNote) {
    return 440.0f * std::pow(2.0f, (midiNote - 69.0f) / 12.0f);
}

float Oscillator::Advance(float hz) {
    const float phase = FPhase;
    FStep = std::clamp(hz / SampleRate, 0.0f, 0.45f);
    FPhase += FStep;
    FPhase -= std::floor(FPhase);
    return phase;
}

float Oscillator::Sine(float hz) {
    return std::sin(2 * Pi * Advance(hz));
}

float Oscillator::Saw(float hz) {
    const float p = Advance(hz);
    return 2.0f * p - 1.0f - Blep(p, FStep);
}

float Oscillator::Pulse(float hz, float width) {
    const float p = Advance(hz);
    float v = p < width ? 1.0f : -1.0f;
    v += Blep(p, FStep);
    float q = p - width;
    q -= std::floor(q);
    v -= Blep(q, FStep);
    return v;
}

float Oscillator::Triangle(float hz) {
    const float p = Advance(hz);
    return 4.0f * std::abs(p - 0.5f) - 1.0f;
}

float Adsr(float t, float held, float attack, float decay, float sustain, float release) {
    if (t < 0) {
        return 0;
    }
    const auto level = [&](float at) {
        if (at < attack) {
            return at / attack;
        }
        return sustain + (1.0f - sustain) * std::exp(-(at - attack) / std::max(1e-4f, decay));
    };
    if (t < held) {
        return level(t);
    }
    return level(held) * std::exp(-(t - held) / std::max(1e-4f, release));
}

float Decay(float t, float tau) {
    return t < 0 ? 0.0f : std::exp(-t / tau);
}

void Filter::Set(float cutoffHz, float resonance) {
    // Sweeps set the cutoff every sample; steps under 0.3 % are inaudible and save the tangent.
    if (resonance == FResonance && std::abs(cutoffHz - FCutoff) < 0.003f * FCutoff) {
        return;
    }
    FCutoff = cutoffHz;
    FResonance = resonance;
    FG = std::tan(Pi * std::clamp(cutoffHz, 10.0f, SampleRate * 0.45f) / SampleRate);
    FK = 2.0f - 2.0f * std::clamp(resonance, 0.0f, 0.95f);
}

void Filter::Step(float x) {
    const float a1 = 1.0f / (1.0f + FG * (FG + FK));
    const float v3 = x - FIc2;
    const float v1 = a1 * FIc1 + FG * a1 * v3;
    const float v2 = FIc2 + FG * v1;
    FIc1 = 2 * v1 - FIc1;
    FIc2 = 2 * v2 - FIc2;
    FLow = v2;
    FBand = v1;
    FHigh = x - FK * v1 - v2;
}

float Filter::Low(float x) {
    Step(x);
    return FLow;
}

float Filter::Band(float x) {
    Step(x);
    return FBand;
}

float Filter::High(float x) {
    Step(x);
    return FHigh;
}

namespace {
// Runs a stateful effect over a loop: first over its last seconds (so the state holds the tail
// that wraps round), then over the whole loop, whose output is kept.
constexpr std::size_t WarmUpFrames = 6 * SampleRate;

template <typename Step>
void OverLoop(std::size_t frames, Step step) {
    for (std::size_t i = frames - std::min(frames, WarmUpFrames); i < frames; ++i) {
        step(i);
    }
    for (std::size_t i = 0; i < frames; ++i) {
        step(i);
    }
}
}  // namespace

void LoopedEcho(StereoBuffer& wet, float delaySeconds, float feedback) {
    const std::size_t n = wet.Frames();
    const auto delay = static_cast<std::size_t>(delaySeconds * SampleRate);
    StereoBuffer out(n);
    // Ping-pong: each echo crosses to the other side.
    std::vector<float> lineLeft(delay, 0.0f), lineRight(delay, 0.0f);
    std::size_t at = 0;
    OverLoop(n, [&](std::size_t i) {
        const float echoLeft = lineLeft[at];
        const float echoRight = lineRight[at];
        lineLeft[at] = wet.Left[i] + echoRight * feedback;
        lineRight[at] = wet.Right[i] * 0.5f + echoLeft * feedback;
        at = (at + 1) % delay;
        out.Left[i] = echoLeft;
        out.Right[i] = echoRight;
    });
    wet = std::move(out);
}

namespace {
class Comb {
public:
    Comb(std::size_t length, float feedback, float damping) : FLine(length, 0.0f), FFeedback(feedback), FDamp(damping) {}
    float Process(float x) {
        const float y = FLine[FAt];
        FStore = y * (1 - FDamp) + FStore * FDamp;
        FLine[FAt] = x + FStore * FFeedback;
        FAt = (FAt + 1) % FLine.size();
        return y;
    }

private:
    std::vector<float> FLine;
    float FFeedback, FDamp, FStore = 0;
    std::size_t FAt = 0;
};

class AllPass {
public:
    explicit AllPass(std::size_t length) : FLine(length, 0.0f) {}
    float Process(float x) {
        const float delayed = FLine[FAt];
        const float y = delayed - x;
        FLine[FAt] = x + delayed * 0.5f;
        FAt = (FAt + 1) % FLine.size();
        return y;
    }

private:
    std::vector<float> FLine;
    std::size_t FAt = 0;
};
}  // namespace

void LoopedReverb(StereoBuffer& wet, float size, float damping) {
    constexpr std::size_t combLengths[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    constexpr std::size_t allPassLengths[] = {556, 441, 341, 225};
    std::vector<Comb> combsLeft, combsRight;
    std::vector<AllPass> passesLeft, passesRight;
    for (std::size_t length : combLengths) {
        combsLeft.emplace_back(length, size, damping);
        combsRight.emplace_back(length + 23, size, damping);
    }
    for (std::size_t length : allPassLengths) {
        passesLeft.emplace_back(length);
        passesRight.emplace_back(length + 23);
    }
    const std::size_t n = wet.Frames();
    StereoBuffer out(n);
    OverLoop(n, [&](std::size_t i) {
        const float input = (wet.Left[i] + wet.Right[i]) * 0.015f;
        float left = 0;
        float right = 0;
        for (std::size_t k = 0; k < combsLeft.size(); ++k) {
            left += combsLeft[k].Process(input);
            right += combsRight[k].Process(input);
        }
        for (std::size_t k = 0; k < passesLeft.size(); ++k) {
            left = passesLeft[k].Process(left);
            right = passesRight[k].Process(right);
        }
        out.Left[i] = left;
        out.Right[i] = right;
    });
    wet = std::move(out);
}

namespace {
std::int16_t ToSample(float v, float scale) {
    return static_cast<std::int16_t>(std::lround(std::clamp(v * scale, -1.0f, 1.0f) * 32767.0f));
}

float Peak(const std::vector<float>& samples) {
    float peak = 1e-9f;
    for (float v : samples) {
        peak = std::max(peak, std::abs(v));
    }
    return peak;
}

float Level(float decibels) {
    return std::pow(10.0f, decibels / 20.0f);
}
}  // namespace

std::vector<std::int16_t> ToPcm16(const std::vector<float>& samples, float peakDecibels) {
    const float scale = Level(peakDecibels) / Peak(samples);
    std::vector<std::int16_t> pcm(samples.size());
    std::transform(samples.begin(), samples.end(), pcm.begin(), [scale](float v) { return ToSample(v, scale); });
    return pcm;
}

std::vector<std::int16_t> ToPcm16(const StereoBuffer& samples, float peakDecibels) {
    const float scale = Level(peakDecibels) / std::max(Peak(samples.Left), Peak(samples.Right));
    std::vector<std::int16_t> pcm(samples.Frames() * 2);
    for (std::size_t i = 0; i < samples.Frames(); ++i) {
        pcm[2 * i] = ToSample(samples.Left[i], scale);
        pcm[2 * i + 1] = ToSample(samples.Right[i], scale);
    }
    return pcm;
}

}  // namespace content
