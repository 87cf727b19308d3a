// DXInput: the input component, its devices, the key assignment table and the scan-code to
// virtual-key table. Depends on Classes and the platform's input device.
#include "engine/input/DXInput.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

constexpr std::uint8_t Held = 0x80;

constexpr bool IsHeld(std::uint8_t value) {
    return (value & Held) != 0;
}

struct KeyPair {
    std::uint8_t ScanCode;
    std::uint8_t VirtualKey;
};

// Scan code → virtual-key code. The punctuation keys carry the OEM codes of their own, so that
// no punctuation key shares a code with an arrow, a letter or a Windows key.
constexpr KeyPair KeyPairs[] = {
    // Main block.
    {1, 27}, {2, 49}, {3, 50}, {4, 51}, {5, 52}, {6, 53}, {7, 54}, {8, 55}, {9, 56}, {10, 57}, {11, 48},
    {14, 8}, {15, 9}, {28, 13}, {29, 17}, {42, 16}, {54, 16}, {56, 18}, {57, 32}, {58, 20},
    // Letters, by their uppercase character code.
    {16, 'Q'}, {17, 'W'}, {18, 'E'}, {19, 'R'}, {20, 'T'}, {21, 'Y'}, {22, 'U'}, {23, 'I'}, {24, 'O'}, {25, 'P'},
    {30, 'A'}, {31, 'S'}, {32, 'D'}, {33, 'F'}, {34, 'G'}, {35, 'H'}, {36, 'J'}, {37, 'K'}, {38, 'L'},
    {44, 'Z'}, {45, 'X'}, {46, 'C'}, {47, 'V'}, {48, 'B'}, {49, 'N'}, {50, 'M'},
    // Punctuation: = [ ] ; ' \ , . / and keypad *.
    {13, 0xBB}, {26, 0xDB}, {27, 0xDD}, {39, 0xBA}, {40, 0xDE}, {43, 0xDC}, {51, 0xBC}, {52, 0xBE}, {53, 0xBF},
    {55, 0x6A},
    // Function keys, Num Lock, Scroll Lock.
    {59, 112}, {60, 113}, {61, 114}, {62, 115}, {63, 116}, {64, 117}, {65, 118}, {66, 119}, {67, 120}, {68, 121},
    {87, 122}, {88, 123}, {69, 144}, {70, 145},
    // Keypad.
    {71, 103}, {72, 104}, {73, 105}, {74, 109}, {75, 100}, {76, 101}, {77, 102}, {78, 107}, {79, 97}, {80, 98},
    {81, 99}, {82, 96}, {83, 110}, {181, 111}, {156, 13}, {157, 17}, {184, 18},
    // Navigation and the Windows keys.
    {199, 36}, {200, 38}, {201, 33}, {203, 37}, {205, 39}, {207, 35}, {208, 40}, {209, 34}, {210, 45}, {211, 46},
    {219, 91}, {220, 92}, {221, 93},
};

constexpr std::array<std::uint8_t, 256> VirtualKeyTable = [] {
    std::array<std::uint8_t, 256> table{};
    for (const KeyPair& pair : KeyPairs) {
        table[pair.ScanCode] = pair.VirtualKey;
    }
    return table;
}();

}  // namespace

TKeyAssignList DefaultKeyAssigns() {
    TKeyAssignList assigns{};
    assigns[StateUp] = {'W', 0x26, 0x68};
    assigns[StateDown] = {'S', 0x28, 0x62};
    assigns[StateLeft] = {'A', 0x25, 0x64};
    assigns[StateRight] = {'D', 0x27, 0x66};
    assigns[StateButton1] = {'Z', 0x20, 0};
    assigns[StateButton2] = {'X', 0x0D, 0};
    assigns[StateButton9] = {0x71, 0, 0};
    return assigns;
}

std::uint8_t VirtualKeyOfScanCode(std::uint8_t scanCode) {
    return VirtualKeyTable[scanCode];
}

// ---- TCustomInput ----

void TCustomInput::DefineProperties(TPropertyList& list) {
    list.Boolean("BindInputStates", BindInputStates);
    list.Boolean("Enabled", Enabled);
    list.Boolean("ForceFeedback", ForceFeedback);
}

void TCustomInput::Close() {
    FDevice = nullptr;
    FInitialized = false;
    FStateSet = {};
}

void TCustomInput::MarkOpen(platform::InputDevice* device) {
    FDevice = device;
    FInitialized = true;
}

bool TCustomInput::ButtonHeld(int Index) const {
    if (Index < 0 || Index > 31) {
        return false;
    }
    return FStateSet.Contains(static_cast<TDXInputState>(StateButton1 + Index));
}

