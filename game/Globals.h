// Globals: the game-wide values owned by the main window's unit (Main) and shared by the
// game, the menu and the settings file. One thread touches them; nothing is locked.
#pragma once

#include <cstdint>

#include "engine/assets/Classes.h"

namespace Main {

// What the window shows: 0 game, 1 start menu, 2 best-score dialog, 3 closing.
enum : std::uint8_t { AppModeGame = 0, AppModeMenu = 1, AppModeBestScore = 2, AppModeClosing = 3 };

inline std::uint8_t AppMode = AppModeMenu;
inline float FrameTime = 0.0f;  // seconds between the last two frames
inline std::int32_t Fps = 0;
inline TPoint CursorPos;
inline TRect ClipRect;
inline bool CursorOverButton = false;

inline std::int32_t Score = 0;
inline std::int32_t BestScore = 0;
inline bool NewBestScore = false;
inline bool SendScoreAtExit = false;
inline bool ShipChoice = false;

// Settings flags, stored by the settings file.
inline bool SoundOn = true;
inline bool MusicOn = true;
inline bool StereoOn = true;
inline bool VSynchOn = true;
inline bool ShowFps = false;

// The player's volumes of effects and music, 0 (silent) to 100 percent, set on the options screen.
inline int EffectsVolume = 100;
inline int MusicVolume = 100;

}  // namespace Main
