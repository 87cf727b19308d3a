// DXClass: the frame timer. One tick per pass of the application's idle loop, handing the time
// since the previous tick (LagCount, in milliseconds, at least 1) to OnTimer. It pauses while
// the application is in the background (ActiveOnly) and reports activation changes. Depends on
// the platform's clock and message loop.
#pragma once

#include <cstdint>
#include <functional>

#include "engine/assets/Persistent.h"

namespace platform {
class Application;
}

class TCustomDXTimer : public TComponent {
public:
    // Ticks come from the application's idle loop (the program's one application by default).
    TCustomDXTimer();
    explicit TCustomDXTimer(platform::Application& application);
    ~TCustomDXTimer() override;

    // ActiveOnly, Enabled, Interval.
    void DefineProperties(TPropertyList& list) override;
    TCustomDXTimer(const TCustomDXTimer&) = delete;
    TCustomDXTimer& operator=(const TCustomDXTimer&) = delete;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int Interval() const { return FInterval; }
    void SetInterval(int value);
    bool ActiveOnly() const { return FActiveOnly; }
    void SetActiveOnly(bool value);
    int FrameRate() const { return FFrameRate; }

    // While loading from the form resource assignments are only stored; Loaded starts the timer.
    void BeginLoading() { FLoading = true; }
    void Loaded() override;

    std::function<void(TCustomDXTimer& Sender)> OnActivate;
    std::function<void(TCustomDXTimer& Sender)> OnDeactivate;
    std::function<void(TCustomDXTimer& Sender, int LagCount)> OnTimer;

private:
    void Start();
    void Resume();
    void Suspend();
    void Tick(bool& done);
    void AppActivation(bool active);

    platform::Application& FApplication;
    int FActivationHook = 0;
    bool FEnabled = true;
    bool FLoading = false;
    bool FInitialized = false;
    bool FActiveOnly = true;
    int FInterval = 1000;
    std::uint32_t FInterval2 = 1000;  // divisor of the lag count, never 0
    int FFrameRate = 0;
    std::uint32_t FOldTime = 0;
    std::uint32_t FFpsTime = 0;
    int FFrameCount = 0;
};

class TDXTimer : public TCustomDXTimer {
public:
    using TCustomDXTimer::TCustomDXTimer;
    std::string ClassName() const override { return "TDXTimer"; }
};
