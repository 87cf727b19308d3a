// Effects: the game's light and fire — the two beam strips (added onto the screen, so black
// adds nothing), both photon torpedoes, the three star frames and the nine-frame explosion
// with its fireball, smoke and embers. Depends on Raster, Shapes, Noise and Pictures.
#pragma once

#include "tools/zarvoth-content/Pictures.h"

namespace content {

PictureItem PlayerBeamItem();     // green Zarvoth disruptor
PictureItem CruiserBeamItem();    // golden Federation phaser
PictureItem PlayerTorpedoItem();  // points up
PictureItem EnemyTorpedoItem();
PictureItem StarsItem();          // faint, medium, bright
PictureItem ExplosionItem();

constexpr int ExplosionFrames = 9;

}  // namespace content
