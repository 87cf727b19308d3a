// Gamepad: playing with a game controller. Steering needs nothing here: the pad's direction
// states reach the ship through the input component like the keys'. Once a frame this unit reads
// the rest of the pad and turns it into what the mouse and the keyboard give, through the
// window's own handlers, so every rule of clicks and keys applies unchanged:
// - the right stick moves the pointer, faster the further it is pushed;
// - the right trigger clicks at the pointer and, held over the play area in a game, clicks again
//   at the phaser's rate;
// - A clicks at the pointer, but in a dialog's input field it is Enter and the direction pad and
//   B edit the number (DigitEntry);
// - the left trigger, X, Y, the right shoulder and Start type H, C, T, R and Escape.
// Without a pad nothing happens. Depends on Main (the window, its handlers, the frame time),
// Game and Commands (the state of a game, where a click fires), DigitEntry, the player ship (the
// phaser's rate) and the input component's joystick.
#pragma once

namespace Gamepad {

// The pointer's speed with the right stick pushed all the way, in pixels per second. The speed
// grows with the square of the push: half way gives a quarter of it, for fine aim.
constexpr double PointerTopSpeed = 900.0;

// Once a frame, before the frame of the mode.
void GamepadStep();
// Forgets the buttons held, the pointer and the trigger's repeat, for a new main window.
void ResetGamepad();

}  // namespace Gamepad
