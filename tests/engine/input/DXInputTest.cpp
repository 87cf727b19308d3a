// Tests of the input component: merging devices, the held/released rule, the key table and the
// assignment table, focus, the mouse that aims but never steers, and the gamepad's axes and states.
#include "engine/input/DXInput.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/assets/ObjectReader.h"
#include "engine/assets/ObjectWriter.h"
#include "support/FakeInputDevice.h"

namespace {

// Scan codes of the keys the tests press.
constexpr std::uint8_t KeyW = 17;
constexpr std::uint8_t KeyD = 32;
constexpr std::uint8_t KeyZ = 44;
constexpr std::uint8_t KeyApostrophe = 40;
constexpr std::uint8_t KeyPadEnter = 156;
constexpr std::uint8_t KeyUp = 200;
constexpr std::uint8_t KeyUnmapped = 84;

class DXInputTest : public ::testing::Test {
protected:
    DXInputTest() { Input.Open(); }

    TDXInputStates PollWith(std::initializer_list<std::uint8_t> held) {
        Device.Keys = {};
        for (const std::uint8_t key : held) {
            Device.Press(key);
        }
        Input.Poll();
        return Input.StateSet;
    }

    FakeInputDevice Device;
    TDXInput Input{&Device};
};

TEST_F(DXInputTest, TwoKeysOfOneStateCountOnceAndReleasingOneKeepsIt) {
    EXPECT_EQ(PollWith({KeyW, KeyUp}), TDXInputStates{StateUp});
    EXPECT_EQ(PollWith({KeyUp}), TDXInputStates{StateUp});
    EXPECT_EQ(PollWith({}), TDXInputStates{});
}

TEST_F(DXInputTest, AStateRemovedByHandReturnsOnlyAfterANewPress) {
    PollWith({KeyD});
    Input.StateSet.Exclude(StateRight);
    EXPECT_FALSE(PollWith({KeyD}).Contains(StateRight));
    PollWith({});
    EXPECT_TRUE(PollWith({KeyD}).Contains(StateRight));
}

TEST_F(DXInputTest, TheBackgroundWindowClearsEveryStateAtTheNextPoll) {
    EXPECT_EQ(PollWith({KeyD, KeyZ}), (TDXInputStates{StateRight, StateButton1}));
    Device.Foreground = false;
    EXPECT_TRUE(PollWith({KeyD, KeyZ}).IsEmpty());
    EXPECT_FALSE(Input.Keyboard.KeyTable()['D'] & 0x80);

    Input.ActiveOnly = false;
    EXPECT_EQ(PollWith({KeyD}), TDXInputStates{StateRight});
}

TEST_F(DXInputTest, AFailedReadHoldsNothing) {
    PollWith({KeyD});
    Device.Fails = true;
    EXPECT_TRUE(PollWith({KeyD}).IsEmpty());
}

TEST_F(DXInputTest, KeypadEnterGivesButton2) {
    EXPECT_EQ(PollWith({KeyPadEnter}), TDXInputStates{StateButton2});
    EXPECT_TRUE(Input.Keyboard.KeyTable()[0x0D] & 0x80);
}

TEST_F(DXInputTest, TheApostropheSteersNowhere) {
    EXPECT_TRUE(PollWith({KeyApostrophe}).IsEmpty());
    EXPECT_TRUE(Input.Keyboard.KeyTable()[0xDE] & 0x80);
    EXPECT_FALSE(Input.Keyboard.KeyTable()[0x27] & 0x80);
}

TEST(ScanCodeTable, PunctuationKeysHaveCodesNoOtherKeyOrAssignmentShares) {
    const TKeyAssignList assigns = DefaultKeyAssigns();
    for (const int punctuation : {13, 26, 27, 39, 40, 43, 51, 52, 53, 55}) {
        const std::uint8_t code = VirtualKeyOfScanCode(static_cast<std::uint8_t>(punctuation));
        EXPECT_NE(code, 0) << punctuation;
        EXPECT_FALSE(code >= 'A' && code <= 'Z') << punctuation;
        EXPECT_FALSE(code >= 0x25 && code <= 0x28) << punctuation;
        for (int other = 0; other < 256; ++other) {
            if (other != punctuation) {
                EXPECT_NE(VirtualKeyOfScanCode(static_cast<std::uint8_t>(other)), code) << punctuation << " " << other;
            }
        }
        for (const TKeyAssign& row : assigns) {
            for (const std::uint32_t assigned : row) {
                EXPECT_NE(assigned, code) << punctuation;
            }
        }
    }
    EXPECT_EQ(VirtualKeyOfScanCode(205), 0x27);  // the Right arrow keeps its code
    EXPECT_EQ(VirtualKeyOfScanCode(KeyUnmapped), 0);
}

TEST_F(DXInputTest, ACodeOfZeroOrAbove255NeverCounts) {
    TKeyAssignList assigns = DefaultKeyAssigns();
    assigns[StateButton3] = {0, 0x100 + 'D', 0};
    Input.Keyboard.SetAssigns(assigns);
    EXPECT_TRUE(PollWith({KeyUnmapped, KeyD}) == TDXInputStates{StateRight});
    EXPECT_TRUE(Input.Keyboard.KeyTable()[0] & 0x80);
}

TEST_F(DXInputTest, ButtonHeldCoversThirtyTwoButtonsOnly) {
    TKeyAssignList assigns = DefaultKeyAssigns();
    assigns[StateButton32] = {'D', 0, 0};
    Input.Keyboard.SetAssigns(assigns);
    PollWith({KeyZ, KeyD});
    EXPECT_TRUE(Input.Keyboard.ButtonHeld(0));
    EXPECT_TRUE(Input.Keyboard.ButtonHeld(31));
    EXPECT_FALSE(Input.Keyboard.ButtonHeld(1));
    EXPECT_FALSE(Input.Keyboard.ButtonHeld(32));
    EXPECT_FALSE(Input.Keyboard.ButtonHeld(-1));
}

TEST_F(DXInputTest, TheMouseAimsButNeverSteers) {
    Device.Mouse.X = -5;
    Device.Mouse.Y = 3;
    Device.Mouse.Buttons = {0x80, 0, 0x80, 0x80};
    EXPECT_TRUE(PollWith({}).IsEmpty());
    EXPECT_EQ(Input.Mouse.StateSet(), (TDXInputStates{StateLeft, StateDown, StateButton1, StateButton3}));

    Device.Mouse = {};
    Device.Mouse.Buttons[1] = 0x80;
    Input.Mouse.Poll();
    EXPECT_FALSE(Input.Mouse.ButtonHeld(0));
    EXPECT_TRUE(Input.Mouse.ButtonHeld(1));
    EXPECT_EQ(Input.Mouse.Reading().Buttons[1], 0x80);
}

TEST(DXInputOpen, AnEnabledMouseNeedsTheInputDeviceAndTheKeyboardFallsBackToTheKeyStateTable) {
    TDXInput withoutDevice(nullptr);
    EXPECT_THAT([&] { withoutDevice.Open(); },
                testing::ThrowsMessage<EDXInputError>("DirectInput is required for mouse support"));
    withoutDevice.Mouse.Enabled = false;
    withoutDevice.Open();
    EXPECT_TRUE(withoutDevice.Keyboard.Initialized());
    withoutDevice.Poll();
    EXPECT_TRUE(withoutDevice.StateSet.IsEmpty());

    FakeInputDevice device;
    TDXInput input(&device);
    input.Open();
    EXPECT_TRUE(input.Mouse.Initialized());
    EXPECT_THROW(input.SetUseDirectInput(false), EDXInputError);
    input.Mouse.Enabled = false;
    input.Open();
    EXPECT_EQ(input.DirectInput(), nullptr);
    device.Press(KeyD);
    input.Poll();
    EXPECT_EQ(input.StateSet, TDXInputStates{StateRight}) << "the platform's key state table, without DirectInput";
    EXPECT_NE(input.Keyboard.KeyTable()['D'] & 0x80, 0);
}

TEST_F(DXInputTest, CloseLeavesEveryDeviceSilent) {
    PollWith({KeyD});
    Input.Close();
    EXPECT_FALSE(Input.Keyboard.Initialized());
    EXPECT_FALSE(Input.Mouse.Initialized());
    EXPECT_TRUE(PollWith({KeyD}).IsEmpty());
}

TEST(KeyboardAssigns, TheFormBytesAreRowsOfLittleEndianCodes) {
    TDXInput input(nullptr);
    const auto bytes = input.Keyboard.AssignsBytes();
    ASSERT_EQ(bytes.size(), 432u);
    EXPECT_EQ(bytes[0], 0x57);  // StateUp, key 1: W
    EXPECT_EQ(bytes[4], 0x26);  // StateUp, key 2: Up arrow
    EXPECT_EQ(bytes[StateButton9 * 12], 0x71);

    std::array<std::uint8_t, 432> changed = bytes;
    changed[StateRight * 12 + 8] = 0x34;  // key 3 of StateRight: 0x00000134
    changed[StateRight * 12 + 9] = 0x01;
    input.Keyboard.SetAssignsBytes(changed);
    EXPECT_EQ(input.Keyboard.Assigns()[StateRight][2], 0x134u);
    EXPECT_EQ(input.Keyboard.AssignsBytes(), changed);

    EXPECT_THROW(input.Keyboard.SetAssignsBytes(std::span(changed).first(431)), EDXInputError);
    EXPECT_EQ(input.Keyboard.AssignsBytes(), changed);
}

TEST(DXInputForm, TheFormRoundTripKeepsTheSettingsAndOpensTheComponent) {
    FakeInputDevice device;
    TDXInput written(&device);
    written.SetName("DXInput1");
    written.ActiveOnly = false;
    written.Joystick.DeadZoneY = 7;
    TKeyAssignList assigns{};
    assigns[StateLeft] = {'J', 0, 0};
    written.Keyboard.SetAssigns(assigns);

    TMemoryStream stream;
    WriteComponent(stream, written);
    stream.Seek(0);
    TDXInput read(&device);
    ReadComponent(stream, read);
    EXPECT_FALSE(read.ActiveOnly);
    EXPECT_EQ(read.Joystick.DeadZoneY, 7);
    EXPECT_FALSE(read.Mouse.BindInputStates);
    EXPECT_EQ(read.Keyboard.Assigns(), assigns);
    ASSERT_TRUE(read.Keyboard.Initialized()) << "opened once loaded";
    device.Press(36);  // J
    read.Poll();
    EXPECT_EQ(read.StateSet, TDXInputStates{StateLeft});
}

TEST(JoystickAxis, TheDeadZoneReadsZeroAndTheRestRisesFromItsEdge) {
    const struct {
        std::int32_t Raw;
        int Range, DeadZone;
        std::int32_t Scaled;
    } cases[] = {
        {0, 1000, 50, 0},        {1638, 1000, 50, 0},      {-1639, 1000, 50, 0},  // 49.99 and 50.02 of 1000
        {1700, 1000, 50, 2},     {16384, 1000, 50, 474},   {32767, 1000, 50, 1000},
        {-32768, 1000, 50, -1000}, {32767, 1000, 0, 1000}, {16384, 1000, -7, 500},
        {32767, 1000, 1000, 0},  {32767, 1000, 5000, 0},   {32767, 0, 50, 0},     {32767, -1000, 50, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScaleJoystickAxis(c.Raw, c.Range, c.DeadZone), c.Scaled) << c.Raw << " " << c.Range << " " << c.DeadZone;
    }
}

class JoystickTest : public DXInputTest {
protected:
    JoystickTest() {
        Input.Joystick.Enabled = true;
        Input.Open();
        Device.PadPlugged = true;
    }

