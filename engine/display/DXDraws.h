// DXDraws: the full-screen display component. It owns the visible surface and the back surface
// everything is drawn into, chooses the display mode, presents frames by page flipping or by
// one blit, notices when the device took its surfaces away and rebuilds them, and tells its
// subscribers (image lists, sprite engines) about every change. Depends on the surface class
// and the platform's video device.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/assets/Classes.h"
#include "engine/display/DirectDrawSurface.h"
#include "engine/assets/Persistent.h"
#include "platform/VideoDevice.h"

ZARVOTH_DECLARE_EXCEPTION(EDXDrawError, Exception);
ZARVOTH_DECLARE_EXCEPTION(EDirectDrawError, Exception);

// Display options, bit 0 first; the set is stored in 16 bits.
using TDXDrawOptions = std::uint16_t;
enum TDXDrawOption : TDXDrawOptions {
    doFullScreen = 1 << 0,
    doNoWindowChange = 1 << 1,
    doAllowReboot = 1 << 2,
    doWaitVBlank = 1 << 3,
    doAllowPalette256 = 1 << 4,
    doSystemMemory = 1 << 5,
    doStretch = 1 << 6,
    doCenter = 1 << 7,
    doFlip = 1 << 8,
    do3D = 1 << 9,
    doDirectX7Mode = 1 << 10,
    doRetainedMode = 1 << 11,
    doHardware = 1 << 12,
    doSelectDriver = 1 << 13,
    doZBuffer = 1 << 14,
};

// The notifications subscribers receive, in this order of kinds.
enum class TDXDrawNotifyType {
    dxntDestroying,
    dxntInitializing,
    dxntInitialize,
    dxntInitializeSurface,
    dxntFinalize,
    dxntFinalizeSurface,
    dxntRestore,
    dxntSetSurfaceSize,
};

class TCustomDXDraw;

class IDXDrawSubscriber {
public:
    virtual void DXDrawNotify(TCustomDXDraw& Sender, TDXDrawNotifyType NotifyType) = 0;

protected:
    ~IDXDrawSubscriber() = default;
};

struct TDXDrawDisplayMode {
    int Width = 0;
    int Height = 0;
    int BitCount = 0;
};

// The display mode the display asks for, and the mode search over the device's list.
class TDXDrawDisplay : public TPersistent {
public:
    explicit TDXDrawDisplay(platform::VideoDevice* device = nullptr) : FDevice(device) {}
    void SetDevice(platform::VideoDevice* device) { FDevice = device; }

    std::string ClassName() const override { return "TDXDrawDisplay"; }
    void DefineProperties(TPropertyList& list) override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int BitCount() const { return FBitCount; }
    void SetWidth(int value) { FWidth = value < 0 ? 0 : value; }
    void SetHeight(int value) { FHeight = value < 0 ? 0 : value; }
    // Only 8, 16, 24 or 32; anything else raises "Display requires 8, 16, 24 or 32 bits".
    void SetBitCount(int value);

    bool FixedBitCount = true;
    bool FixedRatio = true;
    bool FixedSize = false;

    // The device's modes, read on first use and sorted by width, height, bit count.
    const std::vector<TDXDrawDisplayMode>& Modes();
    void ClearModes() { FModes.clear(); }

    // Selects and sets the mode for (Width, Height, BitCount); false when none fits.
    bool SelectMode();

private:
    bool TrySet(int width, int height, int bitCount);
    bool Search(bool keepRatio);

    platform::VideoDevice* FDevice;
    int FWidth = 640;
    int FHeight = 480;
    int FBitCount = 8;
    std::vector<TDXDrawDisplayMode> FModes;
};

class TDXDrawDriver;

class TCustomDXDraw : public TComponent {
public:
    // The device stands for the owning form's window; without one, Initialize raises "Form not found".
    explicit TCustomDXDraw(platform::VideoDevice* device = nullptr);
    ~TCustomDXDraw() override;
    void SetDevice(platform::VideoDevice* device);

    // AutoInitialize, AutoSize, Display, Options, SurfaceHeight, SurfaceWidth.
    void DefineProperties(TPropertyList& list) override;
    // The owning form was shown for the first time: initialize unless that happened already.
    void FormShown();
    TCustomDXDraw(const TCustomDXDraw&) = delete;
    TCustomDXDraw& operator=(const TCustomDXDraw&) = delete;

