// SoundEffects: each effect is a short program over time t in seconds.
#include "tools/zarvoth-content/SoundEffects.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace content {
namespace {

// Renders seconds of mono sound from a per-sample voice, with a very short fade in and a short
// fade out so that no effect starts or stops on a click. The peak, in decibels below full
// scale, sets the effect's loudness against the others: interface blips stay below the weapons
// and the explosions. The loudest peak near -6 dB leaves the headroom for a fight: several
// effects over the music still sum below full scale.
PcmSound Render(const char* name, float seconds, float peakDecibels, int maxPlaying,
                const std::function<float(float)>& voice) {
    const auto frames = static_cast<std::size_t>(seconds * SampleRate);
    std::vector<float> samples(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const float t = static_cast<float>(i) / SampleRate;
        const float fade = std::min({1.0f, t / 0.0015f, (seconds - t) / 0.01f});
        samples[i] = voice(t) * fade;
    }
    return {name, 1, ToPcm16(samples, peakDecibels), false, maxPlaying};
}

float Sweep(float from, float to, float t, float duration) {
    return from * std::pow(to / from, std::min(1.0f, t / duration));
}

PcmSound Disruptor() {
    Oscillator a, b(0.3f), sub, zap;
    Filter filter;
    return Render("Phaser", 0.42f, -8.0f, 4, [=](float t) mutable {
        const float pitch = Sweep(1500, 420, t, 0.36f);
        filter.Set(Sweep(7000, 1200, t, 0.4f), 0.55f);
        const float wobble = 1.0f + 0.04f * zap.Sine(38);
        const float body = a.Saw(pitch * wobble) + b.Saw(pitch * 1.012f * wobble) + 0.8f * sub.Sine(pitch / 4);
        return filter.Low(body) * Adsr(t, 0.02f, 0.004f, 0.12f, 0.35f, 0.1f);
    });
}

PcmSound TorpedoLaunch() {
    Oscillator thump, tone, tremolo;
    Filter whoosh;
    NoiseSource noise(11);
    return Render("Torpedo", 0.95f, -8.5f, 3, [=](float t) mutable {
        const float boom = thump.Sine(Sweep(110, 38, t, 0.25f)) * Decay(t, 0.12f) * 1.2f;
        whoosh.Set(Sweep(300, 3200, t, 0.6f), 0.6f);
        const float air = whoosh.Band(noise.White()) * Adsr(t, 0.15f, 0.03f, 0.3f, 0.4f, 0.25f) * 1.6f;
        const float pulse = 0.6f + 0.4f * tremolo.Sine(16);
        const float rise = tone.Triangle(Sweep(260, 980, t, 0.7f)) * pulse * Adsr(t, 0.4f, 0.05f, 0.3f, 0.6f, 0.18f) * 0.45f;
        return boom + air + rise;
    });
}

PcmSound Transport() {
    constexpr int partials = 14;
    std::vector<Oscillator> tones(partials);
    std::vector<float> pitch(partials), rate(partials);
    Random random(21);
    for (int i = 0; i < partials; ++i) {
        pitch[i] = random.Range(900, 4200);
        rate[i] = random.Range(6, 19);
    }
    std::vector<Oscillator> tremolos(partials);
    Oscillator chord;
    Filter air;
    NoiseSource noise(23);
    return Render("Transport", 1.7f, -8.5f, 1, [=](float t) mutable {
        float shimmer = 0;
        for (int i = 0; i < partials; ++i) {
            const float gate = 0.5f + 0.5f * tremolos[i].Sine(rate[i]);
            shimmer += tones[i].Sine(pitch[i] * (1.0f + 0.15f * t)) * gate * gate;
        }
        air.Set(6000, 0.2f);
        const float hiss = air.High(noise.White()) * 0.5f;
        const float swell = Adsr(t, 1.05f, 0.45f, 0.4f, 0.85f, 0.22f);
        const float hum = chord.Sine(Sweep(220, 440, t, 1.4f)) * 0.6f;
        return (shimmer / partials * 2.4f + hiss + hum) * swell;
    });
}

PcmSound Explosion() {
    Oscillator boom;
    Filter rumble, body;
    NoiseSource noise(31);
    Random crackles(37);
    float crackle = 0;
    return Render("Explosion", 2.1f, -8.0f, 6, [=](float t) mutable {
        rumble.Set(Sweep(3200, 140, t, 1.6f), 0.25f);
        body.Set(Sweep(900, 90, t, 1.2f), 0.4f);
        const float white = noise.White();
        const float roar = rumble.Low(white) * Decay(t, 0.55f) * 1.4f + body.Band(white) * Decay(t, 0.9f) * 1.2f;
        const float sub = boom.Sine(Sweep(70, 28, t, 0.9f)) * Decay(t, 0.45f) * 1.4f;
        if (crackles.Uniform() < 0.0025f * Decay(t, 0.5f)) {
            crackle = crackles.Bipolar();
        }
        crackle *= 0.985f;
        const float attack = std::min(1.0f, t / 0.004f);
        return std::tanh((roar + sub + crackle * 0.8f) * 1.6f) * attack;
    });
}

PcmSound Toggle() {
    Oscillator tone;
    Filter soften;
    return Render("Toggle", 0.15f, -13.0f, 2, [=](float t) mutable {
        soften.Set(3500, 0.1f);
        const bool second = t >= 0.06f;
        const float local = second ? t - 0.06f : t;
        const float v = tone.Pulse(second ? 1320.0f : 880.0f, 0.3f) * Adsr(local, 0.035f, 0.002f, 0.03f, 0.6f, 0.012f);
        return soften.Low(v);
    });
}

PcmSound RedAlert() {
    Oscillator siren, siren2;
    Filter tone;
    return Render("RedAlert", 1.3f, -11.0f, 1, [=](float t) mutable {
        const float cycle = std::fmod(t, 0.65f);
        const float pitch = Sweep(520, 900, cycle, 0.5f);
        tone.Set(2400, 0.4f);
        const float v = siren.Saw(pitch) + siren2.Pulse(pitch * 1.5f, 0.5f) * 0.5f;
        return tone.Low(v) * Adsr(cycle, 0.55f, 0.03f, 0.3f, 0.8f, 0.04f);
    });
}

PcmSound DialogChime() {
    Oscillator low, lowHarmonic, high, highHarmonic;
    return Render("DialogOpen", 0.55f, -11.0f, 2, [=](float t) mutable {
        const float first = (low.Sine(660) + 0.3f * lowHarmonic.Sine(1980)) * Adsr(t, 0.01f, 0.004f, 0.16f, 0.0f, 0.1f);
        const float late = t - 0.09f;
        const float second =
            (high.Sine(990) + 0.3f * highHarmonic.Sine(2970)) * (late < 0 ? 0.0f : Adsr(late, 0.01f, 0.004f, 0.22f, 0.0f, 0.15f));
        return first + second;
    });
}

PcmSound Click() {
    Oscillator blip;
    Filter snap;
    NoiseSource noise(41);
    return Render("Click", 0.1f, -11.0f, 3, [=](float t) mutable {
        snap.Set(2500, 0.3f);
        const float tick = snap.High(noise.White()) * Decay(t, 0.004f);
        const float tone = blip.Sine(Sweep(2000, 1300, t, 0.05f)) * Decay(t, 0.02f) * 0.7f;
        return tick + tone;
    });
}

PcmSound Warp() {
    Oscillator a, b(0.25f), c(0.5f), sub;
    Filter engine, air;
    NoiseSource noise(51);
    return Render("Warp", 2.7f, -6.0f, 1, [=](float t) mutable {
        const float pitch = Sweep(70, 420, t, 2.1f);
        engine.Set(Sweep(300, 5000, t, 2.1f), 0.5f);
        const float hum = engine.Low(a.Saw(pitch) + b.Saw(pitch * 1.5f) + c.Saw(pitch * 2.01f)) * 0.6f +
                          sub.Sine(pitch / 2) * 0.5f;
        air.Set(Sweep(400, 6000, t, 2.2f), 0.5f);
        const float rush = air.Band(noise.White()) * 1.2f;
        const float level = Adsr(t, 2.15f, 1.2f, 1.0f, 1.0f, 0.14f);
        const float flash = t > 2.1f ? Decay(t - 2.1f, 0.18f) : 0.0f;
        return (hum + rush) * level + air.Low(noise.White()) * flash * 1.5f;
    });
}

}  // namespace

std::vector<PcmSound> SoundEffects() {
    return {Disruptor(), TorpedoLaunch(), Transport(), Explosion(), Toggle(),
            RedAlert(),  DialogChime(),   Click(),     Warp()};
}

}  // namespace content
