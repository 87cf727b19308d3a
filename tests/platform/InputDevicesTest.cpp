// Tests of the platform's keyboard translation (SDL scancodes are USB usage numbers) and of the
// SDL device before SDL runs.
#include "platform/InputDevices.h"

#include <array>

#include <gtest/gtest.h>

namespace {

// USB usage numbers, which SDL uses as its scancodes.
constexpr int UsageW = 26;
constexpr int UsageApostrophe = 52;
constexpr int UsageUp = 82;
constexpr int UsageKeypadEnter = 88;
constexpr int UsageLeftGui = 227;
constexpr int UsageMute = 127;  // no PC scan code

TEST(TranslateKeyState, HeldKeysLandOnTheirScanCodes) {
    std::array<std::uint8_t, 512> sdl{};
    for (const int usage : {UsageW, UsageApostrophe, UsageUp, UsageKeypadEnter, UsageLeftGui, UsageMute}) {
        sdl[usage] = 1;
    }
    platform::ScanCodeState state;
    state.fill(0xFF);
    platform::TranslateKeyState(sdl.data(), static_cast<int>(sdl.size()), state);

    std::array<std::uint8_t, 256> expected{};
    for (const int scanCode : {17, 40, 200, 156, 219}) {
        expected[scanCode] = 0x80;
    }
    EXPECT_EQ(state, expected);
}

TEST(TranslateKeyState, AShortOrMissingSdlStateIsReadOnlyWithinBounds) {
    std::array<std::uint8_t, UsageUp> shortState{};  // ends just before Up
    shortState[UsageW] = 1;
    platform::ScanCodeState state{};
    platform::TranslateKeyState(shortState.data(), static_cast<int>(shortState.size()), state);
    EXPECT_EQ(state[17], 0x80);
    EXPECT_EQ(state[200], 0);

    platform::TranslateKeyState(nullptr, 0, state);
    EXPECT_EQ(state, platform::ScanCodeState{});
}

TEST(SdlInputDevice, WithoutSdlVideoNothingCanBeRead) {
    platform::SdlInputDevice device;
    platform::ScanCodeState keys;
    keys.fill(0x80);
    platform::MouseReading mouse;
    mouse.X = 7;
    EXPECT_FALSE(device.ReadKeyboard(keys));
    EXPECT_EQ(keys, platform::ScanCodeState{});
    EXPECT_FALSE(device.ReadMouse(mouse));
    EXPECT_EQ(mouse.X, 0);
    EXPECT_FALSE(device.IsForeground());
}

}  // namespace
