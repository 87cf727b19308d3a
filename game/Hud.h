// Hud: what a game shows over its sprites — the control panel's pictures, the phaser, shield and
// hull bars, the six command buttons, the in-game menu while it is open, and the text overlay
// with the score, the torpedoes left and, when wanted, the frame rate. Depends on Game (the
// player, the buttons, GameState), Main (globals, image list, back surface) and the canvas.
#pragma once

#include <cstdint>

namespace Game {

// A bar's length in pixels for a value: round(value x scale), halves to the even neighbour,
// in extended precision; never negative.
std::int32_t BarLength(long double value, long double scale);

// The panel, bars, buttons and, with GameState 2, the in-game menu.
void DrawPanel();
// "Score: ", "Torpedos: " and, with ShowFps, "FPS: " in Verdana 8 at the top left.
void DrawOverlay();
// Opens the fonts of the overlay and the game's dialogs while the game loads, so that no frame
// of play waits for a font file.
void OpenHudFonts();

}  // namespace Game
