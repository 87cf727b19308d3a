// Menu: the start menu, five full-screen pictures of the menu graphics with clickable areas —
// the main screen with its hover highlights, the options with their five switches and the
// volumes of effects and music, a picture screen, the new-game screen with the choice of ship,
// and the best score with its send area. It runs while AppMode is 1; its only keys are - and +
// for the volumes. Depends on Main (globals, image list, display,
// sounds, QuitGame) and the surface canvas.
#pragma once

#include <cstdint>

#include "engine/assets/Classes.h"

namespace Menu {

enum : std::uint8_t { ScreenMain = 0, ScreenOptions = 1, ScreenPicture = 2, ScreenNewGame = 3, ScreenBestScore = 4 };
constexpr std::uint8_t NoHover = 5;

inline std::uint8_t MenuScreen = ScreenMain;
inline std::uint8_t MenuHover = NoHover;  // main-screen item under the pointer, NoHover for none

// Enters the main screen (AppMode 1) and loads "Data\MGraphics.dxg" into the image list.
void StartMenu();
// Draws the current screen.
void MenuFrame();
// A click, whatever the button: the first area holding the point acts, its sound first.
void MenuMouseDown(TPoint Point);
// Hover highlight on the main screen, and the red cursor over anything clickable.
void MenuMouseMove(TPoint Point);
// On the options screen, - and + (or =) step the volume of the row under the pointer down or up
// by ten percent, or both volumes when the pointer is on neither row; other keys do nothing.
void MenuKeyPress(char Key);

// Switches wait-for-vertical-blank, retained mode and page flipping together.
void SetVSynch(bool on);
// Plays an effect centred, when sound is on.
void PlayMenuSound(int index);

}  // namespace Menu
