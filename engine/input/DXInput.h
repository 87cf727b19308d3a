// DXInput: the window's input component. Each device (keyboard, mouse, joystick)
// turns its hardware state into a set of abstract input states (four directions, 32 buttons);
// Poll merges the bound devices' sets into the one the game reads. Keys are assigned to states
// by virtual-key code through a 36-row table. Depends on Classes, the component base (Persistent)
// and the platform's input device.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "engine/assets/Classes.h"
#include "engine/assets/Persistent.h"
#include "platform/InputDevices.h"

ZARVOTH_DECLARE_EXCEPTION(EDXInputError, Exception);

enum TDXInputState : std::uint8_t {
    StateUp, StateDown, StateLeft, StateRight,
    StateButton1, StateButton2, StateButton3, StateButton4, StateButton5, StateButton6, StateButton7,
    StateButton8, StateButton9, StateButton10, StateButton11, StateButton12, StateButton13, StateButton14,
    StateButton15, StateButton16, StateButton17, StateButton18, StateButton19, StateButton20, StateButton21,
    StateButton22, StateButton23, StateButton24, StateButton25, StateButton26, StateButton27, StateButton28,
    StateButton29, StateButton30, StateButton31, StateButton32,
};
constexpr int InputStateCount = 36;

// A set of input states.
class TDXInputStates {
public:
    constexpr TDXInputStates() = default;
    constexpr TDXInputStates(std::initializer_list<TDXInputState> states) {
        for (const TDXInputState state : states) {
            Include(state);
        }
    }

    constexpr bool Contains(TDXInputState state) const { return (FBits & Bit(state)) != 0; }
    constexpr void Include(TDXInputState state) { FBits |= Bit(state); }
    constexpr void Exclude(TDXInputState state) { FBits &= ~Bit(state); }
    constexpr bool IsEmpty() const { return FBits == 0; }

    constexpr TDXInputStates operator|(TDXInputStates other) const { return FromBits(FBits | other.FBits); }
    // The members of this set that are not in other.
    constexpr TDXInputStates Without(TDXInputStates other) const { return FromBits(FBits & ~other.FBits); }
    friend constexpr bool operator==(TDXInputStates, TDXInputStates) = default;

private:
    static constexpr std::uint64_t Bit(TDXInputState state) { return std::uint64_t{1} << state; }
    static constexpr TDXInputStates FromBits(std::uint64_t bits) {
        TDXInputStates set;
        set.FBits = bits;
        return set;
    }

    std::uint64_t FBits = 0;
};

// Row n lists up to three virtual-key codes that produce state n; 0 means none.
using TKeyAssign = std::array<std::uint32_t, 3>;
using TKeyAssignList = std::array<TKeyAssign, InputStateCount>;
// The table as stored in the form: rows in state order, 32-bit little-endian codes.
constexpr std::size_t KeyAssignBytes = InputStateCount * 3 * 4;

// W/S/A/D, the arrows and keypad 8/2/4/6 for the directions; Z or Space for button 1,
// X or Enter for button 2, F2 for button 9.
TKeyAssignList DefaultKeyAssigns();

// The virtual-key code of a scan code (extended keys at 0x80 + code); 0 for unmapped codes.
std::uint8_t VirtualKeyOfScanCode(std::uint8_t scanCode);

class TCustomDXInput;

// A device's part of the input: whether it is used, whether its states reach the component,
// and its states after its last Poll.
class TCustomInput : public TPersistent {
public:
    explicit TCustomInput(TCustomDXInput& owner) : FOwner(owner) {}
    TCustomInput(const TCustomInput&) = delete;
    TCustomInput& operator=(const TCustomInput&) = delete;

    // BindInputStates, Enabled, ForceFeedback.
    void DefineProperties(TPropertyList& list) override;

    virtual void Poll() = 0;
    virtual void Open() = 0;
    virtual void Close();

    bool Initialized() const { return FInitialized; }
    const TDXInputStates& StateSet() const { return FStateSet; }
    // Button Index (from 0) is held in this device's own states; false above 31.
    bool ButtonHeld(int Index) const;

    bool Enabled = true;
    bool BindInputStates = true;
    bool ForceFeedback = false;

protected:
    // Initialised, and in the foreground when the component reads only then.
    bool MayRead() const;
    void MarkOpen(platform::InputDevice* device);

    TCustomDXInput& FOwner;
    platform::InputDevice* FDevice = nullptr;  // not owned
    TDXInputStates FStateSet;

private:
    bool FInitialized = false;
};

class TKeyboard final : public TCustomInput {
public:
    explicit TKeyboard(TCustomDXInput& owner);

    std::string ClassName() const override { return "TKeyboard"; }
    // The device's flags and the binary "Assigns".
    void DefineProperties(TPropertyList& list) override;
    void Poll() override;
    void Open() override;

    // One byte per virtual-key code; bit 7 set means held.
    const std::array<std::uint8_t, 256>& KeyTable() const { return FKeyTable; }

