// Ships: the hulls of every ship in the game, drawn as vector art in their sprite cells — the
// Zarvoth player ships (olive-bronze, forward-swept wings, green weapons), the Federation
// ships (pale grey-blue, saucers and blue nacelles, facing down the screen) and the Cardassian
// supply ship (ochre, spoon-shaped) — and the sprite strips built from them: three banking
// frames, the cloaked ghost and the shield bubble. Depends on Raster, Shapes and Pictures.
#pragma once

#include <vector>

#include "tools/zarvoth-content/Pictures.h"

namespace content {

enum class ShipKind { Heavy, Light, Shuttle, Defiant, Akira, Interpid, Supply };

struct CellSize {
    int Width;
    int Height;
};

CellSize ShipCell(ShipKind kind);
// Paints the level ship into its cell (origin at the cell's top-left) through the canvas's
// current transform, so callers may scale it for portraits.
void DrawShip(Canvas& canvas, ShipKind kind);

// Normal, cloaked and shields strips of a player ship (three frames each).
std::vector<PictureItem> PlayerShipItems(ShipKind kind, const char* name);
// The three-frame strip of an enemy ship.
PictureItem EnemyShipItem(ShipKind kind, const char* name);
// The supply ship: one picture.
PictureItem SupplyShipItem();

}  // namespace content