    TDXInputStates PollPad(const platform::JoystickReading& reading) {
        Device.Pad = reading;
        Input.Poll();
        return Input.Joystick.StateSet();
    }
};

TEST_F(JoystickTest, TheLeftStickAndTheDirectionPadSteerAndEveryButtonIsAState) {
    const auto pad = [](std::int32_t leftX, std::int32_t leftY, std::initializer_list<platform::JoystickButton> held) {
        platform::JoystickReading reading;
        reading.LeftX = leftX;
        reading.LeftY = leftY;
        for (const platform::JoystickButton button : held) reading.Buttons[button] = 0x80;
        return reading;
    };
    const auto button = [](int index) { return static_cast<TDXInputState>(StateButton1 + index); };
    const struct {
        platform::JoystickReading Reading;
        TDXInputStates States;
    } cases[] = {
        {pad(0, 0, {}), {}},
        {pad(1500, -1500, {}), {}},  // inside the dead zone
        {pad(-20000, 20000, {}), {StateLeft, StateDown}},
        {pad(32767, -32768, {}), {StateRight, StateUp}},
        {pad(0, 0, {platform::PadUp, platform::PadLeft}), {StateUp, StateLeft, button(platform::PadUp), button(platform::PadLeft)}},
        {pad(-20000, 0, {platform::PadRight}), {StateLeft, StateRight, button(platform::PadRight)}},
        {pad(0, 0, {platform::PadA, platform::PadStart}), {StateButton1, StateButton7}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PollPad(c.Reading), c.States) << c.Reading.LeftX << "," << c.Reading.LeftY;
        EXPECT_EQ(Input.StateSet, c.States) << "bound to the component";
    }
}

TEST_F(JoystickTest, TheRightStickAndTheTriggersAreAxesAndATriggerPastHalfWayIsHeld) {
    platform::JoystickReading reading;
    reading.RightX = -16384;
    reading.RightY = 32767;
    reading.LeftTrigger = 16384;   // 474 of 1000
    reading.RightTrigger = 18000;  // 526
    EXPECT_EQ(PollPad(reading), TDXInputStates{static_cast<TDXInputState>(StateButton1 + JoystickRightTrigger)});
    const TJoystickAxes& axes = Input.Joystick.Axes();
    EXPECT_EQ(axes.RX, -474);
    EXPECT_EQ(axes.RY, 1000);
    EXPECT_EQ(axes.LeftTrigger, 474);
    EXPECT_EQ(axes.RightTrigger, 526);
    EXPECT_TRUE(Input.Joystick.Present());

    Input.Joystick.RangeZ = 400;
    Input.Joystick.DeadZoneZ = 0;
    reading.LeftTrigger = 16500;
    PollPad(reading);
    EXPECT_TRUE(Input.Joystick.ButtonHeld(JoystickLeftTrigger)) << "201 of 400";
}

TEST_F(JoystickTest, NoPadTheBackgroundOrTheFormsSwitchReadNothing) {
    platform::JoystickReading reading;
    reading.LeftX = -32768;
    reading.RightX = 32767;
    reading.Buttons[platform::PadA] = 0x80;
    const struct {
        const char* Case;
        bool Plugged, Foreground, Enabled;
    } cases[] = {{"pulled out", false, true, true}, {"background", true, false, true}, {"switched off", true, true, false}};
    for (const auto& c : cases) {
        Device.PadPlugged = c.Plugged;
        Device.Foreground = c.Foreground;
        Input.Joystick.Enabled = c.Enabled;
        Input.Open();
        EXPECT_TRUE(PollPad(reading).IsEmpty()) << c.Case;
        EXPECT_TRUE(Input.StateSet.IsEmpty()) << c.Case;
        EXPECT_FALSE(Input.Joystick.Present()) << c.Case;
        EXPECT_EQ(Input.Joystick.Axes().RX, 0) << c.Case;
    }
    // The form's value: the device exists, switched off.
    EXPECT_FALSE(TDXInput(&Device).Joystick.Enabled);
    // Without DirectInput a pad stays silent, with no error.
    TDXInput withoutDevice(nullptr);
    withoutDevice.Mouse.Enabled = false;
    withoutDevice.Joystick.Enabled = true;
    withoutDevice.Open();
    EXPECT_FALSE(withoutDevice.Joystick.Initialized());
}

}  // namespace