bool TCustomInput::MayRead() const {
    return FInitialized && (!FOwner.ActiveOnly || FOwner.IsForeground());
}

// ---- TKeyboard ----

TKeyboard::TKeyboard(TCustomDXInput& owner) : TCustomInput(owner), FAssigns(DefaultKeyAssigns()) {}

void TKeyboard::DefineProperties(TPropertyList& list) {
    TCustomInput::DefineProperties(list);
    list.Binary(
        "Assigns", [this](TMemoryStream& stream) { SetAssignsBytes(stream.ReadBytes(stream.Remaining())); },
        [this](TMemoryStream& stream) {
            const auto bytes = AssignsBytes();
            stream.Write(bytes.data(), bytes.size());
        },
        [] { return true; });
}

void TKeyboard::Open() {
    Close();
    if (Enabled) {
        // Without DirectInput the keyboard reads the platform's keyboard-state table, which the
        // window's own input device keeps; without either, nothing reads as held.
        MarkOpen(FOwner.DirectInput() != nullptr ? FOwner.DirectInput() : FOwner.KeyboardStateTable());
    }
}

void TKeyboard::Poll() {
    FKeyTable.fill(0);
    FStateSet = {};
    if (!MayRead() || FDevice == nullptr) {
        return;
    }
    platform::ScanCodeState scanCodes{};
    if (!FDevice->ReadKeyboard(scanCodes)) {
        return;
    }
    for (std::size_t scanCode = 0; scanCode < scanCodes.size(); ++scanCode) {
        if (IsHeld(scanCodes[scanCode])) {
            FKeyTable[VirtualKeyTable[scanCode]] = Held;  // unmapped keys land on code 0
        }
    }
    for (int state = 0; state < InputStateCount; ++state) {
        for (const std::uint32_t code : FAssigns[static_cast<std::size_t>(state)]) {
            if (code >= 1 && code <= 255 && IsHeld(FKeyTable[code])) {
                FStateSet.Include(static_cast<TDXInputState>(state));
                break;
            }
        }
    }
}

std::array<std::uint8_t, KeyAssignBytes> TKeyboard::AssignsBytes() const {
    std::array<std::uint8_t, KeyAssignBytes> bytes{};
    std::size_t at = 0;
    for (const TKeyAssign& row : FAssigns) {
        for (const std::uint32_t code : row) {
            for (int shift = 0; shift < 32; shift += 8) {
                bytes[at++] = static_cast<std::uint8_t>(code >> shift);
            }
        }
    }
    return bytes;
}

void TKeyboard::SetAssignsBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != KeyAssignBytes) {
        throw EDXInputError(Format("Keyboard.Assigns holds %d bytes instead of %d", static_cast<int>(bytes.size()),
                                   static_cast<int>(KeyAssignBytes)));
    }
    std::size_t at = 0;
    for (TKeyAssign& row : FAssigns) {
        for (std::uint32_t& code : row) {
            code = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                code |= std::uint32_t{bytes[at++]} << shift;
            }
        }
    }
}

// ---- TMouse ----

TMouse::TMouse(TCustomDXInput& owner) : TCustomInput(owner) {
    BindInputStates = false;  // the pointer aims; it never steers
}

void TMouse::Open() {
    Close();
    if (!Enabled) {
        return;
    }
    if (FOwner.DirectInput() == nullptr) {
        throw EDXInputError("DirectInput is required for mouse support");
    }
    MarkOpen(FOwner.DirectInput());
}

void TMouse::Poll() {
    FReading = {};
    FStateSet = {};
    if (!MayRead() || !FDevice->ReadMouse(FReading)) {
        FReading = {};
        return;
    }
    if (FReading.X < 0) {
        FStateSet.Include(StateLeft);
    } else if (FReading.X > 0) {
        FStateSet.Include(StateRight);
    }
    if (FReading.Y < 0) {
        FStateSet.Include(StateUp);
    } else if (FReading.Y > 0) {
        FStateSet.Include(StateDown);
    }
    for (int button = 0; button < 3; ++button) {
        if (IsHeld(FReading.Buttons[static_cast<std::size_t>(button)])) {
            FStateSet.Include(static_cast<TDXInputState>(StateButton1 + button));
        }
    }
}

// ---- TJoystick ----

std::int32_t ScaleJoystickAxis(std::int32_t raw, int range, int deadZone) {
    constexpr double FullScale = 32767.0;
    if (range <= 0) {
        return 0;
    }
    const double dead = std::clamp(deadZone, 0, range);
    const double value = std::clamp(raw / FullScale, -1.0, 1.0) * range;
    if (std::abs(value) <= dead) {
        return 0;
    }
    const double stretched = (std::abs(value) - dead) * range / (range - dead);
    return static_cast<std::int32_t>(std::lround(std::copysign(stretched, value)));
}

