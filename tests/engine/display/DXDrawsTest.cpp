#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/display/DXDraws.h"
#include "engine/display/SurfaceCanvas.h"
#include "support/FakeVideoDevice.h"

namespace {

constexpr TDXDrawOptions FormOptions = doAllowReboot | doWaitVBlank | doAllowPalette256 | doCenter | doFlip |
                                       doDirectX7Mode | doRetainedMode | doHardware | doSelectDriver;

// Logs "name:kind" for every notification; leaves the display's list when it goes out of scope.
struct Recorder : IDXDrawSubscriber {
    explicit Recorder(std::string name, std::vector<std::string>& log) : Name(std::move(name)), Log(log) {}
    ~Recorder() {
        if (Display != nullptr) Display->Unsubscribe(this);
    }
    void Join(TCustomDXDraw& display) {
        Display = &display;
        display.Subscribe(this);
    }
    void DXDrawNotify(TCustomDXDraw&, TDXDrawNotifyType type) override {
        Log.push_back(Name + ":" + std::to_string(static_cast<int>(type)));
    }
    std::string Name;
    std::vector<std::string>& Log;
    TCustomDXDraw* Display = nullptr;
};

class DisplayTest : public ::testing::Test {
protected:
    DisplayTest() : Draw(&Device) {
        Draw.SetOptions(FormOptions | doFullScreen);
        Draw.Display().SetWidth(800);
        Draw.Display().SetHeight(600);
        Draw.Display().SetBitCount(16);
    }
    FakeVideoDevice Device;
    TDXDraw Draw;
};

}  // namespace

TEST(DisplayOptions, FreshDisplayAndFormSetDeriveTheEffectiveSet) {
    FakeVideoDevice device;
    TDXDraw draw(&device);
    EXPECT_EQ(draw.Options(), 0x348C);
    // Not full screen: reboot dropped, 3-D bits dropped, hardware dropped.
    EXPECT_EQ(draw.EffectiveOptions(), doWaitVBlank | doCenter);

    draw.SetOptions(FormOptions | doFullScreen);
    EXPECT_EQ(draw.EffectiveOptions(),
              doFullScreen | doAllowReboot | doWaitVBlank | doAllowPalette256 | doCenter | doFlip);

    draw.SetOptions(FormOptions | doFullScreen | doSystemMemory);
    EXPECT_EQ(draw.EffectiveOptions() & doFlip, 0);
}

TEST_F(DisplayTest, WhileInitializedOnlyVBlankStretchAndCentreChangeAtOnce) {
    Draw.Initialize();
    ASSERT_TRUE(Draw.Initialized());
    Draw.SetOptions(static_cast<TDXDrawOptions>((FormOptions | doFullScreen | doStretch) & ~(doWaitVBlank | doFlip)));
    EXPECT_EQ(Draw.EffectiveOptions() & doWaitVBlank, 0);
    EXPECT_NE(Draw.EffectiveOptions() & doStretch, 0);
    EXPECT_NE(Draw.EffectiveOptions() & doFlip, 0) << "flip changes only through Finalize + Initialize";
    Draw.Finalize();
    EXPECT_EQ(Draw.EffectiveOptions() & doFlip, 0);
}

