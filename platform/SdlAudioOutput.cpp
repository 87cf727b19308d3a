// SdlAudioOutput: SDL audio device feeding on the mixer (see SdlAudioOutput.h).
#include "platform/SdlAudioOutput.h"

#include <SDL.h>

namespace platform {
namespace {

// About 23 ms at 44.1 kHz: short enough for effects to start promptly.
constexpr Uint16 CallbackFrames = 1024;

void PullFromMixer(void* mixer, Uint8* stream, int length) {
    const auto frames = static_cast<std::size_t>(length) / (2 * sizeof(float));
    static_cast<AudioMixer*>(mixer)->Render(reinterpret_cast<float*>(stream), frames);
}

}  // namespace

SdlAudioOutput::~SdlAudioOutput() { Stop(); }

// SDL converts the mixer's float stereo to whatever the device wants. Each start brings the
// audio subsystem up afresh (a sound server that went away needs a new connection); when no
// device opens it stays up until the next stop, because quitting it waits for SDL's device
// watcher (up to a tenth of a second with ALSA), which must not hold up the program's start.
bool SdlAudioOutput::Start(AudioMixer& mixer) {
    Stop();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    FSubsystem = true;
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(mixer.OutputRate());
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = CallbackFrames;
    wanted.callback = PullFromMixer;
    wanted.userdata = &mixer;
    SDL_AudioSpec obtained{};
    FDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (FDevice == 0) {
        return false;
    }
    SDL_PauseAudioDevice(FDevice, 0);
    return true;
}

void SdlAudioOutput::Stop() {
    if (FDevice != 0) {
        SDL_CloseAudioDevice(FDevice);
        FDevice = 0;
    }
    if (FSubsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        FSubsystem = false;
    }
}

// SDL marks a device that went away as stopped; an open, running device reports playing.
bool SdlAudioOutput::Lost() {
    return FDevice != 0 && SDL_GetAudioDeviceStatus(FDevice) == SDL_AUDIO_STOPPED;
}

std::unique_ptr<SoundDevice> CreateSystemSoundDevice() {
    return std::make_unique<AudioMixer>(std::make_unique<SdlAudioOutput>());
}

}  // namespace platform
