// DXSounds: device initialisation, notification of the wave lists, restore after loss, and the
// wave lists' answers (see DXSounds.h).
#include "engine/sound/DXSounds.h"

#include <algorithm>

#include "platform/Clock.h"

TCustomDXSound::TCustomDXSound(platform::SoundDevice* device) : FDevice(device) {}

void TCustomDXSound::DefineProperties(TPropertyList& list) {
    TComponent::DefineProperties(list);
    list.Boolean("AutoInitialize", AutoInitialize);
    list.Set("Options", {"soGlobalFocus", "soStickyFocus", "soExclusive"}, [this] { return std::uint64_t{Options}; },
             [this](std::uint64_t v) { Options = static_cast<TDXSoundOptions>(v); });
}

TCustomDXSound::~TCustomDXSound() {
    Notify(TDXSoundNotifyType::dsntDestroying);
    Finalize();
}

void TCustomDXSound::Initialize() {
    Finalize();
    if (FDevice == nullptr) {
        throw EDXSoundError("Form not found");
    }
    Notify(TDXSoundNotifyType::dsntInitializing);
    if (!FDevice->Open()) {
        throw EDirectSoundError(Format("%s cannot be initialized", "DirectSound"));
    }
    FPrimary = MakePrimaryBuffer();
    if (!FPrimary) {
        FDevice->Close();
        throw EDirectSoundError(Format("%s cannot be made", "Primary Buffer"));
    }
    FLastCheck = platform::GetTickCount();
    FInitialized = true;
    Notify(TDXSoundNotifyType::dsntInitialize);
    Notify(TDXSoundNotifyType::dsntRestore);
}

void TCustomDXSound::SetGroupVolume(platform::SoundGroup group, int percent) {
    if (FDevice != nullptr) {
        FDevice->SetGroupVolume(group, percent);
    }
}

void TCustomDXSound::Finalize() {
    if (FDevice == nullptr || (!FInitialized && !FDevice->IsOpen())) {
        return;
    }
    Notify(TDXSoundNotifyType::dsntFinalize);
    FPrimary.reset();
    FInitialized = false;
    FLossPending = false;
    FDevice->Close();
}

// Without sound hardware the game runs on in silence.
void TCustomDXSound::Loaded() {
    if (!AutoInitialize) {
        return;
    }
    try {
        Initialize();
    } catch (const EDirectSoundError&) {
    }
}

platform::SoundDevice& TCustomDXSound::DSound() {
    if (!FInitialized) {
        throw EDirectSoundError(Format("%s not made", "DirectSound"));
    }
    return *FDevice;
}

void TCustomDXSound::Subscribe(IDXSoundSubscriber* subscriber) {
    if (std::find(FSubscribers.begin(), FSubscribers.end(), subscriber) == FSubscribers.end()) {
        FSubscribers.push_back(subscriber);
    }
}

void TCustomDXSound::Unsubscribe(IDXSoundSubscriber* subscriber) {
    std::erase(FSubscribers, subscriber);
}

// Last subscriber first. A subscriber may unsubscribe while being told (a list detaching on
// dsntDestroying), so the index is checked on every step.
void TCustomDXSound::Notify(TDXSoundNotifyType type) {
    for (std::size_t i = FSubscribers.size(); i > 0; --i) {
        if (i <= FSubscribers.size()) {
            FSubscribers[i - 1]->DXSoundNotify(*this, type);
        }
    }
}

void TCustomDXSound::BufferLost() {
    if (!FRestoring) {
        FLossPending = true;
    }
}

void TCustomDXSound::RestorePendingLoss() noexcept {
    if (!FLossPending || FRestoring || !FInitialized) {
        return;
    }
    FLossPending = false;
    FRestoring = true;
    if (auto primary = MakePrimaryBuffer()) {
        FPrimary = std::move(primary);
    }
    Notify(TDXSoundNotifyType::dsntRestore);
    FRestoring = false;
}

void TCustomDXSound::CheckOutput() noexcept {
    if (!FInitialized) {
        return;
    }
    const std::uint32_t now = platform::GetTickCount();
    if (now - FLastCheck < OutputCheckInterval) {
        return;
    }
    FLastCheck = now;
    FPrimary->Lost();  // a lost primary reports itself, like any buffer, and the restore follows
    RestorePendingLoss();
}

std::unique_ptr<TDirectSoundBuffer> TCustomDXSound::MakePrimaryBuffer() {
    constexpr platform::WaveFormat silence{platform::WaveFormatPCM, 1, 22050, 22050, 1, 8};
    platform::SoundResult result = platform::SoundResult::Ok;
    auto buffer = FDevice->CreateBuffer(silence, 1, result);
    if (!buffer) {
        return nullptr;
    }
    return std::make_unique<TDirectSoundBuffer>(*FDevice, *this, std::move(buffer));
}

TDXWaveList::~TDXWaveList() { SetDXSound(nullptr); }

void TDXWaveList::DefineProperties(TPropertyList& list) {
    TComponent::DefineProperties(list);
    list.Reference("DXSound", FDXSoundName);
    list.Collection("Items", FItems);
}

void TDXWaveList::SetDXSound(TCustomDXSound* value) {
    if (value == FDXSound) {
        return;
    }
    if (FDXSound != nullptr) {
        FDXSound->Unsubscribe(this);
    }
    FDXSound = value;
    FDXSoundName = value != nullptr ? value->Name : std::string();
    if (FDXSound != nullptr) {
        FDXSound->Subscribe(this);
    }
    FItems.Initialize(FDXSound);
}

void TDXWaveList::DXSoundNotify(TCustomDXSound& Sender, TDXSoundNotifyType NotifyType) {
    switch (NotifyType) {
        case TDXSoundNotifyType::dsntDestroying:
            SetDXSound(nullptr);
            break;
        case TDXSoundNotifyType::dsntInitialize:
            FItems.Initialize(&Sender);
            break;
        case TDXSoundNotifyType::dsntFinalize:
            FItems.Finalize();
            break;
        case TDXSoundNotifyType::dsntRestore:
            FItems.Restore();
            break;
        case TDXSoundNotifyType::dsntInitializing:
            break;
    }
}