TJoystick::TJoystick(TCustomDXInput& owner) : TCustomInput(owner) {
    Enabled = false;  // the form's value; the program switches the pad on
}

void TJoystick::Open() {
    Close();
    if (Enabled && FOwner.DirectInput() != nullptr) {
        MarkOpen(FOwner.DirectInput());
    }
}

void TJoystick::Poll() {
    FAxes = {};
    FStateSet = {};
    platform::JoystickReading reading;
    FPresent = MayRead() && FDevice->ReadJoystick(ID, reading);
    if (!FPresent) {
        return;
    }
    FAxes.X = ScaleJoystickAxis(reading.LeftX, RangeX, DeadZoneX);
    FAxes.Y = ScaleJoystickAxis(reading.LeftY, RangeY, DeadZoneY);
    FAxes.RX = ScaleJoystickAxis(reading.RightX, RangeX, DeadZoneX);
    FAxes.RY = ScaleJoystickAxis(reading.RightY, RangeY, DeadZoneY);
    FAxes.LeftTrigger = ScaleJoystickAxis(reading.LeftTrigger, RangeZ, DeadZoneZ);
    FAxes.RightTrigger = ScaleJoystickAxis(reading.RightTrigger, RangeZ, DeadZoneZ);

    const auto held = [&](platform::JoystickButton button) { return IsHeld(reading.Buttons[button]); };
    const struct {
        bool On;
        TDXInputState State;
    } directions[] = {
        {FAxes.Y < 0 || held(platform::PadUp), StateUp},
        {FAxes.Y > 0 || held(platform::PadDown), StateDown},
        {FAxes.X < 0 || held(platform::PadLeft), StateLeft},
        {FAxes.X > 0 || held(platform::PadRight), StateRight},
    };
    for (const auto& direction : directions) {
        if (direction.On) {
            FStateSet.Include(direction.State);
        }
    }
    for (int button = 0; button < platform::JoystickButtonCount; ++button) {
        if (held(static_cast<platform::JoystickButton>(button))) {
            FStateSet.Include(static_cast<TDXInputState>(StateButton1 + button));
        }
    }
    if (FAxes.LeftTrigger > RangeZ / 2) {
        FStateSet.Include(static_cast<TDXInputState>(StateButton1 + JoystickLeftTrigger));
    }
    if (FAxes.RightTrigger > RangeZ / 2) {
        FStateSet.Include(static_cast<TDXInputState>(StateButton1 + JoystickRightTrigger));
    }
}

void TJoystick::DefineProperties(TPropertyList& list) {
    TCustomInput::DefineProperties(list);
    list.Boolean("AutoCenter", AutoCenter);
    list.Integer("DeadZoneX", DeadZoneX);
    list.Integer("DeadZoneY", DeadZoneY);
    list.Integer("DeadZoneZ", DeadZoneZ);
    list.Integer("ID", ID);
    list.Integer("RangeX", RangeX);
    list.Integer("RangeY", RangeY);
    list.Integer("RangeZ", RangeZ);
}

// ---- TCustomDXInput ----

TCustomDXInput::TCustomDXInput(platform::InputDevice* device) : FDevice(device) {}

TCustomDXInput::~TCustomDXInput() {
    Close();
}

void TCustomDXInput::DefineProperties(TPropertyList& list) {
    TComponent::DefineProperties(list);
    list.Boolean("ActiveOnly", ActiveOnly);
    list.Object("Joystick", Joystick);
    list.Object("Keyboard", Keyboard);
    list.Object("Mouse", Mouse);
    list.Boolean("UseDirectInput", [this] { return FUseDirectInput; }, [this](bool value) { SetUseDirectInput(value); });
}

void TCustomDXInput::Open() {
    Close();
    FOpened = true;
    FDirectInput = FUseDirectInput ? FDevice : nullptr;
    for (TCustomInput* device : Devices()) {
        device->Open();
    }
    Poll();
}

void TCustomDXInput::Close() {
    for (TCustomInput* device : Devices()) {
        device->Close();
    }
    FDirectInput = nullptr;
}

void TCustomDXInput::SetUseDirectInput(bool value) {
    if (value == FUseDirectInput) {
        return;
    }
    FUseDirectInput = value;
    if (FOpened) {
        Open();
    }
}

void TCustomDXInput::Poll() {
    TDXInputStates held;
    for (TCustomInput* device : Devices()) {
        device->Poll();
        if (device->BindInputStates) {
            held = held | device->StateSet();
        }
    }
    StateSet = (StateSet | held.Without(FPreviousSet)).Without(FPreviousSet.Without(held));
    FPreviousSet = held;
}