// The search keeps the bit count and the ratio before the size, falls back to another ratio,
// and with a loose bit count walks the sizes in order keeping the last deeper mode.
TEST(DisplayModeSearch, PicksTheModeByBitCountRatioAndSize) {
    const struct {
        std::vector<platform::DisplayMode> Modes;
        bool FixedBitCount;
        int BitCount;
        bool Found;
        platform::DisplayMode Chosen;
    } cases[] = {
        {{{1024, 768, 16}, {800, 600, 32}}, true, 16, true, {1024, 768, 16}},
        {{{1024, 768, 16}, {1024, 600, 16}}, true, 16, true, {1024, 768, 16}},
        {{{1280, 720, 16}, {1920, 1080, 16}}, true, 16, true, {1280, 720, 16}},
        {{{640, 480, 16}}, true, 16, false, {}},
        {{{800, 600, 32}, {800, 600, 16}, {1024, 768, 16}}, false, 24, true, {800, 600, 32}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Modes.size() << " modes, first " << c.Modes[0].Width);
        FakeVideoDevice device;
        device.Modes = c.Modes;
        TDXDrawDisplay display(&device);
        display.FixedBitCount = c.FixedBitCount;
        display.SetWidth(800);
        display.SetHeight(600);
        display.SetBitCount(c.BitCount);
        ASSERT_EQ(display.SelectMode(), c.Found);
        if (c.Found) {
            EXPECT_EQ(device.Current, c.Chosen);
            EXPECT_EQ(display.Width(), c.Chosen.Width);
        }
    }
}

TEST(DisplayModeSearch, RejectsBadValues) {
    FakeVideoDevice device;
    TDXDrawDisplay display(&device);
    display.SetWidth(-5);
    EXPECT_EQ(display.Width(), 0);
    EXPECT_FALSE(display.SelectMode());
    EXPECT_THROW(display.SetBitCount(15), EDirectDrawError);
    EXPECT_EQ(display.BitCount(), 8);
}

TEST_F(DisplayTest, NegativeWidthMakesInitializeFailWithTheModeMessage) {
    Draw.Display().SetWidth(-5);
    EXPECT_THAT([&] { Draw.Initialize(); },
                testing::ThrowsMessage<EDXDrawError>("Display mode cannot be changed (0x600 16bit)"));
    EXPECT_FALSE(Draw.Initialized());
    EXPECT_FALSE(Device.Opened);
}

TEST(DisplayErrors, NoDeviceAndNoDirectDraw) {
    TDXDraw orphan(nullptr);
    EXPECT_THROW(orphan.Initialize(), EDXDrawError);
    FakeVideoDevice device;
    device.CanOpen = false;
    TDXDraw draw(&device);
    EXPECT_THAT([&] { draw.Initialize(); },
                testing::ThrowsMessage<EDirectDrawError>("DirectDraw cannot be initialized"));
}

TEST_F(DisplayTest, NotificationsGoFromTheLastSubscriberToTheFirst) {
    std::vector<std::string> log;
    Recorder a("a", log);
    Recorder b("b", log);
    a.Join(Draw);
    b.Join(Draw);
    EXPECT_EQ(log, (std::vector<std::string>{"a:7", "b:7"}));
    log.clear();

    std::vector<std::string> events;
    Draw.OnInitialize = [&](TCustomDXDraw&) { events.push_back("OnInitialize"); };
    Draw.OnFinalize = [&](TCustomDXDraw&) { events.push_back("OnFinalize"); };
    Draw.Initialize();
    EXPECT_EQ(log, (std::vector<std::string>{"b:1", "a:1", "b:7", "a:7", "b:2", "a:2", "b:3", "a:3", "b:6", "a:6"}));
    EXPECT_EQ(events, std::vector<std::string>{"OnInitialize"});
    log.clear();

    Draw.Finalize();
    EXPECT_EQ(log, (std::vector<std::string>{"b:5", "a:5", "b:4", "a:4"}));
    EXPECT_EQ(events.back(), "OnFinalize");
}

TEST_F(DisplayTest, SubscribingToARunningDisplayCatchesUp) {
    Draw.Initialize();
    std::vector<std::string> log;
    Recorder late("late", log);
    late.Join(Draw);
    EXPECT_EQ(log, (std::vector<std::string>{"late:7", "late:2", "late:3", "late:6"}));
    log.clear();
    Draw.Unsubscribe(&late);
    EXPECT_EQ(log, (std::vector<std::string>{"late:5", "late:4"}));
    log.clear();
    Draw.Unsubscribe(&late);
    EXPECT_TRUE(log.empty());
}

