// FakeAudioMixer: the real mixer on an output the sound tests drive themselves, and the last
// frame of a stretch the tests mix: the voices' sum as their volumes and pans make it, before
// the output's limiter. Depends on the platform's mixer and the fake output.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "platform/AudioMixer.h"
#include "support/FakeAudioOutput.h"

struct FakeAudioMixer {
    explicit FakeAudioMixer(std::uint32_t rate = platform::AudioMixer::DefaultOutputRate) {
        auto output = std::make_unique<FakeAudioOutput>();
        Output = output.get();
        Mixer = std::make_unique<platform::AudioMixer>(std::move(output), rate);
    }

    // Mixes this many frames; left and right of the last one.
    std::pair<float, float> Render(std::size_t frames) {
        std::vector<float> out(2 * frames);
        Mixer->Mix(out.data(), frames);
        return {out[out.size() - 2], out.back()};
    }

    FakeAudioOutput* Output = nullptr;
    std::unique_ptr<platform::AudioMixer> Mixer;
};
