// AudioMixer: buffers, their lock against the output thread, device loss and the retries to get
// the output back, and the mix loop (see AudioMixer.h).
#include "platform/AudioMixer.h"

#include <algorithm>
#include <utility>

#include "platform/Clock.h"

namespace platform {

// A SoundBuffer of the mixer. Its voice is touched only under the mixer's lock, since the
// output thread mixes it. A buffer made before the device was lost reports BufferLost until
// it is restored.
class MixerBuffer final : public SoundBuffer {
public:
    MixerBuffer(AudioMixer& mixer, std::shared_ptr<SampleStore> samples)
        : FMixer(mixer), FVoice(std::move(samples), mixer.OutputRate()), FGeneration(mixer.LossGeneration()) {}

    ~MixerBuffer() override {
        const std::lock_guard guard(FMixer.FLock);
        FMixer.Deactivate(&FVoice);
    }

    MixerBuffer(const MixerBuffer&) = delete;
    MixerBuffer& operator=(const MixerBuffer&) = delete;

    std::unique_ptr<SoundBuffer> Duplicate(SoundResult& result) override {
        result = CheckLost();
        if (result != SoundResult::Ok) {
            return nullptr;
        }
        auto copy = std::make_unique<MixerBuffer>(FMixer, FVoice.Samples());
        const std::lock_guard guard(FMixer.FLock);
        copy->FVoice.SetFrequency(FVoice.Frequency());
        copy->FVoice.SetPan(FVoice.Pan());
        copy->FVoice.SetVolume(FVoice.Volume());
        copy->FVoice.SetGroup(FVoice.Group());
        return copy;
    }

    // The caller writes into a private copy; Unlock swaps it in under the lock, so the output
    // thread never reads half-written samples. Only the game's thread swaps the bytes, which
    // makes reading them here without the lock safe.
    SoundResult Lock(std::span<std::uint8_t>& bytes) override {
        const SoundResult result = CheckLost();
        if (result != SoundResult::Ok) {
            return result;
        }
        if (FLocked) {
            return SoundResult::InvalidCall;
        }
        FStaging = FVoice.Samples()->Bytes;
        FLocked = true;
        bytes = std::span<std::uint8_t>(FStaging);
        return SoundResult::Ok;
    }

    SoundResult Unlock() override {
        if (!FLocked) {
            return SoundResult::InvalidCall;
        }
        {
            const std::lock_guard guard(FMixer.FLock);
            FVoice.Samples()->Bytes.swap(FStaging);
        }
        std::vector<std::uint8_t>().swap(FStaging);
        FLocked = false;
        return SoundResult::Ok;
    }

    // While the output is away nothing is mixed, so a sound started then would never end (and
    // every effect would take another duplicate): it ends at once instead.
    SoundResult Play(bool looping) override {
        return Guarded([&] {
            if (FMixer.FOutputDown) {
                FVoice.Halt();
                return true;
            }
            FVoice.Start(looping);
            FMixer.Activate(&FVoice);
            return true;
        });
    }

    SoundResult Stop() override {
        return Guarded([&] {
            FVoice.Halt();
            FMixer.Deactivate(&FVoice);
            return true;
        });
    }

    SoundResult GetCurrentPosition(std::uint32_t& position) override {
        return Guarded([&] {
            position = FVoice.BytePosition();
            return true;
        });
    }

    SoundResult SetCurrentPosition(std::uint32_t position) override {
        return Guarded([&] { return FVoice.SetBytePosition(position); });
    }

    SoundResult SetFrequency(std::uint32_t frequency) override {
        return Guarded([&] { return FVoice.SetFrequency(frequency); });
    }

    SoundResult SetPan(int pan) override {
        return Guarded([&] { return FVoice.SetPan(pan); });
    }

    SoundResult SetVolume(int volume) override {
        return Guarded([&] { return FVoice.SetVolume(volume); });
    }

    SoundResult GetStatus(std::uint32_t& status) override {
        status = SoundStatusLost;
        return Guarded([&] {
            status = 0;
            if (FVoice.Playing()) {
                status = SoundStatusPlaying | (FVoice.Looping() ? SoundStatusLooping : 0);
            }
            return true;
        });
    }

    SoundResult SetGroup(SoundGroup group) override {
        return Guarded([&] {
            FVoice.SetGroup(group);
            return true;
        });
    }

    SoundResult Restore() override {
        FMixer.NoticeLoss();
        if (!FMixer.IsLost(FGeneration)) {
            return SoundResult::Ok;
        }
        if (!FMixer.RegainOutput()) {
            return SoundResult::BufferLost;
        }
        FGeneration = FMixer.LossGeneration();
        return SoundResult::Ok;
    }

private:
    SoundResult CheckLost() {
        FMixer.NoticeLoss();
        FMixer.RetryOutput();
        return FMixer.IsLost(FGeneration) ? SoundResult::BufferLost : SoundResult::Ok;
    }

