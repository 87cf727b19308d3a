// WavePlayback: choosing, starting and stopping a sound item's buffers (see WavePlayback.h).
#include "engine/sound/WavePlayback.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/sound/DXSounds.h"

void TWavePlayback::Setup(TCustomDXSound* sound, std::span<const std::uint8_t> formatRecord,
                          std::span<const std::uint8_t> samples) {
    Release();
    FInitialized = sound != nullptr && sound->Initialized();
    if (!FInitialized) {
        return;
    }
    FSound = sound;
    FMaster = std::make_unique<TDirectSoundBuffer>(sound->DSound(), *sound);
    if (samples.empty()) {
        return;
    }
    FMaster->LoadFromWave(formatRecord, samples);
    FMaster->SetFrequency(FFrequency);
    FMaster->SetPan(FPan);
    FMaster->SetVolume(FVolume);
    FMaster->SetGroup(FGroup);
}

void TWavePlayback::Restore(TCustomDXSound* sound, std::span<const std::uint8_t> formatRecord,
                            std::span<const std::uint8_t> samples) noexcept {
    const bool resume = FLoopPlaying;
    try {
        Setup(sound, formatRecord, samples);
        if (resume) {
            StartLooped();
        }
    } catch (const EDirectSoundBufferError&) {
        FLoopPlaying = resume && FInitialized;
    }
}

void TWavePlayback::Release() noexcept {
    FPlayBuffers.clear();
    FMaster.reset();
    FSound = nullptr;
    FInitialized = false;
    FLoopPlaying = false;
}

// A lost buffer found during the operation restores every item once it is over, so no buffer
// in use here is released under its feet.
void TWavePlayback::FinishOperation() noexcept {
    if (FSound != nullptr) {
        FSound->RestorePendingLoss();
    }
}

// First idle buffer; else a new duplicate while the limit allows; else the oldest, moved to the
// end of the list (its sound is cut off).
TDirectSoundBuffer* TWavePlayback::ChoosePlayBuffer(int maxPlayingCount) {
    for (const auto& buffer : FPlayBuffers) {
        if (!buffer->Playing()) {
            return buffer.get();
        }
    }
    if (maxPlayingCount == 0 || static_cast<int>(FPlayBuffers.size()) < maxPlayingCount) {
        auto duplicate = FMaster->Duplicate();
        if (!duplicate) {
            return nullptr;
        }
        FPlayBuffers.push_back(std::move(duplicate));
    } else {
        std::rotate(FPlayBuffers.begin(), FPlayBuffers.begin() + 1, FPlayBuffers.end());
    }
    return FPlayBuffers.back().get();
}

void TWavePlayback::StartSound(bool looped, int maxPlayingCount, bool wait) {
    if (!FInitialized) {
        return;
    }
    TDirectSoundBuffer* buffer = looped ? StartLooped() : StartOnce(maxPlayingCount);
    while (wait && buffer != nullptr && buffer->Playing()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    FinishOperation();
}

// From the master, restarted from the beginning; it never overlaps itself.
TDirectSoundBuffer* TWavePlayback::StartLooped() {
    if (!FInitialized || !FMaster->HasBuffer()) {
        return nullptr;
    }
    FLoopPlaying = true;
    FMaster->Stop();
    FMaster->SetPosition(0);
    FMaster->Play(true);
    return FMaster.get();
}

TDirectSoundBuffer* TWavePlayback::StartOnce(int maxPlayingCount) {
    TDirectSoundBuffer* buffer = ChoosePlayBuffer(maxPlayingCount);
    if (buffer != nullptr) {
        buffer->Stop();
        buffer->SetPosition(0);
        buffer->SetFrequency(FFrequency);
        buffer->SetPan(FPan);
        buffer->SetVolume(FVolume);
        buffer->SetGroup(FGroup);
        buffer->Play(false);
    }
    return buffer;
}

void TWavePlayback::StopSound() noexcept {
    FLoopPlaying = false;
    if (!FInitialized) {
        return;
    }
    if (FMaster->HasBuffer()) {
        FMaster->Stop();
    }
    for (const auto& buffer : FPlayBuffers) {
        buffer->Stop();
    }
    FinishOperation();
}

template <typename Apply>
void TWavePlayback::ApplyToMaster(Apply apply) {
    if (FInitialized && FMaster->HasBuffer()) {
        apply(*FMaster);
        FinishOperation();
    }
}

void TWavePlayback::SetFrequency(int value) {
    FFrequency = value;
    ApplyToMaster([value](TDirectSoundBuffer& master) { master.SetFrequency(value); });
}

void TWavePlayback::SetPan(int value) {
    FPan = value;
    ApplyToMaster([value](TDirectSoundBuffer& master) { master.SetPan(value); });
}

void TWavePlayback::SetVolume(int value) {
    FVolume = value;
    ApplyToMaster([value](TDirectSoundBuffer& master) { master.SetVolume(value); });
}

void TWavePlayback::SetGroup(platform::SoundGroup value) {
    FGroup = value;
    ApplyToMaster([value](TDirectSoundBuffer& master) { master.SetGroup(value); });
}