    void Initialize();
    void Finalize();
    bool CanDraw();
    void Flip();
    void Restore();
    bool CheckSurfaces();
    // The platform asked for a repaint: one flip without waiting for the vertical blank.
    void Repaint();

    TDXDrawOptions Options() const { return FOptions; }
    void SetOptions(TDXDrawOptions value);
    TDXDrawOptions EffectiveOptions() const { return FNowOptions; }

    TDXDrawDisplay& Display() { return FDisplay; }
    bool Initialized() const { return FInitialized; }
    bool AutoInitialize = true;
    bool AutoSize = true;

    int SurfaceWidth() const;
    int SurfaceHeight() const;
    void SetSurfaceWidth(int value) { FSurfaceWidth = value; }
    void SetSurfaceHeight(int value) { FSurfaceHeight = value; }

    TDirectDrawSurface* Surface() const { return FSurface.get(); }
    TDirectDrawSurface* Primary() const { return FPrimary.get(); }
    platform::VideoDevice* Device() const { return FDevice; }

    // An off-screen surface on this display (image lists build their pictures into these).
    // Raises "%s cannot be made" with "Surface" when the display has no device object.
    std::unique_ptr<TDirectDrawSurface> CreateSurface(int width, int height, bool systemMemory);

    void Subscribe(IDXDrawSubscriber* subscriber);
    void Unsubscribe(IDXDrawSubscriber* subscriber);

    using TNotifyEvent = std::function<void(TCustomDXDraw& Sender)>;
    TNotifyEvent OnInitializing;
    TNotifyEvent OnInitialize;
    TNotifyEvent OnInitializeSurface;
    TNotifyEvent OnFinalize;
    TNotifyEvent OnFinalizeSurface;
    TNotifyEvent OnRestoreSurface;

    // Called by the presentation strategies.
    void AddEffectiveOption(TDXDrawOptions option) { FNowOptions = static_cast<TDXDrawOptions>(FNowOptions | option); }
    void SetPrimary(std::unique_ptr<TDirectDrawSurface> primary);
    void SetBackSurface(std::unique_ptr<TDirectDrawSurface> surface);
    std::shared_ptr<TSurfaceLossTracker> LossTracker() const { return FLossTracker; }

private:
    void Notify(TDXDrawNotifyType type);
    void DeriveEffectiveOptions();
    void NoticeDeviceReset();

    platform::VideoDevice* FDevice;
    TDXDrawDisplay FDisplay;
    TDXDrawOptions FOptions = 0x348C;
    TDXDrawOptions FNowOptions = 0;
    int FSurfaceWidth = 100;
    int FSurfaceHeight = 100;
    bool FInitialized = false;
    bool FInternalInitialized = false;
    bool FInitializedOnce = false;
    bool FUpdating = false;
    bool FInitializeEventCalled = false;
    bool FSurfaceEventCalled = false;
    bool FCalledNotifyInitialize = false;
    std::unique_ptr<TDXDrawDriver> FDriver;
    std::unique_ptr<TDirectDrawSurface> FPrimary;
    std::unique_ptr<TDirectDrawSurface> FSurface;
    std::shared_ptr<TSurfaceLossTracker> FLossTracker;
    std::uint32_t FSeenResets = 0;
    std::vector<IDXDrawSubscriber*> FSubscribers;
};

class TDXDraw : public TCustomDXDraw {
public:
    using TCustomDXDraw::TCustomDXDraw;
    std::string ClassName() const override { return "TDXDraw"; }
};

// The tie of a component to the display it follows (image lists, sprite engines): leaving the
// old display's subscribers, joining the new one's, and the display's component name as the
// form description stores it.
class TDXDrawLink {
public:
    explicit TDXDrawLink(IDXDrawSubscriber& subscriber) : FSubscriber(subscriber) {}
    ~TDXDrawLink() { Set(nullptr); }
    TDXDrawLink(const TDXDrawLink&) = delete;
    TDXDrawLink& operator=(const TDXDrawLink&) = delete;

    TCustomDXDraw* Get() const { return FDXDraw; }
    // The old display's finalize notifications arrive with the link already cleared.
    void Set(TCustomDXDraw* display);

    std::string Name;

private:
    IDXDrawSubscriber& FSubscriber;
    TCustomDXDraw* FDXDraw = nullptr;
};
