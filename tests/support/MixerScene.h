// Offline scenes for the mixer: voices with their sounds, pans, volumes and start frames,
// played on a mixer of their own and pulled in the output's blocks, as the audio device would.
// Tests compare what the output gets (Render) with the voices' plain sum (Mix).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "platform/AudioMixer.h"
#include "support/FakeAudioOutput.h"

struct SceneVoice {
    platform::WaveFormat Format;
    std::vector<std::uint8_t> Bytes;
    int Pan = 0;
    int Volume = 0;
    std::size_t Start = 0;  // frame
    bool Looped = false;
};

// Interleaved stereo frames at rate: what the output gets (rendered) or the voices' sum.
inline std::vector<float> PlayScene(const std::vector<SceneVoice>& voices, std::size_t frames, bool rendered,
                                    std::uint32_t rate = platform::AudioMixer::DefaultOutputRate) {
    platform::AudioMixer mixer(std::make_unique<FakeAudioOutput>(), rate);
    EXPECT_TRUE(mixer.Open());
    std::vector<std::unique_ptr<platform::SoundBuffer>> buffers;
    for (const SceneVoice& voice : voices) {
        platform::SoundResult result = platform::SoundResult::InvalidCall;
        buffers.push_back(mixer.CreateBuffer(voice.Format, voice.Bytes.size(), result));
        EXPECT_EQ(result, platform::SoundResult::Ok);
        std::span<std::uint8_t> bytes;
        buffers.back()->Lock(bytes);
        std::copy(voice.Bytes.begin(), voice.Bytes.end(), bytes.begin());
        buffers.back()->Unlock();
        EXPECT_EQ(buffers.back()->SetPan(voice.Pan), platform::SoundResult::Ok);
        EXPECT_EQ(buffers.back()->SetVolume(voice.Volume), platform::SoundResult::Ok);
    }
    constexpr std::size_t Block = 1024;  // what SDL asks for
    std::vector<float> out(2 * frames);
    for (std::size_t done = 0; done < frames;) {
        std::size_t next = std::min(done + Block, frames);
        for (std::size_t v = 0; v < voices.size(); ++v) {
            if (voices[v].Start == done) buffers[v]->Play(voices[v].Looped);
            if (voices[v].Start > done) next = std::min(next, voices[v].Start);
        }
        std::invoke(rendered ? &platform::AudioMixer::Render : &platform::AudioMixer::Mix, mixer, out.data() + 2 * done,
                    next - done);
        done = next;
    }
    return out;
}

inline float ScenePeak(const std::vector<float>& samples) {
    float peak = 0;
    for (const float sample : samples) peak = std::max(peak, std::fabs(sample));
    return peak;
}
