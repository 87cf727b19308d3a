// Game: one game session, from the start button to its end — the session's globals, the ten
// on-screen buttons, the frame in its fixed order, the spawn schedule and the distance that
// drives it, the cruiser and supply-ship encounters, the sector change, the game dialog box, the
// in-game menu and the ways a game ends. The panel and mission texts are Hud and MissionTexts,
// the player's commands and dialogs Commands. Depends on Main (components, globals, QuitGame),
// Menu (StartMenu), Sprites, SpriteTable, Texts and GButton.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/sprites/DXSprite.h"
#include "game/GButton.h"
#include "game/MissionTexts.h"
#include "game/Sprites.h"
#include "game/Texts.h"

namespace Game {

// GameState: what takes the player's input within a game.
enum : std::uint8_t { StatePlaying = 0, StateDialog = 1, StateMenu = 2 };
// DialogKind: which game dialog GameBox is.
enum : std::uint8_t { DialogTorpedo = 0, DialogTransport = 1, DialogMissionText = 2 };
// SpecialState: which special ship holds the distance.
enum : std::uint8_t { SpecialCruiser = 0, SpecialSupply = 1, SpecialNone = 2 };

// The seconds the game waits after a death, and with the ship off the screen after a warp.
constexpr float EndDelay = 5.0f;

// The sprites are owned by the sprite engine; these name them while a game runs (none otherwise).
inline TPlayer* Player = nullptr;
inline TBackground* Background = nullptr;
inline TEnemyInterpid* SpecialEnemy = nullptr;
inline TFriendSupplyShip* SupplyShip = nullptr;

inline std::uint8_t GameState = StatePlaying;
inline std::unique_ptr<TMessageBox> GameBox;
inline std::uint8_t DialogKind = DialogTorpedo;
inline std::string DialogAnswer;
inline long double Distance = 0;  // distance flown, in 80-bit extended precision
inline bool Hold = true;
inline std::int32_t WarmupFrames = 0;
inline std::int32_t WaveIndex = 0;
inline std::int32_t SpecialIndex = 0;
inline std::uint8_t SpecialState = SpecialNone;
inline bool Frozen = false;
inline bool Arrived = false;
inline bool WarpReady = false;
inline float EndTimer = 0;
inline bool CloakOn = false;
inline bool ShieldsOn = false;
// One per mission text, in MissionTexts order: true until the text has been shown.
inline std::array<bool, MissionTexts.size()> TextPending{};

inline std::unique_ptr<TGButton> TorpedoButton;
inline std::unique_ptr<TGButton> TransportButton;
inline std::unique_ptr<TGButton> MenuButton;
inline std::unique_ptr<TGButton> CloakButton;
inline std::unique_ptr<TGButton> ShieldsButton;
inline std::unique_ptr<TGButton> WarpButton;
inline std::unique_ptr<TGButton> RestartItem;
inline std::unique_ptr<TGButton> ResumeItem;
inline std::unique_ptr<TGButton> MainMenuItem;
inline std::unique_ptr<TGButton> QuitItem;

// Images of the game graphics the buttons change to.
enum TButtonImage : int {
    ImageCloakOn = 17, ImageCloakOff = 18, ImageShieldsOn = 19, ImageShieldsOff = 20,
    ImageTorpedoButton = 21, ImageTorpedoOpen = 22, ImageTransportButton = 23, ImageTransportOpen = 24,
    ImageMenuButton = 25, ImageMenuOpen = 26, ImageWarpReady = 27, ImageWarpNotReady = 28,
    ImageSmallBox = 31, ImageLargeBox = 32,
    // The in-game menu's items, each followed by its highlighted image.
    ImageRestartItem = 45, ImageResumeItem = 47, ImageMainMenuItem = 49, ImageQuitItem = 51,
};

// True from StartGame to the end of the game; the window's events reach a game only then.
bool GameRunning();

// Starts a game: AppMode 0, the game graphics, the ships, the buttons, the music, the globals.
// Nothing while a game runs.
void StartGame();
// One game frame (AppMode 0).
void GameFrame(int LagCount);
// Waves, special ships, mission texts and the distance, while not frozen.
void ScheduleStep();
// A special-table entry: a cruiser or a supply ship when neither is present, else skipped.
void SpawnSpecial(const TSpriteClass& Class);
// Removes a finished cruiser or supply ship and lets the distance run again.
void CheckSpecialShips();
// Brings the ship back from below, repaired and restocked, for the second sector.
void EnterSector2();
// Opens GameBox on the small (background 31) or large (32) plate, when no dialog or menu is open.
void OpenGameDialog(bool Large);
// Losing activation: an open torpedo or transport dialog is dropped, and the in-game menu opens.
void PauseGame();
// Opens or closes the in-game menu; nothing while a dialog is open.
void ToggleGameMenu();
// What every end of a game does: music off, best score, dialog and buttons gone, world cleared.
void EndGame();
void RestartGame();
void ReturnToMenu();
void QuitFromGame();

}  // namespace Game
