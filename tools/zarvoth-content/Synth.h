// Synth: the sound-making kit for the effects and the music — band-limited oscillators,
// envelopes, a state-variable filter, noise, a feedback delay and a small reverb, and the
// conversion of float samples into 16-bit PCM sound items. Depends on Noise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/zarvoth-content/Noise.h"

namespace content {

constexpr int SampleRate = 44100;

// One sound item as it goes into a sound file: 16-bit PCM, interleaved when stereo.
struct PcmSound {
    std::string Name;
    int Channels = 1;
    std::vector<std::int16_t> Samples;
    bool Looped = false;
    int MaxPlayingCount = 0;
};

float NoteFrequency(float midiNote);

// Phase accumulator for one oscillator; the waveforms are band-limited with polyBLEP.
class Oscillator {
public:
    explicit Oscillator(float startPhase = 0) : FPhase(startPhase) {}
    float Sine(float hz);
    float Saw(float hz);
    float Pulse(float hz, float width);
    float Triangle(float hz);

private:
    float Advance(float hz);
    float FPhase;
    float FStep = 0;
};

// Attack-decay-sustain-release level at time t (seconds) of a note held for `held` seconds.
float Adsr(float t, float held, float attack, float decay, float sustain, float release);
// Exponential decay from 1 with the given time constant (seconds).
float Decay(float t, float tau);

// Zero-delay state-variable filter (low, band and high pass from one state).
class Filter {
public:
    void Set(float cutoffHz, float resonance);  // resonance 0 (none) .. 0.95
    float Low(float x);
    float Band(float x);
    float High(float x);

private:
    void Step(float x);
    float FCutoff = -1, FResonance = -1;
    float FG = 0.1f, FK = 1.4f, FLow = 0, FBand = 0, FHigh = 0, FIc1 = 0, FIc2 = 0;
};

class NoiseSource {
public:
    explicit NoiseSource(std::uint64_t seed) : FRandom(seed) {}
    float White() { return FRandom.Bipolar(); }

private:
    Random FRandom;
};

// Stereo sample buffer, seconds converted at SampleRate.
struct StereoBuffer {
    std::vector<float> Left;
    std::vector<float> Right;
    explicit StereoBuffer(std::size_t frames) : Left(frames), Right(frames) {}
    std::size_t Frames() const { return Left.size(); }
};

// Echoes and a Schroeder reverb run over a looping buffer: the end of the loop is processed
// first to fill the effect's state, so the tail of the end flows into the start.
void LoopedEcho(StereoBuffer& wet, float delaySeconds, float feedback);
void LoopedReverb(StereoBuffer& wet, float size, float damping);

// Scales so that the loudest sample sits at the peak level, in decibels below full scale, and
// rounds to 16-bit.
std::vector<std::int16_t> ToPcm16(const std::vector<float>& samples, float peakDecibels);
std::vector<std::int16_t> ToPcm16(const StereoBuffer& samples, float peakDecibels);

}  // namespace content
