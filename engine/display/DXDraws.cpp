// DXDraws: options, mode selection, the two presentation strategies, surface loss and the
// subscriber notifications of the display component.
#include "engine/display/DXDraws.h"

#include <algorithm>
#include <climits>

namespace {

constexpr TDXDrawOptions ImmediateOptions = doWaitVBlank | doStretch | doCenter;  // 0x00C8
constexpr TDXDrawOptions Bits10To14 = doDirectX7Mode | doRetainedMode | doHardware | doSelectDriver | doZBuffer;
constexpr TDXDrawOptions Bits11To14 = doRetainedMode | doHardware | doSelectDriver | doZBuffer;

bool ValidBitCount(int bitCount) {
    return bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Presentation strategies: each makes the surfaces, presents a frame and restores lost surfaces.

class TDXDrawDriver {
public:
    explicit TDXDrawDriver(TCustomDXDraw& owner) : FOwner(owner) {
        if (!owner.Device()->OpenDevice()) {
            throw EDirectDrawError(Format("%s cannot be initialized", "DirectDraw"));
        }
    }
    virtual ~TDXDrawDriver() {
        FOwner.SetBackSurface(nullptr);
        FOwner.SetPrimary(nullptr);
        FOwner.Device()->RestoreDisplayMode();
        FOwner.Device()->CloseDevice();
    }
    TDXDrawDriver(const TDXDrawDriver&) = delete;
    TDXDrawDriver& operator=(const TDXDrawDriver&) = delete;

    virtual void CreateSurfaces() = 0;
    virtual void Present(bool waitVBlank) = 0;

    bool Restore() {
        TDirectDrawSurface* primary = FOwner.Primary();
        TDirectDrawSurface* back = FOwner.Surface();
        if (primary == nullptr || back == nullptr || !primary->Restore() || !back->Restore()) {
            return false;
        }
        primary->Fill(0);
        back->Fill(0);
        return true;
    }

protected:
    // The visible surface covers the screen in its current mode.
    void CreatePrimary() {
        const int width = FOwner.Device()->ScreenWidth();
        const int height = FOwner.Device()->ScreenHeight();
        if (width <= 0 || height <= 0) {
            throw EDXDrawError(Format("%s cannot be made", "Primary Surface"));
        }
        FOwner.SetPrimary(MakeSurface(width, height));
    }

    std::unique_ptr<TDirectDrawSurface> MakeSurface(int width, int height) {
        return std::make_unique<TDirectDrawSurface>(width, height, FOwner.Device()->Layout(), FOwner.LossTracker());
    }

    void PresentBack(bool waitVBlank) {
        TDirectDrawSurface* back = FOwner.Surface();
        if (back == nullptr || back->CanvasHeld()) {
            return;
        }
        FOwner.Device()->Present(back->Buffer(), waitVBlank);
    }

    TCustomDXDraw& FOwner;
};

namespace {

// Page flipping: a primary with one back buffer of the screen's size; presenting waits for the
// vertical blank, and nothing is presented while the window is not the active one.
class TDXDrawDriverFlip final : public TDXDrawDriver {
public:
    using TDXDrawDriver::TDXDrawDriver;

    void CreateSurfaces() override {
        CreatePrimary();
        FOwner.SetBackSurface(MakeSurface(FOwner.Primary()->Width(), FOwner.Primary()->Height()));
    }

    void Present(bool) override {
        if (FOwner.Device()->IsForeground()) {
            PresentBack(true);
        }
    }
};

// One blit of the back surface per frame; waits for the vertical blank only when asked to.
class TDXDrawDriverBlt final : public TDXDrawDriver {
public:
    using TDXDrawDriver::TDXDrawDriver;

    void CreateSurfaces() override {
        CreatePrimary();
        auto back = MakeSurface(std::max(FOwner.SurfaceWidth(), 1), std::max(FOwner.SurfaceHeight(), 1));
        back->Fill(0);
        FOwner.SetBackSurface(std::move(back));
    }

    void Present(bool waitVBlank) override { PresentBack(waitVBlank); }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Display mode

void TDXDrawDisplay::DefineProperties(TPropertyList& list) {
    list.Integer("BitCount", [this] { return FBitCount; }, [this](int v) { SetBitCount(v); });
    list.Boolean("FixedBitCount", FixedBitCount);
    list.Boolean("FixedRatio", FixedRatio);
    list.Boolean("FixedSize", FixedSize);
    list.Integer("Height", [this] { return FHeight; }, [this](int v) { SetHeight(v); });
    list.Integer("Width", [this] { return FWidth; }, [this](int v) { SetWidth(v); });
}

void TDXDrawDisplay::SetBitCount(int value) {
    if (!ValidBitCount(value)) {
        throw EDirectDrawError("Display requires 8, 16, 24 or 32 bits");
    }
    FBitCount = value;
}

const std::vector<TDXDrawDisplayMode>& TDXDrawDisplay::Modes() {
    if (FModes.empty() && FDevice != nullptr) {
        for (const platform::DisplayMode& mode : FDevice->DisplayModes()) {
            FModes.push_back({mode.Width, mode.Height, mode.BitCount});
        }
        std::sort(FModes.begin(), FModes.end(), [](const TDXDrawDisplayMode& a, const TDXDrawDisplayMode& b) {
            if (a.Width != b.Width) return a.Width < b.Width;
            if (a.Height != b.Height) return a.Height < b.Height;
            return a.BitCount < b.BitCount;
        });
    }
    return FModes;
}

bool TDXDrawDisplay::TrySet(int width, int height, int bitCount) {
    if (FDevice == nullptr || !FDevice->SetDisplayMode({width, height, bitCount})) {
        return false;
    }
    FWidth = width;
    FHeight = height;
    FBitCount = bitCount;
    return true;
}

bool TDXDrawDisplay::Search(bool keepRatio) {
    const int width = FWidth;
    const int height = FHeight;
    const int bitCount = FBitCount;
    const double ratio = static_cast<double>(width) / static_cast<double>(height);
    const TDXDrawDisplayMode* best = nullptr;
    int bestWidth = INT_MAX;
    int bestHeight = INT_MAX;
    for (const TDXDrawDisplayMode& mode : Modes()) {
        if (mode.Width > bestWidth || mode.Height > bestHeight) continue;
        if (keepRatio && static_cast<double>(mode.Width) / static_cast<double>(mode.Height) != ratio) continue;
        const bool sizeFits = FixedSize ? (mode.Width == width && mode.Height == height)
                                        : (mode.Width >= width && mode.Height >= height);
        if (!sizeFits) continue;
        const bool bitsFit = FixedBitCount ? mode.BitCount == bitCount
                                           : ((mode.BitCount > 8 && bitCount > 8) || mode.BitCount >= bitCount);
        if (!bitsFit) continue;
        best = &mode;
        bestWidth = mode.Width;
        bestHeight = mode.Height;
    }
    if (best == nullptr) {
        return false;
    }
    int chosenBits = best->BitCount;
    if (chosenBits != bitCount) {
        const bool sameSizeAtWantedBits = std::any_of(Modes().begin(), Modes().end(), [&](const TDXDrawDisplayMode& m) {
            return m.Width == bestWidth && m.Height == bestHeight && m.BitCount == bitCount;
        });
        if (sameSizeAtWantedBits) chosenBits = bitCount;
    }
    return TrySet(bestWidth, bestHeight, chosenBits);
}

bool TDXDrawDisplay::SelectMode() {
    if (FWidth <= 0 || FHeight <= 0 || !ValidBitCount(FBitCount)) {
        return false;
    }
    if (TrySet(FWidth, FHeight, FBitCount)) {
        return true;
    }
    if (FixedRatio && Search(true)) {
        return true;
    }
    return Search(false);
}

// ---------------------------------------------------------------------------------------------
// Display

TCustomDXDraw::TCustomDXDraw(platform::VideoDevice* device)
    : FDevice(device), FDisplay(device), FLossTracker(std::make_shared<TSurfaceLossTracker>()) {
    DeriveEffectiveOptions();
}

void TCustomDXDraw::SetDevice(platform::VideoDevice* device) {
    FDevice = device;
    FDisplay.SetDevice(device);
}

void TCustomDXDraw::DefineProperties(TPropertyList& list) {
    TComponent::DefineProperties(list);
    list.Boolean("AutoInitialize", AutoInitialize);
    list.Boolean("AutoSize", AutoSize);
    list.Object("Display", FDisplay);
    list.Set("Options",
             {"doFullScreen", "doNoWindowChange", "doAllowReboot", "doWaitVBlank", "doAllowPalette256",
              "doSystemMemory", "doStretch", "doCenter", "doFlip", "do3D", "doDirectX7Mode", "doRetainedMode",
              "doHardware", "doSelectDriver", "doZBuffer"},
             [this] { return std::uint64_t{FOptions}; },
             [this](std::uint64_t bits) { SetOptions(static_cast<TDXDrawOptions>(bits)); });
    list.Integer("SurfaceHeight", [this] { return SurfaceHeight(); }, [this](int v) { FSurfaceHeight = v; });
    list.Integer("SurfaceWidth", [this] { return SurfaceWidth(); }, [this](int v) { FSurfaceWidth = v; });
}

void TCustomDXDraw::FormShown() {
    if (AutoInitialize && !FInitializedOnce) {
        Initialize();
    }
}

TCustomDXDraw::~TCustomDXDraw() {
    Finalize();
    Notify(TDXDrawNotifyType::dxntDestroying);
}

void TCustomDXDraw::SetOptions(TDXDrawOptions value) {
    FOptions = value;
    if (FInitialized) {
        FNowOptions = static_cast<TDXDrawOptions>((FNowOptions & ~ImmediateOptions) | (value & ImmediateOptions));
        if ((FNowOptions & do3D) == 0) {
            FNowOptions = static_cast<TDXDrawOptions>(FNowOptions & ~Bits11To14);
        }
    } else {
        DeriveEffectiveOptions();
    }
}

void TCustomDXDraw::DeriveEffectiveOptions() {
    TDXDrawOptions options = FOptions;
    if ((options & doFullScreen) == 0) {
        options &= static_cast<TDXDrawOptions>(~(doNoWindowChange | doAllowReboot | doAllowPalette256 | doFlip));
    }
    if ((options & do3D) == 0) {
        options &= static_cast<TDXDrawOptions>(~Bits10To14);
    }
    if ((options & doSystemMemory) != 0) {
        options &= static_cast<TDXDrawOptions>(~doFlip);
    }
    if ((options & doDirectX7Mode) != 0) {
        options &= static_cast<TDXDrawOptions>(~doRetainedMode);
    }
    options &= static_cast<TDXDrawOptions>(~doHardware);
    FNowOptions = options;
}

int TCustomDXDraw::SurfaceWidth() const {
    return FSurface ? FSurface->Width() : FSurfaceWidth;
}

int TCustomDXDraw::SurfaceHeight() const {
    return FSurface ? FSurface->Height() : FSurfaceHeight;
}

void TCustomDXDraw::SetPrimary(std::unique_ptr<TDirectDrawSurface> primary) {
    FPrimary = std::move(primary);
}

void TCustomDXDraw::SetBackSurface(std::unique_ptr<TDirectDrawSurface> surface) {
    FSurface = std::move(surface);
}

void TCustomDXDraw::Initialize() {
    FInitializedOnce = true;
    Finalize();
    if (FDevice == nullptr) {
        throw EDXDrawError("Form not found");
    }
    try {
        if (OnInitializing) OnInitializing(*this);
        FUpdating = true;
        FInternalInitialized = true;
        Notify(TDXDrawNotifyType::dxntInitializing);
        if ((FNowOptions & doFlip) != 0) {
            FDriver = std::make_unique<TDXDrawDriverFlip>(*this);
        } else {
            FDriver = std::make_unique<TDXDrawDriverBlt>(*this);
        }
        FSeenResets = FDevice->ResetCount();
        if ((FNowOptions & doFullScreen) != 0 && !FDisplay.SelectMode()) {
            throw EDXDrawError(Format("Display mode cannot be changed (%dx%d %dbit)", FDisplay.Width(),
                                      FDisplay.Height(), FDisplay.BitCount()));
        }
        if (AutoSize) {
            FSurfaceWidth = FDevice->ClientWidth();
            FSurfaceHeight = FDevice->ClientHeight();
        }
        FDriver->CreateSurfaces();
        FUpdating = false;
        FInitialized = true;
    } catch (...) {
        Finalize();
        throw;
    }

    FCalledNotifyInitialize = true;
    Notify(TDXDrawNotifyType::dxntSetSurfaceSize);
    Notify(TDXDrawNotifyType::dxntInitialize);
    FInitializeEventCalled = true;
    if (OnInitialize) OnInitialize(*this);
    Notify(TDXDrawNotifyType::dxntInitializeSurface);
    FSurfaceEventCalled = true;
    if (OnInitializeSurface) OnInitializeSurface(*this);
    FCalledNotifyInitialize = false;

    Restore();
}

void TCustomDXDraw::Finalize() {
    if (!FInternalInitialized) {
        return;
    }
    FSurfaceWidth = SurfaceWidth();
    FSurfaceHeight = SurfaceHeight();
    FDisplay.ClearModes();
    FUpdating = true;
    const auto tearDown = [this] {
        FInternalInitialized = false;
        FInitialized = false;
        DeriveEffectiveOptions();
        FDriver.reset();
        FUpdating = false;
    };
    try {
        if (FSurfaceEventCalled) {
            FSurfaceEventCalled = false;
            if (OnFinalizeSurface) OnFinalizeSurface(*this);
        }
        Notify(TDXDrawNotifyType::dxntFinalizeSurface);
        if (FInitializeEventCalled) {
            FInitializeEventCalled = false;
            if (OnFinalize) OnFinalize(*this);
        }
        Notify(TDXDrawNotifyType::dxntFinalize);
    } catch (...) {
        tearDown();
        throw;
    }
    tearDown();
}

void TCustomDXDraw::NoticeDeviceReset() {
    if (FDevice != nullptr && FDevice->ResetCount() != FSeenResets) {
        FSeenResets = FDevice->ResetCount();
        ++FLossTracker->Generation;
    }
}

bool TCustomDXDraw::CheckSurfaces() {
    if (!FInitialized || FUpdating || !FPrimary) {
        return false;
    }
    NoticeDeviceReset();
    const auto intact = [this] { return !FPrimary->IsLost() && FSurface && !FSurface->IsLost(); };
    if (intact()) {
        return true;
    }
    Restore();
    return intact();
}

bool TCustomDXDraw::CanDraw() {
    return FInitialized && !FUpdating && FSurface && CheckSurfaces();
}

void TCustomDXDraw::Flip() {
    if (FInitialized && !FUpdating && CheckSurfaces()) {
        FDriver->Present((FNowOptions & doWaitVBlank) != 0);
    }
}

void TCustomDXDraw::Repaint() {
    const TDXDrawOptions saved = FNowOptions;
    FNowOptions = static_cast<TDXDrawOptions>(FNowOptions & ~doWaitVBlank);
    Flip();
    FNowOptions = static_cast<TDXDrawOptions>((FNowOptions & ~doWaitVBlank) | (saved & doWaitVBlank));
}

void TCustomDXDraw::Restore() {
    if (!FInitialized || FUpdating) {
        return;
    }
    // Still updating while the subscribers re-upload and the event runs, so nothing they do
    // draws or presents a half-restored frame.
    FUpdating = true;
    try {
        if (FDriver->Restore()) {
            Notify(TDXDrawNotifyType::dxntRestore);
            if (OnRestoreSurface) OnRestoreSurface(*this);
        }
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

std::unique_ptr<TDirectDrawSurface> TCustomDXDraw::CreateSurface(int width, int height, bool systemMemory) {
    if (!FDriver || width <= 0 || height <= 0) {
        throw EDirectDrawSurfaceError(Format("%s cannot be made", "Surface"));
    }
    auto surface = std::make_unique<TDirectDrawSurface>(width, height, FDevice->Layout(), FLossTracker);
    surface->SetSystemMemory(systemMemory);
    return surface;
}

void TCustomDXDraw::Subscribe(IDXDrawSubscriber* subscriber) {
    std::erase(FSubscribers, subscriber);
    FSubscribers.push_back(subscriber);
    subscriber->DXDrawNotify(*this, TDXDrawNotifyType::dxntSetSurfaceSize);
    if (FInitialized) {
        subscriber->DXDrawNotify(*this, TDXDrawNotifyType::dxntInitialize);
        if (FSurfaceEventCalled) {
            subscriber->DXDrawNotify(*this, TDXDrawNotifyType::dxntInitializeSurface);
        }
        if (!FCalledNotifyInitialize) {
            subscriber->DXDrawNotify(*this, TDXDrawNotifyType::dxntRestore);
        }
    }
}

void TCustomDXDraw::Unsubscribe(IDXDrawSubscriber* subscriber) {
    const auto found = std::find(FSubscribers.begin(), FSubscribers.end(), subscriber);
    if (found == FSubscribers.end()) {
        return;
    }
    FSubscribers.erase(found);
    if (FSurfaceEventCalled) {
        subscriber->DXDrawNotify(*this, TDXDrawNotifyType::dxntFinalizeSurface);
    }
    if (FInitialized) {
        subscriber->DXDrawNotify(*this, TDXDrawNotifyType::dxntFinalize);
    }
}

void TCustomDXDraw::Notify(TDXDrawNotifyType type) {
    // Last subscriber first; a subscriber may leave the list while being notified.
    for (std::size_t i = FSubscribers.size(); i > 0; --i) {
        if (i - 1 < FSubscribers.size()) {
            FSubscribers[i - 1]->DXDrawNotify(*this, type);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Link of a dependent component

void TDXDrawLink::Set(TCustomDXDraw* display) {
    if (display == FDXDraw) {
        return;
    }
    if (FDXDraw != nullptr) {
        TCustomDXDraw* old = FDXDraw;
        FDXDraw = nullptr;
        old->Unsubscribe(&FSubscriber);
    }
    FDXDraw = display;
    Name = display != nullptr ? display->Name : std::string();
    if (FDXDraw != nullptr) {
        FDXDraw->Subscribe(&FSubscriber);
    }
}
