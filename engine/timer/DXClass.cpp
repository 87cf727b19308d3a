// DXClass: frame timer ticks from the idle hook, pausing and resuming on activation.
#include "engine/timer/DXClass.h"

#include <algorithm>
#include <cmath>

#include "platform/Application.h"
#include "platform/Clock.h"

TCustomDXTimer::TCustomDXTimer() : TCustomDXTimer(platform::Application::Instance()) {}

TCustomDXTimer::TCustomDXTimer(platform::Application& application) : FApplication(application) {
    FActivationHook = FApplication.AddActivationHook([this](bool active) { AppActivation(active); });
}

TCustomDXTimer::~TCustomDXTimer() {
    FApplication.RemoveActivationHook(FActivationHook);
    if (FInitialized) {
        Suspend();
    }
}

void TCustomDXTimer::DefineProperties(TPropertyList& list) {
    TComponent::DefineProperties(list);
    list.Boolean("ActiveOnly", [this] { return FActiveOnly; }, [this](bool v) { SetActiveOnly(v); });
    list.Boolean("Enabled", [this] { return FEnabled; }, [this](bool v) { SetEnabled(v); });
    list.Integer("Interval", [this] { return FInterval; }, [this](int v) { SetInterval(v); });
}

void TCustomDXTimer::SetEnabled(bool value) {
    if (FEnabled == value) {
        return;
    }
    FEnabled = value;
    if (FLoading) {
        return;
    }
    if (value) {
        Start();
    } else if (FInitialized) {
        Suspend();
        FInitialized = false;
    }
}

void TCustomDXTimer::Start() {
    if (FInitialized) {
        Suspend();
    }
    if (!FActiveOnly || FApplication.Active()) {
        Resume();
    }
    FInitialized = true;
}

void TCustomDXTimer::Loaded() {
    FLoading = false;
    if (FEnabled) {
        Start();
    }
}

void TCustomDXTimer::SetInterval(int value) {
    FInterval = std::max(value, 0);
    FInterval2 = static_cast<std::uint32_t>(std::max(value, 1));
}

void TCustomDXTimer::SetActiveOnly(bool value) {
    FActiveOnly = value;
}

void TCustomDXTimer::Resume() {
    FOldTime = platform::TimeGetTime();
    FFpsTime = FOldTime;
    FApplication.SetIdleHook([this](bool& done) { Tick(done); });
}

void TCustomDXTimer::Suspend() {
    FApplication.ClearIdleHook();
}

void TCustomDXTimer::Tick(bool& done) {
    done = false;
    const std::uint32_t now = platform::TimeGetTime();
    const std::uint32_t elapsed = now - FOldTime;
    if (elapsed < static_cast<std::uint32_t>(FInterval)) {
        return;
    }
    FOldTime = now;
    const int lagCount = std::max(static_cast<int>(elapsed / FInterval2), 1);

    ++FFrameCount;
    const int window = std::max(static_cast<int>(now - FFpsTime), 1);
    if (window >= 1000) {
        FFrameRate = static_cast<int>(std::nearbyint(static_cast<double>(FFrameCount) * 1000.0 / window));
        FFrameCount = 0;
        FFpsTime = now;
    }
    if (OnTimer) {
        OnTimer(*this, lagCount);
    }
}

void TCustomDXTimer::AppActivation(bool active) {
    if (active) {
        if (OnActivate) OnActivate(*this);
        if (FInitialized && FActiveOnly) Resume();
    } else {
        if (OnDeactivate) OnDeactivate(*this);
        if (FInitialized && FActiveOnly) Suspend();
    }
}
