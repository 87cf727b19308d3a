// Commands: what the player does in a game besides steering — typed keys and mouse clicks by
// GameState, the cloak and shield toggles, the warp, the photon torpedo dialog (an angle in
// degrees) and the supplies transport dialog (the distance between two grid positions), and how
// a closed game dialog is applied. Depends on Game (globals, buttons, OpenGameDialog, the menu
// and the ends of a game), the player and supply ship, and the platform's shift state.
#pragma once

#include <cstdint>

#include "engine/assets/Classes.h"
#include "platform/Application.h"

class TSprite;

namespace Game {

// Cells of the transport grid are this many pixels wide and high.
constexpr int GridCell = 40;

void GameKeyPress(char Key);
// The shift state says which buttons are held: left is tested before right.
void GameMouseDown(platform::TShiftState Shift, TPoint Point);
void GameMouseUp();
// A left click at the point, while playing, fires the phaser there: the play area, but for the
// corner of the menu button.
bool IsPhaserClick(TPoint Point);
// Highlights the in-game menu item under the pointer.
void GameMouseMove(TPoint Point);
void ToggleCloak();
void ToggleShields();
void OpenTorpedoDialog();
void OpenTransportDialog();
// Draws the open game dialog, or applies it once it is closed.
void DialogStep();
void ApplyDialogAnswer();

// A sprite's cell: its top-left corner divided by the cell size, halves to even.
TPoint GridPosition(const TSprite& Sprite);
// The rounded straight distance in cells between two cells.
std::int32_t GridDistance(TPoint From, TPoint To);

}  // namespace Game
