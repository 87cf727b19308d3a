// Music: a small sequencer. Every note is rendered into a circular stereo buffer by its
// instrument; the effect sends are processed as loops (Synth's Looped* functions).
#include "tools/zarvoth-content/Music.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace content {
namespace {

constexpr std::size_t LoopFrames = static_cast<std::size_t>(MusicBars) * MusicBeatsPerBar * MusicFramesPerBeat;
constexpr float SecondsPerBeat = 0.5f;

struct Mix {
    StereoBuffer Dry{LoopFrames};
    StereoBuffer Echo{LoopFrames};
    StereoBuffer Reverb{LoopFrames};
};

struct Note {
    float Beat;      // from the start of the loop
    float Length;    // beats held
    float Pitch;     // MIDI note
    float Velocity;  // 0..1
};

struct Sends {
    float Pan = 0;     // -1 left .. 1 right
    float Echo = 0;
    float Reverb = 0;
};

// A voice computes one sample at time t after the note's start (seconds), knowing how long
// the note is held; it returns false once it has fallen silent.
using Voice = std::function<bool(float t, float held, float& sample)>;

void Place(Mix& mix, const Note& note, const Sends& sends, Voice voice) {
    const auto start = static_cast<std::size_t>(note.Beat * MusicFramesPerBeat);
    const float held = note.Length * SecondsPerBeat;
    const float left = std::sqrt(0.5f * (1 - sends.Pan));
    const float right = std::sqrt(0.5f * (1 + sends.Pan));
    std::size_t at = start % LoopFrames;
    for (std::size_t i = 0; i < LoopFrames; ++i, at = at + 1 == LoopFrames ? 0 : at + 1) {
        float sample = 0;
        if (!voice(static_cast<float>(i) / SampleRate, held, sample)) {
            break;
        }
        sample *= note.Velocity;
        mix.Dry.Left[at] += sample * left;
        mix.Dry.Right[at] += sample * right;
        mix.Echo.Left[at] += sample * left * sends.Echo;
        mix.Echo.Right[at] += sample * right * sends.Echo;
        mix.Reverb.Left[at] += sample * sends.Reverb;
        mix.Reverb.Right[at] += sample * sends.Reverb;
    }
}

// Instruments.
Voice Pad(float pitch, int detuneIndex) {
    Oscillator a(0.1f * static_cast<float>(detuneIndex)), b(0.37f), c(0.71f);
    Filter filter;
    Oscillator sweep(0.2f * static_cast<float>(detuneIndex));
    const float hz = NoteFrequency(pitch);
    return [=](float t, float held, float& out) mutable {
        const float level = Adsr(t, held, 0.7f, 1.0f, 0.8f, 0.9f);
        filter.Set(900 + 500 * sweep.Sine(0.15f), 0.2f);
        out = filter.Low(a.Saw(hz * 0.996f) + b.Saw(hz * 1.004f) + 0.6f * c.Saw(hz * 0.5f)) * level * 0.18f;
        return t < held + 3.6f;
    };
}

Voice Bass(float pitch) {
    Oscillator saw, sub;
    Filter filter;
    const float hz = NoteFrequency(pitch);
    return [=](float t, float held, float& out) mutable {
        filter.Set(220 + 1500 * Decay(t, 0.07f), 0.45f);
        out = filter.Low(saw.Saw(hz) + 0.8f * sub.Pulse(hz * 0.5f, 0.5f)) * Adsr(t, held, 0.004f, 0.15f, 0.6f, 0.05f) * 0.5f;
        return t < held + 0.4f;
    };
}

Voice Pluck(float pitch) {
    Oscillator pulse;
    Filter filter;
    const float hz = NoteFrequency(pitch);
    return [=](float t, float held, float& out) mutable {
        filter.Set(600 + 4200 * Decay(t, 0.05f), 0.35f);
        out = filter.Low(pulse.Pulse(hz, 0.3f)) * Adsr(t, held, 0.002f, 0.09f, 0.15f, 0.08f) * 0.22f;
        return t < held + 0.35f;
    };
}

Voice Lead(float pitch) {
    Oscillator a, b(0.5f), vibrato;
    Filter filter;
    const float hz = NoteFrequency(pitch);
    return [=](float t, float held, float& out) mutable {
        const float depth = std::min(1.0f, t / 0.4f) * 0.006f;
        const float f = hz * (1.0f + depth * vibrato.Sine(5.5f));
        filter.Set(2600, 0.25f);
        out = filter.Low(a.Saw(f) + b.Pulse(f * 1.003f, 0.45f)) * Adsr(t, held, 0.025f, 0.3f, 0.75f, 0.25f) * 0.2f;
        return t < held + 2.0f;
    };
}

Voice Kick() {
    Oscillator body;
    return [=](float t, float, float& out) mutable {
        out = std::tanh(body.Sine(45 + 90 * Decay(t, 0.035f)) * Decay(t, 0.22f) * 1.6f) * 0.9f;
        return t < 0.6f;
    };
}

Voice Snare(std::uint64_t seed) {
    Oscillator tone;
    Filter filter;
    NoiseSource noise(seed);
    return [=](float t, float, float& out) mutable {
        filter.Set(3000, 0.2f);
        out = (filter.Band(noise.White()) * Decay(t, 0.09f) * 1.3f + tone.Sine(185) * Decay(t, 0.05f) * 0.6f) * 0.55f;
        return t < 0.5f;
    };
}

Voice Hat(std::uint64_t seed, float length) {
    Filter filter;
    NoiseSource noise(seed);
    return [=](float t, float, float& out) mutable {
        filter.Set(8000, 0.3f);
        out = filter.High(noise.White()) * Decay(t, length) * 0.22f;
        return t < length * 8;
    };
}

// D minor: Dm Bb F C / Dm Bb Gm A, one chord per bar.
struct Chord {
    float Root;  // bass note
    float Tones[3];
};
constexpr Chord Progression[8] = {{38, {50, 53, 57}}, {34, {50, 53, 58}}, {41, {53, 57, 60}}, {36, {52, 55, 60}},
                                  {38, {50, 53, 57}}, {34, {50, 53, 58}}, {43, {50, 55, 58}}, {45, {52, 57, 61}}};

// The lead's eight-bar melody: beat within the phrase, length, pitch.
constexpr Note Melody[] = {{0, 1.5f, 69, 0.9f},  {1.5f, 0.5f, 65, 0.8f}, {2, 2, 74, 1.0f},    {4, 1, 72, 0.9f},
                           {5, 1, 74, 0.9f},     {6, 1.5f, 77, 1.0f},   {7.5f, 0.5f, 76, 0.8f}, {8, 3, 72, 0.9f},
                           {11, 1, 69, 0.8f},    {12, 1, 67, 0.8f},     {13, 1, 69, 0.8f},   {14, 1, 72, 0.9f},
                           {15, 1, 76, 0.9f},    {16, 1.5f, 74, 1.0f},  {17.5f, 0.5f, 77, 0.8f}, {18, 2, 81, 1.0f},
                           {20, 1, 79, 0.9f},    {21, 1, 77, 0.9f},     {22, 2, 74, 0.9f},   {24, 1, 70, 0.8f},
                           {25, 1, 74, 0.8f},    {26, 2, 79, 1.0f},     {28, 2, 81, 1.0f},   {30, 1, 76, 0.9f},
                           {31, 1, 73, 0.9f}};

void AddBar(Mix& mix, int bar) {
    const Chord& chord = Progression[bar % 8];
    const int section = bar / 8;  // 0 intro, 1 groove, 2 melody, 3 breakdown
    const auto beat0 = static_cast<float>(bar * MusicBeatsPerBar);
    const std::uint64_t seed = static_cast<std::uint64_t>(bar) * 977u;
    for (int i = 0; i < 3; ++i) {
        Place(mix, {beat0, 4, chord.Tones[i], 0.8f}, {static_cast<float>(i - 1) * 0.6f, 0, 0.5f},
              Pad(chord.Tones[i], i + bar));
    }
    // Arpeggio in sixteenths over the chord, an octave up.
    constexpr int pattern[8] = {0, 1, 2, 1, 2, 3, 2, 1};
    for (int step = 0; step < 16; ++step) {
        const int degree = pattern[step % 8];
        const float pitch = degree == 3 ? chord.Tones[0] + 12 : chord.Tones[degree] + 12;
        const float accent = step % 4 == 0 ? 1.0f : 0.7f;
        const float level = section == 0 ? 0.6f : 0.85f;
        Place(mix, {beat0 + 0.25f * static_cast<float>(step), 0.2f, pitch, accent * level},
              {step % 2 == 0 ? -0.35f : 0.35f, 0.35f, 0.15f}, Pluck(pitch));
    }
    if (section >= 1) {
        for (int eighth = 0; eighth < 8; ++eighth) {
            if (section == 3 && eighth % 2 == 1) {
                continue;
            }
            const float pitch = chord.Root + (eighth == 3 || eighth == 7 ? 12.0f : 0.0f);
            Place(mix, {beat0 + 0.5f * static_cast<float>(eighth), 0.4f, pitch, eighth % 2 == 0 ? 1.0f : 0.75f}, {0, 0, 0},
                  Bass(pitch));
        }
    }
    if (section == 2) {
        const float phraseStart = static_cast<float>((bar % 8) * MusicBeatsPerBar);
        for (const Note& note : Melody) {
            if (note.Beat >= phraseStart && note.Beat < phraseStart + MusicBeatsPerBar) {
                Place(mix, {beat0 + note.Beat - phraseStart, note.Length, note.Pitch, note.Velocity}, {0.1f, 0.4f, 0.45f},
                      Lead(note.Pitch));
            }
        }
    }
    // Drums: a light pulse in the intro, the full beat in the groove and melody, and a
    // building fill at the end of the breakdown that leads back into the start.
    for (int beat = 0; beat < MusicBeatsPerBar; ++beat) {
        const float at = beat0 + static_cast<float>(beat);
        const bool full = section == 1 || section == 2;
        if (beat % 2 == 0 || full) {
            Place(mix, {at, 0.5f, 0, section == 0 ? 0.6f : 1.0f}, {0, 0, 0}, Kick());
        }
        if (full && beat % 2 == 1) {
            Place(mix, {at, 0.5f, 0, 0.9f}, {0.1f, 0, 0.25f}, Snare(seed + static_cast<std::uint64_t>(beat)));
        }
        if (section != 0) {
            for (int half = 0; half < 2; ++half) {
                const bool open = half == 1 && beat == 3;
                Place(mix, {at + 0.5f * static_cast<float>(half), 0.25f, 0, half == 0 ? 0.8f : 0.55f}, {0.3f, 0, 0},
                      Hat(seed + 31u + static_cast<std::uint64_t>(beat * 2 + half), open ? 0.12f : 0.025f));
            }
        }
    }
    if (bar == MusicBars - 1) {
        for (int step = 0; step < 8; ++step) {
            Place(mix, {beat0 + 2 + 0.25f * static_cast<float>(step), 0.25f, 0, 0.45f + 0.07f * static_cast<float>(step)},
                  {step % 2 == 0 ? -0.2f : 0.2f, 0, 0.3f}, Snare(seed + 100u + static_cast<std::uint64_t>(step)));
        }
    }
    if (bar % 8 == 0) {
        Place(mix, {beat0, 1, 0, 0.9f}, {-0.2f, 0, 0.4f}, Hat(seed + 7u, 0.6f));
    }
}

}  // namespace

PcmSound MusicTrack() {
    Mix mix;
    for (int bar = 0; bar < MusicBars; ++bar) {
        AddBar(mix, bar);
    }
    LoopedEcho(mix.Echo, SecondsPerBeat * 0.75f, 0.45f);
    LoopedReverb(mix.Reverb, 0.86f, 0.3f);
    StereoBuffer master(LoopFrames);
    for (std::size_t i = 0; i < LoopFrames; ++i) {
        master.Left[i] = std::tanh(1.1f * (mix.Dry.Left[i] + 0.5f * mix.Echo.Left[i] + mix.Reverb.Left[i]));
        master.Right[i] = std::tanh(1.1f * (mix.Dry.Right[i] + 0.5f * mix.Echo.Right[i] + mix.Reverb.Right[i]));
    }
    // Well below the effects (which peak near -6 dB), so that a fight over it keeps its headroom.
    return {"BattleTheme", 2, ToPcm16(master, -14.0f), true, 0};
}

}  // namespace content