TEST_F(DisplayTest, FinalizeOfANeverInitializedDisplayDoesNothing) {
    int finalized = 0;
    Draw.OnFinalize = [&](TCustomDXDraw&) { ++finalized; };
    std::vector<std::string> log;
    Recorder r("r", log);
    r.Join(Draw);
    log.clear();
    Draw.Finalize();
    EXPECT_EQ(finalized, 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(DisplayTest, FlipPresentsOnlyWhileTheWindowIsActive) {
    Draw.Initialize();
    ASSERT_NE(Draw.Surface(), nullptr);
    EXPECT_EQ(Draw.Surface()->Width(), 800);
    EXPECT_EQ(Draw.Surface()->Height(), 600);
    Draw.Flip();
    EXPECT_EQ(Device.Presented, 1);
    EXPECT_TRUE(Device.LastWaitVBlank);
    Device.Foreground = false;
    Draw.Flip();
    EXPECT_EQ(Device.Presented, 1);
}

TEST_F(DisplayTest, BlitStrategyWaitsOnlyWithWaitVBlank) {
    Draw.SetOptions(static_cast<TDXDrawOptions>((FormOptions | doFullScreen) & ~(doFlip | doWaitVBlank | doRetainedMode)));
    Draw.Initialize();
    Device.Foreground = false;  // a blit presents even in the background
    Draw.Flip();
    EXPECT_EQ(Device.Presented, 1);
    EXPECT_FALSE(Device.LastWaitVBlank);
    Draw.SetOptions(static_cast<TDXDrawOptions>(Draw.Options() | doWaitVBlank));
    Draw.Flip();
    EXPECT_TRUE(Device.LastWaitVBlank);
}

TEST_F(DisplayTest, LostSurfacesAreRestoredAndSubscribersReupload) {
    Draw.Initialize();
    std::vector<std::string> log;
    Recorder r("r", log);
    r.Join(Draw);
    log.clear();
    Draw.Surface()->Fill(0xFFFF);

    ++Device.Resets;
    EXPECT_TRUE(Draw.CanDraw());
    EXPECT_EQ(log, std::vector<std::string>{"r:6"});
    EXPECT_EQ(Draw.Surface()->Pixel(10, 10), 0) << "a restore fills the surfaces black";
}

// A subscriber that tries to draw and present when told of a restore.
struct DrawOnRestore : IDXDrawSubscriber {
    void DXDrawNotify(TCustomDXDraw& sender, TDXDrawNotifyType type) override {
        if (type == TDXDrawNotifyType::dxntRestore && Armed) {
            CouldDraw.push_back(sender.CanDraw());
            sender.Flip();
        }
    }
    bool Armed = false;
    std::vector<bool> CouldDraw;
};

TEST_F(DisplayTest, NothingIsDrawnOrPresentedFromInsideARestore) {
    Draw.Initialize();
    DrawOnRestore subscriber;
    Draw.Subscribe(&subscriber);
    subscriber.Armed = true;
    Draw.OnRestoreSurface = [&](TCustomDXDraw& sender) {
        subscriber.CouldDraw.push_back(sender.CanDraw());
        sender.Flip();
    };
    const int presented = Device.Presented;
    ++Device.Resets;
    EXPECT_TRUE(Draw.CanDraw()) << "restored";
    EXPECT_EQ(subscriber.CouldDraw, (std::vector<bool>{false, false})) << "the notification, then the event";
    EXPECT_EQ(Device.Presented, presented);
    Draw.Unsubscribe(&subscriber);
}

TEST_F(DisplayTest, CanvasHoldingTheBackSurfaceBlocksPresentation) {
    Draw.Initialize();
    Draw.Surface()->Canvas().TextOut(0, 0, "Score");
    EXPECT_FALSE(Draw.Surface()->Fill(0));
    Draw.Flip();
    EXPECT_EQ(Device.Presented, 0);
    Draw.Surface()->Canvas().Release();
    Draw.Flip();
    EXPECT_EQ(Device.Presented, 1);
}