    const TKeyAssignList& Assigns() const { return FAssigns; }
    void SetAssigns(const TKeyAssignList& assigns) { FAssigns = assigns; }
    // The form's binary property "Keyboard.Assigns"; anything but 432 bytes raises EDXInputError.
    std::array<std::uint8_t, KeyAssignBytes> AssignsBytes() const;
    void SetAssignsBytes(std::span<const std::uint8_t> bytes);

private:
    std::array<std::uint8_t, 256> FKeyTable{};
    TKeyAssignList FAssigns;
};

class TMouse final : public TCustomInput {
public:
    explicit TMouse(TCustomDXInput& owner);

    std::string ClassName() const override { return "TMouse"; }

    void Poll() override;
    // Raises "DirectInput is required for mouse support" when enabled without an input device.
    void Open() override;

    const platform::MouseReading& Reading() const { return FReading; }

private:
    platform::MouseReading FReading;
};

// The joystick's axes on the form's scales: the sticks from -RangeX to RangeX across and -RangeY
// to RangeY downwards, the triggers from 0 to RangeZ; each reads 0 within its dead zone.
struct TJoystickAxes {
    std::int32_t X = 0;  // left stick
    std::int32_t Y = 0;
    std::int32_t RX = 0;  // right stick
    std::int32_t RY = 0;
    std::int32_t LeftTrigger = 0;
    std::int32_t RightTrigger = 0;
};

// The joystick's buttons by ButtonHeld index: the pad's buttons in the platform's order, then
// the two triggers, which count as held past half their travel.
constexpr int JoystickLeftTrigger = platform::JoystickButtonCount;
constexpr int JoystickRightTrigger = platform::JoystickButtonCount + 1;

// A raw axis (full scale 32767) on the scale of +-range: the dead zone around the centre reads 0
// and the rest is stretched so that the value rises from 0 at its edge.
std::int32_t ScaleJoystickAxis(std::int32_t raw, int range, int deadZone);

// A gamepad (pad ID, in the order they were plugged in). The left stick out of its dead zone or
// the direction pad gives the direction states, the buttons StateButton1 onwards; the right stick
// and the triggers are read as axes. It reads through DirectInput and stays silent without it.
class TJoystick final : public TCustomInput {
public:
    explicit TJoystick(TCustomDXInput& owner);

    std::string ClassName() const override { return "TJoystick"; }
    // The device's flags, AutoCenter, the dead zones, ID and the ranges.
    void DefineProperties(TPropertyList& list) override;

    void Poll() override;
    void Open() override;

    const TJoystickAxes& Axes() const { return FAxes; }
    // A pad was read at the last Poll.
    bool Present() const { return FPresent; }

    int ID = 0;
    bool AutoCenter = true;
    int DeadZoneX = 50;
    int DeadZoneY = 50;
    int DeadZoneZ = 50;
    int RangeX = 1000;
    int RangeY = 1000;
    int RangeZ = 1000;

private:
    TJoystickAxes FAxes;
    bool FPresent = false;
};

class TCustomDXInput : public TComponent {
public:
    // device: the platform's keyboard, mouse and window focus (not owned; none on a platform without).
    explicit TCustomDXInput(platform::InputDevice* device = nullptr);
    ~TCustomDXInput() override;
    TCustomDXInput(const TCustomDXInput&) = delete;
    TCustomDXInput& operator=(const TCustomDXInput&) = delete;

    // ActiveOnly, Joystick, Keyboard, Mouse (their properties as "Keyboard.Assigns" and so on),
    // UseDirectInput.
    void DefineProperties(TPropertyList& list) override;
    // Once the form has given the component its settings: Open.
    void Loaded() override { Open(); }

    // Closes, takes the input device if UseDirectInput, opens every device, polls once.
    void Open();
    void Close();
    // Reads every device; a state enters StateSet when first seen held, leaves when first seen released.
    void Poll();

    bool UseDirectInput() const { return FUseDirectInput; }
    // A change opens the component again once it has been opened.
    void SetUseDirectInput(bool value);

    // The input device the devices read through, none unless opened with UseDirectInput.
    platform::InputDevice* DirectInput() const { return FDirectInput; }
    // The platform's keyboard-state table, read when there is no DirectInput.
    platform::InputDevice* KeyboardStateTable() const { return FDevice; }
    bool IsForeground() const { return FDevice != nullptr && FDevice->IsForeground(); }

    // Devices read only while the window has the focus.
    bool ActiveOnly = true;
    TDXInputStates StateSet;

    TJoystick Joystick{*this};
    TKeyboard Keyboard{*this};
    TMouse Mouse{*this};

private:
    std::array<TCustomInput*, 3> Devices() { return {&Joystick, &Keyboard, &Mouse}; }

    platform::InputDevice* FDevice;
    platform::InputDevice* FDirectInput = nullptr;
    bool FUseDirectInput = true;
    bool FOpened = false;
    TDXInputStates FPreviousSet;
};

class TDXInput : public TCustomDXInput {
public:
    using TCustomDXInput::TCustomDXInput;
    std::string ClassName() const override { return "TDXInput"; }
};
