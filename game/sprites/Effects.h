// Effects: what ships show and sound like when they act — sound effects panned by where they
// happen, explosions, and beams drawn from a ship toward a target. Depends on Shared and the
// main window's effect player (Main).
#pragma once

#include <cstdint>

#include "engine/sprites/DXSprite.h"

class TDirectDrawSurface;

namespace Sprites {

// Items of the effects list (DXWaveList1).
enum TSoundEffect : int {
    EffectPhaser = 0,
    EffectTorpedoLaunch = 1,
    EffectTransport = 2,
    EffectExplosion = 3,
    EffectToggle = 4,
    EffectDialog = 6,
    EffectClick = 7,
    EffectWarp = 8,
};

// The pan of a source at screen x with stereo on: 0 at the centre, -5714 at the left edge,
// +5714 at the right (hundredths of a decibel); 0 with stereo off.
int EffectPan(float x);
// Plays an effect panned by its source's x; nothing with sound off.
void PlayEffect(int index, float x);
// Plays an effect that has no place on the screen (dialogs, warp, the player's own launch)
// from the centre.
void PlayEffect(int index);

// Takes damage off a ship's hull. The first time the hull runs out it stands at 0, the ship is
// marked exploding, the score changes by `points`, and the explosion starts: the explosion sound
// at the ship's x, one step up in depth, the explosion image played once from frame 0 over the
// ship's rectangle. Its pace is the current frame time, or that of a 60 Hz frame when the frame
// time is 0, so that every explosion ends.
void DamageHull(TImageSprite& ship, std::int32_t& hull, bool& exploding, std::int32_t amount, std::int32_t points);

// Clockwise angle from straight up, in degrees, of the direction from a point to a target.
// Built from arctan(dy / dx) of the distances, as the beams' aim always was.
double Bearing(double fromX, double fromY, double toX, double toY);
// Draws frame 0 of a beam image additively, 4 pixels wide and trunc(length) long, with the middle
// of its bottom edge on (x, y), turned to the bearing (degrees), at an intensity.
void DrawBeam(TDirectDrawSurface* surface, int image, int x, int y, double length, double bearing, int alpha);

}  // namespace Sprites
