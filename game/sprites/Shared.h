// Shared: what every sprite of the game world uses — the globals the player ship writes each
// frame for the others (aim point, centre, the phaser shot, the cruiser's beam hit, the cloak),
// the game images by index, and the game's rounding rules. Depends on the sprite engine, the
// image list and the main window's components (Main).
#pragma once

#include <cstdint>

#include "engine/assets/Classes.h"
#include "engine/sprites/DXSprite.h"

class TPictureCollectionItem;

namespace Sprites {

// Written by the player ship every frame, read by the other sprites.
inline TPoint AimPoint;                // last click in the play area; the phaser's target
inline std::int32_t PlayerCenterX = 0;  // where the cruiser's beam aims
inline std::int32_t PlayerCenterY = 0;
inline std::int32_t PhaserDamage = 0;   // of the current shot
inline bool PhaserFired = false;        // a shot was fired this frame and has not hit yet
inline bool BeamHit = false;            // set by the cruiser's beam, taken by the player
inline bool PlayerCloaked = false;      // enemies hold fire while set

// The play area is the whole back surface; the panel takes its band from y = 540.
constexpr int ScreenWidth = 800;
constexpr int ScreenHeight = 600;
constexpr int PanelTop = 540;
// The explosion image's last frame: an explosion is over when its frame position stands here.
constexpr double ExplosionEndFrame = 8;

// Indices of the game graphics.
enum TGameImage : int {
    ImageHeavyShip = 0,  // normal, cloaked and shields images follow each ship
    ImageLightShip = 3,
    ImageShuttle = 6,
    ImageDefiant = 7,
    ImageAkira = 8,
    ImageInterpid = 9,
    ImageSupplyShip = 10,
    ImagePlayerBeam = 11,
    ImageCruiserBeam = 12,
    ImagePlayerTorpedo = 13,
    ImageEnemyTorpedo = 14,
    ImageStars = 15,
    ImageExplosion = 16,
};

// Item `index` of the game image list (DXImageList1).
TPictureCollectionItem& GameImage(int index);
// Shows an image cut in patterns (ships, stars): its stored pattern size becomes the sprite's
// size, its pattern count the frame count; the frame position stays.
void ShowPatternImage(TImageSprite& sprite, int index);
// Shows a one-frame picture (torpedoes, the supply ship) at the size of its cell.
void ShowPicture(TImageSprite& sprite, int index);

// Nearest integer, halves to the even neighbour, saturating at the int range (truncation is
// the engine's TruncToInt).
int Round(double value);

// A torpedo's end: its top-left corner is no longer strictly inside the screen.
bool LeftTheScreen(const TSprite& sprite);
// The phaser shot of this frame lands on the sprite when the aim point lies in its bounds;
// the shot is then used up, so the first sprite in move order takes it.
bool TakesPhaserShot(TSprite& sprite);

}  // namespace Sprites
