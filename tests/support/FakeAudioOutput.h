// FakeAudioOutput: an audio output without a thread for tests of the mixer and the sound
// components. Tests pull the mix themselves through AudioMixer::Render, and can take the device
// away (IsLost) or refuse to (re)open it (DeviceAvailable).
#pragma once

#include "platform/AudioMixer.h"

class FakeAudioOutput final : public platform::AudioOutput {
public:
    bool Start(platform::AudioMixer&) override {
        ++Starts;
        if (DeviceAvailable) {
            IsLost = false;
        }
        return DeviceAvailable;
    }
    void Stop() override {}
    bool Lost() override { return IsLost; }

    bool DeviceAvailable = true;
    bool IsLost = false;
    int Starts = 0;
};
