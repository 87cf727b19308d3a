#include <gtest/gtest.h>

#include <vector>

#include "engine/timer/DXClass.h"
#include "platform/Application.h"
#include "platform/Clock.h"

namespace {

class FrameTimerTest : public ::testing::Test {
protected:
    FrameTimerTest() {
        platform::SetClockSource(std::ref(Clock));
        App.SetActive(true);
        Timer.SetInterval(0);
        Timer.OnTimer = [this](TCustomDXTimer&, int lag) { Lags.push_back(lag); };
    }
    ~FrameTimerTest() override {
        Timer.SetEnabled(false);
        platform::SetClockSource(nullptr);
    }

    // Starts the timer the way the display's initialise event does.
    void Enable() {
        Timer.SetEnabled(false);
        Timer.SetEnabled(true);
    }

    platform::SteppedClock Clock{5000};
    platform::Application& App = platform::Application::Instance();
    TDXTimer Timer{App};
    std::vector<int> Lags;
};

}  // namespace

TEST_F(FrameTimerTest, LagCountIsAtLeastOneAndMeasuresStalls) {
    Enable();
    EXPECT_FALSE(App.Idle()) << "the timer keeps the idle loop spinning";
    Clock.Advance(250);
    App.Idle();
    Clock.Advance(16);
    App.Idle();
    EXPECT_EQ(Lags, (std::vector<int>{1, 250, 16}));
}

TEST_F(FrameTimerTest, ClockWrapGivesTheTrueElapsedTime) {
    Clock.Set(0xFFFFFFF0u);
    Enable();
    Clock.Advance(0x20);  // wraps past 2^32
    App.Idle();
    EXPECT_EQ(Lags, std::vector<int>{0x20});
}

TEST_F(FrameTimerTest, IntervalHoldsTicksBackAndDividesTheLag) {
    Timer.SetInterval(10);
    Enable();
    Clock.Advance(9);
    App.Idle();
    EXPECT_TRUE(Lags.empty());
    Clock.Advance(16);
    App.Idle();
    EXPECT_EQ(Lags, std::vector<int>{2});  // 25 ms div 10
    Timer.SetInterval(-3);
    EXPECT_EQ(Timer.Interval(), 0);
}

TEST_F(FrameTimerTest, FrameRateIsMeasuredAboutOnceASecondAndRoundsHalfToEven) {
    Enable();
    for (int i = 0; i < 59; ++i) {
        Clock.Advance(16);
        App.Idle();
    }
    EXPECT_EQ(Timer.FrameRate(), 0) << "944 ms: no measurement yet";
    Clock.Advance(56);  // the 60th tick at exactly 1000 ms
    App.Idle();
    EXPECT_EQ(Timer.FrameRate(), 60);
    // 5 ticks in 2000 ms: 2.5 rounds to 2.
    for (int i = 0; i < 5; ++i) {
        Clock.Advance(400);
        App.Idle();
    }
    EXPECT_EQ(Timer.FrameRate(), 2);
}

TEST_F(FrameTimerTest, DeactivationStopsTicksAndReturnMeasuresFromTheReturn) {
    int activated = 0;
    int deactivated = 0;
    Timer.OnActivate = [&](TCustomDXTimer&) { ++activated; };
    Timer.OnDeactivate = [&](TCustomDXTimer&) { ++deactivated; };
    Enable();
    App.SetActive(false);
    EXPECT_EQ(deactivated, 1);
    Clock.Advance(5000);
    EXPECT_TRUE(App.Idle());
    EXPECT_TRUE(Lags.empty());
    App.SetActive(true);
    EXPECT_EQ(activated, 1);
    Clock.Advance(20);
    App.Idle();
    EXPECT_EQ(Lags, std::vector<int>{20});
}

TEST_F(FrameTimerTest, DisabledOrLoadingTimerDoesNotTick) {
    Timer.SetEnabled(false);
    Clock.Advance(10);
    EXPECT_TRUE(App.Idle());
    Timer.BeginLoading();
    Timer.SetEnabled(true);
    EXPECT_TRUE(App.Idle()) << "while loading the value is only stored";
    Timer.Loaded();
    EXPECT_FALSE(App.Idle());
    EXPECT_EQ(Lags.size(), 1u);
}
