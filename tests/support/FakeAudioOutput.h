// FakeAudioOutput: an audio output without a thread for tests of the mixer and the sound
// components. Tests pull the mix themselves through AudioMixer::Render, and can take the device
// away (IsLost), refuse to (re)open it (DeviceAvailable) or have it go away again every time it
// is looked at (Flapping, a sound server that keeps dying).
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
    bool Lost() override { return IsLost || Flapping; }

    bool DeviceAvailable = true;
    bool IsLost = false;
    bool Flapping = false;
    int Starts = 0;
};