    // Runs a voice operation under the mixer's lock; a false answer means the value was refused.
    template <typename Operation>
    SoundResult Guarded(Operation operation) {
        const SoundResult result = CheckLost();
        if (result != SoundResult::Ok) {
            return result;
        }
        const std::lock_guard guard(FMixer.FLock);
        return operation() ? SoundResult::Ok : SoundResult::InvalidParam;
    }

    AudioMixer& FMixer;
    MixerVoice FVoice;
    std::uint32_t FGeneration;
    std::vector<std::uint8_t> FStaging;
    bool FLocked = false;
};

namespace {
// Room for this many voices at once before the game's thread has to grow the list.
constexpr std::size_t InitialVoiceRoom = 64;
// While the output stays away it is tried again at most this often: opening a device can take
// a while, and the game's frames must not wait for it each time.
constexpr std::uint32_t RetryIntervalMs = 250;
}  // namespace

AudioMixer::AudioMixer(std::unique_ptr<AudioOutput> output, std::uint32_t outputRate)
    : FOutput(std::move(output)), FOutputRate(outputRate), FLimiter(outputRate) {
    FActive.reserve(InitialVoiceRoom);
}

AudioMixer::~AudioMixer() { Close(); }

bool AudioMixer::Open() {
    if (FOpen) {
        return true;
    }
    FLimiter.Reset();
    if (!FOutput || !FOutput->Start(*this)) {
        return false;
    }
    FOpen = true;
    FOutputDown = false;
    return true;
}

// The output is stopped outside the lock: its thread may be waiting for the lock in Render.
void AudioMixer::Close() {
    if (!FOpen) {
        return;
    }
    FOutput->Stop();
    const std::lock_guard guard(FLock);
    for (MixerVoice* voice : FActive) {
        voice->Halt();
    }
    FActive.clear();
    FOpen = false;
}

std::unique_ptr<SoundBuffer> AudioMixer::CreateBuffer(const WaveFormat& format, std::size_t byteCount,
                                                      SoundResult& result) {
    if (!FOpen) {
        result = SoundResult::NoDevice;
        return nullptr;
    }
    if (!IsPlayableFormat(format)) {
        result = SoundResult::BadFormat;
        return nullptr;
    }
    if (byteCount == 0) {
        result = SoundResult::InvalidParam;
        return nullptr;
    }
    NoticeLoss();
    RetryOutput();
    auto samples = std::make_shared<SampleStore>();
    samples->Format = format;
    samples->Bytes.assign(byteCount, format.BitsPerSample == 8 ? std::uint8_t{128} : std::uint8_t{0});
    result = SoundResult::Ok;
    return std::make_unique<MixerBuffer>(*this, std::move(samples));
}

void AudioMixer::SetGroupVolume(SoundGroup group, int percent) {
    const std::lock_guard guard(FLock);
    FGroupGains[static_cast<std::size_t>(group)] = GroupVolumeGain(percent);
}

// A lost device silences every voice and makes every existing buffer report BufferLost.
void AudioMixer::NoticeLoss() {
    if (!FOpen || FOutputDown || !FOutput->Lost()) {
        return;
    }
    FOutputDown = true;
    FRetryDue = true;
    ++FLossGeneration;
    const std::lock_guard guard(FLock);
    for (MixerVoice* voice : FActive) {
        voice->Halt();
    }
    FActive.clear();
}

// Buffers made while the output was away report BufferLost once it is back, so the sound
// components restore everything once on the live output.
bool AudioMixer::RegainOutput() {
    if (!FOutputDown) {
        return true;
    }
    FLastAttempt = GetTickCount();
    FRetryDue = false;
    FOutput->Stop();
    if (!FOutput->Start(*this)) {
        return false;
    }
    FOutputDown = false;
    ++FLossGeneration;
    return true;
}

// The first attempt comes at once; later ones wait for the retry interval.
void AudioMixer::RetryOutput() {
    if (FOutputDown && (FRetryDue || GetTickCount() - FLastAttempt >= RetryIntervalMs)) {
        RegainOutput();
    }
}

void AudioMixer::Activate(MixerVoice* voice) {
    if (std::find(FActive.begin(), FActive.end(), voice) == FActive.end()) {
        FActive.push_back(voice);
    }
}

void AudioMixer::Deactivate(MixerVoice* voice) {
    const auto found = std::find(FActive.begin(), FActive.end(), voice);
    if (found != FActive.end()) {
        *found = FActive.back();
        FActive.pop_back();
    }
}

void AudioMixer::Render(float* out, std::size_t frames) {
    Mix(out, frames);
    FLimiter.Process(out, frames);
}

void AudioMixer::Mix(float* out, std::size_t frames) {
    std::fill(out, out + 2 * frames, 0.0f);
    const std::lock_guard guard(FLock);
    for (std::size_t i = 0; i < FActive.size();) {
        MixerVoice* voice = FActive[i];
        voice->MixInto(out, frames, FGroupGains[static_cast<std::size_t>(voice->Group())]);
        if (voice->Playing()) {
            ++i;
        } else {
            FActive[i] = FActive.back();
            FActive.pop_back();
        }
    }
}

std::size_t AudioMixer::PlayingCount() {
    const std::lock_guard guard(FLock);
    return FActive.size();
}

}  // namespace platform
