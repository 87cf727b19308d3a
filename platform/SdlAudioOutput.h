// SdlAudioOutput: the mixer's output on SDL's default audio device. SDL's audio thread pulls
// stereo float frames from AudioMixer::Render; a device that disappears (unplugged, sound
// server gone) is reported as lost. CreateSystemSoundDevice hands the sound components the
// mixer wired to this output. The header is SDL-free.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/AudioMixer.h"

namespace platform {

class SdlAudioOutput final : public AudioOutput {
public:
    SdlAudioOutput() = default;
    ~SdlAudioOutput() override;
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    bool Start(AudioMixer& mixer) override;
    void Stop() override;
    bool Lost() override;

private:
    std::uint32_t FDevice = 0;
    bool FSubsystem = false;
};

// The game's sound device: the software mixer on SDL's audio output. Opening it fails when
// there is no audio device.
std::unique_ptr<SoundDevice> CreateSystemSoundDevice();

}  // namespace platform
