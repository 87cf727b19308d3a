// DXSounds: the sound output component and the wave list component. TDXSound opens the
// platform's sound device and tells the wave lists bound to it when it initialises, finalises
// or must restore its buffers after the device was lost; TDXWaveList holds one list of sounds
// loaded from a sound file. Depends on the platform's SoundDevice interface and the wave
// collection.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/assets/Classes.h"
#include "engine/sound/DirectSoundBuffer.h"
#include "engine/assets/Persistent.h"
#include "engine/sound/WaveCollection.h"
#include "platform/SoundDevice.h"

ZARVOTH_DECLARE_EXCEPTION(EDXSoundError, Exception);
ZARVOTH_DECLARE_EXCEPTION(EDirectSoundError, Exception);

// The device options, bit 0 first. The software mixer has no focus or exclusive modes, so
// they are kept for the form description only.
using TDXSoundOptions = std::uint8_t;
enum TDXSoundOption : TDXSoundOptions {
    soGlobalFocus = 1 << 0,
    soStickyFocus = 1 << 1,
    soExclusive = 1 << 2,
};

enum class TDXSoundNotifyType {
    dsntDestroying,
    dsntInitializing,
    dsntInitialize,
    dsntFinalize,
    dsntRestore,
};

class TCustomDXSound;

class IDXSoundSubscriber {
public:
    // dsntRestore comes in the middle of the sound operation that found the loss and must
    // raise nothing.
    virtual void DXSoundNotify(TCustomDXSound& Sender, TDXSoundNotifyType NotifyType) = 0;

protected:
    ~IDXSoundSubscriber() = default;
};

class TCustomDXSound : public TComponent, public IBufferLossListener {
public:
    // The device stands for the owning form's sound; without one, Initialize raises
    // "Form not found".
    explicit TCustomDXSound(platform::SoundDevice* device = nullptr);
    ~TCustomDXSound() override;

    // AutoInitialize, Options.
    void DefineProperties(TPropertyList& list) override;
    TCustomDXSound(const TCustomDXSound&) = delete;
    TCustomDXSound& operator=(const TCustomDXSound&) = delete;

    // Opens the device and sets up the subscribers' sounds. Raises "DirectSound cannot be
    // initialized" when there is no audio output.
    void Initialize();
    void Finalize();
    // Called once the form has given the component its settings: initialises when
    // AutoInitialize is set, and stays silent when the device cannot be opened.
    void Loaded() override;

    bool Initialized() const { return FInitialized; }
    bool AutoInitialize = true;
    TDXSoundOptions Options = 0;

    // The open device; raises "DirectSound not made" before initialisation.
    platform::SoundDevice& DSound();
    // The player's volume of a group of sounds in percent (0..100), applied by the device after
    // each sound's own volume and pan; kept while the device is closed.
    void SetGroupVolume(platform::SoundGroup group, int percent);

    void Subscribe(IDXSoundSubscriber* subscriber);
    void Unsubscribe(IDXSoundSubscriber* subscriber);

    // A buffer found the device lost: the subscribers restore their sounds once the current
    // sound operation is over (RestorePendingLoss). Losses met during that restore are ignored.
    void BufferLost() override;
    void RestorePendingLoss() noexcept;

    // Called every frame: looks at the primary buffer at most every OutputCheckInterval
    // milliseconds, so an output that went away, or came back after a while away, is restored
    // without waiting for a sound to be played.
    void CheckOutput() noexcept;
    static constexpr std::uint32_t OutputCheckInterval = 250;

private:
    void Notify(TDXSoundNotifyType type);
    // The device's own output stands for the primary buffer: a one-byte silent buffer never
    // played, made before the sounds on each restore, so it is lost whenever they are.
    std::unique_ptr<TDirectSoundBuffer> MakePrimaryBuffer();

    platform::SoundDevice* FDevice;
    std::unique_ptr<TDirectSoundBuffer> FPrimary;
    std::uint32_t FLastCheck = 0;
    bool FInitialized = false;
    bool FLossPending = false;
    bool FRestoring = false;
    std::vector<IDXSoundSubscriber*> FSubscribers;
};

class TDXSound : public TCustomDXSound {
public:
    using TCustomDXSound::TCustomDXSound;
    std::string ClassName() const override { return "TDXSound"; }
};

// A list of sounds bound to a sound device: its items are set up when the device initialises
// and released when it finalises. The device must outlive the list or be unbound first; a
// device being destroyed unbinds its lists itself.
class TDXWaveList : public TComponent, public IDXSoundSubscriber {
public:
    TDXWaveList() = default;
    ~TDXWaveList() override;

    std::string ClassName() const override { return "TDXWaveList"; }
    // DXSound (the name of the sound component, bound by the owner once the form is read), Items.
    void DefineProperties(TPropertyList& list) override;
    const std::string& DXSoundName() const { return FDXSoundName; }
    TDXWaveList(const TDXWaveList&) = delete;
    TDXWaveList& operator=(const TDXWaveList&) = delete;

    TCustomDXSound* DXSound() const { return FDXSound; }
    // Binding to an initialised device sets the items up at once; nullptr unbinds.
    void SetDXSound(TCustomDXSound* value);

    TWaveCollection& Items() { return FItems; }

    void DXSoundNotify(TCustomDXSound& Sender, TDXSoundNotifyType NotifyType) override;

private:
    TCustomDXSound* FDXSound = nullptr;
    std::string FDXSoundName;
    TWaveCollection FItems;
};
