// DXSounds: device initialisation, notification of the wave lists, restore after loss, and the
// wave lists' answers (see DXSounds.h).
#include "engine/sound/DXSounds.h"

#include <algorithm>

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
    FInitialized = true;
    Notify(TDXSoundNotifyType::dsntInitialize);
    Notify(TDXSoundNotifyType::dsntRestore);
}

void TCustomDXSound::Finalize() {
    if (FDevice == nullptr || (!FInitialized && !FDevice->IsOpen())) {
        return;
    }
    Notify(TDXSoundNotifyType::dsntFinalize);
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

void TCustomDXSound::RestorePendingLoss() {
    if (!FLossPending || FRestoring || !FInitialized) {
        return;
    }
    FLossPending = false;
    FRestoring = true;
    try {
        Notify(TDXSoundNotifyType::dsntRestore);
    } catch (...) {
        FRestoring = false;
        throw;
    }
    FRestoring = false;
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
